// The symbol commands end to end, posted from the Symbols menu (or by code where the item waits for
// the symbol list) and driven by clicks, dragged rectangles, typed names, values and answers; every
// change is one undo step that undo and redo take back and give again exactly, and Escape at any
// step leaves the drawing as it was.
#include "../Model/DrawingSnapshot.h"
#include "Model/Selection.h"
#include "Model/SelectionCriteria.h"
#include "Model/Symbols.h"
#include "Platform/DialogManager.h"
#include "Platform/MacRoman.h"
#include "Platform/AppResources.h"
#include "Other/ZEZUdivari.h"
#include "Shell/MenuCommands.h"
#include "Tools/CommandField.h"
#include "Tools/PendingCommands.h"
#include "Tools/ToolState.h"
#include "ToolGuiFixture.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr SInt16 kSymbols = 134;

class PendingSymbolsGui : public ToolGuiTest {
  protected:
    // A definition of one line from (0, 0) to (20, 0) about its base point.
    SymbolDefRecord* Define(const char* name) {
        LineRecord* l = AppendLineAtCursor(doc, 100, 200, 120, 200, false);
        l->selected = 1;
        SymbolDefRecord* def = CreateSymbolFromSelection(doc, 100, 200, PStr(name), false);
        ResetUndoJournal(doc);
        return def;
    }
    SymbolInstanceRecord* Place(SymbolDefRecord* def, double x, double y, double angle = 0) {
        SymbolInstanceRecord* s = CreateSymbolInstance(doc, x, y, angle, 1, 1, def);
        ResetUndoJournal(doc);
        RedrawWindow(doc);
        RunLoop();
        return s;
    }
    void Menu(SInt16 item) {
        ASSERT_TRUE(ChooseMenuItem(kSymbols, item));
        RunLoop();
    }
    void Post(SInt16 code) {
        StartPendingCommand(doc, code);
        RunLoop();
    }
    void Escape() { Key(kKeyCodeEscape, kEscapeCharCode); }
    void Return() { Key(kKeyCodeReturn, kReturnCharCode); }
    bool Pending() const { return PendingCommandActive(doc); }
    // The last alert shows item n of the tool messages (list 128), or error n of list 200.
    static std::string Message(SInt16 list, SInt16 n) {
        Str255 s;
        GetIndString(s, list, n);
        return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
    }
    static bool LastAlertIs(SInt16 list, SInt16 n) {
        return !RecordedAlerts().empty() && RecordedAlerts().back().params[0] == Message(list, n);
    }
    SymbolDefRecord* Named(const std::string& macRoman) {
        Str255 n;
        n[0] = UInt8(macRoman.size());
        std::memcpy(n + 1, macRoman.data(), macRoman.size());
        return FindSymbolDefinition(doc, n);
    }
    static int Count(LineRecord* head) {
        int n = 0;
        for (LineRecord* e = head->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
    int Instances() const {
        int n = 0;
        for (SymbolInstanceRecord* e = doc->instanceHead->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
    SymbolInstanceRecord* LastInstance() const {
        SymbolInstanceRecord* e = doc->instanceHead->next;
        while (e != nullptr && e->next != nullptr)
            e = e->next;
        return e;
    }
    // Undo gives exactly the drawing before, redo exactly the one after.
    void ExpectExactUndoRedo(const DrawingSnapshot& before) {
        const DrawingSnapshot after = TakeDrawingSnapshot(doc);
        ASSERT_NE(before, after);
        Undo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        Redo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
};

} // namespace

// Opening waits for the symbol editor; the other items post their commands, placing and exploding
// only when the drawing has a definition.
TEST_F(PendingSymbolsGui, MenuItemsPostTheirCommands) {
    for (SInt16 code : {144, 146, 153, 154, 155, 177, 179, 183})
        EXPECT_NE(FindStepRow(kPendingSymbolSteps, code, 0), nullptr) << code << " has no first step";
    EXPECT_FALSE(MenuItemAvailable(kSymbols, 15));
    EXPECT_FALSE(ChooseMenuItem(kSymbols, 4)) << "no definition to place";
    EXPECT_FALSE(ChooseMenuItem(kSymbols, 5)) << "no definition to place";
    Define("Pump");
    const struct { SInt16 item, code; } rows[] = {{1, 155}, {2, 177}, {4, 146}, {6, 153}, {8, 144}, {9, 154}};
    for (auto r : rows) {
        EXPECT_TRUE(MenuItemAvailable(kSymbols, r.item));
        Menu(r.item);
        EXPECT_EQ(doc->drawing->toolInput.pendingCommand, r.code) << "item " << r.item;
        Escape();
    }
    AssignStr255(ToolStateOf(doc)->lastSymbolName, PStr("Pump"));
    Menu(5);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 183);
    EXPECT_EQ(CommandFieldUTF8Text(doc), "Pump");
}

// 144: a key's elements become a symbol shown by an instance where they were, in one undo step; a
// click beside every element leaves the step waiting.
TEST_F(PendingSymbolsGui, DefinitionFromAKey) {
    doc->settings->currentGroup = 5;
    Draw(20, 20, 60, 20);
    Draw(20, 40, 60, 40);
    doc->settings->currentGroup = 0;
    Draw(20, 80, 60, 80);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    Menu(8);
    ClickAt(150, 150);
    EXPECT_EQ(Step(), 0);
    ClickAt(40, 20);
    ASSERT_EQ(Step(), 1);
    ClickAt(20, 20);
    ASSERT_EQ(Step(), 2);
    Return(); // an empty name waits
    EXPECT_EQ(Step(), 2);
    Type("Pump");
    EXPECT_FALSE(Pending());
    SymbolDefRecord* def = Named("Pump");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(Count(def->lineHead), 2);
    EXPECT_EQ(Lines(), 1);
    ASSERT_EQ(Instances(), 1);
    EXPECT_EQ(LastInstance()->x, 20);
    EXPECT_EQ(LastInstance()->y, 20);
    ExpectExactUndoRedo(before);
}

// A typed name is taken in the system encoding and cut to 19 characters (with error 19 of list 200)
// only when it has more than 19 characters, however many bytes it takes typed.
TEST_F(PendingSymbolsGui, NamesAreConvertedBeforeTheCut) {
    const struct {
        const char* typed; // UTF-8
        bool cut;
    } cases[] = {
        {"Ventil\xC3\xB6"
         "ffnung-\xC3\xA4\xC3\xB6\xC3\xBC"
         "12",
         false}, // 19 characters, 23 bytes
        {"ABCDEFGHIJKLMNOPQRSTUVWX", true},
    };
    double y = 20;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        doc->settings->currentGroup = SInt16(y);
        Draw(20, y, 60, y);
        Menu(8);
        ClickAt(40, y);
        ClickAt(20, y);
        ClearRecordedAlerts();
        CommandFieldPutUTF8(doc, PStr(c.typed));
        Return();
        const std::string roman = UTF8ToMacRoman(c.typed);
        ASSERT_NE(Named(roman.substr(0, 19)), nullptr);
        EXPECT_EQ(c.cut, LastAlertIs(200, 19));
        EXPECT_FALSE(Pending());
        y += 20;
    }
}

// An existing name asks first: no leaves everything, yes redefines (its instances show the new
// elements).
TEST_F(PendingSymbolsGui, AnExistingNameIsRedefinedAfterYes) {
    SymbolDefRecord* old = Define("Pump");
    Place(old, 150, 150);
    doc->settings->currentGroup = 7;
    Draw(20, 20, 60, 20);
    Draw(20, 20, 20, 60);
    for (const char* answer : {"no", "yes"}) {
        SCOPED_TRACE(answer);
        Menu(8);
        ClickAt(40, 20);
        ClickAt(20, 20);
        Type("Pump");
        ASSERT_EQ(Step(), 3);
        EXPECT_EQ(CommandFieldUTF8Text(doc), Message(128, 188));
        Type(answer);
        EXPECT_FALSE(Pending());
    }
    EXPECT_EQ(Lines(), 0);
    SymbolDefRecord* def = Named("Pump");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(Count(def->lineHead), 2);
    ASSERT_EQ(Instances(), 1);
    EXPECT_EQ(LastInstance()->definition, def);
}

// 154: a rectangle, a click more and Return choose the elements; a kind name chooses all of a kind;
// elements of different scales are refused with message 74, and nothing chosen gives message 15.
TEST_F(PendingSymbolsGui, DefinitionFromChosenElements) {
    Draw(20, 20, 60, 20);
    Draw(20, 40, 60, 40);
    Draw(120, 20, 160, 20);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    Menu(9);
    DragFrom(10, 10, 70, 50);
    ASSERT_EQ(Step(), 1);
    ClickAt(140, 20);
    Return();
    ASSERT_EQ(Step(), 2);
    ClickAt(20, 20);
    Type("Rack");
    EXPECT_FALSE(Pending());
    ASSERT_NE(Named("Rack"), nullptr);
    EXPECT_EQ(Count(Named("Rack")->lineHead), 3);
    EXPECT_EQ(Lines(), 0);
    ExpectExactUndoRedo(before);
    Undo();

    doc->lineHead->next->scaleFactor *= 2;
    Menu(9);
    Type("line");
    ASSERT_EQ(Step(), 1);
    ClearRecordedAlerts();
    Return();
    EXPECT_TRUE(LastAlertIs(128, 74));
    EXPECT_EQ(Step(), 0);
    Type("nonsense");
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(RecordedAlerts().back().alertId, kUnknownKindAlert);

    Escape();
    Menu(9);
    DragFrom(200, 200, 260, 260);
    EXPECT_EQ(Step(), 0) << "an empty rectangle";
    Type("text"); // no texts: the step waits
    EXPECT_EQ(Step(), 0);
    DragFrom(110, 10, 170, 30);
    ClickAt(140, 20); // taken out again
    Return();
    ClickAt(0, 0);
    ClearRecordedAlerts();
    Type("Empty");
    EXPECT_TRUE(LastAlertIs(128, 15));
    EXPECT_EQ(Named("Empty"), nullptr);
    EXPECT_EQ(Lines(), 3);
}

// 146: a name typed or taken from an instance, then point and values, again and again until Escape;
// each placement is one undo step. Unknown names give message 1; Return on an empty field opens the
// symbol list (cancelled here); a scale of 0 is refused.
TEST_F(PendingSymbolsGui, PlacingInstances) {
    SymbolDefRecord* def = Define("Pump");
    Post(146);
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    QueueKey(kKeyCodeEscape, kEscapeCharCode); // the symbol list
    RunLoop();
    EXPECT_EQ(Step(), 0);
    ClearRecordedAlerts();
    Type("Valve");
    EXPECT_TRUE(LastAlertIs(128, 1));
    EXPECT_EQ(Step(), 0);
    Type("Pump"); // in place of the name refused
    ASSERT_EQ(Step(), 1);
    std::vector<DrawingSnapshot> states{TakeDrawingSnapshot(doc)};
    for (double x : {50.0, 150.0}) {
        ClickAt(x, 100);
        ASSERT_EQ(Step(), 2);
        Type("0,0,1");
        EXPECT_EQ(Step(), 2) << "a scale of 0";
        Type("90,2,3");
        EXPECT_EQ(Step(), 1);
        SymbolInstanceRecord* s = LastInstance();
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->definition, def);
        EXPECT_EQ(s->x, x);
        EXPECT_EQ(s->angle, 90);
        EXPECT_EQ(s->xScale, 2);
        EXPECT_EQ(s->yScale, 3);
        states.push_back(TakeDrawingSnapshot(doc));
    }
    EXPECT_TRUE(Pending());
    Escape();
    // One undo step each.
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), states[1]);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), states[0]);
    Redo();
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), states[2]);
    EXPECT_EQ(Instances(), 2);

    // A click on an instance names its symbol; without asking each click places one at once.
    PlaceSymbolsWithoutAsking(doc->settings) = true;
    Post(146);
    ClickAt(150, 120);
    ASSERT_EQ(Step(), 1);
    ClickAt(200, 200);
    ClickAt(220, 200);
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Instances(), 4);
    EXPECT_EQ(LastInstance()->angle, 0);
    EXPECT_EQ(LastInstance()->xScale, 1);
}

