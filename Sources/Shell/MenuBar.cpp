// The menus: loading and inserting them, the enabling by the front document before every selection,
// the colour cursors, and the Scripts menu from the user's and the computer's scripts folders.
#include "Shell/MenuBar.h"

#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Other/CursorsAndMouse.h"
#include "Model/DocumentRecords.h"
#include "Files/FileCommands.h"
#include "Files/Preferences.h"
#include "Shell/FrameMenus.h"
#include "Shell/KeyDispatch.h"
#include "Platform/MacRoman.h"
#include "Shell/MenuCommands.h"
#include "Interface/MenuItemsById.h"
#include "Other/NumberFormat.h"
#include "Model/SharedUtilities.h"
#include "Tools/Fillets.h"
#include "Tools/ToolDispatch.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"
#include "Interface/ModalDialogs.h"
#include "Platform/Clipboard.h"
#include "Tools/CommandField.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>
#include <system_error>
#include <sys/stat.h>

namespace fs = std::filesystem;

std::vector<ScriptEntry> ScriptsList;

namespace {

// The menus read from their resources at start.
constexpr SInt16 kLoadedMenus[] = {128, 129, 130, 131, 132, 133, 134, 135, 136, 139, 143, 144,
                                   145, 146, 152, 153, 154, 155, 157, 159, 167, 168, 170, 171,
                                   172, 175, 176, 177, 178, 179, 195, 196, 197, 198};
constexpr SInt16 kBarMenus[] = {128, 198, 197, 132, 133, 134, 196, 195};
constexpr SInt16 kHierarchicalMenus[] = {135, 167, 130, 131, 152, 136, 146, 145, 143, 144, 157, 159,
                                         153, 176, 154, 155, 170, 171, 172, 175, 129, 177, 178, 179};
constexpr SInt16 kGeneralTexts = 5000;
constexpr SInt16 kAppMenuTexts = 141;
constexpr SInt16 kPreferencesItem = 3;
constexpr SInt16 kOpenScriptsFolderText = 269;
constexpr SInt16 kScriptsLevel = 4;
constexpr SInt16 kEditTitleText = 272;
constexpr SInt16 kSettingsTitleText = 273;

std::map<SInt16, MenuRef> gMenuTable;
std::vector<SInt16> gInserted;

void Insert(SInt16 id, SInt16 before) {
    MenuRef menu = MenuHandleOf(id);
    if (menu == nullptr) return;
    InsertMenu(menu, before);
    gInserted.push_back(id);
}

void Hide(SInt16 menuId, SInt16 item) {
    if (MenuRef menu = MenuHandleOf(menuId)) ChangeMenuItemAttributes(menu, item, kMenuItemAttrHidden, 0);
}

// The Part's rule, and the item's action exists.
void Set(SInt16 menuId, SInt16 item, bool enable) {
    EnableMenuItemById(menuId, item, enable && MenuItemAvailable(menuId, item));
}

void SetText(SInt16 menuId, SInt16 item, ConstStr255Param text) {
    if (MenuRef menu = MenuHandleOf(menuId)) SetMenuItemText(menu, item, text);
}

void AppString(SInt16 index, Str255 text) {
    GetIndString(text, kGeneralTexts, index);
}

void CountedText(SInt16 index, SInt16 count, Str255 text) {
    AppString(index, text);
    char number[24];
    std::snprintf(number, sizeof number, " (%d)", int(count));
    AppendCStr(text, 256, number);
}

bool HasFrames(const DocWindowRecord* doc) {
    return doc != nullptr && doc->drawing->frames != nullptr;
}

bool HasSymbols(const DocWindowRecord* doc) {
    return doc != nullptr && doc->symbolDefHead != nullptr && doc->symbolDefHead->next != nullptr;
}

bool AreaSet(const Float64 area[4]) {
    return area[0] != 0.0 || area[1] != 0.0 || area[2] != 0.0 || area[3] != 0.0;
}

// Every item of the loaded menus dimmed when its action does not exist yet.
void DimUnavailableItems() {
    for (auto& [id, menu] : gMenuTable)
        for (SInt16 item = 1; item <= CountMenuItems(menu); ++item)
            if (!MenuItemAvailable(id, item)) DisableMenuItem(menu, MenuItemIndex(item));
}

void RebuildImagesMenu(DocWindowRecord* doc) {
    MenuRef menu = MenuHandleOf(kImagesMenu);
    if (menu == nullptr) return;
    DeleteMenuItems(menu, 1, UInt32(CountMenuItems(menu)));
    if (doc == nullptr) return;
    for (SInt16 i = 0; i < doc->imageCount && i < kMaxImages; ++i)
        AppendMenuItemText(menu, doc->images[i].fileName);
}

void AdjustWindowMenu(DocWindowRecord* doc, bool open, bool edit) {
    MenuRef window = MenuHandleOf(kWindowMenu);
    if (window == nullptr) return;
    SInt16 documents = CountOpenDocuments();
    for (SInt16 item = 1; item <= 4; ++item)
        Set(kWindowMenu, item, documents > 1);
    bool views = doc != nullptr && doc->drawing->savedViews != nullptr;
    for (SInt16 item : {6, 8, 9})
        Set(kWindowMenu, item, views);
    Set(kWindowMenu, 7, open && edit);
    Set(kWindowMenu, 11, doc != nullptr && doc->drawing->view.previousViewValid);
    Set(kWindowMenu, 23, open);

    struct PaletteTexts {
        SInt16 item;
        UInt32 shown;
        SInt16 whenShown, whenHidden;
    };
    const PaletteTexts texts[] = {
        {13, GeneralPrefs.coordBarShown, 161, 160},
        {14, GeneralPrefs.toolPaletteShown, 163, 162},
        {15, GeneralPrefs.infoWindow.shown, 165, 164},
        {16, GeneralPrefs.symbolPalette.shown, 170, 171},
        {17, GeneralPrefs.presetsPalette.shown, 179, 178},
        {18, GeneralPrefs.layerSetsPalette.shown, 210, 209},
        {19, GeneralPrefs.colorPalette.shown, 212, 211},
        {20, GeneralPrefs.patternPalette.shown, 208, 207},
        {21, GeneralPrefs.viewsPalette.shown, 234, 233},
    };
    for (const PaletteTexts& t : texts) {
        Str255 text;
        AppString(t.shown ? t.whenShown : t.whenHidden, text);
        SetText(kWindowMenu, t.item, text);
    }

    // The documents' items: a check for the front one, a diamond for another changed one.
    const SInt16 first = 25;
    SInt16 item = first;
    for (DocWindowRecord* d = OpenDocumentList; d != nullptr && item <= CountMenuItems(window);
         d = d->next, ++item) {
        SInt16 mark = d == doc ? checkMark : d->drawing->changed ? diamondMark : noMark;
        SetItemMark(window, item, mark);
        Set(kWindowMenu, item, true);
    }
}

} // namespace

