// One way to write a file anew: beside it, checked to the last byte and on disk, then renamed over it.
#include "Files/SafeWrite.h"

#include "Files/SaveRecovery.h"

OSErr WriteFileSafely(const FSRef* file, const std::function<OSErr(FSIORefNum fork)>& body) {
    FSRef target, folder;
    OSErr err = FSResolveLinks(file, &target);
    if (err != noErr) return err;
    FSFileInfo info{};
    if (FSGetFileInfo(&target, &info) == noErr && !info.isOrdinary) return notAFileErr;
    err = FSGetParentRef(&target, &folder);
    if (err != noErr) return err;
    // What killed writers left here goes first, as at an open or a save.
    RecoverInterruptedSaves(&folder);

    FSRef temp;
    FSIORefNum fork = 0;
    err = FSCreateTempBeside(&target, nullptr, &temp, &fork);
    if (err != noErr) return err;
    err = body(fork);
    OSErr flushErr = FSFlushFork(fork);
    OSErr closeErr = FSCloseFork(fork);
    if (err == noErr) err = flushErr != noErr ? flushErr : closeErr;
    if (err == noErr) err = FSRenameReplacing(&temp, &target);
    if (err != noErr) {
        FSDeleteObject(&temp);
        return err;
    }
    FSSyncFolder(&folder);
    return noErr;
}
