// The drawing as the sorted stored bytes of its elements, kind by kind (an instance with the
// definition it points to): equal snapshots before and after undo and redo mean exactly the drawing.
#pragma once

#include "Model/ElementEncoding.h"
#include "Model/Streams.h"
#include "Model/DocumentRecords.h"

#include <algorithm>
#include <vector>

using DrawingSnapshot = std::vector<std::vector<std::vector<UInt8>>>;

template <typename T, typename Write> std::vector<std::vector<UInt8>> StoredBytesOf(T* head, Write write) {
    std::vector<std::vector<UInt8>> all;
    for (T* e = head->next; e != nullptr; e = e->next) {
        SInt16 s = OpenMemoryStream();
        write(s, e);
        SInt64 size = 0;
        const UInt8* bytes = MemoryStreamData(s, &size);
        all.emplace_back(bytes, bytes + size);
        CloseMemoryStream(s);
    }
    std::sort(all.begin(), all.end());
    return all;
}

inline DrawingSnapshot TakeDrawingSnapshot(const DocWindowRecord* doc) {
    return {StoredBytesOf(doc->lineHead, WriteLineRecord),
            StoredBytesOf(doc->arcHead, WriteCircleRecord),
            StoredBytesOf(doc->textHead, WriteTextRecord),
            StoredBytesOf(doc->dimensionHead, WriteDimensionRecord),
            StoredBytesOf(doc->polylineHead, WritePolylineRecord),
            StoredBytesOf(doc->instanceHead,
                          [](SInt16 s, SymbolInstanceRecord* e) {
                              WriteSymbolInstanceRecord(s, e);
                              StreamWriteBytes(s, &e->definition, sizeof e->definition);
                          }),
            StoredBytesOf(doc->areaHead, WriteAreaRecord)};
}
