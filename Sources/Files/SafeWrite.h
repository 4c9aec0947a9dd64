// Writing a file anew so that it is either the old file, byte for byte, or the whole new one: every
// export and text writer goes through here.
#pragma once

#include "Platform/FileManager.h"

#include <functional>

// Writes `file` through `body`, which gets a fork open for writing on a new temporary file beside
// the file (made exclusively under an unguessable name, never through a link) and returns the first
// error it met. Only when the body, the flush to disk and the close all succeed does the temporary
// replace the file; else it is removed and the old file stays as it was. A symbolic link stays: the
// file it names is written. A file written over keeps its access mode; a new one gets the umask's.
// A folder, pipe or device of that name is refused (notAFileErr). Returns the error for the user.
OSErr WriteFileSafely(const FSRef* file, const std::function<OSErr(FSIORefNum fork)>& body);
