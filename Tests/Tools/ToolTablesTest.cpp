// The tool table loader and the prompts of every line-tool step: each step has a prompt in every snap
// mode, and each prompt's input kind takes what the step expects.
#include "Platform/AppResources.h"
#include "Tools/AreaTools.h"
#include "Tools/AttributeTools.h"
#include "Tools/EraseTools.h"
#include "Tools/CircleTools.h"
#include "Tools/DimensionTools.h"
#include "Tools/EditTools.h"
#include "Tools/LineTools.h"
#include "Tools/PendingCommands.h"
#include "Tools/PointListTools.h"
#include "Tools/TrimTools.h"
#include "Tools/TextTools.h"
#include "Tools/TransformTools.h"
#include "TestSupport.h"
#include "Tools/ToolTables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// Rows that would index outside the tables are refused whole; good rows around them still load.
TEST(ToolTables, LoaderRefusesRowsOutsideTheTables) {
    struct Case {
        const char* row;
        bool taken;
    };
    const Case cases[] = {
        {"0,500,1,11,12,13,14,15,16,", true},
        {"-1,500,0,1,2,3,", false},                                    // negative row
        {"201,500,0,1,2,3,", false},                                   // past the last row
        {"5,500,-1,", false},                                          // negative last entry
        {"5,500,6,1,2,3,4,5,6,7,1,2,3,4,5,6,7,1,2,3,4,5,6,7,", false}, // seven entries a plane
        {"5,500,0,1,2,", false},                                       // a plane short
        {"5,500,0,1,x,3,", false},                                     // not a number
        {"5,500,0,1,-2,3,", false},                                    // no such prompt number
        {"5,70000,0,1,2,3,", false},                                   // icon out of range
        {"5,500,0,1,2,3", false},                                      // the last number without its comma
        {"200,500,0,7,8,9,", true},                                    // a pending command: prompts only
        {"7,-1,0,4,5,6,", true},                                       // no icon: the icon stays
    };
    std::vector<std::string> rows;
    int expected = 0;
    for (const Case& c : cases) {
        rows.push_back(c.row);
        expected += c.taken;
        EXPECT_EQ(LoadToolTableRows({c.row}), c.taken ? 1 : 0) << c.row;
    }
    EXPECT_EQ(LoadToolTableRows(rows), expected);
    EXPECT_EQ(ToolIconTable[0][0], 500);
    EXPECT_EQ(ToolPromptNumber(0, 0, 1), 12);
    EXPECT_EQ(ToolPromptNumber(0, 1, 0), 13);
    EXPECT_EQ(ToolPromptNumber(0, 3, 1), 16); // snap mode 3 reads the third plane
    EXPECT_EQ(ToolPromptNumber(0, 0, 2), kNoPrompt);
    EXPECT_EQ(ToolPromptNumber(200, 2, 0), 9);
    EXPECT_EQ(ToolIconTable[0][7], 0);
    EXPECT_EQ(ToolPromptNumber(5, 0, 0), kNoPrompt);
    EXPECT_EQ(ToolPromptNumber(-1, 0, 0), kNoPrompt);
    EXPECT_EQ(ToolPromptNumber(0, 0, 6), kNoPrompt);
    EXPECT_EQ(ToolIconTable[0][12], 11); // the group's highest tool index
    EXPECT_EQ(ToolGroupHighestIndex(1), 6);
    EXPECT_EQ(ToolGroupHighestIndex(12), -1);
}

struct Prompt {
    int kind;
    std::string text;
};

Prompt PromptOf(SInt16 tool, SInt16 snapMode, SInt16 step) {
    UInt16 item = ToolPromptNumber(tool, snapMode, step);
    if (item == kNoPrompt) return {-1, ""};
    Str255 s;
    GetIndString(s, 129, SInt16(item));
    std::string text = ToStd(s);
    if (text.size() < 4) return {-1, text};
    return {text[0] - '0', text.substr(3)};
}

bool KindAccepts(int kind, StepInput input) {
    switch (input) {
    case StepInput::pick:
        return kind == 0;
    case StepInput::point:
    case StepInput::values:
        return kind == 3;
    case StepInput::integer:
        return kind == 2 || kind == 3;
    case StepInput::text:
        return kind == 1 || kind == 4;
    }
    return false;
}

