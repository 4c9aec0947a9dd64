// The resource descriptions: the reader's rules, and that every resource the code asks for exists.
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "Platform/RequiredResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
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

namespace {

std::string TypeName(ResType t) {
    return std::string{char(t >> 24), char(t >> 16), char(t >> 8), char(t)};
}

// True when the resource (for a string list with item > 0: that item, not empty) is described.
bool Present(ResType type, SInt16 id, SInt16 item) {
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
}

struct RegistryEntry {
    ResType type;
    SInt16 id;
    SInt16 item; // string lists: the item that must not be empty; 0 for the list itself
    std::string where;
};

struct SourceFile {
    std::string name, code;
    bool header;
};

// The named constants of the sources, "kName = number" in constexpr lines and enums. A use resolves
// to the definition in its own file, else to the one in a header; names defined in several headers
// with different values cannot be resolved and are reported.
class ConstantTable {
  public:
    explicit ConstantTable(const std::vector<SourceFile>& files) {
        const std::regex definition(R"(\b(k[A-Z]\w*)\s*=\s*(-?\d+)\s*[,;}])");
        const std::regex declaration(R"(\bconstexpr\s[^;{}]*;)");
        for (const SourceFile& f : files) {
            for (std::sregex_iterator it(f.code.begin(), f.code.end(), declaration), end; it != end; ++it) {
                const std::string statement = (*it)[0];
                for (std::sregex_iterator d(statement.begin(), statement.end(), definition); d != end; ++d)
                    declared_.push_back({f.name, (*d)[1], std::stol((*d)[2])});
            }
            for (std::sregex_iterator it(f.code.begin(), f.code.end(), definition), end; it != end; ++it) {
                const std::string name = (*it)[1];
                const long value = std::stol((*it)[2]);
                if (f.header) {
                    auto [slot, fresh] = headers_.emplace(name, value);
                    if (!fresh && slot->second != value) ambiguous_.insert(name);
                } else {
                    local_[{f.name, name}] = value;
                }
            }
        }
    }
    // The value of a literal or a constant as seen from `file`; false for anything else. A constant
    // without a value to read would let its resource go unchecked, so it fails the test.
    bool Resolve(const std::string& file, const std::string& token, SInt16* value) const {
        if (!token.empty() && std::isdigit(static_cast<unsigned char>(token[0]))) {
            *value = static_cast<SInt16>(std::stol(token));
            return true;
        }
        if (auto it = local_.find({file, token}); it != local_.end()) {
            *value = static_cast<SInt16>(it->second);
            return true;
        }
        if (ambiguous_.count(token)) {
            ADD_FAILURE() << file << ": " << token << " has different values in different headers";
            return false;
        }
        if (auto it = headers_.find(token); it != headers_.end()) {
            *value = static_cast<SInt16>(it->second);
            return true;
        }
        if (token.size() > 1 && token[0] == 'k' && std::isupper(static_cast<unsigned char>(token[1])))
            ADD_FAILURE() << file << ": no number found for " << token;
        return false;
    }
    // The constexpr constants (enum members number other things too: formats, filters, kinds).
    template <class F> void ForEachDeclared(F f) const {
        for (const Declared& d : declared_)
            f(d.file, d.name, d.value);
    }

