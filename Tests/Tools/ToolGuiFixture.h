// The application shell started without its endless loop, with one new drawing of 0.5 mm a pixel,
// for end-to-end tests of the tools: clicks at drawing points, typed text, keys and menu choices go
// through the program's own loop.
#pragma once

#include "Shell/AppleEvents.h"
#include "View/ContentPasses.h"
#include "Platform/DialogManager.h"
#include "Shell/DocumentWindow.h"
#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Shell/EventLoop.h"
#include "Shell/KeyDispatch.h"
#include "Shell/MenuBar.h"
#include "Platform/MenuBarHost.h"
#include "Platform/Menus.h"
#include "Model/NewDocument.h"
#include "Files/Preferences.h"
#include "ShellTestSupport.h"
#include "Shell/StartupShutdown.h"
#include "Tools/ToolDispatch.h"
#include "Model/UndoJournal.h"

#include <cmath>
#include <string>
#include <vector>

// The rows written to the information window while it lives, kept in place of the window.
class InfoRowCapture {
  public:
    InfoRowCapture() : saved(gDocumentHooks.appendInfoRow) {
        Rows().clear();
        gDocumentHooks.appendInfoRow = Record;
    }
    ~InfoRowCapture() { gDocumentHooks.appendInfoRow = saved; }
    InfoRowCapture(const InfoRowCapture&) = delete;
    InfoRowCapture& operator=(const InfoRowCapture&) = delete;
    static std::vector<std::string>& Rows() {
        static std::vector<std::string> rows;
        return rows;
    }

  private:
    static void Record(ConstStr255Param row) {
        Rows().emplace_back(reinterpret_cast<const char*>(row + 1), row[0]);
    }
    void (*saved)(ConstStr255Param);
};

// One input of a scripted run: a click, a click whose message the user answers with Return, a
// dragged rectangle or a typed line.
struct GuiAction {
    enum Kind { click, told, drag, type } kind;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    const char* text = nullptr;
};
inline GuiAction Click(double x, double y) {
    return {GuiAction::click, x, y};
}
inline GuiAction Told(double x, double y) {
    return {GuiAction::told, x, y};
}
inline GuiAction Drag(double x1, double y1, double x2, double y2) {
    return {GuiAction::drag, x1, y1, x2, y2};
}
inline GuiAction Typed(const char* text) {
    return {GuiAction::type, 0, 0, 0, 0, text};
}

class ToolGuiTest : public ShellTest {
  protected:
    DocWindowRecord* doc = nullptr;

    void SetUp() override {
        ShellTest::SetUp();
        FreshDocument();
    }

    // The document closed, if any, and a new one in its place, viewed as every test starts.
    void FreshDocument() {
        if (doc != nullptr) DisposeDocumentWindow(doc);
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        // Half a millimetre a pixel from the drawing area's lower-left corner at (0, 0).
        DrawingRecord* d = doc->drawing;
        d->view.unitsPerPixel = 0.5;
        d->view.originX = d->view.originY = 0;
        doc->settings->gridVisible = 0;
        RedrawWindow(doc);
        RunLoop();
    }

    // The user's key for the tool: F13 assigned to it in the function-key table, then pressed.
    void ChooseTool(int tool) { ChooseGroupTool(0, tool); }
    void ChooseGroupTool(int group, int tool) {
        FunctionKeyTable[FunctionKeySlotIndex(0, 13)] =
            FunctionKeySlot{SInt16(kFirstToolMenu + group), SInt16(tool + 1)};
        Key(kKeyCodeF13, kFunctionKeyCharCode);
    }
    // The snap mode by its function key (F5, F6, F7, F11 for modes 0 to 3).
    void SnapMode(int mode) {
        const UInt8 keys[] = {kKeyCodeF5, kKeyCodeF6, kKeyCodeF7, kKeyCodeF11};
        Key(keys[mode], kFunctionKeyCharCode);
        ASSERT_EQ(doc->settings->snapMode, mode);
    }
    // The window pixel of a drawing point.
    Point WindowPoint(double x, double y) const {
        const DrawingRecord* d = doc->drawing;
        SInt16 h = SInt16(std::lround((x - d->view.originX) / d->view.unitsPerPixel));
        SInt16 up = SInt16(std::lround((y - d->view.originY) / d->view.unitsPerPixel));
        return Pt(h, SInt16(d->view.viewHeight - up));
    }
    // A rectangle dragged from the first corner to the second.
    void DragFrom(double x1, double y1, double x2, double y2) {
        QueueDrag(doc->window,
                  {WindowPoint(x1, y1), WindowPoint((x1 + x2) / 2, (y1 + y2) / 2), WindowPoint(x2, y2)});
        RunLoop();
    }
    // Edit > Undo and Edit > Redo from the menu bar.
    void Undo() {
        ASSERT_TRUE(ChooseMenuItem(kEditMenu, 1));
        RunLoop();
    }
    void Redo() {
        ASSERT_TRUE(ChooseMenuItem(kEditMenu, 2));
        RunLoop();
    }
    // A click at a drawing point (on whole pixels of the view).
    void ClickAt(double x, double y) {
        const DrawingRecord* d = doc->drawing;
        SInt16 h = SInt16(std::lround((x - d->view.originX) / d->view.unitsPerPixel));
        SInt16 up = SInt16(std::lround((y - d->view.originY) / d->view.unitsPerPixel));
        QueueClick(doc->window, Pt(h, SInt16(d->view.viewHeight - up)));
        RunLoop();
    }
    void Type(const std::string& text) {
        QueueTypedText(text + "\r");
        RunLoop();
    }
    void Key(UInt8 keyCode, UInt8 charCode, UInt16 modifiers = 0) {
        QueueKey(keyCode, charCode, modifiers);
        RunLoop();
    }
    int Lines() const {
        int n = 0;
        for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
    LineRecord* Last() const {
        LineRecord* e = doc->lineHead->next;
        while (e != nullptr && e->next != nullptr)
            e = e->next;
        return e;
    }
    void ExpectLast(double x1, double y1, double x2, double y2) {
        LineRecord* l = Last();
        ASSERT_NE(l, nullptr);
        EXPECT_NEAR(l->x1, x1, 1e-6);
        EXPECT_NEAR(l->y1, y1, 1e-6);
        EXPECT_NEAR(l->x2, x2, 1e-6);
        EXPECT_NEAR(l->y2, y2, 1e-6);
    }
    // A line or circle that is already there, as a user would have drawn it, and shown.
    void Draw(double x1, double y1, double x2, double y2) {
        BeginUndoStep(doc);
        AddLine(doc, x1, y1, x2, y2);
        EndUndoStep(doc);
        RedrawWindow(doc);
    }
    void DrawCircle(double cx, double cy, double r) {
        BeginUndoStep(doc);
        AddArc(doc, cx, cy, r, 0, 360);
        EndUndoStep(doc);
        RedrawWindow(doc);
    }
    SInt16 Step() const { return doc->drawing->toolInput.pendingStep; }
    void Act(const GuiAction& a) {
        switch (a.kind) {
        case GuiAction::click:
            ClickAt(a.x1, a.y1);
            break;
        case GuiAction::told:
            QueueClick(doc->window, WindowPoint(a.x1, a.y1));
            QueueKey(kKeyCodeReturn, '\r');
            RunLoop();
            break;
        case GuiAction::drag:
            DragFrom(a.x1, a.y1, a.x2, a.y2);
            break;
        case GuiAction::type:
            Type(a.text);
            break;
        }
    }
};
