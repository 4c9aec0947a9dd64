// The key commands end to end: each posted from its menu item, driven by clicks, dragged rectangles,
// typed keys, kind names, scales and yes or no, and left with Escape at every step. Every change is one
// undo step that undo and redo take back and give again exactly; a saved selection reopens alone.
#include "../Model/DrawingSnapshot.h"
#include "Files/FileCommands.h"
#include "MessageCapture.h"
#include "Model/Transform.h"
#include "Platform/FileChoosers.h"
#include "Platform/FileManager.h"
#include "Shell/MenuBar.h"
#include "Shell/MenuCommands.h"
#include "ToolGuiFixture.h"
#include "Tools/CommandField.h"
#include "Tools/PendingCommands.h"
#include "Tools/ToolState.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::string>& gInfoRows = InfoRowCapture::Rows();

class PendingKeysGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        infoRows.emplace();
    }
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        infoRows.reset();
        ToolGuiTest::TearDown();
    }
    std::optional<InfoRowCapture> infoRows;

    // Four horizontal lines 30 long at y = 10, 20, 30, 40, with the keys 0, 5, 5 and 7.
    void DrawKeyedLines() {
        const SInt16 keys[] = {0, 5, 5, 7};
        for (int i = 0; i < 4; ++i) {
            doc->settings->currentGroup = keys[i];
            Draw(10, 10 * (i + 1), 40, 10 * (i + 1));
        }
        doc->settings->currentGroup = 0;
    }
    // The keys of the lines, from the lowest line up.
    std::vector<int> Keys() const {
        std::vector<std::pair<double, int>> lines;
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            lines.emplace_back(l->y1, l->group);
        std::sort(lines.begin(), lines.end());
        std::vector<int> keys;
        for (auto& l : lines)
            keys.push_back(l.second);
        return keys;
    }
    int SelectedLines() const {
        int n = 0;
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            n += l->selected ? 1 : 0;
        return n;
    }
    void Post(SInt16 menu, SInt16 item) {
        ASSERT_TRUE(ChooseMenuItem(menu, item));
        RunLoop();
    }
    void Escape() { Key(kKeyCodeEscape, kEscapeCharCode); }
    SInt16 Pending() const { return doc->drawing->toolInput.pendingCommand; }
};

