// The picture decoder: walks the opcodes of version 1 and 2 pictures and records what they draw
// (bitmaps and pixel maps; lines, rectangles, rounded rectangles, ovals, arcs, polygons, rectangular
// regions and text, with the pen, patterns and colours they set) in the frame's coordinates, so
// the record can be played into a port or a drawing context at any size. Other opcodes are stepped
// over by their lengths; an opcode whose length is unknown ends the walk with what was recorded.
#include "Platform/Pictures.h"

#include "Platform/MacRoman.h"
#include "Platform/PlatformApp.h"
#include "Platform/PicturesInternal.h"

#include "Platform/MemoryManager.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/QuickDrawInternal.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

namespace {

// Previews are 512 pixels square; this leaves room for larger pictures without letting a damaged
// header ask for gigabytes.
constexpr int kMaxSide = 4096;
constexpr int kMaxTextSize = 1024;

// A bounds-checked reader over the picture's bytes: every read past the end fails the reader.
struct Reader {
    const UInt8* bytes;
    size_t size;
    size_t pos = 0;
    bool ok = true;

    bool Has(size_t n) const { return ok && n <= size - pos; }
    UInt8 U8() {
        if (!Has(1)) return ok = false, 0;
        return bytes[pos++];
    }
    UInt16 U16() {
        if (!Has(2)) return ok = false, 0;
        UInt16 v = UInt16(bytes[pos] << 8 | bytes[pos + 1]);
        pos += 2;
        return v;
    }
    UInt32 U32() {
        UInt32 hi = U16();
        return hi << 16 | U16();
    }
    void Skip(size_t n) {
        if (!Has(n))
            ok = false;
        else
            pos += n;
    }
    Rect ReadRect() {
        Rect r;
        r.top = SInt16(U16()), r.left = SInt16(U16()), r.bottom = SInt16(U16()), r.right = SInt16(U16());
        return r;
    }
    // Regions and polygons start with their own size, the size word included.
    void SkipSized() {
        UInt16 n = U16();
        if (n < 2)
            ok = false;
        else
            Skip(n - 2u);
    }
};

int Width(const Rect& r) {
    return int(r.right) - int(r.left);
}
int Height(const Rect& r) {
    return int(r.bottom) - int(r.top);
}

// PackBits of bytes (unit 1) or of 16-bit words (unit 2) into exactly `out.size()` bytes.
bool UnpackBits(const UInt8* in, size_t inSize, size_t unit, std::vector<UInt8>& out) {
    size_t i = 0, o = 0;
    while (o < out.size() && i < inSize) {
        SInt8 flag = SInt8(in[i++]);
        if (flag == -128) continue;
        if (flag >= 0) {
            size_t n = (size_t(flag) + 1) * unit;
            if (n > inSize - i || n > out.size() - o) return false;
            std::copy(in + i, in + i + n, out.begin() + std::ptrdiff_t(o));
            i += n, o += n;
        } else {
            size_t count = size_t(1 - flag);
            if (unit > inSize - i || count * unit > out.size() - o) return false;
            for (size_t k = 0; k < count; ++k)
                for (size_t b = 0; b < unit; ++b)
                    out[o++] = in[i + b];
            i += unit;
        }
    }
    return o == out.size();
}

struct PixelMap {
    bool isPixMap = false;
    UInt16 rowBytes = 0;
    Rect bounds{};
    UInt16 packType = 0;
    UInt16 pixelSize = 1;
    UInt16 cmpCount = 1;
    std::vector<QRgb> colours;
};

// One row of pixel data, unpacked to rowBytes bytes (or, for direct pixels packed by component,
// to the components' planes).
bool ReadRow(Reader& r, const PixelMap& pm, size_t rowLength, std::vector<UInt8>& row) {
    row.assign(rowLength, 0);
    bool packed = pm.rowBytes >= 8 && pm.packType != 1 && pm.packType != 2;
    if (!packed) {
        if (!r.Has(rowLength)) return r.ok = false;
        std::copy(r.bytes + r.pos, r.bytes + r.pos + rowLength, row.begin());
        r.pos += rowLength;
        return true;
    }
    size_t count = pm.rowBytes > 250 ? r.U16() : r.U8();
    if (!r.Has(count)) return r.ok = false;
    bool ok = UnpackBits(r.bytes + r.pos, count, pm.pixelSize == 16 ? 2 : 1, row);
    r.pos += count;
    return ok;
}

// The pixels of a bits opcode as an image of the map's bounds.
bool ReadPixels(Reader& r, const PixelMap& pm, QImage* image) {
    // Every row takes at least a byte, so the data bounds the height before anything is allocated.
    int w = Width(pm.bounds), h = Height(pm.bounds);
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || !r.Has(size_t(h))) return false;
    UInt16 depth = pm.isPixMap ? pm.pixelSize : 1;
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16 && depth != 32) return false;
    if (size_t(pm.rowBytes) * 8 < size_t(w) * (depth == 32 && pm.packType == 2 ? 24 : depth)) return false;
    *image = QImage(w, h, QImage::Format_RGB32);
    if (image->isNull()) return false;
    std::vector<UInt8> row;
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image->scanLine(y));
        if (depth == 32) {
            bool planes = pm.rowBytes >= 8 && (pm.packType == 0 || pm.packType == 4);
            size_t cmp = pm.cmpCount == 4 ? 4 : 3;
            size_t length = planes ? cmp * size_t(w) : pm.packType == 2 ? 3 * size_t(w) : pm.rowBytes;
            if (!ReadRow(r, pm, length, row)) return false;
            for (int x = 0; x < w; ++x) {
                size_t i = size_t(x);
                if (planes) {
                    size_t first = cmp - 3; // alpha plane first, when there is one
                    out[x] = qRgb(row[first * size_t(w) + i], row[(first + 1) * size_t(w) + i],
                                  row[(first + 2) * size_t(w) + i]);
                } else if (pm.packType == 2) {
                    out[x] = qRgb(row[3 * i], row[3 * i + 1], row[3 * i + 2]);
                } else {
                    out[x] = qRgb(row[4 * i + 1], row[4 * i + 2], row[4 * i + 3]);
                }
            }
        } else if (depth == 16) {
            if (!ReadRow(r, pm, pm.rowBytes, row)) return false;
            for (int x = 0; x < w; ++x) {
                UInt16 v = UInt16(row[2 * size_t(x)] << 8 | row[2 * size_t(x) + 1]);
                int red = (v >> 10) & 31, green = (v >> 5) & 31, blue = v & 31;
                out[x] = qRgb(red << 3 | red >> 2, green << 3 | green >> 2, blue << 3 | blue >> 2);
            }
        } else {
            if (!ReadRow(r, pm, pm.rowBytes, row)) return false;
            for (int x = 0; x < w; ++x) {
                size_t bit = size_t(x) * depth;
                unsigned index = (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
                if (!pm.isPixMap)
                    out[x] = index ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
                else
                    out[x] = index < pm.colours.size() ? pm.colours[index] : qRgb(0, 0, 0);
            }
        }
    }
    return true;
}

