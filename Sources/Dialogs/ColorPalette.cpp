// The colour/pen palette's clicks. Its drawing (cells, current colour bar) belongs to the window
// chrome and is a stand-in here that redraws the whole palette.
#include "Dialogs/ColorPalette.h"

#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"
#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Platform/ColorPicker.h"
#include "Platform/Controls.h"
#include "Shell/StartupShutdown.h"
#include "Tools/AttributeTools.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"

#include <algorithm>

namespace {

constexpr SInt16 kCellSize = 7;
constexpr SInt16 kCellsPerRow = 16;
constexpr SInt16 kCustomColorIndex = -1; // 65535 as stored
constexpr SInt16 kTypedColorCommand = 163;
constexpr SInt16 kPenModeMessage = 54;
constexpr SInt16 kPickerPrompt = 230;

bool AttributeColourStep(const DocWindowRecord* doc) {
    return CurrentToolGroup() == 7 && CurrentTool() == 4 && doc->drawing->toolInput.pendingCommand == 0 &&
           doc->drawing->toolInput.pendingStep == 0;
}

// After a colour was set: the bar redrawn; a waiting attribute tool takes the colour; in pen mode the
// pens decide the colour, which the user is told.
void ColourTaken(DocWindowRecord* doc, bool pick) {
    DrawCurrentColorSwatch(doc);
    if (pick) OfferAttributeValue(doc, 4, 0, &doc->settings->currentColor);
    if (doc->settings->penMode == 1) ShowErrorAlert(kPenModeMessage, reinterpret_cast<const UInt8*>("\x00"));
}

} // namespace

RGBColor SystemColorAt(SInt16 index) {
    static const UInt16 kRamp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    index = std::clamp<SInt16>(index, 0, 255);
    auto c = [](int byte) { return UInt16(byte * 257); };
    if (index < 215)
        return {c((5 - index / 36) * 0x33), c((5 - index / 6 % 6) * 0x33), c((5 - index % 6) * 0x33)};
    if (index == 255) return {0, 0, 0};
    const int ramp = (index - 215) / 10, step = kRamp[(index - 215) % 10];
    switch (ramp) {
    case 0:
        return {c(step), 0, 0};
    case 1:
        return {0, c(step), 0};
    case 2:
        return {0, 0, c(step)};
    default:
        return {c(step), c(step), c(step)};
    }
}

RGBColor ShownColorAt(const DocWindowRecord* doc, SInt16 index) {
    index = std::clamp<SInt16>(index, 0, 255);
    return doc->settings->colorTableChoice != 0 ? SystemColorAt(index) : ElementPalette[index];
}

SInt16 ColorCellAt(Point local) {
    if (local.v < 0) return -1;
    const SInt16 row = SInt16(local.v / kCellSize);
    if (row >= kCellsPerRow) return -1;
    const SInt16 column = std::clamp<SInt16>(SInt16(local.h / kCellSize), 0, kCellsPerRow - 1);
    return SInt16(kCellsPerRow * row + column);
}

void DrawColorCell(SInt16, const RGBColor&, Boolean) {
    InvalidatePalette(PaletteId::colors);
}

void DrawCurrentColorSwatch(DocWindowRecord*) {
    InvalidatePalette(PaletteId::colors);
}

void ColorPaletteClick(DocWindowRecord* doc, Point local, UInt16) {
    if (doc == nullptr || OpenDocumentList == nullptr) return;
    WindowRef window = PaletteWindowRef(PaletteId::colors);
    if (window == nullptr) return;
    SetPortWindowPort(window);
    DocSettings* s = doc->settings;
    const bool pick = AttributeColourStep(doc);
    const PaletteWindow& p = PaletteOf(PaletteId::colors);
    ControlRef control = nullptr;
    FindControl(local, window, &control);
    if (control != nullptr && control == p.buttons[0]) {
        if (TrackControl(control, local, nullptr) == 0) return;
        if (s->currentColorIndex < 256) DrawColorCell(SInt16(s->currentColorIndex), s->currentColor, false);
        Str255 prompt;
        GetIndString(prompt, 5000, kPickerPrompt);
        RGBColor chosen = s->currentColor;
        if (!GetColor(Point{0, 0}, prompt, &s->currentColor, &chosen)) return;
        s->currentColor = chosen;
        s->currentColorIndex = UInt16(kCustomColorIndex);
        ColourTaken(doc, pick);
        return;
    }
    if (control != nullptr && control == p.buttons[1]) {
        if (TrackControl(control, local, nullptr) == 0) return;
        StartPendingCommand(doc, kTypedColorCommand);
        CommandFieldSetIntTriple(doc, s->currentColor.red >> 8, s->currentColor.green >> 8,
                                 s->currentColor.blue >> 8);
        return;
    }
    if (control != nullptr) return;
    const SInt16 index = ColorCellAt(local);
    if (index < 0) return;
    if (index != SInt16(s->currentColorIndex) || pick) {
        if (s->currentColorIndex < 256) DrawColorCell(SInt16(s->currentColorIndex), s->currentColor, false);
        s->currentColorIndex = UInt16(index);
        s->currentColor = ShownColorAt(doc, index);
        DrawColorCell(index, s->currentColor, true);
    }
    ColourTaken(doc, pick);
}
