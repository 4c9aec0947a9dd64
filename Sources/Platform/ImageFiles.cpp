// Image files drawn into ports.
#include "Platform/ImageFiles.h"

#include "Platform/PlatformWindowInternal.h"

#include <QImage>
#include <QPainter>

#include <string>
#include <unordered_map>

namespace {

// The images drawn this way are the program's own pictograms, drawn on every redraw of the chrome:
// each file is read once and kept (a file that cannot be read is remembered as such too).
const QImage& CachedImage(const char* path) {
    static std::unordered_map<std::string, QImage> cache;
    auto it = cache.find(path);
    if (it == cache.end()) it = cache.emplace(path, QImage(QString::fromUtf8(path))).first;
    return it->second;
}

} // namespace

Boolean DrawImageFileInPort(const char* path, CGrafPtr port, const Rect* rect) {
    if (!path || !port || !rect) return false;
    const QImage& image = CachedImage(path);
    if (image.isNull()) return false;
    QImage& target = PlatformPortImage(port);
    {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(rect->left - port->portRect.left, rect->top - port->portRect.top,
                                rect->right - rect->left, rect->bottom - rect->top),
                          image);
    }
    PlatformPortChanged(port, rect);
    return true;
}
