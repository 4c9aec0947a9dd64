// PICT files: the picture behind the 512-byte header, refused with a message when the file is too
// short or its picture does not fit its data; placed at a point or the view origin at its frame's
// size on paper; opened as a drawing of its own, with no drawing left behind for a bad file.
#include "FilesFixture.h"

#include "Files/OpenSaveDispatch.h"
#include "Files/PictureFiles.h"
#include "Files/Preferences.h"
#include "Model/NewDocument.h"
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"
#include "TestSupport.h"

#include <string>
#include <vector>

namespace {

// A 6 x 4 bitmap picture as we store them.
std::vector<UInt8> PictureBytes() {
    std::vector<UInt32> pixels(24, 0xFF00FF00);
    PicHandle picture = NewBitmapPicture(pixels.data(), 24, 6, 4);
    std::vector<UInt8> bytes(reinterpret_cast<UInt8*>(*picture),
                             reinterpret_cast<UInt8*>(*picture) + GetHandleSize(picture));
    DisposeHandle(picture);
    return bytes;
}

std::vector<UInt8> WithHeader(const std::vector<UInt8>& picture) {
    std::vector<UInt8> file(kPictFileHeaderSize, 0);
    file.insert(file.end(), picture.begin(), picture.end());
    return file;
}

const PolylineRecord* OnlyPicture(const DocWindowRecord* doc) {
    const PolylineRecord* p = doc->polylineHead->next;
    if (p == nullptr || p->next != nullptr || p->kind != kPolylinePicture || p->pointCount != 2)
        return nullptr;
    return p;
}

class PictureFilesTest : public FilesTest {
  protected:
    std::string folder;
    void SetUp() override {
        FilesTest::SetUp();
        folder = MakeTestFolder("PictureFiles");
        SetDefaultGeneralPrefs();
        GeneralPrefs.openFormat = kOpenAutomatic;
        RegisterPictureImporter();
    }
    void TearDown() override {
        RegisterImporter(kOpenPicture, FormatImporter{nullptr, nullptr});
        FilesTest::TearDown();
    }
    std::string Write(const std::string& name, const std::vector<UInt8>& bytes) {
        WriteFileBytes(folder + "/" + name, bytes);
        return folder + "/" + name;
    }
};

} // namespace

TEST(PictureFileData, OnlyAPictureThatFitsItsDataAfterTheHeaderIsTaken) {
    const std::vector<UInt8> picture = PictureBytes();
    std::vector<UInt8> cut = picture;
    cut.resize(cut.size() - 12); // rows of pixels missing
    std::vector<UInt8> noFrame = picture;
    noFrame[6] = noFrame[7] = 0; // bottom 0: the frame is empty
    struct Case {
        const char* name;
        std::vector<UInt8> file;
        bool taken;
    } cases[] = {
        {"empty", {}, false},
        {"header only", std::vector<UInt8>(kPictFileHeaderSize, 0), false},
        {"header and a byte", std::vector<UInt8>(kPictFileHeaderSize + 1, 0), false},
        {"cut short", WithHeader(cut), false},
        {"empty frame", WithHeader(noFrame), false},
        {"no picture", WithHeader(std::vector<UInt8>(300, 0x5A)), false},
        {"whole", WithHeader(picture), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Handle h = PictureFromFileData(c.file.data(), c.file.size());
        EXPECT_EQ(h != nullptr, c.taken);
        if (h == nullptr) continue;
        EXPECT_EQ(
            std::vector<UInt8>(reinterpret_cast<UInt8*>(*h), reinterpret_cast<UInt8*>(*h) + GetHandleSize(h)),
            picture);
        DisposeHandle(h);
    }
}

TEST_F(PictureFilesTest, APlacedPictureTakesItsFrameSizeOnPaperAtTheDrawingScale) {
    DocWindowRecord* doc = NewDoc();
    const std::string path = Write("Logo.pict", WithHeader(PictureBytes()));
    FSRef ref = RefFor(path);
    doc->settings->drawingScale = 2;
    ASSERT_TRUE(PlacePictureFile(doc, &ref, false, 10, 20));
    const PolylineRecord* p = OnlyPicture(doc);
    ASSERT_NE(p, nullptr);
    const Float64* xy = reinterpret_cast<const Float64*>(*p->points);
    EXPECT_DOUBLE_EQ(xy[0], 10);
    EXPECT_DOUBLE_EQ(xy[1], 20);
    EXPECT_NEAR(xy[2], 10 + 6 * 25.4 / 72 * 2, 1e-12);
    EXPECT_NEAR(xy[3], 20 + 4 * 25.4 / 72 * 2, 1e-12);
    EXPECT_EQ(std::vector<UInt8>(reinterpret_cast<UInt8*>(*p->picture),
                                 reinterpret_cast<UInt8*>(*p->picture) + GetHandleSize(p->picture)),
              PictureBytes());
    EXPECT_TRUE(doc->drawing->changed);

    DocWindowRecord* other = NewDoc();
    other->drawing->view.originX = -30;
    other->drawing->view.originY = 7;
    ASSERT_TRUE(PlacePictureFile(other, &ref, true, 10, 20));
    ASSERT_NE(OnlyPicture(other), nullptr);
    EXPECT_DOUBLE_EQ(reinterpret_cast<const Float64*>(*OnlyPicture(other)->points)[0], -30);
    EXPECT_DOUBLE_EQ(reinterpret_cast<const Float64*>(*OnlyPicture(other)->points)[1], 7);
}

TEST_F(PictureFilesTest, AFileWithoutAUsablePictureIsRefusedWithAMessageAndChangesNothing) {
    DocWindowRecord* doc = NewDoc();
    std::vector<UInt8> cut = PictureBytes();
    cut.resize(cut.size() - 12);
    struct Case {
        const char* name;
        std::string path;
        SInt16 message;
    } cases[] = {
        {"512 bytes", Write("Header.pict", std::vector<UInt8>(kPictFileHeaderSize, 0)), kMsgNoPictureInFile},
        {"cut short", Write("Cut.pict", WithHeader(cut)), kMsgNoPictureInFile},
        {"missing", folder + "/Missing.pict", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearRecordedAlerts();
        doc->drawing->changed = false;
        FSRef ref = RefFor(c.path);
        EXPECT_FALSE(PlacePictureFile(doc, &ref, false, 0, 0));
        EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{c.message});
        EXPECT_EQ(doc->polylineHead->next, nullptr);
        EXPECT_FALSE(doc->drawing->changed);
    }
}

TEST_F(PictureFilesTest, APictFileOpensAsADrawingOfItsOwnAndABadOneLeavesNone) {
    const std::string good = Write("Photo.pict", WithHeader(PictureBytes()));
    const std::string bad = Write("Broken.pct", std::vector<UInt8>(400, 0));
    FSRef ref = RefFor(good);
    DocWindowRecord* doc = nullptr;
    ASSERT_TRUE(OpenDocumentFile(&doc, &ref));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(ToStd(doc->drawing->documentName), "Photo.pict");
    const PolylineRecord* p = OnlyPicture(doc);
    ASSERT_NE(p, nullptr);
    EXPECT_DOUBLE_EQ(reinterpret_cast<const Float64*>(*p->points)[0], doc->drawing->view.originX);

    const SInt16 before = CountOpenDocuments();
    ref = RefFor(bad);
    ClearRecordedAlerts();
    DocWindowRecord* none = nullptr;
    EXPECT_FALSE(OpenDocumentFile(&none, &ref));
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(CountOpenDocuments(), before);
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{kMsgNoPictureInFile});
}
