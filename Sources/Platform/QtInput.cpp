// The one place where Qt mouse, wheel and key input becomes events: an application-wide filter that
// takes the input aimed at our windows' contents (not at menus, native dialogs or widgets marked
// native), translates keys to virtual key codes, character codes and modifier bits, and records it.
#include "Platform/PlatformWindowInternal.h"
#include "Platform/SimulatedInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace {

struct KeyRow {
    int qtKey;
    UInt8 keyCode;
    UInt8 charCode; // 0: the character comes from the key's text
};

// Keys that type no letter, and the function keys.
const KeyRow kSpecialKeys[] = {
    {Qt::Key_Return, kKeyCodeReturn, kReturnCharCode},
    {Qt::Key_Enter, kKeyCodeKeypadEnter, kEnterCharCode},
    {Qt::Key_Escape, kKeyCodeEscape, kEscapeCharCode},
    {Qt::Key_Backspace, kKeyCodeDelete, kBackspaceCharCode},
    {Qt::Key_Delete, kKeyCodeForwardDelete, kDeleteCharCode},
    {Qt::Key_Tab, kKeyCodeTab, kTabCharCode},
    {Qt::Key_Backtab, kKeyCodeTab, kTabCharCode},
    {Qt::Key_Space, kKeyCodeSpace, kSpaceCharCode},
    {Qt::Key_Left, kKeyCodeLeftArrow, kLeftArrowCharCode},
    {Qt::Key_Right, kKeyCodeRightArrow, kRightArrowCharCode},
    {Qt::Key_Up, kKeyCodeUpArrow, kUpArrowCharCode},
    {Qt::Key_Down, kKeyCodeDownArrow, kDownArrowCharCode},
    {Qt::Key_Home, kKeyCodeHome, kHomeCharCode},
    {Qt::Key_End, kKeyCodeEnd, kEndCharCode},
    {Qt::Key_PageUp, kKeyCodePageUp, kPageUpCharCode},
    {Qt::Key_PageDown, kKeyCodePageDown, kPageDownCharCode},
    {Qt::Key_Help, kKeyCodeHelp, kHelpCharCode},
    {Qt::Key_Insert, kKeyCodeHelp, kHelpCharCode},
    {Qt::Key_Clear, kKeyCodeKeypadClear, kClearCharCode},
    {Qt::Key_F1, kKeyCodeF1, kFunctionKeyCharCode},
    {Qt::Key_F2, kKeyCodeF2, kFunctionKeyCharCode},
    {Qt::Key_F3, kKeyCodeF3, kFunctionKeyCharCode},
    {Qt::Key_F4, kKeyCodeF4, kFunctionKeyCharCode},
    {Qt::Key_F5, kKeyCodeF5, kFunctionKeyCharCode},
    {Qt::Key_F6, kKeyCodeF6, kFunctionKeyCharCode},
    {Qt::Key_F7, kKeyCodeF7, kFunctionKeyCharCode},
    {Qt::Key_F8, kKeyCodeF8, kFunctionKeyCharCode},
    {Qt::Key_F9, kKeyCodeF9, kFunctionKeyCharCode},
    {Qt::Key_F10, kKeyCodeF10, kFunctionKeyCharCode},
    {Qt::Key_F11, kKeyCodeF11, kFunctionKeyCharCode},
    {Qt::Key_F12, kKeyCodeF12, kFunctionKeyCharCode},
    {Qt::Key_F13, kKeyCodeF13, kFunctionKeyCharCode},
    {Qt::Key_F14, kKeyCodeF14, kFunctionKeyCharCode},
    {Qt::Key_F15, kKeyCodeF15, kFunctionKeyCharCode},
    {Qt::Key_F16, kKeyCodeF16, kFunctionKeyCharCode},
    {Qt::Key_F17, kKeyCodeF17, kFunctionKeyCharCode},
    {Qt::Key_F18, kKeyCodeF18, kFunctionKeyCharCode},
    {Qt::Key_F19, kKeyCodeF19, kFunctionKeyCharCode},
    {Qt::Key_F20, kKeyCodeF20, kFunctionKeyCharCode},
};

