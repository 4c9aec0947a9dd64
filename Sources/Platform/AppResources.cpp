// Reads the resource descriptions (*.rdesc, UTF-8 text) of the Resources folder into tables that
// the string, dialog, menu, cursor and pattern calls answer from. Plain C++: string lists work
// without a Qt application.
#include "Platform/AppResources.h"
#include "Platform/PascalBytes.h"

#include "Platform/MacRoman.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct ResourceSet {
    std::string folder;
    std::map<SInt16, std::vector<std::string>> stringLists;
    std::map<SInt16, std::string> strings;
    std::map<SInt16, DialogDesc> dialogs;
    std::map<SInt16, AlertDesc> alerts;
    std::map<SInt16, ItemListDesc> itemLists;
    std::map<SInt16, ControlDesc> controls;
    std::map<SInt16, MenuDesc> menus;
    std::map<SInt16, CursorDesc> cursors;
    std::map<SInt16, ColorImageDesc> colorCursors;
    std::map<SInt16, ColorImageDesc> colorIcons;
    std::map<SInt16, PatternDesc> patterns;
    std::map<SInt16, PatternListDesc> patternLists;
    std::vector<std::string> problems;
};

ResourceSet gSet;
bool gLoaded = false;
// String lists found missing, reported once each.
std::set<SInt16> gReportedLists;

bool DecodeUtf8(const std::string& s, size_t& i, char32_t& cp) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= s.size()) return false;
    cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (d & 0x3F);
    }
    i += extra + 1;
    return true;
}

// --- The line reader -----------------------------------------------------------------------------

struct Token {
    std::string text;
    bool quoted = false;
};

class DescriptionReader {
  public:
    DescriptionReader(ResourceSet& set, const std::string& fileName) : set_(set), file_(fileName) {}

    void Read(std::istream& in) {
        std::string raw;
        while (std::getline(in, raw)) {
            ++line_;
            if (!raw.empty() && raw.back() == '\r') raw.pop_back();
            size_t first = raw.find_first_not_of(" \t");
            if (first == std::string::npos || raw[first] == '#') continue;
            bool indented = first > 0;
            if (!indented) {
                Header(raw);
            } else {
                Body(raw.substr(first));
            }
        }
        Finish();
    }

  private:
    enum class Block { none, strings, itemList, menu, cursor, patternList };

    void Problem(const std::string& what) {
        set_.problems.push_back(file_ + ":" + std::to_string(line_) + ": " + what);
    }

    // Splits a line into words and quoted strings; a quoted string keeps its escapes decoded.
    bool Tokenize(const std::string& s, std::vector<Token>& out) {
        size_t i = 0;
        while (i < s.size()) {
            if (s[i] == ' ' || s[i] == '\t') {
                ++i;
                continue;
            }
            Token t;
            if (s[i] == '"') {
                size_t end = i + 1;
                std::string body;
                while (end < s.size() && s[end] != '"') {
                    if (s[end] == '\\' && end + 1 < s.size()) {
                        body += s[end];
                        ++end;
                    }
                    body += s[end];
                    ++end;
                }
                if (end >= s.size()) {
                    Problem("unterminated string");
                    return false;
                }
                if (!Text(body, t.text)) return false;
                t.quoted = true;
                i = end + 1;
            } else {
                size_t end = s.find_first_of(" \t", i);
                if (end == std::string::npos) end = s.size();
                t.text = s.substr(i, end - i);
                i = end;
            }
            out.push_back(std::move(t));
        }
        return true;
    }

