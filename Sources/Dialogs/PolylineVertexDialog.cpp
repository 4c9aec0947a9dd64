// The polyline vertex dialog (141) and the drawing's polyline values (187).
#include "Dialogs/PolylineVertexDialog.h"

#include "Model/Formula.h"
#include "Model/PolylineGeometry.h"
#include "Model/Polylines.h"
#include "Other/Alerts.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Model/SharedUtilities.h"

#include <cmath>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kDecimals = 4;

// Millimetres per drawing unit as the drawing shows coordinates: the scale times the unit's factor.
Float64 DisplayFactor(const DocWindowRecord* doc) {
    Float64 scale = doc->settings->drawingScale;
    return (scale > 0 ? scale : 1.0) * UnitDivisor(doc);
}

// Runs the dialog until OK with every field readable, or Cancel.
template <typename Read> bool Run(DialogRef dialog, Read read) {
    for (;;) {
        SInt16 item = 0;
        RunModalDialogStd(dialog, &item);
        if (item == kCancel) return false;
        if (item == kOK && read()) return true;
    }
}

} // namespace

// The field's value; false, with the field selected and the message shown, when it does not evaluate.
bool ReadNumberField(DialogRef dialog, SInt16 item, Float64* value) {
    Str255 text;
    GetItemText(dialog, item, text);
    FormulaList* list = NewFormulaList();
    if (list == nullptr) return false;
    FormulaPi = 3.14159265358979323846;
    FormulaAngleFactor = FormulaPi / 180.0;
    SInt16 error = 0, position = 0;
    ParseFormula(list, text, &error, &position);
    FormulaError = 0;
    Float64 v = error == 0 ? EvalFormulaAt(list, 0) : 0;
    bool ok = error == 0 && FormulaError == 0 && std::isfinite(v);
    DisposeFormulaList(list);
    if (!ok) {
        ShowErrorAlert(kNotANumberMessage, text);
        SelectItemText(dialog, item);
        return false;
    }
    *value = v;
    return true;
}

Boolean PolylineVertexDialog(DocWindowRecord* doc, const PolylineRecord* polyline, SInt16 vertex, Float64* x,
                             Float64* y) {
    const Float64* points = polyline ? PolylinePoints(polyline) : nullptr;
    bool editVertex = points != nullptr && vertex >= 0 && vertex < polyline->pointCount;
    DialogRef dialog = OpenModalDialog(editVertex ? kVertexDialog : kPolylineValuesDialog, Point{0, 0});
    if (dialog == nullptr) return false;
    Float64 factor = DisplayFactor(doc);
    bool ok;
    if (editVertex) {
        SetItemNumber(dialog, kVertexNumber, vertex + 1);
        for (SInt16 unit : {kVertexUnitX, kVertexUnitY, kVertexUnit}) {
            Str255 name;
            UnitName(doc, name);
            SetItemText(dialog, unit, name);
        }
        SetItemLength(doc, dialog, kVertexX, points[2 * vertex] / factor, kDecimals);
        SetItemLength(doc, dialog, kVertexY, points[2 * vertex + 1] / factor, kDecimals);
        SelectItemText(dialog, kVertexX);
        Float64 vx = 0, vy = 0;
        ok = Run(dialog, [&] {
            return ReadNumberField(dialog, kVertexX, &vx) && ReadNumberField(dialog, kVertexY, &vy);
        });
        if (ok) *x = vx * factor, *y = vy * factor;
    } else {
        DocSettings* s = doc->settings;
        Str255 name;
        UnitName(doc, name);
        SetItemText(dialog, kPolylineLengthUnit, name);
        SetItemLength(doc, dialog, kPolylineLengthItem, s->dialog187Value1 / factor, kDecimals);
        SetItemLength(doc, dialog, kPolylineFactorItem, s->dialog187Value2, kDecimals);
        SelectItemText(dialog, kPolylineLengthItem);
        Float64 length = 0, second = 0;
        ok = Run(dialog, [&] {
            return ReadNumberField(dialog, kPolylineLengthItem, &length) &&
                   ReadNumberField(dialog, kPolylineFactorItem, &second);
        });
        if (ok) {
            s->dialog187Value1 = length * factor;
            s->dialog187Value2 = second;
            MarkDocumentChanged(doc);
        }
    }
    CloseModalDialog(dialog, nullptr);
    return ok;
}

Boolean EditPolylineVertex(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 vertex) {
    Float64 x = 0, y = 0;
    if (polyline == nullptr || vertex < 0 || !PolylineVertexDialog(doc, polyline, vertex, &x, &y))
        return false;
    return MovePolylineVertex(doc, polyline, vertex, x, y);
}
