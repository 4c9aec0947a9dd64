// The stored form of a drawing's settings: 2388 bytes field by field, big-endian in drawing files and
// little-endian as the defaults for new drawings in the preferences. One field list serves both.
#pragma once

#include "Model/DocSettings.h"

// Writes the settings section's body (no length) to the stream.
void WriteDocSettings(SInt16 fork, const DocSettings* settings);
// Reads fields while the budget lasts; the others take zero, false, empty or a blank. Strings are
// read whole and cut to what their fields hold.
void ReadDocSettings(SInt16 fork, DocSettings* settings, SInt32* budget, SInt16 realFormat);

// The little-endian image of kDocSettingsStoredSize bytes, and back (reals as 8-byte doubles).
void EncodeDocSettingsLE(const DocSettings* settings, UInt8* bytes);
void DecodeDocSettingsLE(const UInt8* bytes, DocSettings* settings);