    // Decodes the escapes of a text and converts it to Mac Roman; \xHH gives a Mac Roman byte as is.
    bool Text(const std::string& body, std::string& out) {
        std::string converted, pending;
        auto flush = [&]() {
            for (size_t i = 0; i < pending.size();) {
                char32_t cp = 0;
                if (!DecodeUtf8(pending, i, cp)) {
                    Problem("text is not UTF-8");
                    return false;
                }
                int byte = UnicodeToMacRoman(cp);
                if (byte == '?' && cp != '?') {
                    Problem("character U+" + std::to_string(static_cast<unsigned>(cp)) +
                            " has no Mac Roman form");
                    return false;
                }
                converted += static_cast<char>(byte);
            }
            pending.clear();
            return true;
        };
        for (size_t i = 0; i < body.size(); ++i) {
            if (body[i] != '\\' || i + 1 >= body.size()) {
                pending += body[i];
                continue;
            }
            char e = body[++i];
            switch (e) {
            case 'r':
                pending += '\r';
                break;
            case 'n':
                pending += '\n';
                break;
            case 't':
                pending += '\t';
                break;
            case '\\':
                pending += '\\';
                break;
            case '"':
                pending += '"';
                break;
            case 'x': {
                std::string hex = i + 2 < body.size() ? body.substr(i + 1, 2) : std::string();
                char* endp = nullptr;
                long v = hex.size() == 2 ? std::strtol(hex.c_str(), &endp, 16) : 0;
                if (hex.size() != 2 || *endp != 0) {
                    Problem("bad \\x escape");
                    return false;
                }
                if (!flush()) return false;
                converted += static_cast<char>(v);
                i += 2;
                break;
            }
            default:
                Problem(std::string("unknown escape \\") + e);
                return false;
            }
        }
        if (!flush()) return false;
        if (converted.size() > 255) {
            Problem("text longer than 255 bytes");
            converted.resize(255);
        }
        out = converted;
        return true;
    }

    bool Number(const std::string& s, long lo, long hi, long& v) {
        if (s.empty()) return false;
        char* end = nullptr;
        v = std::strtol(s.c_str(), &end, 0);
        if (*end != 0 || v < lo || v > hi) {
            Problem("bad number '" + s + "'");
            return false;
        }
        return true;
    }

    bool Short(const std::string& s, SInt16& v) {
        long l = 0;
        if (!Number(s, -32768, 32767, l)) return false;
        v = static_cast<SInt16>(l);
        return true;
    }

    bool ReadRect(const std::vector<Token>& t, size_t at, Rect& r) {
        if (at + 4 > t.size()) {
            Problem("a rectangle needs top left bottom right");
            return false;
        }
        SInt16 v[4];
        for (int k = 0; k < 4; ++k)
            if (!Short(t[at + k].text, v[k])) return false;
        r = Rect{v[0], v[1], v[2], v[3]};
        if (r.bottom < r.top || r.right < r.left) {
            Problem("rectangle with negative size");
            return false;
        }
        return true;
    }

    bool FourChars(const std::string& s, FourCharCode& code) {
        std::string body = s;
        if (body.size() == 6 && body.front() == '\'' && body.back() == '\'') body = body.substr(1, 4);
        if (body.size() != 4) {
            Problem("a command needs four characters: " + s);
            return false;
        }
        code = (FourCharCode(UInt8(body[0])) << 24) | (FourCharCode(UInt8(body[1])) << 16) |
               (FourCharCode(UInt8(body[2])) << 8) | FourCharCode(UInt8(body[3]));
        return true;
    }

    // Reads the "name value" options of a control or item from position `at`.
    bool ControlOptions(const std::vector<Token>& t, size_t at, ControlDesc& c, std::string* text,
                        SInt16* resId, bool* disabled) {
        for (size_t i = at; i < t.size(); ++i) {
            const std::string& w = t[i].text;
            if (t[i].quoted) {
                if (text) *text = w;
                c.title = w;
                continue;
            }
            if (w == "disabled" && disabled) {
                *disabled = true;
                continue;
            }
            if (i + 1 >= t.size()) {
                Problem("option '" + w + "' without a value");
                return false;
            }
            SInt16 v = 0;
            if (!Short(t[i + 1].text, v)) return false;
            if (w == "value")
                c.value = v;
            else if (w == "min")
                c.minimum = v;
            else if (w == "max")
                c.maximum = v;
            else if (w == "menu")
                c.menuId = v;
            else if (w == "titlewidth")
                c.titleWidth = v;
            else if ((w == "id" || w == "cntl") && resId)
                *resId = v;
            else {
                Problem("unknown option '" + w + "'");
                return false;
            }
            ++i;
        }
        return true;
    }

