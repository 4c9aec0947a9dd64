// Text elements: variables, lines and their placement, frames measured by the font, outline boxes,
// plot output, print output of empty texts, the rubber-band point of marked texts, and height fitting.
#include "Platform/CGContext.h"
#include "View/TextDrawing.h"
#include "Model/SharedUtilities.h"
#include "Platform/TextMeasure.h"
#include "ViewTestSupport.h"
#include "Platform/MemoryManager.h"
#include "View/WorldPrimitives.h"

#include <cmath>
#include <cstring>

namespace {

void SetField(DocWindowRecord* doc, int n, const char* value) {
    StringPtr field = TitleBlockField(doc->drawing->titleBlock, n);
    field[0] = UInt8(std::strlen(value));
    std::memcpy(field + 1, value, field[0]);
}

std::string Expand(DocWindowRecord* doc, const std::string& text) {
    PStrBuf s = PStr(text);
    ExpandTextVariables(doc, s);
    return ToStd(s);
}

} // namespace

TEST_F(ViewDocumentTest, TextVariablesNameTitleBlockFieldsDateTimeAndFileName) {
    SetField(doc, 1, "Plan");
    SetField(doc, 20, "Last field");
    SetField(doc, 5, "");
    Str20 date, time;
    DateTimeStrings(date, time);
    const struct {
        const char* in;
        std::string out;
    } cases[] = {
        {"^01", "Plan"},
        {"^20", "Last field"},
        {"^05", "^05"}, // empty field: the placeholder stays
        {"^21", "^21"},
        {"^49", "^49"},
        {"^50", ToStd(date)},
        {"^51", ToStd(time)},
        {"^52", ToStd(doc->drawing->documentName)},
        {"^53", "^53"},
        {"^0", "^0"},   // not three characters
        {"x01", "x01"}, // no caret
        {"^1A", "^1A"}, // not digits: the code is 27
    };
    for (const auto& c : cases)
        EXPECT_EQ(Expand(doc, c.in), c.out) << c.in;
}

TEST_F(ViewDocumentTest, TwoLinesTurnedBy90DegreesStartOneHeightLeftOfTheFirstCorner) {
    doc->settings->lineBreakChar = '|';
    TextRecord* text = AddTestText("top|bottom", 100, 50, 5, 20);
    text->angle = 90;
    text->lineSpacing = 0;
    DrawRecorder rec;
    DrawTextElement(text, doc);
    std::vector<DrawCall> lines = rec.Of(DrawCallKind::text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "top");
    EXPECT_NEAR(lines[0].v[0], 95, 1e-9); // one height (5 pixels) to the left
    EXPECT_NEAR(lines[0].v[1], kTestStatusHeight + 15 + 50, 1e-9);
    EXPECT_EQ(lines[1].text, "bottom");
    EXPECT_NEAR(lines[1].v[0], 100, 1e-9);
    EXPECT_DOUBLE_EQ(lines[0].v[3], 90);
}

TEST_F(ViewDocumentTest, AnEmptyTextShowsItsBoxAndAnchorDiamondOnScreen) {
    TextRecord* text = AddTestText("", 20, 20, 5, 30);
    text->x2 = 30, text->y2 = 15;
    DrawRecorder rec;
    DrawTextElement(text, doc);
    EXPECT_EQ(rec.Of(DrawCallKind::line).size(), 4u);
    std::vector<DrawCall> diamond = rec.Of(DrawCallKind::styledLine);
    ASSERT_EQ(diamond.size(), 4u);
    EXPECT_DOUBLE_EQ(diamond[0].v[0], 30);
    EXPECT_DOUBLE_EQ(diamond[0].v[1], kTestStatusHeight + 15 + 15 + 4);
    EXPECT_TRUE(rec.Of(DrawCallKind::text).empty());
}

TEST_F(ViewDocumentTest, PlotOutputGetsTheTextAtItsFirstCornerAndNothingElse) {
    TextRecord* text = AddTestText("Plotted", 20, 30, 4, 25);
    text->angle = 15;
    text->textFlags = 0x2012; // frame, leader and arrow are the screen's and the page's
    DrawRecorder rec;
    PlotRecorder plot(doc);
    DrawTextElement(text, doc);
    EXPECT_TRUE(rec.calls.empty());
    ASSERT_EQ(plot.calls.size(), 1u);
    EXPECT_EQ(plot.calls[0].kind, 'T');
    EXPECT_EQ(plot.calls[0].text, "Plotted");
    EXPECT_EQ(plot.calls[0].v[0], 20);
    EXPECT_EQ(plot.calls[0].v[2], 4);
    EXPECT_EQ(plot.calls[0].v[3], 15);
}

TEST_F(ViewDocumentTest, RedrawingAMarkedTextKeepsItsRubberBandPointOnce) {
    TextRecord* text = AddTestText("Marked", 20, 30, 4, 25);
    text->marked = 1;
    for (int pass = 0; pass < 5; ++pass)
        DrawTextElement(text, doc);
    EXPECT_EQ(doc->drawing->output.rubberCount, 1);
    Float64 x, y;
    ASSERT_TRUE(GetRubberPoint(doc, 0, &x, &y));
    EXPECT_EQ(x, 20);
}