  private:
    struct Declared {
        std::string file, name;
        long value;
    };
    std::vector<Declared> declared_;
    std::map<std::pair<std::string, std::string>, long> local_;
    std::map<std::string, long> headers_;
    std::set<std::string> ambiguous_;
};

// Every alert, dialog, string list and other resource the program can show or read, derived from
// its sources: the constants whose names say what they number (k...Alert, k...Dialog, k...List,
// k...Texts, k...Strings, k...String), every call of a resource-showing function with a number or a
// named constant, and the table of RequiredResources.h for ids and items the code computes.
std::vector<RegistryEntry> RequiredResourceRegistry() {
    std::vector<SourceFile> files;
    for (auto& entry : fs::recursive_directory_iterator(SourceRoot() + "/Sources")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        files.push_back({entry.path().filename().string(), text.str(), ext == ".h"});
    }
    const ConstantTable constants(files);
    std::vector<RegistryEntry> registry;

    struct Kind {
        std::regex suffix;
        ResType type;
    };
    const Kind kinds[] = {
        {std::regex(R"(k\w+Alert(Id)?)"), FOUR_CHAR("ALRT")},
        {std::regex(R"(k\w+Dialog(Id)?)"), FOUR_CHAR("DLOG")},
        {std::regex(R"(k\w+(List|Texts|Strings))"), FOUR_CHAR("STR#")},
        {std::regex(R"(k\w+String)"), FOUR_CHAR("STR ")},
    };
    constants.ForEachDeclared([&](const std::string& where, const std::string& name, long value) {
        for (const Kind& k : kinds)
            if (std::regex_match(name, k.suffix))
                registry.push_back({k.type, static_cast<SInt16>(value), 0, where + ": " + name});
    });

    // An argument is a number or a named constant; a variable (an id passed on) is left to its caller.
    const std::string arg = R"(\s*(\d+|k[A-Z]\w*)\s*)";
    struct Use {
        const char* name; // a cheap test before the expression runs
        std::regex pattern;
        ResType type;
        SInt16 list; // string uses: the list, the number is the item; else 0 and the number is the id
    };
    const Use uses[] = {
        {"ShowErrorAlert", std::regex(R"(\bShowErrorAlert\()" + arg + ","), FOUR_CHAR("STR#"), 200},
        {"AskConfirm", std::regex(R"(\bAskConfirm\()" + arg + ","), FOUR_CHAR("STR#"), 201},
        {"GetAppString", std::regex(R"(\bGetAppString\()" + arg + ","), FOUR_CHAR("STR#"), 5000},
        {"MatchesAppString", std::regex(R"(\bMatchesAppString\([^,()]+,)" + arg + R"(\))"), FOUR_CHAR("STR#"),
         5000},
        {"Str128", std::regex(R"(\b(?:GetStr128|ShowErrorStr128)\()" + arg + R"([,)])"), FOUR_CHAR("STR#"),
         128},
        {"ShowStatusMessage", std::regex(R"(\bShowStatusMessage\([^,()]+,)" + arg + ","), FOUR_CHAR("STR#"),
         128},
        {"Dialog(", std::regex(R"(\b(?:GetNewDialog|OpenModalDialog|OpenStackedDialog)\()" + arg + R"([,)])"),
         FOUR_CHAR("DLOG"), 0},
        {"Alert(",
         std::regex(R"(\b(?:Alert|StopAlert|NoteAlert|CautionAlert|ShowAlert)\()" + arg + R"([,)])"),
         FOUR_CHAR("ALRT"), 0},
        {"GetMenu", std::regex(R"(\b(?:GetMenu|GetMenuHandle)\()" + arg + R"(\))"), FOUR_CHAR("MENU"), 0},
        {"GetCursor", std::regex(R"(\bGetCursor\()" + arg + R"(\))"), FOUR_CHAR("CURS"), 0},
        {"SetCursorById", std::regex(R"(\bSetCursorById\(\s*([1-9]\d*)\s*\))"), FOUR_CHAR("crsr"), 0},
        {"GetStringResource", std::regex(R"(\bGetStringResource\()" + arg + ","), FOUR_CHAR("STR "), 0},
        {"AppendDITL", std::regex(R"(\bAppendDITL\([^,()]+,)" + arg + R"([,)])"), FOUR_CHAR("DITL"), 0},
        {"FindStringList", std::regex(R"(\b(?:FindStringList|CountIndStrings)\()" + arg + R"(\))"),
         FOUR_CHAR("STR#"), 0},
    };
    const std::regex stringUse(R"(\bGetIndString\([^,()]+,)" + arg + R"(,\s*([^,()]+?)\s*\))");
    for (const SourceFile& f : files) {
        for (const Use& u : uses) {
            if (f.code.find(u.name) == std::string::npos) continue;
            for (std::sregex_iterator it(f.code.begin(), f.code.end(), u.pattern), end; it != end; ++it) {
                SInt16 n = 0;
                if (!constants.Resolve(f.name, (*it)[1], &n)) continue;
                const std::string where = f.name + ": " + std::string((*it)[0]);
                if (u.list)
                    registry.push_back({u.type, u.list, n, where});
                else
                    registry.push_back({u.type, n, 0, where});
            }
        }
        if (f.code.find("GetIndString(") == std::string::npos) continue;
        for (std::sregex_iterator it(f.code.begin(), f.code.end(), stringUse), end; it != end; ++it) {
            SInt16 list = 0, item = 0;
            if (!constants.Resolve(f.name, (*it)[1], &list)) continue;
            if (!constants.Resolve(f.name, (*it)[2], &item)) item = 0; // an item the code computes
            registry.push_back({FOUR_CHAR("STR#"), list, item, f.name + ": " + std::string((*it)[0])});
        }
    }
    for (int i = 0; i < kRequiredResourceCount; ++i)
        registry.push_back({kRequiredResources[i].type, kRequiredResources[i].id, kRequiredResources[i].item,
                            "RequiredResources.cpp"});
    return registry;
}

} // namespace

