// Window records: the window list with its layers, activation, geometry, titles, hit-testing, the
// tracking of title bar, grow and boxes, update regions, window event handlers and the screens.
#include "Platform/PlatformWindowInternal.h"
#include "Platform/PlatformApp.h"
#include "Platform/WindowFit.h"

#include <QGuiApplication>
#include <QCursor>
#include <QScreen>
#include <QString>
#include <algorithm>

struct OpaqueEventHandlerRef {
    WindowRef window;
};

namespace {

std::vector<WindowRef> gWindows; // front to back
WindowRef gActive = nullptr;     // the hilited front non-floating window
std::vector<WindowObserver> gObservers;
std::vector<std::pair<WindowRef, UInt32>> gOwnActivations; // windows we asked Qt to activate, and when

int LayerOf(WindowRef w) {
    switch (w->windowClass) {
    case kAlertWindowClass:
    case kMovableAlertWindowClass:
    case kModalWindowClass:
    case kMovableModalWindowClass:
        return 3;
    case kFloatingWindowClass:
        return 2;
    default:
        return 1;
    }
}

bool Valid(WindowRef w) {
    return w && std::find(gWindows.begin(), gWindows.end(), w) != gWindows.end();
}

void Notify(WindowRef w, WindowChange change) {
    auto observers = gObservers;
    for (auto o : observers)
        o(w, change);
}

void PlaceInFront(WindowRef w) {
    std::erase(gWindows, w);
    auto it =
        std::find_if(gWindows.begin(), gWindows.end(), [w](WindowRef o) { return LayerOf(o) <= LayerOf(w); });
    gWindows.insert(it, w);
}

QString TitleForDisplay(WindowRef w) {
    if (w->titleIsUTF8) return QString::fromUtf8(w->titleUTF8.data(), qsizetype(w->titleUTF8.size()));
    QString t =
        PlatformStringFromMacRoman(reinterpret_cast<const UInt8*>(w->title.data()), SInt32(w->title.size()));
    // The modified mark of plain names is character 19; show it as a visible mark.
    t.replace(QChar(0x13), QChar(0x25C6));
    return t;
}

void RefreshTitle(WindowRef w) {
    if (w->host) HostSetTitle(w->host, TitleForDisplay(w), w->modified);
}

void QueueBoundsChanged(WindowRef w, const Rect& before) {
    WindowEvent e{};
    e.kind = WindowEventKind::boundsChanged;
    e.window = w;
    e.previousBounds = before;
    e.currentBounds = w->bounds;
    PlatformQueueWindowEvent(e);
}

SInt16 Width(const Rect& r) {
    return SInt16(r.right - r.left);
}
SInt16 Height(const Rect& r) {
    return SInt16(r.bottom - r.top);
}

// New size of the port: keep the pixels, make the uncovered strips invalid.
void ApplySize(WindowRef w, SInt16 width, SInt16 height, bool invalidateNew) {
    SInt16 oldW = Width(w->bounds), oldH = Height(w->bounds);
    w->port->Resize(width, height);
    w->bounds.right = SInt16(w->bounds.left + width);
    w->bounds.bottom = SInt16(w->bounds.top + height);
    if (invalidateNew) {
        if (width > oldW) {
            Rect r{0, oldW, height, width};
            InvalWindowRect(w, &r);
        }
        if (height > oldH) {
            Rect r{oldH, 0, height, width};
            InvalWindowRect(w, &r);
        }
    }
}

bool RecentlyActivatedByUs(WindowRef w) {
    UInt32 now = TickCount();
    std::erase_if(gOwnActivations, [now](const auto& p) { return now - p.second > 30; });
    for (const auto& p : gOwnActivations)
        if (p.first == w) return true;
    return false;
}

Rect ScreenRect(QScreen* s, bool available) {
    QRect g = available ? s->availableGeometry() : s->geometry();
    return Rect{SInt16(g.top()), SInt16(g.left()), SInt16(g.top() + g.height()),
                SInt16(g.left() + g.width())};
}

const Rect kHeadlessScreen{0, 0, 800, 1280};

} // namespace

