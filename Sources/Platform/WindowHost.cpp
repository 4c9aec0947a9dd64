// The Qt side of a window: a top-level widget holding an optional menu bar above the content view,
// which only shows the port's image. It reports the window manager's moves, resizes, activation and
// close requests to the window records; it reads no mouse or key input (QtInput.cpp does).
#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"

#include <QCloseEvent>
#include <QHelpEvent>
#include <QToolTip>
#include <QImage>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

class PortView : public QWidget {
  public:
    PortView(WindowRef window, QWidget* parent) : QWidget(parent), window_(window) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::ToolTip) return QWidget::event(e);
        auto* help = static_cast<QHelpEvent*>(e);
        Str255 text;
        Rect hot{};
        Point local{SInt16(help->pos().y()), SInt16(help->pos().x())};
        if (GetWindowHelpTag(window_, local, text, &hot)) {
            QRect zone(hot.left, hot.top, hot.right - hot.left, hot.bottom - hot.top);
            QToolTip::showText(help->globalPos(), PlatformStringFromMacRoman(text + 1, text[0]), this, zone);
        } else {
            QToolTip::hideText();
            e->ignore();
        }
        return true;
    }

    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        const QImage& image = PlatformPortImage(window_->port.get());
        p.fillRect(e->rect(), Qt::white);
        p.drawImage(e->rect().topLeft(), image, e->rect());
    }

  private:
    WindowRef window_;
};

Qt::WindowFlags FlagsFor(WindowRef w) {
    bool closeBox = w->attributes & kWindowCloseBoxAttribute;
    bool zoom = w->attributes & kWindowFullZoomAttribute;
    Qt::WindowFlags chrome = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox) chrome |= Qt::WindowCloseButtonHint;
    if (zoom) chrome |= Qt::WindowMaximizeButtonHint;
    if (w->attributes & kWindowCollapseBoxAttribute) chrome |= Qt::WindowMinimizeButtonHint;
    switch (w->windowClass) {
    case kFloatingWindowClass:
        if (w->attributes & kWindowNoTitleBarAttribute)
            return Qt::Tool | Qt::WindowDoesNotAcceptFocus | Qt::FramelessWindowHint;
        // A tool window of ours: kept above our own windows by the window manager (not above other
        // programs), out of the taskbar, never given the keyboard. Linux tool windows carry no zoom
        // or collapse box.
        return Qt::Tool | Qt::WindowDoesNotAcceptFocus | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
               (closeBox ? Qt::WindowCloseButtonHint : Qt::WindowFlags());
    case kAlertWindowClass:
    case kMovableAlertWindowClass:
    case kModalWindowClass:
    case kMovableModalWindowClass:
        return Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    case kPlainWindowClass:
        return Qt::Window | Qt::FramelessWindowHint;
    default:
        return Qt::Window | chrome;
    }
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
    xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// A palette stays out of the taskbar and the pager. Said in the window's state before it is mapped
// (Qt keeps states it does not set itself), and asked of the window manager again once it is mapped,
// since a window manager drops the state of a window it unmaps.
void KeepOutOfTaskbar(QWidget* widget, bool mapped) {
    auto* x11 = qApp != nullptr ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
    const xcb_atom_t states[] = {Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    const xcb_window_t window = xcb_window_t(widget->winId());
    if (!mapped) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32, 2, states);
    } else {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = state;
        message.data.data32[0] = 1; // add
        message.data.data32[1] = states[0];
        message.data.data32[2] = states[1];
        message.data.data32[3] = 1; // from an application
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        xcb_send_event(connection, 0, screen->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    }
    xcb_flush(connection);
}

} // namespace

class WindowHost : public QWidget {
  public:
    explicit WindowHost(WindowRef window) : QWidget(nullptr, FlagsFor(window)), window_(window) {
        view_ = new PortView(window, this);
        if (window->windowClass == kFloatingWindowClass) setAttribute(Qt::WA_ShowWithoutActivating);
    }

    WindowRef window() const { return window_; }
    QWidget* view() const { return view_; }
    QMenuBar* menuBar() const { return menuBar_; }

    int MenuBarHeight() const { return menuBar_ ? menuBar_->sizeHint().height() : 0; }

    void SetContentGeometry(const Rect& b) {
        int mb = MenuBarHeight();
        ++applying_;
        setGeometry(b.left, b.top - mb, b.right - b.left, b.bottom - b.top + mb);
        LayOut();
        --applying_;
    }

    void SetMenuBar(QMenuBar* bar) {
        if (menuBar_ == bar) return;
        delete menuBar_;
        menuBar_ = bar;
        if (bar) {
            bar->setParent(this);
            bar->show();
        }
        SetContentGeometry(window_->bounds);
    }

  protected:
    void closeEvent(QCloseEvent* e) override {
        // The program decides whether and how a window closes.
        e->ignore();
        PlatformWindowCloseRequested(window_);
    }

    void changeEvent(QEvent* e) override {
        if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
            PlatformWindowActivatedByUser(window_);
            // The window manager puts a window it activates on top: the palettes go back above it.
            if (window_->windowClass != kFloatingWindowClass) PlatformRaiseFloatingWindows();
        }
        QWidget::changeEvent(e);
    }

    void resizeEvent(QResizeEvent*) override {
        LayOut();
        SyncFromQt();
    }

    void moveEvent(QMoveEvent*) override { SyncFromQt(); }

  private:
    void LayOut() {
        int mb = MenuBarHeight();
        if (menuBar_) menuBar_->setGeometry(0, 0, width(), mb);
        view_->setGeometry(0, mb, width(), height() - mb);
    }

    // A move or resize by the window manager or the user becomes the window's new bounds.
    void SyncFromQt() {
        if (applying_ || !isVisible()) return;
        QPoint origin = view_->mapToGlobal(QPoint(0, 0));
        Rect b{SInt16(origin.y()), SInt16(origin.x()), SInt16(origin.y() + view_->height()),
               SInt16(origin.x() + view_->width())};
        if (!EqualRect(&b, &window_->bounds)) PlatformWindowBoundsChangedByUser(window_, b);
    }

    WindowRef window_;
    PortView* view_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    int applying_ = 0;
};

