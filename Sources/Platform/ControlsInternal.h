// Between controls and the dialog manager (platform only): the item controls of dialogs, edit texts
// and their keyboard focus, default buttons, icons and pictures.
#pragma once

#include "Platform/Controls.h"

#include <string>
#include <vector>

class QWidget;
struct EventRecord;
struct OpaqueDialogPtr;

// Our own definition id: the icon or picture of a dialog item.
constexpr SInt16 kControlImageProc = 0x7000;

ControlRef NewItemControl(WindowRef window, const Rect* bounds, SInt16 procId, const std::string& title,
                          SInt32 value, SInt32 minimum, SInt32 maximum, SInt16 menuId, SInt16 titleWidth,
                          OpaqueDialogPtr* dialog);
// Icons: 0 stop, 1 note, 2 caution, others the colour icon of that id; pictures: "pict_<id>.png".
void SetControlImage(ControlRef control, bool picture, SInt16 id);
void SetControlDefaultButton(ControlRef control, bool isDefault);
OpaqueDialogPtr* GetControlDialog(ControlRef control);
QWidget* GetControlWidget(ControlRef control);
const std::vector<ControlRef>* WindowControls(WindowRef window);
void SyncControlWidget(ControlRef control);

// Edit texts: the keyboard focus, the selection (0-based, end exclusive), clicks and keys.
void FocusEditText(ControlRef control, bool focus);
void SetEditTextSelection(ControlRef control, SInt16 start, SInt16 end);
void GetEditTextSelection(ControlRef control, SInt16* start, SInt16* end);
void ClickEditText(ControlRef control, Point localPoint);
void KeyToEditText(ControlRef control, const EventRecord* event);

// A queued event applied to a widget itself: a key-down, or a click at a local point of the window
// (the widget standing at `bounds`) followed through the drag until the button is released.
void ReplayKey(QWidget* widget, const EventRecord* event);
void ReplayClick(QWidget* widget, WindowRef window, const Rect& bounds, Point localPoint);

// The dialog manager's: a static text item's text with ^0..^3 replaced (UTF-8).
std::string DisplayedStaticText(ControlRef control);