struct Row {
    const char* what;
    SInt16 item; // of the Keys menu
    std::vector<GuiAction> actions;
    std::vector<int> keys; // of the lines afterwards
    SInt16 message;        // the last message of list 128, 0 for none
    SInt16 pending, step;  // where the command is afterwards (0: ended)
    const char* prompt;    // the start of the prompt shown afterwards, when the command waits
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"147: clicked elements take a new key",
         1,
         {Click(20, 10), Click(20, 40), Typed("9")},
         {9, 5, 5, 9},
         0,
         0,
         0,
         nullptr},
        {"147: a key in use, answered no",
         1,
         {Click(20, 10), Typed("5"), Typed("no")},
         {0, 5, 5, 7},
         0,
         0,
         0,
         nullptr},
        {"147: a key in use, answered yes",
         1,
         {Click(20, 10), Typed("7"), Typed("yes")},
         {7, 5, 5, 7},
         0,
         0,
         0,
         nullptr},
        {"147: a click on an element twice leaves it out",
         1,
         {Click(20, 10), Click(20, 10), Click(20, 40), Typed("3")},
         {0, 5, 5, 3},
         0,
         0,
         0,
         nullptr},
        {"147: a key past 32000 is refused and the step waits",
         1,
         {Click(20, 10), Typed("40000")},
         {0, 5, 5, 7},
         63,
         147,
         0,
         "Click elements"},
        {"147: a key with nothing selected waits for elements",
         1,
         {Typed("4")},
         {0, 5, 5, 7},
         0,
         147,
         0,
         "Click elements"},
        {"147: Return alone ends", 1, {Click(20, 10), Typed("")}, {0, 5, 5, 7}, 0, 0, 0, nullptr},
        {"148: a rectangle, then a key", 2, {Drag(5, 5, 45, 25), Typed("9")}, {9, 9, 5, 7}, 0, 0, 0, nullptr},
        {"148: a kind name, a click leaves one out, then a key",
         2,
         {Typed("line"), Click(20, 30), Typed("2")},
         {2, 2, 5, 2},
         0,
         0,
         0,
         nullptr},
        {"148: an empty rectangle keeps the first step",
         2,
         {Drag(50, 50, 60, 60)},
         {0, 5, 5, 7},
         0,
         148,
         0,
         "Drag a rectangle"},
        {"167: a picked key removed after yes",
         10,
         {Click(20, 20), Typed("yes")},
         {0, 0, 0, 7},
         0,
         0,
         0,
         nullptr},
        {"167: a typed key removed after y", 10, {Typed("7"), Typed("y")}, {0, 5, 5, 0}, 0, 0, 0, nullptr},
        {"167: no keeps the key", 10, {Typed("5"), Typed("no")}, {0, 5, 5, 7}, 0, 0, 0, nullptr},
        {"167: a key nobody uses is told", 10, {Typed("8")}, {0, 5, 5, 7}, 152, 167, 0, "Click an element"},
        {"167: a typed 0 is ignored", 10, {Typed("0")}, {0, 5, 5, 7}, 0, 167, 0, "Click an element"},
        {"167: an element without a key is told",
         10,
         {Told(20, 10)},
         {0, 5, 5, 7},
         73,
         167,
         0,
         "Click an element"},
        {"167: a click beside every element keeps the step",
         10,
         {Click(80, 80)},
         {0, 5, 5, 7},
         0,
         167,
         0,
         "Click an element"},
        {"167: the question waits for an answer",
         10,
         {Click(20, 40), Click(20, 20)},
         {0, 5, 5, 7},
         0,
         167,
         1,
         "Key 7 is taken"},
        {"164: a picked key's elements are selected",
         8,
         {Click(20, 30)},
         {0, 5, 5, 7},
         0,
         164,
         1,
         "Key 5 is selected"},
        {"164: Return asks for another key",
         8,
         {Click(20, 30), Typed("")},
         {0, 5, 5, 7},
         0,
         164,
         0,
         "Click an element"},
        {"164: a typed key", 8, {Typed("7")}, {0, 5, 5, 7}, 0, 164, 1, "Key 7 is selected"},
        {"164: a click beside every element keeps the step",
         8,
         {Click(80, 80)},
         {0, 5, 5, 7},
         0,
         164,
         0,
         "Click an element"},
        {"159: an element without a key is told",
         5,
         {Click(0, 0), Told(20, 10)},
         {0, 5, 5, 7},
         73,
         159,
         1,
         "Click an element"},
        {"159: a click beside every element keeps the step",
         5,
         {Click(0, 0), Click(80, 80)},
         {0, 5, 5, 7},
         0,
         159,
         1,
         "Click an element"},
        {"159: a scale below 0.0000001 is refused",
         5,
         {Click(0, 0), Click(20, 20), Typed("0.00000001")},
         {0, 5, 5, 7},
         148,
         159,
         2,
         "Type the new scale"},
    };
    return rows;
}

} // namespace

class PendingKeysTable : public PendingKeysGui {
  public:
    void Start(const Row& r) {
        FreshDocument();
        DrawKeyedLines();
        doc->settings->currentGroup = 2;
        Post(kKeysMenu, r.item);
    }
};

