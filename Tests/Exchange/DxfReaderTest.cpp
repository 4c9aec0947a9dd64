// The DXF reader's frame: recognising the file, refusing binary and unreadable files without
// leaving a drawing behind, a file cut short, comments and unknown codes in the log, values that are
// no numbers, pairs kept in step, the version note, cancel, the import scale and the options dialog.
#include "DxfReaderTestSupport.h"

#include "Dialogs/AskingDialogs.h"
#include "Exchange/DxfReader.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/Preferences.h"
#include "GuiHarness.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Model/RecordBlocks.h"
#include "Platform/DialogManager.h"
#include "Platform/Events.h"
#include "Platform/SimulatedInput.h"

#include <cmath>
#include <cstring>

namespace {

const DxfCodePairs kLine = {{0, "LINE"}, {8, "0"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}};

DxfCodePairs Lines(int n) {
    DxfCodePairs p;
    for (int i = 0; i < n; ++i) {
        p.push_back({0, "LINE"});
        p.push_back({10, std::to_string(i)});
        p.push_back({20, "0"});
        p.push_back({11, std::to_string(i)});
        p.push_back({21, "5"});
    }
    return p;
}

} // namespace

TEST_F(DxfReaderTest, ContentTestLooksForSectionWithAByteAfterIt) {
    const struct {
        const char* bytes;
        bool dxf;
    } cases[] = {{"0\nSECTION\n", true},
                 {"  0\r\nSECTION", false},
                 {"section\n", false},
                 {"", false},
                 {"xxSECTIONx", true}};
    for (const auto& c : cases)
        EXPECT_EQ(LooksLikeDXF(reinterpret_cast<const UInt8*>(c.bytes), SInt32(std::strlen(c.bytes))), c.dxf)
            << c.bytes;
}

TEST_F(DxfReaderTest, RefusedFilesLeaveNoDrawing) {
    const struct {
        std::string text;
        int message;
    } cases[] = {
        {std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "SECTION\0\0\2ENTITIES", 49},
        {"this is no drawing\nat all\n", 90},
        {"", 90},
    };
    for (const auto& c : cases) {
        ClearRecordedAlerts();
        EXPECT_FALSE(Import(c.text));
        EXPECT_EQ(doc, nullptr);
        EXPECT_EQ(OpenDocumentList, nullptr);
        EXPECT_EQ(Messages(), std::vector<int>{c.message}) << c.message;
    }
}

TEST_F(DxfReaderTest, AFileCutShortKeepsWhatWasReadAndSaysSo) {
    std::string text = DxfEntities(Lines(3));
    // Cut inside the third line's pairs: that line is not half made.
    text = text.substr(0, text.find("2\n21\n5\n0\nENDSEC"));
    ASSERT_TRUE(Import(text));
    EXPECT_EQ(ListOf(doc->lineHead).size(), 2u);
    EXPECT_EQ(Messages(), std::vector<int>{124});
    EXPECT_NE(Log().find("ends before its end mark"), std::string::npos);
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(DxfReaderTest, CommentsAndUnknownCodesGoToTheLogAndThePairsAfterThemAreRead) {
    DxfCodePairs pairs = {{999, "made by hand"}, {0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"}, {10, "1"},
                          {1234, "whatever"},    {20, "2"},      {11, "3"},       {21, "4"},   {0, "ENDSEC"},
                          {999, "between"},      {0, "EOF"}};
    ASSERT_TRUE(Import(DxfText(pairs)));
    auto lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->y1, 2);
    EXPECT_EQ(lines[0]->x2, 3);
    std::string log = Log();
    EXPECT_NE(log.find("made by hand\r"), std::string::npos);
    EXPECT_NE(log.find("between\r"), std::string::npos);
    EXPECT_NE(log.find("Line: 11 unknown groupcode: 1234\r"), std::string::npos) << log;
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DxfReaderTest, ValuesThatAreNoNumbersDropTheirElementOnly) {
    for (const char* bad : {"nan", "inf", "-inf", "1e999", "NaN"}) {
        DxfCodePairs pairs = {{0, "CIRCLE"}, {10, "1"}, {20, "1"}, {40, bad}};
        pairs.insert(pairs.end(), kLine.begin(), kLine.end());
        ASSERT_TRUE(Import(DxfEntities(pairs))) << bad;
        EXPECT_TRUE(ListOf(doc->arcHead).empty()) << bad;
        EXPECT_EQ(ListOf(doc->lineHead).size(), 1u) << bad;
        EXPECT_NE(Log().find("value is not a number: " + std::string(bad)), std::string::npos) << bad;
        DisposeDocumentRecords(doc);
    }
}

TEST_F(DxfReaderTest, HugeCoordinatesBecomeZero) {
    ASSERT_TRUE(Import(DxfEntities({{0, "LINE"}, {10, "5e21"}, {20, "-5e21"}, {11, "1e20"}, {21, "3"}})));
    auto lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->x1, 0);
    EXPECT_EQ(lines[0]->y1, 0);
    EXPECT_EQ(lines[0]->x2, 1e20);
}

