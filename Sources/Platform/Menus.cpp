// Menus kept as plain records (they work without a Qt application) and mirrored into QMenus on the
// menu bars of the host windows, rebuilt from the records whenever a menu opens.
#include "Platform/Menus.h"

#include "Platform/AppResources.h"
#include "Platform/Events.h"
#include "Platform/Fonts.h"
#include "Platform/MacRoman.h"
#include "Platform/PascalBytes.h"
#include "Platform/MenuBarHost.h"
#include "Platform/PlatformWindowInternal.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

struct MenuItemRecord {
    std::string text; // Mac Roman
    unsigned char key = 0;
    unsigned char mark = 0;
    bool enabled = true;
    MenuID submenuId = 0;
    MenuCommand command = 0;
    UInt8 style = 0;
    UInt8 modifiers = 0;
    UInt32 attributes = 0;
};

} // namespace

struct OpaqueMenuRef {
    MenuID id = 0;
    std::string title;
    bool enabled = true;
    std::vector<MenuItemRecord> items;
    QPointer<QMenu> qmenu;
    bool dirty = true;
};

namespace {

std::vector<MenuRef> gBarMenus;  // in bar order
std::vector<MenuRef> gHierMenus; // submenus and pop-ups
std::vector<QPointer<QMenuBar>> gBars;
MenuID gHilited = 0;
MenuOpenHook gOpenHook = nullptr;
SInt32 gPendingChoice = 0;
std::deque<SInt16> gPopUpChoices;
bool gInHook = false;
bool gInPopUp = false;
SInt32 gPopUpSubmenuChoice = 0; // an item of a submenu chosen while a pop-up menu is shown

bool HaveGui() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

MenuItemRecord* ItemOf(MenuRef menu, SInt32 item) {
    if (!menu || item < 1 || item > static_cast<SInt32>(menu->items.size())) return nullptr;
    return &menu->items[item - 1];
}

void Touch(MenuRef menu) {
    if (menu) menu->dirty = true;
}

MenuID SubmenuOf(const MenuItemRecord& item) {
    if (item.submenuId) return item.submenuId;
    return item.key == hMenuCmd ? item.mark : 0;
}

bool IsSeparator(const MenuItemRecord& item) {
    return !item.text.empty() && item.text[0] == '-';
}

bool Inserted(MenuRef menu) {
    return std::find(gBarMenus.begin(), gBarMenus.end(), menu) != gBarMenus.end() ||
           std::find(gHierMenus.begin(), gHierMenus.end(), menu) != gHierMenus.end();
}

void RunOpenHook() {
    if (!gOpenHook || gInHook) return;
    gInHook = true;
    gOpenHook();
    gInHook = false;
}

// --- The Qt side --------------------------------------------------------------------------------

QString DisplayText(const std::string& macRoman) {
    // An ampersand is a character of the name, never a keyboard-navigation marker.
    return QString::fromUtf8(MacRomanToUTF8(macRoman)).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString KeyText(const MenuItemRecord& item) {
    if (item.key == 0 || item.key == hMenuCmd) return {};
    QString text;
    if (!(item.modifiers & kMenuNoCommandModifier)) text += QStringLiteral("Ctrl+");
    if (item.modifiers & kMenuControlModifier) text += QStringLiteral("Meta+");
    if (item.modifiers & kMenuOptionModifier) text += QStringLiteral("Alt+");
    if (item.modifiers & kMenuShiftModifier) text += QStringLiteral("Shift+");
    text += QString::fromUtf8(MacRomanToUTF8(std::string(1, static_cast<char>(item.key))));
    return text;
}

void ChoiceMade(MenuID id, SInt16 item);
QMenu* QtMenu(MenuRef menu);

// A menu left with Escape keeps its bar in keyboard mode, where typing goes to the bar and Return
// opens the menu again: once no menu of a bar is open, the keys belong to its window's content.
void ReturnFocusFromBars() {
    if (QApplication::activePopupWidget() != nullptr) return;
    for (auto& bar : gBars) {
        if (!bar || !bar->hasFocus()) continue;
        bar->setActiveAction(nullptr);
        if (QWidget* content = PlatformWindowContentWidget(PlatformWindowFromWidget(bar)))
            content->setFocus(Qt::OtherFocusReason);
        else
            bar->clearFocus();
    }
}

void Rebuild(MenuRef menu) {
    QMenu* q = menu->qmenu;
    if (!q) return;
    menu->dirty = false;
    for (QAction* a : q->actions()) {
        q->removeAction(a);
        if (a->parent() == q) delete a;
    }
    q->setTitle(DisplayText(menu->title));
    q->menuAction()->setEnabled(menu->enabled);
    for (size_t i = 0; i < menu->items.size(); ++i) {
        const MenuItemRecord& item = menu->items[i];
        if (IsSeparator(item)) {
            q->addSeparator()->setVisible(!(item.attributes & kMenuItemAttrHidden));
            continue;
        }
        QString text = DisplayText(item.text);
        if (item.mark && item.mark != checkMark && !SubmenuOf(item))
            text = QString::fromUtf8(MacRomanToUTF8(std::string(1, static_cast<char>(item.mark)))) +
                   QLatin1Char(' ') + text;
        QString keys = KeyText(item);
        if (!keys.isEmpty()) text += QLatin1Char('\t') + keys;
        QAction* action = nullptr;
        MenuRef sub = SubmenuOf(item) ? GetMenuHandle(SubmenuOf(item)) : nullptr;
        if (sub && sub != menu) {
            action = q->addMenu(QtMenu(sub));
            action->setText(text);
        } else {
            action = q->addAction(text);
            if (item.mark == checkMark) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            MenuID id = menu->id;
            SInt16 index = static_cast<SInt16>(i + 1);
            QObject::connect(action, &QAction::triggered, q, [id, index] { ChoiceMade(id, index); });
        }
        action->setEnabled(item.enabled && menu->enabled);
        action->setVisible(!(item.attributes & kMenuItemAttrHidden));
        action->setShortcutContext(Qt::WidgetShortcut);
        if (item.style) {
            QFont f = action->font();
            f.setBold(item.style & bold);
            f.setItalic(item.style & italic);
            f.setUnderline(item.style & underline);
            action->setFont(f);
        }
    }
}

// The desktop tests walk menus with the arrow keys, which pass over dimmed and hidden items. With
// DRAFTWERK_MENU_LOG naming a file, each menu that opens writes its items there as they stand, so a
// test finds an item by its text instead of by a count that every newly enabled item shifts. A line
// per item: "1" or "0" for enabled, "h" for hidden, "-" for a separator, a tab, the text.
void LogOpenedMenu(const MenuRef menu) {
    static const char* path = std::getenv("DRAFTWERK_MENU_LOG");
    if (path == nullptr || *path == 0) return;
    QString text = QStringLiteral("menu\t") + DisplayText(menu->title) + QLatin1Char('\n');
    for (const MenuItemRecord& item : menu->items) {
        const char* state = (item.attributes & kMenuItemAttrHidden) ? "h"
                            : IsSeparator(item)                     ? "-"
                            : item.enabled && menu->enabled         ? "1"
                                                                    : "0";
        text += QLatin1String(state) + QLatin1Char('\t') + DisplayText(item.text) + QLatin1Char('\n');
    }
    // Whole or not at all: the test reads it as soon as it is there.
    const std::string temporary = std::string(path) + ".part";
    if (FILE* f = std::fopen(temporary.c_str(), "wb")) {
        const QByteArray bytes = text.toUtf8();
        const bool written =
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f) == size_t(bytes.size());
        if (std::fclose(f) == 0 && written) std::rename(temporary.c_str(), path);
    }
}

QMenu* QtMenu(MenuRef menu) {
    if (!HaveGui()) return nullptr;
    if (!menu->qmenu) {
        menu->qmenu = new QMenu();
        menu->dirty = true;
        QMenu* q = menu->qmenu;
        QObject::connect(q, &QMenu::aboutToShow, q, [menu] {
            if (std::find(gBarMenus.begin(), gBarMenus.end(), menu) != gBarMenus.end()) RunOpenHook();
            if (menu->dirty) Rebuild(menu);
            for (MenuItemRecord& item : menu->items)
                if (MenuRef sub = SubmenuOf(item) ? GetMenuHandle(SubmenuOf(item)) : nullptr)
                    if (sub->dirty) Rebuild(sub);
            LogOpenedMenu(menu);
        });
        QObject::connect(q, &QMenu::aboutToHide, q, [menu] {
            if (std::find(gBarMenus.begin(), gBarMenus.end(), menu) != gBarMenus.end())
                QTimer::singleShot(0, [] { ReturnFocusFromBars(); });
        });
    }
    if (menu->dirty) Rebuild(menu);
    return menu->qmenu;
}

void RefreshBars() {
    if (!HaveGui()) return;
    for (MenuRef m : gBarMenus)
        QtMenu(m);
    for (auto& bar : gBars) {
        if (!bar) continue;
        bar->clear();
        for (MenuRef m : gBarMenus) {
            QMenu* q = QtMenu(m);
            q->menuAction()->setEnabled(m->enabled);
            bar->addMenu(q);
        }
    }
}

void ChoiceMade(MenuID id, SInt16 item) {
    if (gInPopUp) {
        gPopUpSubmenuChoice = (static_cast<SInt32>(id) << 16) | static_cast<UInt16>(item);
        return;
    }
    gPendingChoice = (static_cast<SInt32>(id) << 16) | static_cast<UInt16>(item);
    QueueMenuBarMouseDown();
}

SInt32 FindKey(SInt16 ch, UInt8 modifiers) {
    unsigned char want = static_cast<unsigned char>(ch);
    if (want >= 'a' && want <= 'z') want = static_cast<unsigned char>(want - 32);
    std::vector<MenuRef> order = gBarMenus;
    order.insert(order.end(), gHierMenus.begin(), gHierMenus.end());
    for (MenuRef m : order) {
        for (size_t i = 0; i < m->items.size(); ++i) {
            const MenuItemRecord& item = m->items[i];
            unsigned char key = item.key;
            if (key >= 'a' && key <= 'z') key = static_cast<unsigned char>(key - 32);
            if (key == 0 || key == hMenuCmd || key != want || (item.attributes & kMenuItemAttrHidden))
                continue;
            if (item.modifiers != modifiers) continue;
            if (!m->enabled || !item.enabled) return 0;
            return (static_cast<SInt32>(m->id) << 16) | static_cast<SInt32>(i + 1);
        }
    }
    return 0;
}

// Parses one AppendMenu item: metacharacters give the attributes, the rest is the text.
MenuItemRecord ParseItem(const std::string& data) {
    MenuItemRecord item;
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        bool hasArg = i + 1 < data.size();
        if (c == '(')
            item.enabled = false;
        else if (c == '/' && hasArg)
            item.key = static_cast<unsigned char>(data[++i]);
        else if (c == '!' && hasArg)
            item.mark = static_cast<unsigned char>(data[++i]);
        else if (c == '^' && hasArg)
            ++i;
        else if (c == '<' && hasArg) {
            switch (data[++i]) {
            case 'B':
                item.style |= bold;
                break;
            case 'I':
                item.style |= italic;
                break;
            case 'U':
                item.style |= underline;
                break;
            case 'O':
                item.style |= outline;
                break;
            case 'S':
                item.style |= shadow;
                break;
            default:
                break;
            }
        } else
            item.text += c;
    }
    return item;
}

