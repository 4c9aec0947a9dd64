// The event queue: event records with the classic kinds, masks, modifier bits and virtual key codes,
// WaitNextEvent and the polling calls the program's tracking loops use, and the tick clock.
#pragma once

#include "Platform/QuickDrawTypes.h"

// message is pointer-wide: update and activate events carry the window in it.
struct EventRecord {
    UInt16 what;
    unsigned long message;
    UInt32 when;
    Point where;
    UInt16 modifiers;
};

using EventKind = UInt16;
using EventMask = UInt16;

enum : EventKind {
    nullEvent = 0,
    mouseDown = 1,
    mouseUp = 2,
    keyDown = 3,
    keyUp = 4,
    autoKey = 5,
    updateEvt = 6,
    diskEvt = 7,
    activateEvt = 8,
    // Posted by other platform code (dialog widgets) for the loop that owns the window; message is
    // the window, where holds two values of the poster's choosing.
    widgetActivityEvt = 12,
    osEvt = 15,
    kHighLevelEvent = 23,
};

enum : EventMask {
    mDownMask = 1 << mouseDown,
    mUpMask = 1 << mouseUp,
    keyDownMask = 1 << keyDown,
    keyUpMask = 1 << keyUp,
    autoKeyMask = 1 << autoKey,
    updateMask = 1 << updateEvt,
    diskMask = 1 << diskEvt,
    activMask = 1 << activateEvt,
    widgetActivityMask = 1 << widgetActivityEvt,
    highLevelEventMask = 0x0400,
    osMask = 1 << osEvt,
    everyEvent = 0xFFFF,
};

// Modifier bits of EventRecord.modifiers. Command is the Ctrl key, Option is Alt, Control is Meta.
// btnState is set while the mouse button is up, as the program's records expect.
enum : UInt16 {
    activeFlag = 0x0001,
    btnState = 0x0080,
    cmdKey = 0x0100,
    shiftKey = 0x0200,
    alphaLock = 0x0400,
    optionKey = 0x0800,
    controlKey = 0x1000,
};

// Layout of message in key events.
enum : unsigned long {
    charCodeMask = 0x000000FF,
    keyCodeMask = 0x0000FF00,
};

// osEvt messages: the top byte says which.
enum : UInt32 {
    osEvtMessageMask = 0xFF000000,
    suspendResumeMessage = 0x01,
    mouseMovedMessage = 0xFA,
    resumeFlag = 1,
};

// Virtual key codes (message bits 8-15), by position on the keyboard.
enum : UInt8 {
    kKeyCodeA = 0x00,
    kKeyCodeS = 0x01,
    kKeyCodeD = 0x02,
    kKeyCodeF = 0x03,
    kKeyCodeH = 0x04,
    kKeyCodeG = 0x05,
    kKeyCodeZ = 0x06,
    kKeyCodeX = 0x07,
    kKeyCodeC = 0x08,
    kKeyCodeV = 0x09,
    kKeyCodeB = 0x0B,
    kKeyCodeQ = 0x0C,
    kKeyCodeW = 0x0D,
    kKeyCodeE = 0x0E,
    kKeyCodeR = 0x0F,
    kKeyCodeY = 0x10,
    kKeyCodeT = 0x11,
    kKeyCode1 = 0x12,
    kKeyCode2 = 0x13,
    kKeyCode3 = 0x14,
    kKeyCode4 = 0x15,
    kKeyCode6 = 0x16,
    kKeyCode5 = 0x17,
    kKeyCodeEqual = 0x18,
    kKeyCode9 = 0x19,
    kKeyCode7 = 0x1A,
    kKeyCodeMinus = 0x1B,
    kKeyCode8 = 0x1C,
    kKeyCode0 = 0x1D,
    kKeyCodeRightBracket = 0x1E,
    kKeyCodeO = 0x1F,
    kKeyCodeU = 0x20,
    kKeyCodeLeftBracket = 0x21,
    kKeyCodeI = 0x22,
    kKeyCodeP = 0x23,
    kKeyCodeReturn = 0x24,
    kKeyCodeL = 0x25,
    kKeyCodeJ = 0x26,
    kKeyCodeQuote = 0x27,
    kKeyCodeK = 0x28,
    kKeyCodeSemicolon = 0x29,
    kKeyCodeBackslash = 0x2A,
    kKeyCodeComma = 0x2B,
    kKeyCodeSlash = 0x2C,
    kKeyCodeN = 0x2D,
    kKeyCodeM = 0x2E,
    kKeyCodePeriod = 0x2F,
    kKeyCodeTab = 0x30,
    kKeyCodeSpace = 0x31,
    kKeyCodeGrave = 0x32,
    kKeyCodeDelete = 0x33,
    kKeyCodeEscape = 0x35,
    kKeyCodeCommand = 0x37,
    kKeyCodeShift = 0x38,
    kKeyCodeCapsLock = 0x39,
    kKeyCodeOption = 0x3A,
    kKeyCodeControl = 0x3B,
    kKeyCodeRightShift = 0x3C,
    kKeyCodeRightOption = 0x3D,
    kKeyCodeRightControl = 0x3E,
    kKeyCodeF17 = 0x40,
    kKeyCodeKeypadDecimal = 0x41,
    kKeyCodeKeypadMultiply = 0x43,
    kKeyCodeKeypadPlus = 0x45,
    kKeyCodeKeypadClear = 0x47,
    kKeyCodeKeypadDivide = 0x4B,
    kKeyCodeKeypadEnter = 0x4C,
    kKeyCodeKeypadMinus = 0x4E,
    kKeyCodeF18 = 0x4F,
    kKeyCodeF19 = 0x50,
    kKeyCodeKeypadEquals = 0x51,
    kKeyCodeKeypad0 = 0x52,
    kKeyCodeKeypad1 = 0x53,
    kKeyCodeKeypad2 = 0x54,
    kKeyCodeKeypad3 = 0x55,
    kKeyCodeKeypad4 = 0x56,
    kKeyCodeKeypad5 = 0x57,
    kKeyCodeKeypad6 = 0x58,
    kKeyCodeKeypad7 = 0x59,
    kKeyCodeF20 = 0x5A,
    kKeyCodeKeypad8 = 0x5B,
    kKeyCodeKeypad9 = 0x5C,
    kKeyCodeF5 = 0x60,
    kKeyCodeF6 = 0x61,
    kKeyCodeF7 = 0x62,
    kKeyCodeF3 = 0x63,
    kKeyCodeF8 = 0x64,
    kKeyCodeF9 = 0x65,
    kKeyCodeF11 = 0x67,
    kKeyCodeF13 = 0x69,
    kKeyCodeF16 = 0x6A,
    kKeyCodeF14 = 0x6B,
    kKeyCodeF10 = 0x6D,
    kKeyCodeF12 = 0x6F,
    kKeyCodeF15 = 0x71,
    kKeyCodeHelp = 0x72,
    kKeyCodeHome = 0x73,
    kKeyCodePageUp = 0x74,
    kKeyCodeForwardDelete = 0x75,
    kKeyCodeF4 = 0x76,
    kKeyCodeEnd = 0x77,
    kKeyCodeF2 = 0x78,
    kKeyCodePageDown = 0x79,
    kKeyCodeF1 = 0x7A,
    kKeyCodeLeftArrow = 0x7B,
    kKeyCodeRightArrow = 0x7C,
    kKeyCodeDownArrow = 0x7D,
    kKeyCodeUpArrow = 0x7E,
};

