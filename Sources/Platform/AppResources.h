// The application's own resources: string lists, dialogs and alerts with their item lists, menus,
// cursors and patterns, read from the text descriptions (*.rdesc) in the Resources folder.
#pragma once

#include "Platform/MacTypes.h"
#include "Platform/QuickDrawTypes.h"

#include <string>
#include <vector>

// Dialog item types; a disabled item adds kItemDisable.
enum : SInt16 {
    kUserItem = 0,
    kControlItem = 4,
    kButtonItem = 4,
    kCheckBoxItem = 5,
    kRadioButtonItem = 6,
    kResourceControlItem = 7,
    kStaticTextItem = 8,
    kEditTextItem = 16,
    kIconItem = 32,
    kPictureItem = 64,
    kItemDisable = 128,
};

// Kinds of the controls a resource-control item or a CNTL resource makes.
enum class ControlKind : SInt16 { button, checkBox, radioButton, popup, scrollBar, progressBar, separator };

struct ControlDesc {
    SInt16 id = 0;
    ControlKind kind = ControlKind::button;
    Rect bounds{};
    SInt16 value = 0, minimum = 0, maximum = 0;
    SInt16 menuId = 0;     // pop-ups
    SInt16 titleWidth = 0; // pop-ups: room for the title left of the menu
    std::string title;     // Mac Roman
};

struct DialogItemDesc {
    SInt16 type = kUserItem; // with kItemDisable when disabled
    Rect rect{};
    std::string text;    // title or text, Mac Roman
    SInt16 resId = 0;    // icon or picture number; CNTL id of a resource control (0: inline control)
    ControlDesc control; // resource controls
};

struct ItemListDesc {
    SInt16 id = 0;
    std::vector<DialogItemDesc> items;
};

// Window kinds of dialogs, as their resources name them.
enum : SInt16 {
    kDocumentWindowKind = 0,
    kModalDialogKind = 1,
    kPlainDialogKind = 2,
    kShadowDialogKind = 3,
    kNoGrowDocumentKind = 4,
    kMovableModalKind = 5,
};

struct DialogDesc {
    SInt16 id = 0;
    Rect bounds{}; // global coordinates of the content
    SInt16 windowKind = kMovableModalKind;
    Boolean visible = true;
    Boolean closeBox = false;
    std::string title;
    SInt16 itemListId = 0;
};

struct AlertDesc {
    SInt16 id = 0;
    Rect bounds{};
    SInt16 itemListId = 0;
    std::string title;
};

struct MenuItemDesc {
    std::string text;       // "-" is a separator
    unsigned char key = 0;  // command key, 0 for none
    unsigned char mark = 0; // mark character, 0 for none
    Boolean enabled = true;
    SInt16 submenuId = 0;
    FourCharCode command = 0;
    UInt8 style = 0;     // bold 1, italic 2, underline 4, outline 8, shadow 16
    UInt8 modifiers = 0; // shift 1, option 2, control 4, no command 8
};

struct MenuDesc {
    SInt16 id = 0;
    std::string title;
    Boolean enabled = true;
    std::vector<MenuItemDesc> items;
};

// A black-and-white 16 x 16 cursor: rows top to bottom, bit 15 the left pixel.
struct CursorDesc {
    SInt16 id = 0;
    UInt16 data[16]{};
    UInt16 mask[16]{};
    Point hotSpot{};
};

// A colour cursor or colour icon drawn in a PNG file of the Resources folder.
struct ColorImageDesc {
    SInt16 id = 0;
    std::string path; // absolute
    Point hotSpot{};
};

struct PatternDesc {
    UInt8 pat[8]{};
};

struct PatternListDesc {
    SInt16 id = 0;
    std::vector<PatternDesc> patterns;
};

// The folder the descriptions were read from (beside the executable, else the source tree's).
std::string AppResourceFolder();

// Loads every description once; later calls do nothing. Problems are kept, not fatal.
void LoadAppResources();
// Reads the descriptions of a given folder in place of the current set (tests); the reset makes the
// next use read the program's own folder again.
void LoadAppResourcesFrom(const std::string& folder);
void ResetAppResources();
// Problems found in the descriptions ("file:line: what"); empty when everything was read.
const std::vector<std::string>& AppResourceProblems();

// The program's access to string lists: item `index` of list `listId`, empty when absent. A list
// that does not exist at all is reported as a missing resource (once per list).
void GetIndString(StringPtr dest, SInt16 listId, SInt16 index);
// The single string resource ('STR ') of that id; false and empty when there is none.
Boolean GetStringResource(SInt16 id, Str255 text);
// Number of items of a string list, 0 when it does not exist.
SInt16 CountIndStrings(SInt16 listId);

const std::vector<std::string>* FindStringList(SInt16 listId);
const DialogDesc* FindDialogResource(SInt16 id);
const AlertDesc* FindAlertResource(SInt16 id);
const ItemListDesc* FindItemListResource(SInt16 id);
const ControlDesc* FindControlResource(SInt16 id);
const MenuDesc* FindMenuResource(SInt16 id);
const CursorDesc* FindCursorResource(SInt16 id);
const ColorImageDesc* FindColorCursorResource(SInt16 id);
const ColorImageDesc* FindColorIconResource(SInt16 id);
const PatternDesc* FindPatternResource(SInt16 id);
const PatternListDesc* FindPatternListResource(SInt16 id);

// Pattern `index` (from 1) of pattern list `listId` (0 the system list), or pattern resource `id`;
// false, and *pattern unchanged, when there is none.
Boolean GetIndPattern(Pattern* pattern, SInt16 listId, SInt16 index);
Boolean GetPattern(SInt16 id, Pattern* pattern);
constexpr SInt16 sysPatListID = 0;

// A resource the code asked for is not among the descriptions: a programming error, written as one
// line on standard error ("Draftwerk: missing resource ALRT 151") so it cannot pass unseen.
void ReportMissingResource(ResType type, SInt16 id);

// Ids of every resource of a type ('STR#', 'DLOG', 'ALRT', 'DITL', 'CNTL', 'MENU', 'CURS', 'crsr',
// 'cicn', 'PAT ', 'PAT#'), ascending.
std::vector<SInt16> AppResourceIds(ResType type);
