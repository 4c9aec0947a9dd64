// Inside the platform layer only (included by Sources/Platform/*.cpp, never elsewhere): the records
// behind ports and windows and the Qt objects that show them, for the platform's own units and for the
// dialog, control and menu code that places real widgets on windows. Qt classes are only named here.
#pragma once

#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"

#include <memory>
#include <string>
#include <vector>

class QImage;
class QMenuBar;
class QPaintDevice;
class QRegion;
class QFont;
class QString;
class QWidget;
class WindowHost;
struct CGContext;

// A port: the image drawn into and the QuickDraw drawing state.
struct OpaqueGrafPort {
    OpaqueGrafPort(SInt16 width, SInt16 height, SInt16 depth);
    ~OpaqueGrafPort();
    // Changes the image size, keeping the pixels that stay and filling the rest white.
    void Resize(SInt16 width, SInt16 height);

    std::unique_ptr<QImage> image;
    WindowRef window = nullptr; // null for an offscreen world
    SInt16 depth = 32;
    Rect portRect{0, 0, 0, 0};
    RgnHandle clipRgn = nullptr; // local coordinates; "everything" by default
    RgnHandle visRgn = nullptr;  // the port rectangle, or what is being updated
    Point penLoc{0, 0};
    Point penSize{1, 1};
    SInt16 penMode = patCopy;
    Pattern penPat{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    SInt16 penHidden = 0;
    bool penIsPixPat = false; // the pen paints one colour (PenPixPat)
    RGBColor penPixColour{0, 0, 0};
    Pattern bkPat{{0, 0, 0, 0, 0, 0, 0, 0}};
    RGBColor fgColour{0, 0, 0};
    RGBColor bgColour{0xFFFF, 0xFFFF, 0xFFFF};
    SInt16 txFont = 0;
    SInt16 txSize = 0;
    SInt16 txFace = 0;
    SInt16 txMode = srcOr;
    SInt32 openContexts = 0; // CG contexts drawing into the image
};

struct InstalledHandler {
    WindowEventKind kind;
    WindowEventHandler handler;
    void* userData;
    OpaqueEventHandlerRef* ref;
};

// A window: its port, its place in the window list and the Qt window that shows the port.
struct OpaqueWindowPtr {
    WindowClass windowClass = kDocumentWindowClass;
    WindowAttributes attributes = 0;
    std::unique_ptr<OpaqueGrafPort> port;
    Rect bounds{0, 0, 0, 0}; // content, global
    Rect standardState{0, 0, 0, 0};
    Rect userState{0, 0, 0, 0};
    Point minSize{0, 0}; // v height, h width
    Point maxSize{32767, 32767};
    std::string title; // system encoding
    std::string titleUTF8;
    bool titleIsUTF8 = false;
    bool modified = false;
    bool visible = false;
    bool hilited = false;
    intptr_t refCon = 0;
    RgnHandle updateRgn = nullptr;
    RgnHandle savedVisRgn = nullptr; // between BeginUpdate and EndUpdate
    bool inUpdate = false;
    std::vector<InstalledHandler> handlers;
    HelpTagProvider helpTags = nullptr;
    void* helpTagData = nullptr;
    WindowHost* host = nullptr;
};

// Starts the Qt side once an application exists (input filter, application state); false headless.
bool PlatformEnsureQt();

// The widget that shows a window's port; dialog items may be made its children, placed at their item
// rectangles (local coordinates of the port), and are drawn over the port image.
QWidget* PlatformWindowContentWidget(WindowRef window);
// The top-level Qt window holding the menu bar (if any) and the content.
QWidget* PlatformWindowTopLevelWidget(WindowRef window);
// The window whose content or top-level widget holds this widget; null for any other widget.
WindowRef PlatformWindowFromWidget(const QWidget* widget);
// Puts a menu bar above the window's content (the window takes it over; null removes the current one,
// which is then deleted). Clicks on it go to the menu bar, FindWindow reports them as inMenuBar.
void PlatformSetWindowMenuBar(WindowRef window, QMenuBar* menuBar);
QMenuBar* PlatformWindowMenuBar(WindowRef window);
// Input on a window's child widgets becomes events like input on the port itself (the widget never sees
// it). A widget marked native (and its children) gets its mouse and key input from Qt instead, and its
// owner reports activity by posting events (widgetActivityEvt).
void PlatformSetNativeInput(QWidget* widget, bool native);
bool PlatformIsNativeInput(const QWidget* widget);

// Told when windows appear and go; the menu-bar host uses it to equip new windows.
enum class WindowChange { created, disposing, shown, hidden, activated };
using WindowObserver = void (*)(WindowRef window, WindowChange change);
void PlatformAddWindowObserver(WindowObserver observer);
void PlatformRemoveWindowObserver(WindowObserver observer);

// The image behind a port, and the note that part of it changed (null: all), which schedules the
// window to show it.
QImage& PlatformPortImage(CGrafPtr port);
void PlatformPortChanged(CGrafPtr port, const Rect* changedLocal);

// The Qt region behind a region handle.
QRegion& PlatformRegion(RgnHandle region);

// The Qt font of a font number, pixel size and face (Fonts.cpp); size 0 means 12.
QFont PlatformFont(SInt16 fontNumber, SInt16 size, SInt16 face);
// Fractional text sizes are measured and drawn with fonts made at this pixel size and scaled, by the
// drawing context and by the text metrics alike, so layout and drawing agree.
constexpr double kPlatformFontBaseSize = 100.0;

// Text of the system encoding and UTF-8 to Qt and back.
QString PlatformStringFromMacRoman(const UInt8* bytes, SInt32 length);
std::string PlatformMacRomanFromString(const QString& text);

// A CG-style context over any Qt paint device whose height (in its units) is `height`: y is flipped so
// that the origin is bottom-left. Printing creates its contexts here; release with CGContextRelease.
CGContext* PlatformCreateCGContext(QPaintDevice* device, double width, double height);
// Nothing; calling it links the program's faster set-up of PDF stream compression (PdfCompression.cpp).
void PlatformLinkFastPdfCompression();

// Window list order changed or a window appeared: recompute hilite and post activate events.
void PlatformWindowOrderChanged();
// Queues a window event for the window's handlers (run in queue order inside WaitNextEvent).
void PlatformQueueWindowEvent(const WindowEvent& event);
// Runs the window's handlers of that kind; the result of the first that handles it, else
// eventNotHandledErr.
OSStatus PlatformCallWindowHandlers(const WindowEvent& event);
// The window that has the typing focus: the front non-floating visible window.
WindowRef PlatformKeyFocusWindow();
// The rectangle of a window's menu bar in global coordinates (empty without one).
Rect PlatformWindowMenuBarBounds(WindowRef window);
// Every window, front to back.
const std::vector<WindowRef>& PlatformWindowList();
// The host changed the content bounds (user resize or window-manager move).
void PlatformWindowBoundsChangedByUser(WindowRef window, const Rect& newBounds);
// The user or the window manager made this window the active one.
void PlatformWindowActivatedByUser(WindowRef window);
// The window manager's close button was used.
void PlatformWindowCloseRequested(WindowRef window);

// Input as the window system or the simulated user delivers it (QtInput.cpp and SimulatedInput steps);
// it updates the state the polling calls read and queues the events.
void PlatformRecordMouseMove(Point globalPoint);
// window: the window whose content got the press (null for none); secondary: the right button, which
// arrives as a control-click.
void PlatformRecordMouseButton(WindowRef window, bool down, Point globalPoint, UInt16 modifiers,
                               bool secondary);
void PlatformRecordKey(bool down, UInt8 keyCode, UInt8 charCode, UInt16 modifiers, bool repeat);
void PlatformRecordModifiers(UInt16 modifiers);
void PlatformRecordApplicationActive(bool active);
// Queues a mouse-down that stands for a click on a window's frame (title bar, close button): FindWindow
// reports `part` for its point until the next mouse-down is taken from the queue.
void PlatformQueueFrameClick(WindowRef window, WindowPartCode part);
// The part a frame click at this point stands for, inDesk when the point is no pending frame click.
WindowPartCode PlatformFrameClickPart(Point globalPoint, WindowRef* window);
void PlatformForgetFrameClick(WindowRef window);
// An update event for the frontmost visible window with something to update; false when none.
bool PlatformNextUpdateEvent(EventRecord* event);
bool PlatformAnyUpdatePending();
bool PlatformWindowExists(WindowRef window);
// Lets Qt process pending events (not waiting); a no-op headless.
void PlatformProcessQtEvents();
// Queues the activate event of a window (active or not) ahead of other input.
void PlatformActivationEventRecord(WindowRef window, bool active);

// The Qt window of a window record (WindowHost.cpp). Geometry is the content's, global.
WindowHost* HostCreate(WindowRef window);
void HostDestroy(WindowHost* host);
void HostSetVisible(WindowHost* host, bool visible);
void HostSetContentGeometry(WindowHost* host, const Rect& globalBounds);
void HostRaise(WindowHost* host, bool activate);
// Every visible floating window raised (not activated), above the window the window manager activated.
void PlatformRaiseFloatingWindows();
// The window manager keeps the window above `parent` (its transient parent; null: none).
void HostKeepAbove(WindowHost* host, WindowHost* parent);
void HostSetTitle(WindowHost* host, const QString& title, bool modified);
void HostUpdate(WindowHost* host, const Rect* local);
void HostSetSizeLimits(WindowHost* host, Point minSize, Point maxSize);
// The frame the window manager puts around a window, measured on one of the preferred class when one
// is framed (top, left, bottom, right as the fields of a Rect).
Rect HostFrameExtents(WindowClass preferred);
// What lies around a document window's content on screen: the frame the window manager adds and the
// menu bar.
Rect HostDecorationExtents();
QWidget* HostContent(WindowHost* host);
QWidget* HostTopLevel(WindowHost* host);
void HostSetMenuBar(WindowHost* host, QMenuBar* menuBar);
QMenuBar* HostMenuBar(WindowHost* host);
// Installs the application-wide input filter once (QtInput.cpp).
void PlatformInstallInputFilter();
