// Pictures into the drawing end to end: the Edit menu offers Paste Picture when the clipboard holds
// a picture (text on it still goes to the command field), the clicked point and the typed size make
// one picture element in one undo step, shown in the window; a picture the clipboard cannot give and
// a PICT file without a usable picture are refused with a message. File > Place puts a PICT file's
// picture at the clicked point.
#include "../Model/DrawingSnapshot.h"
#include "ClipboardSupport.h"
#include "ToolGuiFixture.h"

#include "Files/PictureFiles.h"
#include "Platform/AppResources.h"
#include "Platform/Clipboard.h"
#include "Platform/FileChoosers.h"
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"
#include "Shell/MenuCommands.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr UInt32 kImageColour = 0x2080C0;

class PicturePlacementGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        ClearCurrentScrap();
        SnapMode(0);
    }
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        ClearCurrentScrap();
        ToolGuiTest::TearDown();
    }
    SInt16 Pending() const { return doc->drawing->toolInput.pendingCommand; }
    bool Choose(SInt16 menu, SInt16 item) {
        bool chosen = ChooseMenuItem(menu, item);
        RunLoop();
        return chosen;
    }
    std::string ItemText(SInt16 menu, SInt16 item) {
        AdjustMenus(doc);
        Str255 text;
        GetMenuItemText(GetMenuHandle(menu), item, text);
        return ToStd(text);
    }
    std::string FieldText() {
        Str255 text;
        CommandFieldGetText(doc, text);
        return ToStd(text);
    }
    const PolylineRecord* OnlyPicture() const {
        const PolylineRecord* p = doc->polylineHead->next;
        return p != nullptr && p->next == nullptr && p->kind == kPolylinePicture && p->pointCount == 2
                   ? p
                   : nullptr;
    }
    std::vector<Float64> Corners(const PolylineRecord* p) const {
        const Float64* xy = reinterpret_cast<const Float64*>(*p->points);
        return {xy[0], xy[1], xy[2], xy[3]};
    }
    std::string LastAlert() const {
        return RecordedAlerts().empty() ? std::string() : RecordedAlerts().back().params[0];
    }
    static std::string ErrorText(SInt16 item) {
        Str255 text;
        GetIndString(text, 200, item);
        return ToStd(text);
    }
    // The window pixel at a drawing point, as 0xRRGGBB.
    UInt32 PixelAt(double x, double y) {
        RunPasses(1); // the deferred redraw
        const Point p = WindowPoint(x, y);
        const RGBColor c = GetPortPixel(GetWindowPort(doc->window), p.h, p.v);
        return UInt32(c.red >> 8) << 16 | UInt32(c.green >> 8) << 8 | UInt32(c.blue >> 8);
    }
};

} // namespace

TEST_F(PicturePlacementGui, PastePictureMakesOnePictureElementOfTheTypedSizeInOneUndoStep) {
    EXPECT_EQ(ItemText(kEditMenu, 6), "Paste");
    EXPECT_FALSE(Choose(kEditMenu, 7)) << "dimmed without a picture on the clipboard";

    PutClipboardFlavours({{"image/png", EncodeSolidImage("PNG", 40, 20, kImageColour)}});
    EXPECT_EQ(ItemText(kEditMenu, 6), "Paste Picture");
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    GeneralPrefs.picturePlacement = 0;
    ASSERT_TRUE(Choose(kEditMenu, 7));
    EXPECT_EQ(Pending(), 149);
    EXPECT_EQ(+GeneralPrefs.picturePlacement, 1);
    ClickAt(20, 30);
    ASSERT_EQ(Step(), 1);
    EXPECT_EQ(FieldText(), "14.00,7.00"); // the frame's 40 x 20 points times 0.35
    Type("60,30");
    EXPECT_EQ(Pending(), 0);
    const PolylineRecord* p = OnlyPicture();
    ASSERT_NE(p, nullptr);
    const Float64 f = doc->settings->drawingScale;
    EXPECT_EQ(Corners(p), (std::vector<Float64>{20, 30, 20 + 60 * f, 30 + 30 * f}));
    EXPECT_EQ(PixelAt(20 + 30 * f, 30 + 15 * f), kImageColour);
    const DrawingSnapshot after = TakeDrawingSnapshot(doc);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);
}

