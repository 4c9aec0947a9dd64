// The open and save-as dispatchers: native drawings by type and extension, the Open panel's format,
// automatic recognition by content and extension, formats not yet available refused with a
// message, what is not a drawing file (pipes, folders, devices, link loops) refused at once with its
// cause, Save As with its formats and copies, and the panels' options.
#include "FilesFixture.h"

#include "Platform/AppResources.h"
#include "Platform/AppleDouble.h"
#include "Platform/DialogManager.h"
#include "Platform/FileChoosers.h"
#include "Platform/FileManager.h"
#include "Files/NativeDocument.h"
#include "Files/NativeFile.h"
#include "Model/NewDocument.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/Preferences.h"
#include "TestSupport.h"
#include "Other/ZEZUdivari.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

namespace {

SInt32 gLastTestedCount = -1;
int gImports = 0;

Boolean LooksLikeTestDXF(const UInt8* bytes, SInt32 count) {
    gLastTestedCount = count;
    return count >= 9 && std::memcmp(bytes, "0\nSECTION", 9) == 0;
}

Boolean ImportFails(DocWindowRecord**, const FSRef*) {
    return false;
}

Boolean ImportAsNewDocument(DocWindowRecord** slot, const FSRef*) {
    ++gImports;
    return NewDocument(slot, nullptr, 0);
}

// The operating-system error message for a code as an alert shows it: its text and the code.
std::string OSErrorShown(OSErr code) {
    const std::vector<std::string>* list = FindStringList(401);
    std::string lead = std::to_string(code) + " ";
    if (list != nullptr)
        for (const std::string& line : *list)
            if (line.rfind(lead, 0) == 0) return line.substr(lead.size()) + " (" + std::to_string(code) + ")";
    return "no text for " + std::to_string(code);
}

std::string LastAlertText() {
    return RecordedAlerts().empty() ? std::string() : RecordedAlerts().back().params[0];
}

int gExports = 0;
Boolean ExportCounted(DocWindowRecord*, const FSRef* file) {
    ++gExports;
    WriteFileBytes(file->path, {'0', '\n'});
    return true;
}

} // namespace

class DispatchTest : public FilesTest {
  protected:
    std::string folder;
    void SetUp() override {
        FilesTest::SetUp();
        folder = MakeTestFolder("Dispatch");
        SetDefaultGeneralPrefs();
        GeneralPrefs.openFormat = kOpenAutomatic;
        gImports = gExports = 0;
        gLastTestedCount = -1;
    }
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        for (SInt16 f = 1; f <= 12; ++f)
            RegisterImporter(f, FormatImporter{nullptr, nullptr});
        for (SInt16 f = 1; f <= 7; ++f)
            RegisterExporter(f, nullptr);
        FilesTest::TearDown();
    }
    std::string Make(const std::string& name, const std::string& contents, OSType type = 0) {
        std::string path = folder + "/" + name;
        WriteFileBytes(path, std::vector<UInt8>(contents.begin(), contents.end()));
        if (type != 0) {
            FSRef ref = RefFor(path);
            FInfo info{};
            info.fdType = type;
            FSSetFinderInfo(&ref, info);
        }
        return path;
    }
    Boolean Open(const std::string& path, DocWindowRecord** doc = nullptr) {
        DocWindowRecord* opened = nullptr;
        FSRef ref = RefFor(path);
        ClearRecordedAlerts();
        Boolean ok = OpenDocumentFile(&opened, &ref);
        if (doc != nullptr) *doc = opened;
        return ok;
    }
    std::string SavedDrawing(const std::string& name) {
        DocWindowRecord* doc = NewDoc();
        doc->drawing->file = RefFor(folder + "/" + name);
        EXPECT_TRUE(SaveDocument(doc, true, false, false, false, false));
        DisposeDocumentRecords(doc);
        return folder + "/" + name;
    }
};

TEST_F(DispatchTest, NativeDrawingsByTypeAndExtension) {
    std::string drawing = SavedDrawing("Base.cadx");
    std::vector<UInt8> bytes = ReadFileBytes(drawing);
    std::string asText = folder + "/Copy.CADX";
    WriteFileBytes(asText, bytes);
    FSRef textRef = RefFor(asText);
    FInfo info{};
    info.fdType = 0x54455854; // 'TEXT'
    FSSetFinderInfo(&textRef, info);
    DocWindowRecord* doc = nullptr;
    EXPECT_TRUE(Open(asText, &doc));
    ASSERT_NE(doc, nullptr);
    EXPECT_STREQ(doc->drawing->file.path, asText.c_str());

    info.fdType = kSymbolLibraryType;
    FSSetFinderInfo(&textRef, info);
    EXPECT_FALSE(Open(asText));
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{52});

    // A drawing known by its type alone, whatever its name, and in every open format.
    std::string typed = folder + "/drawing.bin";
    WriteFileBytes(typed, bytes);
    FSRef typedRef = RefFor(typed);
    info.fdType = kOldNativeFileType;
    FSSetFinderInfo(&typedRef, info);
    GeneralPrefs.openFormat = kOpenDXF;
    EXPECT_TRUE(Open(typed));

    EXPECT_FALSE(Open(folder + "/missing.cadx"));
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{44});
}

