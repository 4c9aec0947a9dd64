// Files, forks and folders for the program: file references that hold a path, forks numbered by
// 16-bit reference numbers over POSIX descriptors, the private temporary folder and 1904-based dates.
// Failures come back as Mac result codes.
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <vector>

using ByteCount = UInt32;
using FSIORefNum = SInt16;

// Result codes that only the file layer produces.
constexpr OSErr notAFileErr = -1302;
constexpr OSErr diffVolErr = -1303;
// A chain of symbolic links that never reaches a file; no Mac code names this, so the number is ours.
constexpr OSErr linkLoopErr = -1320;

// A file or folder by its UTF-8 path. Plain bytes, so records may embed and memcpy it; the path is
// NUL-terminated and an empty path refers to nothing.
constexpr size_t kFSRefPathCapacity = 1024;
struct FSRef {
    char path[kFSRefPathCapacity];
};

// Fork permissions; fsCreateMissing may be or-ed in to create a missing file (write access only),
// fsNoFollow to refuse a symbolic link in the file's place (linkLoopErr).
enum : SInt8 {
    fsRdPerm = 1,
    fsWrPerm = 2,
    fsRdWrPerm = 3,
    fsNoFollow = 0x20,
    fsCreateMissing = 0x40,
};

// Position modes of the fork calls.
enum : UInt16 {
    fsAtMark = 0,
    fsFromStart = 1,
    fsFromLEOF = 2,
    fsFromMark = 3,
};

// Linux errno onto the Mac result code the program tests and reports.
OSErr OSErrFromErrno(int err);

// References. FSMakeRef accepts paths of files that do not exist yet; FSPathMakeRef requires the
// object to exist (fnfErr otherwise). Paths that do not fit give bdNamErr.
OSErr FSMakeRef(const char* path, FSRef* ref);
OSErr FSPathMakeRef(const char* path, FSRef* ref, Boolean* isDirectory);
OSErr FSMakeChildRef(const FSRef* parent, const char* name, FSRef* child);
OSErr FSGetParentRef(const FSRef* ref, FSRef* parent);
// The path with suffix added to its leaf name, the leaf first shortened between characters so that
// it stays within the 255 bytes a Linux name may have (names of temporary files beside a file).
std::string FSPathWithSuffix(const std::string& path, const std::string& suffix);
const char* FSRefLeafName(const FSRef* ref);
Boolean FSRefExists(const FSRef* ref);

struct FSFileInfo {
    SInt64 dataSize;
    UInt32 modificationDate; // seconds since 1904, local time
    Boolean isDirectory;
    Boolean isOrdinary; // a regular file, not a folder, pipe, socket or device
};
OSErr FSGetFileInfo(const FSRef* ref, FSFileInfo* info);

// Whole objects. FSCreateFile fails with dupFNErr when the name exists; FSRenameReplacing renames
// atomically over an existing target. A file's sidecar (its resource fork and Finder information)
// goes with it whenever a file is deleted, renamed or exchanged.
OSErr FSCreateFile(const FSRef* ref);
OSErr FSCreateFolder(const FSRef* ref);
OSErr FSDeleteObject(const FSRef* ref);
OSErr FSRenameReplacing(const FSRef* from, const FSRef* to);
// Renames unless the new name is taken (dupFNErr then); a name equal to the old one is success.
OSErr FSRenameNoReplace(const FSRef* from, const FSRef* to);
// Exchanges the contents of two files in one folder, both forks: atomically where the file system
// can, else by a hard link and renames (a copy where links are refused), so that `b` always holds
// one complete version. The data forks are exchanged first, then the sidecars; when the sidecars
// cannot be, the data forks are exchanged back, so a failure changes nothing. dataExchanged (when
// given) tells whether the data forks stand exchanged on return: after success, or when even the
// way back failed (then each file holds the other's sidecar).
OSErr FSExchangeObjects(const FSRef* a, const FSRef* b, Boolean* dataExchanged = nullptr);
// Exchanges only the sidecars of two files in one folder (one of them may have none).
OSErr FSExchangeSidecars(const FSRef* a, const FSRef* b);
// The names in a folder, without "." and "..".
OSErr FSListFolder(const FSRef* folder, std::vector<std::string>* names);
// Advisory lock on a folder. Saves hold it shared while their temporary files lie there; clearing
// up what killed saves left takes it exclusively and never waits (fBsyErr while a save runs).
OSErr FSLockFolder(const FSRef* folder, Boolean exclusive, SInt32* lock);
void FSUnlockFolder(SInt32 lock);
// Makes a folder's entries (new names, renames) durable.
OSErr FSSyncFolder(const FSRef* folder);
// The file a path names after following symbolic links (the path itself when it names nothing yet).
OSErr FSResolveLinks(const FSRef* ref, FSRef* resolved);
// Gives `to` the access mode of `from` (when `from` exists).
OSErr FSCopyAccessMode(const FSRef* from, const FSRef* to);

