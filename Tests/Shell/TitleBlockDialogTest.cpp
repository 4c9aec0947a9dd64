// The title block end to end: Edit item 11 opens dialog 146 over the drawing's twenty fields, OK stores
// them cut to their capacities and sets the drawing scale from field 7, and an empty drawing takes the
// paper template field 6 names. The six templates kept with the program are checked as read.
#include "../Tools/ToolGuiFixture.h"

#include "Files/NativeDocument.h"
#include "Files/TitleBlock.h"
#include "Model/DocSettings.h"
#include "Model/NewDocument.h"
#include "Other/BundleFiles.h"
#include "Files/Preferences.h"
#include "Platform/AppResources.h"
#include "Platform/MacRoman.h"
#include "View/TextDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string Field(DocWindowRecord* doc, int n) {
    return PStrToUTF8(TitleBlockField(doc->drawing->titleBlock, n));
}

class TitleBlockMenu : public ToolGuiTest {
  protected:
    // Opens the dialog, types into fields 1, 2, ... in turn (Tab between them; an empty text leaves the
    // field as it is) and ends with Return (OK) or Escape (Cancel).
    void Answer(const std::vector<std::string>& fields, bool ok) {
        ASSERT_TRUE(ChooseMenuItem(kEditMenu, 11));
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) QueueKey(kKeyCodeTab, kTabCharCode);
            if (!fields[i].empty()) QueueTypedText(fields[i]);
        }
        if (ok)
            QueueKey(kKeyCodeReturn, kReturnCharCode);
        else
            QueueKey(kKeyCodeEscape, kEscapeCharCode);
        RunLoop();
    }
};

} // namespace

TEST_F(TitleBlockMenu, OKStoresFieldsCutToTheirCapacities) {
    const std::string longText(25, 'N');
    Answer({longText, "12345", "", std::string(300, 't')}, true);
    EXPECT_EQ(Field(doc, 1), std::string(19, 'N'));
    EXPECT_EQ(Field(doc, 2), "123");
    EXPECT_EQ(Field(doc, 4), std::string(255, 't'));
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(TitleBlockMenu, CancelKeepsFieldsAndScale) {
    const std::string before = Field(doc, 1);
    const double scale = doc->settings->drawingScale;
    Answer({"Other", "", "", "", "", "", "1:50"}, false);
    EXPECT_EQ(Field(doc, 1), before);
    EXPECT_EQ(doc->settings->drawingScale, scale);
    EXPECT_FALSE(doc->drawing->changed);
}

TEST_F(TitleBlockMenu, ScaleFieldSetsTheDrawingScale) {
    Answer({"", "", "", "", "", "", "1:50"}, true);
    EXPECT_DOUBLE_EQ(doc->settings->drawingScale, 0.02);
    EXPECT_EQ(Field(doc, 7), "1:50");
}

TEST(TitleBlockScale, OnlyTwoPositiveNumbersWithAFiniteQuotientSetIt) {
    struct Case {
        const char* field;
        double want; // 0: unchanged
    } cases[] = {
        {"1:50", 0.02},      {"1,5:3", 0.5},      {"2D1:4", 5}, {"1:0", 0}, {"0:50", 0},
        {"-1:50", 0},        {"1:-50", 0},        {"150", 0},   {":", 0},   {"abc:def", 0},
        {"1D300:1D-300", 0}, {"1D-300:1D300", 0}, {"5:1 ", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        DocSettings settings{};
        settings.drawingScale = 1;
        DocWindowRecord doc{};
        doc.settings = &settings;
        Str255 field;
        UTF8ToPStr(c.field, field, 19);
        EXPECT_EQ(ApplyTitleBlockScale(&doc, field), c.want != 0);
        EXPECT_DOUBLE_EQ(settings.drawingScale, c.want != 0 ? c.want : 1);
    }
}

TEST_F(TitleBlockMenu, AnEmptyDrawingTakesThePaperTemplateOfField6) {
    Answer({"", "", "", "Pump housing", "", "A3"}, true);
    ASSERT_NE(doc->lineHead->next, nullptr);
    double maxX = 0, maxY = 0;
    for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next) {
        EXPECT_EQ(e->layer, 1023);
        maxX = std::max({maxX, e->x1, e->x2});
        maxY = std::max({maxY, e->y1, e->y2});
    }
    EXPECT_DOUBLE_EQ(maxX, 420);
    EXPECT_DOUBLE_EQ(maxY, 297);
    EXPECT_EQ(doc->settings->paperFormat, 3);
    // The template's title shows field 4.
    bool shown = false;
    for (TextRecord* t = doc->textHead->next; t != nullptr; t = t->next) {
        Str255 text;
        std::memcpy(text, t->text, sizeof text);
        shown = shown || (ExpandTextVariables(doc, text) && PStrToUTF8(text) == "Pump housing");
    }
    EXPECT_TRUE(shown);
}

TEST_F(TitleBlockMenu, NoTemplateForADrawingWithElementsOrAnUnknownFormat) {
    const UInt16 format = doc->settings->paperFormat;
    Draw(0, 0, 10, 10);
    Answer({"", "", "", "", "", "A3"}, true);
    EXPECT_EQ(Lines(), 1);
    EXPECT_EQ(doc->settings->paperFormat, format);
    FreshDocument();
    Answer({"", "", "", "", "", "B5"}, true);
    EXPECT_EQ(doc->lineHead->next, nullptr);
    EXPECT_EQ(doc->settings->paperFormat, format);
}

TEST(PaperTemplates, NamesAndFormats) {
    const char* names[] = {"A4.cadx", "4A.cadx", "A3.cadx", "A2.cadx", "A1.cadx", "A0.cadx"};
    for (SInt16 index : {0, 1, 2, 3, 4, 5, 6, 7}) {
        Str255 name;
        UTF8ToPStr("kept", name, 255);
        PaperTemplateName(index, name);
        EXPECT_EQ(PStrToUTF8(name), index >= 1 && index <= 6 ? names[index - 1] : "kept") << index;
    }
    const std::pair<const char*, SInt16> formats[] = {{"A4", 1}, {"A4 portrait", 1}, {"A4 landscape", 2},
                                                      {"A3", 3}, {"A2", 4},          {"A1", 5},
                                                      {"A0", 6}, {"a3", 0},          {"", 0}};
    for (const auto& [text, index] : formats) {
        Str255 format;
        UTF8ToPStr(text, format, 255);
        EXPECT_EQ(PaperIndexForFormat(format), index) << text;
    }
}

TEST(PaperTemplates, EachTemplateHoldsItsSheetAndTheTwentyFieldPlaceholders) {
    const double sizes[6][2] = {{210, 297}, {297, 210}, {420, 297}, {594, 420}, {841, 594}, {1189, 841}};
    FSRef folder{};
    ASSERT_EQ(FindResourcesFolder(&folder), noErr);
    for (SInt16 index = 1; index <= 6; ++index) {
        SCOPED_TRACE(index);
        Str255 name;
        PaperTemplateName(index, name);
        FSRef file{};
        ASSERT_EQ(
            FSMakeRef((std::string(folder.path) + "/English.lproj/Pages/" + PStrToUTF8(name)).c_str(), &file),
            noErr);
        DocWindowRecord* doc = nullptr;
        ASSERT_TRUE(OpenDocument(&doc, &file, false, -1, 0, 0));
        double maxX = 0, maxY = 0;
        for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next) {
            maxX = std::max({maxX, e->x1, e->x2});
            maxY = std::max({maxY, e->y1, e->y2});
        }
        EXPECT_DOUBLE_EQ(maxX, sizes[index - 1][0]);
        EXPECT_DOUBLE_EQ(maxY, sizes[index - 1][1]);
        EXPECT_EQ(doc->settings->paperFormat, index);
        int placeholders = 0;
        for (TextRecord* t = doc->textHead->next; t != nullptr; t = t->next)
            placeholders += t->text[0] == 3 && t->text[1] == '^';
        EXPECT_EQ(placeholders, kTitleBlockFieldCount);
        DisposeDocumentRecords(doc);
    }
}