// 183: placed and exploded in one undo step, at the typed angle, or at the direction of a line
// clicked when no values were typed (a click beside every line then waits).
TEST_F(PendingSymbolsGui, PlaceAndExplode) {
    Define("Pump");
    Draw(200, 200, 240, 240);
    for (bool typed : {true, false}) {
        SCOPED_TRACE(typed ? "typed" : "from a line");
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        Menu(5);
        Type("Pump");
        ClickAt(50, 50);
        ASSERT_EQ(Step(), 2);
        if (typed) {
            Type("90,1,1");
            ASSERT_EQ(Step(), 3);
            ClickAt(100, 150); // anywhere
        } else {
            CommandFieldSetText(doc, PStr(""));
            Return();
            ASSERT_EQ(Step(), 3);
            ClickAt(100, 150);
            EXPECT_EQ(Step(), 3);
            ClickAt(220, 220);
        }
        EXPECT_FALSE(Pending());
        EXPECT_EQ(Instances(), 0);
        LineRecord* l = Last();
        ASSERT_NE(l, nullptr);
        const double angle = typed ? 90 : 45;
        const double r = angle * 3.14159265358979323846 / 180;
        const double x2 = 50 + 20 * std::cos(r), y2 = 50 + 20 * std::sin(r);
        EXPECT_NEAR(std::min(l->x1, l->x2), std::min(50.0, x2), 1e-9);
        EXPECT_NEAR(std::max(l->y1, l->y2), std::max(50.0, y2), 1e-9);
        ExpectExactUndoRedo(before);
        Undo();
    }
}

