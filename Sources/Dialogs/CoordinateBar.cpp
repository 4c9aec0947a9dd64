// The coordinate bar's texts and their drawing into its window: each value field is redrawn only when
// its text changes.
#include "Dialogs/CoordinateBar.h"

#include "Dialogs/Palettes.h"

#include "Files/Preferences.h"
#include "Other/MathPrimitives.h"
#include "Model/DrawingUnits.h"
#include "Other/NumberFormat.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Platform/QuickDraw.h"
#include "Tools/StatusArea.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"

#include <cmath>

namespace {

constexpr unsigned char kDegreeSign = 0xA1; // Mac Roman
constexpr SInt16 kFieldWidth = 68;
constexpr SInt16 kFirstValue = 11, kSecondValue = 91;
constexpr SInt16 kFirstLabel = 1, kSecondLabel = 81, kUnitText = 161, kZoomText = 201;
constexpr SInt16 kGreyDivider1 = 79, kGreyDivider2 = 159, kBlackDivider = 199;
constexpr SInt16 kZoomDigits = 7;

bool Polar(const DocSettings* s) {
    return s->coordinateDisplayMode == 1 || s->coordinateDisplayMode == 3;
}

bool PaperUnits(const DocSettings* s) {
    return s->coordinateDisplayMode == 2 || s->coordinateDisplayMode == 3;
}

Float64 PaperUnitFactor(const DocSettings* s) {
    Float64 f = s->reals978[kPaperUnitFactorSlot];
    return f != 0.0 && std::isfinite(f) ? f : 1.0;
}

void SetText(Str255 dest, const char* text) {
    dest[0] = 0;
    for (const char* c = text; *c != 0 && dest[0] < 255; ++c)
        dest[++dest[0]] = UInt8(*c);
}

void Length(DocWindowRecord* doc, Float64 value, Str255 text) {
    DocSettings* s = doc->settings;
    if (!IsMetricUnit(doc) && s->words1868[kCoordFeetInchesSlot] != 0)
        FormatFeetInches(s->InchesOnly, &s->InchFractionBits, value * UnitToMillimetres(doc), text);
    else
        FormatReal(value, s->decimals, text);
}

WindowRef BarWindow() {
    return GeneralPrefs.coordBarShown != 0 ? PaletteWindowRef(PaletteId::coordBar) : nullptr;
}

// Draws into the bar and puts the previous port back.
class BarPort {
  public:
    explicit BarPort(WindowRef window) : window_(window) {
        GetPort(&saved_);
        if (window_ == nullptr) return;
        SetPortWindowPort(window_);
        TextFont(AppFontNumber());
        TextSize(9);
        TextFace(normal);
        GetWindowPortBounds(window_, &bounds_);
        baseline_ = SInt16(bounds_.bottom - 2);
    }
    ~BarPort() {
        if (window_ != nullptr) TextFace(normal);
        SetPort(saved_);
    }
    bool ok() const { return window_ != nullptr; }
    SInt16 Baseline() const { return baseline_; }
    SInt16 Height() const { return SInt16(bounds_.bottom - bounds_.top); }
    SInt16 Width() const { return SInt16(bounds_.right - bounds_.left); }

  private:
    WindowRef window_;
    GrafPtr saved_ = nullptr;
    Rect bounds_{};
    SInt16 baseline_ = 0;
};

void DrawAt(SInt16 h, SInt16 baseline, ConstStr255Param text) {
    MoveTo(h, baseline);
    DrawString(text);
}

// The text cut to the field's width.
void DrawField(const BarPort& port, SInt16 left, ConstStr255Param text) {
    Rect r;
    SetRect(&r, left, 0, SInt16(left + kFieldWidth), port.Height());
    EraseRect(&r);
    Str255 shown;
    CopyPStr(shown, sizeof shown, text);
    while (shown[0] > 0 && StringWidth(shown) > kFieldWidth)
        --shown[0];
    DrawAt(left, port.Baseline(), shown);
}

void DrawUnit(DocWindowRecord* doc, const BarPort& port) {
    const DocSettings* s = doc->settings;
    Str255 unit;
    if (PaperUnits(s)) {
        CopyPStr(unit, sizeof unit, s->string198);
        const RGBColor red{65535, 0, 0};
        RGBForeColor(&red);
        TextFace(underline);
    } else {
        UnitName(doc, unit);
    }
    Rect r;
    SetRect(&r, kUnitText, 0, kBlackDivider, port.Height());
    EraseRect(&r);
    DrawAt(kUnitText, port.Baseline(), unit);
    TextFace(normal);
    ForeColorBlack();
    if (Polar(s)) {
        Str255 degrees;
        SetText(degrees, " ( )");
        degrees[3] = kDegreeSign;
        DrawString(degrees);
    }
}

void DrawZoom(DocWindowRecord* doc, const BarPort& port) {
    Str255 zoom;
    CoordBarZoomText(doc, zoom);
    DrawRightAlignedField(kZoomText, port.Baseline(), zoom, kZoomDigits);
}

} // namespace

