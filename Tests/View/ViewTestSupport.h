// What the view's tests share: a recorder of the draw calls and of the plot output, a headless
// document with a known view (no window: the drawing is only reported), and a document shown in a
// platform window whose port the tests can look at.
#pragma once

#include "View/ContentPasses.h"
#include "Model/DocumentHooks.h"
#include "View/DrawCallRecorder.h"
#include "Model/ElementLists.h"
#include "GuiHarness.h"
#include "Model/NewDocument.h"
#include "View/OutputDevice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Collects every draw call while it exists.
class DrawRecorder {
  public:
    DrawRecorder() { SetDrawCallListener(&DrawRecorder::Listen, this); }
    ~DrawRecorder() { SetDrawCallListener(nullptr, nullptr); }
    std::vector<DrawCall> calls;
    std::vector<DrawCall> Of(DrawCallKind kind) const {
        std::vector<DrawCall> out;
        for (const DrawCall& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    void Clear() { calls.clear(); }

  private:
    static void Listen(const DrawCall& call, void* user) {
        static_cast<DrawRecorder*>(user)->calls.push_back(call);
    }
};

struct PlotCall {
    char kind; // 'L' line, 'C' circle or arc, 'T' text, 'S' segment
    Float64 v[5];
    SInt16 lineType;
    std::string text;
};

// Receives the plot output while it exists.
class PlotRecorder : public PlotReceiver {
  public:
    explicit PlotRecorder(DocWindowRecord* doc) : doc(doc) { BeginPlotPass(doc, this); }
    ~PlotRecorder() override { EndPlotPass(doc); }
    DocWindowRecord* doc;
    std::vector<PlotCall> calls;
    void PlotLine(DocWindowRecord*, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                  SInt16 lineType) override {
        calls.push_back({'L', {x1, y1, x2, y2, 0}, lineType, {}});
    }
    void PlotCircle(DocWindowRecord*, Float64 cx, Float64 cy, Float64 r, Float64 a1, Float64 a2,
                    SInt16 lineType) override {
        calls.push_back({'C', {cx, cy, r, a1, a2}, lineType, {}});
    }
    void PlotText(DocWindowRecord*, Float64 x, Float64 y, ConstStr255Param text, Float64 height,
                  Float64 angle) override {
        calls.push_back({'T', {x, y, height, angle, 0}, 0, std::string(text + 1, text + 1 + text[0])});
    }
    void PlotSegment(DocWindowRecord*, Float64 x1, Float64 y1, Float64 x2, Float64 y2) override {
        calls.push_back({'S', {x1, y1, x2, y2, 0}, 0, {}});
    }
};

// The view every headless test starts from: a drawing area of 200 x 100 pixels above a 20-pixel status
// strip and the scroll bar (port 135 high), one millimetre a pixel, origin at the world origin.
constexpr SInt16 kTestViewWidth = 200, kTestViewHeight = 100, kTestStatusHeight = 20;
void SetTestView(DocWindowRecord* doc, Float64 unitsPerPixel = 1.0, Float64 originX = 0, Float64 originY = 0);

// A document without a window: drawing is reported to the recorder only.
class ViewDocumentTest : public ::testing::Test {
  protected:
    DocWindowRecord* doc = nullptr;
    void SetUp() override;
    void TearDown() override;
    LineRecord* AddTestLine(Float64 x1, Float64 y1, Float64 x2, Float64 y2);
    ArcRecord* AddTestArc(Float64 cx, Float64 cy, Float64 r, Float64 a1, Float64 a2);
    TextRecord* AddTestText(const std::string& text, Float64 x, Float64 y, Float64 height, Float64 width);
};

// A document shown in a window of the platform (drawing area 200 x 100 as above), antialiasing off.
class ViewWindowTest : public GuiTest {
  protected:
    DocWindowRecord* doc = nullptr;
    WindowRef window = nullptr;
    void SetUp() override;
    void TearDown() override;
    // Gives the window a drawing area of this size (the status strip and scroll bar stay as they are).
    void UseViewSize(SInt16 width, SInt16 height);
    RGBColor Pixel(SInt16 h, SInt16 v) const; // QuickDraw point of the port
    bool IsBackground(SInt16 h, SInt16 v) const;
    // Number of drawing-area pixels that differ from the background.
    int CountInk() const;
    SInt16 viewWidth = kTestViewWidth, viewHeight = kTestViewHeight;
};

// A one-page PDF the document draws into while the page exists: the world rectangle 0..size x 0..size
// at one point a millimetre, pen widths at penScale points a millimetre (0: the output scale).
class PrintPage {
  public:
    PrintPage(DocWindowRecord* doc, Float64 size, Float64 penScale);
    ~PrintPage();
    std::string path;

  private:
    DocWindowRecord* doc_;
    SInt16 fork_ = 0;
    CGContext* ctx_;
};

// Makes the records of a test element with the document's defaults, appended at the end of its list.
LineRecord* AppendTestLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2);
ArcRecord* AppendTestArc(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 r, Float64 a1, Float64 a2);
// A one-line text with its box laid out as width x height from (x, y), unrotated.
TextRecord* AppendTestText(DocWindowRecord* doc, const std::string& text, Float64 x, Float64 y,
                           Float64 height, Float64 width);