TEST_F(DispatchTest, AutomaticModeNeedsContentAndExtensionToAgree) {
    RegisterImporter(kOpenDXF, FormatImporter{LooksLikeTestDXF, ImportAsNewDocument});
    std::string txt = Make("plan.txt", "0\nSECTION\n2\nHEADER\n");
    EXPECT_FALSE(Open(txt));
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{30});
    // The content test saw the file's 19 bytes, not a padded buffer.
    EXPECT_EQ(gLastTestedCount, 19);
    std::string dxf = Make("plan.dxf", "0\nSECTION\n2\nHEADER\n");
    EXPECT_TRUE(Open(dxf));
    EXPECT_EQ(gImports, 1);
    GeneralPrefs.openFormat = kOpenDXF;
    EXPECT_TRUE(Open(txt));
    EXPECT_EQ(gImports, 2);

    // A failed importer and a file that cannot be read for the content tests are failures.
    GeneralPrefs.openFormat = kOpenAutomatic;
    RegisterImporter(kOpenDXF, FormatImporter{LooksLikeTestDXF, ImportFails});
    EXPECT_FALSE(Open(dxf));
    RegisterImporter(kOpenDXF, FormatImporter{LooksLikeTestDXF, ImportAsNewDocument});
    {
        WithoutPermissionOverride noOverride;
        chmod(dxf.c_str(), 0);
        EXPECT_FALSE(Open(dxf));
        EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{12});
        chmod(dxf.c_str(), 0644);
    }

    // Formats whose readers are not there yet, and open formats nobody knows, say so.
    EXPECT_FALSE(Open(Make("points.stl", "anything")));
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{kMsgFormatNotAvailable});
    EXPECT_FALSE(Open(Make("photo", "x", kPictureFileType)));
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{kMsgFormatNotAvailable});
    GeneralPrefs.openFormat = 42;
    EXPECT_FALSE(Open(dxf));
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{30});
    GeneralPrefs.openFormat = kOpenAutomatic;
    EXPECT_FALSE(Open(Make("lib.dat", "x", kSymbolLibraryType)));
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{52});
}

TEST_F(DispatchTest, WhatIsNotADrawingFileIsRefusedAtOnceWithItsCause) {
    std::string pipe = folder + "/Pipe.cadx";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(mkdir((folder + "/Folder.cadx").c_str(), 0700), 0);
    ASSERT_EQ(symlink("/dev/zero", (folder + "/Device.cadx").c_str()), 0);
    ASSERT_EQ(symlink("Loop2.cadx", (folder + "/Loop.cadx").c_str()), 0);
    ASSERT_EQ(symlink("Loop.cadx", (folder + "/Loop2.cadx").c_str()), 0);
    ASSERT_EQ(symlink((folder + "/Pipe.cadx").c_str(), (folder + "/Pipe link.dxf").c_str()), 0);
    const struct {
        const char* name;
        OSErr cause;
    } cases[] = {{"Pipe.cadx", notAFileErr},
                 {"Pipe link.dxf", notAFileErr},
                 {"Folder.cadx", notAFileErr},
                 {"Device.cadx", notAFileErr},
                 {"Loop.cadx", linkLoopErr}};
    PipeWatchdog watchdog({pipe});
    SInt16 documents = CountOpenDocuments();
    for (const auto& c : cases) {
        EXPECT_FALSE(Open(folder + "/" + c.name)) << c.name;
        EXPECT_EQ(RecordedAlerts().size(), 1u) << c.name;
        EXPECT_NE(LastAlertText().find(OSErrorShown(c.cause)), std::string::npos)
            << c.name << ": " << LastAlertText();
    }
    EXPECT_FALSE(watchdog.timedOut());
    EXPECT_EQ(CountOpenDocuments(), documents);

    // Saving under the name of a link loop says what is wrong with the name.
    SetFilePanelResponders(nullptr, [&](SavePanelRequest&, std::string* path) {
        *path = folder + "/Loop.cadx";
        return true;
    });
    DocWindowRecord* doc = NewDoc();
    Boolean saved = true;
    ClearRecordedAlerts();
    SaveDocumentAs(doc, false, false, false, false, &saved, false);
    EXPECT_FALSE(saved);
    EXPECT_NE(LastAlertText().find(OSErrorShown(linkLoopErr)), std::string::npos) << LastAlertText();
}

