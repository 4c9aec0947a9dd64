// The real Open and Save panels, driven offscreen: the folder they start in, the one format choice,
// the detail view's columns, and the Open panel's preview of drawings.
#include "FilesFixture.h"

#include "Platform/AppResources.h"
#include "Platform/AppleDouble.h"
#include "Other/BundleFiles.h"
#include "Platform/FileChoosers.h"
#include "Files/NativeDocument.h"
#include "Files/NativeFile.h"
#include "Platform/NumberText.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/Preferences.h"
#include "Platform/PreferencesStore.h"
#include "Platform/QuickDraw.h"
#include "Platform/ResourceFiles.h"
#include "TestSupport.h"
#include "Other/ZEZUdivari.h"

#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// A version 2 picture of one red pixel map, unpacked.
std::vector<UInt8> RedPicture(int side) {
    std::vector<UInt8> b;
    auto u16 = [&](int v) { b.push_back(UInt8(v >> 8)), b.push_back(UInt8(v)); };
    auto rect = [&] { u16(0), u16(0), u16(side), u16(side); };
    u16(0), rect(), u16(0x0011), u16(0x02FF), u16(0x0C00);
    b.resize(b.size() + 24);
    u16(0x009A), u16(0), u16(0xFF), u16(0x8000 | 4 * side), rect();
    for (int v : {0, 1, 0, 0, 0, 0x48, 0, 0x48, 16, 32, 3, 8, 0, 0, 0, 0, 0, 0})
        u16(v); // version, pack type 1, resolutions, RGB direct, 32 bits, 3 components of 8
    rect(), rect(), u16(0);
    for (int i = 0; i < side * side; ++i)
        b.insert(b.end(), {0, 255, 0, 0});
    u16(0x00FF);
    return b;
}

// Runs the Open panel with its options and preview under a script.
bool OpenPanel(const FilePanelScript& script) {
    SetFilePanelScript(script);
    const OSType any[4] = {kAnyFileType, 0, 0, 0};
    FSRef file;
    OSType type = 0;
    bool chosen = OpenPanelWithOptions(PStr("Open"), any, &file, &type, true);
    SetFilePanelScript(nullptr);
    return chosen;
}

std::string StartFolderOfOpenPanel() {
    std::string folder;
    OpenPanel([&](FilePanelDriver& panel) {
        folder = panel.Folder();
        panel.Cancel();
    });
    return folder;
}

} // namespace

class FilePanelsTest : public FilesTest {
  protected:
    std::string folder, documents;
    void SetUp() override {
        FilesTest::SetUp();
        EnsureTestApplication();
        LoadAppResources();
        SetDefaultGeneralPrefs();
        folder = MakeTestFolder("Panels");
        documents = MakeTestFolder("PanelDocuments");
        std::ofstream(std::string(std::getenv("XDG_CONFIG_HOME")) + "/user-dirs.dirs")
            << "XDG_DOCUMENTS_DIR=\"" << documents << "\"\n";
        PrefRemove(PStr("last folder"), kApplicationId);
    }
    void TearDown() override {
        SetFilePanelScript(nullptr);
        PrefRemove(PStr("last folder"), kApplicationId);
        FilesTest::TearDown();
    }
    // A file the preview takes for a drawing: its type and creator, its data of the given size.
    std::string Drawing(const std::string& name, size_t bytes) {
        std::string path = folder + "/" + name;
        WriteFileBytes(path, std::vector<UInt8>(bytes, 'x'));
        FSRef ref = RefFor(path);
        FInfo info{};
        info.fdType = kNativeFileType;
        info.fdCreator = kNativeCreator;
        FSSetFinderInfo(&ref, info);
        return path;
    }
};

TEST_F(FilePanelsTest, PanelsStartInTheLastUsedFolderElseTheDocumentsFolder) {
    EXPECT_EQ(StartFolderOfOpenPanel(), documents);

    // Saving chooses the folder the next panel starts in, also after a restart.
    DocWindowRecord* doc = NewDoc();
    std::string saveStart;
    SetFilePanelScript([&](FilePanelDriver& panel) {
        saveStart = panel.Folder();
        panel.Choose(folder + "/Plan.cadx");
    });
    FSRef chosen;
    EXPECT_TRUE(SavePanel(doc, PStr("Save"), &chosen, true));
    SetFilePanelScript(nullptr);
    EXPECT_EQ(saveStart, documents);
    EXPECT_STREQ(chosen.path, (folder + "/Plan.cadx").c_str());
    EXPECT_EQ(StartFolderOfOpenPanel(), folder);
    PrefForgetStores();
    EXPECT_EQ(StartFolderOfOpenPanel(), folder);

    // A folder that is gone is not asked for; without a documents folder the home folder is used,
    // and no folder is made.
    std::filesystem::remove_all(folder);
    EXPECT_EQ(StartFolderOfOpenPanel(), documents);
    std::filesystem::remove_all(documents);
    std::string start = StartFolderOfOpenPanel();
    EXPECT_EQ(start, std::filesystem::path(std::getenv("HOME")).lexically_normal().string());
    EXPECT_NE(start, std::filesystem::current_path().string());
    EXPECT_FALSE(std::filesystem::exists(documents));
}

