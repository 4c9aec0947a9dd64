// Cursors over Qt's application override cursor; without a Qt application only the choice is kept.
#include "Platform/CursorResources.h"

#include "Platform/AppResources.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <cstring>
#include <map>
#include <memory>
#include <string>

struct ColorCursorRecord {
    SInt16 id;
    QCursor cursor;
};

namespace {

struct CursorSlot {
    Cursor cursor;
    Cursor* pointer;
};

std::map<SInt16, std::unique_ptr<CursorSlot>> gCursorCache;
SInt32 gChangeCount = 0;
std::string gCurrentName = "arrow";

bool HaveGui() {
    return QGuiApplication::instance() != nullptr;
}

void Apply(const QCursor* cursor, const std::string& name) {
    ++gChangeCount;
    gCurrentName = name;
    if (!HaveGui()) return;
    if (!cursor) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    } else if (QGuiApplication::overrideCursor()) {
        QGuiApplication::changeOverrideCursor(*cursor);
    } else {
        QGuiApplication::setOverrideCursor(*cursor);
    }
}

QCursor MakeCursor(const Cursor& c) {
    uchar data[32], mask[32];
    for (int row = 0; row < 16; ++row) {
        data[2 * row] = static_cast<uchar>(c.data[row] >> 8);
        data[2 * row + 1] = static_cast<uchar>(c.data[row]);
        mask[2 * row] = static_cast<uchar>(c.mask[row] >> 8);
        mask[2 * row + 1] = static_cast<uchar>(c.mask[row]);
    }
    QBitmap bits = QBitmap::fromData(QSize(16, 16), data, QImage::Format_Mono);
    QBitmap maskBits = QBitmap::fromData(QSize(16, 16), mask, QImage::Format_Mono);
    return QCursor(bits, maskBits, c.hotSpot.h, c.hotSpot.v);
}

} // namespace

CursHandle GetCursor(SInt16 id) {
    auto it = gCursorCache.find(id);
    if (it != gCursorCache.end()) return &it->second->pointer;
    const CursorDesc* desc = FindCursorResource(id);
    if (!desc) return nullptr;
    auto slot = std::make_unique<CursorSlot>();
    std::memcpy(slot->cursor.data, desc->data, sizeof desc->data);
    std::memcpy(slot->cursor.mask, desc->mask, sizeof desc->mask);
    slot->cursor.hotSpot = desc->hotSpot;
    slot->pointer = &slot->cursor;
    CursHandle h = &slot->pointer;
    gCursorCache[id] = std::move(slot);
    return h;
}

void SetCursor(const Cursor* cursor) {
    if (!cursor) return;
    std::string name = "cursor";
    for (auto& [id, slot] : gCursorCache)
        if (&slot->cursor == cursor) name = "CURS " + std::to_string(id);
    if (!HaveGui()) {
        Apply(nullptr, name);
        return;
    }
    QCursor q = MakeCursor(*cursor);
    Apply(&q, name);
}

void InitCursor() {
    Apply(nullptr, "arrow");
}

CCrsrHandle GetCCursor(SInt16 id) {
    const ColorImageDesc* desc = FindColorCursorResource(id);
    if (!desc) return nullptr;
    auto* record = new ColorCursorRecord{id, QCursor()};
    if (HaveGui()) {
        QImage image(QString::fromStdString(desc->path));
        if (image.isNull()) {
            delete record;
            return nullptr;
        }
        record->cursor = QCursor(QPixmap::fromImage(image), desc->hotSpot.h, desc->hotSpot.v);
    }
    return record;
}

void SetCCursor(CCrsrHandle cursor) {
    if (!cursor) return;
    Apply(&cursor->cursor, "crsr " + std::to_string(cursor->id));
}

void DisposeCCursor(CCrsrHandle cursor) {
    delete cursor;
}

SInt32 CursorChangeCount() {
    return gChangeCount;
}

const char* CurrentCursorName() {
    return gCurrentName.c_str();
}
