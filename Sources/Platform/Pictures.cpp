// The picture decoder: walks the opcodes of version 1 and 2 pictures, paints their bitmaps and pixel
// maps into an image of the frame and draws that into the port. Other drawing opcodes are stepped
// over by their lengths; an opcode whose length is unknown ends the walk with what was painted.
#include "Platform/Pictures.h"

#include "Platform/MemoryManager.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/QuickDrawInternal.h"

#include <QImage>
#include <QPainter>

#include <vector>

namespace {

// Previews are 512 pixels square; this leaves room for larger pictures without letting a damaged
// header ask for gigabytes.
constexpr int kMaxSide = 4096;

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

} // namespace

Boolean GetPictureFrame(const UInt8* bytes, size_t size, Rect* frame) {
    if (bytes == nullptr || size < 10) return false;
    Reader r{bytes, size};
    r.Skip(2);
    *frame = r.ReadRect();
    return Width(*frame) > 0 && Height(*frame) > 0;
}

Boolean DrawPictureData(const UInt8* bytes, size_t size, const Rect* destination) {
    GrafPtr port = CurrentPort();
    Rect frame;
    if (port == nullptr || destination == nullptr || !GetPictureFrame(bytes, size, &frame)) return false;
    if (Width(frame) > kMaxSide || Height(frame) > kMaxSide) return false;
    Reader r{bytes, size, 10};
    bool v2 = false;
    if (r.Has(2) && bytes[10] == 0x11 && bytes[11] == 0x01) {
        r.Skip(2);
    } else if (r.Has(4) && r.U16() == 0x0011 && r.U16() == 0x02FF) {
        v2 = true;
    } else {
        return false;
    }
    QImage canvas(Width(frame), Height(frame), QImage::Format_ARGB32);
    if (canvas.isNull()) return false;
    canvas.fill(Qt::transparent);
    bool painted = false;
    {
        QPainter painter(&canvas);
        while (r.ok && r.Has(v2 ? 2 : 1)) {
            if (v2 && (r.pos & 1)) r.Skip(1); // opcodes of version 2 start on even offsets
            UInt16 op = v2 ? r.U16() : r.U8();
            if (!r.ok || op == 0xFF) break;
            if (op == 0x90 || op == 0x91 || op == 0x98 || op == 0x99 || op == 0x9A || op == 0x9B) {
                if (!PaintBits(r, op, painter, frame)) break;
                painted = true;
            } else if (!SkipOpcode(r, op, v2)) {
                break;
            }
        }
    }
    if (!painted) return false;
    QImage& target = PlatformPortImage(port);
    {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(destination->left - port->portRect.left,
                                destination->top - port->portRect.top, Width(*destination),
                                Height(*destination)),
                          canvas);
    }
    PlatformPortChanged(port, destination);
    return true;
}

void DrawPicture(PicHandle picture, const Rect* destination) {
    if (picture == nullptr || *picture == nullptr) return;
    DrawPictureData(reinterpret_cast<const UInt8*>(*picture), size_t(GetHandleSize(picture)), destination);
}