// Each row from its menu item to its end: the keys, the message, where the command waits. A row that
// changed the drawing is one undo step; undo and redo give exactly the drawing before and after.
TEST_F(PendingKeysTable, EveryRowFromItsMenuItem) {
    for (const Row& r : Rows()) {
        SCOPED_TRACE(r.what);
        Start(r);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        MessageCapture messages;
        for (const GuiAction& a : r.actions)
            Act(a);
        EXPECT_EQ(Keys(), r.keys);
        EXPECT_EQ(messages.Last(), r.message);
        EXPECT_EQ(Pending(), r.pending);
        if (r.pending != 0) {
            EXPECT_EQ(Step(), r.step);
            Str255 prompt;
            CommandFieldPrompt(doc, prompt);
            std::string shown(reinterpret_cast<const char*>(prompt + 1), prompt[0]);
            EXPECT_EQ(shown.rfind(r.prompt, 0), 0u) << shown;
        }
        EXPECT_EQ(doc->settings->currentGroup, 2) << "the current key stays";
        const DrawingSnapshot after = TakeDrawingSnapshot(doc);
        if (after == before) continue;
        Undo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        Redo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
}

// Escape after any action that leaves the command waiting ends it with the drawing as it was and
// nothing selected.
TEST_F(PendingKeysTable, EscapeAtEveryStepChangesNothing) {
    for (const Row& r : Rows()) {
        for (size_t stop = 0; stop <= r.actions.size(); ++stop) {
            SCOPED_TRACE(std::string(r.what) + ", Escape after action " + std::to_string(stop));
            Start(r);
            const DrawingSnapshot before = TakeDrawingSnapshot(doc);
            for (size_t i = 0; i < stop; ++i)
                Act(r.actions[i]);
            if (Pending() == 0) break;
            Escape();
            EXPECT_EQ(Pending(), 0);
            EXPECT_EQ(SelectedLines(), 0);
            EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        }
    }
}

// 147 tells on the information line which key the selection took, and whether the key was in use.
TEST_F(PendingKeysGui, GivingAKeyIsToldOnTheInformationLine) {
    DrawKeyedLines();
    Post(kKeysMenu, 1);
    ClickAt(20, 10);
    Type("9");
    Post(kKeysMenu, 1);
    ClickAt(20, 20);
    Type("7");
    Type("yes");
    ASSERT_EQ(gInfoRows.size(), 2u);
    EXPECT_EQ(gInfoRows[0], "Key given to the selection: \t9");
    EXPECT_EQ(gInfoRows[1].substr(gInfoRows[1].find('\t')), "\t7");
    EXPECT_TRUE(doc->drawing->changed);
}

// 159: about the clicked point, the key's elements grow by the new scale over the old, take the new
// scale value, and the rest stays; the field offers the picked element's scale first.
TEST_F(PendingKeysGui, RescalingAKeyScalesItsElementsAboutTheClickedPoint) {
    DrawKeyedLines();
    Post(kKeysMenu, 5);
    ClickAt(10, 0);
    ClickAt(20, 20);
    EXPECT_EQ(Step(), 2);
    EXPECT_EQ(SelectedLines(), 2);
    EXPECT_EQ(CommandFieldUTF8Text(doc).rfind("1", 0), 0u) << CommandFieldUTF8Text(doc);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    // A refused scale stays selected, so the next value typed replaces it.
    MessageCapture messages;
    Type("0.00000001");
    EXPECT_EQ(messages.Last(), 148);
    EXPECT_EQ(Pending(), 159);
    Type("2");
    EXPECT_EQ(Pending(), 0);
    std::vector<std::vector<double>> lines;
    for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        lines.push_back({l->x1, l->y1, l->x2, l->y2, l->scaleFactor, double(l->group)});
    std::sort(lines.begin(), lines.end(),
              [](auto& a, auto& b) { return a[5] != b[5] ? a[5] < b[5] : a[1] < b[1]; });
    const std::vector<std::vector<double>> expected = {
        {10, 10, 40, 10, 1, 0}, {10, 40, 70, 40, 2, 5}, {10, 60, 70, 60, 2, 5}, {10, 40, 40, 40, 1, 7}};
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i)
        for (size_t k = 0; k < 6; ++k)
            EXPECT_NEAR(lines[i][k], expected[i][k], 1e-9) << "line " << i << " value " << k;
    const DrawingSnapshot after = TakeDrawingSnapshot(doc);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);

    // The same scale again changes nothing and makes no undo step.
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    Post(kKeysMenu, 5);
    ClickAt(10, 0);
    ClickAt(60, 40);
    Type("2");
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps);
}

