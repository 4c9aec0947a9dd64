// Dialog 139 and the explosion of the selected instances.
#include "Dialogs/SymbolInstanceDialog.h"

#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Platform/QuickDraw.h"

#include <cmath>

namespace {

void SetItemReal(DialogRef dialog, SInt16 item, Float64 value, SInt16 decimals) {
    Str255 s;
    FormatReal(value, UInt16(decimals < 0 ? 0 : decimals), s);
    SetItemText(dialog, item, s);
}

bool UsableScale(Float64 v) {
    return std::isfinite(v) && v != 0;
}

} // namespace

Boolean SymbolInstanceDialog(DocWindowRecord* doc, SymbolInstanceRecord* instance) {
    if (instance == nullptr || instance->definition == nullptr) return false;
    DialogRef dialog = OpenModalDialog(kSymbolInstanceDialog, Point{0, 0});
    if (dialog == nullptr) return false;
    SInt16 decimals = SInt16(doc->settings->decimals);
    SetItemText(dialog, kSymbolInstanceName, instance->definition->name);
    SetItemReal(dialog, kSymbolInstanceAngle, instance->angle, decimals);
    SetItemReal(dialog, kSymbolInstanceXScale, instance->xScale, decimals);
    SetItemReal(dialog, kSymbolInstanceYScale, instance->yScale, decimals);
    SelectItemText(dialog, kSymbolInstanceAngle);
    SInt16 item = 0;
    Float64 angle = 0, xScale = 1, yScale = 1;
    for (;;) {
        RunModalDialogStd(dialog, &item);
        if (item == kSymbolInstanceCancel) break;
        if (item != kSymbolInstanceOK) continue;
        angle = GetItemFormula(dialog, kSymbolInstanceAngle);
        xScale = GetItemFormula(dialog, kSymbolInstanceXScale);
        yScale = GetItemFormula(dialog, kSymbolInstanceYScale);
        // A scale of 0 would fold the instance away; the user types another.
        SInt16 bad = !std::isfinite(angle)  ? kSymbolInstanceAngle
                     : !UsableScale(xScale) ? kSymbolInstanceXScale
                     : !UsableScale(yScale) ? kSymbolInstanceYScale
                                            : 0;
        if (bad == 0) break;
        SysBeep(1);
        SelectItemText(dialog, bad);
    }
    CloseModalDialog(dialog, nullptr);
    if (item != kSymbolInstanceOK) return false;
    ChangeSymbolInstance(doc, instance, angle, xScale, yScale);
    return true;
}

SInt32 ExplodeSelectedSymbolInstances(DocWindowRecord* doc) {
    SInt32 count = 0;
    bool any = false;
    for (SymbolInstanceRecord* s = doc->instanceHead->next; s != nullptr && !any; s = s->next)
        any = s->selected && s->definition != nullptr;
    if (!any) {
        SysBeep(1);
        return 0;
    }
    BeginUndoStep(doc);
    for (SymbolInstanceRecord* s = doc->instanceHead->next; s != nullptr;) {
        SymbolInstanceRecord* next = s->next;
        if (s->selected && s->definition != nullptr) {
            ExplodeSymbolInstance(doc, s);
            ++count;
        }
        s = next;
    }
    EndUndoStep(doc);
    RequestRedraw(doc);
    return count;
}