// Every resource the program can ask for exists in Resources.
TEST(AppResources, EveryRegisteredResourceExists) {
    ResetAppResources();
    EXPECT_EQ(fs::path(AppResourceFolder()), fs::path(SourceRoot()) / "Resources");
    for (const std::string& p : AppResourceProblems())
        ADD_FAILURE() << p;

    const std::vector<RegistryEntry> registry = RequiredResourceRegistry();
    for (const RegistryEntry& r : registry)
        EXPECT_TRUE(Present(r.type, r.id, r.item))
            << r.where << ": " << TypeName(r.type) << " " << r.id
            << (r.item ? " item " + std::to_string(r.item) : "") << " is missing";

    // The registry sees constants and calls alike: a blind scan would pass everything.
    auto registered = [&](ResType type, SInt16 id, SInt16 item, const char* from) {
        return std::any_of(registry.begin(), registry.end(), [&](const RegistryEntry& r) {
            return r.type == type && r.id == id && r.item == item && r.where.find(from) != std::string::npos;
        });
    };
    EXPECT_TRUE(registered(FOUR_CHAR("ALRT"), 151, 0, "kNameInUseAlert"));
    EXPECT_TRUE(registered(FOUR_CHAR("ALRT"), 151, 0, "ShowAlert(kNameInUseAlert)"));
    EXPECT_TRUE(registered(FOUR_CHAR("DLOG"), 160, 0, "kTimedMessageDialog"));
    EXPECT_TRUE(registered(FOUR_CHAR("ALRT"), 138, 0, "EventLoop.cpp: kUndoLimitAlert"));
    EXPECT_TRUE(registered(FOUR_CHAR("STR#"), 5000, 42, "NewDocument.cpp: GetIndString"));
    EXPECT_TRUE(registered(FOUR_CHAR("STR#"), 200, 92, "ShowErrorAlert(kMsgFormatNotAvailable"));
}

// A resource the code asks for and the descriptions lack is a programming error: one line on
// standard error and a failure, never an answer made up for it.
TEST(AppResources, AMissingResourceIsReportedOnStandardError) {
    ResetAppResources();
    ClearRecordedAlerts();
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    testing::internal::CaptureStderr();
    const SInt16 item = Alert(4242, nullptr);
    DialogRef dialog = GetNewDialog(4243, nullptr, nullptr);
    Str255 s;
    GetIndString(s, 4244, 1);
    GetIndString(s, 4244, 2); // a list is reported once: texts are read in loops
    const std::string err = testing::internal::GetCapturedStderr();
    SetAlertResponder(nullptr);
    EXPECT_EQ(item, kAlertMissing);
    EXPECT_TRUE(RecordedAlerts().empty());
    EXPECT_EQ(dialog, nullptr);
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(err, "Draftwerk: missing resource ALRT 4242\n"
                   "Draftwerk: missing resource DLOG 4243\n"
                   "Draftwerk: missing resource STR# 4244\n");
}
