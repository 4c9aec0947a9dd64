// Clipboard contents made as other programs make them.
#include "ClipboardSupport.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

void PutClipboardFlavours(const std::vector<std::pair<std::string, std::string>>& flavours) {
    auto* data = new QMimeData;
    for (const auto& [mime, bytes] : flavours)
        data->setData(QString::fromStdString(mime), QByteArray(bytes.data(), qsizetype(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::string EncodeSolidImage(const char* format, int width, int height, UInt32 rgb) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(rgb));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) return {};
    return std::string(bytes.constData(), size_t(bytes.size()));
}
