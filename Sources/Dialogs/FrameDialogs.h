// The dialogs of the frames: the frame list that chooses the frame to print, renaming a frame, the
// frame scale dialog (print options) and the page setup of the drawing or of one frame.
#pragma once

#include "Model/DocumentRecords.h"

#include <string>

constexpr SInt16 kFrameListDialog = 1531;
constexpr SInt16 kFrameNameDialog = 1532;
constexpr SInt16 kPrintOptionsDialog = 153;
// Frame names are kept to this many characters.
constexpr SInt16 kFrameNameCapacity = 63;

// The frame's name as menus and lists show it: its own, or "Page " and its number (from 1) when it
// has none.
void FrameDisplayName(const FrameRecord* frame, SInt16 n, Str255 name);

// Chooses the frame to print (the current frame of the settings). False when cancelled or when the
// drawing has no frames.
Boolean FrameListDialog(DocWindowRecord* doc);
// Asks for a new name of frame n (from 1). True when the name was changed.
Boolean RenameFrameDialog(DocWindowRecord* doc, SInt16 n);
// The scales of all frames, the page chosen first, fit to page and corner marks; on OK every frame
// takes its scale and one-page frames are centred on their paper again. Without frames, message 57.
void PrintOptionsDialog(DocWindowRecord* doc);
// Page setup of the drawing (item 1) or of frame item - 1; the answers are stored back, the frame's
// paper follows and a one-page frame is centred on it. kPMCancel when the dialog was cancelled.
OSStatus PageSetupCommand(DocWindowRecord* doc, SInt16 item);

// A scale as the frame scale dialog shows it: three decimals, more when three would change it.
std::string FrameScaleText(Float64 scale);