// Letters, digits and punctuation by the position of their unshifted key.
const KeyRow kTypingKeys[] = {
    {Qt::Key_A, kKeyCodeA, 0},
    {Qt::Key_B, kKeyCodeB, 0},
    {Qt::Key_C, kKeyCodeC, 0},
    {Qt::Key_D, kKeyCodeD, 0},
    {Qt::Key_E, kKeyCodeE, 0},
    {Qt::Key_F, kKeyCodeF, 0},
    {Qt::Key_G, kKeyCodeG, 0},
    {Qt::Key_H, kKeyCodeH, 0},
    {Qt::Key_I, kKeyCodeI, 0},
    {Qt::Key_J, kKeyCodeJ, 0},
    {Qt::Key_K, kKeyCodeK, 0},
    {Qt::Key_L, kKeyCodeL, 0},
    {Qt::Key_M, kKeyCodeM, 0},
    {Qt::Key_N, kKeyCodeN, 0},
    {Qt::Key_O, kKeyCodeO, 0},
    {Qt::Key_P, kKeyCodeP, 0},
    {Qt::Key_Q, kKeyCodeQ, 0},
    {Qt::Key_R, kKeyCodeR, 0},
    {Qt::Key_S, kKeyCodeS, 0},
    {Qt::Key_T, kKeyCodeT, 0},
    {Qt::Key_U, kKeyCodeU, 0},
    {Qt::Key_V, kKeyCodeV, 0},
    {Qt::Key_W, kKeyCodeW, 0},
    {Qt::Key_X, kKeyCodeX, 0},
    {Qt::Key_Y, kKeyCodeY, 0},
    {Qt::Key_Z, kKeyCodeZ, 0},
    {Qt::Key_0, kKeyCode0, 0},
    {Qt::Key_1, kKeyCode1, 0},
    {Qt::Key_2, kKeyCode2, 0},
    {Qt::Key_3, kKeyCode3, 0},
    {Qt::Key_4, kKeyCode4, 0},
    {Qt::Key_5, kKeyCode5, 0},
    {Qt::Key_6, kKeyCode6, 0},
    {Qt::Key_7, kKeyCode7, 0},
    {Qt::Key_8, kKeyCode8, 0},
    {Qt::Key_9, kKeyCode9, 0},
    {Qt::Key_Exclam, kKeyCode1, 0},
    {Qt::Key_At, kKeyCode2, 0},
    {Qt::Key_NumberSign, kKeyCode3, 0},
    {Qt::Key_Dollar, kKeyCode4, 0},
    {Qt::Key_Percent, kKeyCode5, 0},
    {Qt::Key_AsciiCircum, kKeyCode6, 0},
    {Qt::Key_Ampersand, kKeyCode7, 0},
    {Qt::Key_Asterisk, kKeyCode8, 0},
    {Qt::Key_ParenLeft, kKeyCode9, 0},
    {Qt::Key_ParenRight, kKeyCode0, 0},
    {Qt::Key_Minus, kKeyCodeMinus, 0},
    {Qt::Key_Underscore, kKeyCodeMinus, 0},
    {Qt::Key_Equal, kKeyCodeEqual, 0},
    {Qt::Key_Plus, kKeyCodeEqual, 0},
    {Qt::Key_BracketLeft, kKeyCodeLeftBracket, 0},
    {Qt::Key_BraceLeft, kKeyCodeLeftBracket, 0},
    {Qt::Key_BracketRight, kKeyCodeRightBracket, 0},
    {Qt::Key_BraceRight, kKeyCodeRightBracket, 0},
    {Qt::Key_Semicolon, kKeyCodeSemicolon, 0},
    {Qt::Key_Colon, kKeyCodeSemicolon, 0},
    {Qt::Key_Apostrophe, kKeyCodeQuote, 0},
    {Qt::Key_QuoteDbl, kKeyCodeQuote, 0},
    {Qt::Key_Backslash, kKeyCodeBackslash, 0},
    {Qt::Key_Bar, kKeyCodeBackslash, 0},
    {Qt::Key_Comma, kKeyCodeComma, 0},
    {Qt::Key_Less, kKeyCodeComma, 0},
    {Qt::Key_Period, kKeyCodePeriod, 0},
    {Qt::Key_Greater, kKeyCodePeriod, 0},
    {Qt::Key_Slash, kKeyCodeSlash, 0},
    {Qt::Key_Question, kKeyCodeSlash, 0},
    {Qt::Key_QuoteLeft, kKeyCodeGrave, 0},
    {Qt::Key_AsciiTilde, kKeyCodeGrave, 0},
};