MenuRef MenuHandleOf(SInt16 menuId) {
    auto it = gMenuTable.find(menuId);
    return it == gMenuTable.end() ? nullptr : it->second;
}

void InitMenusAndCursors() {
    AppleEventInProgress = false;
    ForgetCursor();
    LoadColorCursors();
    OpenDocumentList = nullptr;
    gMenuTable.clear();
    for (SInt16 id : kLoadedMenus)
        if (MenuRef menu = GetMenu(id)) gMenuTable[id] = menu;
    if (MenuRef numbers = MenuHandleOf(kNumberMenu)) {
        for (int n = 1; n <= 255; ++n) {
            Str255 text;
            char digits[8];
            std::snprintf(digits, sizeof digits, "%d", n);
            CStrToPStr(text, sizeof text, digits);
            AppendMenuItemText(numbers, text);
        }
    }
    ScanScriptsFolder();
    if (fs::exists(fs::path(AppResourceFolder()) / "script.png")) {
        if (MenuRef scripts = GetMenu(kScriptsMenu)) {
            gMenuTable[kScriptsMenu] = scripts;
            Str255 text;
            AppString(kOpenScriptsFolderText, text);
            AppendMenuItemText(scripts, text);
            BuildScriptsMenu();
        }
    }
    if (MenuRef tools = GetMenu(kToolMenu)) gMenuTable[kToolMenu] = tools;
    for (SInt16 id = kFirstToolMenu; id <= kLastToolMenu; ++id)
        if (MenuRef menu = GetMenu(id)) gMenuTable[id] = menu;
    if (MenuRef fonts = MenuHandleOf(kFontMenu)) AppendResMenu(fonts, FOUR_CHAR("FONT"));
    if (MenuRef apple = MenuHandleOf(kAppleMenu)) {
        Str255 text;
        GetIndString(text, kAppMenuTexts, 1);
        SetMenuItemText(apple, kPreferencesItem, text);
    }
    InstallMenuBar();
    EnableMenuCommand(nullptr, FOUR_CHAR("pref"));
    DimUnavailableItems();
    InitFunctionKeyTable();
}