WindowHost* HostCreate(WindowRef window) {
    return new WindowHost(window);
}

void HostDestroy(WindowHost* host) {
    if (!host) return;
    host->hide();
    delete host;
}

void HostSetVisible(WindowHost* host, bool visible) {
    if (!host) return;
    // Said again before every mapping: the window manager drops the state when the window is hidden.
    const bool floating = host->window()->windowClass == kFloatingWindowClass;
    const bool mapping = visible && !host->isVisible();
    if (mapping && floating) KeepOutOfTaskbar(host, false);
    host->setVisible(visible);
    if (mapping && floating) KeepOutOfTaskbar(host, true);
    if (visible) host->SetContentGeometry(host->window()->bounds);
}

void HostKeepAbove(WindowHost* host, WindowHost* parent) {
    if (!host || PlatformIsOffscreen()) return;
    QWindow* parentWindow = nullptr;
    if (parent) {
        parent->winId();
        parentWindow = parent->windowHandle();
    }
    host->winId();
    if (QWindow* window = host->windowHandle(); window && window->transientParent() != parentWindow) {
        window->setTransientParent(parentWindow);
        // The window manager reads the transient parent when the window is mapped.
        if (host->isVisible()) {
            host->hide();
            KeepOutOfTaskbar(host, false);
            host->show();
            KeepOutOfTaskbar(host, true);
            host->SetContentGeometry(host->window()->bounds);
        }
    }
}

void HostSetContentGeometry(WindowHost* host, const Rect& globalBounds) {
    if (host) host->SetContentGeometry(globalBounds);
}

void HostRaise(WindowHost* host, bool activate) {
    if (!host || !host->isVisible() || PlatformIsOffscreen()) return;
    host->raise();
    if (activate) host->activateWindow();
}

void HostSetTitle(WindowHost* host, const QString& title, bool modified) {
    if (!host) return;
    QString t = title;
    t.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    host->setWindowTitle(t + QStringLiteral("[*]"));
    host->setWindowModified(modified);
}

void HostUpdate(WindowHost* host, const Rect* local) {
    if (!host) return;
    if (local)
        host->view()->update(
            QRect(local->left, local->top, local->right - local->left, local->bottom - local->top));
    else
        host->view()->update();
}

void HostSetSizeLimits(WindowHost* host, Point minSize, Point maxSize) {
    if (!host) return;
    int mb = host->MenuBarHeight();
    host->setMinimumSize(minSize.h, minSize.v + mb);
    host->setMaximumSize(maxSize.h, std::min(32767, maxSize.v + mb));
}

Rect HostFrameExtents(WindowClass preferred) {
    // Measured on a window the window manager has framed, one of the preferred class when there is;
    // before any window was framed, a common title bar and border.
    Rect extents{0, 0, 0, 0};
    bool framed = false;
    for (WindowRef w : PlatformWindowList()) {
        WindowHost* host = w->host;
        if (!host || !host->isVisible() || (framed && w->windowClass != preferred)) continue;
        QRect frame = host->frameGeometry(), inner = host->geometry();
        if (frame == inner) continue;
        extents = Rect{SInt16(inner.top() - frame.top()), SInt16(inner.left() - frame.left()),
                       SInt16(frame.bottom() - inner.bottom()), SInt16(frame.right() - inner.right())};
        framed = true;
        if (w->windowClass == preferred) break;
    }
    if (!framed && !PlatformIsOffscreen()) extents = Rect{30, 2, 2, 2};
    return extents;
}

Rect HostDecorationExtents() {
    // The menu bar every document window carries sits between the frame and the content.
    int menuBar = 0;
    for (WindowRef w : PlatformWindowList())
        if (w->host && w->host->isVisible() && w->windowClass == kDocumentWindowClass && w->host->menuBar())
            menuBar = std::max(menuBar, w->host->MenuBarHeight());
    if (menuBar == 0) menuBar = QMenuBar().sizeHint().height();
    Rect extents = HostFrameExtents(kDocumentWindowClass);
    extents.top = SInt16(extents.top + menuBar);
    return extents;
}

QWidget* HostContent(WindowHost* host) {
    return host ? host->view() : nullptr;
}

QWidget* HostTopLevel(WindowHost* host) {
    return host;
}

void HostSetMenuBar(WindowHost* host, QMenuBar* menuBar) {
    if (host) host->SetMenuBar(menuBar);
}

QMenuBar* HostMenuBar(WindowHost* host) {
    return host ? host->menuBar() : nullptr;
}

WindowRef PlatformWindowFromWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    auto* host = dynamic_cast<const WindowHost*>(widget->window());
    return host && PlatformWindowExists(host->window()) ? host->window() : nullptr;
}

Rect PlatformWindowMenuBarBounds(WindowRef window) {
    Rect r{0, 0, 0, 0};
    if (!PlatformWindowExists(window) || !window->host || !window->host->menuBar()) return r;
    int mb = window->host->MenuBarHeight();
    r = window->bounds;
    r.bottom = r.top;
    r.top = SInt16(r.top - mb);
    return r;
}

void PlatformSetNativeInput(QWidget* widget, bool native) {
    if (widget) widget->setProperty("draftwerkNativeInput", native);
}

bool PlatformIsNativeInput(const QWidget* widget) {
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (w->property("draftwerkNativeInput").toBool()) return true;
    return false;
}
