// The application's keyed preference values (in the manner of CFPreferences): keys and the
// application identifier are length-prefixed ASCII strings, values are blocks of bytes, strings or
// numbers, kept in the user's XDG config folder in a file named after the identifier.
#pragma once

#include "Platform/MacTypes.h"

// Copies min(stored length, size) bytes into buffer; the buffer is unchanged when the key is absent.
// Returns the bytes copied.
Size PrefGetData(ConstStr255Param key, Size size, void* buffer, ConstStr255Param app);
// Byte length of the stored value, 0 when absent.
Size PrefDataLength(ConstStr255Param key, ConstStr255Param app);
// Stores the bytes; a null buffer removes the key.
void PrefSetData(ConstStr255Param key, Size size, const void* buffer, ConstStr255Param app);
Boolean PrefExists(ConstStr255Param key, ConstStr255Param app);
void PrefRemove(ConstStr255Param key, ConstStr255Param app);
// Strings in Mac Roman (stored as Unicode text); empty when absent. A null application does nothing.
void PrefGetPString(ConstStr255Param key, Str255 out, ConstStr255Param app);
void PrefSetPString(ConstStr255Param key, ConstStr255Param value, ConstStr255Param app);
void PrefGetCString(ConstStr255Param key, char* out, Size capacity, ConstStr255Param app);
void PrefSetCString(ConstStr255Param key, const char* value, ConstStr255Param app);
SInt32 PrefGetLong(ConstStr255Param key, SInt32 fallback, ConstStr255Param app);
void PrefSetLong(ConstStr255Param key, SInt32 value, ConstStr255Param app);
Float64 PrefGetDouble(ConstStr255Param key, Float64 fallback, ConstStr255Param app);
void PrefSetDouble(ConstStr255Param key, Float64 value, ConstStr255Param app);
// Makes the application's store known (created on first write); the flag is kept for callers.
void PrefAddSuite(Boolean currentApplication, ConstStr255Param app);
// Writes pending changes to disk and takes in changes made by others.
void PrefAppSynchronize(ConstStr255Param app);
// Forgets the stores held in memory, so the next access reads the files again (a restart, in tests).
void PrefForgetStores();