// Window list and activation.

const std::vector<WindowRef>& PlatformWindowList() {
    return gWindows;
}

bool PlatformWindowExists(WindowRef window) {
    return Valid(window);
}

void PlatformAddWindowObserver(WindowObserver observer) {
    gObservers.push_back(observer);
}

void PlatformRemoveWindowObserver(WindowObserver observer) {
    std::erase(gObservers, observer);
}

WindowRef PlatformKeyFocusWindow() {
    return FrontNonFloatingWindow();
}

// Floating windows stay above our front document window, and only above ours: each is made the
// transient of that window (not of dialogs, which stay above them).
void KeepFloatingAboveFrontDocument() {
    WindowRef front = nullptr;
    for (WindowRef w : gWindows)
        if (w->visible && LayerOf(w) == 1) {
            front = w;
            break;
        }
    for (WindowRef w : gWindows)
        if (w->windowClass == kFloatingWindowClass && w->host)
            HostKeepAbove(w->host, front != nullptr ? front->host : nullptr);
}

void PlatformRaiseFloatingWindows() {
    KeepFloatingAboveFrontDocument();
    for (auto it = gWindows.rbegin(); it != gWindows.rend(); ++it)
        if ((*it)->windowClass == kFloatingWindowClass && (*it)->visible && (*it)->host)
            HostRaise((*it)->host, false);
}

void PlatformWindowOrderChanged() {
    KeepFloatingAboveFrontDocument();
    WindowRef front = FrontNonFloatingWindow();
    if (front == gActive) return;
    WindowRef old = gActive;
    gActive = front;
    if (old && Valid(old)) {
        old->hilited = false;
        PlatformActivationEventRecord(old, false);
        WindowEvent e{};
        e.kind = WindowEventKind::deactivated;
        e.window = old;
        PlatformQueueWindowEvent(e);
    }
    if (front) {
        front->hilited = true;
        PlatformActivationEventRecord(front, true);
        WindowEvent e{};
        e.kind = WindowEventKind::activated;
        e.window = front;
        PlatformQueueWindowEvent(e);
        if (front->host) {
            gOwnActivations.push_back({front, TickCount()});
            HostRaise(front->host, true);
        }
        Notify(front, WindowChange::activated);
    }
}

void PlatformWindowActivatedByUser(WindowRef window) {
    if (!Valid(window) || !window->visible || window == gActive) return;
    if (window->windowClass == kFloatingWindowClass) return;
    if (RecentlyActivatedByUs(window)) return;
    // The window manager also moves the focus on its own (when a window closes); only a click on the
    // window, with the pointer over it, is the user's choice.
    if (!PlatformIsOffscreen()) {
        Rect b = window->bounds;
        QPoint p = QCursor::pos();
        if (p.x() < b.left || p.x() >= b.right || p.y() < b.top - 40 || p.y() >= b.bottom) return;
    }
    // Made front by the window manager: the program hears it as a click in the title bar.
    PlatformQueueFrameClick(window, inDrag);
}

void PlatformWindowCloseRequested(WindowRef window) {
    if (!Valid(window) || !(window->attributes & kWindowCloseBoxAttribute)) return;
    PlatformQueueFrameClick(window, inGoAway);
}

void PlatformWindowBoundsChangedByUser(WindowRef window, const Rect& newBounds) {
    if (!Valid(window)) return;
    Rect before = window->bounds;
    if (EqualRect(&before, &newBounds)) return;
    SInt16 w = Width(newBounds), h = Height(newBounds);
    window->bounds.top = newBounds.top;
    window->bounds.left = newBounds.left;
    window->bounds.bottom = SInt16(newBounds.top + Height(before));
    window->bounds.right = SInt16(newBounds.left + Width(before));
    // The Qt window already has this geometry: asking for it again would make the window manager
    // answer with another adjustment, and so on for ever.
    if (w != Width(before) || h != Height(before)) ApplySize(window, w, h, true);
    QueueBoundsChanged(window, before);
}

