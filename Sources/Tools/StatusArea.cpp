// The status bar, the side and snap buttons, the message line, the scale text and the status-bar
// zones of a document window. Everything draws into the window's port at once.
#include "Tools/StatusArea.h"

#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Other/BundleFiles.h"
#include "Platform/CGContext.h"
#include "Model/DocumentRecords.h"
#include "Platform/Events.h"
#include "Platform/Fonts.h"
#include "Platform/Menus.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Platform/QuickDraw.h"
#include "Model/SharedUtilities.h"
#include "Tools/ToolDispatch.h"
#include "Other/ZEZUdivari.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr SInt16 kScaleMenu = 136;
constexpr SInt16 kStatusFontSize = 9;
constexpr SInt16 kStatusBarHeight = 14;
constexpr SInt16 kScaleTextLimit = 7;

// Draws into the document's port and puts the previous port back.
class DocPort {
  public:
    explicit DocPort(DocWindowRecord* doc) {
        GetPort(&saved_);
        if (doc != nullptr && doc->window != nullptr) {
            SetPortWindowPort(doc->window);
            GetPortBounds(GetWindowPort(doc->window), &bounds_);
            ok_ = true;
        }
    }
    ~DocPort() { SetPort(saved_); }
    bool ok() const { return ok_; }
    SInt16 Width() const { return SInt16(bounds_.right - bounds_.left); }
    SInt16 Height() const { return SInt16(bounds_.bottom - bounds_.top); }

  private:
    GrafPtr saved_ = nullptr;
    Rect bounds_{};
    bool ok_ = false;
};

bool IsSymbolWindow(const DocWindowRecord* doc) {
    return doc->drawing->symbolParent != nullptr;
}

void Icon(DocWindowRecord* doc, SInt16 n, SInt16 left, SInt16 top, SInt16 width, SInt16 height) {
    DrawToolIcon(doc->window, n, left, top, width, height);
}

void GreyLine(SInt16 h1, SInt16 v1, SInt16 h2, SInt16 v2) {
    ForeColorLightGray();
    MoveTo(h1, v1);
    LineTo(h2, v2);
    ForeColorBlack();
}

void EraseBox(SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
    Rect r;
    SetRect(&r, left, top, right, bottom);
    EraseRect(&r);
}

void DocumentTextStyle(const DocWindowRecord* doc) {
    TextFont(doc->settings->documentFont);
    TextSize(SInt16(doc->settings->textSize < 1 ? 12 : doc->settings->textSize));
    TextFace(normal);
}

void SystemTextStyle() {
    TextFont(systemFont);
    TextSize(12);
    TextFace(normal);
}

void NumberString(long n, Str255 text) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%ld", n);
    CStrToPStr(text, 256, digits);
}

void PromptOf(DocWindowRecord* doc, Str255 prompt) {
    CommandFieldPrompt(doc, prompt);
}

} // namespace

void ForeColorBlack() {
    ForeColor(blackColor);
}

void ForeColorLightGray() {
    const RGBColor grey = {170 * 257, 170 * 257, 170 * 257};
    RGBForeColor(&grey);
}

void DrawRightAlignedField(SInt16 x, SInt16 baseline, ConstStr255Param text, SInt16 digits) {
    FontInfo info;
    GetFontInfo(&info);
    SInt16 right = SInt16(x + digits * CharWidth('8'));
    EraseBox(x, SInt16(baseline - info.ascent), right, SInt16(baseline + info.descent + info.leading));
    MoveTo(SInt16(right - StringWidth(text)), baseline);
    DrawString(text);
}

void DrawSnapModeButton(DocWindowRecord* doc, Boolean on) {
    DocPort port(doc);
    if (!port.ok()) return;
    SInt16 mode = doc->settings->snapMode;
    Icon(doc, SInt16(kSnapButtonIconBase + 2 * mode + (on ? 1 : 0)), SInt16(kSnapButtonsLeft + 15 * mode),
         SInt16(port.Height() - 15), 16, 16);
}

void DrawSideButton(DocWindowRecord* doc, SInt16 index, Boolean pressed, SInt16 position) {
    DocPort port(doc);
    if (!port.ok()) return;
    SInt16 base = pressed ? kSideButtonPressedBase : kSideButtonIconBase;
    Icon(doc, SInt16(base + index), SInt16(port.Width() - 15), SInt16(-1 + 15 * position), 16, 16);
}