const KeyRow kKeypadKeys[] = {
    {Qt::Key_0, kKeyCodeKeypad0, '0'},
    {Qt::Key_1, kKeyCodeKeypad1, '1'},
    {Qt::Key_2, kKeyCodeKeypad2, '2'},
    {Qt::Key_3, kKeyCodeKeypad3, '3'},
    {Qt::Key_4, kKeyCodeKeypad4, '4'},
    {Qt::Key_5, kKeyCodeKeypad5, '5'},
    {Qt::Key_6, kKeyCodeKeypad6, '6'},
    {Qt::Key_7, kKeyCodeKeypad7, '7'},
    {Qt::Key_8, kKeyCodeKeypad8, '8'},
    {Qt::Key_9, kKeyCodeKeypad9, '9'},
    {Qt::Key_Period, kKeyCodeKeypadDecimal, '.'},
    {Qt::Key_Comma, kKeyCodeKeypadDecimal, '.'},
    {Qt::Key_Asterisk, kKeyCodeKeypadMultiply, '*'},
    {Qt::Key_Plus, kKeyCodeKeypadPlus, '+'},
    {Qt::Key_Minus, kKeyCodeKeypadMinus, '-'},
    {Qt::Key_Slash, kKeyCodeKeypadDivide, '/'},
    {Qt::Key_Equal, kKeyCodeKeypadEquals, '='},
    {Qt::Key_Enter, kKeyCodeKeypadEnter, kEnterCharCode},
};

// The key that stands for an unlisted character (an accented letter of another layout).
constexpr UInt8 kOtherKeyCode = 0x0A;

const KeyRow* FindRow(const KeyRow* rows, size_t count, int qtKey) {
    for (size_t i = 0; i < count; ++i)
        if (rows[i].qtKey == qtKey) return &rows[i];
    return nullptr;
}

bool gCapsLock = false;

UInt16 MacModifiers(Qt::KeyboardModifiers m) {
    UInt16 r = 0;
    if (m & Qt::ShiftModifier) r |= shiftKey;
    if (m & Qt::ControlModifier) r |= cmdKey;
    if (m & Qt::AltModifier) r |= optionKey;
    if (m & Qt::MetaModifier) r |= controlKey;
    if (gCapsLock) r |= alphaLock;
    return r;
}

UInt16 ModifierBitOfKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Shift:
        return shiftKey;
    case Qt::Key_Control:
        return cmdKey;
    case Qt::Key_Alt:
        return optionKey;
    case Qt::Key_Meta:
        return controlKey;
    default:
        return 0;
    }
}

UInt8 MacRomanOf(QChar c) {
    std::string s = PlatformMacRomanFromString(QString(c));
    return s.empty() ? UInt8('?') : UInt8(s[0]);
}

// Virtual key code and character code of a Qt key. Command (Ctrl) keeps the plain character, as menu
// keys need it; Control (Meta) gives the control character of a letter.
bool TranslateKey(int qtKey, Qt::KeyboardModifiers mods, const QString& text, UInt8* keyCode,
                  UInt8* charCode) {
    if (mods & Qt::KeypadModifier) {
        if (const KeyRow* r = FindRow(kKeypadKeys, std::size(kKeypadKeys), qtKey)) {
            *keyCode = r->keyCode;
            *charCode = r->charCode;
            return true;
        }
    }
    if (const KeyRow* r = FindRow(kSpecialKeys, std::size(kSpecialKeys), qtKey)) {
        *keyCode = r->keyCode;
        *charCode = r->charCode;
        return true;
    }
    const KeyRow* r = FindRow(kTypingKeys, std::size(kTypingKeys), qtKey);
    *keyCode = r ? r->keyCode : kOtherKeyCode;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        char letter = char((mods & Qt::ShiftModifier) ? qtKey : qtKey - Qt::Key_A + 'a');
        if (mods & Qt::MetaModifier)
            *charCode = UInt8(letter & 0x1F);
        else if ((mods & Qt::ControlModifier) || text.isEmpty() || text[0].unicode() < 32)
            *charCode = UInt8(letter);
        else
            *charCode = MacRomanOf(text[0]);
        return true;
    }
    if (!text.isEmpty() && text[0].unicode() >= 32) {
        *charCode = MacRomanOf(text[0]);
        return true;
    }
    // Ctrl with a digit or punctuation key: the key's own character.
    if (qtKey >= 0x20 && qtKey < 0x7F) {
        *charCode = UInt8(qtKey);
        return true;
    }
    return false;
}

