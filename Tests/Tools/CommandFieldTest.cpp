// The command field without a window: prompts by snap mode, typed values and formulas with relative
// input, refused fifth values, formula errors, the characters each input kind takes, and the history.
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "ToolFixture.h"
#include "Other/ZEZUdivari.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CommandFieldTest : public ToolTest {
  protected:
    CommandFieldRecord* f = nullptr;
    void SetUp() override {
        ToolTest::SetUp();
        SelectTool(0); // step 0 takes a point: the field is open for numbers
        f = CommandFieldOf(doc);
    }
    // The field's text evaluated as Return would.
    void Commit(const std::string& text) {
        CommandFieldSetText(doc, PStr(text));
        CommitCommandField(doc);
    }
    std::string Text() {
        Str255 t;
        CommandFieldGetText(doc, t);
        return ToStd(t);
    }
    std::string LastAlert() const {
        return RecordedAlerts().empty() ? "" : RecordedAlerts().back().params[0];
    }
    std::string FormulaErrorText(SInt16 n) const {
        Str255 s;
        GetIndString(s, kFormulaErrorList, n);
        return ToStd(s);
    }
};

TEST_F(CommandFieldTest, PromptComesFromTheSnapModesPlane) {
    Str255 prompt;
    for (SInt16 mode : {0, 1, 2}) {
        doc->settings->snapMode = mode;
        ShowToolPrompt(doc);
        CommandFieldPrompt(doc, prompt);
        Str255 expected;
        GetIndString(expected, kPromptList, SInt16(ToolPromptNumber(0, mode, 0)));
        DeletePStr(expected, 1, 3);
        EXPECT_EQ(ToStd(prompt), ToStd(expected)) << "snap mode " << mode;
        EXPECT_EQ(CommandFieldInputKind(doc), kInputValues);
        EXPECT_EQ(CommandFieldPromptCursor(doc), 128);
        EXPECT_FALSE(f->liveSnap);
    }
    // The fixed-point snap says "Point at" where the prompt says "Click", and runs the live snap.
    doc->settings->snapMode = 3;
    ShowToolPrompt(doc);
    CommandFieldPrompt(doc, prompt);
    EXPECT_EQ(ToStd(prompt).rfind("Point at an element's end", 0), 0u) << ToStd(prompt);
    EXPECT_TRUE(f->liveSnap);
    // A picking step takes no typed input and closes the field.
    SelectTool(1);
    EXPECT_EQ(CommandFieldInputKind(doc), kInputNone);
    EXPECT_EQ(CommandFieldPromptCursor(doc), 138);
    EXPECT_FALSE(CommandFieldHasText(doc));
}

TEST_F(CommandFieldTest, ValuesFormulasAndRelativeMarks) {
    VariableTable* v = doc->drawing->variables;
    CStrToPStr(v->entries[doc->drawing->variableCount++], 256, "W=12.5");
    struct Case {
        const char* text;
        int count;
        double values[4];
        bool relative[4];
    };
    const Case cases[] = {
        {"10,20", 2, {10, 20}, {false, false}},
        {"@10,20", 2, {10, 20}, {true, true}},
        {"10,@20", 2, {10, 20}, {false, true}},
        {"*5", 1, {5}, {true}},
        {"2*W,sqrt(16)+1", 2, {25, 5}, {false, false}},
        {"1,2,3,4", 4, {1, 2, 3, 4}, {false, false, false, false}},
        {"", -1, {}, {}},
    };
    for (const Case& c : cases) {
        ClearRecordedAlerts();
        Commit(c.text);
        ASSERT_EQ(f->valueCount, c.count) << c.text;
        for (int i = 0; i < c.count; ++i) {
            EXPECT_DOUBLE_EQ(f->values[i], c.values[i]) << c.text << " value " << i;
            EXPECT_EQ(bool(f->relative[i]), c.relative[i]) << c.text << " value " << i;
        }
        EXPECT_TRUE(RecordedAlerts().empty()) << c.text;
    }
    // The drawing's own variables come first: its PI is 3.141593.
    Commit("2*pi");
    EXPECT_NEAR(f->values[0], 2 * 3.141593, 1e-12);
}

TEST_F(CommandFieldTest, AFifthValueIsRefusedAndNothingStored) {
    MessageCapture messages;
    Commit("1,2,3,4,5");
    EXPECT_EQ(f->valueCount, 0);
    EXPECT_EQ(messages.Last(), 190);
    EXPECT_EQ(f->selStart, 8); // the caret at the fifth value
}