TEST_F(ViewWindowTest, ATitleBlockFieldLeftEmptyPrintsNothingButShowsOnScreen) {
    SetField(doc, 5, "");
    TextRecord* field = AppendTestText(doc, "^05", 20, 20, 5, 15);
    TextRecord* empty = AppendTestText(doc, "", 60, 20, 5, 15);
    {
        DrawRecorder rec;
        DrawTextElement(field, doc);
        std::vector<DrawCall> texts = rec.Of(DrawCallKind::text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, "^05");
    }
    PrintPage page(doc, 200, 0);
    DrawRecorder rec;
    DrawTextElement(field, doc);
    DrawTextElement(empty, doc);
    EXPECT_TRUE(rec.calls.empty()); // no mask, no box, no diamond
    // With a value the field prints it.
    SetField(doc, 5, "Checked");
    DrawTextElement(field, doc);
    std::vector<DrawCall> texts = rec.Of(DrawCallKind::text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Checked");
    EXPECT_EQ(rec.Of(DrawCallKind::quadFill)[0].colour.red, 0xFFFF); // the mask is white on paper
}

TEST_F(ViewWindowTest, ALeaderToTheFirstWordFramesTheWordAsTheFontMeasuresIt) {
    const char* words = "First second";
    Float64 natural = MeasureTextUTF8(3, 0, 5, words, SInt32(std::strlen(words)));
    Float64 first = MeasureTextUTF8(3, 0, 5, "First", 5);
    ASSERT_GT(first, 0);
    TextRecord* text = AppendTestText(doc, words, 20, 40, 5, natural);
    text->textFlags = 0x2004; // rectangle frame, leader mode 2
    text->frameDistance = 1;
    text->x2 = 150, text->y2 = 10;
    DrawRecorder rec;
    DrawTextElement(text, doc);
    // The text is drawn once, whole; the first word is only measured.
    std::vector<DrawCall> texts = rec.Of(DrawCallKind::text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, words);
    std::vector<DrawCall> lines = rec.Of(DrawCallKind::line);
    ASSERT_GE(lines.size(), 4u);
    // The frame's bottom side runs from the first corner less the margin to the word's end plus it.
    EXPECT_NEAR(lines[0].v[0], 19, 1e-6);
    EXPECT_NEAR(lines[0].v[2], 20 + first + 1, 1e-6);
}

TEST_F(ViewWindowTest, AWiderBoxWidensTheText) {
    Float64 natural = MeasureTextUTF8(3, 0, 5, "Wide", 4);
    TextRecord* text = AppendTestText(doc, "Wide", 20, 40, 5, 2 * natural);
    DrawRecorder rec;
    DrawTextElement(text, doc);
    std::vector<DrawCall> texts = rec.Of(DrawCallKind::text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NEAR(texts[0].v[4], 2.0, 1e-9);
}

TEST_F(ViewWindowTest, FittingAHeightStartsFromATenthAndStopsAtPointSizeFour) {
    PStrBuf s = PStr("Measure");
    // Height 0 fits from 0.1: the scale is 512 (0.1 x 512 >= 40), point size 51.
    FitTextSizeToWidth(doc, 1000, 0, s);
    EXPECT_DOUBLE_EQ(doc->settings->textHeight, 51.0 / 512);
    FitTextSizeToWidth(doc, 0, 0, s);
    EXPECT_DOUBLE_EQ(doc->settings->textHeight, 4.0 / 512);
    // A height of 10 (scale 4) shrinks until the width fits.
    FitTextSizeToWidth(doc, 10, 10, s);
    Float64 p = doc->settings->textHeight * 4;
    EXPECT_LE(MeasureTextUTF8(doc->settings->textFont, 0, p, "Measure", 7), 40);
    EXPECT_GT(MeasureTextUTF8(doc->settings->textFont, 0, p + 1, "Measure", 7), 40);
}

TEST_F(ViewWindowTest, TheFlashOfAPickedTextIsRemovedByItsSecondDrawing) {
    TextRecord* text = AppendTestText(doc, "Flash", 20, 40, 10, 40); // 10 pixels high: drawn in XOR
    RedrawWindow(doc);
    int before = CountInk();
    DrawTextOutlineClipped(text, doc, 0);
    EXPECT_GT(CountInk(), before);
    DrawTextOutlineClipped(text, doc, 0);
    EXPECT_EQ(CountInk(), before);
}

TEST_F(ViewWindowTest, AFramedTextBoxWrapsItsParagraphAndFramesItInXor) {
    TextRecord* box = AppendTestText(doc, "", 20, 20, 5, 60); // 60 x 5 mm box: 60 x 5 pixels
    box->corners[5] = box->corners[7] = 80;                   // 60 high
    box->textFlags = kFramedTextBoxFlags;
    const char* paragraph = "one two three four five six seven eight nine ten";
    box->boxText = NewHandle(Size(std::strlen(paragraph)));
    std::memcpy(*box->boxText, paragraph, std::strlen(paragraph));
    DrawRecorder rec;
    RedrawWindow(doc);
    std::vector<DrawCall> lines = rec.Of(DrawCallKind::text);
    ASSERT_GE(lines.size(), 2u);
    std::string joined;
    for (const DrawCall& line : lines) {
        EXPECT_DOUBLE_EQ(line.v[0], 20); // every line starts at the box's left edge
        EXPECT_LE(MeasureTextUTF8(3, 0, 5, line.text.data(), SInt32(line.text.size())), 60.0);
        joined += (joined.empty() ? "" : " ") + line.text;
    }
    EXPECT_EQ(joined, paragraph);
    EXPECT_LT(lines.back().v[1], lines.front().v[1]); // downward from the top
    SaveWindowPNG(window, "text-box.png");
    // Drawn again, the paragraph stays and the frame with its handles goes; a third time it is back.
    int shown = CountInk();
    DrawTextElementClipped(box, doc);
    EXPECT_LT(CountInk(), shown);
    DrawTextElementClipped(box, doc);
    EXPECT_EQ(CountInk(), shown);
    DisposeHandle(box->boxText);
    box->boxText = nullptr;
}
