// The application's own files (texts, pictures, icons) and removing resources from resource files.
#include "Platform/AppResources.h"
#include "Other/BundleFiles.h"
#include "GuiHarness.h"
#include "Platform/PointerBlocks.h"
#include "Platform/ResourceFiles.h"
#include "Model/SharedUtilities.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
class BundleFilesTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        source = AppResourceFolder();
        folder = MakeTestFolder("bundle");
        std::ofstream(folder + "/strings.rdesc") << "STR# 1\n  1 x\n";
        std::ofstream(folder + "/text_900.txt", std::ios::binary) << "line one\rline two";
        fs::copy_file(source + "/crsr_139.png", folder + "/cicn_139.png");
        fs::create_directory(folder + "/Pages");
        LoadAppResourcesFrom(folder);
    }
    void TearDown() override {
        ResetAppResources();
        GuiTest::TearDown();
    }
    std::string source, folder;
};
} // namespace

TEST_F(BundleFilesTest, TextsAndFoldersOfTheResources) {
    Ptr text = nullptr;
    Size length = 0;
    ASSERT_TRUE(ReadBundleText(900, &text, &length));
    EXPECT_EQ(std::string(text, length), "line one\rline two");
    DisposePtr(text);
    EXPECT_FALSE(ReadBundleText(901, &text, &length));
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(length, 0);

    FSRef ref{};
    EXPECT_EQ(FindResourcesFolder(&ref), noErr);
    EXPECT_EQ(fs::path(ref.path), fs::path(folder));
    EXPECT_EQ(ResourcesSubfolderSpec(&ref, PStr("Pages")), noErr);
    EXPECT_EQ(ResourcesSubfolderSpec(&ref, PStr("Samples")), fnfErr);
}

TEST_F(BundleFilesTest, ToolIconsAreDrawnWhenTheirFileExists) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 200, 200});
    CGrafPtr port = GetWindowPort(w);
    DrawToolIcon(w, 138, 10, 10, 32, 32); // no file: nothing
    EXPECT_EQ(GetPortPixel(port, 26, 26).red, 0xFFFF);
    DrawToolIcon(w, 139, 10, 10, 32, 32); // the move cursor's arrows cross at its middle
    EXPECT_LT(GetPortPixel(port, 25, 25).red, 0x4000);
}

TEST(ResourceDeletion, OneOrEveryResourceOfAType) {
    std::string path = MakeTestFolder("resfile") + "/drawing";
    std::ofstream(path) << "data";
    FSRef ref{};
    ASSERT_EQ(FSMakeRef(path.c_str(), &ref), noErr);
    SInt16 file = FSOpenResFile(&ref, fsRdWrPerm);
    ASSERT_GE(file, 0);
    const char bytes[] = "abc";
    for (SInt16 id : {128, -5, 3000})
        AddResourceBlock(file, FOUR_CHAR("PICT"), id, bytes, 3, nullptr);
    AddResourceBlock(file, FOUR_CHAR("TEXT"), 1, bytes, 3, nullptr);
    DeleteResource(file, FOUR_CHAR("PICT"), 128);
    DeleteResource(file, FOUR_CHAR("PICT"), 999);
    EXPECT_EQ(CountResourcesOfType(file, FOUR_CHAR("PICT")), 2);
    DeleteAllResources(file, FOUR_CHAR("PICT"));
    EXPECT_EQ(CountResourcesOfType(file, FOUR_CHAR("PICT")), 0);
    EXPECT_TRUE(HasResource(file, FOUR_CHAR("TEXT"), 1));
    CloseResFile(file);
    file = FSOpenResFile(&ref, fsRdPerm);
    EXPECT_EQ(CountResourcesOfType(file, FOUR_CHAR("PICT")), 0);
    CloseResFile(file);
}
