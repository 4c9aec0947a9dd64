// Controls: a record per control with its Mac state (value, limits, hilite, title, reference) and a
// Qt widget that shows it. Widgets take no mouse input of their own: clicks reach the window as
// events, and TrackControl follows the mouse through the polling calls, as the Mac did.
#include "Platform/Controls.h"

#include "Platform/AppResources.h"
#include "Platform/ControlsInternal.h"
#include "Platform/Events.h"
#include "Platform/MacRoman.h"
#include "Platform/PascalBytes.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/WindowFit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

struct OpaqueControlRef {
    WindowRef window = nullptr;
    OpaqueDialogPtr* dialog = nullptr;
    SInt16 procId = 0;
    Rect bounds{};
    SInt32 value = 0, minimum = 0, maximum = 0, viewSize = 0;
    UInt16 hilite = 0;
    bool visible = true;
    bool indeterminate = false;
    bool defaultButton = false;
    std::string title;    // Mac Roman; the text of static and edit texts
    std::string utf8Text; // static and edit texts
    SInt32 refCon = 0;
    ControlActionProcPtr action = nullptr;
    MenuRef menu = nullptr;
    bool ownsMenu = false;
    SInt16 titleWidth = 0;
    bool imageIsPicture = false;
    SInt16 imageId = 0;
    ControlFontStyleRec font{};
    QPointer<QWidget> widget;
    bool focusLost = false;         // the widget had the window's focus when it was disabled
    QPointer<QWidget> focusTakenBy; // and where Qt put the focus then
    int selStart = 0, selEnd = 0;   // an edit text's selection, as the program or the user left it
};

namespace {

std::map<WindowRef, std::vector<ControlRef>> gControls;

QString FromMac(const std::string& s) {
    return QString::fromStdString(MacRomanToUTF8(s));
}

QRect QtRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool IsButtonLike(const OpaqueControlRef* c) {
    return c->procId == pushButProc || c->procId == checkBoxProc || c->procId == radioButProc;
}

SInt32 Clamp(const OpaqueControlRef* c, SInt32 v) {
    return std::clamp(v, c->minimum, std::max(c->minimum, c->maximum));
}

} // namespace

void ReadEditTextFromWidget(ControlRef c);

// --- Widgets ------------------------------------------------------------------------------------------

namespace {

// An edit text's selection belongs to the control: Qt may drop the widget's while its window is
// inactive (a window manager passing the activation back and forth as a dialog comes up), and the
// first keys typed must still replace what the program selected.
void RememberSelection(ControlRef c, const QLineEdit* e) {
    if (e->hasSelectedText()) {
        c->selStart = e->selectionStart();
        c->selEnd = e->selectionEnd();
    } else {
        c->selStart = c->selEnd = e->cursorPosition();
    }
}

void RestoreSelection(const OpaqueControlRef* c, QLineEdit* e) {
    int length = e->text().size();
    int s = std::clamp(c->selStart, 0, length), f = std::clamp(c->selEnd, 0, length);
    bool same = s == f ? !e->hasSelectedText() && e->cursorPosition() == s
                       : e->selectionStart() == s && e->selectionEnd() == f;
    if (same) return;
    if (s == f)
        e->setCursorPosition(s);
    else
        e->setSelection(s, f - s);
}

class EditTextWidget : public QLineEdit {
  public:
    EditTextWidget(const OpaqueControlRef* control, QWidget* parent) : QLineEdit(parent), control_(control) {}

  protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        RestoreSelection(control_, this);
    }

  private:
    const OpaqueControlRef* control_;
};

// Qt hands the focus of a widget it disables to the next one in the window and never gives it back. A
// control deactivated for a moment, as while its text is set, takes the focus back on its activation
// unless the focus has moved on since.
void SetWidgetEnabled(ControlRef c, bool enabled) {
    QWidget* w = c->widget;
    QWidget* window = w->window();
    bool focused = window->focusWidget() == w;
    w->setEnabled(enabled);
    if (!enabled) {
        if (focused) {
            c->focusLost = true;
            c->focusTakenBy = window->focusWidget();
        }
        return;
    }
    if (c->focusLost && window->focusWidget() == c->focusTakenBy.data()) w->setFocus(Qt::OtherFocusReason);
    c->focusLost = false;
    c->focusTakenBy = nullptr;
}

} // namespace