TEST_F(FilePanelsTest, OneFormatChoiceAndWholeNamesAndDates) {
    Drawing("Bracket for the left side, revision 12.cadx", 10);
    RememberPanelFolder(folder + "/x");
    auto check = [](FilePanelDriver& panel) {
        EXPECT_EQ(panel.NameFilters().size(), 1u);
        EXPECT_FALSE(panel.TypeChoiceShown());
        EXPECT_TRUE(panel.ColumnsShowWholeEntries());
        panel.Cancel();
    };
    OpenPanel(check);
    SetFilePanelScript(check);
    FSRef chosen;
    EXPECT_FALSE(SavePanel(NewDoc(), PStr("Save"), &chosen, true));
    EXPECT_FALSE(ChooseSaveFile(&chosen, PStr("Save"), PStr("List.txt")));
}

TEST_F(FilePanelsTest, PreviewShowsThePictureSizeAndDateOfDrawings) {
    std::string plain = Drawing("Plain.cadx", 2048);
    std::string pictured = Drawing("Pictured.cadx", 100);
    {
        FSRef ref = RefFor(pictured);
        SInt16 res = FSOpenResFile(&ref, fsRdWrPerm);
        ASSERT_NE(res, -1);
        std::vector<UInt8> red = RedPicture(8);
        ASSERT_EQ(AddResourceBlock(res, 0x50494354, 29876, red.data(), Size(red.size()), PStr("")), noErr);
        CloseResFile(res);
    }
    std::string text = folder + "/notes.txt";
    WriteFileBytes(text, {'a'});
    // 5 March 2024, 14:07 local time.
    std::tm when{};
    when.tm_year = 124, when.tm_mon = 2, when.tm_mday = 5, when.tm_hour = 14, when.tm_min = 7,
    when.tm_isdst = -1;
    std::time_t t = std::mktime(&when);
    utimbuf times{t, t};
    utime(plain.c_str(), &times);

    Str255 size, changed, time, date;
    FSRef plainRef = RefFor(plain);
    ASSERT_TRUE(OpenPreviewLines(&plainRef, size, changed));
    EXPECT_EQ(ToStd(size), "2.0KB");
    TimeString(MacSecondsFromUnixTime(t), time);
    DateString(MacSecondsFromUnixTime(t), date);
    EXPECT_EQ(ToStd(changed), ToStd(time) + ", " + ToStd(date));
    EXPECT_NE(ToStd(date).find("24"), std::string::npos) << ToStd(date);

    // What the preview area shows, as pixels: the picture square's centre and whether the band
    // below it has text.
    struct Seen {
        RGBColor centre{};
        bool blank = true, bandHasText = false;
        Rect square{};
    };
    auto look = [](CGrafPtr port) {
        Seen s;
        Rect area;
        GetPortBounds(port, &area);
        SInt16 band = SInt16(area.bottom - 24), side = std::min<SInt16>(area.right, band);
        s.square = Rect{SInt16((band - side) / 2), SInt16((area.right - side) / 2), 0, 0};
        s.square.bottom = SInt16(s.square.top + side), s.square.right = SInt16(s.square.left + side);
        s.centre = GetPortPixel(port, SInt16(area.right / 2), SInt16(band / 2));
        for (SInt16 v = 0; v < area.bottom; ++v)
            for (SInt16 h = 0; h < area.right; ++h) {
                RGBColor c = GetPortPixel(port, h, v);
                bool white = c.red == 0xFFFF && c.green == 0xFFFF && c.blue == 0xFFFF;
                s.blank = s.blank && white;
                if (v >= band && c.red < 0x8000 && c.green < 0x8000) s.bandHasText = true;
            }
        return s;
    };
    RememberPanelFolder(plain);
    std::vector<Seen> seen;
    GWorldPtr placeholder = nullptr;
    int darkInSquare = 0;
    OpenPanel([&](FilePanelDriver& panel) {
        ASSERT_NE(panel.PreviewPort(), nullptr);
        for (const std::string& path : {plain, pictured, text, folder}) {
            panel.Select(path);
            seen.push_back(look(panel.PreviewPort()));
        }
        // Without the placeholder picture the text "No preview" stands in the square.
        std::string bare = MakeTestFolder("ResourcesWithoutPictures");
        std::filesystem::copy_file(AppResourceFolder() + "/strings.rdesc", bare + "/strings.rdesc");
        LoadAppResourcesFrom(bare);
        panel.Select(plain);
        seen.push_back(look(panel.PreviewPort()));
        Rect square = seen[0].square;
        SInt16 middle = SInt16((square.top + square.bottom) / 2);
        for (SInt16 v = SInt16(middle - 8); v <= middle + 3; ++v)
            for (SInt16 h = square.left; h < square.right; ++h)
                darkInSquare += GetPortPixel(panel.PreviewPort(), h, v).red < 0x8000;
        ResetAppResources();
        LoadAppResources();
        // The placeholder as the program's picture 16000 draws it into the same square.
        Rect bounds{0, 0, square.bottom, square.right};
        NewGWorld(&placeholder, 32, &bounds);
        SetGWorld(placeholder);
        EraseRect(&bounds);
        DrawBundlePicture(16000, placeholder, &square);
        panel.Cancel();
    });
    ASSERT_EQ(seen.size(), 5u);
    ASSERT_NE(placeholder, nullptr);
    RGBColor expected = GetPortPixel(placeholder, SInt16((seen[0].square.left + seen[0].square.right) / 2),
                                     SInt16((seen[0].square.top + seen[0].square.bottom) / 2));
    DisposeGWorld(placeholder);
    EXPECT_FALSE(seen[0].blank);
    EXPECT_TRUE(seen[0].bandHasText);
    EXPECT_EQ(seen[0].centre.red, expected.red);
    EXPECT_EQ(seen[0].centre.blue, expected.blue);
    EXPECT_NE(expected.red, 0xFFFF); // the placeholder is no white square
    EXPECT_EQ(seen[1].centre.red, 0xFFFF);
    EXPECT_EQ(seen[1].centre.green, 0);
    EXPECT_TRUE(seen[1].bandHasText);
    EXPECT_TRUE(seen[2].blank); // neither other files nor folders are previewed
    EXPECT_TRUE(seen[3].blank);
    EXPECT_GT(darkInSquare, 10);
    EXPECT_NE(seen[4].centre.blue, expected.blue);
    EXPECT_TRUE(seen[4].bandHasText);
}

