// Tool group 9: the boundary of an area is picked (its outline and holes), then the fill is typed:
// a hatch's spacing, angle and style, a pattern's name, or a shade in percent.
#include "Tools/AreaTools.h"
#include "Other/ToolListText.h"

#include "Model/DocumentRecords.h"
#include "Model/UndoJournal.h"
#include "Platform/AppResources.h"
#include "Platform/MacRoman.h"
#include "Tools/AreaOutlines.h"
#include "Tools/AreaPicks.h"
#include "Dialogs/AreaFillDialogs.h"
#include "Tools/Picking.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr SInt16 kAreaRow = 9 * 12;
constexpr SInt16 kPatternLists[2] = {131, 132};
constexpr SInt16 kHatchFill = -1, kSingleHatchFill = -2, kPatternFill = 0, kShadeFill = 1,
                 kDrawnPatternFill = 2;
enum : SInt16 { kHatchTool = 0, kPatternTool = 1, kShadeTool = 2, kDrawnPatternTool = 3 };

void EnsureDefaults(ToolStateRecord* t) {
    if (t->areaDefaultsSet) return;
    t->areaDefaultsSet = true;
    t->areaHatchSpacing = 5;
    t->areaHatchAngle = 45;
    t->areaHatchStyle = 0;
    t->areaShadePercent = 50;
    for (int family = 0; family < 2; ++family)
        GetIndString(t->areaPatternNames[family], kPatternLists[family], 1);
    // The list items are in the system encoding, the names kept as typed (UTF-8).
    for (Str255& name : t->areaPatternNames) {
        std::string utf8 = PStrToUTF8(name);
        name[0] = UInt8(std::min<size_t>(utf8.size(), 255));
        std::memcpy(name + 1, utf8.data(), name[0]);
    }
}

// The pattern family of the tool: 0 for tool 1, 1 for tool 3.
int Family(SInt16 tool) {
    return tool == kDrawnPatternTool ? 1 : 0;
}

void OfferDefaults(ToolStep& s) {
    ToolStateRecord* t = s.t;
    EnsureDefaults(t);
    const SInt16 tool = CurrentTool();
    if (tool == kHatchTool)
        CommandFieldSetPairInt(s.doc, t->areaHatchSpacing, t->areaHatchAngle, t->areaHatchStyle);
    else if (tool == kShadeTool)
        CommandFieldSetInteger(s.doc, t->areaShadePercent);
    else
        CommandFieldPutUTF8(s.doc, t->areaPatternNames[Family(tool)]);
}

// Steps 0 and 1: the boundary and the holes.
void PickStep(ToolStep& s) {
    CreateAreaFromPicks(s.doc);
    if (s.d->toolInput.pendingStep == 2) OfferDefaults(s);
}

void MakeArea(ToolStep& s, Float64 value, Float64 angle, SInt16 fillKind) {
    BeginUndoStep(s.doc);
    CreateAreaElement(s.doc, value, angle, fillKind, true);
    EndUndoStep(s.doc);
    ResetToolState(s.doc, 0);
}

void HatchStep(ToolStep& s) {
    if (s.typed == 0) return;
    ToolStateRecord* t = s.t;
    EnsureDefaults(t);
    GetNumericEntry(s.doc, 0, &t->areaHatchSpacing);
    GetTypedAngle(s.doc, 1, &t->areaHatchAngle);
    GetTypedInteger(s.doc, 2, &t->areaHatchStyle);
    if (!(t->areaHatchSpacing > 0)) return;
    MakeArea(s, t->areaHatchSpacing, t->areaHatchAngle,
             t->areaHatchStyle == 1 ? kSingleHatchFill : kHatchFill);
}

void PatternStep(ToolStep& s) {
    if (s.typed == 0) return;
    ToolStateRecord* t = s.t;
    EnsureDefaults(t);
    const SInt16 tool = CurrentTool();
    const std::string text = CommandFieldUTF8Text(s.doc);
    // The pattern chooser is not there yet: without a name nothing is made.
    if (text.empty()) return;
    Str255& last = t->areaPatternNames[Family(tool)];
    last[0] = UInt8(std::min<size_t>(text.size(), 255));
    std::memcpy(last + 1, text.data(), last[0]);
    Float64 index = 0;
    if (!FindListItemInText(text, kPatternLists[Family(tool)], &index)) return;
    MakeArea(s, index, 0, tool == kDrawnPatternTool ? kDrawnPatternFill : kPatternFill);
}

void ShadeStep(ToolStep& s) {
    if (s.typed == 0) return;
    ToolStateRecord* t = s.t;
    EnsureDefaults(t);
    GetTypedInteger(s.doc, 0, &t->areaShadePercent);
    t->areaShadePercent = std::clamp<SInt16>(t->areaShadePercent, 0, 100);
    // Whole steps of 5 %: the value is the number of a grey in the list.
    MakeArea(s, Float64(t->areaShadePercent / 5 + 1), 0, kShadeFill);
}

// Tool 4: the fill of the clicked area, in dialog 151.
void FillEditStep(ToolStep& s) {
    if (s.typed != 0) return;
    if (PickArea(s.doc, kPickFind, false) && s.d->cursors.areaCursor != nullptr)
        AreaFillDialog(s.doc, s.d->cursors.areaCursor);
    ResetToolState(s.doc, 0);
}

constexpr ToolStepRow Row(SInt16 tool, SInt16 step, const char* prompt, StepInput input, StepFunction run) {
    return ToolStepRow{SInt16(kAreaRow + tool), step, prompt, input, run};
}

constexpr ToolStepRow kAreaRows[] = {
    Row(kHatchTool, 0, "boundary", StepInput::text, PickStep),
    Row(kHatchTool, 1, "holes", StepInput::text, PickStep),
    Row(kHatchTool, 2, "spacing, angle, style", StepInput::values, HatchStep),
    Row(kPatternTool, 0, "boundary", StepInput::text, PickStep),
    Row(kPatternTool, 1, "holes", StepInput::text, PickStep),
    Row(kPatternTool, 2, "pattern name", StepInput::text, PatternStep),
    Row(kShadeTool, 0, "boundary", StepInput::text, PickStep),
    Row(kShadeTool, 1, "holes", StepInput::text, PickStep),
    Row(kShadeTool, 2, "percentage", StepInput::integer, ShadeStep),
    Row(kDrawnPatternTool, 0, "boundary", StepInput::text, PickStep),
    Row(kDrawnPatternTool, 1, "holes", StepInput::text, PickStep),
    Row(kDrawnPatternTool, 2, "pattern name", StepInput::text, PatternStep),
    Row(kAreaFillTool, 0, "area", StepInput::pick, FillEditStep),
};

} // namespace

constinit const ToolStepTable kAreaToolSteps{kAreaRows};

void ToolGroup9Click(DocWindowRecord* doc) {
    RunToolStep(doc, kAreaToolSteps, SInt16(kAreaRow + CurrentTool()));
}
