// Fixtures of the view's tests.
#include "ViewTestSupport.h"
#include "Platform/CGContext.h"
#include "Platform/DialogManager.h"
#include "Platform/FileManager.h"
#include "Files/Preferences.h"
#include "Platform/QuickDraw.h"
#include "View/ViewStrokes.h"
#include "Platform/Windows.h"

#include <cstring>

void SetTestView(DocWindowRecord* doc, Float64 unitsPerPixel, Float64 originX, Float64 originY) {
    DrawingRecord* d = doc->drawing;
    d->view.viewWidth = d->view.areaWidth = kTestViewWidth;
    d->view.viewHeight = d->view.areaHeight = kTestViewHeight;
    d->layout.statusHeight = kTestStatusHeight;
    d->view.unitsPerPixel = unitsPerPixel;
    d->view.originX = originX;
    d->view.originY = originY;
    d->view.visibleMinX = originX;
    d->view.visibleMinY = originY;
    d->view.visibleMaxX = originX + kTestViewWidth * unitsPerPixel;
    d->view.visibleMaxY = originY + kTestViewHeight * unitsPerPixel;
}

namespace {

void FreeDocuments() {
    while (OpenDocumentList != nullptr)
        DisposeDocumentRecords(OpenDocumentList);
    gDocumentHooks = DocumentHooks{};
    gViewHooks = ViewHooks{};
    SetAlertResponder(nullptr);
    ClearRecordedAlerts();
}

} // namespace

LineRecord* AppendTestLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    SeekLastLine(doc);
    return AppendLineAtCursor(doc, x1, y1, x2, y2, false);
}

ArcRecord* AppendTestArc(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 r, Float64 a1, Float64 a2) {
    SeekLastArc(doc);
    return AppendArcAtCursor(doc, cx, cy, r, a1, a2, false);
}

TextRecord* AppendTestText(DocWindowRecord* doc, const std::string& text, Float64 x, Float64 y,
                           Float64 height, Float64 width) {
    TextRecord* last;
    LastText(doc, &last);
    TextRecord* t = NewTextElement(doc, &last->next);
    t->layer = doc->settings->currentLayer;
    t->pen = 1;
    t->font = 3; // Geneva
    t->x = t->x2 = x;
    t->y = t->y2 = y;
    t->textHeight = height;
    const Float64 c[8] = {x, y, x + width, y, x + width, y + height, x, y + height};
    std::memcpy(t->corners, c, sizeof c);
    size_t n = std::min<size_t>(text.size(), 255);
    t->text[0] = UInt8(n);
    std::memcpy(t->text + 1, text.data(), n);
    return t;
}

PrintPage::PrintPage(DocWindowRecord* doc, Float64 size, Float64 penScale) : doc_(doc) {
    path = MakeTestFolder("print") + "/page.pdf";
    CGRect box = CGRectMake(0, 0, size, size);
    FSOpenForkPath(path.c_str(), fsWrPerm | fsCreateMissing, &fork_);
    ctx_ = CGPDFContextCreateWithFork(fork_, &box);
    CGContextBeginPage(ctx_, &box);
    SetOutputTransform(doc, ctx_, 0, 0, size, size, 1, 1, penScale);
}

PrintPage::~PrintPage() {
    ClearOutputTransform(doc_);
    CGContextEndPage(ctx_);
    CGContextRelease(ctx_);
    FSCloseFork(fork_);
}

void ViewDocumentTest::SetUp() {
    GeneralPrefs.roundLineCaps = 1;
    gDocumentHooks = DocumentHooks{};
    gViewHooks = ViewHooks{};
    ClearRecordedAlerts();
    ASSERT_TRUE(NewDocument(&doc, nullptr, 0));
    SetTestView(doc);
}

void ViewDocumentTest::TearDown() {
    FreeDocuments();
}

LineRecord* ViewDocumentTest::AddTestLine(Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    return AppendTestLine(doc, x1, y1, x2, y2);
}

ArcRecord* ViewDocumentTest::AddTestArc(Float64 cx, Float64 cy, Float64 r, Float64 a1, Float64 a2) {
    return AppendTestArc(doc, cx, cy, r, a1, a2);
}

TextRecord* ViewDocumentTest::AddTestText(const std::string& text, Float64 x, Float64 y, Float64 height,
                                          Float64 width) {
    return AppendTestText(doc, text, x, y, height, width);
}

void ViewWindowTest::SetUp() {
    GuiTest::SetUp();
    CGSetDefaultShouldAntialias(false);
    GeneralPrefs.roundLineCaps = 1;
    gDocumentHooks = DocumentHooks{};
    gViewHooks = ViewHooks{};
    ASSERT_TRUE(NewDocument(&doc, nullptr, 0));
    window = MakeTestWindow(kDocumentWindowClass,
                            Rect{100, 100, SInt16(100 + kTestViewHeight + kTestStatusHeight + 15),
                                 SInt16(100 + kTestViewWidth + 15)});
    doc->window = window;
    SetTestView(doc);
}

void ViewWindowTest::TearDown() {
    if (doc) doc->window = nullptr;
    FreeDocuments();
    CGSetDefaultShouldAntialias(true);
    GuiTest::TearDown();
}

void ViewWindowTest::UseViewSize(SInt16 width, SInt16 height) {
    viewWidth = width, viewHeight = height;
    SizeWindow(window, SInt16(width + 15), SInt16(height + kTestStatusHeight + 15), false);
    DrawingRecord* d = doc->drawing;
    d->view.viewWidth = d->view.areaWidth = width;
    d->view.viewHeight = d->view.areaHeight = height;
    d->view.visibleMaxX = d->view.originX + width * d->view.unitsPerPixel;
    d->view.visibleMaxY = d->view.originY + height * d->view.unitsPerPixel;
}

RGBColor ViewWindowTest::Pixel(SInt16 h, SInt16 v) const {
    return GetPortPixel(GetWindowPort(window), h, v);
}

bool ViewWindowTest::IsBackground(SInt16 h, SInt16 v) const {
    RGBColor c = Pixel(h, v);
    const RGBColor& bg = doc->settings->backgroundColor;
    return (c.red >> 8) == (bg.red >> 8) && (c.green >> 8) == (bg.green >> 8) &&
           (c.blue >> 8) == (bg.blue >> 8);
}

int ViewWindowTest::CountInk() const {
    int n = 0;
    for (SInt16 v = 0; v < viewHeight; ++v)
        for (SInt16 h = 0; h < viewWidth; ++h)
            n += !IsBackground(h, v);
    return n;
}