// Menu 133 item 4 is there only with a current key; it makes the drawing scale that of the key's
// elements. A current key no element carries is told.
TEST_F(PendingKeysGui, TheWidthOfTheCurrentKeyBecomesTheDrawingScale) {
    DrawKeyedLines();
    for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        if (l->group == 7) l->scaleFactor = 50;
    doc->settings->currentGroup = 0;
    RunLoop();
    EXPECT_FALSE(ChooseMenuItem(kKeysMenu, 4)) << "dimmed without a current key";
    doc->settings->currentGroup = 7;
    RunLoop();
    Post(kKeysMenu, 4);
    EXPECT_DOUBLE_EQ(doc->settings->drawingScale, 50);
    MessageCapture messages;
    doc->settings->currentGroup = 9;
    Post(kKeysMenu, 4);
    EXPECT_EQ(messages.Last(), 152);
    EXPECT_DOUBLE_EQ(doc->settings->drawingScale, 50);
}

namespace {

// The lines of a saved drawing, opened again: their y and key.
std::vector<std::pair<double, int>> LinesInFile(const std::string& path) {
    FSRef file;
    EXPECT_EQ(FSMakeRef(path.c_str(), &file), noErr);
    DocWindowRecord* opened = nullptr;
    EXPECT_TRUE(OpenDocumentFile(&opened, &file));
    std::vector<std::pair<double, int>> lines;
    if (opened == nullptr) return lines;
    for (const LineRecord* l = opened->lineHead->next; l != nullptr; l = l->next)
        lines.emplace_back(l->y1, l->group);
    std::sort(lines.begin(), lines.end());
    DisposeDocumentWindow(opened);
    return lines;
}

} // namespace

// 165 and 166 write the chosen elements alone into a drawing of their own, reopened here; 152/1 writes
// the whole drawing. The document keeps its own name, file and changed state every time.
TEST_F(PendingKeysGui, SavedSelectionsReopenHoldingOnlyTheSelection) {
    DrawKeyedLines();
    const std::string folder = MakeTestFolder("pending_keys");
    std::string path;
    int panels = 0;
    SetFilePanelResponders(nullptr, [&](SavePanelRequest&, std::string* chosen) {
        ++panels;
        *chosen = path;
        return true;
    });
    const std::string name(reinterpret_cast<const char*>(doc->drawing->documentName + 1),
                           doc->drawing->documentName[0]);
    const bool changed = doc->drawing->changed;

    EXPECT_TRUE(MenuItemAvailable(kFileMenu, 12)) << "the Export submenu opens from the File menu";

    path = folder + "/Key5.cadx";
    Post(kExportMenu, 2);
    ClickAt(80, 80); // beside every element: nothing is saved
    EXPECT_EQ(panels, 0);
    Act(Told(20, 10)); // no key
    EXPECT_EQ(panels, 0);
    EXPECT_EQ(Pending(), 165);
    ClickAt(20, 30);
    EXPECT_EQ(panels, 1);
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(LinesInFile(path), (std::vector<std::pair<double, int>>{{20, 5}, {30, 5}}));

    path = folder + "/Chosen.cadx";
    Post(kExportMenu, 3);
    DragFrom(5, 5, 45, 25);
    ClickAt(20, 20); // out again
    ClickAt(20, 40);
    Type("");
    EXPECT_EQ(panels, 2);
    EXPECT_EQ(LinesInFile(path), (std::vector<std::pair<double, int>>{{10, 0}, {40, 7}}));

    path = folder + "/Copy.cadx";
    Post(kExportMenu, 1);
    EXPECT_EQ(panels, 3);
    EXPECT_EQ(LinesInFile(path).size(), 4u);

    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc->drawing->documentName + 1),
                          doc->drawing->documentName[0]),
              name);
    EXPECT_EQ(doc->drawing->file.path[0], 0) << "the document still has no file";
    EXPECT_EQ(doc->drawing->changed, changed);
}