    bool Kind(const std::string& w, ControlKind& k) {
        static const std::pair<const char*, ControlKind> kinds[] = {
            {"button", ControlKind::button},       {"check", ControlKind::checkBox},
            {"radio", ControlKind::radioButton},   {"popup", ControlKind::popup},
            {"scrollbar", ControlKind::scrollBar}, {"progress", ControlKind::progressBar},
            {"separator", ControlKind::separator},
        };
        for (auto& [name, kind] : kinds)
            if (w == name) {
                k = kind;
                return true;
            }
        return false;
    }

    template <class Map> bool Fresh(Map& map, SInt16 id, const char* type) {
        if (map.count(id)) {
            Problem(std::string(type) + " " + std::to_string(id) + " defined twice");
            return false;
        }
        return true;
    }

    void Header(const std::string& raw) {
        Finish();
        std::vector<Token> t;
        if (!Tokenize(raw, t) || t.empty()) return;
        const std::string& type = t[0].text;
        SInt16 id = 0;
        if (t.size() < 2 || !Short(t[1].text, id)) {
            Problem("a resource header needs a type and an id");
            return;
        }
        if (type == "STR#") {
            if (!Fresh(set_.stringLists, id, "STR#")) return;
            block_ = Block::strings;
            strings_ = &set_.stringLists[id];
        } else if (type == "STR") {
            if (t.size() != 3 || !t[2].quoted) {
                Problem("a string resource needs one quoted text");
                return;
            }
            if (Fresh(set_.strings, id, "STR")) set_.strings[id] = t[2].text;
        } else if (type == "DITL") {
            if (!Fresh(set_.itemLists, id, "DITL")) return;
            block_ = Block::itemList;
            itemList_ = &set_.itemLists[id];
            itemList_->id = id;
        } else if (type == "MENU") {
            if (!Fresh(set_.menus, id, "MENU")) return;
            MenuDesc m;
            m.id = id;
            for (size_t i = 2; i < t.size(); ++i) {
                if (t[i].quoted)
                    m.title = t[i].text;
                else if (t[i].text == "disabled")
                    m.enabled = false;
                else
                    Problem("unknown menu option '" + t[i].text + "'");
            }
            menu_ = &(set_.menus[id] = m);
            block_ = Block::menu;
        } else if (type == "DLOG" || type == "ALRT") {
            Rect r{};
            if (!ReadRect(t, 2, r)) return;
            DialogDesc d;
            d.id = id;
            d.bounds = r;
            d.itemListId = id;
            for (size_t i = 6; i < t.size(); ++i) {
                const std::string& w = t[i].text;
                if (t[i].quoted)
                    d.title = w;
                else if (w == "hidden")
                    d.visible = false;
                else if (w == "closebox")
                    d.closeBox = true;
                else if (w == "items" && i + 1 < t.size())
                    Short(t[++i].text, d.itemListId);
                else if (w == "kind" && i + 1 < t.size()) {
                    const std::string& k = t[++i].text;
                    if (k == "document")
                        d.windowKind = kDocumentWindowKind;
                    else if (k == "modal")
                        d.windowKind = kModalDialogKind;
                    else if (k == "plain")
                        d.windowKind = kPlainDialogKind;
                    else if (k == "shadow")
                        d.windowKind = kShadowDialogKind;
                    else if (k == "nogrow")
                        d.windowKind = kNoGrowDocumentKind;
                    else if (k == "movable")
                        d.windowKind = kMovableModalKind;
                    else
                        Problem("unknown window kind '" + k + "'");
                } else
                    Problem("unknown dialog option '" + w + "'");
            }
            if (type == "DLOG") {
                if (Fresh(set_.dialogs, id, "DLOG")) set_.dialogs[id] = d;
            } else if (Fresh(set_.alerts, id, "ALRT")) {
                AlertDesc a;
                a.id = id;
                a.bounds = d.bounds;
                a.itemListId = d.itemListId;
                a.title = d.title;
                set_.alerts[id] = a;
            }
        } else if (type == "CNTL") {
            ControlDesc c;
            c.id = id;
            if (t.size() < 3 || !Kind(t[2].text, c.kind)) {
                Problem("a control needs a kind");
                return;
            }
            if (!ReadRect(t, 3, c.bounds) || !ControlOptions(t, 7, c, nullptr, nullptr, nullptr)) return;
            if (Fresh(set_.controls, id, "CNTL")) set_.controls[id] = c;
        } else if (type == "CURS") {
            if (!Fresh(set_.cursors, id, "CURS")) return;
            CursorDesc c;
            c.id = id;
            if (t.size() != 5 || t[2].text != "hotspot" || !Short(t[3].text, c.hotSpot.h) ||
                !Short(t[4].text, c.hotSpot.v)) {
                Problem("a cursor needs 'hotspot x y'");
                return;
            }
            cursor_ = &(set_.cursors[id] = c);
            cursorRows_ = 0;
            block_ = Block::cursor;
        } else if (type == "crsr" || type == "cicn") {
            ColorImageDesc c;
            c.id = id;
            if (t.size() < 3) {
                Problem("a colour image needs a file");
                return;
            }
            c.path = (fs::path(set_.folder) / t[2].text).string();
            if (t.size() == 6 && t[3].text == "hotspot") {
                Short(t[4].text, c.hotSpot.h);
                Short(t[5].text, c.hotSpot.v);
            } else if (t.size() != 3) {
                Problem("unknown colour image options");
            }
            if (!fs::exists(c.path)) Problem("missing file " + t[2].text);
            auto& map = type == "crsr" ? set_.colorCursors : set_.colorIcons;
            if (Fresh(map, id, type.c_str())) map[id] = c;
        } else if (type == "PAT") {
            PatternDesc p;
            if (PatternBytes(t, 2, p) && Fresh(set_.patterns, id, "PAT")) set_.patterns[id] = p;
        } else if (type == "PAT#") {
            if (!Fresh(set_.patternLists, id, "PAT#")) return;
            patternList_ = &set_.patternLists[id];
            patternList_->id = id;
            block_ = Block::patternList;
        } else {
            Problem("unknown resource type '" + type + "'");
        }
    }

