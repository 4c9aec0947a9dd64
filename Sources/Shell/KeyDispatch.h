// Key-down dispatch: command keys through the menus, the function keys F1 to F15 under 16 modifier
// combinations through FunctionKeyTable, Escape, Delete, arrows, page keys and typed characters.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct EventRecord;

// FunctionKeyTable (kept with the preferences): per slot a menu (180..191 a tool, 3000 a command,
// 4000..4008 a menu item; 0 unassigned) and an item.
constexpr int kFunctionKeyCount = 15;

// Clears the table and writes the default assignments.
void InitFunctionKeyTable();
void ClearFunctionKeyTable();
// 1..15 for the key codes of F1..F15, else 0.
SInt16 FunctionKeyNumber(UInt8 keyCode);
// Slot = modifier combination (command 1, option 2, control 4, shift 8) x 15 + key number - 1.
SInt16 FunctionKeySlotIndex(UInt16 modifiers, SInt16 keyNumber);

// True when the tool dispatcher must run for the pending event posted.
Boolean HandleKeyDown(DocWindowRecord* doc, const EventRecord* event);

void SetSnapModeGrid(DocWindowRecord* doc);
void SetSnapModeIntersection(DocWindowRecord* doc);
void SetSnapModeElementPoint(DocWindowRecord* doc);
void SetSnapModeFixedPoint(DocWindowRecord* doc);
// Snap mode one up or down within 0..3.
void CycleSnapMode(DocWindowRecord* doc, Boolean backwards);
void RedrawViewButton(DocWindowRecord* doc, SInt16 button);
void FitExtentsButton(DocWindowRecord* doc, SInt16 button, SInt16 option);
void ControlKeyShortcut(DocWindowRecord* doc, UInt8 character);
