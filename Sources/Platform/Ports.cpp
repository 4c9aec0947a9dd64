// Ports: their images and drawing state, the current port, offscreen worlds, CopyBits and CopyMask,
// and reading a port's pixels (for tests and PNG output).
#include "Platform/QuickDrawInternal.h"

#include <QImage>
#include <QRegion>
#include <algorithm>
#include <set>

namespace {
GrafPtr gCurrent = nullptr;
std::set<GrafPtr> gPorts;

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

SInt16 Grey(QRgb p) {
    return SInt16((qRed(p) * 299 + qGreen(p) * 587 + qBlue(p) * 114 + 500) / 1000);
}

// The source rectangle's pixels at the size of the destination rectangle.
QImage SourcePixels(CGrafPtr source, const Rect& sourceRect, const Rect& destRect) {
    QImage part =
        source->image->copy(ToQRect(sourceRect).translated(-source->portRect.left, -source->portRect.top));
    QSize size(destRect.right - destRect.left, destRect.bottom - destRect.top);
    if (part.size() != size) part = part.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return part.convertToFormat(QImage::Format_RGB32);
}
} // namespace

OpaqueGrafPort::OpaqueGrafPort(SInt16 width, SInt16 height, SInt16 depth_)
    : image(
          std::make_unique<QImage>(std::max<int>(1, width), std::max<int>(1, height), QImage::Format_RGB32)),
      depth(depth_), portRect{0, 0, height, width} {
    image->fill(Qt::white);
    clipRgn = NewRgn();
    SetRectRgn(clipRgn, -32767, -32767, 32767, 32767);
    visRgn = NewRgn();
    RectRgn(visRgn, &portRect);
    gPorts.insert(this);
}

OpaqueGrafPort::~OpaqueGrafPort() {
    gPorts.erase(this);
    if (gCurrent == this) gCurrent = nullptr;
    DisposeRgn(clipRgn);
    DisposeRgn(visRgn);
}

void OpaqueGrafPort::Resize(SInt16 width, SInt16 height) {
    width = std::max<SInt16>(1, width);
    height = std::max<SInt16>(1, height);
    if (width == portRect.right - portRect.left && height == portRect.bottom - portRect.top) return;
    auto bigger = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    bigger->fill(Qt::white);
    int w = std::min<int>(width, image->width()), h = std::min<int>(height, image->height());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const UInt32*>(image->constScanLine(y)), w,
                    reinterpret_cast<UInt32*>(bigger->scanLine(y)));
    image = std::move(bigger);
    portRect.right = SInt16(portRect.left + width);
    portRect.bottom = SInt16(portRect.top + height);
    RectRgn(visRgn, &portRect);
}

GrafPtr CurrentPort() {
    return gCurrent;
}

QImage& PlatformPortImage(CGrafPtr port) {
    return *port->image;
}

void SetPort(GrafPtr port) {
    gCurrent = port && gPorts.count(port) ? port : nullptr;
}

void GetPort(GrafPtr* port) {
    if (port) *port = gCurrent;
}

Rect* GetPortBounds(CGrafPtr port, Rect* bounds) {
    if (bounds) *bounds = IsValidPort(port) ? port->portRect : Rect{0, 0, 0, 0};
    return bounds;
}

Boolean IsValidPort(CGrafPtr port) {
    return port && gPorts.count(port) != 0;
}

// Offscreen worlds.

OSErr NewGWorld(GWorldPtr* world, SInt16 depth, const Rect* bounds) {
    if (!world) return paramErr;
    *world = nullptr;
    if (!bounds || EmptyRect(bounds)) return paramErr;
    auto* port =
        new OpaqueGrafPort(SInt16(bounds->right - bounds->left), SInt16(bounds->bottom - bounds->top),
                           depth <= 8 && depth > 0 ? depth : 32);
    if (port->image->isNull()) {
        delete port;
        return memFullErr;
    }
    port->portRect = *bounds;
    RectRgn(port->visRgn, bounds);
    *world = port;
    return noErr;
}

void DisposeGWorld(GWorldPtr world) {
    if (IsValidPort(world) && !world->window) delete world;
}

void GetGWorld(CGrafPtr* port) {
    GetPort(port);
}

void SetGWorld(CGrafPtr port) {
    SetPort(port);
}

SInt16 GetGWorldDepth(GWorldPtr world) {
    return IsValidPort(world) ? world->depth : 0;
}

UInt32* GetGWorldPixels(GWorldPtr world, SInt32* rowBytes) {
    if (!IsValidPort(world)) return nullptr;
    if (rowBytes) *rowBytes = SInt32(world->image->bytesPerLine());
    return reinterpret_cast<UInt32*>(world->image->bits());
}