// Character codes (message bits 0-7) of the keys that type no letter.
enum : UInt8 {
    kHomeCharCode = 1,
    kEnterCharCode = 3,
    kEndCharCode = 4,
    kHelpCharCode = 5,
    kBackspaceCharCode = 8,
    kTabCharCode = 9,
    kPageUpCharCode = 11,
    kPageDownCharCode = 12,
    kReturnCharCode = 13,
    kFunctionKeyCharCode = 16,
    kEscapeCharCode = 27,
    kClearCharCode = 27,
    kLeftArrowCharCode = 28,
    kRightArrowCharCode = 29,
    kUpArrowCharCode = 30,
    kDownArrowCharCode = 31,
    kSpaceCharCode = 32,
    kDeleteCharCode = 127,
};

// One bit per virtual key code: byte code / 8, bit code % 8.
using KeyMap = UInt8[16];

inline UInt8 EventCharCode(const EventRecord& e) {
    return UInt8(e.message & charCodeMask);
}
inline UInt8 EventKeyCode(const EventRecord& e) {
    return UInt8((e.message & keyCodeMask) >> 8);
}
inline bool IsKeyInMap(const KeyMap keys, UInt8 code) {
    return (keys[code >> 3] >> (code & 7)) & 1;
}
// High-level events carry their class in message and their id in where (v high word, h low word).
inline UInt32 HighLevelEventID(const EventRecord& e) {
    return (UInt32(UInt16(e.where.v)) << 16) | UInt16(e.where.h);
}

// Polling rule. WaitNextEvent, GetNextEvent, EventAvail, Button, StillDown, WaitMouseUp, GetMouse and
// GetKeys first let Qt process what is pending, then answer from the mouse and key state the platform
// keeps. While Qt processes, input is only recorded and queued and windows are repainted from their
// ports; the only program code that runs is the menu-enabling hook before a menu of a menu bar opens.
// So the polling calls may be used anywhere, also inside tracking loops and modal loops. Window event
// handlers (wheel, bounds changed, activation, text input) run only inside WaitNextEvent and GetNextEvent,
// never inside the other polling calls. None of these calls may be made from inside a Qt event handler.
// Simulated input (tests) acts like a user: one step of it happens in each waiting call (WaitNextEvent,
// GetNextEvent, EventAvail, Button, StillDown, WaitMouseUp); GetMouse and GetKeys only read.
Boolean WaitNextEvent(EventMask mask, EventRecord* event, UInt32 sleepTicks, RgnHandle mouseRgn);
Boolean GetNextEvent(EventMask mask, EventRecord* event);
Boolean EventAvail(EventMask mask, EventRecord* event);
void FlushEvents(EventMask whichMask, EventMask stopMask);
Boolean Button();
Boolean StillDown();
Boolean WaitMouseUp();
// The mouse in local coordinates of the current port (global when there is none).
void GetMouse(Point* mouse);
void GetGlobalMouse(Point* mouse);
void GetKeys(KeyMap keys);
UInt16 GetCurrentKeyModifiers();

// Queues an event at the end of the queue, stamped with the current time when `when` is 0.
OSErr PostEventRecord(const EventRecord& event);
OSErr PostEvent(EventKind what, unsigned long message);

// 1/60 s since the platform started.
UInt32 TickCount();
void Delay(UInt32 ticks, UInt32* finalTicks);

// Mouse-wheel axes of window wheel handlers.
enum : UInt16 {
    kEventMouseWheelAxisX = 0,
    kEventMouseWheelAxisY = 1,
};
