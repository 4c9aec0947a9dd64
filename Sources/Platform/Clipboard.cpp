// The clipboard over QClipboard: its text, which every text flavour reads and writes, PDF, and its
// pictures: QuickDraw pictures as they are, images (PNG, TIFF, ...) turned into bitmap pictures.
#include "Platform/Clipboard.h"

#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>

#include <cstring>

namespace {

QClipboard* SystemClipboard() {
    // Without a GUI application (the model and file tests) there is no clipboard.
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? QGuiApplication::clipboard()
               : nullptr;
}

const QString kPdfMime = QStringLiteral("application/pdf");

bool IsTextFlavor(ResType flavor) {
    return flavor == kScrapFlavorText || flavor == kScrapFlavorUnicode ||
           flavor == kScrapFlavorStyledUnicode || flavor == kScrapFlavorUTF8;
}

bool HasText(QClipboard* clipboard) {
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    return data != nullptr && data->hasText();
}

// What other programs call a QuickDraw picture on the clipboard.
const QString kPictMimes[] = {QStringLiteral("image/x-pict"), QStringLiteral("image/pict")};
// Bitmap pictures hold at most this many pixels a side.
constexpr int kLargestPictureSide = 4095;

// The first image format of the clipboard that can be read (PNG, TIFF, ...); empty when none is.
QString ReadableImageFormat(const QMimeData* data) {
    static const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    for (const char* preferred : {"image/png", "image/tiff"})
        if (data->hasFormat(QLatin1String(preferred)) && readable.contains(preferred))
            return QLatin1String(preferred);
    for (const QString& format : data->formats())
        if (format.startsWith(QLatin1String("image/")) && readable.contains(format.toLatin1())) return format;
    return {};
}

bool HasPicture(const QMimeData* data) {
    if (data == nullptr) return false;
    for (const QString& mime : kPictMimes)
        if (data->hasFormat(mime)) return true;
    return data->hasImage() || !ReadableImageFormat(data).isEmpty();
}

// A QuickDraw picture as another program put it there: bare, or behind the 512 bytes of a file header.
std::string QuickDrawPicture(const QMimeData* data) {
    for (const QString& mime : kPictMimes) {
        if (!data->hasFormat(mime)) continue;
        const QByteArray bytes = data->data(mime);
        const auto* b = reinterpret_cast<const UInt8*>(bytes.constData());
        const size_t n = size_t(bytes.size());
        if (PictureFitsData(b, n)) return std::string(bytes.constData(), n);
        if (n > 512 && PictureFitsData(b + 512, n - 512))
            return std::string(bytes.constData() + 512, n - 512);
    }
    return {};
}

// An image made a bitmap picture: transparent parts on white, too large a one scaled down.
std::string ImageAsPicture(QImage image) {
    if (image.isNull()) return {};
    if (image.width() > kLargestPictureSide || image.height() > kLargestPictureSide)
        image = image.scaled(kLargestPictureSide, kLargestPictureSide, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    if (image.width() < 2) image = image.scaled(2, image.height());
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    PicHandle picture =
        NewBitmapPicture(reinterpret_cast<const UInt32*>(opaque.constBits()), SInt32(opaque.bytesPerLine()),
                         SInt16(opaque.width()), SInt16(opaque.height()));
    if (picture == nullptr) return {};
    std::string bytes(*picture, size_t(GetHandleSize(picture)));
    DisposeHandle(picture);
    return bytes;
}

std::string ClipboardPicture(const QMimeData* data) {
    if (data == nullptr) return {};
    std::string picture = QuickDrawPicture(data);
    if (!picture.empty()) return picture;
    const QString format = ReadableImageFormat(data);
    QImage image;
    if (!format.isEmpty()) image.loadFromData(data->data(format));
    if (image.isNull() && data->hasImage()) image = qvariant_cast<QImage>(data->imageData());
    return ImageAsPicture(image);
}

} // namespace

OSStatus ClearCurrentScrap() {
    if (QClipboard* clipboard = SystemClipboard()) clipboard->clear();
    return noErr;
}

Boolean ScrapHasText() {
    return HasText(SystemClipboard());
}

OSStatus ScrapFlavorAvailable(ResType flavor) {
    QClipboard* clipboard = SystemClipboard();
    if (clipboard == nullptr) return kScrapFlavorMissing;
    if (IsTextFlavor(flavor)) return HasText(clipboard) ? noErr : kScrapFlavorMissing;
    const QMimeData* data = clipboard->mimeData();
    if (flavor == kScrapFlavorPicture && HasPicture(data)) return noErr;
    if (flavor == kScrapFlavorPDF && data != nullptr && data->hasFormat(kPdfMime)) return noErr;
    return kScrapFlavorMissing;
}

OSStatus PutScrapData(Size size, ResType flavor, const void* bytes) {
    QClipboard* clipboard = SystemClipboard();
    if (clipboard == nullptr || size < 0 || (size > 0 && bytes == nullptr)) return kScrapFlavorMissing;
    const char* chars = static_cast<const char*>(bytes);
    QString text;
    if (flavor == kScrapFlavorText) {
        text = QString::fromStdString(MacRomanToUTF8(std::string_view(chars, size_t(size))));
    } else if (flavor == kScrapFlavorUTF8) {
        text = QString::fromUtf8(chars, qsizetype(size));
    } else if (flavor == kScrapFlavorUnicode) {
        std::u16string units(size_t(size) / 2, u'\0');
        if (!units.empty()) std::memcpy(units.data(), chars, units.size() * 2);
        text = QString::fromStdU16String(units);
    } else if (flavor == kScrapFlavorPDF) {
        auto* data = new QMimeData;
        data->setData(kPdfMime, QByteArray(chars, qsizetype(size)));
        clipboard->setMimeData(data);
        return noErr;
    } else {
        return kScrapFlavorMissing;
    }
    clipboard->setText(text);
    return noErr;
}

OSStatus PrvGetScrap(Handle h, ResType flavor) {
    QClipboard* clipboard = SystemClipboard();
    if (h != nullptr && flavor == kScrapFlavorPicture) {
        const std::string picture = ClipboardPicture(clipboard != nullptr ? clipboard->mimeData() : nullptr);
        if (picture.empty()) return kScrapFlavorMissing;
        SetHandleSize(h, Size(picture.size()));
        if (MemError() != noErr) return MemError();
        std::memcpy(*h, picture.data(), picture.size());
        return noErr;
    }
    if (h == nullptr || !IsTextFlavor(flavor) || !HasText(clipboard)) return kScrapFlavorMissing;
    QString text = clipboard->text();
    std::string bytes;
    if (flavor == kScrapFlavorText) {
        bytes = UTF8ToMacRoman(text.toStdString());
    } else if (flavor == kScrapFlavorUnicode || flavor == kScrapFlavorStyledUnicode) {
        std::u16string units = text.toStdU16String();
        bytes.assign(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    } else {
        bytes = text.toStdString();
    }
    SetHandleSize(h, Size(bytes.size()));
    if (MemError() != noErr) return MemError();
    if (!bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
    return noErr;
}

std::string_view CutUTF8(std::string_view text, Size capacity) {
    if (capacity <= 0) return {};
    if (text.size() <= size_t(capacity)) return text;
    size_t end = size_t(capacity);
    // Back off the continuation bytes of a character the limit would split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string GetScrapTextUTF8(Size capacity) {
    QClipboard* clipboard = SystemClipboard();
    if (!HasText(clipboard)) return {};
    // QString gives well-formed UTF-8, whatever the owner of the clipboard put there.
    std::string text = clipboard->text().toStdString();
    return std::string(CutUTF8(text, capacity));
}

std::string GetScrapBytes(ResType flavor) {
    QClipboard* clipboard = SystemClipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (flavor != kScrapFlavorPDF || data == nullptr || !data->hasFormat(kPdfMime)) return {};
    QByteArray bytes = data->data(kPdfMime);
    return std::string(bytes.constData(), size_t(bytes.size()));
}