// 153: a clicked instance (its name in the prompt) or those inside a rectangle; a click toggles;
// no leaves them, yes explodes every selected one in one undo step, its elements keyed as the
// instance where a saved drawing's definition numbers them.
TEST_F(PendingSymbolsGui, ExplodingInstances) {
    SymbolDefRecord* def = Define("Pump");
    // As a save leaves them: the definition's number in its elements' key field.
    def->lineHead->next->group = -1;
    doc->settings->currentGroup = 9;
    Place(def, 20, 20);
    Place(def, 20, 60);
    Place(def, 120, 20);
    doc->settings->currentGroup = 0;
    Menu(6);
    ClickAt(30, 20);
    ASSERT_EQ(Step(), 1);
    Str255 prompt;
    CommandFieldPrompt(doc, prompt);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(prompt + 1), 13), "Symbol \"Pump\"");
    Type("no");
    EXPECT_FALSE(Pending());
    EXPECT_EQ(Instances(), 3);

    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    Menu(6);
    ClickAt(200, 200); // beside every instance, and no rectangle
    EXPECT_EQ(Step(), 0);
    DragFrom(10, 10, 50, 70);
    ASSERT_EQ(Step(), 1);
    ClickAt(130, 20);
    ClickAt(30, 60); // out again
    Type("yes");
    EXPECT_FALSE(Pending());
    EXPECT_EQ(Instances(), 1);
    EXPECT_EQ(LastInstance()->x, 20);
    EXPECT_EQ(LastInstance()->y, 60);
    EXPECT_EQ(Lines(), 2);
    for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        EXPECT_EQ(l->group, 9) << "the instance's key, never the definition's number";
    ExpectExactUndoRedo(before);
    for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        EXPECT_EQ(l->group, 9) << "after redo";
}

