// Text objects over a QLineEdit (one line) or a QPlainTextEdit (several), children of the window's
// content; queued keys and clicks are applied to them directly.
#include "Platform/TextObjects.h"

#include "Platform/Clipboard.h"
#include "Platform/ControlsInternal.h"
#include "Platform/Events.h"
#include "Platform/MacRoman.h"
#include "Platform/PascalBytes.h"
#include "Platform/PlatformWindowInternal.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>

#include <algorithm>

struct OpaqueTXNObject {
    WindowRef window = nullptr;
    Rect frame{};
    QPointer<QLineEdit> line;
    QPointer<QPlainTextEdit> text;
    QWidget* Widget() const { return line ? static_cast<QWidget*>(line.data()) : text.data(); }
};

namespace {

TXNFrameID gNextFrame = 1;

QRect QtRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

Boolean InitMLTE() {
    return true;
}

OSStatus NewTextObject(TXNObject* objectSlot, TXNFrameID* frameSlot, WindowRef window, const Rect* frame,
                       const Rect*, SInt16 textSize, Boolean singleLine) {
    if (objectSlot) *objectSlot = nullptr;
    QWidget* content = window ? PlatformWindowContentWidget(window) : nullptr;
    if (!content || !frame || !objectSlot) return memFullErr;
    auto* object = new OpaqueTXNObject;
    object->window = window;
    object->frame = *frame;
    QWidget* widget = nullptr;
    if (singleLine) {
        object->line = new QLineEdit(content);
        object->line->setFrame(false);
        widget = object->line;
    } else {
        object->text = new QPlainTextEdit(content);
        object->text->setFrameShape(QFrame::NoFrame);
        object->text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        widget = object->text;
    }
    GrafPtr port = nullptr;
    GetPort(&port);
    SInt16 font = port ? port->txFont : 0;
    SInt16 size = textSize > 0 ? textSize : port ? port->txSize : 0;
    widget->setFont(PlatformFont(font, size, 0));
    widget->setFocusPolicy(Qt::ClickFocus);
    widget->setGeometry(QtRect(*frame));
    widget->show();
    *objectSlot = object;
    if (frameSlot) *frameSlot = gNextFrame++;
    return noErr;
}

void DisposeTextObject(TXNObject* objectSlot) {
    if (!objectSlot || !*objectSlot) return;
    if (QWidget* w = (*objectSlot)->Widget()) delete w;
    delete *objectSlot;
    *objectSlot = nullptr;
}

Boolean TextObjectIsValid(TXNObject object) {
    return object != nullptr && object->Widget() != nullptr;
}

void FocusTextObject(TXNObject object, TXNFrameID) {
    if (QWidget* w = object ? object->Widget() : nullptr) w->setFocus(Qt::OtherFocusReason);
}

// Qt blinks the caret of the focused widget itself.
void IdleTextObject(TXNObject) {}

void SetTextObjectText(TXNObject object, TXNFrameID, const void* bytes, Size length, SInt32) {
    if (!object) return;
    std::string macRoman(static_cast<const char*>(bytes), static_cast<size_t>(std::max<Size>(length, 0)));
    SetTextObjectUTF8Text(object, MacRomanToUTF8(macRoman));
}

void SetTextObjectUTF8Text(TXNObject object, const std::string& text) {
    if (!object) return;
    QString s = QString::fromStdString(text);
    if (object->line)
        object->line->setText(s);
    else if (object->text)
        object->text->setPlainText(s);
}

std::string GetTextObjectUTF8Text(TXNObject object) {
    if (!object) return {};
    if (object->line) return object->line->text().toStdString();
    if (object->text) return object->text->toPlainText().toStdString();
    return {};
}

void GetTextObjectText(TXNObject object, Str255 text) {
    BytesToPStr(UTF8ToMacRoman(GetTextObjectUTF8Text(object)), text);
}

void SetTextObjectSelection(TXNObject object, TXNFrameID, SInt32 start, SInt32 end) {
    if (!object) return;
    if (object->line) {
        int length = object->line->text().size();
        int s = std::clamp<int>(start, 0, length), e = std::clamp<int>(end, 0, length);
        if (e < s) std::swap(s, e);
        if (s == e)
            object->line->setCursorPosition(s);
        else
            object->line->setSelection(s, e - s);
    } else if (object->text) {
        QTextCursor c = object->text->textCursor();
        int length = object->text->toPlainText().size();
        c.setPosition(std::clamp<int>(start, 0, length));
        c.setPosition(std::clamp<int>(end, 0, length), QTextCursor::KeepAnchor);
        object->text->setTextCursor(c);
    }
}

void GetTextObjectSelection(TXNObject object, SInt32* start, SInt32* end) {
    *start = *end = 0;
    if (!object) return;
    if (object->line) {
        if (object->line->hasSelectedText()) {
            *start = object->line->selectionStart();
            *end = object->line->selectionEnd();
        } else {
            *start = *end = object->line->cursorPosition();
        }
    } else if (object->text) {
        QTextCursor c = object->text->textCursor();
        *start = c.selectionStart();
        *end = c.selectionEnd();
    }
}

Boolean TextObjectHasSelection(TXNObject object) {
    SInt32 s = 0, e = 0;
    GetTextObjectSelection(object, &s, &e);
    return s != e;
}

void TextObjectKeyDown(TXNObject object, const EventRecord* event) {
    if (QWidget* w = object ? object->Widget() : nullptr) ReplayKey(w, event);
}

void TextObjectClick(TXNObject object, const EventRecord* event) {
    QWidget* w = object ? object->Widget() : nullptr;
    if (!w) return;
    w->setFocus(Qt::MouseFocusReason);
    Point local{static_cast<SInt16>(event->where.v - object->window->bounds.top),
                static_cast<SInt16>(event->where.h - object->window->bounds.left)};
    // A text of several lines takes clicks in its viewport.
    Rect bounds = object->frame;
    if (object->text) {
        QPoint offset = object->text->viewport()->geometry().topLeft();
        bounds.left = static_cast<SInt16>(bounds.left + offset.x());
        bounds.top = static_cast<SInt16>(bounds.top + offset.y());
        w = object->text->viewport();
    }
    ReplayClick(w, object->window, bounds, local);
}

Boolean TextObjectContainsPoint(TXNObject object, Point p) {
    return object && p.v >= object->frame.top && p.v < object->frame.bottom && p.h >= object->frame.left &&
           p.h < object->frame.right;
}

void SetTextObjectBounds(TXNObject object, TXNFrameID, const Rect* frameRect) {
    if (!object || !frameRect) return;
    object->frame = *frameRect;
    if (QWidget* w = object->Widget()) w->setGeometry(QtRect(*frameRect));
}

void SetTextObjectFont(TXNObject object, SInt16 fontNumber, SInt16 size) {
    if (QWidget* w = object ? object->Widget() : nullptr) w->setFont(PlatformFont(fontNumber, size, 0));
}

void DrawTextObject(TXNObject object) {
    if (QWidget* w = object ? object->Widget() : nullptr) w->update();
}

void ShowTextObject(TXNObject object, Boolean visible) {
    if (QWidget* w = object ? object->Widget() : nullptr) w->setVisible(visible);
}

void TextObjectCut(TXNObject object) {
    if (!object) return;
    if (object->line)
        object->line->cut();
    else if (object->text)
        object->text->cut();
}

void TextObjectCopy(TXNObject object) {
    if (!object) return;
    if (object->line)
        object->line->copy();
    else if (object->text)
        object->text->copy();
}

void TextObjectPaste(TXNObject object) {
    if (!object) return;
    if (object->line)
        object->line->paste();
    else if (object->text)
        object->text->paste();
}

void TextObjectClear(TXNObject object) {
    if (!object) return;
    if (object->line)
        object->line->del();
    else if (object->text)
        object->text->textCursor().removeSelectedText();
}

void TextObjectSelectAll(TXNObject object) {
    if (!object) return;
    if (object->line)
        object->line->selectAll();
    else if (object->text)
        object->text->selectAll();
}

void TextObjectInsertUTF8(TXNObject object, const std::string& text, Size capacity) {
    if (!object) return;
    std::string insert = text;
    if (capacity > 0) {
        QString whole, selected;
        if (object->line) {
            whole = object->line->text();
            selected = object->line->selectedText();
        } else if (object->text) {
            whole = object->text->toPlainText();
            selected = object->text->textCursor().selectedText();
        }
        Size kept = Size(whole.toUtf8().size() - selected.toUtf8().size());
        insert = std::string(CutUTF8(text, std::max<Size>(capacity - kept, 0)));
    }
    QString s = QString::fromStdString(insert);
    if (object->line)
        object->line->insert(s);
    else if (object->text)
        object->text->textCursor().insertText(s);
}
