// The clipboard over QClipboard: its text, which every text flavour reads and writes, and PDF.
#include "Platform/Clipboard.h"

#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

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
    if (flavor == kScrapFlavorPicture && data != nullptr && data->hasImage()) return noErr;
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