// A bits opcode (0x90, 0x91, 0x98, 0x99, 0x9A, 0x9B) painted into the frame's image.
bool PaintBits(Reader& r, UInt16 op, QPainter& painter, const Rect& frame) {
    bool direct = op == 0x9A || op == 0x9B;
    PixelMap pm;
    if (direct) r.Skip(4); // the base address
    UInt16 rowBytes = r.U16();
    pm.isPixMap = (rowBytes & 0x8000) != 0;
    pm.rowBytes = rowBytes & 0x3FFF;
    pm.bounds = r.ReadRect();
    if (pm.isPixMap) {
        r.Skip(2); // version
        pm.packType = r.U16();
        r.Skip(12); // pack size, resolutions
        r.Skip(2);  // pixel type
        pm.pixelSize = r.U16();
        pm.cmpCount = r.U16();
        r.Skip(14); // component size, plane bytes, table, reserved
        if (!direct) {
            r.Skip(4); // seed
            bool device = (r.U16() & 0x8000) != 0;
            UInt16 last = r.U16();
            if (!r.ok || !r.Has((size_t(last) + 1) * 8)) return false;
            pm.colours.assign(256, qRgb(0, 0, 0));
            for (size_t i = 0; i <= last; ++i) {
                UInt16 value = r.U16();
                UInt16 red = r.U16(), green = r.U16(), blue = r.U16();
                // The value fields of a device's table are not indexes; the entries' order is.
                size_t index = device || value >= 256 ? i : value;
                if (index < pm.colours.size()) pm.colours[index] = qRgb(red >> 8, green >> 8, blue >> 8);
            }
        }
    } else if (direct) {
        return false;
    }
    Rect src = r.ReadRect(), dst = r.ReadRect();
    r.Skip(2); // transfer mode: the pixels are copied
    if (op == 0x91 || op == 0x99 || op == 0x9B) r.SkipSized();
    if (!r.ok) return false;
    QImage image;
    if (!ReadPixels(r, pm, &image)) return false;
    painter.drawImage(QRect(dst.left - frame.left, dst.top - frame.top, Width(dst), Height(dst)), image,
                      QRect(src.left - pm.bounds.left, src.top - pm.bounds.top, Width(src), Height(src)));
    return true;
}