// Objects that are passed over go by pairs: values that look like entity names are not taken for
// entities, and the entity after them is read whole.
TEST_F(DxfReaderTest, PassedOverObjectsNeverSwallowTheNextEntity) {
    for (const char* kind :
         {"LEADER", "MLINE", "REGION", "SHAPE", "TOLERANCE", "WIPEOUT", "MTEXT", "INSERT"}) {
        DxfCodePairs pairs = {{0, kind}, {8, "LINE"}, {1, "CIRCLE"}, {10, "9"}, {20, "9"}};
        pairs.insert(pairs.end(), kLine.begin(), kLine.end());
        ASSERT_TRUE(Import(DxfEntities(pairs))) << kind;
        auto lines = ListOf(doc->lineHead);
        ASSERT_EQ(lines.size(), 1u) << kind;
        EXPECT_EQ(lines[0]->x1, 1) << kind;
        EXPECT_TRUE(ListOf(doc->arcHead).empty()) << kind;
        bool noted =
            std::string(kind) != "WIPEOUT" && std::string(kind) != "MTEXT" && std::string(kind) != "INSERT";
        EXPECT_EQ(Log().find(" " + std::string(kind) + "\r") != std::string::npos, noted) << kind;
        DisposeDocumentRecords(doc);
    }
}

TEST_F(DxfReaderTest, AnOverlongValueLineKeepsThePairsInStep) {
    DxfCodePairs pairs = {{0, "WIPEOUT"}, {1, std::string(600, 'x')}, {10, "0"}};
    pairs.insert(pairs.end(), kLine.begin(), kLine.end());
    ASSERT_TRUE(Import(DxfEntities(pairs)));
    ASSERT_EQ(ListOf(doc->lineHead).size(), 1u);
    EXPECT_EQ(ListOf(doc->lineHead)[0]->y2, 4);
}

TEST_F(DxfReaderTest, SectionsOtherThanEntitiesArePassedOverAndANewerVersionIsNoted) {
    DxfCodePairs pairs = {{0, "SECTION"}, {2, "HEADER"},  {9, "$ACADVER"}, {1, "AC1018"}, {9, "$X"},
                          {1, "LINE"},    {0, "ENDSEC"},  {0, "SECTION"},  {2, "BLOCKS"}, {0, "BLOCK"},
                          {2, "B"},       {0, "LINE"},    {10, "7"},       {0, "ENDBLK"}, {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "ENTITIES"}};
    pairs.insert(pairs.end(), kLine.begin(), kLine.end());
    pairs.insert(pairs.end(), {{0, "ENDSEC"}, {0, "EOF"}});
    ASSERT_TRUE(Import(DxfText(pairs)));
    auto lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->x1, 1);
    EXPECT_EQ(Messages(), std::vector<int>{59});
}

TEST_F(DxfReaderTest, CommandPeriodStopsTheReadAndKeepsWhatWasRead) {
    SimulateKey(true, kKeyCodePeriod, '.', cmdKey, false);
    ASSERT_TRUE(Import(DxfEntities(Lines(200))));
    size_t n = ListOf(doc->lineHead).size();
    EXPECT_GE(n, 1u);
    EXPECT_LT(n, 200u);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(DxfReaderTest, TheDrawingIsNamedAfterTheFileAndTakesTheImportScale) {
    GeneralPrefs.importScale = 50;
    ASSERT_TRUE(Import(DxfEntities(kLine), "Site plan.dxf"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc->drawing->documentName + 1),
                          doc->drawing->documentName[0]),
              "Site plan.dxf");
    EXPECT_EQ(doc->settings->drawingScale, 50);
    EXPECT_FALSE(doc->drawing->undo.undoReplaying);
    // A scale of 0 or one that is no number is refused.
    for (Float64 bad : {0.0, -2.0, std::nan("")}) {
        GeneralPrefs.importScale = bad;
        EXPECT_EQ(DxfImportScale(), 1.0);
    }
}

