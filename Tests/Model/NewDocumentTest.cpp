// New documents: default names, the name clash, factory defaults, layer names, the Window menu.
#include "DocumentFixture.h"
#include "Platform/FileManager.h"
#include "Platform/Menus.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"

#include <TestSupport.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

class NewDocuments : public DocumentTest {
  protected:
    DocWindowRecord* Make(const std::string& name) {
        DocWindowRecord* made = nullptr;
        EXPECT_TRUE(NewDocument(&made, PStr(name), 0));
        return made;
    }
    std::string Name(DocWindowRecord* d) { return ToStd(d->drawing->documentName); }
};

} // namespace

TEST_F(NewDocuments, DefaultNamesAreNumberedFromTwo) {
    EXPECT_EQ(Name(doc), "Untitled");
    EXPECT_EQ(Name(Make("")), "Untitled 2");
    DocWindowRecord* third = Make("");
    EXPECT_EQ(Name(third), "Untitled 3");
    DisposeDocumentRecords(third);
    EXPECT_EQ(Name(Make("")), "Untitled 3");
    EXPECT_EQ(Name(Make("Plan")), "Plan");
    EXPECT_TRUE(RecordedAlerts().empty()); // an empty name never asks
    EXPECT_EQ(CountOpenDocuments(), 4);
    EXPECT_EQ(OpenDocumentList, doc); // in the order of opening
}

TEST_F(NewDocuments, ANameAlreadyOpenAsksWhetherToTakeTheDefaultName) {
    Make("Plan");
    SInt16 answer = 1;
    SetAlertResponder([&](const AlertRecord&) { return answer; });
    EXPECT_EQ(Name(Make("Plan")), "Untitled 2");
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_EQ(RecordedAlerts()[0].alertId, kNameInUseAlert);
    EXPECT_EQ(RecordedAlerts()[0].params[0], "Plan");
    EXPECT_EQ(RecordedAlerts()[0].params[1], "Untitled 2");

    answer = 2;
    DocWindowRecord* none = reinterpret_cast<DocWindowRecord*>(1);
    EXPECT_FALSE(NewDocument(&none, PStr("Plan"), 0));
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(CountOpenDocuments(), 3);
}

TEST_F(NewDocuments, ANewDocumentHasTheFactoryDefaults) {
    const DocSettings* s = doc->settings;
    EXPECT_EQ(s->undoOn, 1);
    EXPECT_EQ(s->currentLayer, 1);
    EXPECT_EQ(s->currentPen, 1);
    EXPECT_EQ(s->paperFormat, 7);
    EXPECT_EQ(s->penLineKinds[2], 2);
    EXPECT_EQ(s->penWidths[7], 0.05);
    EXPECT_EQ(s->gridAngleY, 90.0);
    EXPECT_EQ(s->unitCode, 0);
    EXPECT_EQ(doc->drawing->variableCount, 1);
    EXPECT_EQ(ToStd(doc->drawing->variables->entries[0]), "PI=3.141593");
    EXPECT_EQ(ToStd(doc->layerNames->names[7]), "Layer 0007");
    EXPECT_EQ(ToStd(doc->layerNames->names[1023]), "Layer 1023");
    EXPECT_TRUE(IsLayerVisible(doc->layerVisible, 0));
    EXPECT_TRUE(IsLayerVisible(doc->layerVisible, 1023));
    EXPECT_EQ(ToStd(doc->drawing->titleBlock->scale), "1:1");
    EXPECT_EQ(ToStd(doc->drawing->titleBlock->field2), "1");
    EXPECT_GT(doc->drawing->titleBlock->date[0], 0);
    EXPECT_TRUE(doc->drawing->newDocument);
    EXPECT_EQ(doc->lineHead->next, nullptr);
    EXPECT_NE(doc->drawing->toolInput.workArcs[9], nullptr);
    EXPECT_EQ(doc->window, nullptr); // made without a window

    // Its journal lives in the program's private temporary folder.
    ASSERT_TRUE(doc->drawing->undo.undoEnabled);
    FSRef folder;
    ASSERT_EQ(GetPrivateTempFolder(&folder), noErr);
    std::string journal = doc->drawing->undo.undoFileRef->path;
    EXPECT_EQ(journal.rfind(std::string(folder.path) + "/", 0), 0u) << journal;
    EXPECT_TRUE(FSRefExists(doc->drawing->undo.undoFileRef));
    DisposeDocumentRecords(doc);
    EXPECT_FALSE(std::filesystem::exists(journal));
}

TEST_F(NewDocuments, TheWindowComesFromTheShellsHook) {
    static DocWindowRecord* seen = nullptr;
    static std::string title;
    gDocumentHooks.newDocumentWindow = [](DocWindowRecord* d, ConstStr255Param name, SInt16) -> Boolean {
        seen = d;
        title = ToStd(name);
        return true;
    };
    DocWindowRecord* made = Make("");
    EXPECT_EQ(seen, made);
    EXPECT_EQ(title, "Untitled 2");

    gDocumentHooks.newDocumentWindow = [](DocWindowRecord*, ConstStr255Param, SInt16) -> Boolean {
        return false;
    };
    DocWindowRecord* failed = nullptr;
    EXPECT_FALSE(NewDocument(&failed, nullptr, 0));
    EXPECT_EQ(CountOpenDocuments(), 2);
}

TEST_F(NewDocuments, TheWindowMenuListsTheOpenDocuments) {
    MenuRef menu = NewMenu(kWindowMenuId, PStr("Window"));
    InsertMenu(menu, 0);
    for (int i = 1; i <= 25; ++i)
        AppendMenuItemText(menu, PStr("Item " + std::to_string(i)));
    for (int i = 2; i <= 11; ++i)
        Make("Plan " + std::to_string(i));
    EXPECT_EQ(CountMenuItems(menu), 23 + 1 + 11);
    Str255 text;
    GetMenuItemText(menu, 23, text);
    EXPECT_EQ(ToStd(text), "Item 23");
    GetMenuItemText(menu, 25, text);
    EXPECT_EQ(ToStd(text), "Untitled");
    SInt16 key = 0;
    GetItemCmd(menu, 25, &key);
    EXPECT_EQ(key, '1');
    GetItemCmd(menu, 33, &key);
    EXPECT_EQ(key, '9');
    GetItemCmd(menu, 34, &key);
    EXPECT_EQ(key, '0'); // the tenth
    GetItemCmd(menu, 35, &key);
    EXPECT_EQ(key, 0); // the eleventh has none
    SInt16 mark = 0;
    GetItemMark(menu, 35, &mark);
    EXPECT_EQ(mark, checkMark); // the front document

    while (OpenDocumentList != nullptr)
        DisposeDocumentRecords(OpenDocumentList);
    RebuildWindowMenu();
    EXPECT_EQ(CountMenuItems(menu), 23);
    DeleteMenu(kWindowMenuId);
    DisposeMenu(menu);
}