// Creation and disposal.

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* outWindow) {
    if (outWindow) *outWindow = nullptr;
    if (!contentBounds || !outWindow) return paramErr;
    if (!PlatformEnsureQt()) return memFullErr;
    auto* w = new OpaqueWindowPtr;
    w->windowClass = windowClass;
    w->attributes = attributes;
    w->bounds = *contentBounds;
    if (Width(w->bounds) < 1) w->bounds.right = SInt16(w->bounds.left + 1);
    if (Height(w->bounds) < 1) w->bounds.bottom = SInt16(w->bounds.top + 1);
    w->standardState = w->bounds;
    w->userState = w->bounds;
    w->port = std::make_unique<OpaqueGrafPort>(Width(w->bounds), Height(w->bounds), 32);
    w->port->window = w;
    w->updateRgn = NewRgn();
    w->savedVisRgn = NewRgn();
    gWindows.push_back(w);
    PlaceInFront(w);
    w->host = HostCreate(w);
    HostSetContentGeometry(w->host, w->bounds);
    RefreshTitle(w);
    *outWindow = w;
    Notify(w, WindowChange::created);
    return noErr;
}

void DisposeWindow(WindowRef window) {
    if (!Valid(window)) return;
    Notify(window, WindowChange::disposing);
    GrafPtr current;
    GetPort(&current);
    if (current == window->port.get()) SetPort(nullptr);
    for (auto& h : window->handlers)
        delete h.ref;
    window->handlers.clear();
    PlatformForgetFrameClick(window);
    std::erase(gWindows, window);
    std::erase_if(gOwnActivations, [window](const auto& p) { return p.first == window; });
    if (gActive == window) gActive = nullptr;
    HostDestroy(window->host);
    window->host = nullptr;
    DisposeRgn(window->updateRgn);
    DisposeRgn(window->savedVisRgn);
    delete window;
    PlatformWindowOrderChanged();
}

WindowClass GetWindowClass(WindowRef window) {
    return Valid(window) ? window->windowClass : 0;
}

WindowAttributes GetWindowAttributes(WindowRef window) {
    return Valid(window) ? window->attributes : 0;
}

OSStatus ChangeWindowAttributes(WindowRef window, WindowAttributes setThese, WindowAttributes clearThese) {
    if (!Valid(window)) return errInvalidWindowRef;
    window->attributes = (window->attributes | setThese) & ~clearThese;
    return noErr;
}

// Showing, hiding, ordering.

void ShowWindow(WindowRef window) {
    if (!Valid(window) || window->visible) return;
    window->visible = true;
    Rect all = window->port->portRect;
    InvalWindowRect(window, &all);
    HostSetVisible(window->host, true);
    Notify(window, WindowChange::shown);
    PlatformWindowOrderChanged();
}

void HideWindow(WindowRef window) {
    if (!Valid(window) || !window->visible) return;
    window->visible = false;
    HostSetVisible(window->host, false);
    Notify(window, WindowChange::hidden);
    PlatformWindowOrderChanged();
}

void ShowHide(WindowRef window, Boolean show) {
    if (show)
        ShowWindow(window);
    else
        HideWindow(window);
}

Boolean IsWindowVisible(WindowRef window) {
    return Valid(window) && window->visible;
}

void SelectWindow(WindowRef window) {
    if (!Valid(window)) return;
    PlaceInFront(window);
    if (window->visible && window->host) HostRaise(window->host, window->windowClass != kFloatingWindowClass);
    PlatformWindowOrderChanged();
}

void BringToFront(WindowRef window) {
    if (!Valid(window)) return;
    PlaceInFront(window);
    if (window->visible && window->host) HostRaise(window->host, false);
    PlatformWindowOrderChanged();
}