    bool PatternBytes(const std::vector<Token>& t, size_t at, PatternDesc& p) {
        if (t.size() != at + 8) {
            Problem("a pattern needs eight bytes");
            return false;
        }
        for (int k = 0; k < 8; ++k) {
            long v = 0;
            if (!Number("0x" + t[at + k].text, 0, 255, v)) return false;
            p.pat[k] = static_cast<UInt8>(v);
        }
        return true;
    }

    // Items are numbered 1, 2, 3 ...; a string list may leave numbers out (they stay empty).
    bool ItemNumber(const std::string& w, size_t count, bool gapsAllowed, size_t& n) {
        long v = 0;
        if (!Number(w, 1, 32767, v)) return false;
        n = static_cast<size_t>(v);
        if (n <= count || (!gapsAllowed && n != count + 1)) {
            Problem("item " + w + " out of order");
            return false;
        }
        return true;
    }

    void Body(const std::string& s) {
        switch (block_) {
        case Block::none:
            Problem("indented line outside a resource");
            return;
        case Block::cursor:
            CursorRow(s);
            return;
        case Block::strings: {
            size_t sp = s.find_first_of(" \t");
            std::string num = s.substr(0, sp);
            size_t n = 0;
            if (!ItemNumber(num, strings_->size(), true, n)) return;
            std::string rest;
            if (sp != std::string::npos) {
                rest = s.substr(s.find_first_not_of(" \t", sp) == std::string::npos
                                    ? s.size()
                                    : s.find_first_not_of(" \t", sp));
                while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t'))
                    rest.pop_back();
            }
            std::string text;
            if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
                std::vector<Token> t;
                if (!Tokenize(rest, t) || t.size() != 1) {
                    Problem("bad quoted string");
                    return;
                }
                text = t[0].text;
            } else if (!Text(rest, text)) {
                return;
            }
            strings_->resize(n);
            strings_->back() = text;
            return;
        }
        default:
            break;
        }
        std::vector<Token> t;
        if (!Tokenize(s, t) || t.empty()) return;
        if (block_ == Block::patternList) {
            size_t n = 0;
            PatternDesc p;
            if (ItemNumber(t[0].text, patternList_->patterns.size(), false, n) && PatternBytes(t, 1, p))
                patternList_->patterns.push_back(p);
        } else if (block_ == Block::itemList) {
            size_t n = 0;
            if (!ItemNumber(t[0].text, itemList_->items.size(), false, n)) return;
            DialogItemDesc item;
            if (t.size() < 6 || !ReadRect(t, 2, item.rect)) {
                Problem("an item needs a kind and a rectangle");
                return;
            }
            const std::string& kind = t[1].text;
            bool disabled = false;
            if (kind == "button")
                item.type = kButtonItem;
            else if (kind == "check")
                item.type = kCheckBoxItem;
            else if (kind == "radio")
                item.type = kRadioButtonItem;
            else if (kind == "static")
                item.type = kStaticTextItem;
            else if (kind == "edit")
                item.type = kEditTextItem;
            else if (kind == "icon")
                item.type = kIconItem;
            else if (kind == "picture")
                item.type = kPictureItem;
            else if (kind == "user")
                item.type = kUserItem;
            else if (kind == "control" || Kind(kind, item.control.kind))
                item.type = kResourceControlItem;
            else {
                Problem("unknown item kind '" + kind + "'");
                return;
            }
            if (!ControlOptions(t, 6, item.control, &item.text, &item.resId, &disabled)) return;
            if (item.type == kResourceControlItem) {
                item.control.bounds = item.rect;
                if (kind == "control" && item.resId == 0) Problem("a control item needs 'cntl N'");
            }
            if (disabled) item.type |= kItemDisable;
            itemList_->items.push_back(item);
        } else if (block_ == Block::menu) {
            size_t n = 0;
            if (!ItemNumber(t[0].text, menu_->items.size(), false, n)) return;
            MenuItemDesc item;
            if (t.size() < 2 || !t[1].quoted) {
                Problem("a menu item needs a quoted text");
                return;
            }
            item.text = t[1].text;
            for (size_t i = 2; i < t.size(); ++i) {
                const std::string& w = t[i].text;
                if (w == "disabled")
                    item.enabled = false;
                else if (w == "shift")
                    item.modifiers |= 1;
                else if (w == "option")
                    item.modifiers |= 2;
                else if (w == "control")
                    item.modifiers |= 4;
                else if (w == "nocommand")
                    item.modifiers |= 8;
                else if (w != "key" && w != "mark" && w != "submenu" && w != "command" && w != "style")
                    Problem("unknown menu item option '" + w + "'");
                else if (i + 1 >= t.size())
                    Problem("option '" + w + "' without a value");
                else
                    MenuItemOption(w, t[++i].text, item);
            }
            menu_->items.push_back(item);
        }
    }

    void MenuItemOption(const std::string& w, const std::string& v, MenuItemDesc& item) {
        if (w == "key") {
            if (v.size() != 1)
                Problem("a command key is one character");
            else
                item.key = static_cast<unsigned char>(v[0]);
        } else if (w == "mark") {
            if (v == "check")
                item.mark = 0x12;
            else if (v.size() == 1)
                item.mark = static_cast<unsigned char>(v[0]);
            else
                Problem("a mark is one character or 'check'");
        } else if (w == "submenu") {
            Short(v, item.submenuId);
        } else if (w == "command") {
            FourChars(v, item.command);
        } else {
            std::stringstream ss(v);
            std::string part;
            while (std::getline(ss, part, ',')) {
                if (part == "bold")
                    item.style |= 1;
                else if (part == "italic")
                    item.style |= 2;
                else if (part == "underline")
                    item.style |= 4;
                else if (part == "outline")
                    item.style |= 8;
                else if (part == "shadow")
                    item.style |= 16;
                else
                    Problem("unknown style '" + part + "'");
            }
        }
    }

    void CursorRow(const std::string& s) {
        if (cursorRows_ >= 16 || s.size() != 16) {
            Problem("a cursor has 16 rows of 16 pixels");
            return;
        }
        UInt16 data = 0, mask = 0;
        for (int x = 0; x < 16; ++x) {
            UInt16 bit = static_cast<UInt16>(0x8000 >> x);
            switch (s[x]) {
            case '.':
                break;
            case 'X':
                data |= bit;
                mask |= bit;
                break;
            case 'o':
                mask |= bit;
                break;
            case '*':
                data |= bit;
                break;
            default:
                Problem("cursor pixels are . X o *");
                return;
            }
        }
        cursor_->data[cursorRows_] = data;
        cursor_->mask[cursorRows_] = mask;
        ++cursorRows_;
    }

    void Finish() {
        if (block_ == Block::cursor && cursorRows_ != 16) Problem("a cursor has 16 rows of 16 pixels");
        block_ = Block::none;
    }

    ResourceSet& set_;
    std::string file_;
    int line_ = 0;
    Block block_ = Block::none;
    std::vector<std::string>* strings_ = nullptr;
    ItemListDesc* itemList_ = nullptr;
    MenuDesc* menu_ = nullptr;
    CursorDesc* cursor_ = nullptr;
    int cursorRows_ = 0;
    PatternListDesc* patternList_ = nullptr;
};