// A large import takes its records from blocks; what is drawn afterwards is allocated on its own, and
// removing elements one by one and closing the drawing gives every block back.
TEST_F(DxfReaderTest, ImportedElementsComeFromBlocksThatGoWithTheDrawing) {
    const size_t blocksBefore = RecordBlocksInUse();
    ASSERT_TRUE(Import(DxfEntities(Lines(40000))));
    EXPECT_GT(RecordBlocksInUse(), blocksBefore + 1);
    const size_t afterImport = RecordBlocksInUse();
    SeekLastLine(doc);
    for (int i = 0; i < 40000; ++i)
        AppendLineAtCursor(doc, i, 0, i, 1, false);
    EXPECT_EQ(RecordBlocksInUse(), afterImport);
    int n = 0;
    for (LineRecord* e = doc->lineHead->next; e != nullptr;) {
        LineRecord* next = e->next;
        if (n++ % 2 == 0) RemoveLine(doc, e);
        e = next;
    }
    EXPECT_EQ(ListOf(doc->lineHead).size(), 40000u);
    DisposeDocumentRecords(doc);
    doc = nullptr;
    EXPECT_EQ(RecordBlocksInUse(), blocksBefore);
}

TEST_F(DxfReaderTest, TheOpenDispatcherTakesDxfFilesByContentAndExtension) {
    RegisterDXFImporter();
    GeneralPrefs.openFormat = kOpenAutomatic;
    std::string path = folder + "/auto.DXF";
    FILE* f = fopen(path.c_str(), "wb");
    std::string text = DxfEntities(kLine);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    FSRef ref;
    ASSERT_EQ(FSMakeRef(path.c_str(), &ref), noErr);
    DocWindowRecord* opened = nullptr;
    EXPECT_TRUE(OpenDocumentFile(&opened, &ref));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(ListOf(opened->lineHead).size(), 1u);
    RegisterImporter(kOpenDXF, FormatImporter{nullptr, nullptr});
}

// Dialog 188 opens where its resource puts it: a click on an item is a click at its local point.
void QueueImportOptionsClick(SInt16 v, SInt16 h) {
    SimulateMouseMove(Point{SInt16(80 + v), SInt16(160 + h)});
    SimulateMouseButton(true, 0);
    SimulateMouseButton(false, 0);
}

using ImportOptionsDialogTest = GuiTest;

TEST_F(ImportOptionsDialogTest, StoresTheDxfFieldsOnOkOnlyAndRefusesAScaleOfZero) {
    SetDefaultGeneralPrefs();
    GeneralPrefs.importDimensions = 1;
    GeneralPrefs.importScale = 1;
    GeneralPrefs.codePage = 6;
    QueueImportOptionsClick(21, 40); // the dimensions box
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    EXPECT_FALSE(ImportOptionsDialog());
    EXPECT_EQ(+GeneralPrefs.importDimensions, 1u);

    UInt32 beeps = BeepCount();
    QueueKey(kKeyCodeTab, kTabCharCode); // the only field, selected whole
    QueueTypedText("0");
    QueueKey(kKeyCodeReturn, kReturnCharCode); // refused: a beep, the dialog stays
    QueueTypedText("2*50");
    QueueImportOptionsClick(21, 40);
    QueueImportOptionsClick(153, 350); // Mac Roman, the last code page
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    EXPECT_TRUE(ImportOptionsDialog());
    EXPECT_EQ(BeepCount(), beeps + 1);
    EXPECT_EQ(+GeneralPrefs.importDimensions, 0u);
    EXPECT_EQ(+GeneralPrefs.importScale, 100.0);
    EXPECT_EQ(+GeneralPrefs.codePage, 13u);
}
