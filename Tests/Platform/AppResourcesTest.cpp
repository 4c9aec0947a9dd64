// The resource descriptions: the reader's rules, and that every resource the code asks for exists.
#include "AppResources.h"
#include "RequiredResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string SourceRoot() {
    return fs::path(FixturePath("x")).parent_path().parent_path().parent_path().string();
}

// Loads one description text from a fresh folder; restores the real set afterwards.
class ResourceFixture : public testing::Test {
  protected:
    void Load(const std::string& text) {
        std::string folder = MakeTestFolder("rdesc");
        std::ofstream(folder + "/test.rdesc") << text;
        LoadAppResourcesFrom(folder);
    }
    void TearDown() override { ResetAppResources(); }
};

std::string Item(SInt16 list, SInt16 index) {
    Str255 s;
    GetIndString(s, list, index);
    return ToStd(s);
}

} // namespace

TEST_F(ResourceFixture, StringListsKeepNumberingQuotesAndEscapes) {
    Load("# comment\n"
         "STR# 7 sample\n"
         "  1 plain text  \n"
         "  3 \"  kept blanks \"\n"
         "  4 a\\rb \\x41 caf\xC3\xA9 \xE2\x80\xA6\n"
         "  5\n");
    EXPECT_TRUE(AppResourceProblems().empty());
    EXPECT_EQ(Item(7, 1), "plain text");
    EXPECT_EQ(Item(7, 2), "");
    EXPECT_EQ(Item(7, 3), "  kept blanks ");
    EXPECT_EQ(Item(7, 4), "a\rb A caf\x8E \xC9"); // Mac Roman
    EXPECT_EQ(Item(7, 5), "");
    EXPECT_EQ(CountIndStrings(7), 5);
    // Outside the list, or a missing list, gives an empty string.
    EXPECT_EQ(Item(7, 6), "");
    EXPECT_EQ(Item(7, 0), "");
    EXPECT_EQ(Item(8, 1), "");
    EXPECT_EQ(CountIndStrings(8), 0);
}

TEST_F(ResourceFixture, DialogsMenusCursorsAndPatternsAreRead) {
    std::string blankRows;
    for (int i = 0; i < 14; ++i)
        blankRows += "  ................\n";
    Load("DLOG 300 40 50 140 350 \"Options\" kind modal items 301\n"
         "DITL 301\n"
         "  1 button 70 220 90 290 \"OK\"\n"
         "  2 check 10 10 30 200 \"Snap\" disabled\n"
         "  3 popup 40 10 60 200 \"Unit:\" menu 400 value 2 titlewidth 40\n"
         "  4 control 64 10 80 200 cntl 302\n"
         "CNTL 302 scrollbar 0 0 16 100 min 0 max 50 value 5\n"
         "MENU 400 \"Units & Sizes\"\n"
         "  1 \"mm\" key M mark check command 'mmtr'\n"
         "  2 \"-\" disabled\n"
         "  3 \"More\" submenu 401 style bold,italic shift\n"
         "CURS 9 hotspot 1 2\n"
         "  Xo..............\n"
         "  *...............\n" +
         blankRows +
         "STR 12 \"single\"\n"
         "PAT 5 FF 00 FF 00 FF 00 FF 00\n"
         "PAT# 6\n"
         "  1 AA 55 AA 55 AA 55 AA 55\n");
    EXPECT_TRUE(AppResourceProblems().empty()) << AppResourceProblems().front();

    const DialogDesc* d = FindDialogResource(300);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->itemListId, 301);
    EXPECT_EQ(d->windowKind, kModalDialogKind);
    EXPECT_EQ(d->bounds.bottom, 140);
    const ItemListDesc* items = FindItemListResource(301);
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->items.size(), 4u);
    EXPECT_EQ(items->items[0].type, kButtonItem);
    EXPECT_EQ(items->items[1].type, kCheckBoxItem | kItemDisable);
    EXPECT_EQ(items->items[2].type, kResourceControlItem);
    EXPECT_EQ(items->items[2].control.kind, ControlKind::popup);
    EXPECT_EQ(items->items[2].control.menuId, 400);
    EXPECT_EQ(items->items[2].control.value, 2);
    EXPECT_EQ(items->items[3].resId, 302);
    EXPECT_EQ(FindControlResource(302)->maximum, 50);

    const MenuDesc* m = FindMenuResource(400);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->title, "Units & Sizes");
    EXPECT_EQ(m->items[0].key, 'M');
    EXPECT_EQ(m->items[0].mark, 0x12);
    EXPECT_EQ(m->items[0].command, FOUR_CHAR("mmtr"));
    EXPECT_FALSE(m->items[1].enabled);
    EXPECT_EQ(m->items[2].submenuId, 401);
    EXPECT_EQ(m->items[2].style, 3);
    EXPECT_EQ(m->items[2].modifiers, 1);

    const CursorDesc* c = FindCursorResource(9);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->hotSpot.h, 1);
    EXPECT_EQ(c->hotSpot.v, 2);
    EXPECT_EQ(c->data[0], 0x8000);
    EXPECT_EQ(c->mask[0], 0xC000);
    EXPECT_EQ(c->data[1], 0x8000);
    EXPECT_EQ(c->mask[1], 0);
    EXPECT_EQ(FindPatternResource(5)->pat[1], 0);
    EXPECT_EQ(FindPatternListResource(6)->patterns.at(0).pat[1], 0x55);
    Pattern p{};
    EXPECT_TRUE(GetIndPattern(&p, 6, 1));
    EXPECT_EQ(p.pat[0], 0xAA);
    EXPECT_FALSE(GetIndPattern(&p, 6, 2));
    EXPECT_TRUE(GetPattern(5, &p));
    EXPECT_EQ(p.pat[0], 0xFF);
    EXPECT_FALSE(GetPattern(7, &p));
    Str255 single;
    EXPECT_TRUE(GetStringResource(12, single));
    EXPECT_EQ(ToStd(single), "single");
    EXPECT_FALSE(GetStringResource(13, single));
    EXPECT_EQ(AppResourceIds(FOUR_CHAR("DITL")), std::vector<SInt16>{301});
}

