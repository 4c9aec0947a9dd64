// A headless document for the tool tests: a view of 0.1 mm per pixel, the tool tables loaded, and
// clicks and typed input delivered to the line tools the way the dispatcher delivers them.
#pragma once

#include "../Model/DocumentFixture.h"
#include "Tools/CommandField.h"
#include "Files/Preferences.h"
#include "Tools/LineTools.h"
#include "MessageCapture.h"
#include "TestSupport.h"
#include "Tools/ToolState.h"
#include "Tools/ToolTables.h"

#include <string>

class ToolTest : public DocumentTest {
  protected:
    static constexpr double kUnitsPerPixel = 0.1;

    void SetUp() override {
        DocumentTest::SetUp();
        InitToolTable();
        doc->drawing->view.unitsPerPixel = kUnitsPerPixel;
        doc->settings->pickAperture = 8;
        doc->settings->drawingScale = 1.0;
        GeneralPrefs.currentToolGroup = 0;
        GeneralPrefs.currentSubTool = 0;
    }
    void TearDown() override {
        GeneralPrefs.currentToolGroup = 0;
        GeneralPrefs.currentSubTool = 0;
        DocumentTest::TearDown();
    }

    void SelectTool(int tool) {
        GeneralPrefs.currentToolGroup = 0;
        GeneralPrefs.currentSubTool = UInt32(tool);
        CancelPendingCommand(doc);
    }

    // The cursor and the pick rectangle of a click at a drawing point.
    void PointAt(double x, double y) {
        DrawingRecord* d = doc->drawing;
        double r = doc->settings->pickAperture * d->view.unitsPerPixel;
        d->toolInput.cursorX = x, d->toolInput.cursorY = y;
        d->toolInput.pickMinX = x - r, d->toolInput.pickMaxX = x + r, d->toolInput.pickMinY = y - r,
        d->toolInput.pickMaxY = y + r;
    }

    void Click(double x, double y) {
        PointAt(x, y);
        CommandFieldOf(doc)->valueCount = 0;
        ToolGroup0Click(doc);
    }

    // Text typed into the open field and confirmed with Return.
    void Type(const std::string& text) {
        CommandFieldRecord* f = CommandFieldOf(doc);
        f->valueCount = 0;
        CommandFieldSetText(doc, PStr(text));
        CommitCommandField(doc);
        if (f->valueCount != 0) ToolGroup0Click(doc);
    }

    SInt16 Step() const { return doc->drawing->toolInput.pendingStep; }

    // An element as the view leaves it once drawn, added without an undo record.
    LineRecord* DrawnLine(double x1, double y1, double x2, double y2) {
        SeekLastLine(doc);
        LineRecord* line = AppendLineAtCursor(doc, x1, y1, x2, y2, false);
        line->drawn = 1;
        return line;
    }
    ArcRecord* DrawnArc(double cx, double cy, double r, double start = 0, double end = 360) {
        SeekLastArc(doc);
        ArcRecord* arc = AppendArcAtCursor(doc, cx, cy, r, start, end, false);
        arc->drawn = 1;
        return arc;
    }

    LineRecord* LineAt(int index) const {
        LineRecord* e = doc->lineHead->next;
        for (int i = 0; e != nullptr && i < index; ++i)
            e = e->next;
        return e;
    }
};