WindowRef FrontWindow() {
    for (auto w : gWindows)
        if (w->visible) return w;
    return nullptr;
}

WindowRef FrontNonFloatingWindow() {
    for (auto w : gWindows)
        if (w->visible && w->windowClass != kFloatingWindowClass) return w;
    return nullptr;
}

WindowRef GetFrontWindowOfClass(WindowClass windowClass, Boolean mustBeVisible) {
    for (auto w : gWindows)
        if ((windowClass == kAllWindowClasses || w->windowClass == windowClass) &&
            (w->visible || !mustBeVisible))
            return w;
    return nullptr;
}

WindowRef GetWindowList() {
    return gWindows.empty() ? nullptr : gWindows.front();
}

WindowRef GetNextWindow(WindowRef window) {
    auto it = std::find(gWindows.begin(), gWindows.end(), window);
    if (it == gWindows.end() || ++it == gWindows.end()) return nullptr;
    return *it;
}

WindowRef GetNextWindowOfClass(WindowRef window, WindowClass windowClass, Boolean mustBeVisible) {
    for (WindowRef w = GetNextWindow(window); w; w = GetNextWindow(w))
        if ((windowClass == kAllWindowClasses || w->windowClass == windowClass) &&
            (w->visible || !mustBeVisible))
            return w;
    return nullptr;
}

// Geometry.

void MoveWindow(WindowRef window, SInt16 hGlobal, SInt16 vGlobal, Boolean front) {
    if (!Valid(window)) return;
    Rect before = window->bounds;
    OffsetRect(&window->bounds, SInt16(hGlobal - before.left), SInt16(vGlobal - before.top));
    if (!EqualRect(&before, &window->bounds)) {
        HostSetContentGeometry(window->host, window->bounds);
        QueueBoundsChanged(window, before);
    }
    if (front) SelectWindow(window);
}

void SizeWindow(WindowRef window, SInt16 width, SInt16 height, Boolean update) {
    if (!Valid(window) || width < 1 || height < 1) return;
    if (width == Width(window->bounds) && height == Height(window->bounds)) return;
    Rect before = window->bounds;
    ApplySize(window, width, height, update);
    HostSetContentGeometry(window->host, window->bounds);
    QueueBoundsChanged(window, before);
}

OSStatus SetWindowResizeLimits(WindowRef window, Point minSize, Point maxSize) {
    if (!Valid(window)) return errInvalidWindowRef;
    window->minSize = minSize;
    window->maxSize = maxSize;
    HostSetSizeLimits(window->host, minSize, maxSize);
    return noErr;
}

void GetWindowContentBounds(WindowRef window, Rect* globalBounds) {
    if (!globalBounds) return;
    *globalBounds = Valid(window) ? window->bounds : Rect{0, 0, 0, 0};
}

Rect* GetWindowPortBounds(WindowRef window, Rect* bounds) {
    if (!bounds) return bounds;
    *bounds = Valid(window) ? window->port->portRect : Rect{0, 0, 0, 0};
    return bounds;
}

void SetWindowStandardState(WindowRef window, const Rect* globalBounds) {
    if (Valid(window) && globalBounds) window->standardState = *globalBounds;
}

void SetWindowUserState(WindowRef window, const Rect* globalBounds) {
    if (Valid(window) && globalBounds) window->userState = *globalBounds;
}

void GetWindowStandardState(WindowRef window, Rect* globalBounds) {
    if (globalBounds) *globalBounds = Valid(window) ? window->standardState : Rect{0, 0, 0, 0};
}

void GetWindowUserState(WindowRef window, Rect* globalBounds) {
    if (globalBounds) *globalBounds = Valid(window) ? window->userState : Rect{0, 0, 0, 0};
}

// Titles and the reference constant.

void SetWTitle(WindowRef window, ConstStr255Param title) {
    if (!Valid(window) || !title) return;
    window->title.assign(reinterpret_cast<const char*>(title + 1), title[0]);
    window->titleIsUTF8 = false;
    RefreshTitle(window);
}