TEST_F(ResourceFixture, MistakesAreReportedWithTheirLine) {
    struct Case {
        const char* text;
        const char* problem;
    };
    const Case cases[] = {
        {"STR# 1\n  2 b\n  1 a\n", "test.rdesc:3: item 1 out of order"},
        {"STR# 1\nSTR# 1\n", "test.rdesc:2: STR# 1 defined twice"},
        {"DITL 2\n  1 button 0 0 10 10 \"OK\"\n  3 button 0 0 10 10 \"No\"\n",
         "test.rdesc:3: item 3 out of order"},
        {"DITL 2\n  1 knob 0 0 10 10\n", "test.rdesc:2: unknown item kind 'knob'"},
        {"DITL 2\n  1 button 10 0 0 10\n", "test.rdesc:2: rectangle with negative size"},
        {"STR# 1\n  1 bad \\q escape\n", "test.rdesc:2: unknown escape \\q"},
        {"STR# 1\n  1 \xE2\x82\xAC\xE2\x86\x92\n", "test.rdesc:2: character U+8594 has no Mac Roman form"},
        {"DLOG 5 0 0 100 100\n", "DLOG 5: missing DITL 5"},
        {"  1 stray\n", "test.rdesc:1: indented line outside a resource"},
        {"CURS 1 hotspot 0 0\n  ................\n", "test.rdesc:2: a cursor has 16 rows of 16 pixels"},
        {"MENU 3 \"M\"\n  1 \"A\" key AB\n", "test.rdesc:2: a command key is one character"},
        {"crsr 140 nothere.png hotspot 1 1\n", "test.rdesc:1: missing file nothere.png"},
    };
    for (const Case& c : cases) {
        Load(c.text);
        const auto& p = AppResourceProblems();
        ASSERT_FALSE(p.empty()) << c.text;
        EXPECT_EQ(p.front(), c.problem) << c.text;
    }
}

