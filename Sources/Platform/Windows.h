// Windows: each has a port (an image the program draws into at any time) shown by a Qt window; window
// classes and layers, the window list, hit-testing by window part, invalidation and update events,
// coordinate conversion, window event handlers (wheel, resize, activation, text input) and the screens.
#pragma once

#include "Platform/Events.h"

using WindowClass = UInt32;
using WindowAttributes = UInt32;
using WindowPartCode = SInt16;

enum : WindowClass {
    kAlertWindowClass = 1,
    kMovableAlertWindowClass = 2,
    kModalWindowClass = 3,
    kMovableModalWindowClass = 4,
    kFloatingWindowClass = 5,
    kDocumentWindowClass = 6,
    kPlainWindowClass = 13,
    kAllWindowClasses = 0xFFFFFFFF,
};

enum : WindowAttributes {
    kWindowNoAttributes = 0,
    kWindowCloseBoxAttribute = 1u << 0,
    kWindowHorizontalZoomAttribute = 1u << 1,
    kWindowVerticalZoomAttribute = 1u << 2,
    kWindowFullZoomAttribute = kWindowHorizontalZoomAttribute | kWindowVerticalZoomAttribute,
    kWindowCollapseBoxAttribute = 1u << 3,
    kWindowResizableAttribute = 1u << 4,
    kWindowSideTitlebarAttribute = 1u << 5,
    kWindowLiveResizeAttribute = 1u << 6,
    kWindowAsyncDragAttribute = 1u << 7,
    kWindowNoTitleBarAttribute = 1u << 8, // no frame at all (a floating window's pop-up)
    kWindowStandardDocumentAttributes = kWindowCloseBoxAttribute | kWindowFullZoomAttribute |
                                        kWindowCollapseBoxAttribute | kWindowResizableAttribute,
    kWindowStandardFloatingAttributes = kWindowCloseBoxAttribute | kWindowCollapseBoxAttribute,
};

enum : WindowPartCode {
    inDesk = 0,
    inNoWindow = 0,
    inMenuBar = 1,
    inSysWindow = 2,
    inContent = 3,
    inDrag = 4,
    inGrow = 5,
    inGoAway = 6,
    inZoomIn = 7,
    inZoomOut = 8,
    inCollapseBox = 11,
};

enum : OSStatus {
    eventNotHandledErr = -9874,
    errInvalidWindowRef = -5600,
    errWindowNotFound = -5604,
};

// Creates a hidden window whose content (port) has the given global bounds; the platform must be
// started (PlatformInitialize or a test's application), otherwise the result is memFullErr.
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* outWindow);
void DisposeWindow(WindowRef window);
WindowClass GetWindowClass(WindowRef window);
WindowAttributes GetWindowAttributes(WindowRef window);
OSStatus ChangeWindowAttributes(WindowRef window, WindowAttributes setThese, WindowAttributes clearThese);

void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
void ShowHide(WindowRef window, Boolean show);
Boolean IsWindowVisible(WindowRef window);
// Brings the window to the front of its layer and makes it the active one (activate events follow).
void SelectWindow(WindowRef window);
void BringToFront(WindowRef window);

// Front-to-back order: modal dialogs above floating windows above documents and plain windows.
WindowRef FrontWindow();
WindowRef FrontNonFloatingWindow();
WindowRef GetFrontWindowOfClass(WindowClass windowClass, Boolean mustBeVisible);
WindowRef GetWindowList();
WindowRef GetNextWindow(WindowRef window);
WindowRef GetNextWindowOfClass(WindowRef window, WindowClass windowClass, Boolean mustBeVisible);

// Global coordinates of the content's top-left.
void MoveWindow(WindowRef window, SInt16 hGlobal, SInt16 vGlobal, Boolean front);
void SizeWindow(WindowRef window, SInt16 width, SInt16 height, Boolean update);
OSStatus SetWindowResizeLimits(WindowRef window, Point minSize, Point maxSize);
// The content's bounds in global coordinates.
void GetWindowContentBounds(WindowRef window, Rect* globalBounds);
Rect* GetWindowPortBounds(WindowRef window, Rect* bounds);
void SetWindowStandardState(WindowRef window, const Rect* globalBounds);
void SetWindowUserState(WindowRef window, const Rect* globalBounds);
void GetWindowStandardState(WindowRef window, Rect* globalBounds);
void GetWindowUserState(WindowRef window, Rect* globalBounds);

// Titles are in the system encoding (Mac Roman); the UTF-8 form is for names that need Unicode.
void SetWTitle(WindowRef window, ConstStr255Param title);
void GetWTitle(WindowRef window, Str255 title);
void SetWindowTitleUTF8(WindowRef window, const char* title);
void SetWindowModified(WindowRef window, Boolean modified);
Boolean IsWindowModified(WindowRef window);
void SetWRefCon(WindowRef window, long refCon);
long GetWRefCon(WindowRef window);
// The refcon the program keeps is often a pointer; this is the same slot at pointer width.
void SetWindowRefConPtr(WindowRef window, void* refCon);
void* GetWindowRefConPtr(WindowRef window);
void HiliteWindow(WindowRef window, Boolean hilite);
Boolean IsWindowHilited(WindowRef window);

