// Image files drawn into ports.
#include "ImageFiles.h"

#include "PlatformWindowInternal.h"

#include <QImage>
#include <QPainter>

Boolean DrawImageFileInPort(const char* path, CGrafPtr port, const Rect* rect) {
    if (!path || !port || !rect) return false;
    QImage image(QString::fromUtf8(path));
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