void InsertItems(MenuRef menu, const std::string& data, bool parse, SInt32 after) {
    if (!menu) return;
    std::vector<MenuItemRecord> items;
    if (!parse) {
        MenuItemRecord item;
        item.text = data;
        items.push_back(item);
    } else {
        size_t start = 0;
        while (start <= data.size()) {
            size_t end = data.find_first_of(";\r", start);
            if (end == std::string::npos) end = data.size();
            items.push_back(ParseItem(data.substr(start, end - start)));
            start = end + 1;
        }
    }
    SInt32 at = std::clamp<SInt32>(after, 0, static_cast<SInt32>(menu->items.size()));
    menu->items.insert(menu->items.begin() + at, items.begin(), items.end());
    Touch(menu);
}

} // namespace

// --- Host windows -----------------------------------------------------------------------------------

void AttachMenuBar(QMenuBar* bar) {
    if (!bar) return;
    gBars.push_back(bar);
    bar->setNativeMenuBar(false);
    for (MenuRef m : gBarMenus)
        bar->addMenu(QtMenu(m));
}

void DetachMenuBar(QMenuBar* bar) {
    gBars.erase(std::remove_if(gBars.begin(), gBars.end(),
                               [bar](const QPointer<QMenuBar>& b) { return !b || b == bar; }),
                gBars.end());
}