TEST(NormalizeAngle180, FoldsIntoHalfTurn) {
    const double cases[][2] = {{0, 0}, {179, 179}, {180, 0}, {-10, 170}, {725, 5}, {-540, 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(NormalizeAngle180(c[0]), c[1]) << c[0];
}

TEST(PaperTemplates, AMissingTemplateIsTakenFromTheFolderLastLocated) {
    FSRef resources{};
    ASSERT_EQ(FindResourcesFolder(&resources), noErr);
    const std::string real = resources.path;
    // A resources folder without templates, and the user's own copy of the A3 template elsewhere.
    char bare[] = "/tmp/dw-bare-XXXXXX";
    char mine[] = "/tmp/dw-mine-XXXXXX";
    ASSERT_NE(mkdtemp(bare), nullptr);
    ASSERT_NE(mkdtemp(mine), nullptr);
    namespace fs = std::filesystem;
    for (const auto& e : fs::directory_iterator(real))
        if (e.path().extension() == ".rdesc") fs::copy_file(e.path(), fs::path(bare) / e.path().filename());
    fs::copy_file(real + "/English.lproj/Pages/A3.cadx", std::string(mine) + "/A3.cadx");
    const std::string chosen = std::string(mine) + "/A1.cadx"; // the one located before
    GeneralPrefsRecord saved = GeneralPrefs;
    GeneralPrefs.paperTemplateSpec[0] = UInt8(chosen.size());
    std::memcpy(GeneralPrefs.paperTemplateSpec + 1, chosen.data(), chosen.size());
    LoadAppResourcesFrom(bare);
    DocWindowRecord* doc = nullptr;
    ASSERT_TRUE(NewDocument(&doc, nullptr, 0));
    EXPECT_TRUE(LoadPaperTemplate(doc, 3));
    EXPECT_NE(doc->lineHead->next, nullptr);
    EXPECT_EQ(doc->settings->paperFormat, 3);
    DisposeDocumentRecords(doc);
    GeneralPrefs = saved;
    ResetAppResources();
    fs::remove_all(bare);
    fs::remove_all(mine);
}
