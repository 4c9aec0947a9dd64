// Names that saving and opening derive from a drawing's file name: extensions, the ".cadx" name a
// saved drawing takes, its backup name and the temporary name of a save in progress. Names are
// UTF-8 leaf names; Linux allows 255 bytes in one.
#pragma once

#include "Platform/FileManager.h"
#include "Platform/MacTypes.h"

#include <string>

constexpr size_t kMaxLeafBytes = 255;

// The characters after the last "." (none when there is no "." or only one at the first position).
std::string GetFileNameExtension(const std::string& name);
// The same upper-cased (ASCII letters).
std::string GetUpperExtension(const std::string& name);
// Length-prefixed form: clears the 256-byte output first.
void GetFileNameExtension(ConstStr255Param name, Str255 extension);

// The name with ".cadx": appended when there is no "." or more than five characters follow the
// last one, else in place of the dot and what follows; cut to 255 bytes on a character boundary.
std::string CadxFileName(const std::string& name);
// The backup's name: names of at most 26 characters get ".BAK" appended; longer ones have what
// follows their last "." replaced by "bak" (or ".bak" appended when there is no "." after the first
// character).
std::string BackupFileName(const std::string& name);
// "temp save file (ticks)", cut to 63 characters.
std::string TempSaveFileName(UInt32 ticks);
// The file's leaf name in the system encoding, as messages show it.
void LeafNameOf(const FSRef* file, Str255 name);
// Cuts UTF-8 text to at most maxBytes without splitting a character.
std::string CutUtf8(const std::string& text, size_t maxBytes);