SInt32 TakeMenuBarChoice() {
    SInt32 choice = gPendingChoice;
    gPendingChoice = 0;
    return choice;
}

// --- Menus and the bar ------------------------------------------------------------------------------

MenuRef NewMenu(MenuID id, ConstStr255Param title) {
    MenuRef m = new OpaqueMenuRef;
    m->id = id;
    m->title = PStrBytes(title);
    return m;
}

MenuRef GetMenu(SInt16 resourceId) {
    const MenuDesc* desc = FindMenuResource(resourceId);
    if (!desc) return nullptr;
    MenuRef m = new OpaqueMenuRef;
    m->id = desc->id;
    m->title = desc->title;
    m->enabled = desc->enabled;
    for (const MenuItemDesc& d : desc->items) {
        MenuItemRecord item;
        item.text = d.text;
        item.key = d.key;
        item.mark = d.mark;
        item.enabled = d.enabled;
        item.submenuId = d.submenuId;
        item.command = d.command;
        item.style = d.style;
        item.modifiers = d.modifiers;
        m->items.push_back(item);
    }
    return m;
}

void DisposeMenu(MenuRef menu) {
    if (!menu) return;
    DeleteMenu(menu->id);
    if (menu->qmenu) delete menu->qmenu.data();
    delete menu;
}