TEST_F(PicturePlacementGui, PasteTakesTextBeforeAPictureAndThePictureWhenAlone) {
    PutClipboardFlavours(
        {{"text/plain", "12,5"}, {"image/png", EncodeSolidImage("PNG", 8, 8, kImageColour)}});
    EXPECT_EQ(ItemText(kEditMenu, 6), "Paste Picture");
    ASSERT_TRUE(Choose(kEditMenu, 6));
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(FieldText(), "12,5");

    PutClipboardFlavours({{"image/tiff", EncodeSolidImage("TIFF", 8, 8, kImageColour)}});
    GeneralPrefs.picturePlacement = 1;
    ASSERT_TRUE(Choose(kEditMenu, 6));
    EXPECT_EQ(Pending(), 149);
    EXPECT_EQ(+GeneralPrefs.picturePlacement, 0);
    ClickAt(0, 0);
    Type("10,10");
    EXPECT_NE(OnlyPicture(), nullptr);
}

TEST_F(PicturePlacementGui, APictureTheClipboardCannotGiveIsRefusedWithAMessage) {
    PutClipboardFlavours({{"image/png", "not a PNG at all"}});
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    ASSERT_TRUE(Choose(kEditMenu, 7));
    ClickAt(20, 30);
    EXPECT_EQ(FieldText(), "100.00,100.00");
    ClearRecordedAlerts();
    QueueTypedText("20,20\r");
    QueueKey(kKeyCodeReturn, kReturnCharCode); // closes the alert
    RunLoop();
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(LastAlert(), ErrorText(kMsgNoPictureOnClipboard));
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
}

TEST_F(PicturePlacementGui, PlaceFilePutsAPictFilesPictureAtTheClickedPoint) {
    const std::string folder = MakeTestFolder("PlacePicture");
    std::vector<UInt32> pixels(30 * 10, 0xFF000000 | kImageColour);
    PicHandle picture = NewBitmapPicture(pixels.data(), 30 * 4, 30, 10);
    ASSERT_NE(picture, nullptr);
    std::string bytes(kPictFileHeaderSize, '\0');
    bytes.append(*picture, size_t(GetHandleSize(picture)));
    DisposeHandle(picture);
    const std::string good = folder + "/Stamp.pict", bad = folder + "/Short.pict";
    std::ofstream(good, std::ios::binary) << bytes;
    std::ofstream(bad, std::ios::binary) << bytes.substr(0, bytes.size() - 40);
    std::string chosen = good;
    SetFilePanelResponders(
        [&](OpenPanelRequest&, std::string* path) {
            *path = chosen;
            return true;
        },
        nullptr);

    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    ASSERT_TRUE(Choose(kFileMenu, 4));
    ClickAt(40, 50);
    EXPECT_EQ(Pending(), 0);
    const PolylineRecord* p = OnlyPicture();
    ASSERT_NE(p, nullptr);
    const Float64 f = 25.4 / 72 * doc->settings->drawingScale;
    const std::vector<Float64> corners = Corners(p);
    EXPECT_DOUBLE_EQ(corners[0], 40);
    EXPECT_DOUBLE_EQ(corners[1], 50);
    EXPECT_NEAR(corners[2], 40 + 30 * f, 1e-9);
    EXPECT_NEAR(corners[3], 50 + 10 * f, 1e-9);
    EXPECT_EQ(PixelAt(40 + 15 * f, 50 + 5 * f), kImageColour);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);

    chosen = bad;
    ClearRecordedAlerts();
    ASSERT_TRUE(Choose(kFileMenu, 4));
    QueueClick(doc->window, WindowPoint(40, 50));
    QueueKey(kKeyCodeReturn, kReturnCharCode); // closes the alert
    RunLoop();
    EXPECT_EQ(Pending(), 0);
    Str255 name;
    GetIndString(name, 200, kMsgNoPictureInFile);
    std::string expected = ToStd(name);
    expected.replace(expected.find('#'), 1, "Short.pict");
    EXPECT_EQ(LastAlert(), expected);
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
}