Boolean LockGWorldPixels(GWorldPtr world) {
    return IsValidPort(world);
}

void UnlockGWorldPixels(GWorldPtr) {}

OSErr NewOffscreenGWorld(GWorldPtr* world, SInt16 width, SInt16 height, SInt16 depth, SInt16) {
    Rect bounds{0, 0, height, width};
    return NewGWorld(world, depth, &bounds);
}

void DisposeOffscreenGWorld(GWorldPtr* world) {
    if (!world) return;
    DisposeGWorld(*world);
    *world = nullptr;
}

// Copying pixels.

void CopyBits(CGrafPtr source, CGrafPtr destination, const Rect* sourceRect, const Rect* destRect,
              SInt16 mode, RgnHandle mask) {
    if (!IsValidPort(source) || !IsValidPort(destination) || !sourceRect || !destRect) return;
    if (EmptyRect(sourceRect) || EmptyRect(destRect)) return;
    QImage src = SourcePixels(source, *sourceRect, *destRect);
    QRegion area = RegionOfRect(*destRect).intersected(PortDrawableRegion(destination));
    if (mask) area &= PlatformRegion(mask);
    if (area.isEmpty()) return;
    QImage& dst = *destination->image;
    int ox = destination->portRect.left, oy = destination->portRect.top;
    UInt32 white = 0xFFFFFFFFu, bg = PortPixel(destination, destination->bgColour);
    bool grey = destination->depth <= 8;
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* row = reinterpret_cast<UInt32*>(dst.scanLine(y - oy));
            auto* srow = reinterpret_cast<const UInt32*>(src.constScanLine(y - destRect->top));
            for (int x = r.left(); x <= r.right(); ++x) {
                UInt32 s = srow[x - destRect->left] | 0xFF000000u;
                if (grey) {
                    UInt32 g = UInt32(Grey(s));
                    s = 0xFF000000u | (g << 16) | (g << 8) | g;
                }
                UInt32& d = row[x - ox];
                switch (mode) {
                case srcOr:
                    if (s != white) d = s;
                    break;
                case srcXor:
                    // Black source inverts, white leaves the destination.
                    d ^= ~s & 0x00FFFFFFu;
                    break;
                case srcBic:
                    if (s != white) d = bg;
                    break;
                case transparent:
                    if (s != bg) d = s;
                    break;
                default:
                    d = s;
                    break;
                }
            }
        }
    }
    PlatformPortChanged(destination, destRect);
}

void CopyMask(CGrafPtr source, CGrafPtr mask, CGrafPtr destination, const Rect* sourceRect,
              const Rect* maskRect, const Rect* destRect) {
    if (!IsValidPort(source) || !IsValidPort(mask) || !IsValidPort(destination) || !sourceRect || !maskRect ||
        !destRect)
        return;
    if (EmptyRect(sourceRect) || EmptyRect(maskRect) || EmptyRect(destRect)) return;
    QImage src = SourcePixels(source, *sourceRect, *destRect);
    QImage m = SourcePixels(mask, *maskRect, *destRect);
    QRegion area = RegionOfRect(*destRect).intersected(PortDrawableRegion(destination));
    QImage& dst = *destination->image;
    int ox = destination->portRect.left, oy = destination->portRect.top;
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* row = reinterpret_cast<UInt32*>(dst.scanLine(y - oy));
            auto* srow = reinterpret_cast<const UInt32*>(src.constScanLine(y - destRect->top));
            auto* mrow = reinterpret_cast<const UInt32*>(m.constScanLine(y - destRect->top));
            for (int x = r.left(); x <= r.right(); ++x)
                if (Grey(mrow[x - destRect->left]) < 128)
                    row[x - ox] = srow[x - destRect->left] | 0xFF000000u;
        }
    }
    PlatformPortChanged(destination, destRect);
}

Boolean SavePortAsPNG(CGrafPtr port, const char* path) {
    if (!IsValidPort(port) || !path) return false;
    return port->image->save(QString::fromUtf8(path), "PNG");
}

RGBColor GetPortPixel(CGrafPtr port, SInt16 h, SInt16 v) {
    if (!IsValidPort(port)) return RGBColor{0, 0, 0};
    int x = h - port->portRect.left, y = v - port->portRect.top;
    if (x < 0 || y < 0 || x >= port->image->width() || y >= port->image->height()) return RGBColor{0, 0, 0};
    QRgb p = port->image->pixel(x, y);
    return RGBColor{UInt16(qRed(p) * 257), UInt16(qGreen(p) * 257), UInt16(qBlue(p) * 257)};
}