MenuRef GetMenuHandle(MenuID id) {
    for (MenuRef m : gBarMenus)
        if (m->id == id) return m;
    for (MenuRef m : gHierMenus)
        if (m->id == id) return m;
    return nullptr;
}

MenuID GetMenuID(MenuRef menu) {
    return menu ? menu->id : 0;
}

void GetMenuTitle(MenuRef menu, Str255 title) {
    BytesToPStr(menu ? menu->title : "", title);
}

void SetMenuTitle(MenuRef menu, ConstStr255Param title) {
    if (!menu) return;
    menu->title = PStrBytes(title);
    Touch(menu);
    if (menu->qmenu) menu->qmenu->setTitle(DisplayText(menu->title));
}

void InsertMenu(MenuRef menu, MenuID beforeId) {
    if (!menu || Inserted(menu) || GetMenuHandle(menu->id)) return;
    if (beforeId == hierMenu) {
        gHierMenus.push_back(menu);
        return;
    }
    auto at =
        std::find_if(gBarMenus.begin(), gBarMenus.end(), [beforeId](MenuRef m) { return m->id == beforeId; });
    gBarMenus.insert(beforeId == 0 ? gBarMenus.end() : at, menu);
    RefreshBars();
}

void DeleteMenu(MenuID id) {
    bool inBar = false;
    auto drop = [id, &inBar](std::vector<MenuRef>& list, bool bar) {
        auto it = std::find_if(list.begin(), list.end(), [id](MenuRef m) { return m->id == id; });
        if (it == list.end()) return;
        list.erase(it);
        inBar = inBar || bar;
    };
    drop(gBarMenus, true);
    drop(gHierMenus, false);
    if (inBar) RefreshBars();
}

void ClearMenuBar() {
    gBarMenus.clear();
    RefreshBars();
}

void DrawMenuBar() {
    if (!HaveGui()) return;
    for (MenuRef m : gBarMenus)
        if (m->qmenu) m->qmenu->menuAction()->setEnabled(m->enabled);
}