// Hit-testing of a global point against the windows and their parts. Title bars and frames are the
// window manager's: the close box, zoom and title-bar clicks reach the program as mouse-downs that
// FindWindow reports as inGoAway, inZoomOut and inDrag. The bottom-right 15 x 15 pixels of a resizable
// window's content are its grow box.
WindowPartCode FindWindow(Point globalPoint, WindowRef* window);
// Title-bar drag, grow and boxes, tracked while the button is down.
void DragWindow(WindowRef window, Point startGlobal, const Rect* limit);
// Result: new height << 16 | new width, 0 when the size did not change.
SInt32 GrowWindow(WindowRef window, Point startGlobal, const Rect* sizeConstraints);
Boolean TrackGoAway(WindowRef window, Point startGlobal);
Boolean TrackBox(WindowRef window, Point startGlobal, WindowPartCode part);
void ZoomWindow(WindowRef window, WindowPartCode part, Boolean front);
Boolean IsWindowInStandardState(WindowRef window);

// Invalidation and update events. The update region is in local coordinates of the window.
void InvalWindowRect(WindowRef window, const Rect* bounds);
void InvalWindowRgn(WindowRef window, RgnHandle region);
void ValidWindowRect(WindowRef window, const Rect* bounds);
void ValidWindowRgn(WindowRef window, RgnHandle region);
void GetWindowUpdateRgn(WindowRef window, RgnHandle region);
// Between these, drawing into the window's port is clipped to what was invalid; the update region is
// empty afterwards.
void BeginUpdate(WindowRef window);
void EndUpdate(WindowRef window);

CGrafPtr GetWindowPort(WindowRef window);
WindowRef GetWindowFromPort(CGrafPtr port);
void SetPortWindowPort(WindowRef window);
void GlobalToLocal(Point* point);
void LocalToGlobal(Point* point);

// Window event handlers run inside WaitNextEvent and GetNextEvent, in queue order with the other input.
enum class WindowEventKind : UInt16 {
    boundsChanged, // the content bounds changed (by the user or the program)
    activated,
    deactivated,
    mouseWheel, // over the window
    textInput,  // a key-down or auto-key about to be returned while the window has the typing focus
};

struct WindowEvent {
    WindowEventKind kind;
    WindowRef window;
    Rect previousBounds; // boundsChanged: global content bounds before and after
    Rect currentBounds;
    UInt16 wheelAxis; // mouseWheel: kEventMouseWheelAxisX or Y, delta in lines, positive away
    SInt32 wheelDelta;
    Point where; // mouseWheel: global mouse location
    UInt16 modifiers;
    EventRecord* keyEvent; // textInput: may be changed when the handler passes it on
};

// noErr consumes the event (a consumed key event is not returned); eventNotHandledErr passes it on.
using WindowEventHandler = OSStatus (*)(const WindowEvent* event, void* userData);
struct OpaqueEventHandlerRef;
using EventHandlerRef = OpaqueEventHandlerRef*;
OSStatus InstallWindowEventHandler(WindowRef window, WindowEventKind kind, WindowEventHandler handler,
                                   void* userData, EventHandlerRef* outRef);
OSStatus RemoveEventHandler(EventHandlerRef handlerRef);

// Help tags: the provider gives the text shown as a tooltip for a local point of the window, and the
// zone (local rectangle) within which the tag stays; false for no tag there.
using HelpTagProvider = Boolean (*)(WindowRef window, Point local, Str255 text, Rect* zone, void* userData);
void SetWindowHelpTagProvider(WindowRef window, HelpTagProvider provider, void* userData);
// What the window's provider answers for the point; false without a provider or a text.
Boolean GetWindowHelpTag(WindowRef window, Point local, Str255 text, Rect* zone);

// Screens. A GDHandle names one screen; the first is the main screen.
struct OpaqueGDevice;
using GDHandle = OpaqueGDevice*;
GDHandle GetMainDevice();
GDHandle GetDeviceList();
GDHandle GetNextDevice(GDHandle device);
// Whole bounds of the screen, global coordinates.
void GetDeviceBounds(GDHandle device, Rect* bounds);
// What windows may cover: the screen less panels and docks.
OSStatus GetAvailableWindowPositioningBounds(GDHandle device, Rect* bounds);
// Menus live in the windows, so no screen strip is reserved for them.
SInt16 GetMBarHeight();
// True when the global point lies on some screen.
Boolean PointIsOnDesktop(Point globalPoint);