// Walks a step table, the one its entry runs: each row has a step function and a prompt in every
// snap mode whose input kind takes what the step expects; no step has two rows; and no row has
// prompts past its last step.
void ExpectPromptsFor(ToolStepTable rows, SInt16 firstRow = 0) {
    std::map<SInt16, int> lastStep;
    std::set<std::pair<SInt16, SInt16>> seen;
    for (const ToolStepRow& s : rows) {
        SCOPED_TRACE("row " + std::to_string(s.tool) + " step " + std::to_string(s.step) + " (" + s.prompt +
                     ")");
        EXPECT_NE(s.run, nullptr) << "no step function";
        EXPECT_TRUE(seen.insert({s.tool, s.step}).second) << "a second row for the step";
        const SInt16 row = SInt16(firstRow + s.tool);
        int& last = lastStep.try_emplace(row, -1).first->second;
        last = std::max(last, int(s.step));
        for (SInt16 mode = 0; mode <= 3; ++mode) {
            Prompt p = PromptOf(row, mode, s.step);
            SCOPED_TRACE("snap mode " + std::to_string(mode));
            ASSERT_GE(p.kind, 0) << "no prompt";
            EXPECT_FALSE(p.text.empty());
            EXPECT_TRUE(KindAccepts(p.kind, s.input)) << "kind " << p.kind << ": " << p.text;
        }
    }
    for (auto [row, last] : lastStep)
        for (SInt16 step = SInt16(last + 1); step < kPromptEntryCount; ++step)
            for (SInt16 mode = 0; mode <= 3; ++mode)
                EXPECT_EQ(ToolPromptNumber(row, mode, step), kNoPrompt) << "row " << row << " step " << step;
}

TEST(ToolTables, EveryStepHasAPromptThatTakesItsInput) {
    ResetAppResources();
    InitToolTable();
    ExpectPromptsFor(kLineToolSteps);
    ExpectPromptsFor(kTrimToolSteps, 5 * kToolsPerGroup);
    ExpectPromptsFor(kTextToolSteps, 3 * kToolsPerGroup);
    ExpectPromptsFor(kTransformToolSteps, 6 * kToolsPerGroup);
    ExpectPromptsFor(kPendingCommandSteps);
    for (ToolStepTable table :
         {kPendingSymbolSteps, kPendingKeySteps, kPendingLayerFrameSteps, kPendingValueSteps})
        ExpectPromptsFor(table);
    ExpectPromptsFor(kCircleToolSteps);
    ExpectPromptsFor(kArcToolSteps);
    ExpectPromptsFor(kAttributeToolSteps);
    for (SInt16 tool = 0; tool <= 8; ++tool)
        EXPECT_NE(FindStepRow(kAttributeToolSteps, SInt16(7 * kToolsPerGroup + tool), 0), nullptr)
            << "attribute tool " << tool;
    ExpectPromptsFor(kAreaToolSteps);
    for (SInt16 tool = 0; tool <= ToolGroupHighestIndex(9); ++tool)
        EXPECT_NE(FindStepRow(kAreaToolSteps, SInt16(9 * kToolsPerGroup + tool), 0), nullptr)
            << "area tool " << tool;
    ExpectPromptsFor(kEraseToolSteps);
    for (SInt16 tool = 0; tool <= ToolGroupHighestIndex(8); ++tool)
        EXPECT_NE(FindStepRow(kEraseToolSteps, SInt16(8 * kToolsPerGroup + tool), 0), nullptr)
            << "delete tool " << tool;
    ExpectPromptsFor(kDimensionToolSteps, 4 * kToolsPerGroup);
    // Every dimension tool starts somewhere.
    for (SInt16 tool = 0; tool <= ToolGroupHighestIndex(4); ++tool)
        EXPECT_NE(FindStepRow(kDimensionToolSteps, tool, 0), nullptr) << "dimension tool " << tool;
    for (SInt16 group : {1, 2})
        for (SInt16 tool = 0; tool <= ToolGroupHighestIndex(group); ++tool)
            EXPECT_NE(
                FindStepRow(group == 1 ? kCircleToolSteps : kArcToolSteps, SInt16(12 * group + tool), 0),
                nullptr)
                << "group " << group << " tool " << tool;
    ExpectPromptsFor(kPointListToolSteps);
    for (SInt16 tool = 0; tool <= ToolGroupHighestIndex(10); ++tool)
        EXPECT_NE(FindStepRow(kPointListToolSteps, SInt16(10 * kToolsPerGroup + tool), 0), nullptr)
            << "point-list tool " << tool;
    // Every tool of the group starts somewhere.
    for (SInt16 tool = 0; tool <= ToolGroupHighestIndex(0); ++tool)
        EXPECT_NE(FindStepRow(kLineToolSteps, tool, 0), nullptr) << "tool " << tool;
    for (SInt16 tool = 0; tool <= ToolGroupHighestIndex(5); ++tool)
        EXPECT_NE(FindStepRow(kTrimToolSteps, tool, 0), nullptr) << "trim tool " << tool;
    ExpectPromptsFor(kEditToolSteps);
    for (SInt16 tool = 0; tool <= ToolGroupHighestIndex(11); ++tool)
        EXPECT_NE(FindStepRow(kEditToolSteps, SInt16(11 * kToolsPerGroup + tool), 0), nullptr)
            << "edit tool " << tool;
    for (SInt16 tool = 0; tool < kToolsPerGroup; ++tool)
        EXPECT_EQ(ToolIconTable[0][tool], 1000 + 2 * tool);
}

} // namespace
