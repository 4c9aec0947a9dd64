// How often the window's content is drawn: an opened drawing is painted once, and ending a command
// leaves the erasing of its feedback to the loop's one deferred redraw.
#include "ShellTestSupport.h"
#include "View/ContentPasses.h"
#include "Shell/DocumentWindow.h"
#include "Files/FileCommands.h"
#include "Platform/FileManager.h"
#include "Platform/Menus.h"
#include "Files/NativeDocument.h"
#include "Platform/QuickDraw.h"
#include "Tools/ToolState.h"
#include "Model/UndoJournal.h"
#include "Platform/Windows.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<UInt32> PortPixels(WindowRef window) {
    Rect bounds;
    GetWindowPortBounds(window, &bounds);
    std::vector<UInt32> pixels;
    for (SInt16 v = bounds.top; v < bounds.bottom; ++v)
        for (SInt16 h = bounds.left; h < bounds.right; ++h) {
            RGBColor c = GetPortPixel(GetWindowPort(window), h, v);
            pixels.push_back(UInt32(c.red >> 8) << 16 | UInt32(c.green >> 8) << 8 | UInt32(c.blue >> 8));
        }
    return pixels;
}

size_t PixelsChanged(const std::vector<UInt32>& a, const std::vector<UInt32>& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t changed = 0;
    for (size_t i = 0; i < a.size(); ++i)
        changed += a[i] != b[i];
    return changed;
}

} // namespace

TEST_F(ShellTest, AnOpenedDrawingIsPaintedOnceByTheLoop) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AddUndoableLine(doc, 5.0);
    const std::string path = MakeTestFolder("redraw_count") + "/Opened.cadx";
    ASSERT_EQ(FSMakeRef(path.c_str(), &doc->drawing->file), noErr);
    doc->drawing->hasFile = 1;
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    DisposeDocumentWindow(doc);
    RunLoop();

    FSRef file;
    ASSERT_EQ(FSMakeRef(path.c_str(), &file), noErr);
    gWindowRedrawCount = 0;
    DocWindowRecord* opened = nullptr;
    ASSERT_TRUE(OpenDocumentFile(&opened, &file));
    CancelPendingCommand(opened);
    EXPECT_EQ(gWindowRedrawCount, 0u) << "nothing is drawn before the loop runs";
    RunLoop();
    RunPasses(3);
    EXPECT_EQ(gWindowRedrawCount, 1u);
    EXPECT_FALSE(opened->drawing->view.redrawPending);
}

// Marks of a command under way, then Escape or Undo: none of them redraws on the spot, the next pass
// redraws once, and the window then shows the drawing as it was before the marks.
TEST_F(ShellTest, EndingACommandErasesItsMarksWithOneDeferredRedraw) {
    for (bool undo : {false, true}) {
        SCOPED_TRACE(undo ? "Edit > Undo" : "Escape");
        DocWindowRecord* doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        AddUndoableLine(doc, 5.0);
        RequestRedraw(doc);
        RunLoop();
        RunPasses(2);
        const std::vector<UInt32> clean = PortPixels(doc->window);

        const DrawingViewState& view = doc->drawing->view;
        Float64 x = view.originX + view.viewWidth * view.unitsPerPixel / 2;
        Float64 y = view.originY + view.viewHeight * view.unitsPerPixel / 2;
        DrawPointMark(doc, x, y);
        DrawPointMark(doc, x + 20 * view.unitsPerPixel, y);
        ASSERT_EQ(doc->drawing->output.rubberCount, 2);
        ASSERT_GT(PixelsChanged(PortPixels(doc->window), clean), 0u) << "the marks show";

        gWindowRedrawCount = 0;
        if (undo) {
            ASSERT_TRUE(ChooseMenuItem(197, 1));
        } else {
            QueueKey(kKeyCodeEscape, kEscapeCharCode);
        }
        RunPasses(1);
        EXPECT_EQ(gWindowRedrawCount, 0u);
        EXPECT_EQ(doc->drawing->output.rubberCount, 0);
        EXPECT_TRUE(doc->drawing->view.redrawPending);
        RunPasses(3);
        EXPECT_EQ(gWindowRedrawCount, 1u);
        if (!undo) {
            EXPECT_EQ(PixelsChanged(PortPixels(doc->window), clean), 0u);
        }
        DisposeDocumentWindow(doc);
    }
}