TEST_F(FilePanelsTest, TheNameFieldNamesTheFileAfterAFormatChange) {
    // The drawing has its file, which the panel proposes and selects in its list.
    DocWindowRecord* doc = NewDoc();
    doc->settings->appendExtension = 1;
    const std::string road = folder + "/Road.cadx", other = folder + "/Other.cadx";
    for (const std::string& path : {other, road}) {
        doc->drawing->file = RefFor(path);
        ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
    }
    WriteFileBytes(folder + "/Other.DXF", {'0', '\n'});
    struct Case {
        const char* selected; // a file clicked in the list first, or none
        SInt16 format;
        const char* name;
    };
    const Case kCases[] = {
        {nullptr, kSaveDXF, "Road.DXF"},
        {nullptr, kSavePDF, "Road.PDF"},
        {"Other.cadx", kSaveDXF, "Other.DXF"}, // there already: the name must not join the old one
    };
    for (const Case& c : kCases) {
        doc->settings->saveFormat = kSaveNative;
        const std::string target = folder + "/" + c.name;
        const bool there = std::filesystem::exists(target);
        std::string shown, asked;
        SetFilePanelScript([&](FilePanelDriver& panel) {
            if (c.selected != nullptr) panel.Select(folder + "/" + c.selected);
            panel.ChooseFormat(c.format);
            shown = panel.NameField();
            asked = panel.Confirm();
            if (!asked.empty()) panel.Cancel();
        });
        FSRef chosen{};
        EXPECT_EQ(SavePanel(doc, PStr("Save"), &chosen, true), !there) << c.name;
        EXPECT_EQ(shown, c.name);
        // The question whether to replace a file names the file in the field, and only that one.
        EXPECT_EQ(asked.empty(), !there) << asked;
        if (there) {
            EXPECT_NE(asked.find(c.name), std::string::npos) << asked;
        } else {
            EXPECT_STREQ(chosen.path, target.c_str());
        }
    }
    SetFilePanelScript(nullptr);

    // The Open panel opens the file its field names, with the format chosen after it.
    GeneralPrefs.openFormat = kOpenAutomatic;
    std::string opened;
    EXPECT_TRUE(OpenPanel([&](FilePanelDriver& panel) {
        panel.Select(road);
        panel.ChooseFormat(kOpenNative);
        opened = panel.NameField();
        EXPECT_EQ(panel.Confirm(), "");
    }));
    EXPECT_EQ(opened, "Road.cadx");
    EXPECT_EQ(UInt32(GeneralPrefs.openFormat), UInt32(kOpenNative));
}
