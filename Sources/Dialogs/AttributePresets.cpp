// Applying an attribute preset to the current settings.
#include "Dialogs/AttributePresets.h"

#include "Dialogs/Palettes.h"
#include "Other/DialogLists.h"
#include "Shell/StatusArea.h"
#include "View/WorldPrimitives.h"

#include <cmath>

void ApplyAttributePreset(DocWindowRecord* doc, const AttributePreset* p, int bitCount, Boolean showLayer) {
    if (doc == nullptr || p == nullptr) return;
    DocSettings* s = doc->settings;
    auto has = [&](int n) { return n < bitCount && PresetHasBit(p, n); };
    if (has(0) && p->pen >= 1 && p->pen <= 8) s->currentPen = SInt16(p->pen);
    if (has(1)) s->currentLineType = SInt16(p->lineKind);
    if (has(2) && p->group <= 32000) s->currentGroup = SInt16(p->group);
    // A layer outside the table, as a damaged file may give, is left alone.
    if (has(3) && p->layer < kLayerCount) {
        s->currentLayer = SInt16(p->layer);
        if (showLayer && doc->layerVisible != nullptr &&
            !IsLayerVisible(doc->layerVisible, s->currentLayer)) {
            SetLayerVisible(doc->layerVisible, s->currentLayer, true);
            InvalidateDocWindow(doc);
        }
    }
    if (has(4) && p->scale > 0.0 && std::isfinite(p->scale)) s->drawingScale = p->scale;
    if (has(5)) s->markNewLines = p->lineFlag != 0;
    if (has(7)) s->startMarkKind = p->startMark;
    if (has(8)) s->endMarkKind = p->endMark;
    DrawWindowStatusArea(doc);
    if (has(6) && p->snapMode <= 3 && SInt16(p->snapMode) != s->snapMode) {
        DrawSnapModeButton(doc, false);
        s->snapMode = SInt16(p->snapMode);
        DrawSnapModeButton(doc, true);
    }
}

void DeselectPresetList() {
    if (ListHandle list = PaletteOf(PaletteId::presets).list) DeselectAllCells(list);
}
