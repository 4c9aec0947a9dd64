#include "Tools/AreaPicks.h"

#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Platform/MemoryManager.h"
#include "Tools/ToolState.h"

void CreateAreaFromPicks(DocWindowRecord*) {}

Boolean TraceAreaOutline(DocWindowRecord*) {
    return false;
}

Boolean AppendPickRecord(DocWindowRecord*, UInt16, void*, Float64, Float64, SInt16) {
    return false;
}

void AddPolylineRunPicks(DocWindowRecord*, PolylineRecord*, SInt16, SInt16) {}

void RemoveLastPick(DocWindowRecord* doc) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr || t->pickList == nullptr || t->pickCount <= 0) return;
    Size count = GetHandleSize(t->pickList) / Size(sizeof(AreaPickRecord));
    if (count <= 0) return;
    auto* picks = reinterpret_cast<AreaPickRecord*>(*t->pickList);
    AreaPickRecord& last = picks[count - 1];
    if (last.part == kSegmentLinePart && last.kind == 0) {
        auto* line = static_cast<LineRecord*>(last.element);
        DisposeLineRecord(&line);
    }
    if (count == 1) {
        DisposeHandle(t->pickList);
        t->pickList = nullptr;
    } else {
        SetHandleSize(t->pickList, (count - 1) * Size(sizeof(AreaPickRecord)));
    }
    t->pickCount = SInt16(count - 1);
}
