// Controls over real widgets: push buttons, check boxes, radio buttons, pop-up menus, scroll bars,
// progress bars, static and edit texts, with the Mac semantics on top: values with a minimum and
// maximum, hilite 0 (active), 1..253 (a part highlighted, 1 for a pressed button) and 255 (dimmed),
// titles, tracking a click until the button is released, and the control's reference value.
#pragma once

#include "Platform/MacTypes.h"
#include "Platform/Menus.h"

struct OpaqueWindowPtr;
using WindowRef = OpaqueWindowPtr*;
struct OpaqueControlRef;
using ControlRef = OpaqueControlRef*;
using ControlHandle = ControlRef;
using ControlPartCode = SInt16;
using ControlActionProcPtr = void (*)(ControlRef control, ControlPartCode part);
using ControlActionUPP = ControlActionProcPtr;

// The width of a scroll bar, and of the strips windows and lists leave for one.
constexpr SInt16 kScrollBarWidth = 15;

// Parts a click can hit; 255 as a hilite value dims the control.
enum : ControlPartCode {
    kControlNoPart = 0,
    kControlLabelPart = 1,
    kControlMenuPart = 2,
    kControlButtonPart = 10,
    kControlCheckBoxPart = 11,
    kControlRadioButtonPart = 11,
    kControlEditTextPart = 5,
    kControlUpButtonPart = 20,
    kControlDownButtonPart = 21,
    kControlPageUpPart = 22,
    kControlPageDownPart = 23,
    kControlIndicatorPart = 129,
    kControlInactivePart = 255,
};

// Definition ids of NewControl.
enum : SInt16 {
    pushButProc = 0,
    checkBoxProc = 1,
    radioButProc = 2,
    scrollBarProc = 16,
    kControlProgressBarProc = 80,
    kControlSeparatorLineProc = 144,
    kControlUserPaneProc = 256,
    kControlEditTextProc = 272,
    kControlStaticTextProc = 288,
    popupMenuProc = 1008,
};

// Data tags of SetControlData and GetControlData: the text of static and edit texts in Mac Roman
// ('text') or UTF-8 ('utf8'), the selection of an edit text (two SInt16, start and end), the menu of a
// pop-up ('mhan').
enum : ResType {
    kControlStaticTextTextTag = 0x74657874,        // 'text'
    kControlEditTextTextTag = 0x74657874,          // 'text'
    kControlUTF8TextTag = 0x75746638,              // 'utf8'
    kControlEditTextSelectionTag = 0x73656c65,     // 'sele'
    kControlPopupButtonMenuHandleTag = 0x6d68616e, // 'mhan'
};
constexpr ControlPartCode kControlEntireControl = 0;

constexpr OSErr errControlDoesntSupportFocus = -30585;
constexpr OSErr errDataNotSupported = -30583;
constexpr OSErr errInvalidPartCode = -30588;

struct ControlFontStyleRec {
    SInt16 flags; // 1 font, 2 size, 4 face
    SInt16 font;
    SInt16 size;
    SInt16 style;
};

ControlRef NewControl(WindowRef window, const Rect* bounds, ConstStr255Param title, Boolean visible,
                      SInt16 value, SInt16 minimum, SInt16 maximum, SInt16 procId, SInt32 refCon);
OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, ConstStr255Param title,
                                 ControlRef* out);
OSStatus CreatePopupButtonControl(WindowRef window, const Rect* bounds, ConstStr255Param title, SInt16 menuId,
                                  Boolean variableWidth, SInt16 titleWidth, SInt16 titleJustification,
                                  SInt16 titleStyle, ControlRef* out);
OSStatus CreateScrollBarControl(WindowRef window, const Rect* bounds, SInt32 value, SInt32 minimum,
                                SInt32 maximum, SInt32 viewSize, Boolean liveTracking,
                                ControlActionProcPtr action, ControlRef* out);