void InvalMenuBar() {
    DrawMenuBar();
}

void HiliteMenu(MenuID id) {
    gHilited = id;
}

MenuID HilitedMenu() {
    return gHilited;
}

// --- Items ------------------------------------------------------------------------------------------

void AppendMenu(MenuRef menu, ConstStr255Param data) {
    if (menu) InsertItems(menu, PStrBytes(data), true, static_cast<SInt32>(menu->items.size()));
}

void AppendMenuItemText(MenuRef menu, ConstStr255Param text) {
    if (menu) InsertItems(menu, PStrBytes(text), false, static_cast<SInt32>(menu->items.size()));
}

void InsertMenuItem(MenuRef menu, ConstStr255Param data, SInt16 afterItem) {
    InsertItems(menu, PStrBytes(data), true, afterItem);
}

void InsertMenuItemText(MenuRef menu, ConstStr255Param text, MenuItemIndex afterItem) {
    InsertItems(menu, PStrBytes(text), false, afterItem);
}

void DeleteMenuItem(MenuRef menu, SInt16 item) {
    if (!ItemOf(menu, item)) return;
    menu->items.erase(menu->items.begin() + (item - 1));
    Touch(menu);
}

void DeleteMenuItems(MenuRef menu, MenuItemIndex first, UInt32 count) {
    for (UInt32 i = 0; i < count; ++i)
        DeleteMenuItem(menu, static_cast<SInt16>(first));
}

SInt16 CountMenuItems(MenuRef menu) {
    return menu ? static_cast<SInt16>(menu->items.size()) : 0;
}

void AppendResMenu(MenuRef menu, ResType type) {
    if (!menu || type != FOUR_CHAR("FONT")) return;
    // The registry's fonts, so that every name chosen finds its number again.
    for (SInt16 i = 1; i <= CountFontFamilies(); ++i) {
        Str255 name;
        SInt16 id = 0;
        GetIndFontFamily(i, name, &id);
        AppendMenuItemText(menu, name);
    }
}

void SetMenuItemText(MenuRef menu, SInt16 item, ConstStr255Param text) {
    if (MenuItemRecord* i = ItemOf(menu, item)) {
        i->text = PStrBytes(text);
        Touch(menu);
    }
}

void GetMenuItemText(MenuRef menu, SInt16 item, Str255 text) {
    MenuItemRecord* i = ItemOf(menu, item);
    BytesToPStr(i ? i->text : "", text);
}

namespace {
void SetEnabled(MenuRef menu, MenuItemIndex item, bool on) {
    if (!menu) return;
    if (item == 0) {
        if (menu->enabled == on) return;
        menu->enabled = on;
    } else if (MenuItemRecord* i = ItemOf(menu, item)) {
        if (i->enabled == on) return;
        i->enabled = on;
    } else {
        return;
    }
    Touch(menu);
}
} // namespace

void EnableMenuItem(MenuRef menu, MenuItemIndex item) {
    SetEnabled(menu, item, true);
}
void DisableMenuItem(MenuRef menu, MenuItemIndex item) {
    SetEnabled(menu, item, false);
}

Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item) {
    if (!menu) return false;
    if (item == 0) return menu->enabled;
    MenuItemRecord* i = ItemOf(menu, item);
    return i && i->enabled && menu->enabled;
}

void CheckMenuItem(MenuRef menu, SInt16 item, Boolean checked) {
    SetItemMark(menu, item, checked ? checkMark : noMark);
}

void SetItemMark(MenuRef menu, SInt16 item, SInt16 markChar) {
    if (MenuItemRecord* i = ItemOf(menu, item)) {
        i->mark = static_cast<unsigned char>(markChar);
        Touch(menu);
    }
}

void GetItemMark(MenuRef menu, SInt16 item, SInt16* markChar) {
    MenuItemRecord* i = ItemOf(menu, item);
    if (markChar) *markChar = i ? i->mark : 0;
}

void SetItemCmd(MenuRef menu, SInt16 item, SInt16 cmdChar) {
    if (MenuItemRecord* i = ItemOf(menu, item)) {
        i->key = static_cast<unsigned char>(cmdChar);
        Touch(menu);
    }
}

