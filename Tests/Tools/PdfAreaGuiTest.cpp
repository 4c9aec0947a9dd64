// The PDF area from the menu, end to end: its PDF onto the clipboard at the area's page size, the
// area removed only when the question is confirmed.
#include "Platform/AppResources.h"
#include "Platform/Clipboard.h"
#include "Platform/Menus.h"
#include "Platform/DialogManager.h"
#include "Shell/MenuCommands.h"
#include "ToolGuiFixture.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>

namespace {

class PdfAreaGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        SnapMode(0);
        ClearRecordedAlerts();
    }
    void Post(SInt16 menu, SInt16 item) {
        ASSERT_TRUE(ChooseMenuItem(menu, item));
        RunLoop();
    }
    // The PDF area from two clicked corners.
    void SetPdfArea(double x1, double y1, double x2, double y2) {
        Post(131, 7);
        ClickAt(x1, y1);
        ClickAt(x2, y2);
    }
    std::array<Float64, 4> Area() const {
        const Float64* a = doc->settings->pdfArea;
        return {a[0], a[1], a[2], a[3]};
    }
};

TEST_F(PdfAreaGui, ThePdfAreaGoesToTheClipboardAtItsPageSize) {
    Draw(30, 30, 110, 70);
    SetPdfArea(20, 20, 120, 80);
    ASSERT_EQ(Area(), (std::array<Float64, 4>{20, 20, 120, 80}));
    PutScrapData(4, kScrapFlavorUTF8, "text");
    Post(131, 4);
    EXPECT_TRUE(RecordedAlerts().empty());
    std::string pdf = GetScrapBytes(kScrapFlavorPDF);
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    std::string path = MakeTestFolder("pdf-area") + "/clip.pdf";
    std::ofstream(path, std::ios::binary) << pdf;
    std::string info;
    if (FILE* pipe = popen(("pdfinfo '" + path + "' 2>&1").c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
            info.append(buf, n);
        pclose(pipe);
    }
    EXPECT_NE(info.find("283 x 170 pts"), std::string::npos) << info; // 100 x 60 mm
}

// Each Remove item names the area it removes, asks about that area, and leaves the other one.
TEST_F(PdfAreaGui, TheAreaIsRemovedOnlyWhenConfirmed) {
    struct Case {
        SInt16 item;
        const char* label;
        SInt16 question;
        Float64* removed;
        Float64* kept;
    } const cases[] = {
        {10, "Remove HPGL Area", 7, doc->settings->hpglArea, doc->settings->pdfArea},
        {3, "Remove PDF Area", 6, doc->settings->pdfArea, doc->settings->hpglArea},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SetPdfArea(20, 20, 120, 80);
        const Float64 hpgl[4] = {0, 0, 50, 40};
        std::copy(hpgl, hpgl + 4, doc->settings->hpglArea);
        RunLoop();
        Str255 label;
        GetMenuItemText(GetMenuHandle(131), c.item, label);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(label + 1), label[0]), c.label);
        const std::array<Float64, 4> before{c.removed[0], c.removed[1], c.removed[2], c.removed[3]};
        std::string asked;
        SetAlertResponder([&asked](const AlertRecord& alert) {
            asked = alert.params[0];
            return SInt16(1); // declined
        });
        Post(131, c.item);
        EXPECT_EQ((std::array<Float64, 4>{c.removed[0], c.removed[1], c.removed[2], c.removed[3]}), before);
        Str255 question;
        GetIndString(question, 201, c.question);
        EXPECT_EQ(asked, std::string(reinterpret_cast<const char*>(question + 1), question[0]));
        doc->drawing->changed = false;
        SetAlertResponder([](const AlertRecord&) { return SInt16(2); });
        Post(131, c.item);
        SetAlertResponder(nullptr);
        EXPECT_EQ((std::array<Float64, 4>{c.removed[0], c.removed[1], c.removed[2], c.removed[3]}),
                  (std::array<Float64, 4>{}));
        EXPECT_NE(c.kept[2], 0.0) << "the other area stays";
        EXPECT_TRUE(doc->drawing->changed);
    }

    // Without an area the PDF item writes nothing and says why.
    PutScrapData(4, kScrapFlavorUTF8, "kept");
    ClearRecordedAlerts();
    ASSERT_TRUE(MenuItemAvailable(131, 4));
    MenuCommandGlobals.code = 131, MenuCommandGlobals.param = 4;
    DoMenuCommand(doc);
    EXPECT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_EQ(GetScrapTextUTF8(100), "kept");
}

} // namespace