// Opcodes 0x00 to 0x2F: the length of their data, or how it is found.
constexpr SInt8 kSized = -1;   // a region or polygon that starts with its own size
constexpr SInt8 kCounted = -2; // a 16-bit byte count first
constexpr SInt8 kText = -3;    // text opcodes: fixed bytes, then a length byte
constexpr SInt8 kUnknown = -4; // patterns of pixels and the like: not stepped over
// clang-format off
constexpr SInt8 kLowOpcodes[0x30] = {
    0, kSized, 8, 2, 1, 2, 4, 4, 2, 8, 8, 4, 4, 2, 4, 4,                      // 0x00
    8, 1, kUnknown, kUnknown, kUnknown, 2, 2, 0, 0, 0, 6, 6, 0, 6, 0, 6,      // 0x10
    8, 4, 6, 2, kCounted, kCounted, kCounted, kCounted, kText, kText, kText,  // 0x20
    kText, kCounted, kCounted, kCounted, kCounted};
// clang-format on

// Steps over one opcode that is not drawn; false when its length is not known or not there.
bool SkipOpcode(Reader& r, UInt16 op, bool v2) {
    SInt8 kind = kUnknown;
    if (op < 0x30)
        kind = kLowOpcodes[op];
    else if (op < 0x38 || (op >= 0x40 && op < 0x48) || (op >= 0x50 && op < 0x58))
        kind = 8; // rectangles, ovals
    else if (op < 0x60)
        kind = 0; // the same again
    else if (op < 0x68)
        kind = 12; // arcs
    else if (op < 0x70)
        kind = 4;
    else if ((op >= 0x70 && op < 0x78) || (op >= 0x80 && op < 0x88))
        kind = kSized; // polygons, regions
    else if (op < 0x90)
        kind = 0;
    else if ((op >= 0x92 && op < 0x98) || (op >= 0x9C && op < 0xA0) || (op >= 0xA2 && op < 0xB0))
        kind = kCounted;
    else if (op == 0xA0)
        kind = 2;          // short comment
    else if (op == 0xA1) { // long comment: a kind, then counted data
        r.Skip(2);
        kind = kCounted;
    } else if (op >= 0xB0 && op < 0xD0)
        kind = 0;
    else if (v2 && op == 0x0C00)
        kind = 24; // header
    else if (v2 && op >= 0x0100 && op <= 0x7FFF)
        return r.Skip(size_t(op >> 8) * 2), r.ok;
    else if (v2 && op >= 0x8000 && op <= 0x80FF)
        kind = 0;
    else if (v2 && ((op >= 0xD0 && op < 0xFF) || op >= 0x8100))
        return r.Skip(r.U32()), r.ok;
    switch (kind) {
    case kSized:
        r.SkipSized();
        break;
    case kCounted:
        r.Skip(r.U16());
        break;
    case kText:
        r.Skip(op == 0x28 ? 4 : op == 0x2B ? 2 : 1), r.Skip(r.U8());
        break;
    case kUnknown:
        return false;
    default:
        r.Skip(size_t(kind));
        break;
    }
    return r.ok;
}