void DrawStatusBarChrome(DocWindowRecord* doc) {
    DocPort port(doc);
    if (!port.ok()) return;
    const DocSettings* s = doc->settings;
    const DrawingRecord* d = doc->drawing;
    const SInt16 H = port.Height(), W = port.Width();
    const SInt16 top = SInt16(H - kStatusBarHeight), bottom = SInt16(H - 1);
    EraseBox(0, top, kSnapButtonsLeft, H);
    Icon(doc, s->penMode == 1 ? kPenModeIcon : kDirectPenIcon, 1, SInt16(H - 12), 11, 10);
    for (SInt16 x : {19, 46, 73})
        GreyLine(x, top, x, bottom);
    if (!IsSymbolWindow(doc)) Icon(doc, kLayerIcon, 75, SInt16(H - 12), 11, 10);
    GreyLine(108, top, 108, bottom);
    if (!IsSymbolWindow(doc)) Icon(doc, kGroupIcon, 110, SInt16(H - 12), 10, 10);
    GreyLine(151, top, 151, bottom);
    Icon(doc, kScalePopUpIcon, 194, SInt16(H - 12), 8, 10);
    for (SInt16 x : {201, 214, 233, 244})
        GreyLine(x, top, x, bottom);
    for (SInt16 m = 0; m < 4; ++m)
        Icon(doc, SInt16(kSnapButtonIconBase + 2 * m + (m == s->snapMode ? 1 : 0)),
             SInt16(kSnapButtonsLeft + 15 * m), SInt16(H - 15), 16, 16);
    for (SInt16 i = 0; i < kSideButtonCount; ++i) {
        SInt16 icon = SInt16(kSideButtonIconBase + i);
        if (i == 0 && IsSymbolWindow(doc)) icon = kSymbolCloseIcon;
        Icon(doc, icon, SInt16(W - 15), SInt16(15 * i - 1), 16, 16);
    }
    DrawWindowStatusArea(doc);
    GreyLine(0, d->layout.messageLineTop, d->layout.rightEdge, d->layout.messageLineTop);
    Icon(doc, CommandFieldHistoryCount(doc) >= 1 ? kHistoryIcon : kNoHistoryIcon,
         SInt16(d->layout.contentWidth - 12), SInt16(d->layout.messageLineTop + 1), 13, 17);
    EraseMessageLine(doc);
}

void DrawWindowStatusArea(DocWindowRecord* doc) {
    DocPort port(doc);
    if (!port.ok()) return;
    DocSettings* s = doc->settings;
    const DrawingRecord* d = doc->drawing;
    const SInt16 H = port.Height();

    EraseBox(262, SInt16(H - 13), 272, SInt16(H - 6));
    EraseBox(235, SInt16(H - 11), 243, SInt16(H - 1));
    Icon(doc, s->markNewLines ? kSwitchOnIcon : kSwitchOffIcon, 235, SInt16(H - 11), 8, 10);
    DrawPickModeIcon(doc->window, SInt16(doc->drawing->toolInput.pickMode));
    Icon(doc, d->attributePresets != nullptr ? kPresetsIcon : kNoPresetsIcon, 203, SInt16(H - 13), 10, 11);
    Icon(doc, SInt16(kStartMarkIconBase + s->startMarkKind), 246, SInt16(H - 11), 13, 10);
    Icon(doc, SInt16(kEndMarkIconBase + s->endMarkKind), 259, SInt16(H - 11), 12, 10);
    Icon(doc, SInt16(kLineStyleIconBase + s->currentLineType), 48, SInt16(H - 14), 24, 14);

    Rect clip;
    SetRect(&clip, 0, SInt16(H - kStatusBarHeight), kSnapButtonsLeft, H);
    ClipRect(&clip);
    TextFont(AppFontNumber());
    TextSize(kStatusFontSize);
    TextFace(normal);
    FontInfo info;
    GetFontInfo(&info);
    const SInt16 baseline = SInt16(H - kStatusBarHeight + info.ascent);

    // In pen mode the pen decides width, pattern and colour before they are shown.
    const SInt16 pen = SInt16(s->currentPen < 1 ? 1 : s->currentPen > 8 ? 8 : s->currentPen);
    if (s->penMode == 1) {
        s->currentPenWidth100 = SInt16(std::lround(s->penWidths[pen - 1] * 100.0));
        s->currentPattern = 0;
        s->currentColor = s->penColors[pen - 1];
    }
    Str255 text;
    NumberString(s->currentPen, text);
    if (s->penMode == 0) ForeColorLightGray();
    DrawRightAlignedField(11, baseline, text, 1);
    ForeColorBlack();

    Float64 width = s->currentPenWidth100 / 100.0;
    FormatReal(width, s->currentPenWidth100 > 999 ? 1 : 2, text);
    if (s->penMode == 1) ForeColorLightGray();
    DrawRightAlignedField(20, baseline, text, 4);
    ForeColorBlack();

    if (!IsSymbolWindow(doc)) {
        NumberString(s->currentLayer, text);
        if (s->currentLayer >= 1000) TextFace(condense);
        DrawRightAlignedField(82, baseline, text, 4);
        TextFace(normal);
        Icon(doc, kLayerIcon, 75, SInt16(H - 12), 11, 10);
        NumberString(s->currentGroup, text);
        DrawRightAlignedField(119, baseline, text, 5);
    }

    ScaleText(doc, s->drawingScale, text);
    if (text[0] > kScaleTextLimit) {
        text[0] = kScaleTextLimit;
        text[kScaleTextLimit] = '.';
    }
    DrawRightAlignedField(153, baseline, text, 7);

    Rect all;
    SetRect(&all, -32767, -32767, 32767, 32767);
    ClipRect(&all);
    GreyLine(0, SInt16(H - 15), kSnapButtonsLeft, SInt16(H - 15));
    ForeColorBlack();
    SystemTextStyle();
}