void GetItemCmd(MenuRef menu, SInt16 item, SInt16* cmdChar) {
    MenuItemRecord* i = ItemOf(menu, item);
    if (cmdChar) *cmdChar = i ? i->key : 0;
}

void SetItemStyle(MenuRef menu, SInt16 item, SInt16 style) {
    if (MenuItemRecord* i = ItemOf(menu, item)) {
        i->style = static_cast<UInt8>(style);
        Touch(menu);
    }
}

void GetItemStyle(MenuRef menu, SInt16 item, UInt8* style) {
    MenuItemRecord* i = ItemOf(menu, item);
    if (style) *style = i ? i->style : 0;
}

namespace {
constexpr OSStatus kMenuItemNotFound = -5620;

template <class T, class F> OSStatus WithItem(MenuRef menu, SInt16 item, F f) {
    MenuItemRecord* i = ItemOf(menu, item);
    if (!i) return kMenuItemNotFound;
    f(*i);
    Touch(menu);
    return noErr;
}
} // namespace

OSStatus SetMenuItemModifiers(MenuRef menu, SInt16 item, UInt8 modifiers) {
    return WithItem<UInt8>(menu, item, [&](MenuItemRecord& i) { i.modifiers = modifiers; });
}

OSStatus GetMenuItemModifiers(MenuRef menu, SInt16 item, UInt8* modifiers) {
    MenuItemRecord* i = ItemOf(menu, item);
    if (modifiers) *modifiers = i ? i->modifiers : 0;
    return i ? noErr : kMenuItemNotFound;
}

OSStatus SetMenuItemCommandID(MenuRef menu, SInt16 item, MenuCommand command) {
    return WithItem<MenuCommand>(menu, item, [&](MenuItemRecord& i) { i.command = command; });
}

OSStatus GetMenuItemCommandID(MenuRef menu, SInt16 item, MenuCommand* command) {
    MenuItemRecord* i = ItemOf(menu, item);
    if (command) *command = i ? i->command : 0;
    return i ? noErr : kMenuItemNotFound;
}

OSStatus SetMenuItemHierarchicalID(MenuRef menu, SInt16 item, MenuID submenuId) {
    return WithItem<MenuID>(menu, item, [&](MenuItemRecord& i) { i.submenuId = submenuId; });
}

OSStatus GetMenuItemHierarchicalID(MenuRef menu, SInt16 item, MenuID* submenuId) {
    MenuItemRecord* i = ItemOf(menu, item);
    if (submenuId) *submenuId = i ? SubmenuOf(*i) : 0;
    return i ? noErr : kMenuItemNotFound;
}

OSStatus ChangeMenuItemAttributes(MenuRef menu, SInt16 item, UInt32 setAttributes, UInt32 clearAttributes) {
    return WithItem<UInt32>(menu, item, [&](MenuItemRecord& i) {
        i.attributes = (i.attributes | setAttributes) & ~clearAttributes;
    });
}

namespace {
template <class F> void ForCommand(MenuRef menu, MenuCommand command, F f) {
    std::vector<MenuRef> menus;
    if (menu)
        menus.push_back(menu);
    else {
        menus = gBarMenus;
        menus.insert(menus.end(), gHierMenus.begin(), gHierMenus.end());
    }
    for (MenuRef m : menus)
        for (MenuItemRecord& i : m->items)
            if (i.command == command) {
                f(m, i);
                Touch(m);
            }
}
} // namespace

void EnableMenuCommand(MenuRef menu, MenuCommand command) {
    ForCommand(menu, command, [](MenuRef, MenuItemRecord& i) { i.enabled = true; });
}

void DisableMenuCommand(MenuRef menu, MenuCommand command) {
    ForCommand(menu, command, [](MenuRef, MenuItemRecord& i) { i.enabled = false; });
}

Boolean IsMenuCommandEnabled(MenuRef menu, MenuCommand command) {
    bool found = false, enabled = false;
    ForCommand(menu, command, [&](MenuRef m, MenuItemRecord& i) {
        if (found) return;
        found = true;
        enabled = i.enabled && m->enabled;
    });
    return enabled;
}