void GetWTitle(WindowRef window, Str255 title) {
    if (!title) return;
    title[0] = 0;
    if (!Valid(window)) return;
    std::string t = window->titleIsUTF8
                        ? PlatformMacRomanFromString(QString::fromUtf8(window->titleUTF8.c_str()))
                        : window->title;
    size_t n = std::min<size_t>(t.size(), 255);
    title[0] = UInt8(n);
    std::copy_n(t.begin(), n, title + 1);
}

void SetWindowTitleUTF8(WindowRef window, const char* title) {
    if (!Valid(window) || !title) return;
    window->titleUTF8 = title;
    window->titleIsUTF8 = true;
    RefreshTitle(window);
}

void SetWindowModified(WindowRef window, Boolean modified) {
    if (!Valid(window)) return;
    window->modified = modified;
    RefreshTitle(window);
}

Boolean IsWindowModified(WindowRef window) {
    return Valid(window) && window->modified;
}

void SetWRefCon(WindowRef window, long refCon) {
    if (Valid(window)) window->refCon = refCon;
}

long GetWRefCon(WindowRef window) {
    return Valid(window) ? long(window->refCon) : 0;
}

void SetWindowRefConPtr(WindowRef window, void* refCon) {
    if (Valid(window)) window->refCon = reinterpret_cast<intptr_t>(refCon);
}

void* GetWindowRefConPtr(WindowRef window) {
    return Valid(window) ? reinterpret_cast<void*>(window->refCon) : nullptr;
}

void HiliteWindow(WindowRef window, Boolean hilite) {
    if (Valid(window)) window->hilited = hilite;
}

Boolean IsWindowHilited(WindowRef window) {
    return Valid(window) && window->hilited;
}

// Hit-testing and tracking.

WindowPartCode FindWindow(Point globalPoint, WindowRef* window) {
    if (window) *window = nullptr;
    WindowRef framed = nullptr;
    WindowPartCode part = PlatformFrameClickPart(globalPoint, &framed);
    if (part != inDesk) {
        if (window) *window = framed;
        return part;
    }
    for (auto w : gWindows) {
        if (!w->visible) continue;
        Rect bar = PlatformWindowMenuBarBounds(w);
        if (!EmptyRect(&bar) && PtInRect(globalPoint, &bar)) {
            if (window) *window = w;
            return inMenuBar;
        }
        if (PtInRect(globalPoint, &w->bounds)) {
            if (window) *window = w;
            if ((w->attributes & kWindowResizableAttribute) && globalPoint.h >= w->bounds.right - 15 &&
                globalPoint.v >= w->bounds.bottom - 15)
                return inGrow;
            return inContent;
        }
        // The title bar the window manager draws above the content (and the menu bar).
        SInt16 top = EmptyRect(&bar) ? w->bounds.top : bar.top;
        if (w->windowClass != kPlainWindowClass && globalPoint.h >= w->bounds.left &&
            globalPoint.h < w->bounds.right && globalPoint.v < top && globalPoint.v >= top - 22) {
            if (window) *window = w;
            return inDrag;
        }
    }
    return inDesk;
}

void DragWindow(WindowRef window, Point startGlobal, const Rect* limit) {
    if (!Valid(window)) return;
    PlatformForgetFrameClick(window);
    Point p = startGlobal;
    while (WaitMouseUp())
        GetGlobalMouse(&p);
    GetGlobalMouse(&p);
    if (limit && !PtInRect(p, limit)) return;
    if (!(GetCurrentKeyModifiers() & cmdKey)) SelectWindow(window);
    SInt16 dh = SInt16(p.h - startGlobal.h), dv = SInt16(p.v - startGlobal.v);
    if (dh || dv)
        MoveWindow(window, SInt16(window->bounds.left + dh), SInt16(window->bounds.top + dv), false);
}