void ScaleText(DocWindowRecord* doc, Float64 scale, Str255 text) {
    text[0] = 0;
    SInt16 match = 0;
    for (SInt16 i = 1; i <= 33; ++i)
        if (doc != nullptr && scale > 0.0 && doc->drawing->layout.presetScales[i - 1] == scale) match = i;
    if (match != 0) {
        if (MenuRef menu = GetMenuHandle(kScaleMenu)) GetMenuItemText(menu, match, text);
        if (text[0] != 0) return;
    }
    // A scale of 0 or below, or one that is no number, has no ratio.
    if (!(scale > 0.0) || !std::isfinite(scale)) {
        CStrToPStr(text, 256, "?");
        return;
    }
    Float64 v = scale < 1.0 ? 1.0 / scale : scale;
    // 1 / 0.02 is not exactly 50 in binary: whole numbers are taken with a tolerance.
    Float64 nearest = std::round(v);
    char number[64];
    if (std::fabs(v - nearest) <= 1e-9 * std::fmax(1.0, v))
        std::snprintf(number, sizeof number, "%.0f", nearest);
    else
        std::snprintf(number, sizeof number, "%.1f", v);
    char ratio[80];
    std::snprintf(ratio, sizeof ratio, scale < 1.0 ? "1:%s" : "%s:1", number);
    CStrToPStr(text, 256, ratio);
}

void EraseMessageLine(DocWindowRecord* doc) {
    DocPort port(doc);
    if (!port.ok()) return;
    const DrawingRecord* d = doc->drawing;
    EraseBox(0, SInt16(d->layout.messageLineTop + 1), SInt16(d->layout.contentWidth - 13),
             SInt16(d->layout.messageLineTop + 1 + d->layout.statusHeight));
}

void ShowStatusMessage(DocWindowRecord* doc, SInt16 n, Boolean eraseFirst) {
    if (eraseFirst) EraseMessageLine(doc);
    DocPort port(doc);
    if (!port.ok()) return;
    Str255 text;
    GetIndString(text, kMessageList, n);
    DocumentTextStyle(doc);
    ForeColorBlack();
    FontInfo info;
    GetFontInfo(&info);
    MoveTo(2, SInt16(doc->drawing->layout.messageLineTop + info.ascent + 1));
    DrawString(text);
    SystemTextStyle();
}

void DrawCommandField(DocWindowRecord* doc) {
    DocPort port(doc);
    if (!port.ok()) return;
    const DrawingRecord* d = doc->drawing;
    Str255 prompt;
    PromptOf(doc, prompt);
    DocumentTextStyle(doc);
    Rect frame;
    SetRect(&frame, SInt16(StringWidth(prompt) + 2), SInt16(d->layout.messageLineTop + 2),
            SInt16(d->layout.contentWidth - 16), SInt16(d->layout.contentHeight - 1));
    DrawCommandFieldText(doc, &frame);
    SystemTextStyle();
    GreyLine(0, d->layout.messageLineTop, SInt16(d->layout.contentWidth - 1), d->layout.messageLineTop);
}