// --- Choices ----------------------------------------------------------------------------------------

SInt32 MenuSelect(Point) {
    SInt32 choice = TakeMenuBarChoice();
    if (choice) HiliteMenu(static_cast<MenuID>(choice >> 16));
    return choice;
}

SInt32 MenuKey(SInt16 ch) {
    SInt32 choice = FindKey(ch, 0);
    if (choice) HiliteMenu(static_cast<MenuID>(choice >> 16));
    return choice;
}

UInt32 MenuEvent(const EventRecord* event) {
    if (!event || (event->what != keyDown && event->what != autoKey)) return 0;
    UInt8 wanted = 0;
    if (event->modifiers & shiftKey) wanted |= kMenuShiftModifier;
    if (event->modifiers & optionKey) wanted |= kMenuOptionModifier;
    if (event->modifiers & controlKey) wanted |= kMenuControlModifier;
    if (!(event->modifiers & cmdKey)) wanted |= kMenuNoCommandModifier;
    SInt32 choice = FindKey(static_cast<SInt16>(event->message & charCodeMask), wanted);
    if (choice) HiliteMenu(static_cast<MenuID>(choice >> 16));
    return static_cast<UInt32>(choice);
}

SInt32 PopUpMenuSelect(MenuRef menu, SInt16 top, SInt16 left, SInt16 popUpItem) {
    if (!menu) return 0;
    auto result = [menu](SInt32 item) -> SInt32 {
        const MenuItemRecord* i = ItemOf(menu, item);
        if (!i || !i->enabled || !menu->enabled || IsSeparator(*i)) return 0;
        return (static_cast<SInt32>(menu->id) << 16) | item;
    };
    if (!gPopUpChoices.empty()) {
        SInt16 item = gPopUpChoices.front();
        gPopUpChoices.pop_front();
        return result(item);
    }
    // Nobody can answer a menu on the offscreen platform: it is cancelled.
    if (!HaveGui() || QGuiApplication::platformName() == QLatin1String("offscreen")) return 0;
    QMenu* q = QtMenu(menu);
    Rebuild(menu);
    SInt32 chosen = 0;
    QList<QAction*> actions = q->actions();
    QAction* at = popUpItem >= 1 && popUpItem <= actions.size() ? actions[popUpItem - 1] : nullptr;
    gInPopUp = true;
    gPopUpSubmenuChoice = 0;
    QAction* hit = q->exec(QPoint(left, top), at);
    gInPopUp = false;
    // The release of the button that opened the menu may have gone to the menu: the button is up
    // again, or the next press would be taken for no change.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        Point mouse;
        GetGlobalMouse(&mouse);
        PlatformRecordMouseButton(nullptr, false, mouse, GetCurrentKeyModifiers(), false);
    }
    for (int i = 0; i < actions.size(); ++i)
        if (actions[i] == hit) chosen = i + 1;
    // An item of one of its submenus answers as that submenu's choice.
    if (!chosen && hit) return gPopUpSubmenuChoice;
    return chosen ? result(chosen) : 0;
}

void SetMenuOpenHook(MenuOpenHook hook) {
    gOpenHook = hook;
}

Boolean ChooseMenuItem(MenuID menuId, SInt16 item) {
    RunOpenHook();
    MenuRef m = GetMenuHandle(menuId);
    if (!m) return false;
    const MenuItemRecord* i = ItemOf(m, item);
    if (!i || !i->enabled || !m->enabled || IsSeparator(*i) || (i->attributes & kMenuItemAttrHidden))
        return false;
    ChoiceMade(menuId, item);
    return true;
}

void QueuePopUpMenuChoice(SInt16 item) {
    gPopUpChoices.push_back(item);
}

std::string MenuItemShownText(MenuRef menu, SInt16 item) {
    QMenu* q = menu ? QtMenu(menu) : nullptr;
    if (!q || item < 1 || item > q->actions().size()) return {};
    return q->actions()[item - 1]->text().toStdString();
}