// Writing a file anew beside the old one. A new file in target's folder, named "<leaf>.tmp<pid>-"
// and twelve random hex digits (the leaf shortened to fit), created exclusively and never through
// a symbolic link, and opened for writing: nobody can plant a link or a file there first. It takes
// the access mode and group of modeFrom (target when null) when that exists, else the umask's mode.
OSErr FSCreateTempBeside(const FSRef* target, const FSRef* modeFrom, FSRef* temp, FSIORefNum* refNum);
// Whether a name is one FSCreateTempBeside gives, or one the exchange's copy fallback gives the
// second name of a file ("<leaf>.old<pid>-<n>"); the writer's process id comes back in pid.
Boolean IsTempBesideName(const std::string& name, SInt32* pid);
Boolean IsExchangeKeepName(const std::string& name, SInt32* pid);
// Whether a process of that id runs on this machine (or cannot be told apart from one that does).
Boolean ProcessMayRun(SInt32 pid);

// Test hooks for failures that real disks produce rarely: writes through the fork layer fail with
// writeError once writeBudget more bytes have been written (negative: never); one flush or close
// of a fork open for writing can fail after doing its work; the atomic exchange is refused as by
// a file system without it, and hard links too, so the fallbacks run; an exchange can stop half-way
// (ioErr) as a killed program would leave it.
struct FSFaultInjection {
    SInt64 writeBudget = -1;
    OSErr writeError = dskFulErr;
    SInt32 failFlushAt = 0; // the n-th flush (1-based) of a fork open for writing fails with ioErr
    SInt32 failCloseAt = 0; // the same for closes
    Boolean refuseAtomicExchange = false;
    Boolean refuseHardLinks = false;
    Boolean stopAfterDataExchange = false; // as if killed between exchanging the data and the sidecars
    Boolean failExchange = false;          // the exchange fails before it changes anything
    Boolean failSidecarExchange = false;   // the sidecars cannot be exchanged after the data forks were
    Boolean failExchangeBack = false;      // ... and the data forks cannot be exchanged back either
    SInt32 pauseAfterDataExchangeMs = 0;   // widens that gap for a kill from outside to land in it
};
void FSSetFaultInjection(const FSFaultInjection& faults);
void FSClearFaultInjection();

// Forks. The data fork of a file is the file itself. Opening never waits on a pipe or a device:
// folders, pipes and sockets give notAFileErr, and so does anything but a file opened for reading.
OSErr FSOpenFork(const FSRef* ref, SInt8 permission, FSIORefNum* refNum);
OSErr FSOpenForkPath(const char* path, SInt8 permission, FSIORefNum* refNum);
// Reads up to requestCount bytes; eofErr when fewer were there. actualCount may be null.
OSErr FSReadFork(FSIORefNum refNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                 void* buffer, ByteCount* actualCount);
OSErr FSWriteFork(FSIORefNum refNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                  const void* buffer, ByteCount* actualCount);
OSErr FSGetForkPosition(FSIORefNum refNum, SInt64* position);
// A position before the start gives posErr; past the end, eofErr with the mark left at the end.
OSErr FSSetForkPosition(FSIORefNum refNum, UInt16 positionMode, SInt64 positionOffset);
OSErr FSGetForkSize(FSIORefNum refNum, SInt64* forkSize);
OSErr FSSetForkSize(FSIORefNum refNum, UInt16 positionMode, SInt64 positionOffset);
OSErr FSFlushFork(FSIORefNum refNum);
OSErr FSCloseFork(FSIORefNum refNum);
// The file a fork was opened on, or null for a reference number that is not open.
const FSRef* FSGetForkRef(FSIORefNum refNum);

// The program's private temporary folder: made on first use (mkdtemp under XDG_RUNTIME_DIR, else
// /tmp), removed with everything in it by DisposePrivateTempFolder at quit. While the program runs it
// holds a lock on a file inside, which tells that the folder is still in use.
OSErr GetPrivateTempFolder(FSRef* folder);
void DisposePrivateTempFolder();
// Removes the private temporary folders that programs which ended without quitting (a crash, a kill)
// left behind; the folders of running programs and whatever is not certainly such a folder stay.
void RemoveLeftoverTempFolders();
// A new empty file with a unique name beginning with prefix in the private temporary folder.
OSErr FSCreateTempFile(const char* prefix, FSRef* file);

// Dates as seconds since 1 January 1904, local time.
void GetDateTime(UInt32* secs);
UInt32 MacSecondsFromUnixTime(SInt64 unixTime);
SInt64 UnixTimeFromMacSeconds(UInt32 secs);