// 177: the instance's line is laid along another line and the first point carried to the second;
// yes moves and turns it in one undo step, no leaves it.
TEST_F(PendingSymbolsGui, MovingAndTurningAnInstance) {
    SymbolDefRecord* def = Define("Pump");
    SymbolInstanceRecord* s = Place(def, 50, 50);
    Draw(200, 100, 240, 140);
    for (const char* answer : {"no", "yes"}) {
        SCOPED_TRACE(answer);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        Menu(2);
        ClickAt(150, 150); // no instance line
        EXPECT_EQ(Step(), 0);
        ClickAt(60, 50);
        ASSERT_EQ(Step(), 1);
        EXPECT_TRUE(s->selected);
        ClickAt(220, 120);
        ASSERT_EQ(Step(), 2);
        ClickAt(50, 50);
        ClickAt(200, 100);
        ASSERT_EQ(Step(), 4);
        Type(answer);
        EXPECT_FALSE(Pending());
        if (std::string(answer) == "no") {
            EXPECT_EQ(TakeDrawingSnapshot(doc), before);
            continue;
        }
        EXPECT_NEAR(s->x, 200, 1e-9);
        EXPECT_NEAR(s->y, 100, 1e-9);
        EXPECT_NEAR(s->angle, 45, 1e-9);
        ExpectExactUndoRedo(before);
    }
}