SInt32 GrowWindow(WindowRef window, Point startGlobal, const Rect* sizeConstraints) {
    if (!Valid(window)) return 0;
    Point p = startGlobal;
    while (WaitMouseUp())
        GetGlobalMouse(&p);
    GetGlobalMouse(&p);
    SInt32 w = Width(window->bounds) + (p.h - startGlobal.h);
    SInt32 h = Height(window->bounds) + (p.v - startGlobal.v);
    if (sizeConstraints) {
        w = std::clamp<SInt32>(w, sizeConstraints->left,
                               std::max(sizeConstraints->left, sizeConstraints->right));
        h = std::clamp<SInt32>(h, sizeConstraints->top,
                               std::max(sizeConstraints->top, sizeConstraints->bottom));
    }
    if (w == Width(window->bounds) && h == Height(window->bounds)) return 0;
    return (h << 16) | (w & 0xFFFF);
}

Boolean TrackGoAway(WindowRef window, Point startGlobal) {
    if (!Valid(window)) return false;
    WindowRef framed = nullptr;
    if (PlatformFrameClickPart(startGlobal, &framed) == inGoAway && framed == window) {
        PlatformForgetFrameClick(window);
        return true;
    }
    while (WaitMouseUp()) {
    }
    Point p;
    GetGlobalMouse(&p);
    return FindWindow(p, &framed) == inGoAway && framed == window;
}

Boolean TrackBox(WindowRef window, Point startGlobal, WindowPartCode part) {
    if (!Valid(window)) return false;
    WindowRef framed = nullptr;
    if (PlatformFrameClickPart(startGlobal, &framed) == part && framed == window) {
        PlatformForgetFrameClick(window);
        return true;
    }
    while (WaitMouseUp()) {
    }
    return true;
}

void ZoomWindow(WindowRef window, WindowPartCode part, Boolean front) {
    if (!Valid(window)) return;
    Rect target;
    if (part == inZoomOut) {
        window->userState = window->bounds;
        target = window->standardState;
    } else {
        target = window->userState;
    }
    if (EmptyRect(&target)) return;
    MoveWindow(window, target.left, target.top, false);
    SizeWindow(window, Width(target), Height(target), true);
    if (front) SelectWindow(window);
}

Boolean IsWindowInStandardState(WindowRef window) {
    return Valid(window) && EqualRect(&window->bounds, &window->standardState);
}

// Update regions.

void InvalWindowRect(WindowRef window, const Rect* bounds) {
    if (!Valid(window) || !bounds) return;
    RgnHandle r = NewRgn();
    RectRgn(r, bounds);
    InvalWindowRgn(window, r);
    DisposeRgn(r);
}

void InvalWindowRgn(WindowRef window, RgnHandle region) {
    if (!Valid(window) || !region) return;
    RgnHandle portRgn = NewRgn();
    RectRgn(portRgn, &window->port->portRect);
    RgnHandle r = NewRgn();
    SectRgn(region, portRgn, r);
    UnionRgn(window->updateRgn, r, window->updateRgn);
    DisposeRgn(r);
    DisposeRgn(portRgn);
}

void ValidWindowRect(WindowRef window, const Rect* bounds) {
    if (!Valid(window) || !bounds) return;
    RgnHandle r = NewRgn();
    RectRgn(r, bounds);
    DiffRgn(window->updateRgn, r, window->updateRgn);
    DisposeRgn(r);
}

void ValidWindowRgn(WindowRef window, RgnHandle region) {
    if (Valid(window) && region) DiffRgn(window->updateRgn, region, window->updateRgn);
}

void GetWindowUpdateRgn(WindowRef window, RgnHandle region) {
    if (!region) return;
    if (Valid(window))
        CopyRgn(window->updateRgn, region);
    else
        SetEmptyRgn(region);
}