// Colours of the eight classic QuickDraw colour constants.
QColor ClassicColour(UInt32 code) {
    switch (code) {
    case 30:
        return QColor(255, 255, 255);
    case 69:
        return QColor(255, 255, 0);
    case 137:
        return QColor(255, 0, 255);
    case 205:
        return QColor(255, 0, 0);
    case 273:
        return QColor(0, 255, 255);
    case 341:
        return QColor(0, 255, 0);
    case 409:
        return QColor(0, 0, 255);
    default:
        return QColor(0, 0, 0);
    }
}

using Pat = std::array<UInt8, 8>;
constexpr Pat kBlackPat{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr Pat kWhitePat{};

// The shape verbs of the opcode families, by the low three bits of the opcode.
enum Verb { kFrame = 0, kPaint = 1, kErase = 2, kInvert = 3, kFill = 4 };

// Walks the opcodes and records their drawing in frame coordinates (the frame's top-left at 0, 0).
class Decoder {
  public:
    Decoder(Reader& r, QPainter& painter, const Rect& frame, bool v2)
        : r_(r), p_(painter), frame_(frame), v2_(v2) {}

    // False ends the walk: the end opcode, data cut short, or an opcode whose length is unknown.
    bool Step(UInt16 op) {
        if (op == 0xFF) return false;
        if (op == 0x90 || op == 0x91 || op == 0x98 || op == 0x99 || op == 0x9A || op == 0x9B) {
            Rect shifted = frame_;
            shifted.left = SInt16(shifted.left + originH_), shifted.top = SInt16(shifted.top + originV_);
            if (!PaintBits(r_, op, p_, shifted)) return false;
            painted_ = true;
            return true;
        }
        if (op >= 0x20 && op <= 0x23) return Lines(op);
        if (op >= 0x28 && op <= 0x2B) return Text(op);
        if (op >= 0x30 && op < 0x90 && (op & 7) <= kFill && (op & 0x0F) < 0x0D) return Shape(op);
        switch (op) {
        case 0x02:
            return ReadPat(&bkPat_);
        case 0x03:
            font_ = SInt16(r_.U16());
            return r_.ok;
        case 0x04:
            face_ = r_.U8();
            return r_.ok;
        case 0x07:
            penV_ = SInt16(r_.U16()), penH_ = SInt16(r_.U16());
            return r_.ok;
        case 0x09:
            return ReadPat(&penPat_);
        case 0x0A:
            return ReadPat(&fillPat_);
        case 0x0B:
            ovalV_ = SInt16(r_.U16()), ovalH_ = SInt16(r_.U16());
            return r_.ok;
        case 0x0C:
            originH_ += SInt16(r_.U16()), originV_ += SInt16(r_.U16());
            return r_.ok;
        case 0x0D:
            size_ = SInt16(r_.U16());
            return r_.ok;
        case 0x0E:
            fg_ = ClassicColour(r_.U32());
            return r_.ok;
        case 0x0F:
            bk_ = ClassicColour(r_.U32());
            return r_.ok;
        case 0x1A:
        case 0x1B: {
            UInt16 red = r_.U16(), green = r_.U16(), blue = r_.U16();
            (op == 0x1A ? fg_ : bk_) = QColor(red >> 8, green >> 8, blue >> 8);
            return r_.ok;
        }
        default:
            return SkipOpcode(r_, op, v2_);
        }
    }

    bool Painted() const { return painted_; }

  private:
    Reader& r_;
    QPainter& p_;
    Rect frame_;
    bool v2_;
    bool painted_ = false;
    int originH_ = 0, originV_ = 0;
    SInt16 penH_ = 1, penV_ = 1;
    Pat penPat_ = kBlackPat, fillPat_ = kBlackPat, bkPat_ = kWhitePat;
    QColor fg_{0, 0, 0}, bk_{255, 255, 255};
    SInt16 ovalH_ = 0, ovalV_ = 0;
    SInt16 font_ = 0, size_ = 12;
    UInt8 face_ = 0;
    QPointF pen_{0, 0}; // pen location, frame coordinates
    Rect lastRect_{}, lastRRect_{}, lastOval_{}, lastArc_{};
    QPolygonF lastPoly_;

    double X(int h) const { return double(h) - originH_ - frame_.left; }
    double Y(int v) const { return double(v) - originV_ - frame_.top; }
    QPointF ReadPoint() {
        int v = SInt16(r_.U16()), h = SInt16(r_.U16());
        return QPointF(X(h), Y(v));
    }
    QRectF ToRect(const Rect& r) const {
        return QRectF(X(r.left), Y(r.top), double(r.right) - r.left, double(r.bottom) - r.top);
    }
    bool ReadPat(Pat* pat) {
        for (UInt8& b : *pat)
            b = r_.U8();
        return r_.ok;
    }

    // A pattern as one colour: its share of set bits in the foreground colour, the rest background.
    QColor PatColour(const Pat& pat) const {
        int bits = 0;
        for (UInt8 b : pat)
            bits += std::popcount(unsigned(b));
        double f = bits / 64.0;
        return QColor(int(std::lround(fg_.red() * f + bk_.red() * (1 - f))),
                      int(std::lround(fg_.green() * f + bk_.green() * (1 - f))),
                      int(std::lround(fg_.blue() * f + bk_.blue() * (1 - f))));
    }

    bool PenVisible() const { return penH_ > 0 && penV_ > 0; }
    QPen Pen() const {
        QPen pen(PatColour(penPat_), std::max(1, int(std::max(penH_, penV_))));
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        return pen;
    }

    // The pen hangs below and to the right of the path: lines are drawn through the pen's centre.
    void DrawLine(QPointF a, QPointF b) {
        pen_ = b;
        if (!PenVisible()) return;
        QPointF half(penH_ / 2.0, penV_ / 2.0);
        p_.setPen(Pen());
        p_.setBrush(Qt::NoBrush);
        p_.drawLine(a + half, b + half);
        painted_ = true;
    }

    bool Lines(UInt16 op) {
        QPointF from = pen_, to;
        if (op == 0x20 || op == 0x22) from = ReadPoint();
        if (op == 0x20 || op == 0x21) {
            to = ReadPoint();
        } else {
            SInt8 dh = SInt8(r_.U8()), dv = SInt8(r_.U8());
            to = from + QPointF(dh, dv);
        }
        if (!r_.ok) return false;
        DrawLine(from, to);
        return true;
    }

    bool Text(UInt16 op) {
        if (op == 0x28) pen_ = ReadPoint();
        if (op == 0x29 || op == 0x2B) pen_.rx() += r_.U8();
        if (op == 0x2A || op == 0x2B) pen_.ry() += r_.U8();
        UInt8 n = r_.U8();
        if (!r_.Has(n)) return r_.ok = false;
        std::string text(reinterpret_cast<const char*>(r_.bytes + r_.pos), n);
        r_.pos += n;
        if (!PlatformHasApplication()) return true; // no fonts without the application: stepped over
        // A size no picture needs would only cost glyphs of gigantic size.
        p_.setFont(PlatformFont(font_, SInt16(size_ > 0 ? std::min<int>(size_, kMaxTextSize) : 12), face_));
        p_.setPen(fg_);
        p_.drawText(pen_, QString::fromStdU16String(MacRomanToUTF16(text)));
        painted_ = true;
        return true;
    }

    // One shape drawn by the verb: framed with the pen inside its edge, or filled in one colour.
    template <typename Outline, typename Fill>
    void Draw(int verb, const QRectF& rect, Outline outline, Fill fill) {
        if (verb == kInvert) return; // nothing to invert against in a recording
        if (verb == kFrame) {
            if (!PenVisible()) return;
            double pw = penH_, ph = penV_;
            if (2 * pw >= rect.width() || 2 * ph >= rect.height()) {
                fill(rect, PatColour(penPat_));
            } else {
                p_.setPen(Pen());
                p_.setBrush(Qt::NoBrush);
                outline(rect.adjusted(pw / 2, ph / 2, -pw / 2, -ph / 2));
            }
        } else {
            const Pat& pat = verb == kPaint ? penPat_ : verb == kFill ? fillPat_ : bkPat_;
            fill(rect, verb == kErase ? bk_ : PatColour(pat));
        }
        painted_ = true;
    }

    bool Shape(UInt16 op) {
        int family = op & 0xF0, verb = op & 7;
        bool same = (op & 8) != 0;
        auto rectOf = [&](Rect* last) {
            if (!same) *last = r_.ReadRect();
            return ToRect(*last);
        };
        auto filler = [&](auto path) {
            return [&, path](const QRectF& rect, const QColor& colour) {
                p_.setPen(Qt::NoPen);
                p_.setBrush(colour);
                path(rect);
            };
        };
        switch (family) {
        case 0x30: {
            QRectF rect = rectOf(&lastRect_);
            if (!r_.ok) return false;
            auto draw = [&](const QRectF& q) { p_.drawRect(q); };
            Draw(verb, rect, draw, filler(draw));
            return true;
        }
        case 0x40: {
            QRectF rect = rectOf(&lastRRect_);
            if (!r_.ok) return false;
            double rx = ovalH_ / 2.0, ry = ovalV_ / 2.0;
            auto draw = [&, rx, ry](const QRectF& q) { p_.drawRoundedRect(q, rx, ry); };
            Draw(verb, rect, draw, filler(draw));
            return true;
        }
        case 0x50: {
            QRectF rect = rectOf(&lastOval_);
            if (!r_.ok) return false;
            auto draw = [&](const QRectF& q) { p_.drawEllipse(q); };
            Draw(verb, rect, draw, filler(draw));
            return true;
        }
        case 0x60: {
            QRectF rect = rectOf(&lastArc_);
            SInt16 start = SInt16(r_.U16()), sweep = SInt16(r_.U16());
            if (!r_.ok) return false;
            // Clockwise from twelve o'clock, against counter-clockwise from three o'clock.
            int qStart = (90 - start) * 16, qSpan = -sweep * 16;
            auto arc = [&, qStart, qSpan](const QRectF& q) { p_.drawArc(q, qStart, qSpan); };
            auto pie = [&, qStart, qSpan](const QRectF& q) { p_.drawPie(q, qStart, qSpan); };
            Draw(verb, rect, arc, filler(pie));
            return true;
        }
        case 0x70:
            return Polygon(verb, same);
        case 0x80:
            return same || Region(verb); // the same region again: none is kept
        default:
            return SkipOpcode(r_, op, v2_);
        }
    }

    bool Polygon(int verb, bool same) {
        if (!same) {
            UInt16 size = r_.U16();
            if (size < 10) return r_.ok = false;
            r_.Skip(8); // bounds
            size_t n = (size - 10u) / 4;
            if (!r_.Has(n * 4)) return r_.ok = false;
            lastPoly_.clear();
            for (size_t i = 0; i < n; ++i)
                lastPoly_ << ReadPoint();
            r_.Skip((size - 10u) % 4);
        }
        if (!r_.ok) return false;
        if (lastPoly_.isEmpty() || verb == kInvert) return true;
        if (verb == kFrame) {
            if (!PenVisible()) return true;
            QPointF half(penH_ / 2.0, penV_ / 2.0);
            p_.setPen(Pen());
            p_.setBrush(Qt::NoBrush);
            p_.drawPolyline(lastPoly_.translated(half));
            pen_ = lastPoly_.last();
        } else {
            const Pat& pat = verb == kPaint ? penPat_ : verb == kFill ? fillPat_ : bkPat_;
            p_.setPen(Qt::NoPen);
            p_.setBrush(verb == kErase ? bk_ : PatColour(pat));
            p_.drawPolygon(lastPoly_, Qt::OddEvenFill);
        }
        painted_ = true;
        return true;
    }

    // Regions that are rectangles are drawn; the scan lines of other regions are stepped over.
    bool Region(int verb) {
        size_t start = r_.pos;
        UInt16 size = r_.U16();
        Rect bounds = r_.ReadRect();
        if (!r_.ok || size < 10) return r_.ok = false;
        r_.pos = start;
        r_.Skip(size);
        if (!r_.ok) return false;
        if (size == 10) {
            auto draw = [&](const QRectF& q) { p_.drawRect(q); };
            auto fill = [&](const QRectF& q, const QColor& colour) { p_.fillRect(q, colour); };
            Draw(verb, ToRect(bounds), draw, fill);
        }
        return true;
    }
};

// Reads the header and walks the opcodes onto the painter; true when anything was drawn. *whole is
// false when an opcode ran past the end of the data or was malformed.
bool Walk(const UInt8* bytes, size_t size, const Rect& frame, QPainter& painter, bool* whole) {
    Reader r{bytes, size, 10};
    bool v2 = false;
    if (r.Has(2) && bytes[10] == 0x11 && bytes[11] == 0x01) {
        r.Skip(2);
    } else if (r.Has(4) && r.U16() == 0x0011 && r.U16() == 0x02FF) {
        v2 = true;
    } else {
        return false;
    }
    Decoder decoder(r, painter, frame, v2);
    while (r.ok && r.Has(v2 ? 2 : 1)) {
        if (v2 && (r.pos & 1)) r.Skip(1); // opcodes of version 2 start on even offsets
        UInt16 op = v2 ? r.U16() : r.U8();
        if (!r.ok || !decoder.Step(op)) break;
    }
    if (whole) *whole = r.ok;
    return decoder.Painted();
}

} // namespace

