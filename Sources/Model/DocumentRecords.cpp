// Layer table bits, the title-block fields, the open-document list and the document-wide flags.
#include "Model/DocumentRecords.h"

#include "Model/DocumentHooks.h"
#include "Other/ZEZUdivari.h"

#include <cstddef>

DocumentHooks gDocumentHooks = {};

void NoHook(DocWindowRecord*) {}
void NoHook(DocWindowRecord*, Boolean) {}
void NoHook(DocWindowRecord*, SInt16, Boolean) {}
void NoHook(ConstStr255Param) {}
void NoHook(SInt16) {}
void NoHook() {}

Boolean NoDocumentWindow(DocWindowRecord*, ConstStr255Param, SInt16) {
    return true;
}

void DrawAtNextRedraw(DocWindowRecord* doc, SInt16, void*) {
    RequestRedraw(doc);
}

DocWindowRecord* LastOpenedDocument() {
    DocWindowRecord* last = OpenDocumentList;
    while (last != nullptr && last->next != nullptr)
        last = last->next;
    return last;
}
DocWindowRecord* OpenDocumentList = nullptr;

bool IsLayerVisible(const LayerVisibilitySet* set, SInt16 layer) {
    if (set == nullptr || layer < 0 || layer >= kLayerCount) return false;
    return (set->bits[layer >> 3] & (0x80 >> (layer & 7))) != 0;
}

void SetLayerVisible(LayerVisibilitySet* set, SInt16 layer, bool visible) {
    if (set == nullptr || layer < 0 || layer >= kLayerCount) return;
    UInt8 bit = UInt8(0x80 >> (layer & 7));
    if (visible)
        set->bits[layer >> 3] |= bit;
    else
        set->bits[layer >> 3] &= UInt8(~bit);
}

const UInt8 kTitleBlockCapacities[kTitleBlockFieldCount] = {19, 3,  3,  255, 255, 19, 19, 19, 63, 19,
                                                            63, 19, 63, 19,  255, 19, 63, 19, 19, 255};

StringPtr TitleBlockField(TitleBlockStrings* block, int n) {
    if (block == nullptr || n < 1 || n > kTitleBlockFieldCount) return nullptr;
    // The fields lie one after another, each its capacity plus the length byte.
    size_t offset = 0;
    for (int i = 0; i < n - 1; ++i)
        offset += size_t(kTitleBlockCapacities[i]) + 1;
    return reinterpret_cast<StringPtr>(block) + offset;
}

bool IsDocumentNameOpen(ConstStr255Param name) {
    for (DocWindowRecord* doc = OpenDocumentList; doc != nullptr; doc = doc->next)
        if (EqualPStr(doc->drawing->documentName, name)) return true;
    return false;
}

SInt16 CountOpenDocuments() {
    SInt16 count = 0;
    for (DocWindowRecord* doc = OpenDocumentList; doc != nullptr; doc = doc->next)
        ++count;
    return count;
}

void MarkDocumentChanged(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr || doc->drawing->changed) return;
    gDocumentHooks.markWindowTitleChanged(doc);
    doc->drawing->changed = 1;
}

void RequestRedraw(DocWindowRecord* doc) {
    if (doc != nullptr && doc->drawing != nullptr) doc->drawing->view.redrawPending = 1;
}
