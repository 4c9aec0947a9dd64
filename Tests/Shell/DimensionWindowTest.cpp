// Dimensions in a document window: one made in an undo step shows at once, Undo takes it off the
// window and Redo brings it back, and a saved drawing shows its dimensions when it opens again.
#include "ShellTestSupport.h"

#include "Model/Dimensions.h"
#include "Model/GeometryKernel.h"
#include "Model/UndoJournal.h"
#include "Platform/FileManager.h"
#include "Platform/QuickDraw.h"
#include "Platform/SimulatedInput.h"
#include "Platform/Windows.h"
#include "Shell/AppleEvents.h"
#include "View/ViewTransform.h"

namespace {

// Dark pixels along the dimension line of a horizontal dimension from x1 to x2 at height y.
int InkAlong(DocWindowRecord* doc, Float64 x1, Float64 x2, Float64 y) {
    SInt16 h1, v, h2, v2;
    WorldToViewInt(doc, x1, y, &h1, &v, nullptr, nullptr);
    WorldToViewInt(doc, x2, y, &h2, &v2, nullptr, nullptr);
    int ink = 0;
    for (SInt16 h = h1; h <= h2; ++h)
        for (SInt16 dv = -1; dv <= 1; ++dv) {
            RGBColor c = GetPortPixel(GetWindowPort(doc->window), h, SInt16(v + dv));
            ink += c.red < 0x8000 && c.green < 0x8000 && c.blue < 0x8000;
        }
    return ink;
}

struct Placed {
    Float64 x1, x2, y;
};

// A horizontal dimension in the middle of the view, made as the dimension tool makes one.
Placed MakeDimension(DocWindowRecord* doc) {
    Float64 minX, minY, maxX, maxY;
    VisibleWorldRect(doc, &minX, &minY, &maxX, &maxY);
    Placed p{minX + (maxX - minX) * 0.25, minX + (maxX - minX) * 0.75, (minY + maxY) / 2};
    Str255 none = {0};
    BeginUndoStep(doc);
    UseDimensionAttributes(doc);
    DimensionRecord* d = CreateHorizontalDimension(doc, p.x1, minY, p.x2, minY, 0, p.y, none, none, none);
    RestoreAttributesAfterDimension(doc->settings);
    EndUndoStep(doc);
    EXPECT_NE(d, nullptr);
    return p;
}

} // namespace

TEST_F(ShellTest, ADimensionShowsAtOnceAndGoesWithUndo) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    RunLoop();
    Placed p = MakeDimension(doc);
    Float64 along = (p.x2 - p.x1) * 0.8;
    int shown = InkAlong(doc, p.x1, p.x2, p.y);
    EXPECT_GE(shown, along / doc->drawing->view.unitsPerPixel * 0.5) << "drawn without waiting for a redraw";

    QueueCommandKey(kKeyCodeZ, 'z');
    RunLoop();
    RunPasses(1); // the deferred redraw
    EXPECT_EQ(doc->dimensionHead->next, nullptr);
    EXPECT_EQ(InkAlong(doc, p.x1, p.x2, p.y), 0);

    QueueCommandKey(kKeyCodeZ, 'z', shiftKey);
    RunLoop();
    RunPasses(1);
    ASSERT_NE(doc->dimensionHead->next, nullptr);
    EXPECT_GT(InkAlong(doc, p.x1, p.x2, p.y), shown / 2);
    SaveWindowPNG(doc->window, "shell_dimension.png");
}

TEST_F(ShellTest, ASavedDrawingShowsItsDimensionsWhenItOpens) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    RunLoop();
    Placed p = MakeDimension(doc);
    const std::string text = ToStd(doc->dimensionHead->next->text);
    const std::string path = MakeTestFolder("shell_dimension") + "/Measured.cadx";
    ASSERT_EQ(FSMakeRef(path.c_str(), &doc->drawing->file), noErr);
    doc->drawing->hasFile = 1;
    QueueCommandKey(kKeyCodeW, 'w');
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    RunLoop();
    ASSERT_EQ(OpenDocumentList, nullptr);

    AESendToSelf(kCoreEventClass, kAEOpenDocuments, {path});
    RunLoop();
    RunPasses(1);
    DocWindowRecord* opened = OpenDocumentList;
    ASSERT_NE(opened, nullptr);
    ASSERT_NE(opened->dimensionHead->next, nullptr);
    EXPECT_EQ(ToStd(opened->dimensionHead->next->text), text);
    EXPECT_TRUE(opened->dimensionHead->next->drawn);
    EXPECT_GT(InkAlong(opened, p.x1, p.x2, p.y), 0);
}