bool HasDescriptions(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    for (auto& e : fs::directory_iterator(folder, ec))
        if (e.path().extension() == ".rdesc") return true;
    return false;
}

std::string FindFolder() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
        buf[n] = 0;
        fs::path beside = fs::path(buf).parent_path() / "Resources";
        if (HasDescriptions(beside)) return beside.string();
    }
    return DW_RESOURCE_DIR;
}

void CheckReferences(ResourceSet& set) {
    auto problem = [&](const std::string& what) { set.problems.push_back(what); };
    for (auto& [id, d] : set.dialogs)
        if (!set.itemLists.count(d.itemListId))
            problem("DLOG " + std::to_string(id) + ": missing DITL " + std::to_string(d.itemListId));
    for (auto& [id, a] : set.alerts)
        if (!set.itemLists.count(a.itemListId))
            problem("ALRT " + std::to_string(id) + ": missing DITL " + std::to_string(a.itemListId));
    for (auto& [id, list] : set.itemLists)
        for (auto& item : list.items)
            if ((item.type & 127) == kResourceControlItem && item.resId != 0 &&
                !set.controls.count(item.resId))
                problem("DITL " + std::to_string(id) + ": missing CNTL " + std::to_string(item.resId));
}

} // namespace

void LoadAppResourcesFrom(const std::string& folder) {
    gSet = ResourceSet{};
    gReportedLists.clear();
    gSet.folder = folder;
    gLoaded = true;
    std::vector<fs::path> files;
    std::error_code ec;
    for (auto& e : fs::directory_iterator(folder, ec))
        if (e.path().extension() == ".rdesc") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) gSet.problems.push_back(folder + ": no resource descriptions");
    for (auto& f : files) {
        std::ifstream in(f);
        DescriptionReader reader(gSet, f.filename().string());
        reader.Read(in);
    }
    CheckReferences(gSet);
}