void InstallMenuBar() {
    for (SInt16 id : kBarMenus)
        Insert(id, 0);
    for (SInt16 id : kHierarchicalMenus)
        Insert(id, hierMenu);
    Insert(kToolMenu, hierMenu);
    for (SInt16 id = kFirstToolMenu; id <= kLastToolMenu; ++id)
        Insert(id, hierMenu);
    Insert(kScriptsMenu, 0);
    Insert(kHelpMenu, 0);
    Str255 title;
    AppString(kEditTitleText, title);
    if (MenuRef edit = MenuHandleOf(kEditMenu)) SetMenuTitle(edit, title);
    AppString(kSettingsTitleText, title);
    if (MenuRef settings = MenuHandleOf(kSettingsMenu)) SetMenuTitle(settings, title);
    Hide(kSettingsMenu, 17);
    Hide(kFileMenu, 21);
    Hide(kFileMenu, 22);
    if (IsSystem107OrLater()) {
        Hide(kHelpMenu, 9);
        Hide(kHelpMenu, 10);
    }
    DrawMenuBar();
}

void RemoveMenuBar() {
    for (SInt16 id : gInserted)
        DeleteMenu(id);
    gInserted.clear();
    for (auto& entry : gMenuTable)
        DisposeMenu(entry.second);
    gMenuTable.clear();
    ScriptsList.clear();
    DrawMenuBar();
}

void EnableDocumentMenus(DocWindowRecord* doc) {
    // Menus whose items act on a document need one in front, not merely one open.
    bool front = OpenDocumentList != nullptr && doc != nullptr;
    bool edit = front && doc->drawing->symbolParent == nullptr;
    bool changed = false;
    for (auto [id, enable] : {std::pair<SInt16, bool>{kKeysMenu, edit},
                              {kLayersMenu, edit},
                              {kSymbolsMenu, front},
                              {kSettingsMenu, front}}) {
        MenuRef menu = MenuHandleOf(id);
        if (menu == nullptr || IsMenuItemEnabled(menu, 0) == enable) continue;
        EnableMenuItemById(id, 0, enable);
        changed = true;
    }
    // The bar shows the titles' states; it is redrawn only when one changed.
    if (changed) DrawMenuBar();
}

