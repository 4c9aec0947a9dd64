// Preferences: defaults from an empty store, stored blocks read over their defaults, recent files
// across a restart with the keys of empty slots removed, and the defaults for new drawings.
#include "FilesFixture.h"

#include "Platform/FileManager.h"
#include "Files/Preferences.h"
#include "Platform/PreferencesStore.h"
#include "TestSupport.h"
#include "Other/ZEZUdivari.h"

#include <cstring>
#include <vector>

class PreferencesTest : public FilesTest {
  protected:
    void SetUp() override {
        FilesTest::SetUp();
        for (const char* key : {"generalv2", "function keys", "standard", "layer visible", "layer colors"})
            PrefRemove(PStr(key), kApplicationId);
        for (int i = 0; i < 10; ++i)
            PrefRemove(PStr(i == 0 ? "last files" : "last files " + std::to_string(i)), kApplicationId);
        LoadPreferences();
    }
    // As at the next start: everything read again from the file.
    void Restart() {
        PrefForgetStores();
        std::memset(&GeneralPrefs, 0xEE, sizeof GeneralPrefs);
        LoadPreferences();
    }
};

TEST_F(PreferencesTest, AnEmptyStoreGivesTheDefaultsAndShortValuesKeepTheTail) {
    EXPECT_EQ(+GeneralPrefs.newDrawingAtStart, 0);
    EXPECT_EQ(+GeneralPrefs.openDialogAtStart, 0);
    EXPECT_EQ(+GeneralPrefs.showSplash, 1);
    EXPECT_EQ(UInt32(GeneralPrefs.coordBarShown), 1u);
    EXPECT_EQ(UInt32(GeneralPrefs.codePage), 6u);
    EXPECT_EQ(Float64(GeneralPrefs.importScale), 1.0);
    EXPECT_EQ(ToStd(GeneralPrefs.endMarker), "EOF");
    EXPECT_EQ(UInt32(GeneralPrefs.roundLineCaps), 1u);

    // A stored value of 1000 bytes changes only the first 1000 bytes of the record.
    std::vector<UInt8> short1000(1000, 0);
    short1000[2] = 1;
    PrefSetData(PStr("generalv2"), 1000, short1000.data(), kApplicationId);
    Restart();
    EXPECT_EQ(+GeneralPrefs.openDialogAtStart, 1);
    EXPECT_EQ(+GeneralPrefs.showSplash, 0);
    EXPECT_EQ(ToStd(GeneralPrefs.appFont1), "");
    EXPECT_EQ(UInt32(GeneralPrefs.roundLineCaps), 1u);
    EXPECT_EQ(UInt32(GeneralPrefs.recentFullPaths), 1u);

    GeneralPrefs.openFormat = 4;
    FunctionKeyTable[17] = FunctionKeySlot{198, 3};
    SavePreferences();
    Restart();
    EXPECT_EQ(UInt32(GeneralPrefs.openFormat), 4u);
    EXPECT_EQ(FunctionKeyTable[17].menu, 198);
    EXPECT_EQ(FunctionKeyTable[17].item, 3);
    EXPECT_EQ(PrefDataLength(PStr("generalv2"), kApplicationId), 1694);
    EXPECT_EQ(PrefDataLength(PStr("function keys"), kApplicationId), 1604);
}

TEST_F(PreferencesTest, RecentFilesSurviveARestartAndEmptySlotsLoseTheirKeys) {
    std::string folder = MakeTestFolder("Recent");
    std::vector<FSRef> files;
    for (int i = 0; i < 12; ++i) {
        std::string path = folder + "/f" + std::to_string(i) + ".cadx";
        WriteFileBytes(path, {1});
        files.push_back(RefFor(path));
        AddRecentFile(&files.back());
    }
    AddRecentFile(&files[5]); // moves to the top
    EXPECT_EQ(RecentFileCount(), 10);
    SavePreferences();
    Restart();
    ASSERT_EQ(RecentFileCount(), 10);
    FSRef top;
    ASSERT_TRUE(GetRecentFile(0, &top));
    EXPECT_STREQ(top.path, files[5].path);

    // Fewer files than before: the keys of the slots now empty are gone.
    for (int i = 0; i < 12; ++i)
        if (i != 5 && i != 11) FSDeleteObject(&files[size_t(i)]);
    SavePreferences();
    EXPECT_TRUE(PrefExists(PStr("last files 1"), kApplicationId));
    EXPECT_FALSE(PrefExists(PStr("last files 2"), kApplicationId));
    EXPECT_FALSE(PrefExists(PStr("last files 9"), kApplicationId));
    Restart();
    EXPECT_EQ(RecentFileCount(), 2);
}

TEST_F(PreferencesTest, DocumentDefaultsForNewDrawings) {
    DocWindowRecord* doc = NewDoc();
    doc->settings->drawingScale = 50;
    doc->settings->savedUnitsPerPixel = 0; // fitted to the window when opened
    doc->settings->hpglArea[2] = 100;
    doc->settings->saveDate = 77;
    SetLayerVisible(doc->layerVisible, 12, false);
    doc->layerColors->colors[1023] = RGBColor{4, 5, 6};
    ASSERT_TRUE(SaveDocumentDefaults(doc));
    PrefForgetStores();

    DocWindowRecord* fresh = NewDoc();
    fresh->settings->saveDate = 5;
    LoadDocumentDefaults(fresh);
    EXPECT_EQ(fresh->settings->drawingScale, 50.0);
    EXPECT_EQ(fresh->settings->hpglArea[2], 0.0); // output areas belong to one drawing
    EXPECT_EQ(fresh->settings->saveDate, 5u);     // and so do its dates
    EXPECT_FALSE(IsLayerVisible(fresh->layerVisible, 12));
    EXPECT_EQ(fresh->layerColors->colors[1023].blue, 6);
    EXPECT_EQ(fresh->settings->printScale, 1.0);

    ASSERT_TRUE(ResetDocumentDefaults());
    DocWindowRecord* factory = NewDoc();
    LoadDocumentDefaults(factory);
    EXPECT_EQ(factory->settings->drawingScale, 1.0);
}