void ResetAppResources() {
    gSet = ResourceSet{};
    gReportedLists.clear();
    gLoaded = false;
}

void LoadAppResources() {
    if (!gLoaded) LoadAppResourcesFrom(FindFolder());
}

std::string AppResourceFolder() {
    LoadAppResources();
    return gSet.folder;
}

const std::vector<std::string>& AppResourceProblems() {
    LoadAppResources();
    return gSet.problems;
}

namespace {
template <class Map> const typename Map::mapped_type* Find(Map& map, SInt16 id) {
    LoadAppResources();
    auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}
} // namespace

const std::vector<std::string>* FindStringList(SInt16 listId) {
    return Find(gSet.stringLists, listId);
}
const DialogDesc* FindDialogResource(SInt16 id) {
    return Find(gSet.dialogs, id);
}
const AlertDesc* FindAlertResource(SInt16 id) {
    return Find(gSet.alerts, id);
}
const ItemListDesc* FindItemListResource(SInt16 id) {
    return Find(gSet.itemLists, id);
}
const ControlDesc* FindControlResource(SInt16 id) {
    return Find(gSet.controls, id);
}
const MenuDesc* FindMenuResource(SInt16 id) {
    return Find(gSet.menus, id);
}
const CursorDesc* FindCursorResource(SInt16 id) {
    return Find(gSet.cursors, id);
}
const ColorImageDesc* FindColorCursorResource(SInt16 id) {
    return Find(gSet.colorCursors, id);
}
const ColorImageDesc* FindColorIconResource(SInt16 id) {
    return Find(gSet.colorIcons, id);
}
const PatternDesc* FindPatternResource(SInt16 id) {
    return Find(gSet.patterns, id);
}
const PatternListDesc* FindPatternListResource(SInt16 id) {
    return Find(gSet.patternLists, id);
}