void BeginUpdate(WindowRef window) {
    if (!Valid(window)) return;
    OpaqueGrafPort* port = window->port.get();
    if (!window->inUpdate) CopyRgn(port->visRgn, window->savedVisRgn);
    window->inUpdate = true;
    SectRgn(window->savedVisRgn, window->updateRgn, port->visRgn);
    SetEmptyRgn(window->updateRgn);
}

void EndUpdate(WindowRef window) {
    if (!Valid(window) || !window->inUpdate) return;
    CopyRgn(window->savedVisRgn, window->port->visRgn);
    window->inUpdate = false;
}

bool PlatformNextUpdateEvent(EventRecord* event) {
    for (auto w : gWindows) {
        if (!w->visible || EmptyRgn(w->updateRgn)) continue;
        event->what = updateEvt;
        event->message = reinterpret_cast<unsigned long>(w);
        event->when = TickCount();
        GetGlobalMouse(&event->where);
        event->modifiers = GetCurrentKeyModifiers();
        return true;
    }
    return false;
}

bool PlatformAnyUpdatePending() {
    for (auto w : gWindows)
        if (w->visible && !EmptyRgn(w->updateRgn)) return true;
    return false;
}

// Ports and coordinates.

CGrafPtr GetWindowPort(WindowRef window) {
    return Valid(window) ? window->port.get() : nullptr;
}

WindowRef GetWindowFromPort(CGrafPtr port) {
    return port && Valid(port->window) ? port->window : nullptr;
}

void SetPortWindowPort(WindowRef window) {
    if (Valid(window)) SetPort(window->port.get());
}

void GlobalToLocal(Point* point) {
    GrafPtr port;
    GetPort(&port);
    if (!point || !port || !Valid(port->window)) return;
    point->h = SInt16(point->h - port->window->bounds.left);
    point->v = SInt16(point->v - port->window->bounds.top);
}

void LocalToGlobal(Point* point) {
    GrafPtr port;
    GetPort(&port);
    if (!point || !port || !Valid(port->window)) return;
    point->h = SInt16(point->h + port->window->bounds.left);
    point->v = SInt16(point->v + port->window->bounds.top);
}

// Window event handlers.

OSStatus InstallWindowEventHandler(WindowRef window, WindowEventKind kind, WindowEventHandler handler,
                                   void* userData, EventHandlerRef* outRef) {
    if (outRef) *outRef = nullptr;
    if (!Valid(window) || !handler) return paramErr;
    auto* ref = new OpaqueEventHandlerRef{window};
    window->handlers.push_back({kind, handler, userData, ref});
    if (outRef) *outRef = ref;
    return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef handlerRef) {
    if (!handlerRef || !Valid(handlerRef->window)) return paramErr;
    auto& hs = handlerRef->window->handlers;
    auto it = std::find_if(hs.begin(), hs.end(),
                           [handlerRef](const InstalledHandler& h) { return h.ref == handlerRef; });
    if (it == hs.end()) return paramErr;
    hs.erase(it);
    delete handlerRef;
    return noErr;
}

OSStatus PlatformCallWindowHandlers(const WindowEvent& event) {
    if (!Valid(event.window)) return eventNotHandledErr;
    // The handler installed last is asked first; a handler may remove handlers while it runs.
    std::vector<InstalledHandler> hs = event.window->handlers;
    for (auto it = hs.rbegin(); it != hs.rend(); ++it) {
        if (it->kind != event.kind) continue;
        if (!Valid(event.window)) break;
        auto& live = event.window->handlers;
        if (std::none_of(live.begin(), live.end(),
                         [&](const InstalledHandler& h) { return h.ref == it->ref; }))
            continue;
        if (it->handler(&event, it->userData) == noErr) return noErr;
    }
    return eventNotHandledErr;
}

void SetWindowHelpTagProvider(WindowRef window, HelpTagProvider provider, void* userData) {
    if (!Valid(window)) return;
    window->helpTags = provider;
    window->helpTagData = userData;
}