TEST_F(DispatchTest, ASidecarThatCannotBeReadLeavesOnlyTheResourcesOut) {
    // A folder or a pipe where the sidecar belongs, or a damaged one: the drawing opens at once
    // without its resources, and its log says where to look.
    enum Kind { folderSidecar, pipeSidecar, damagedSidecar };
    const struct {
        const char* name;
        Kind kind;
        const char* said;
    } cases[] = {{"Plan.cadx", folderSidecar, "is not a file"},
                 {"Piped.cadx", pipeSidecar, "is not a file"},
                 {"Damaged.cadx", damagedSidecar, "is damaged"}};
    for (const auto& c : cases) {
        std::string drawing = SavedDrawing(c.name);
        std::string sidecar = SidecarPath(drawing.c_str());
        std::filesystem::remove(sidecar);
        if (c.kind == folderSidecar) {
            ASSERT_EQ(mkdir(sidecar.c_str(), 0700), 0);
        }
        if (c.kind == pipeSidecar) {
            ASSERT_EQ(mkfifo(sidecar.c_str(), 0600), 0);
        }
        if (c.kind == damagedSidecar) WriteFileBytes(sidecar, {0, 5, 0x16, 7, 0, 2});
        PipeWatchdog watchdog({sidecar});
        DocWindowRecord* doc = nullptr;
        ASSERT_TRUE(Open(drawing, &doc)) << c.name << ": " << LastAlertText();
        EXPECT_FALSE(watchdog.timedOut());
        // Only a damaged one is told at once: the save that replaces it keeps it aside.
        if (c.kind == damagedSidecar)
            EXPECT_NE(LastAlertText().find("Damaged.cadx.damaged-sidecar"), std::string::npos)
                << LastAlertText();
        else
            EXPECT_TRUE(RecordedAlerts().empty()) << LastAlertText();
        std::string leaf = sidecar.substr(sidecar.rfind('/') + 1);
        EXPECT_EQ(DocumentLog(doc), "Native file: " + leaf + " " + c.said +
                                        ", so page settings, header and footer texts and selection tables "
                                        "are missing\r");
    }
}

TEST_F(DispatchTest, SaveAsNativeStationeryAndExports) {
    DocWindowRecord* doc = NewDoc();
    std::string chosen;
    SInt16 format = kSaveNative;
    SetFilePanelResponders(nullptr, [&](SavePanelRequest& request, std::string* path) {
        request.format = format;
        *path = chosen;
        return !chosen.empty();
    });
    Boolean result = true;
    chosen.clear(); // cancelled: nothing happens
    SaveDocumentAs(doc, true, false, false, false, &result, false);
    EXPECT_FALSE(result);
    EXPECT_EQ(doc->drawing->file.path[0], 0);

    chosen = folder + "/Mine.cadx";
    SaveDocumentAs(doc, true, false, false, false, &result, false);
    EXPECT_TRUE(result);
    EXPECT_STREQ(doc->drawing->file.path, chosen.c_str());
    EXPECT_TRUE(doc->drawing->hasFile);

    // Stationery is a copy: the document stays with its own file.
    format = kSaveStationery;
    chosen = folder + "/Form.cadx";
    SaveDocumentAs(doc, true, false, false, false, &result, false);
    EXPECT_TRUE(result);
    EXPECT_STREQ(doc->drawing->file.path, (folder + "/Mine.cadx").c_str());
    EXPECT_EQ(doc->settings->saveFormat, kSaveStationery);

    // An export leaves the document's file alone; a format not yet available is refused.
    format = kSaveDXF;
    chosen = folder + "/Mine.DXF";
    SaveDocumentAs(doc, true, false, false, false, &result, false);
    EXPECT_FALSE(result);
    EXPECT_EQ(ErrorMessagesShown().back(), kMsgFormatNotAvailable);
    RegisterExporter(kSaveDXF, ExportCounted);
    SaveDocumentAs(doc, true, false, false, false, &result, false);
    EXPECT_EQ(gExports, 1);
    EXPECT_STREQ(doc->drawing->file.path, (folder + "/Mine.cadx").c_str());
    std::vector<UInt8> before = ReadFileBytes(folder + "/Mine.DXF");
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    EXPECT_EQ(ReadFileBytes(folder + "/Mine.DXF"), before);
}