void AdjustMenus(DocWindowRecord* doc) {
    if (gMenuTable.empty()) return;
    // With documents open but none in front, nothing may act on a document.
    const bool open = OpenDocumentList != nullptr && doc != nullptr;
    const bool edit = doc == nullptr || doc->drawing->symbolParent == nullptr;
    const DrawingRecord* d = doc != nullptr ? doc->drawing : nullptr;
    const DocSettings* s = doc != nullptr ? doc->settings : nullptr;
    Str255 text;

    if (MenuRef file = MenuHandleOf(kFileMenu)) {
        bool recent = RecentFileCount() != 0;
        SetMenuItemHierarchicalID(file, 3, recent ? kRecentMenu : 0);
        Set(kFileMenu, 3, recent);
    }
    for (SInt16 item : {1, 2})
        Set(kFileMenu, item, edit);
    for (SInt16 item : {4, 5, 6, 8, 9, 12, 14, 18})
        Set(kFileMenu, item, open);
    for (SInt16 item : {10, 11, 13, 16, 17, 20, 22})
        Set(kFileMenu, item, open && edit);
    Set(kFileMenu, 19, open && edit && HasFrames(doc));
    Set(kFileMenu, 24, edit);

    for (SInt16 item = 1; item <= 5; ++item)
        Set(kRepairsMenu, item, open && edit);
    Set(kRepairsMenu, 6, open && edit && FilletCircleRecorded(doc));
    if (MenuRef repairs = MenuHandleOf(kRepairsMenu)) {
        SetItemCmd(repairs, 6, 'I');
        SetMenuItemModifiers(repairs, 6, kMenuShiftModifier);
    }

    bool undo = doc != nullptr && IsUndoRecording(doc);
    if (undo && d->undo.undoStepCount > 0)
        CountedText(151, d->undo.undoStepCount, text);
    else
        AppString(151, text);
    SetText(kEditMenu, 1, text);
    Set(kEditMenu, 1, undo && d->undo.undoStepCount > 0);
    if (undo && d->undo.redoCount > 0)
        CountedText(152, d->undo.redoCount, text);
    else
        AppString(152, text);
    SetText(kEditMenu, 2, text);
    Set(kEditMenu, 2, undo && d->undo.redoCount > 0);
    // A picture on the clipboard makes Paste place it, unless text comes with it.
    const bool picture = open && edit && ScrapFlavorAvailable(kScrapFlavorPicture) == noErr;
    // A dialog with a text field of its own sets the text items while it is open.
    if (DialogStackDepth() == 0) {
        bool selection = doc != nullptr && CommandFieldHasSelection(doc);
        for (SInt16 item : {4, 5, 8})
            Set(kEditMenu, item, selection);
        AppString(picture ? 153 : 155, text);
        SetText(kEditMenu, 6, text);
        CommandFieldRecord* field = doc != nullptr ? CommandFieldOf(doc) : nullptr;
        Set(kEditMenu, 6, picture || (field != nullptr && field->open && ScrapHasText()));
        Set(kEditMenu, 9, doc != nullptr && edit && CommandFieldHasText(doc));
    }
    Set(kEditMenu, 7, picture);
    for (SInt16 item : {11, 12, 14, 16, 25, 27, 28})
        Set(kEditMenu, item, open && edit);
    Set(kEditMenu, 18, open);
    bool images = doc != nullptr && doc->imageCount > 0;
    Set(kEditMenu, 20, open && edit && images);
    Set(kEditMenu, 22, open && edit && images);
    CheckMenuItemById(kEditMenu, 21, s != nullptr && s->displaySwitch1 != 0);
    GetIndString(text, kMessageList, s != nullptr && s->imagesShown ? 179 : 178);
    SetText(kEditMenu, 22, text);
    CheckMenuItemById(kEditMenu, 25, s != nullptr && s->animatedZoom != 0);
    RebuildImagesMenu(doc);

    Set(kKeysMenu, 4, open && edit && s->currentGroup != 0);
    for (SInt16 item : {1, 2, 4, 6, 15})
        Set(kSymbolsMenu, item, HasSymbols(doc) && edit);
    Set(kSymbolsMenu, 5, HasSymbols(doc));
    for (SInt16 item : {8, 9, 11})
        Set(kSymbolsMenu, item, open && edit);
    Set(kSymbolsMenu, 13, HasSymbols(doc));
    for (SInt16 item : {3, 4})
        Set(kLayersMenu, item, true);

    // The item names what choosing it does to the grid.
    AppString(s != nullptr && s->gridVisible ? 157 : 156, text);
    SetText(kSettingsMenu, 16, text);
    if (doc == nullptr || !doc->drawing->undo.undoEnabled || doc->drawing->undo.undoWriteFailed) {
        AppString(166, text);
        Set(kSettingsMenu, 17, false);
    } else {
        AppString(s->undoOn ? 159 : 158, text);
        Set(kSettingsMenu, 17, true);
    }
    SetText(kSettingsMenu, 17, text);
    for (SInt16 item : {1, 3, 4})
        Set(kSettingsMenu, item, open && edit);
    Set(kSettingsMenu, 16, open);
    Set(kSettingsMenu, 10, true);

    for (SInt16 item : {3, 4, 5})
        Set(kPagesMenu, item, HasFrames(doc));
    // The frame menus follow the front document and every change of its frames.
    RebuildFrameMenus(doc);
    // Item 2 moves the HPGL area and item 9 the PDF area: each is there when its area is.
    for (SInt16 item : {3, 4, 9})
        Set(kOutputAreasMenu, item, s != nullptr && AreaSet(s->pdfArea));
    Set(kOutputAreasMenu, 8, s != nullptr && s->paperFormat < 7);
    for (SInt16 item : {2, 10})
        Set(kOutputAreasMenu, item, s != nullptr && AreaSet(s->hpglArea));

    AdjustWindowMenu(doc, open, edit);
    for (SInt16 item = 1; item <= 7; ++item)
        CheckMenuItemById(kMarkerMenu, item, s != nullptr && s->markerChoice == item);

    EnableMenuItemById(kKeysMenu, 0, open && edit);
    EnableMenuItemById(kLayersMenu, 0, open && edit);
    EnableMenuItemById(kSymbolsMenu, 0, open);
    EnableMenuItemById(kSettingsMenu, 0, open);
    DrawMenuBar();
}