TEST_F(CommandFieldTest, FormulaErrorsShowTheirTextAndKeepTheCaretThere) {
    struct Case {
        const char* text;
        SInt16 error;
        SInt16 caret;
    };
    const Case cases[] = {
        {"10,(3+4", 1, 7}, // the closing parenthesis is missing at the end of the second value
        {"5,1/0", 34, 2},  // evaluation errors put the caret at the start of the value
        {"3,,4", 5, 2},    // an empty value between two commas
    };
    for (const Case& c : cases) {
        ClearRecordedAlerts();
        Commit(c.text);
        EXPECT_EQ(f->valueCount, 0) << c.text;
        EXPECT_EQ(LastAlert(), FormulaErrorText(c.error)) << c.text;
        EXPECT_EQ(f->selStart, c.caret) << c.text;
        EXPECT_EQ(f->selEnd, c.caret) << c.text;
    }
}

TEST_F(CommandFieldTest, EachInputKindTakesItsCharacters) {
    auto typed = [&](SInt16 kind, const std::string& keys) {
        f->inputKind = kind;
        CommandFieldSetText(doc, PStr(""));
        for (char c : keys)
            CommandFieldKey(doc, UInt8(c), kFieldKeyChar, nullptr);
        return Text();
    };
    EXPECT_EQ(typed(kInputIntegers, "1.5+a(^)"), "15+a(^)");
    EXPECT_EQ(typed(kInputValues, "1.5, @2"), "1.5, @2");
    EXPECT_EQ(typed(kInputText, "x=1.5;!"), "x=1.5;!");
    EXPECT_EQ(typed(kInputNone, "12"), "");
    EXPECT_FALSE(IsCommandFieldChar('#', false));
    EXPECT_FALSE(IsCommandFieldChar(0, false));
}

TEST_F(CommandFieldTest, EditingKeysMoveTheCaretAndDelete) {
    CommandFieldSetText(doc, PStr("12,34"));
    CommandFieldKey(doc, 0, kFieldKeyRight, nullptr); // collapses the selection at its end
    CommandFieldKey(doc, 0, kFieldKeyWordLeft, nullptr);
    CommandFieldKey(doc, 0, kFieldKeyDelete, nullptr);
    EXPECT_EQ(Text(), "1234");
    CommandFieldKey(doc, 0, kFieldKeyForwardDelete, nullptr);
    CommandFieldKey(doc, '9', kFieldKeyChar, nullptr);
    EXPECT_EQ(Text(), "1294");
}

TEST_F(CommandFieldTest, HistoryKeepsNineDistinctEntriesNewestLast) {
    Commit("a1");
    Commit("b2");
    Commit("a1"); // moves to the newest place, kept once
    ASSERT_EQ(f->historyCount, 2);
    EXPECT_EQ(ToStd(f->history[0]), "b2");
    EXPECT_EQ(ToStd(f->history[1]), "a1");
    for (int i = 0; i < 8; ++i)
        Commit("v" + std::to_string(i));
    ASSERT_EQ(f->historyCount, 9);
    EXPECT_EQ(ToStd(f->history[0]), "a1"); // b2, the oldest, was dropped for the tenth
    EXPECT_EQ(ToStd(f->history[8]), "v7");
    // Page up brings back the entry before the newest; page down the oldest.
    CommandFieldKey(doc, 0, kFieldKeyHistoryBack, nullptr);
    EXPECT_EQ(Text(), "v6");
    CommandFieldKey(doc, 0, kFieldKeyHistoryForward, nullptr);
    CommandFieldKey(doc, 0, kFieldKeyHistoryForward, nullptr);
    EXPECT_EQ(Text(), "a1");
    // A text is kept in the history as typed, with no values.
    f->inputKind = kInputText;
    Commit("a name");
    EXPECT_EQ(f->valueCount, -1);
    EXPECT_EQ(ToStd(f->history[8]), "a name");
}

TEST_F(CommandFieldTest, ValuesShownWithTheDocumentsDecimals) {
    doc->settings->decimals = 3;
    CommandFieldSetPair(doc, 1.5, -2);
    EXPECT_EQ(Text(), "1.500,-2.000");
    CommandFieldSetIntTriple(doc, 0, 7, -3);
    EXPECT_EQ(Text(), "0,7,-3");
    Str255 first, second;
    CommandFieldSetText(doc, PStr("ab,cd,ef"));
    SplitCommandFieldPair(doc, first, second);
    EXPECT_EQ(ToStd(first), "ab");
    EXPECT_EQ(ToStd(second), "cd,ef");
    EXPECT_TRUE(MatchesSTR128Answer(PStr("yes")));
    EXPECT_FALSE(MatchesSTR128Answer(PStr("no")));
}

} // namespace