OSStatus CreateProgressBarControl(WindowRef window, const Rect* bounds, SInt32 value, SInt32 minimum,
                                  SInt32 maximum, Boolean indeterminate, ControlRef* out);
void DisposeControl(ControlRef control);
// Disposes every control of the window.
void KillControls(WindowRef window);
WindowRef GetControlOwner(ControlRef control);
SInt16 GetControlProcID(ControlRef control);

SInt16 GetControlValue(ControlRef control);
void SetControlValue(ControlRef control, SInt16 value);
SInt16 GetControlMinimum(ControlRef control);
void SetControlMinimum(ControlRef control, SInt16 value);
SInt16 GetControlMaximum(ControlRef control);
void SetControlMaximum(ControlRef control, SInt16 value);
SInt32 GetControl32BitValue(ControlRef control);
void SetControl32BitValue(ControlRef control, SInt32 value);
SInt32 GetControl32BitMinimum(ControlRef control);
void SetControl32BitMinimum(ControlRef control, SInt32 value);
SInt32 GetControl32BitMaximum(ControlRef control);
void SetControl32BitMaximum(ControlRef control, SInt32 value);
void SetControlViewSize(ControlRef control, SInt32 viewSize);
// Progress bars: an indeterminate bar runs without a value.
void SetControlIndeterminate(ControlRef control, Boolean indeterminate);

void HiliteControl(ControlRef control, ControlPartCode hilite);
UInt16 GetControlHilite(ControlRef control);
// Active is hilite other than 255.
Boolean IsControlActive(ControlRef control);
void ActivateControl(ControlRef control);
void DeactivateControl(ControlRef control);

void SetControlTitle(ControlRef control, ConstStr255Param title);
void GetControlTitle(ControlRef control, Str255 title);
void ShowControl(ControlRef control);
void HideControl(ControlRef control);
Boolean IsControlVisible(ControlRef control);
void SetControlVisibility(ControlRef control, Boolean visible, Boolean draw);
void MoveControl(ControlRef control, SInt16 h, SInt16 v);
void SizeControl(ControlRef control, SInt16 width, SInt16 height);
void GetControlBounds(ControlRef control, Rect* bounds);
void SetControlBounds(ControlRef control, const Rect* bounds);
SInt32 GetControlReference(ControlRef control);
void SetControlReference(ControlRef control, SInt32 refCon);
void SetControlAction(ControlRef control, ControlActionProcPtr action);
void Draw1Control(ControlRef control);
void DrawControls(WindowRef window);
OSErr SetControlFontStyle(ControlRef control, const ControlFontStyleRec* style);

// Pop-ups: the menu whose items the control shows; its value is the chosen item.
MenuRef GetControlPopupMenuHandle(ControlRef control);
void SetControlPopupMenuHandle(ControlRef control, MenuRef menu);

OSErr SetControlData(ControlRef control, ControlPartCode part, ResType tag, Size size, const void* data);
OSErr GetControlData(ControlRef control, ControlPartCode part, ResType tag, Size bufferSize, void* buffer,
                     Size* actualSize);
OSErr GetControlDataSize(ControlRef control, ControlPartCode part, ResType tag, Size* size);

// The part of the control under a local point of its window (0 when outside, hidden or dimmed).
ControlPartCode TestControl(ControlRef control, Point localPoint);
// The visible control under a local point, and its part.
ControlPartCode FindControl(Point localPoint, WindowRef window, ControlRef* control);
// Follows the mouse from a click at localPoint until the button is released: buttons, check boxes and
// radio buttons highlight while the mouse is inside and report their part when released inside;
// pop-ups show their menu and take the chosen item as value; scroll bars call the action for each
// step of their arrows and pages while the button is held and move their thumb. The part, or 0.
ControlPartCode TrackControl(ControlRef control, Point localPoint, ControlActionProcPtr action);
ControlPartCode HandleControlClick(ControlRef control, Point localPoint, UInt16 modifiers,
                                   ControlActionProcPtr action);