Boolean GetSupportFolder(SInt16 domain, std::string* path, SInt16 level) {
    // The computer's folder is the first data folder of the system, the user's that of the user.
    fs::path base;
    if (domain == 0) {
        const char* dirs = std::getenv("XDG_DATA_DIRS");
        std::string first =
            dirs != nullptr && *dirs != 0 ? std::string(dirs) : std::string("/usr/local/share");
        base = first.substr(0, first.find(':'));
    } else {
        const char* data = std::getenv("XDG_DATA_HOME");
        const char* home = std::getenv("HOME");
        if (data != nullptr && *data != 0)
            base = data;
        else if (home != nullptr)
            base = fs::path(home) / ".local" / "share";
        else
            return false;
    }
    fs::path folder = base / "draftwerk";
    if (level == kScriptsLevel) folder /= "Scripts";
    std::error_code error;
    // The computer's folder is the administrator's to make; the user's is made when missing.
    if (domain != 0) fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) return false;
    if (path != nullptr) *path = folder.string();
    return true;
}

void ScanScriptsFolder() {
    ScriptsList.clear();
    for (SInt16 domain : {0, 1}) {
        std::string folder;
        if (!GetSupportFolder(domain, &folder, kScriptsLevel)) continue;
        std::error_code error;
        std::vector<fs::directory_entry> entries;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
            entries.push_back(*it);
        std::sort(
            entries.begin(), entries.end(),
            [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
        for (const fs::directory_entry& entry : entries) {
            std::string name = entry.path().filename().string();
            // Invisible files, links (the aliases) and folders are no scripts.
            if (name.empty() || name[0] == '.') continue;
            if (entry.is_symlink(error) || !entry.is_regular_file(error)) continue;
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
            struct stat info;
            bool executable = ::stat(entry.path().c_str(), &info) == 0 && (info.st_mode & S_IXUSR) != 0;
            if (!executable && extension != ".txt" && extension != ".scpt") continue;
            ScriptsList.push_back(ScriptEntry{UTF8ToMacRoman(name), entry.path().string()});
        }
    }
}

void BuildScriptsMenu() {
    MenuRef menu = MenuHandleOf(kScriptsMenu);
    if (menu == nullptr || ScriptsList.empty()) return;
    const Str255 separator = {1, '-'};
    AppendMenu(menu, separator);
    for (const ScriptEntry& script : ScriptsList) {
        Str255 text;
        CStrToPStr(text, sizeof text, script.name.c_str());
        AppendMenuItemText(menu, text);
    }
}

void DisposeCursors() {
    ClearFunctionKeyTable();
    DisposeColorCursors();
}
