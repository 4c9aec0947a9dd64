// Symbol libraries through the menus, answered by queued keys and clicks: a new library made from
// the library dialog and a drawing's symbol copied into it; a symbol placed with Symbols > Place,
// chosen from the symbol list by Return on an empty field.
#include "ShellTestSupport.h"

#include "Dialogs/SymbolLibraryDialogs.h"
#include "Files/SymbolLibrary.h"
#include "Interface/ModalDialogs.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/Symbols.h"
#include "Platform/Events.h"
#include "Platform/FileChoosers.h"
#include "Platform/Menus.h"
#include "TestSupport.h"

#include <cstring>
#include <string>

namespace {

// Where the dialogs' resources place their content (global), as none has a remembered place here.
constexpr Point kLibraryOrigin{60, 120};
constexpr SInt16 kSymbolsMenuId = 134;

SymbolDefRecord* AddDefinition(DocWindowRecord* doc, const char* name, Float64 length) {
    SymbolDefRecord* def = nullptr;
    NewSymbolDefElement(&def);
    def->name[0] = UInt8(std::strlen(name));
    std::memcpy(def->name + 1, name, def->name[0]);
    def->maxX = length, def->maxY = 1;
    LineRecord* l = NewLineRecord();
    l->x2 = length, l->pen = 1;
    def->lineHead->next = l;
    SymbolDefRecord* tail = doc->symbolDefHead;
    while (tail->next != nullptr)
        tail = tail->next;
    tail->next = def;
    return def;
}

class SymbolLibraryGui : public ShellTest {
  protected:
    DocWindowRecord* doc = nullptr;
    std::string folder;
    void SetUp() override {
        ShellTest::SetUp();
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        folder = MakeTestFolder("SymbolLibraryGui");
        std::memset(DialogPositionTable, 0, sizeof DialogPositionTable);
    }
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        CloseSymbolLibrary();
        ShellTest::TearDown();
    }
};

} // namespace

TEST_F(SymbolLibraryGui, ANewLibraryFromTheDialogTakesTheDrawingsSymbol) {
    AddDefinition(doc, "Bolt", 10);
    const std::string path = folder + "/Parts.lib";
    std::string proposed;
    SetFilePanelResponders(nullptr, [&](SavePanelRequest& request, std::string* chosen) {
        proposed = request.proposedName;
        *chosen = path;
        return true;
    });
    QueueGlobalClick(kLibraryOrigin, 410, 326); // New…
    QueueKey(kKeyCodeTab, kTabCharCode);        // back to the drawing's list
    QueueTypedText("b");                        // type-select "Bolt (0)"
    QueueGlobalClick(kLibraryOrigin, 290, 70);  // Copy to Library
    QueueKey(kKeyCodeReturn, kReturnCharCode);  // Done
    ASSERT_TRUE(ChooseMenuItem(kSymbolsMenuId, 11));
    RunLoop();
    EXPECT_EQ(proposed, "Symbols.lib");
    ASSERT_TRUE(SymbolLibraryIsOpen());
    EXPECT_STREQ(SymbolLibraryList.file.path, path.c_str());
    ASSERT_EQ(SymbolLibraryList.count, 1);
    SymbolDefRecord* back = nullptr;
    ASSERT_EQ(ReadLibrarySymbol(doc, 0, &back), noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back->name) + 1, back->name[0]), "Bolt");
    EXPECT_EQ(back->lineHead->next->x2, 10.0);
    DisposeSymbolDefRecord(&back);
}

TEST_F(SymbolLibraryGui, PlaceChoosesFromTheSymbolListOnAnEmptyField) {
    AddDefinition(doc, "Anchor", 4);
    AddDefinition(doc, "Bolt", 10);
    PlaceSymbolsWithoutAsking(doc->settings) = true;
    ASSERT_TRUE(ChooseMenuItem(kSymbolsMenuId, 4));
    RunLoop();
    QueueKey(kKeyCodeReturn, kReturnCharCode); // the empty field: the symbol list
    QueueKey(0x0B, 'b');                       // type-select "Bolt"
    QueueKey(kKeyCodeReturn, kReturnCharCode); // choose it
    QueueClick(doc->window, Pt(300, 200));     // the insertion point
    RunLoop();
    const SymbolInstanceRecord* placed = doc->instanceHead->next;
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->next, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(placed->definition->name) + 1, placed->definition->name[0]),
              "Bolt");
}
