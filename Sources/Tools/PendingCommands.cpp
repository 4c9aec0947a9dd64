// The pending-command executor: one step of the pending command per click or confirmed value. The
// current layer and the current key, which the status area posts, are carried out here; the other
// codes wait for their commands.
#include "Tools/PendingCommands.h"

#include "Platform/AppResources.h"
#include "Tools/CommandField.h"
#include "Model/DocumentRecords.h"
#include "Other/NumberFormat.h"
#include "Tools/StatusArea.h"
#include "Tools/ToolState.h"
#include "Other/ZEZUdivari.h"

namespace {

constexpr SInt16 kYesWordsList = 138;
constexpr SInt16 kCurrentLayerLabel = 132;
constexpr SInt16 kCurrentKeyLabel = 133;
constexpr SInt16 kAllKinds = 127;

void WriteCurrentInfo(SInt16 label, SInt16 value) {
    Str255 text;
    GetAppString(label, text);
    WriteInfoLine(text, value);
}

// The layer (key) typed, or that of the element under the cursor, becomes current.
void CurrentLayerOrKeyCommand(ToolStep& s, bool layer) {
    DocWindowRecord* doc = s.doc;
    SInt16 typed = s.typed;
    SInt16 value = layer ? doc->settings->currentLayer : doc->settings->currentGroup;
    if (typed > 0) {
        Float64 entry = 0;
        GetNumericEntry(doc, 0, &entry);
        if (!(layer ? ValidateLayerIndex(entry, &value) : ValidateKeyNumber(entry, &value))) return;
        // A layer typed in is shown even when it was hidden.
        if (layer) {
            MarkDocumentChanged(doc);
            if (!IsLayerVisible(doc->layerVisible, value)) {
                SetLayerVisible(doc->layerVisible, value, true);
                RequestRedraw(doc);
            }
        }
    } else if (typed == 0) {
        if (!PickUpElementAttributes(doc, kAllKinds)) return;
        value = layer ? doc->drawing->tool->picked.layer : doc->drawing->tool->picked.key;
    } else {
        return;
    }
    (layer ? doc->settings->currentLayer : doc->settings->currentGroup) = value;
    WriteCurrentInfo(layer ? kCurrentLayerLabel : kCurrentKeyLabel, value);
    DrawWindowStatusArea(doc);
    EndPendingCommand(doc);
}

void CurrentLayerCommand(ToolStep& s) {
    CurrentLayerOrKeyCommand(s, true);
}

void CurrentKeyCommand(ToolStep& s) {
    CurrentLayerOrKeyCommand(s, false);
}

const ToolStepRow kRows[] = {
    {kCurrentLayerCommand, 0, "layer typed or picked", StepInput::integer, CurrentLayerCommand},
    {kCurrentKeyCommand, 0, "key typed or picked", StepInput::integer, CurrentKeyCommand},
};

} // namespace

constinit const ToolStepTable kPendingCommandSteps{kRows};

void RunPendingCommand(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    const SInt16 code = doc->drawing->toolInput.pendingCommand;
    for (const ToolStepTable* table : {&kPendingCommandSteps, &kPendingSymbolSteps, &kPendingKeySteps,
                                       &kPendingLayerFrameSteps, &kPendingValueSteps})
        if (FindStepRow(*table, code, doc->drawing->toolInput.pendingStep) != nullptr) {
            RunToolStep(doc, *table, code);
            return;
        }
}

const PendingMenuRow* FindPendingMenuRow(SInt16 menu, SInt16 item) {
    for (const PendingMenuRows* rows :
         {&kPendingSymbolMenuRows, &kPendingKeyMenuRows, &kPendingLayerFrameMenuRows, &kPendingValueMenuRows})
        for (const PendingMenuRow& row : *rows)
            if (row.menu == menu && row.item == item) return &row;
    return nullptr;
}

Boolean RunPendingMenuItem(DocWindowRecord* doc, SInt16 menu, SInt16 item) {
    const PendingMenuRow* row = FindPendingMenuRow(menu, item);
    if (row == nullptr) return false;
    if (doc == nullptr) return true;
    if (row->run != nullptr)
        row->run(doc);
    else
        StartPendingCommand(doc, row->code);
    return true;
}

Boolean IsYesAnswer(ConstStr255Param answer) {
    for (SInt16 i = 1; i <= 2; ++i) {
        Str255 yes;
        GetIndString(yes, kYesWordsList, i);
        if (yes[0] > 0 && EqualPStr(yes, answer)) return true;
    }
    return false;
}
