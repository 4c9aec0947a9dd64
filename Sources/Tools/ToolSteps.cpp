// The step-table lookup shared by the tool groups and the pending commands.
#include "ToolSteps.h"

#include "DocumentRecords.h"
#include "ToolState.h"

const ToolStepRow* FindStepRow(ToolStepTable rows, SInt16 tool, SInt16 step) {
    for (const ToolStepRow& row : rows)
        if (row.tool == tool && row.step == step) return &row;
    return nullptr;
}

void RunToolStep(DocWindowRecord* doc, ToolStepTable rows, SInt16 tool) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    const ToolStepRow* row = FindStepRow(rows, tool, doc->drawing->pendingStep);
    if (row == nullptr || row->run == nullptr) return;
    ToolStep s{doc, doc->drawing, ToolStateOf(doc), TypedValueCount(doc)};
    if (s.t == nullptr) return;
    row->run(s);
}