TEST_F(DispatchTest, PanelOptions) {
    DocWindowRecord* doc = NewDoc();
    doc->settings->appendExtension = 1;
    EXPECT_EQ(SetExportExtension(doc, "Plan.cadx", kSaveDXF), "Plan.DXF");
    // Known extensions go only where they end the name, as many as there are; the rest stays.
    const std::pair<const char*, const char*> kNames[] = {
        {"a.ZAZ.ZAZ", "a.cadx"},        {"Report.pdf.notes.cadx", "Report.pdf.notes.cadx"},
        {"Plan.dxf.Cadx", "Plan.cadx"}, {"Plan.DXFX", "Plan.DXFX.cadx"},
        {".DXF", ".DXF.cadx"},
    };
    for (const auto& [name, expected] : kNames)
        EXPECT_EQ(SetExportExtension(doc, name, kSaveNative), expected) << name;
    EXPECT_EQ(SetExportExtension(doc, "Report.pdf.notes.cadx", kSaveDXF), "Report.pdf.notes.DXF");
    EXPECT_EQ(SetExportExtension(doc, "Plan", kSaveHoleList), "Plan.FIX");
    doc->settings->appendExtension = 0;
    EXPECT_EQ(SetExportExtension(doc, "Plan.cadx", kSaveDXF), "Plan.cadx");

    // Save As offers the formats whose writers exist; HPGL and PDF also need their output area.
    // A format not offered never stays the chosen one.
    auto offered = [&](SInt16 saved) {
        doc->settings->saveFormat = UInt16(saved);
        SavePanelRequest seen;
        SetFilePanelResponders(nullptr, [&](SavePanelRequest& request, std::string*) {
            seen = request;
            return false;
        });
        FSRef file;
        EXPECT_FALSE(SavePanel(doc, PStr("Save"), &file, true));
        SetFilePanelResponders(nullptr, nullptr);
        return seen;
    };
    using Offered = std::vector<bool>;
    SavePanelRequest seen = offered(kSaveIGES);
    EXPECT_EQ(seen.formatEnabled, (Offered{true, true, false, false, false, false, false}));
    EXPECT_EQ(seen.format, kSaveNative);
    for (SInt16 f = kSaveDXF; f <= kSaveHoleList; ++f)
        RegisterExporter(f, ExportCounted);
    for (SInt16 saved : {kSaveHPGL, kSavePDF}) {
        seen = offered(saved);
        EXPECT_EQ(seen.formatEnabled, (Offered{true, true, true, false, false, true, true}));
        EXPECT_EQ(seen.format, kSaveNative);
    }
    doc->settings->pdfArea[2] = 100;
    seen = offered(kSavePDF);
    EXPECT_EQ(seen.formatEnabled, (Offered{true, true, true, false, true, true, true}));
    EXPECT_EQ(seen.format, kSavePDF);

    // The Open panel: only drawings when asked; the TIFF panel lists images by extension too.
    std::string drawing = SavedDrawing("d.cadx");
    std::string dxf = Make("d.dxf", "0\n");
    std::string png = Make("shot.PnG", "x");
    const OSType any[4] = {kAnyFileType, 0, 0, 0};
    const OSType tiff[4] = {0x54494646, 0, 0, 0};
    EXPECT_TRUE(OpenPanelListsFile(dxf, any, false));
    EXPECT_FALSE(OpenPanelListsFile(dxf, any, true));
    EXPECT_TRUE(OpenPanelListsFile(drawing, any, true));
    EXPECT_FALSE(OpenPanelListsFile(folder + "/._d.cadx", any, false));
    EXPECT_TRUE(OpenPanelListsFile(png, tiff, false));
    EXPECT_FALSE(OpenPanelListsFile(dxf, tiff, false));

    // Choosing in the Open panel keeps its options in the preferences.
    SetFilePanelResponders(
        [&](OpenPanelRequest& request, std::string* path) {
            EXPECT_TRUE(request.withOptions);
            request.format = kOpenNative;
            request.nativeOnly = true;
            *path = dxf;
            return true;
        },
        nullptr);
    DocWindowRecord* opened = nullptr;
    FSRef none{};
    EXPECT_FALSE(OpenDocumentFile(&opened, &none)); // the dxf is no drawing
    EXPECT_EQ(UInt32(GeneralPrefs.openFormat), UInt32(kOpenNative));
    EXPECT_EQ(UInt32(GeneralPrefs.nativeOnlyInOpen), 1u);
}