// 155 beside every instance waits; 179 names the definition by a click or a typed name (the editor
// comes with its own window), message 1 for an unknown one, the symbol list for an empty Return.
TEST_F(PendingSymbolsGui, EditingAndOpeningWaitForAnInstanceOrAName) {
    SymbolDefRecord* def = Define("Pump");
    Place(def, 50, 50);
    Menu(1);
    ClickAt(150, 150);
    EXPECT_TRUE(Pending());
    Escape();

    Post(179);
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    QueueKey(kKeyCodeEscape, kEscapeCharCode); // the symbol list
    RunLoop();
    EXPECT_TRUE(Pending());
    ClearRecordedAlerts();
    Type("Valve");
    EXPECT_TRUE(LastAlertIs(128, 1));
    EXPECT_TRUE(Pending());
    Type("Pump");
    EXPECT_FALSE(Pending());
    Post(179);
    ClickAt(150, 150);
    EXPECT_TRUE(Pending());
    ClickAt(60, 50);
    EXPECT_FALSE(Pending());
}

// Escape at every step of every command ends it and leaves the drawing as it was.
TEST_F(PendingSymbolsGui, EscapeAtEveryStepChangesNothing) {
    SymbolDefRecord* def = Define("Pump");
    Place(def, 50, 50);
    doc->settings->currentGroup = 5;
    Draw(20, 20, 60, 20);
    doc->settings->currentGroup = 0;
    Draw(200, 100, 240, 140);
    using Drive = std::function<void()>;
    const struct {
        SInt16 code;
        std::vector<Drive> steps; // each moves the command on by one step
    } commands[] = {
        {144, {[&] { ClickAt(40, 20); }, [&] { ClickAt(20, 20); }, [&] { Type("Pump"); }}},
        {154,
         {[&] { DragFrom(10, 10, 70, 30); }, [&] { Return(); }, [&] { ClickAt(20, 20); },
          [&] { Type("Pump"); }}},
        {146, {[&] { Type("Pump"); }, [&] { ClickAt(100, 100); }}},
        {183, {[&] { Type("Pump"); }, [&] { ClickAt(100, 100); }, [&] { Type("10,1,1"); }}},
        {153, {[&] { ClickAt(60, 50); }}},
        {155, {}},
        {177,
         {[&] { ClickAt(60, 50); }, [&] { ClickAt(220, 120); }, [&] { ClickAt(50, 50); },
          [&] { ClickAt(200, 100); }}},
        {179, {}},
    };
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    for (const auto& c : commands) {
        for (size_t at = 0; at <= c.steps.size(); ++at) {
            SCOPED_TRACE("command " + std::to_string(c.code) + " step " + std::to_string(at));
            Post(c.code);
            for (size_t i = 0; i < at; ++i)
                c.steps[i]();
            ASSERT_TRUE(Pending());
            EXPECT_EQ(Step(), SInt16(at));
            Escape();
            EXPECT_FALSE(Pending());
            EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        }
    }
}