WindowRef ContentWindowOf(QWidget* widget, QWidget** content) {
    WindowRef w = PlatformWindowFromWidget(widget);
    if (!w) return nullptr;
    QWidget* view = PlatformWindowContentWidget(w);
    if (widget != view && !view->isAncestorOf(widget)) return nullptr;
    if (PlatformIsNativeInput(widget)) return nullptr;
    *content = view;
    return w;
}

Point GlobalOf(WindowRef w, QWidget* widget, QWidget* content, QPointF pos) {
    QPoint local = widget->mapTo(content, pos.toPoint());
    return Point{SInt16(w->bounds.top + local.y()), SInt16(w->bounds.left + local.x())};
}

class InputFilter : public QObject {
  public:
    bool eventFilter(QObject* target, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            return Mouse(target, static_cast<QMouseEvent*>(event));
        case QEvent::Wheel:
            return Wheel(target, static_cast<QWheelEvent*>(event));
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            return Key(target, static_cast<QKeyEvent*>(event));
        default:
            return false;
        }
    }

  private:
    bool Mouse(QObject* target, QMouseEvent* e) {
        auto* widget = qobject_cast<QWidget*>(target);
        QWidget* content = nullptr;
        WindowRef w = widget ? ContentWindowOf(widget, &content) : nullptr;
        if (!w) return false;
        Point where = GlobalOf(w, widget, content, e->position());
        UInt16 mods = MacModifiers(e->modifiers());
        PlatformRecordModifiers(mods);
        PlatformRecordMouseMove(where);
        if (e->type() == QEvent::MouseMove) return true;
        if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return true;
        bool down = e->type() != QEvent::MouseButtonRelease;
        PlatformRecordMouseButton(down ? w : nullptr, down, where, mods, e->button() == Qt::RightButton);
        return true;
    }

    bool Wheel(QObject* target, QWheelEvent* e) {
        auto* widget = qobject_cast<QWidget*>(target);
        QWidget* content = nullptr;
        WindowRef w = widget ? ContentWindowOf(widget, &content) : nullptr;
        if (!w) return false;
        // Wheels report eighths of a degree, 120 to a notch; touchpads send fractions that add up.
        accumX_ += e->angleDelta().x();
        accumY_ += e->angleDelta().y();
        Point where = GlobalOf(w, widget, content, e->position());
        PlatformRecordMouseMove(where);
        for (auto [axis, accum] :
             {std::pair{kEventMouseWheelAxisY, &accumY_}, {kEventMouseWheelAxisX, &accumX_}}) {
            int lines = *accum / 120;
            if (!lines) continue;
            *accum -= lines * 120;
            WindowEvent we{};
            we.kind = WindowEventKind::mouseWheel;
            we.window = w;
            we.wheelAxis = axis;
            we.wheelDelta = axis == kEventMouseWheelAxisX ? -lines : lines;
            we.where = where;
            we.modifiers = MacModifiers(e->modifiers());
            PlatformQueueWindowEvent(we);
        }
        return true;
    }

    bool Key(QObject* target, QKeyEvent* e) {
        auto* widget = qobject_cast<QWidget*>(target);
        if (!widget || PlatformIsNativeInput(widget)) return false;
        WindowRef w = PlatformWindowFromWidget(widget);
        if (!w) return false;
        // Menus of a window's menu bar handle their own keys.
        QMenuBar* bar = PlatformWindowMenuBar(w);
        if (bar && (widget == bar || bar->isAncestorOf(widget))) return false;
        if (e->type() == QEvent::ShortcutOverride) {
            // Command keys reach the program as key-downs, never as Qt shortcuts.
            e->accept();
            return true;
        }
        bool down = e->type() == QEvent::KeyPress;
        if (!down && e->isAutoRepeat()) return true;
        if (e->key() == Qt::Key_CapsLock) {
            if (down) gCapsLock = !gCapsLock;
            PlatformRecordModifiers(MacModifiers(e->modifiers()));
            return true;
        }
        if (UInt16 bit = ModifierBitOfKey(e->key())) {
            UInt16 mods = MacModifiers(e->modifiers());
            mods = down ? UInt16(mods | bit) : UInt16(mods & ~bit);
            PlatformRecordModifiers(mods);
            return true;
        }
        UInt8 keyCode = 0, charCode = 0;
        if (!TranslateKey(e->key(), e->modifiers(), e->text(), &keyCode, &charCode)) return true;
        PlatformRecordKey(down, keyCode, charCode, MacModifiers(e->modifiers()), e->isAutoRepeat());
        return true;
    }

    int accumX_ = 0;
    int accumY_ = 0;
};

