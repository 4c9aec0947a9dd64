// A drawing holding every element kind a file can hold, saved and opened again in the running
// program: every kind comes back and the window shows it as the reference picture does.
// DW_UPDATE_VIEW_REFERENCES=1 rewrites the reference from the current render.
#include "ShellTestSupport.h"

#include "Model/Dimensions.h"
#include "Model/ElementLists.h"
#include "Model/GeometryKernel.h"
#include "Model/Polylines.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Platform/FileManager.h"
#include "Platform/PortImages.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Shell/AppleEvents.h"
#include "Tools/AreaOutlines.h"
#include "Tools/TextElements.h"
#include "View/RasterImages.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

void Put32(std::string& out, UInt32 v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xFF));
}

// A 24-bit bitmap of colour steps, 8 x 6 pixels at 72 dots per inch.
std::string WriteSteps(const std::string& folder) {
    const int w = 8, h = 6, rowBytes = (w * 3 + 3) & ~3;
    std::string out = "BM";
    Put32(out, UInt32(54 + rowBytes * h));
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, w);
    Put32(out, h);
    out += std::string("\x01\x00\x18\x00", 4);
    Put32(out, 0);
    Put32(out, UInt32(rowBytes * h));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col)
            out += {char(40 * row), char(30 * col), char(200)};
        out.append(size_t(rowBytes - w * 3), '\0');
    }
    std::string path = folder + "/Steps.bmp";
    std::ofstream(path, std::ios::binary) << out;
    return path;
}

void Contour(DocWindowRecord* doc, const std::vector<Float64>& xy) {
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        AppendOutlinePoint(doc, xy[i], xy[i + 1]);
    AppendOutlinePoint(doc, xy[0], xy[1]);
    ASSERT_TRUE(PushOutlineContour(doc));
}

void MakeEveryKind(DocWindowRecord* doc, const std::string& folder) {
    BeginUndoStep(doc);
    // A symbol of a line and an arc, placed twice.
    LineRecord* line = AddLine(doc, 0, 0, 20, 10);
    ArcRecord* arc = AddArc(doc, 10, 5, 6, 0, 180);
    ASSERT_TRUE(line && arc);
    line->selected = 1, arc->selected = 1;
    SymbolDefRecord* def = CreateSymbolFromSelection(doc, 0, 0, PStr("Valve"), true);
    ASSERT_NE(def, nullptr);
    ASSERT_NE(CreateSymbolInstance(doc, 140, 20, 30, 1.5, 1.5, def), nullptr);
    // Lines and arcs of their own.
    ASSERT_NE(AddLine(doc, 0, 60, 100, 60), nullptr);
    ASSERT_NE(AddArc(doc, 60, 30, 15, 30, 300), nullptr);
    // A text and a dimension.
    ASSERT_NE(AddTextElement(doc, 10, 80, PStr("Every kind"), 0, 0, 0, false), nullptr);
    UseDimensionAttributes(doc);
    ASSERT_NE(CreateHorizontalDimension(doc, 0, 60, 100, 60, 0, 70, nullptr, nullptr, nullptr), nullptr);
    RestoreAttributesAfterDimension(doc->settings);
    // A polyline of four points.
    for (auto [x, y] : {std::pair{110.0, 60.0}, {130.0, 90.0}, {150.0, 60.0}, {170.0, 90.0}}) {
        doc->drawing->toolInput.cursorX = x, doc->drawing->toolInput.cursorY = y;
        ASSERT_TRUE(AppendTempPoint(doc));
    }
    PolylineRecord* polyline = nullptr;
    ASSERT_TRUE(BuildPolylineFromPoints(doc, &polyline, 0, false, 0, 0));
    // A hatched area with a hole.
    Contour(doc, {0, -40, 60, -40, 60, -10, 0, -10});
    Contour(doc, {20, -30, 40, -30, 40, -20, 20, -20});
    ASSERT_NE(CreateAreaElement(doc, 3, 45, 1, true), nullptr);
    EndUndoStep(doc);
    // A raster image.
    ASSERT_EQ(ImportImageFile(doc, WriteSteps(folder).c_str(), 90, -40), ImageImport::imported);
}

} // namespace

TEST_F(ShellTest, ADrawingOfEveryKindOpensAsItWasSaved) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    RunLoop();
    const std::string folder = MakeTestFolder("every_kind");
    MakeEveryKind(doc, folder);
    if (HasFatalFailure()) return;
    const std::string path = folder + "/Every kind.cadx";
    ASSERT_EQ(FSMakeRef(path.c_str(), &doc->drawing->file), noErr);
    doc->drawing->hasFile = 1;
    QueueCommandKey(kKeyCodeW, 'w');
    QueueKey(kKeyCodeReturn, kReturnCharCode); // save the changes
    RunLoop();
    ASSERT_EQ(OpenDocumentList, nullptr);

    AESendToSelf(kCoreEventClass, kAEOpenDocuments, {path});
    RunLoop();
    DocWindowRecord* opened = OpenDocumentList;
    ASSERT_NE(opened, nullptr);
    EXPECT_NE(opened->lineHead->next, nullptr);
    EXPECT_NE(opened->arcHead->next, nullptr);
    EXPECT_NE(opened->textHead->next, nullptr);
    EXPECT_NE(opened->dimensionHead->next, nullptr);
    EXPECT_NE(opened->polylineHead->next, nullptr);
    EXPECT_NE(opened->instanceHead->next, nullptr);
    EXPECT_NE(opened->symbolDefHead->next, nullptr);
    EXPECT_NE(opened->areaHead->next, nullptr);
    EXPECT_EQ(opened->imageCount, 1);
    // Fit Drawing to Window, then the deferred redraw.
    QueueCommandKey(kKeyCodeF, 'f');
    RunLoop();
    RunPasses(1);
    const std::string reference = FixturePath("Shell/every-kind.png");
    std::string render = SaveWindowPNG(opened->window, "every-kind.png");
    if (std::getenv("DW_UPDATE_VIEW_REFERENCES")) {
        ASSERT_TRUE(SavePortAsPNG(GetWindowPort(opened->window), reference.c_str()));
        return;
    }
    long differing = ComparePortWithPNG(GetWindowPort(opened->window), reference.c_str(),
                                        TestOutputPath("every-kind.diff.png").c_str());
    EXPECT_EQ(differing, 0) << "the window differs from " << reference << "; see " << render;
}
