// QuickDraw text: the port's font, size, face and mode, drawing at the pen and measuring. Glyphs are
// rendered without smoothing into a mask and then applied in the port's text mode.
#include "Platform/PlatformApp.h"
#include "Platform/QuickDrawInternal.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cmath>

namespace {

// No pair kerning: each character stands at the sum of the widths before it, so what the program
// places at a measured width (a field after a prompt, a caret) never meets the characters drawn.
QFont PortFont(GrafPtr port) {
    QFont font = PlatformFont(port->txFont, port->txSize, port->txFace);
    font.setKerning(false);
    return font;
}

void DrawQString(const QString& text) {
    GrafPtr port = CurrentPort();
    if (!port || text.isEmpty() || !PlatformHasApplication()) return;
    QFont font = PortFont(port);
    QFontMetrics fm(font);
    int advance = fm.horizontalAdvance(text);
    int ascent = fm.ascent(), descent = fm.descent();
    // Room for italic overhang on both sides.
    int pad = fm.height() / 2 + 2;
    QPoint origin(port->penLoc.h - pad, port->penLoc.v - ascent);
    if (port->txMode == srcCopy) {
        Pattern black;
        Rect box{SInt16(port->penLoc.v - ascent), port->penLoc.h, SInt16(port->penLoc.v + descent),
                 SInt16(port->penLoc.h + advance)};
        PaintShape(port, RegionOfRect(box), *GetQDGlobalsBlack(&black), patCopy, port->bgColour,
                   port->bgColour);
    }
    QImage mask(advance + 2 * pad, ascent + descent + 1, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPoint(pad, ascent), text);
    }
    SInt16 mode = port->txMode == srcCopy ? SInt16(srcOr) : port->txMode;
    PaintMask(port, mask, origin, mode, port->fgColour, port->bgColour);
    port->penLoc.h = SInt16(port->penLoc.h + advance);
}

SInt16 WidthOf(const QString& text) {
    GrafPtr port = CurrentPort();
    if (!port || !PlatformHasApplication()) return 0;
    return SInt16(QFontMetrics(PortFont(port)).horizontalAdvance(text));
}

QString FromBytes(const void* text, SInt16 first, SInt16 count) {
    if (!text || count <= 0) return QString();
    return PlatformStringFromMacRoman(static_cast<const UInt8*>(text) + first, count);
}

} // namespace

void TextFont(SInt16 font) {
    if (GrafPtr p = CurrentPort()) p->txFont = font;
}

void TextSize(SInt16 size) {
    if (GrafPtr p = CurrentPort()) p->txSize = size;
}

void TextFace(SInt16 face) {
    if (GrafPtr p = CurrentPort()) p->txFace = face;
}

void TextMode(SInt16 mode) {
    if (GrafPtr p = CurrentPort()) p->txMode = mode;
}

SInt16 GetPortTextFont(CGrafPtr port) {
    return IsValidPort(port) ? port->txFont : 0;
}
SInt16 GetPortTextSize(CGrafPtr port) {
    return IsValidPort(port) ? port->txSize : 0;
}
SInt16 GetPortTextFace(CGrafPtr port) {
    return IsValidPort(port) ? port->txFace : 0;
}
SInt16 GetPortTextMode(CGrafPtr port) {
    return IsValidPort(port) ? port->txMode : SInt16(srcOr);
}

void DrawString(ConstStr255Param text) {
    if (text) DrawQString(FromBytes(text + 1, 0, text[0]));
}

void DrawText(const void* text, SInt16 first, SInt16 count) {
    DrawQString(FromBytes(text, first, count));
}

void DrawChar(UInt8 ch) {
    DrawQString(FromBytes(&ch, 0, 1));
}

SInt16 StringWidth(ConstStr255Param text) {
    return text ? WidthOf(FromBytes(text + 1, 0, text[0])) : 0;
}

SInt16 TextWidth(const void* text, SInt16 first, SInt16 count) {
    return WidthOf(FromBytes(text, first, count));
}

SInt16 CharWidth(UInt8 ch) {
    return WidthOf(FromBytes(&ch, 0, 1));
}

void GetFontInfo(FontInfo* info) {
    if (!info) return;
    *info = FontInfo{0, 0, 0, 0};
    GrafPtr port = CurrentPort();
    if (!port || !PlatformHasApplication()) return;
    QFontMetrics fm(PortFont(port));
    *info = FontInfo{SInt16(fm.ascent()), SInt16(fm.descent()), SInt16(fm.maxWidth()), SInt16(fm.leading())};
}

void DrawTextUTF8(const char* text, SInt32 length) {
    if (text && length > 0) DrawQString(QString::fromUtf8(text, length));
}

SInt16 TextWidthUTF8(const char* text, SInt32 length) {
    return text && length > 0 ? WidthOf(QString::fromUtf8(text, length)) : 0;
}
