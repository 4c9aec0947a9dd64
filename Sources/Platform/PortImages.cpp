// Port pixels compared with a PNG file.
#include "Platform/PortImages.h"
#include "Platform/PlatformWindowInternal.h"

#include <QColor>
#include <QImage>
#include <QString>

long ComparePortWithPNG(CGrafPtr port, const char* referencePath, const char* diffPath) {
    if (!IsValidPort(port) || !referencePath) return -1;
    QImage reference(QString::fromUtf8(referencePath));
    const QImage& actual = *port->image;
    if (reference.isNull() || reference.size() != actual.size()) return -1;
    reference = reference.convertToFormat(QImage::Format_RGB32);
    QImage current = actual.convertToFormat(QImage::Format_RGB32);
    QImage diff(current.size(), QImage::Format_RGB32);
    long differing = 0;
    for (int y = 0; y < current.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(current.constScanLine(y));
        const QRgb* r = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(diff.scanLine(y));
        for (int x = 0; x < current.width(); ++x) {
            bool same = (a[x] & 0xFFFFFF) == (r[x] & 0xFFFFFF);
            differing += !same;
            int grey = 192 + qGray(a[x]) / 4;
            d[x] = same ? qRgb(grey, grey, grey) : qRgb(255, 0, 0);
        }
    }
    if (differing > 0 && diffPath) diff.save(QString::fromUtf8(diffPath), "PNG");
    return differing;
}