Boolean GetWindowHelpTag(WindowRef window, Point local, Str255 text, Rect* zone) {
    if (!Valid(window) || window->helpTags == nullptr || text == nullptr) return false;
    text[0] = 0;
    Rect ignored{};
    if (!window->helpTags(window, local, text, zone != nullptr ? zone : &ignored, window->helpTagData))
        return false;
    return text[0] != 0;
}

// Screens.

GDHandle GetMainDevice() {
    return reinterpret_cast<GDHandle>(uintptr_t(1));
}

GDHandle GetDeviceList() {
    return GetMainDevice();
}

GDHandle GetNextDevice(GDHandle device) {
    uintptr_t i = reinterpret_cast<uintptr_t>(device);
    qsizetype count = PlatformHasApplication() ? QGuiApplication::screens().size() : 1;
    if (i < 1 || qsizetype(i) >= count) return nullptr;
    return reinterpret_cast<GDHandle>(i + 1);
}

static QScreen* ScreenOf(GDHandle device) {
    if (!PlatformHasApplication()) return nullptr;
    uintptr_t i = reinterpret_cast<uintptr_t>(device);
    if (i == 1) return QGuiApplication::primaryScreen();
    auto screens = QGuiApplication::screens();
    QScreen* primary = QGuiApplication::primaryScreen();
    screens.removeAll(primary);
    if (i < 2 || qsizetype(i - 2) >= screens.size()) return nullptr;
    return screens[qsizetype(i - 2)];
}

void GetDeviceBounds(GDHandle device, Rect* bounds) {
    if (!bounds) return;
    QScreen* s = ScreenOf(device);
    *bounds = s ? ScreenRect(s, false) : kHeadlessScreen;
}

OSStatus GetAvailableWindowPositioningBounds(GDHandle device, Rect* bounds) {
    if (!bounds) return paramErr;
    QScreen* s = ScreenOf(device);
    if (!s) {
        *bounds = kHeadlessScreen;
        return noErr;
    }
    // Where window contents may go, so that a window placed with its title bar (the 22 pixels callers
    // leave above the content) inside these bounds fits the work area with its frame and menu bar.
    constexpr SInt16 kTitleBarAllowance = 22;
    Rect area = ScreenRect(s, true);
    Rect around = HostDecorationExtents();
    bounds->top = SInt16(area.top + std::max<int>(0, around.top - kTitleBarAllowance));
    bounds->left = SInt16(area.left + around.left);
    bounds->bottom = SInt16(area.bottom - around.bottom);
    bounds->right = SInt16(area.right - around.right);
    return noErr;
}

void GetFloatingWindowFrameExtents(Rect* extents) {
    if (extents) *extents = HostFrameExtents(kFloatingWindowClass);
}

SInt16 GetMBarHeight() {
    return 0;
}

Boolean PointIsOnDesktop(Point globalPoint) {
    for (GDHandle d = GetDeviceList(); d; d = GetNextDevice(d)) {
        Rect r;
        GetDeviceBounds(d, &r);
        if (PtInRect(globalPoint, &r)) return true;
    }
    return false;
}

// Access for the platform's widget code.

QWidget* PlatformWindowContentWidget(WindowRef window) {
    return Valid(window) && window->host ? HostContent(window->host) : nullptr;
}

QWidget* PlatformWindowTopLevelWidget(WindowRef window) {
    return Valid(window) && window->host ? HostTopLevel(window->host) : nullptr;
}

void PlatformSetWindowMenuBar(WindowRef window, QMenuBar* menuBar) {
    if (Valid(window) && window->host) HostSetMenuBar(window->host, menuBar);
}

QMenuBar* PlatformWindowMenuBar(WindowRef window) {
    return Valid(window) && window->host ? HostMenuBar(window->host) : nullptr;
}

void PlatformPortChanged(CGrafPtr port, const Rect* changedLocal) {
    if (port && Valid(port->window) && port->window->visible && port->window->host)
        HostUpdate(port->window->host, changedLocal);
}