void CoordBarValueTexts(DocWindowRecord* doc, Float64 x, Float64 y, Str255 first, Str255 second) {
    const DocSettings* s = doc->settings;
    const ToolStateRecord* t = doc->drawing->tool;
    if (t != nullptr && t->referenceValid && s->typedCoordsRelative != 0.0) {
        x -= t->referenceX;
        y -= t->referenceY;
    }
    const Float64 scale = s->drawingScale > 0.0 && std::isfinite(s->drawingScale) ? s->drawingScale : 1.0;
    const Float64 unit = UnitDivisor(doc);
    x = x / scale / unit;
    y = y / scale / unit;
    if (PaperUnits(s)) {
        x *= PaperUnitFactor(s);
        y *= PaperUnitFactor(s);
    }
    if (Polar(s)) {
        const Float64 length = std::sqrt(x * x + y * y);
        Float64 angle = std::atan2(y, x) * kRadiansToDegrees;
        if (angle < 0.0) angle += 360.0;
        Length(doc, length, first);
        FormatReal(angle, s->decimals, second);
    } else {
        Length(doc, x, first);
        Length(doc, y, second);
    }
}

void CoordBarZoomText(const DocWindowRecord* doc, Str255 text) {
    const Float64 z = doc->drawing->view.unitsPerPixel * 72.0 / 25.4;
    if (z > 1000.0) {
        SetText(text, "+++");
    } else if (!(z >= 0.001)) {
        SetText(text, "---");
    } else {
        FormatReal(100.0 / z, 1, text);
        AppendChar(text, 256, '%');
    }
}

void CoordBarLabels(const DocWindowRecord* doc, Str255 first, Str255 second) {
    if (Polar(doc->settings)) {
        SetText(first, "l:");
        SetText(second, " :");
        second[1] = kDegreeSign;
    } else {
        SetText(first, "x:");
        SetText(second, "y:");
    }
}

void ShowCursorPosition(DocWindowRecord* doc, Float64 x, Float64 y) {
    if (doc == nullptr) return;
    BarPort port(BarWindow());
    if (!port.ok()) return;
    Str255 texts[2];
    CoordBarValueTexts(doc, x, y, texts[0], texts[1]);
    const SInt16 lefts[2] = {kFirstValue, kSecondValue};
    for (int i = 0; i < 2; ++i) {
        if (texts[i][0] > 31) texts[i][0] = 31;
        if (EqualPStr(texts[i], doc->drawing->coordBarTexts[i])) continue;
        DrawField(port, lefts[i], texts[i]);
        CopyPStr(doc->drawing->coordBarTexts[i], sizeof(Str31), texts[i]);
    }
}

void ShowPixelPosition(DocWindowRecord* doc, SInt16 h, SInt16 v) {
    if (doc == nullptr || GeneralPrefs.coordBarShown == 0) return;
    const DrawingViewState& view = doc->drawing->view;
    Float64 x = h * view.unitsPerPixel + view.originX;
    Float64 y = v * view.unitsPerPixel + view.originY;
    SnapToGrid(doc, &x, &y);
    ShowCursorPosition(doc, x, y);
}

void ShowCoordValue(DocWindowRecord* doc, Float64 value) {
    if (doc == nullptr) return;
    BarPort port(BarWindow());
    if (!port.ok()) return;
    Rect all;
    SetRect(&all, 0, 0, port.Width(), port.Height());
    EraseRect(&all);
    Str255 text;
    FormatReal(value, doc->settings->decimals, text);
    AppendChar(text, sizeof text, kDegreeSign);
    DrawAt(1, port.Baseline(), text);
    // The fields are gone: the next position draws both again.
    doc->drawing->coordBarTexts[0][0] = doc->drawing->coordBarTexts[1][0] = 0;
}

void ShowZoomPercent(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    BarPort port(BarWindow());
    if (port.ok()) DrawZoom(doc, port);
}

void UpdateCoordBar(DocWindowRecord* doc) {
    BarPort port(BarWindow());
    if (!port.ok()) return;
    Rect all;
    SetRect(&all, 0, 0, port.Width(), port.Height());
    EraseRect(&all);
    ForeColorLightGray();
    for (SInt16 x : {kGreyDivider1, kGreyDivider2}) {
        MoveTo(x, 0);
        LineTo(x, port.Height());
    }
    ForeColorBlack();
    MoveTo(kBlackDivider, 0);
    LineTo(kBlackDivider, port.Height());
    if (doc == nullptr || OpenDocumentList == nullptr) return;
    Str255 first, second;
    CoordBarLabels(doc, first, second);
    DrawAt(kFirstLabel, port.Baseline(), first);
    DrawAt(kSecondLabel, port.Baseline(), second);
    DrawUnit(doc, port);
    DrawZoom(doc, port);
    // The values are drawn again at the next move.
    doc->drawing->coordBarTexts[0][0] = doc->drawing->coordBarTexts[1][0] = 0;
}