bool RecordPicture(const UInt8* bytes, size_t size, QPicture* picture, Rect* frame, bool* whole) {
    Rect f;
    if (!GetPictureFrame(bytes, size, &f)) return false;
    if (Width(f) > kMaxSide || Height(f) > kMaxSide) return false;
    QPainter painter(picture);
    bool painted = Walk(bytes, size, f, painter, whole);
    painter.end();
    if (frame) *frame = f;
    return painted;
}

Boolean GetPictureFrame(const UInt8* bytes, size_t size, Rect* frame) {
    if (bytes == nullptr || size < 10) return false;
    Reader r{bytes, size};
    r.Skip(2);
    *frame = r.ReadRect();
    return Width(*frame) > 0 && Height(*frame) > 0;
}

Boolean PictureFitsData(const UInt8* bytes, size_t size) {
    QPicture picture;
    bool whole = false;
    return RecordPicture(bytes, size, &picture, nullptr, &whole) && whole;
}

Boolean DrawPictureData(const UInt8* bytes, size_t size, const Rect* destination) {
    GrafPtr port = CurrentPort();
    if (port == nullptr || destination == nullptr) return false;
    QPicture picture;
    Rect frame;
    if (!RecordPicture(bytes, size, &picture, &frame)) return false;
    QImage& target = PlatformPortImage(port);
    {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(destination->left - port->portRect.left, destination->top - port->portRect.top);
        painter.scale(double(Width(*destination)) / Width(frame),
                      double(Height(*destination)) / Height(frame));
        painter.setClipRect(QRectF(0, 0, Width(frame), Height(frame)));
        painter.drawPicture(0, 0, picture);
    }
    PlatformPortChanged(port, destination);
    return true;
}

void DrawPicture(PicHandle picture, const Rect* destination) {
    if (picture == nullptr || *picture == nullptr) return;
    DrawPictureData(reinterpret_cast<const UInt8*>(*picture), size_t(GetHandleSize(picture)), destination);
}