void ReportMissingResource(ResType type, SInt16 id) {
    const char name[5] = {char(type >> 24), char(type >> 16), char(type >> 8), char(type), 0};
    std::fprintf(stderr, "Draftwerk: missing resource %s %d\n", name, int(id));
}

void GetIndString(StringPtr dest, SInt16 listId, SInt16 index) {
    dest[0] = 0;
    const std::vector<std::string>* list = FindStringList(listId);
    if (!list) {
        // Once per list and resource set: texts are read in loops and while drawing.
        if (gReportedLists.insert(listId).second) ReportMissingResource(FOUR_CHAR("STR#"), listId);
        return;
    }
    if (index < 1 || static_cast<size_t>(index) > list->size()) return;
    BytesToPStr((*list)[index - 1], dest);
}

SInt16 CountIndStrings(SInt16 listId) {
    const std::vector<std::string>* list = FindStringList(listId);
    return list ? static_cast<SInt16>(list->size()) : 0;
}

std::vector<SInt16> AppResourceIds(ResType type) {
    LoadAppResources();
    std::vector<SInt16> ids;
    auto keys = [&](auto& map) {
        for (auto& entry : map)
            ids.push_back(entry.first);
    };
    if (type == FOUR_CHAR("STR#"))
        keys(gSet.stringLists);
    else if (type == FOUR_CHAR("DLOG"))
        keys(gSet.dialogs);
    else if (type == FOUR_CHAR("ALRT"))
        keys(gSet.alerts);
    else if (type == FOUR_CHAR("DITL"))
        keys(gSet.itemLists);
    else if (type == FOUR_CHAR("CNTL"))
        keys(gSet.controls);
    else if (type == FOUR_CHAR("MENU"))
        keys(gSet.menus);
    else if (type == FOUR_CHAR("CURS"))
        keys(gSet.cursors);
    else if (type == FOUR_CHAR("crsr"))
        keys(gSet.colorCursors);
    else if (type == FOUR_CHAR("cicn"))
        keys(gSet.colorIcons);
    else if (type == FOUR_CHAR("PAT "))
        keys(gSet.patterns);
    else if (type == FOUR_CHAR("PAT#"))
        keys(gSet.patternLists);
    return ids;
}

Boolean GetIndPattern(Pattern* pattern, SInt16 listId, SInt16 index) {
    const PatternListDesc* list = FindPatternListResource(listId);
    if (!list || index < 1 || static_cast<size_t>(index) > list->patterns.size()) return false;
    std::memcpy(pattern->pat, list->patterns[index - 1].pat, sizeof pattern->pat);
    return true;
}

Boolean GetPattern(SInt16 id, Pattern* pattern) {
    const PatternDesc* desc = FindPatternResource(id);
    if (!desc) return false;
    std::memcpy(pattern->pat, desc->pat, sizeof pattern->pat);
    return true;
}

Boolean GetStringResource(SInt16 id, Str255 text) {
    text[0] = 0;
    const std::string* s = Find(gSet.strings, id);
    if (!s) return false;
    size_t n = std::min<size_t>(s->size(), 255);
    text[0] = static_cast<unsigned char>(n);
    std::memcpy(text + 1, s->data(), n);
    return true;
}