// Every resource the program asks for exists: the named table, and every literal use in the code.
TEST(AppResources, EveryResourceTheCodeAsksForExists) {
    ResetAppResources();
    EXPECT_EQ(fs::path(AppResourceFolder()), fs::path(SourceRoot()) / "Resources");
    for (const std::string& p : AppResourceProblems())
        ADD_FAILURE() << p;

    auto present = [](ResType type, SInt16 id, SInt16 item) {
        if (type == FOUR_CHAR("STR#")) {
            if (!FindStringList(id)) return false;
            if (item == 0) return true;
            Str255 s;
            GetIndString(s, id, item);
            return s[0] > 0;
        }
        if (type == FOUR_CHAR("STR ")) {
            Str255 s;
            return GetStringResource(id, s) != 0;
        }
        if (type == FOUR_CHAR("DLOG")) return FindDialogResource(id) != nullptr;
        if (type == FOUR_CHAR("ALRT")) return FindAlertResource(id) != nullptr;
        if (type == FOUR_CHAR("DITL")) return FindItemListResource(id) != nullptr;
        if (type == FOUR_CHAR("MENU")) return FindMenuResource(id) != nullptr;
        if (type == FOUR_CHAR("CURS")) return FindCursorResource(id) != nullptr;
        if (type == FOUR_CHAR("crsr"))
            return FindColorCursorResource(id) != nullptr || FindCursorResource(id) != nullptr;
        if (type == FOUR_CHAR("PAT ")) return FindPatternResource(id) != nullptr;
        if (type == FOUR_CHAR("PAT#")) return FindPatternListResource(id) != nullptr;
        if (type == FOUR_CHAR("PICT"))
            return fs::exists(fs::path(AppResourceFolder()) / ("pict_" + std::to_string(id) + ".png"));
        return false;
    };
    auto name = [](ResType t) { return std::string{char(t >> 24), char(t >> 16), char(t >> 8), char(t)}; };
    for (int i = 0; i < kRequiredResourceCount; ++i) {
        const RequiredResource& r = kRequiredResources[i];
        EXPECT_TRUE(present(r.type, r.id, r.item)) << name(r.type) << " " << r.id << " item " << r.item;
    }

    struct Use {
        const char* name; // a cheap test before the expression runs
        std::regex pattern;
        ResType type;
        SInt16 list; // string uses: the list, the number is the item; else 0 and the number is the id
    };
    const Use uses[] = {
        {"ShowErrorAlert", std::regex(R"(\bShowErrorAlert\(\s*(\d+)\s*,)"), FOUR_CHAR("STR#"), 200},
        {"AskConfirm", std::regex(R"(\bAskConfirm\(\s*(\d+)\s*,)"), FOUR_CHAR("STR#"), 201},
        {"GetAppString", std::regex(R"(\bGetAppString\(\s*(\d+)\s*,)"), FOUR_CHAR("STR#"), 5000},
        {"MatchesAppString", std::regex(R"(\bMatchesAppString\([^,()]+,\s*(\d+)\s*\))"), FOUR_CHAR("STR#"),
         5000},
        {"Str128", std::regex(R"(\b(?:GetStr128|ShowErrorStr128)\(\s*(\d+)\b)"), FOUR_CHAR("STR#"), 128},
        {"ShowStatusMessage", std::regex(R"(\bShowStatusMessage\([^,()]+,\s*(\d+)\s*,)"), FOUR_CHAR("STR#"),
         128},
        {"Dialog(", std::regex(R"(\b(?:GetNewDialog|OpenModalDialog|OpenStackedDialog)\(\s*(\d+)\b)"),
         FOUR_CHAR("DLOG"), 0},
        {"Alert(", std::regex(R"(\b(?:Alert|StopAlert|NoteAlert|CautionAlert|ShowAlert)\(\s*(\d+)\b)"),
         FOUR_CHAR("ALRT"), 0},
        {"GetMenu", std::regex(R"(\b(?:GetMenu|GetMenuHandle)\(\s*(\d+)\s*\))"), FOUR_CHAR("MENU"), 0},
        {"GetCursor", std::regex(R"(\bGetCursor\(\s*(\d+)\s*\))"), FOUR_CHAR("CURS"), 0},
        {"SetCursorById", std::regex(R"(\bSetCursorById\(\s*([1-9]\d*)\s*\))"), FOUR_CHAR("crsr"), 0},
        {"GetStringResource", std::regex(R"(\bGetStringResource\(\s*(\d+)\s*,)"), FOUR_CHAR("STR "), 0},
        {"AppendDITL", std::regex(R"(\bAppendDITL\([^,()]+,\s*(\d+)\b)"), FOUR_CHAR("DITL"), 0},
    };
    const std::regex stringUse(R"(\bGetIndString\([^,()]+,\s*(\d+)\s*,\s*(\d+)\s*\))");
    for (auto& entry : fs::recursive_directory_iterator(SourceRoot() + "/Sources")) {
        std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string code = text.str();
        std::string where = entry.path().filename().string();
        for (const Use& u : uses) {
            if (code.find(u.name) == std::string::npos) continue;
            for (std::sregex_iterator it(code.begin(), code.end(), u.pattern), end; it != end; ++it) {
                SInt16 n = static_cast<SInt16>(std::stoi((*it)[1]));
                bool ok = u.list ? present(u.type, u.list, n) : present(u.type, n, 0);
                EXPECT_TRUE(ok) << where << ": " << (*it)[0] << " asks for " << name(u.type) << " "
                                << (u.list ? std::to_string(u.list) + " item " : "") << n;
            }
        }
        if (code.find("GetIndString(") == std::string::npos) continue;
        for (std::sregex_iterator it(code.begin(), code.end(), stringUse), end; it != end; ++it) {
            SInt16 list = static_cast<SInt16>(std::stoi((*it)[1]));
            SInt16 n = static_cast<SInt16>(std::stoi((*it)[2]));
            EXPECT_TRUE(present(FOUR_CHAR("STR#"), list, n)) << where << ": " << (*it)[0];
        }
    }
}
