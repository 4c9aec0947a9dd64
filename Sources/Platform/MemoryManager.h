// Relocatable blocks (handles) as the program's records use them: a handle points at a master
// pointer that points at the data, so records can hold variable-length data behind a fixed field.
#pragma once

#include "Platform/MacTypes.h"

// A null result means the memory could not be had; MemError then tells memFullErr.
Handle NewHandle(Size byteCount);
Handle NewHandleClear(Size byteCount);
void DisposeHandle(Handle h);
Size GetHandleSize(Handle h);
// Grows or shrinks the block; the data may move, so dereferenced pointers must be taken again.
void SetHandleSize(Handle h, Size newSize);
// A new handle holding a copy of *h's bytes, stored back into *h.
OSErr HandToHand(Handle* h);
OSErr PtrToHand(const void* source, Handle* dest, Size size);
// Blocks never move while the program holds a dereferenced pointer, so these only keep the calls.
inline void HLock(Handle) {}
inline void HUnlock(Handle) {}
OSErr MemError();