void SyncControlWidget(ControlRef c) {
    QWidget* w = c->widget;
    if (!w) return;
    w->setGeometry(QtRect(c->bounds));
    w->setVisible(c->visible);
    SetWidgetEnabled(c, c->hilite != kControlInactivePart);
    QString title = FromMac(c->title);
    switch (c->procId) {
    case pushButProc: {
        auto* b = static_cast<QPushButton*>(w);
        b->setText(QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")));
        b->setDown(c->hilite != 0 && c->hilite != kControlInactivePart);
        b->setDefault(c->defaultButton);
        break;
    }
    case checkBoxProc: {
        auto* b = static_cast<QCheckBox*>(w);
        b->setText(QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")));
        b->setCheckState(c->value == 0 ? Qt::Unchecked : c->value == 1 ? Qt::Checked : Qt::PartiallyChecked);
        b->setDown(c->hilite != 0 && c->hilite != kControlInactivePart);
        break;
    }
    case radioButProc: {
        auto* b = static_cast<QRadioButton*>(w);
        b->setText(QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")));
        b->setChecked(c->value != 0);
        b->setDown(c->hilite != 0 && c->hilite != kControlInactivePart);
        break;
    }
    case popupMenuProc: {
        auto* combo = w->findChild<QComboBox*>();
        auto* label = w->findChild<QLabel*>();
        int titleWidth = c->titleWidth > 0 ? c->titleWidth : 0;
        if (label) {
            label->setText(title);
            label->setGeometry(0, 0, titleWidth, c->bounds.bottom - c->bounds.top);
            label->setVisible(titleWidth > 0 && !title.isEmpty());
        }
        if (combo) {
            combo->setGeometry(titleWidth, 0, c->bounds.right - c->bounds.left - titleWidth,
                               c->bounds.bottom - c->bounds.top);
            combo->clear();
            if (c->menu) {
                for (SInt16 i = 1; i <= CountMenuItems(c->menu); ++i) {
                    Str255 text;
                    GetMenuItemText(c->menu, i, text);
                    combo->addItem(FromMac(PStrBytes(text)));
                }
            }
            combo->setCurrentIndex(c->value - 1);
        }
        break;
    }
    case scrollBarProc: {
        auto* s = static_cast<QScrollBar*>(w);
        s->setRange(c->minimum, std::max(c->minimum, c->maximum));
        s->setPageStep(c->viewSize > 0 ? c->viewSize : 10);
        s->setValue(c->value);
        break;
    }
    case kControlProgressBarProc: {
        auto* p = static_cast<QProgressBar*>(w);
        if (c->indeterminate)
            p->setRange(0, 0);
        else
            p->setRange(c->minimum, std::max(c->minimum, c->maximum));
        if (!c->indeterminate) p->setValue(c->value);
        break;
    }
    case kControlStaticTextProc:
        static_cast<QLabel*>(w)->setText(QString::fromStdString(DisplayedStaticText(c)));
        break;
    case kControlEditTextProc: {
        auto* e = static_cast<QLineEdit*>(w);
        QString text = QString::fromStdString(c->utf8Text);
        if (e->text() != text) {
            e->setText(text);
            RememberSelection(c, e);
        }
        break;
    }
    default:
        break;
    }
    if (c->font.flags) {
        QFont f = w->font();
        if ((c->font.flags & 2) && c->font.size > 0) f.setPointSize(c->font.size);
        if (c->font.flags & 4) {
            f.setBold(c->font.style & 1);
            f.setItalic(c->font.style & 2);
        }
        w->setFont(f);
    }
}

namespace {

void MakeWidget(ControlRef c) {
    QWidget* parent = PlatformWindowContentWidget(c->window);
    if (!parent) return;
    QWidget* w = nullptr;
    switch (c->procId) {
    case pushButProc:
        w = new QPushButton(parent);
        break;
    case checkBoxProc:
        w = new QCheckBox(parent);
        break;
    case radioButProc: {
        auto* r = new QRadioButton(parent);
        r->setAutoExclusive(false);
        w = r;
        break;
    }
    case popupMenuProc: {
        w = new QWidget(parent);
        auto* label = new QLabel(w);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* combo = new QComboBox(w);
        combo->setFocusPolicy(Qt::NoFocus);
        break;
    }
    case scrollBarProc: {
        bool horizontal = c->bounds.right - c->bounds.left > c->bounds.bottom - c->bounds.top;
        w = new QScrollBar(horizontal ? Qt::Horizontal : Qt::Vertical, parent);
        break;
    }
    case kControlProgressBarProc: {
        auto* p = new QProgressBar(parent);
        p->setTextVisible(false);
        w = p;
        break;
    }
    case kControlSeparatorLineProc: {
        auto* f = new QFrame(parent);
        f->setFrameShape(c->bounds.right - c->bounds.left >= c->bounds.bottom - c->bounds.top
                             ? QFrame::HLine
                             : QFrame::VLine);
        f->setFrameShadow(QFrame::Sunken);
        w = f;
        break;
    }
    case kControlStaticTextProc: {
        auto* l = new QLabel(parent);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setTextFormat(Qt::PlainText);
        w = l;
        break;
    }
    case kControlEditTextProc: {
        auto* e = new EditTextWidget(c, parent);
        e->setFrame(true);
        w = e;
        break;
    }
    case kControlImageProc: {
        auto* l = new QLabel(parent);
        l->setAlignment(Qt::AlignCenter);
        w = l;
        break;
    }
    default:
        return; // user panes draw into the port
    }
    // Clicks and keys reach the window as events; only an edit text takes the keyboard focus, for its
    // caret.
    w->setFocusPolicy(c->procId == kControlEditTextProc ? Qt::ClickFocus : Qt::NoFocus);
    c->widget = w;
    SyncControlWidget(c);
}

// Controls go with their window, however it is disposed.
void WindowChanged(WindowRef window, WindowChange change) {
    if (change == WindowChange::disposing) KillControls(window);
}

ControlRef Create(WindowRef window, const Rect* bounds, ConstStr255Param title, Boolean visible, SInt32 value,
                  SInt32 minimum, SInt32 maximum, SInt16 procId, SInt32 refCon) {
    if (!window || !bounds) return nullptr;
    static bool observing = false;
    if (!observing) {
        PlatformAddWindowObserver(WindowChanged);
        observing = true;
    }
    auto* c = new OpaqueControlRef;
    c->window = window;
    c->procId = procId;
    c->bounds = *bounds;
    c->title = PStrBytes(title);
    c->visible = visible;
    c->minimum = minimum;
    c->maximum = maximum;
    c->value = value;
    c->refCon = refCon;
    gControls[window].push_back(c);
    return c;
}

ControlPartCode ButtonPart(const OpaqueControlRef* c) {
    switch (c->procId) {
    case pushButProc:
        return kControlButtonPart;
    case checkBoxProc:
    case radioButProc:
        return kControlCheckBoxPart;
    case popupMenuProc:
        return kControlMenuPart;
    case kControlEditTextProc:
        return kControlEditTextPart;
    default:
        return kControlLabelPart;
    }
}

bool Inside(const Rect& r, Point p) {
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

ControlPartCode ScrollBarPart(ControlRef c, Point p) {
    auto* s = qobject_cast<QScrollBar*>(c->widget.data());
    if (!s) return kControlNoPart;
    QStyleOptionSlider option;
    option.initFrom(s);
    option.orientation = s->orientation();
    option.minimum = s->minimum();
    option.maximum = s->maximum();
    option.sliderPosition = s->sliderPosition();
    option.sliderValue = s->value();
    option.singleStep = s->singleStep();
    option.pageStep = s->pageStep();
    option.upsideDown = false;
    option.subControls = QStyle::SC_All;
    QPoint local(p.h - c->bounds.left, p.v - c->bounds.top);
    switch (s->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, local, s)) {
    case QStyle::SC_ScrollBarSubLine:
        return kControlUpButtonPart;
    case QStyle::SC_ScrollBarAddLine:
        return kControlDownButtonPart;
    case QStyle::SC_ScrollBarSubPage:
        return kControlPageUpPart;
    case QStyle::SC_ScrollBarAddPage:
        return kControlPageDownPart;
    case QStyle::SC_ScrollBarSlider:
        return kControlIndicatorPart;
    default:
        return kControlNoPart;
    }
}

// The thumb follows the mouse: the value from the mouse's place along the bar.
void TrackThumb(ControlRef c, Point start, ControlActionProcPtr action) {
    auto* s = qobject_cast<QScrollBar*>(c->widget.data());
    if (!s) return;
    bool horizontal = s->orientation() == Qt::Horizontal;
    SInt32 startValue = c->value;
    int length = horizontal ? c->bounds.right - c->bounds.left : c->bounds.bottom - c->bounds.top;
    int thickness = horizontal ? c->bounds.bottom - c->bounds.top : c->bounds.right - c->bounds.left;
    int travel = std::max(1, length - 3 * thickness);
    while (WaitMouseUp()) {
        Point p{};
        GetMouse(&p);
        int delta = horizontal ? p.h - start.h : p.v - start.v;
        SInt32 range = std::max(c->minimum, c->maximum) - c->minimum;
        SInt32 v = Clamp(c, startValue + static_cast<SInt32>(static_cast<double>(delta) * range / travel));
        if (v != c->value) {
            c->value = v;
            SyncControlWidget(c);
            if (action) action(c, kControlIndicatorPart);
        }
    }
}

// Arrows and pages repeat while the button is held in the part: at once, then after 16 ticks every 4.
void TrackRepeating(ControlRef c, ControlPartCode part, ControlActionProcPtr action) {
    UInt32 next = TickCount();
    bool first = true;
    do {
        Point p{};
        GetMouse(&p);
        bool inPart = ScrollBarPart(c, p) == part;
        if (inPart && TickCount() >= next) {
            HiliteControl(c, part);
            if (action) action(c, part);
            next = TickCount() + (first ? 16 : 4);
            first = false;
        } else if (!inPart && c->hilite == part) {
            HiliteControl(c, 0);
        }
    } while (WaitMouseUp());
    if (action && first) action(c, part);
    HiliteControl(c, 0);
}

} // namespace

// --- Creation ---------------------------------------------------------------------------------------

ControlRef NewControl(WindowRef window, const Rect* bounds, ConstStr255Param title, Boolean visible,
                      SInt16 value, SInt16 minimum, SInt16 maximum, SInt16 procId, SInt32 refCon) {
    ControlRef c = Create(window, bounds, title, visible, value, minimum, maximum, procId, refCon);
    if (!c) return nullptr;
    if (procId == popupMenuProc) {
        // As in the resources: the menu id in the minimum, the title width in the maximum.
        c->menu = GetMenuHandle(minimum);
        if (!c->menu) {
            c->menu = GetMenu(minimum);
            c->ownsMenu = c->menu != nullptr;
        }
        c->titleWidth = maximum;
        c->minimum = 1;
        c->maximum = c->menu ? CountMenuItems(c->menu) : 0;
        c->value = std::max<SInt32>(1, value);
    }
    MakeWidget(c);
    return c;
}

OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, ConstStr255Param title,
                                 ControlRef* out) {
    *out = NewControl(window, bounds, title, true, 0, 0, 1, pushButProc, 0);
    return *out ? noErr : paramErr;
}

OSStatus CreatePopupButtonControl(WindowRef window, const Rect* bounds, ConstStr255Param title, SInt16 menuId,
                                  Boolean, SInt16 titleWidth, SInt16, SInt16, ControlRef* out) {
    *out = NewControl(window, bounds, title, true, 1, menuId, titleWidth, popupMenuProc, 0);
    return *out ? noErr : paramErr;
}

OSStatus CreateScrollBarControl(WindowRef window, const Rect* bounds, SInt32 value, SInt32 minimum,
                                SInt32 maximum, SInt32 viewSize, Boolean, ControlActionProcPtr action,
                                ControlRef* out) {
    *out = Create(window, bounds, nullptr, true, value, minimum, maximum, scrollBarProc, 0);
    if (!*out) return paramErr;
    (*out)->viewSize = viewSize;
    (*out)->action = action;
    MakeWidget(*out);
    return noErr;
}

OSStatus CreateProgressBarControl(WindowRef window, const Rect* bounds, SInt32 value, SInt32 minimum,
                                  SInt32 maximum, Boolean indeterminate, ControlRef* out) {
    *out = Create(window, bounds, nullptr, true, value, minimum, maximum, kControlProgressBarProc, 0);
    if (!*out) return paramErr;
    (*out)->indeterminate = indeterminate;
    MakeWidget(*out);
    return noErr;
}

ControlRef NewItemControl(WindowRef window, const Rect* bounds, SInt16 procId, const std::string& title,
                          SInt32 value, SInt32 minimum, SInt32 maximum, SInt16 menuId, SInt16 titleWidth,
                          OpaqueDialogPtr* dialog) {
    ControlRef c = Create(window, bounds, nullptr, true, value, minimum, maximum, procId, 0);
    if (!c) return nullptr;
    c->title = title;
    c->dialog = dialog;
    if (procId == kControlStaticTextProc || procId == kControlEditTextProc)
        c->utf8Text = MacRomanToUTF8(title);
    if (procId == popupMenuProc) {
        c->menu = GetMenuHandle(menuId);
        if (!c->menu) {
            c->menu = GetMenu(menuId);
            c->ownsMenu = c->menu != nullptr;
        }
        c->titleWidth = titleWidth;
        c->minimum = 1;
        c->maximum = c->menu ? CountMenuItems(c->menu) : 0;
        c->value = std::clamp<SInt32>(value, 1, std::max<SInt32>(1, c->maximum));
    }
    MakeWidget(c);
    return c;
}

void DisposeControl(ControlRef control) {
    if (!control) return;
    auto& list = gControls[control->window];
    list.erase(std::remove(list.begin(), list.end(), control), list.end());
    if (list.empty()) gControls.erase(control->window);
    if (control->widget) delete control->widget.data();
    if (control->ownsMenu) DisposeMenu(control->menu);
    delete control;
}

void KillControls(WindowRef window) {
    auto it = gControls.find(window);
    if (it == gControls.end()) return;
    std::vector<ControlRef> list = it->second;
    for (ControlRef c : list)
        DisposeControl(c);
}

WindowRef GetControlOwner(ControlRef control) {
    return control ? control->window : nullptr;
}
SInt16 GetControlProcID(ControlRef control) {
    return control ? control->procId : 0;
}

// --- Values -----------------------------------------------------------------------------------------

SInt32 GetControl32BitValue(ControlRef c) {
    return c ? c->value : 0;
}

void SetControl32BitValue(ControlRef c, SInt32 value) {
    if (!c) return;
    c->value = Clamp(c, value);
    SyncControlWidget(c);
}

SInt32 GetControl32BitMinimum(ControlRef c) {
    return c ? c->minimum : 0;
}

void SetControl32BitMinimum(ControlRef c, SInt32 value) {
    if (!c) return;
    c->minimum = value;
    c->value = Clamp(c, c->value);
    SyncControlWidget(c);
}

SInt32 GetControl32BitMaximum(ControlRef c) {
    return c ? c->maximum : 0;
}

void SetControl32BitMaximum(ControlRef c, SInt32 value) {
    if (!c) return;
    c->maximum = value;
    c->value = Clamp(c, c->value);
    SyncControlWidget(c);
}

SInt16 GetControlValue(ControlRef c) {
    return static_cast<SInt16>(GetControl32BitValue(c));
}
void SetControlValue(ControlRef c, SInt16 value) {
    SetControl32BitValue(c, value);
}
SInt16 GetControlMinimum(ControlRef c) {
    return static_cast<SInt16>(GetControl32BitMinimum(c));
}
void SetControlMinimum(ControlRef c, SInt16 value) {
    SetControl32BitMinimum(c, value);
}
SInt16 GetControlMaximum(ControlRef c) {
    return static_cast<SInt16>(GetControl32BitMaximum(c));
}
void SetControlMaximum(ControlRef c, SInt16 value) {
    SetControl32BitMaximum(c, value);
}

void SetControlViewSize(ControlRef c, SInt32 viewSize) {
    if (!c) return;
    c->viewSize = viewSize;
    SyncControlWidget(c);
}

void SetControlIndeterminate(ControlRef c, Boolean indeterminate) {
    if (!c) return;
    c->indeterminate = indeterminate;
    SyncControlWidget(c);
}

// --- Hilite and activation ----------------------------------------------------------------------------

void HiliteControl(ControlRef c, ControlPartCode hilite) {
    if (!c) return;
    c->hilite = static_cast<UInt16>(static_cast<UInt8>(hilite));
    SyncControlWidget(c);
    if (QWidget* w = c->widget) w->repaint();
}

UInt16 GetControlHilite(ControlRef c) {
    return c ? c->hilite : 0;
}
Boolean IsControlActive(ControlRef c) {
    return c && c->hilite != kControlInactivePart;
}
void ActivateControl(ControlRef c) {
    HiliteControl(c, 0);
}
void DeactivateControl(ControlRef c) {
    HiliteControl(c, kControlInactivePart);
}

// --- Title, visibility, place ---------------------------------------------------------------------------

void SetControlTitle(ControlRef c, ConstStr255Param title) {
    if (!c) return;
    c->title = PStrBytes(title);
    SyncControlWidget(c);
}

void GetControlTitle(ControlRef c, Str255 title) {
    BytesToPStr(c ? c->title : "", title);
}

void ShowControl(ControlRef c) {
    SetControlVisibility(c, true, true);
}
void HideControl(ControlRef c) {
    SetControlVisibility(c, false, true);
}
Boolean IsControlVisible(ControlRef c) {
    return c && c->visible;
}

void SetControlVisibility(ControlRef c, Boolean visible, Boolean) {
    if (!c) return;
    c->visible = visible;
    SyncControlWidget(c);
}

void MoveControl(ControlRef c, SInt16 h, SInt16 v) {
    if (!c) return;
    Rect& r = c->bounds;
    r = Rect{v, h, static_cast<SInt16>(v + r.bottom - r.top), static_cast<SInt16>(h + r.right - r.left)};
    SyncControlWidget(c);
}

void SizeControl(ControlRef c, SInt16 width, SInt16 height) {
    if (!c) return;
    c->bounds.right = static_cast<SInt16>(c->bounds.left + width);
    c->bounds.bottom = static_cast<SInt16>(c->bounds.top + height);
    SyncControlWidget(c);
}

void GetControlBounds(ControlRef c, Rect* bounds) {
    *bounds = c ? c->bounds : Rect{};
}

void SetControlBounds(ControlRef c, const Rect* bounds) {
    if (!c || !bounds) return;
    c->bounds = *bounds;
    SyncControlWidget(c);
}

SInt32 GetControlReference(ControlRef c) {
    return c ? c->refCon : 0;
}

void SetControlReference(ControlRef c, SInt32 refCon) {
    if (c) c->refCon = refCon;
}

void SetControlAction(ControlRef c, ControlActionProcPtr action) {
    if (c) c->action = action;
}

void Draw1Control(ControlRef c) {
    if (c && c->widget) c->widget->update();
}

void DrawControls(WindowRef window) {
    auto it = gControls.find(window);
    if (it == gControls.end()) return;
    for (ControlRef c : it->second)
        Draw1Control(c);
}

OSErr SetControlFontStyle(ControlRef c, const ControlFontStyleRec* style) {
    if (!c || !style) return paramErr;
    c->font = *style;
    SyncControlWidget(c);
    return noErr;
}

MenuRef GetControlPopupMenuHandle(ControlRef c) {
    return c && c->procId == popupMenuProc ? c->menu : nullptr;
}

void SetControlPopupMenuHandle(ControlRef c, MenuRef menu) {
    if (!c || c->procId != popupMenuProc) return;
    if (c->ownsMenu && c->menu != menu) DisposeMenu(c->menu);
    c->menu = menu;
    c->ownsMenu = false;
    c->maximum = menu ? CountMenuItems(menu) : 0;
    SyncControlWidget(c);
}

// --- Data ---------------------------------------------------------------------------------------------

OSErr SetControlData(ControlRef c, ControlPartCode, ResType tag, Size size, const void* data) {
    if (!c || (size > 0 && !data)) return paramErr;
    bool text = c->procId == kControlStaticTextProc || c->procId == kControlEditTextProc;
    std::string bytes(static_cast<const char*>(data), static_cast<size_t>(std::max<Size>(size, 0)));
    if (tag == kControlStaticTextTextTag && text) {
        c->title = bytes;
        c->utf8Text = MacRomanToUTF8(bytes);
    } else if (tag == kControlUTF8TextTag && text) {
        c->utf8Text = bytes;
        c->title = UTF8ToMacRoman(bytes);
    } else if (tag == kControlEditTextSelectionTag && c->procId == kControlEditTextProc && size >= 4) {
        SInt16 sel[2];
        std::memcpy(sel, data, sizeof sel);
        SetEditTextSelection(c, sel[0], sel[1]);
        return noErr;
    } else if (tag == kControlPopupButtonMenuHandleTag && size == sizeof(MenuRef)) {
        MenuRef menu = nullptr;
        std::memcpy(&menu, data, sizeof menu);
        SetControlPopupMenuHandle(c, menu);
        return noErr;
    } else {
        return errDataNotSupported;
    }
    SyncControlWidget(c);
    return noErr;
}

namespace {
std::string ControlBytes(ControlRef c, ResType tag, bool* ok) {
    *ok = true;
    bool text = c->procId == kControlStaticTextProc || c->procId == kControlEditTextProc;
    if (text) ReadEditTextFromWidget(c);
    if (tag == kControlStaticTextTextTag && text) return c->title;
    if (tag == kControlUTF8TextTag && text) return c->utf8Text;
    if (tag == kControlEditTextSelectionTag && c->procId == kControlEditTextProc) {
        SInt16 sel[2] = {0, 0};
        GetEditTextSelection(c, &sel[0], &sel[1]);
        return std::string(reinterpret_cast<const char*>(sel), sizeof sel);
    }
    if (tag == kControlPopupButtonMenuHandleTag && c->procId == popupMenuProc)
        return std::string(reinterpret_cast<const char*>(&c->menu), sizeof c->menu);
    *ok = false;
    return {};
}
} // namespace

OSErr GetControlData(ControlRef c, ControlPartCode, ResType tag, Size bufferSize, void* buffer,
                     Size* actualSize) {
    if (!c) return paramErr;
    bool ok = false;
    std::string bytes = ControlBytes(c, tag, &ok);
    if (!ok) return errDataNotSupported;
    if (actualSize) *actualSize = static_cast<Size>(bytes.size());
    if (buffer && bufferSize > 0)
        std::memcpy(buffer, bytes.data(), std::min<size_t>(bytes.size(), static_cast<size_t>(bufferSize)));
    return noErr;
}

OSErr GetControlDataSize(ControlRef c, ControlPartCode part, ResType tag, Size* size) {
    return GetControlData(c, part, tag, 0, nullptr, size);
}

// --- Hit testing and tracking ---------------------------------------------------------------------------

ControlPartCode TestControl(ControlRef c, Point p) {
    if (!c || !c->visible || c->hilite == kControlInactivePart || !Inside(c->bounds, p))
        return kControlNoPart;
    if (c->procId == scrollBarProc) return ScrollBarPart(c, p);
    if (c->procId == kControlUserPaneProc) return kControlNoPart;
    return ButtonPart(c);
}

ControlPartCode FindControl(Point p, WindowRef window, ControlRef* control) {
    if (control) *control = nullptr;
    auto it = gControls.find(window);
    if (it == gControls.end()) return kControlNoPart;
    for (auto c = it->second.rbegin(); c != it->second.rend(); ++c) {
        if (!(*c)->visible || !Inside((*c)->bounds, p)) continue;
        if (control) *control = *c;
        return TestControl(*c, p);
    }
    return kControlNoPart;
}

namespace {
// The mouse is read in the control's window, whatever port is current.
class PortOfControl {
  public:
    explicit PortOfControl(ControlRef c) {
        GetPort(&saved_);
        SetPortWindowPort(c->window);
    }
    ~PortOfControl() { SetPort(saved_); }

  private:
    GrafPtr saved_ = nullptr;
};
} // namespace

ControlPartCode TrackControl(ControlRef c, Point start, ControlActionProcPtr action) {
    ControlPartCode part = TestControl(c, start);
    if (part == kControlNoPart) return kControlNoPart;
    PortOfControl port(c);
    if (action == reinterpret_cast<ControlActionProcPtr>(-1)) action = c->action;
    if (IsButtonLike(c)) {
        bool inside = true;
        HiliteControl(c, part);
        while (WaitMouseUp()) {
            Point p{};
            GetMouse(&p);
            bool now = Inside(c->bounds, p);
            if (now != inside) HiliteControl(c, now ? part : 0);
            inside = now;
            if (inside && action) action(c, part);
        }
        Point p{};
        GetMouse(&p);
        inside = Inside(c->bounds, p);
        HiliteControl(c, 0);
        return inside ? part : ControlPartCode(kControlNoPart);
    }
    if (c->procId == popupMenuProc) {
        if (!c->menu) return kControlNoPart;
        Point topLeft{static_cast<SInt16>(c->bounds.top + 1),
                      static_cast<SInt16>(c->bounds.left + 1 + c->titleWidth)};
        topLeft.h = static_cast<SInt16>(topLeft.h + c->window->bounds.left);
        topLeft.v = static_cast<SInt16>(topLeft.v + c->window->bounds.top);
        HiliteControl(c, part);
        SInt32 chosen = PopUpMenuSelect(c->menu, topLeft.v, topLeft.h, static_cast<SInt16>(c->value));
        HiliteControl(c, 0);
        if ((chosen & 0xFFFF) == 0) return kControlNoPart;
        SetControlValue(c, static_cast<SInt16>(chosen & 0xFFFF));
        return part;
    }
    if (c->procId == scrollBarProc) {
        if (part == kControlIndicatorPart)
            TrackThumb(c, start, action);
        else
            TrackRepeating(c, part, action);
        return part;
    }
    if (c->procId == kControlEditTextProc) {
        ClickEditText(c, start);
        return part;
    }
    while (WaitMouseUp()) {
    }
    return part;
}

ControlPartCode HandleControlClick(ControlRef c, Point p, UInt16, ControlActionProcPtr action) {
    return TrackControl(c, p, action);
}

Boolean ControlTextFits(ControlRef c) {
    if (!c || !c->widget) return true;
    QWidget* w = c->widget.data();
    const int width = c->bounds.right - c->bounds.left, height = c->bounds.bottom - c->bounds.top;
    if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) {
        if (label->text().isEmpty()) return true;
        return label->heightForWidth(width) <= height;
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QPushButton*>(w))
        return w->sizeHint().width() <= width;
    return true;
}

const std::vector<ControlRef>* WindowControls(WindowRef window) {
    auto it = gControls.find(window);
    return it == gControls.end() ? nullptr : &it->second;
}

// --- Dialog items: images, default buttons, edit texts ---------------------------------------------------

void SetControlImage(ControlRef c, bool picture, SInt16 id) {
    if (!c) return;
    c->imageIsPicture = picture;
    c->imageId = id;
    auto* label = qobject_cast<QLabel*>(c->widget.data());
    if (!label) return;
    QSize size(c->bounds.right - c->bounds.left, c->bounds.bottom - c->bounds.top);
    QPixmap pixmap;
    if (picture) {
        pixmap.load(QString::fromStdString(AppResourceFolder() + "/pict_" + std::to_string(id) + ".png"));
    } else if (id >= 0 && id <= 2) {
        static const QStyle::StandardPixmap kIcons[] = {
            QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning};
        pixmap = label->style()->standardIcon(kIcons[id]).pixmap(size);
    } else if (const ColorImageDesc* icon = FindColorIconResource(id)) {
        pixmap.load(QString::fromStdString(icon->path));
    }
    if (!pixmap.isNull())
        label->setPixmap(pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void SetControlDefaultButton(ControlRef c, bool isDefault) {
    if (!c) return;
    c->defaultButton = isDefault;
    SyncControlWidget(c);
}

OpaqueDialogPtr* GetControlDialog(ControlRef c) {
    return c ? c->dialog : nullptr;
}
QWidget* GetControlWidget(ControlRef c) {
    return c ? c->widget.data() : nullptr;
}

namespace {

QLineEdit* EditOf(ControlRef c) {
    return c && c->procId == kControlEditTextProc ? qobject_cast<QLineEdit*>(c->widget.data()) : nullptr;
}

// A queued event applied to the widget itself, straight to its handler: no filter turns it into an event
// again and an unused key does not travel on to the window.
void Replay(QWidget* target, QEvent* event) {
    static_cast<QObject*>(target)->event(event);
}

Qt::KeyboardModifiers QtModifiers(UInt16 modifiers) {
    Qt::KeyboardModifiers m;
    if (modifiers & cmdKey) m |= Qt::ControlModifier;
    if (modifiers & shiftKey) m |= Qt::ShiftModifier;
    if (modifiers & optionKey) m |= Qt::AltModifier;
    if (modifiers & controlKey) m |= Qt::MetaModifier;
    return m;
}

int QtKey(unsigned char ch, QString* text) {
    switch (ch) {
    case 8:
        return Qt::Key_Backspace;
    case 127:
        return Qt::Key_Delete;
    case 28:
        return Qt::Key_Left;
    case 29:
        return Qt::Key_Right;
    case 30:
        return Qt::Key_Up;
    case 31:
        return Qt::Key_Down;
    case 1:
        return Qt::Key_Home;
    case 4:
        return Qt::Key_End;
    case 11:
        return Qt::Key_PageUp;
    case 12:
        return Qt::Key_PageDown;
    case 13:
        return Qt::Key_Return;
    case 3:
        return Qt::Key_Enter;
    case 9:
        return Qt::Key_Tab;
    case 27:
        return Qt::Key_Escape;
    default:
        break;
    }
    QChar c(MacRomanToUnicode(ch));
    *text = QString(c);
    QChar upper = c.toUpper();
    return upper.unicode() < 0x80 ? int(upper.unicode()) : int(Qt::Key_unknown);
}

} // namespace

void ReadEditTextFromWidget(ControlRef c) {
    if (QLineEdit* e = EditOf(c)) {
        c->utf8Text = e->text().toStdString();
        c->title = UTF8ToMacRoman(c->utf8Text);
    }
}

void FocusEditText(ControlRef c, bool focus) {
    QLineEdit* e = EditOf(c);
    if (!e) return;
    if (focus)
        e->setFocus(Qt::OtherFocusReason);
    else if (QWidget* content = PlatformWindowContentWidget(c->window))
        content->setFocus(Qt::OtherFocusReason);
}

void SetEditTextSelection(ControlRef c, SInt16 start, SInt16 end) {
    QLineEdit* e = EditOf(c);
    if (!e) return;
    int length = e->text().size();
    int s = std::clamp<int>(start, 0, length), f = std::clamp<int>(end, 0, length);
    if (f < s) std::swap(s, f);
    c->selStart = s;
    c->selEnd = f;
    RestoreSelection(c, e);
}

void GetEditTextSelection(ControlRef c, SInt16* start, SInt16* end) {
    *start = *end = 0;
    QLineEdit* e = EditOf(c);
    if (!e) return;
    int length = e->text().size();
    *start = static_cast<SInt16>(std::clamp(c->selStart, 0, length));
    *end = static_cast<SInt16>(std::clamp(c->selEnd, 0, length));
}

void ReplayClick(QWidget* widget, WindowRef window, const Rect& bounds, Point local) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    auto at = [&](Point p) { return QPointF(p.h - bounds.left, p.v - bounds.top); };
    QMouseEvent press(QEvent::MouseButtonPress, at(local), widget->mapToGlobal(at(local)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    Replay(widget, &press);
    Point p = local;
    while (WaitMouseUp()) {
        Point now{};
        GetMouse(&now);
        if (now.h == p.h && now.v == p.v) continue;
        p = now;
        QMouseEvent move(QEvent::MouseMove, at(p), widget->mapToGlobal(at(p)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        Replay(widget, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, at(p), widget->mapToGlobal(at(p)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    Replay(widget, &release);
    SetPort(saved);
}

void ReplayKey(QWidget* widget, const EventRecord* event) {
    QString text;
    int key = QtKey(static_cast<unsigned char>(event->message & charCodeMask), &text);
    Qt::KeyboardModifiers modifiers = QtModifiers(event->modifiers);
    if (modifiers & (Qt::ControlModifier | Qt::MetaModifier)) text.clear();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text, event->what == autoKey);
    Replay(widget, &press);
}

void ClickEditText(ControlRef c, Point local) {
    QLineEdit* e = EditOf(c);
    if (!e) return;
    FocusEditText(c, true);
    ReplayClick(e, c->window, c->bounds, local);
    RememberSelection(c, e);
    ReadEditTextFromWidget(c);
}

void KeyToEditText(ControlRef c, const EventRecord* event) {
    QLineEdit* e = EditOf(c);
    if (!e) return;
    RestoreSelection(c, e);
    ReplayKey(e, event);
    RememberSelection(c, e);
    ReadEditTextFromWidget(c);
}