void UpdateStatusArea(DocWindowRecord* doc, Boolean whole) {
    if (OpenDocumentList == nullptr || doc == nullptr) return;
    const DrawingRecord* d = doc->drawing;
    if (!d->layout.statusDrawingOn || d->output.outputContext != nullptr) return;
    DocPort port(doc);
    if (!port.ok()) return;
    Rect all;
    SetRect(&all, 0, 0, port.Width(), port.Height());
    ClipRect(&all);
    Str255 prompt;
    PromptOf(doc, prompt);
    DocumentTextStyle(doc);
    SInt16 promptWidth = StringWidth(prompt);
    EraseBox(2, SInt16(d->layout.messageLineTop + 1),
             SInt16(whole ? d->layout.contentWidth - 16 : promptWidth + 2),
             SInt16(d->layout.messageLineTop + 1 + d->layout.statusHeight));
    GreyLine(0, d->layout.messageLineTop, SInt16(d->layout.contentWidth - 1), d->layout.messageLineTop);
    FontInfo info;
    GetFontInfo(&info);
    MoveTo(2, SInt16(d->layout.messageLineTop + info.ascent + 1));
    DrawString(prompt);
    SystemTextStyle();
    DrawCommandField(doc);
}

void FillDrawingAreaBackground(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return;
    const DrawingRecord* d = doc->drawing;
    const RGBColor& c = doc->settings->backgroundColor;
    CGrafPtr port = GetWindowPort(doc->window);
    CGContextRef context = d->output.windowContext;
    bool own = context == nullptr;
    if (own && QDBeginCGContext(port, &context) != noErr) return;
    CGContextSetRGBFillColor(context, c.red / 65535.0, c.green / 65535.0, c.blue / 65535.0, 1.0);
    CGContextFillRect(context,
                      CGRectMake(0, d->layout.statusHeight + 16, d->view.viewWidth + 1, d->view.viewHeight));
    CGContextSetRGBFillColor(context, 0, 0, 0, 1.0);
    CGContextSetRGBStrokeColor(context, 0, 0, 0, 1.0);
    if (own) QDEndCGContext(port, &context);
}

void StatusHelpTagText(DocWindowRecord* doc, Point local, Str255 text, Rect* zone) {
    struct Zone {
        SInt16 from, to;
    };
    static const Zone kZones[] = {{1, 19},    {20, 46},   {47, 73},   {74, 108},  {109, 151},
                                  {152, 201}, {202, 214}, {215, 233}, {234, 244}, {245, 258},
                                  {259, 270}, {273, 287}, {288, 302}, {303, 317}, {318, 332}};
    text[0] = 0;
    if (doc == nullptr || doc->window == nullptr) return;
    Rect bounds;
    GetPortBounds(GetWindowPort(doc->window), &bounds);
    SInt16 H = SInt16(bounds.bottom - bounds.top);
    SInt16 top = SInt16(H - kStatusBarHeight), bottom = SInt16(H - 1);
    if (local.v < top || local.v > bottom) return;
    for (SInt16 n = 1; n <= SInt16(sizeof kZones / sizeof kZones[0]); ++n) {
        const Zone& z = kZones[n - 1];
        if (local.h < z.from || local.h > z.to) continue;
        GetIndString(text, kStatusHelpList, n);
        if (zone != nullptr) SetRect(zone, z.from, top, SInt16(z.to + 1), SInt16(bottom + 1));
        return;
    }
}

Boolean StoredMouseInRect(DocWindowRecord* doc, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
    const DrawingRecord* d = doc->drawing;
    return d->layout.mouseH >= left && d->layout.mouseH <= right && d->layout.mouseV >= top &&
           d->layout.mouseV <= bottom;
}

Boolean CheckPointsDistinct(Float64 x0, Float64 y0, Float64 x1, Float64 y1) {
    if (x0 != x1 || y0 != y1) return true;
    ShowErrorStr128(kSamePointsMessage);
    return false;
}

void ShowTimedMessage(ConstStr255Param text) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    DialogRef dialog = OpenStackedDialog(kTimedMessageDialog);
    if (dialog == nullptr) {
        SetPort(saved);
        return;
    }
    WindowRef window = GetDialogWindow(dialog);
    ShowWindow(window);
    SetPortWindowPort(window);
    Rect bounds{};
    GetPortBounds(GetWindowPort(window), &bounds);
    TextFont(0);
    TextSize(12);
    MoveTo(SInt16((bounds.left + bounds.right - StringWidth(text)) / 2),
           SInt16(bounds.bottom - kTimedMessageBaseline));
    DrawString(text);
    UInt32 final = 0;
    Delay(kTimedMessageTicks, &final);
    CloseStackedDialog(dialog);
    SetPort(saved);
}