InputFilter* gFilter = nullptr;

// The text the X11 keyboard gives with a key, for injected test keys.
QString TextOfKey(int key, Qt::KeyboardModifiers mods) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        QChar c = QChar((mods & Qt::ShiftModifier) ? key : key - Qt::Key_A + 'a');
        if (mods & Qt::ControlModifier) return QString(QChar(c.unicode() & 0x1F));
        return QString(c);
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QString(QChar(27));
    case Qt::Key_Backspace:
        return QString(QChar(8));
    case Qt::Key_Tab:
        return QString(QChar(9));
    case Qt::Key_Delete:
        return QString(QChar(127));
    default:
        break;
    }
    if (key >= 0x20 && key < 0x7F && !(mods & Qt::ControlModifier)) return QString(QChar(key));
    if (key >= 0xA0 && key <= 0xFF) return QString(QChar(key).toLower());
    return QString();
}

} // namespace

void PlatformInstallInputFilter() {
    if (gFilter || !QCoreApplication::instance()) return;
    gFilter = new InputFilter;
    QCoreApplication::instance()->installEventFilter(gFilter);
}

Boolean InjectQtKeyForTesting(WindowRef window, const char* sequence, Boolean autoRepeat) {
    QWidget* content = PlatformWindowContentWidget(window);
    if (!content || !sequence) return false;
    QKeySequence seq = QKeySequence::fromString(QString::fromUtf8(sequence), QKeySequence::PortableText);
    if (seq.isEmpty()) return false;
    QKeyCombination combo = seq[0];
    int key = combo.key();
    Qt::KeyboardModifiers mods = combo.keyboardModifiers();
    QString text = TextOfKey(key, mods);
    QKeyEvent press(QEvent::KeyPress, key, mods, text, autoRepeat);
    QCoreApplication::sendEvent(content, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text, false);
    QCoreApplication::sendEvent(content, &release);
    return true;
}

void InjectQtMouseForTesting(WindowRef window, Point local, Boolean press, SInt16 button, UInt16 modifiers) {
    QWidget* content = PlatformWindowContentWidget(window);
    if (!content) return;
    Qt::MouseButton b = button == 2 ? Qt::RightButton : Qt::LeftButton;
    Qt::KeyboardModifiers mods;
    if (modifiers & shiftKey) mods |= Qt::ShiftModifier;
    if (modifiers & cmdKey) mods |= Qt::ControlModifier;
    if (modifiers & optionKey) mods |= Qt::AltModifier;
    if (modifiers & controlKey) mods |= Qt::MetaModifier;
    QPointF pos(local.h, local.v);
    QPointF global(window->bounds.left + local.h, window->bounds.top + local.v);
    QMouseEvent e(press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, pos, global, b,
                  press ? Qt::MouseButtons(b) : Qt::MouseButtons(), mods);
    QCoreApplication::sendEvent(content, &e);
}
