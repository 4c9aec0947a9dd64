// The command field: prompts from the prompt table, the editable one-line text, the evaluation of
// typed values and formulas, and the history of committed inputs.
#include "Tools/CommandField.h"

#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Platform/Clipboard.h"
#include "Platform/MacRoman.h"
#include "Other/Alerts.h"
#include "Model/DocumentRecords.h"
#include "Platform/Events.h"
#include "Platform/MacRoman.h"
#include "Model/Formula.h"
#include "Platform/Menus.h"
#include "Other/NumberFormat.h"
#include "Platform/QuickDraw.h"
#include "Model/SharedUtilities.h"
#include "Tools/StatusArea.h"
#include "Platform/TextObjects.h"
#include "Tools/ToolState.h"
#include "Tools/ToolTables.h"
#include "Model/UndoJournal.h"
#include "Platform/Windows.h"
#include "Other/ZEZUdivari.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr SInt16 kTooManyValuesMessage = 190; // list 128
constexpr SInt16 kLiveSnapWordItem = 175;
constexpr SInt16 kLiveSnapReplacementItem = 176;
constexpr SInt16 kProposedAnswerItem = 188;
constexpr SInt16 kAlternativeAnswerItem = 189;
constexpr SInt16 kPickCursor = 138;
constexpr SInt16 kPointCursor = 128;
constexpr SInt16 kHistoryButtonWidth = 12;
constexpr SInt16 kLiveSnapToolRow = 7 * 12 + 8;
constexpr SInt16 kLiveSnapPendingCode = 177;

void RedrawField(DocWindowRecord* doc) {
    UpdateStatusArea(doc, true);
}

void ClampSelection(CommandFieldRecord* f) {
    SInt16 n = f->text[0];
    if (f->selStart < 0) f->selStart = 0;
    if (f->selEnd < 0) f->selEnd = 0;
    if (f->selStart > n) f->selStart = n;
    if (f->selEnd > n) f->selEnd = n;
    if (f->selStart > f->selEnd) std::swap(f->selStart, f->selEnd);
}

void DeleteSelection(CommandFieldRecord* f) {
    ClampSelection(f);
    if (f->selEnd > f->selStart) DeletePStr(f->text, f->selStart + 1, f->selEnd - f->selStart);
    f->selEnd = f->selStart;
}

void InsertTextAtCaret(CommandFieldRecord* f, const unsigned char* chars, SInt16 count) {
    DeleteSelection(f);
    SInt16 room = SInt16(255 - f->text[0]);
    if (count > room) count = room;
    if (count <= 0) return;
    std::memmove(f->text + 1 + f->selStart + count, f->text + 1 + f->selStart,
                 size_t(f->text[0] - f->selStart));
    std::memcpy(f->text + 1 + f->selStart, chars, size_t(count));
    f->text[0] = UInt8(f->text[0] + count);
    f->selStart = f->selEnd = SInt16(f->selStart + count);
}

bool IsWordChar(unsigned char c) {
    return c != ' ' && c != ',';
}

// The caret moved by one word: over blanks and separators first, then over the word.
SInt16 WordBoundary(const CommandFieldRecord* f, SInt16 from, bool forward) {
    SInt16 n = f->text[0];
    SInt16 p = from;
    if (forward) {
        while (p < n && !IsWordChar(f->text[p + 1]))
            ++p;
        while (p < n && IsWordChar(f->text[p + 1]))
            ++p;
    } else {
        while (p > 0 && !IsWordChar(f->text[p]))
            --p;
        while (p > 0 && IsWordChar(f->text[p]))
            --p;
    }
    return p;
}

// The text object's handling of an editing key.
void EditKey(CommandFieldRecord* f, SInt16 special) {
    ClampSelection(f);
    SInt16 n = f->text[0];
    switch (special) {
    case kFieldKeyRight:
        f->selStart = f->selEnd =
            f->selEnd > f->selStart ? f->selEnd : SInt16(std::min<int>(f->selEnd + 1, n));
        break;
    case kFieldKeyLeft:
        f->selStart = f->selEnd =
            f->selEnd > f->selStart ? f->selStart : SInt16(std::max(f->selStart - 1, 0));
        break;
    case kFieldKeyWordRight:
        f->selStart = f->selEnd = WordBoundary(f, f->selEnd, true);
        break;
    case kFieldKeyWordLeft:
        f->selStart = f->selEnd = WordBoundary(f, f->selStart, false);
        break;
    case kFieldKeyDelete:
        if (f->selEnd == f->selStart && f->selStart > 0) --f->selStart;
        DeleteSelection(f);
        break;
    case kFieldKeyForwardDelete:
        if (f->selEnd == f->selStart && f->selEnd < n) ++f->selEnd;
        DeleteSelection(f);
        break;
    default:
        break;
    }
}

// The field's text lives in its text object when the window has one, else in the record.
bool HasTextObject(const CommandFieldRecord* f) {
    return TextObjectIsValid(f->textObject);
}

// Reads the text object back into the record's copy of the text and selection.
void SyncFromObject(CommandFieldRecord* f) {
    if (!f->open || !HasTextObject(f)) return;
    GetTextObjectText(f->textObject, f->text);
    SInt32 start = 0, end = 0;
    GetTextObjectSelection(f->textObject, &start, &end);
    f->selStart = SInt16(start);
    f->selEnd = SInt16(end);
    ClampSelection(f);
}

void SyncToObject(CommandFieldRecord* f) {
    if (!HasTextObject(f)) return;
    SetTextObjectText(f->textObject, f->textFrame, f->text + 1, f->text[0], 0);
    SetTextObjectSelection(f->textObject, f->textFrame, f->selStart, f->selEnd);
}

void SetFieldText(CommandFieldRecord* f, ConstStr255Param text) {
    AssignStr255(f->text, text);
    f->selStart = 0;
    f->selEnd = f->text[0];
    SyncToObject(f);
}

// A key for the text object: the character as the shell adjusted it, or the editing key.
void KeyToObject(CommandFieldRecord* f, SInt16 special, unsigned char c) {
    EventRecord e{};
    e.what = keyDown;
    e.modifiers = btnState;
    UInt8 keyCode = 0;
    switch (special) {
    case kFieldKeyRight:
        keyCode = kKeyCodeRightArrow, c = kRightArrowCharCode;
        break;
    case kFieldKeyLeft:
        keyCode = kKeyCodeLeftArrow, c = kLeftArrowCharCode;
        break;
    case kFieldKeyWordRight:
        keyCode = kKeyCodeRightArrow, c = kRightArrowCharCode, e.modifiers |= cmdKey;
        break;
    case kFieldKeyWordLeft:
        keyCode = kKeyCodeLeftArrow, c = kLeftArrowCharCode, e.modifiers |= cmdKey;
        break;
    case kFieldKeyForwardDelete:
        keyCode = kKeyCodeForwardDelete, c = kDeleteCharCode;
        break;
    case kFieldKeyDelete:
        keyCode = kKeyCodeDelete, c = kBackspaceCharCode;
        break;
    default:
        break;
    }
    e.message = (unsigned long)(keyCode) << 8 | c;
    TextObjectKeyDown(f->textObject, &e);
    SyncFromObject(f);
}

// Opens the field, empty, in a text object made once for the window and kept for its life.
void OpenField(DocWindowRecord* doc, CommandFieldRecord* f) {
    f->open = true;
    if (doc->window == nullptr) return;
    if (!HasTextObject(f)) {
        DrawingRecord* d = doc->drawing;
        SetPortWindowPort(doc->window);
        Rect frame{SInt16(d->layout.messageLineTop + 2), SInt16(StringWidth(f->prompt) + 2),
                   SInt16(d->layout.contentHeight - 1), SInt16(d->layout.contentWidth - 16)};
        Rect destination = frame;
        destination.right = SInt16(destination.left + 16000);
        TXNObject object = nullptr;
        if (NewTextObject(&object, &f->textFrame, doc->window, &frame, &destination, doc->settings->textSize,
                          true) != noErr)
            return;
        f->textObject = object;
        TextFont(0);
        TextSize(12);
    }
    SyncToObject(f);
    ShowTextObject(f->textObject, true);
    FocusTextObject(f->textObject, f->textFrame);
}

void CloseField(CommandFieldRecord* f) {
    f->open = false;
    if (!HasTextObject(f)) return;
    SyncToObject(f);
    ShowTextObject(f->textObject, false);
}

// The document's formula variables as a chain of records, evaluated once.
struct VariableChain {
    std::vector<VariableRecord> records;

    explicit VariableChain(const DocWindowRecord* doc) {
        const DrawingRecord* d = doc->drawing;
        if (d->variables == nullptr) return;
        SInt16 count = d->variableCount;
        if (count > kVariableCapacity) count = kVariableCapacity;
        for (SInt16 i = 0; i < count; ++i) {
            const unsigned char* entry = d->variables->entries[i];
            SInt16 eq = PosChar('=', entry);
            if (entry[0] < 3 || eq < 2) continue;
            VariableRecord r{};
            SInt16 nameLength = SInt16(eq - 1 > 63 ? 63 : eq - 1);
            std::memcpy(r.name + 1, entry + 1, size_t(nameLength));
            r.name[0] = UInt8(nameLength);
            CopySubStr(r.formula, entry, eq + 1, entry[0] - eq);
            records.push_back(r);
        }
        for (size_t i = 0; i + 1 < records.size(); ++i)
            records[i].next = &records[i + 1];
        if (!records.empty()) {
            SInt16 index, error, position;
            EvalFormulaChain(&records[0], &index, &error, &position);
        }
    }
    VariableRecord* first() { return records.empty() ? nullptr : &records[0]; }
};

void ShowFormulaError(SInt16 error) {
    Str255 text;
    GetIndString(text, kFormulaErrorList, error);
    ShowErrorText(text);
}

} // namespace

CommandFieldRecord* NewCommandFieldRecord() {
    auto* f = static_cast<CommandFieldRecord*>(std::calloc(1, sizeof(CommandFieldRecord)));
    if (f != nullptr) f->promptCursor = -1;
    return f;
}

void DisposeCommandFieldRecord(CommandFieldRecord** slot) {
    if (slot == nullptr || *slot == nullptr) return;
    TXNObject object = (*slot)->textObject;
    DisposeTextObject(&object);
    std::free(*slot);
    *slot = nullptr;
}

CommandFieldRecord* CommandFieldOf(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return nullptr;
    if (doc->drawing->commandField == nullptr) doc->drawing->commandField = NewCommandFieldRecord();
    return doc->drawing->commandField;
}

void CommandFieldPrefixPrompt(DocWindowRecord* doc, ConstStr255Param text) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || text == nullptr || text[0] == 0) return;
    Str255 prompt;
    AssignStr255(prompt, text);
    AppendPStr(prompt, sizeof(Str255), f->prompt);
    AssignStr255(f->prompt, prompt);
    RedrawField(doc);
}

void ShowToolPrompt(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr) return;
    DrawingRecord* d = doc->drawing;
    f->text[0] = 0;
    f->selStart = f->selEnd = 0;

    SInt16 row = d->toolInput.pendingCommand != 0 ? d->toolInput.pendingCommand
                                                  : SInt16(CurrentToolGroup() * 12 + CurrentTool());
    SInt16 snapMode = doc->settings->snapMode;
    UInt16 item = ToolPromptNumber(row, snapMode, d->toolInput.pendingStep);
    Str255 prompt;
    prompt[0] = 0;
    if (item != kNoPrompt) GetIndString(prompt, kPromptList, SInt16(item));

    f->inputKind = kInputNone;
    f->promptCursor = -1;
    f->liveSnap = false;
    if (prompt[0] >= 3) {
        SInt16 kind = SInt16(prompt[1] - '0');
        f->inputKind = kind >= kInputNone && kind <= kInputTextFont ? kind : SInt16(kInputNone);
        switch (prompt[2]) {
        case 'P':
            f->promptCursor = 0;
            break;
        case '?':
            f->promptCursor = kPickCursor;
            break;
        case '#':
            f->promptCursor = kPointCursor;
            break;
        default:
            break;
        }
        DeletePStr(prompt, 1, 3);
    } else {
        prompt[0] = 0;
    }
    if (snapMode == 3) {
        Str255 word, replacement;
        GetStr128(kLiveSnapWordItem, word);
        SInt16 at = word[0] > 0 ? PosPStr(word, prompt) : 0;
        if (at > 0) {
            f->liveSnap = true;
            GetStr128(kLiveSnapReplacementItem, replacement);
            DeletePStr(prompt, at, word[0]);
            Str255 tail;
            CopySubStr(tail, prompt, at, prompt[0] - at + 1);
            prompt[0] = UInt8(at - 1);
            AppendPStr(prompt, sizeof(Str255), replacement);
            AppendPStr(prompt, sizeof(Str255), tail);
        }
        if (d->toolInput.pendingCommand == kLiveSnapPendingCode &&
            (d->toolInput.pendingStep == 2 || d->toolInput.pendingStep == 3))
            f->liveSnap = true;
        if (d->toolInput.pendingCommand == 0 && row == kLiveSnapToolRow) f->liveSnap = true;
    }
    AssignStr255(f->prompt, prompt);
    if (f->inputKind != kInputTextFont && f->typingFont != 0) CommandFieldSetTypingFont(doc, 0);
    if (f->inputKind != kInputNone)
        OpenField(doc, f);
    else
        CloseField(f);
    RedrawField(doc);
}

void EvaluateCommandField(DocWindowRecord* doc, SInt16 skip) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr) return;
    SyncFromObject(f);
    Str255 text;
    AssignStr255(text, f->text);
    if (text[0] == 0) {
        f->valueCount = -1;
        return;
    }
    VariableChain variables(doc);
    f->valueCount = 0;
    bool relative = false;
    SInt16 pos = SInt16(skip < 0 ? 1 : skip + 1); // 1-based start of the next value
    SInt16 error = 0, errorAt = 0;
    while (pos <= text[0] && error == 0) {
        SInt16 end = pos;
        while (end <= text[0] && text[end] != ',')
            ++end;
        SInt16 start = pos;
        if (text[start] == '*' || text[start] == '@') {
            relative = true;
            ++start;
        }
        Str255 value;
        CopySubStr(value, text, start, end - start);
        pos = SInt16(end + 1);
        if (f->valueCount == kTypedValueCapacity) {
            // A step takes at most four values; a fifth is refused, never stored.
            f->valueCount = 0;
            f->selStart = SInt16(start - 1);
            f->selEnd = f->selStart;
            SyncToObject(f);
            ShowErrorStr128(kTooManyValuesMessage);
            return;
        }
        FormulaPi = M_PI;
        FormulaAngleFactor = M_PI / 180.0;
        FormulaError = 0;
        FormulaList* list = NewFormulaList();
        SInt16 parseError = 0, position = 0;
        ParseFormula(list, value, &parseError, &position, variables.first());
        if (parseError != 0) {
            error = parseError;
            errorAt = SInt16(start - 1 + (position > 0 ? position - 1 : 0));
        } else {
            Float64 v = EvalFormulaAt(list, 0);
            if (FormulaError != 0) {
                error = FormulaError;
                errorAt = SInt16(start - 1);
            } else {
                f->values[f->valueCount] = v;
                f->relative[f->valueCount] = relative;
                ++f->valueCount;
            }
        }
        DisposeFormulaList(list);
    }
    if (error != 0) {
        f->valueCount = 0;
        f->selStart = f->selEnd = errorAt;
        ClampSelection(f);
        SyncToObject(f);
        ShowFormulaError(error);
    }
}

void CommitCommandField(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr) return;
    SyncFromObject(f);
    Str255 text;
    AssignStr255(text, f->text);
    if (text[0] != 0 && f->inputKind != kInputText && f->inputKind != kInputTextFont)
        EvaluateCommandField(doc, 0);
    else
        f->valueCount = -1;
    if (text[0] == 0) return;
    SInt16 n = f->historyCount;
    if (n > kCommandHistoryCapacity) n = kCommandHistoryCapacity;
    for (SInt16 i = 0; i < n; ++i) {
        if (EqualPStr(f->history[i], text)) {
            for (SInt16 j = i; j + 1 < n; ++j)
                AssignStr255(f->history[j], f->history[j + 1]);
            --n;
            break;
        }
    }
    if (n == kCommandHistoryCapacity) {
        for (SInt16 j = 0; j + 1 < n; ++j)
            AssignStr255(f->history[j], f->history[j + 1]);
        --n;
    }
    AssignStr255(f->history[n], text);
    f->historyCount = SInt16(n + 1);
    if (f->historyCount == 1) DrawStatusBarChrome(doc);
}

void CommandFieldKey(DocWindowRecord* doc, SInt16 character, SInt16 special, const EventRecord*) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr) return;
    if (special == kFieldKeyUndo) {
        UndoLastStep(doc);
        return;
    }
    if (f->inputKind == kInputNone) return;
    if (special == kFieldKeyChar) {
        unsigned char c = UInt8(character);
        bool accept = false;
        switch (f->inputKind) {
        case kInputText:
        case kInputTextFont:
            accept = c > 31;
            break;
        case kInputIntegers:
            accept = IsCommandFieldChar(c, true) || c == ' ';
            break;
        case kInputValues:
            accept = IsCommandFieldChar(c, false) || c == ' ';
            break;
        default:
            break;
        }
        if (accept) {
            if (HasTextObject(f)) {
                KeyToObject(f, kFieldKeyChar, c);
            } else {
                InsertTextAtCaret(f, &c, 1);
            }
            RedrawField(doc);
        }
        return;
    }
    switch (special) {
    case kFieldKeyRight:
    case kFieldKeyLeft:
    case kFieldKeyForwardDelete:
    case kFieldKeyDelete:
    case kFieldKeyWordLeft:
    case kFieldKeyWordRight:
        if (HasTextObject(f))
            KeyToObject(f, special, 0);
        else
            EditKey(f, special);
        RedrawField(doc);
        break;
    case kFieldKeyReturn:
        CommitCommandField(doc);
        break;
    case kFieldKeyHistoryBack:
    case kFieldKeyHistoryForward: {
        SInt16 n = std::min<SInt16>(f->historyCount, kCommandHistoryCapacity);
        if (n <= 0) break;
        Str255 moved;
        if (special == kFieldKeyHistoryBack) {
            AssignStr255(moved, f->history[n - 1]);
            for (SInt16 j = SInt16(n - 1); j > 0; --j)
                AssignStr255(f->history[j], f->history[j - 1]);
            AssignStr255(f->history[0], moved);
        } else {
            AssignStr255(moved, f->history[0]);
            for (SInt16 j = 0; j + 1 < n; ++j)
                AssignStr255(f->history[j], f->history[j + 1]);
            AssignStr255(f->history[n - 1], moved);
        }
        CommandFieldSetText(doc, f->history[n - 1]);
        break;
    }
    default:
        break;
    }
}

void CommandFieldClick(DocWindowRecord* doc, const EventRecord* event) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || event == nullptr) return;
    DrawingRecord* d = doc->drawing;
    Point local = event->where;
    if (doc->window != nullptr) {
        SetPortWindowPort(doc->window);
        GlobalToLocal(&local);
    }
    SInt16 right = d->layout.contentWidth;
    if (local.h < right - kHistoryButtonWidth) {
        if (f->inputKind == kInputNone) return;
        if (HasTextObject(f)) {
            TextObjectClick(f->textObject, event);
            SyncFromObject(f);
            return;
        }
        // The caret goes to the character boundary nearest the click.
        SInt16 x = SInt16(StringWidth(f->prompt) + 2);
        SInt16 best = 0, bestDistance = SInt16(std::abs(local.h - x));
        for (SInt16 i = 1; i <= f->text[0]; ++i) {
            SInt16 w = SInt16(x + TextWidth(f->text + 1, 0, i));
            if (std::abs(local.h - w) < bestDistance) {
                best = i;
                bestDistance = SInt16(std::abs(local.h - w));
            }
        }
        f->selStart = f->selEnd = best;
        RedrawField(doc);
        return;
    }
    SInt16 n = std::min<SInt16>(f->historyCount, kCommandHistoryCapacity);
    if (n <= 0) return;
    Str255 title;
    title[0] = 0;
    MenuRef menu = NewMenu(kHistoryMenuId, title);
    if (menu == nullptr) return;
    for (SInt16 i = 0; i < n; ++i)
        AppendMenuItemText(menu, f->history[i]);
    InsertMenu(menu, -1);
    Point corner{d->layout.messageLineTop, right};
    if (doc->window != nullptr) LocalToGlobal(&corner);
    SInt32 chosen = PopUpMenuSelect(menu, corner.v, corner.h, 0);
    SInt16 item = SInt16(chosen & 0xFFFF);
    if ((chosen >> 16) == kHistoryMenuId && item >= 1 && item <= n)
        CommandFieldSetText(doc, f->history[item - 1]);
    DeleteMenu(kHistoryMenuId);
    DisposeMenu(menu);
}

void SplitCommandFieldPair(DocWindowRecord* doc, Str255 first, Str255 second) {
    first[0] = second[0] = 0;
    if (CommandFieldOf(doc) == nullptr) return;
    // In UTF-8, as element texts are kept: the field's own encoding lacks signs a text may hold.
    const std::string text = CommandFieldUTF8Text(doc);
    const size_t comma = text.find(',');
    auto put = [](StringPtr out, std::string_view part) {
        size_t n = std::min<size_t>(part.size(), 255);
        while (n > 0 && n < part.size() && (UInt8(part[n]) & 0xC0) == 0x80) // never a character split
            --n;
        out[0] = UInt8(n);
        std::memcpy(out + 1, part.data(), n);
    };
    put(first, std::string_view(text).substr(0, comma));
    if (comma != std::string::npos) put(second, std::string_view(text).substr(comma + 1));
}

Boolean IsCommandFieldChar(unsigned char c, Boolean decimalForbidden) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    if (c == '.') return !decimalForbidden;
    static const char kFormulaChars[] = ",@-+*/^()_[]{}'\" ";
    return c != 0 && std::strchr(kFormulaChars, c) != nullptr;
}

void SetPortTypingFont(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return;
    SetPortWindowPort(doc->window);
    CommandFieldRecord* f = doc->drawing->commandField;
    bool textTool = f != nullptr && f->inputKind == kInputTextFont && CurrentToolGroup() == 3;
    TextFont(textTool ? (f->typingFont != 0 ? f->typingFont : doc->settings->textFont) : 0);
}

std::string CommandFieldUTF8Text(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr) return {};
    if (f->open && HasTextObject(f)) return GetTextObjectUTF8Text(f->textObject);
    return PStrToUTF8(f->text);
}

void CommandFieldPutUTF8(DocWindowRecord* doc, ConstStr255Param utf8) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr) return;
    std::string_view text(reinterpret_cast<const char*>(utf8 + 1), utf8[0]);
    Str255 roman;
    UTF8ToPStr(text, roman, 255);
    SetFieldText(f, roman);
    if (f->open && HasTextObject(f)) {
        SetTextObjectUTF8Text(f->textObject, std::string(text));
        SyncFromObject(f);
        f->selStart = 0;
        f->selEnd = f->text[0];
        SetTextObjectSelection(f->textObject, f->textFrame, 0, 32767);
    }
    RedrawField(doc);
}

void CommandFieldSetTypingFont(DocWindowRecord* doc, SInt16 font) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr) return;
    f->typingFont = font;
    if (HasTextObject(f)) SetTextObjectFont(f->textObject, font, doc->settings->textSize);
}

void ResetPortFont(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return;
    SetPortWindowPort(doc->window);
    TextFont(0);
}

// The Edit menu on the field. The field keeps its text in the system encoding, one byte a character,
// so a pasted text is cut to the room left at a character boundary whatever it held.
void CommandFieldCut(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || !f->open) return;
    SyncFromObject(f);
    if (f->selEnd <= f->selStart) return;
    PutScrapData(f->selEnd - f->selStart, kScrapFlavorText, f->text + 1 + f->selStart);
    DeleteSelection(f);
    SyncToObject(f);
    RedrawField(doc);
}

void CommandFieldCopy(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || !f->open) return;
    SyncFromObject(f);
    if (f->selEnd <= f->selStart) return;
    PutScrapData(f->selEnd - f->selStart, kScrapFlavorText, f->text + 1 + f->selStart);
}

void CommandFieldPaste(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || !f->open || !ScrapHasText()) return;
    SyncFromObject(f);
    // Four bytes at most a character: enough for a full field.
    std::string text = GetScrapTextUTF8(4 * 255);
    // One line: a pasted text ends at its first line break.
    text = text.substr(0, text.find_first_of("\r\n"));
    if (HasTextObject(f)) {
        // The object keeps what the system encoding lacks, for texts; 255 bytes as a text holds.
        TextObjectInsertUTF8(f->textObject, text, 255);
        SyncFromObject(f);
    } else {
        std::string chars = UTF8ToMacRoman(text);
        InsertTextAtCaret(f, reinterpret_cast<const unsigned char*>(chars.data()),
                          SInt16(std::min<size_t>(chars.size(), 255)));
    }
    RedrawField(doc);
}

void CommandFieldClear(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || !f->open) return;
    SyncFromObject(f);
    DeleteSelection(f);
    SyncToObject(f);
    RedrawField(doc);
}

void CommandFieldSelectAll(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || !f->open) return;
    SyncFromObject(f);
    f->selStart = 0;
    f->selEnd = f->text[0];
    SyncToObject(f);
    RedrawField(doc);
}

void CommandFieldPutString(DocWindowRecord* doc, ConstStr255Param text) {
    CommandFieldSetText(doc, text);
}

namespace {

void AppendNumber(DocWindowRecord* doc, Str255 text, Float64 value) {
    Str255 n;
    FormatReal(value, doc->settings->decimals, n);
    if (text[0] > 0) AppendChar(text, sizeof(Str255), ',');
    AppendPStr(text, sizeof(Str255), n);
}

void AppendInteger(Str255 text, SInt32 value) {
    Str255 n;
    NumToPaddedStr(value, 1, n);
    if (text[0] > 0) AppendChar(text, sizeof(Str255), ',');
    AppendPStr(text, sizeof(Str255), n);
}

} // namespace

void CommandFieldSetInteger(DocWindowRecord* doc, SInt32 value) {
    Str255 t{0};
    AppendInteger(t, value);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetNumber(DocWindowRecord* doc, Float64 value) {
    Str255 t{0};
    AppendNumber(doc, t, value);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetPair(DocWindowRecord* doc, Float64 a, Float64 b) {
    Str255 t{0};
    AppendNumber(doc, t, a);
    AppendNumber(doc, t, b);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetTriple(DocWindowRecord* doc, Float64 a, Float64 b, Float64 c) {
    Str255 t{0};
    AppendNumber(doc, t, a);
    AppendNumber(doc, t, b);
    AppendNumber(doc, t, c);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetIntTriple(DocWindowRecord* doc, SInt32 a, SInt32 b, SInt32 c) {
    Str255 t{0};
    AppendInteger(t, a);
    AppendInteger(t, b);
    AppendInteger(t, c);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetNumberInt(DocWindowRecord* doc, Float64 a, SInt32 b) {
    Str255 t{0};
    AppendNumber(doc, t, a);
    AppendInteger(t, b);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetPairInt(DocWindowRecord* doc, Float64 a, Float64 b, SInt32 c) {
    Str255 t{0};
    AppendNumber(doc, t, a);
    AppendNumber(doc, t, b);
    AppendInteger(t, c);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetChar(DocWindowRecord* doc, unsigned char c) {
    Str255 t;
    CharToPStr(t, c);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetSTR128(DocWindowRecord* doc) {
    Str255 t;
    GetStr128(kProposedAnswerItem, t);
    CommandFieldSetText(doc, t);
}

void CommandFieldSetSTR128Alt(DocWindowRecord* doc) {
    Str255 t;
    GetStr128(kAlternativeAnswerItem, t);
    CommandFieldSetText(doc, t);
}

Boolean MatchesSTR128Answer(ConstStr255Param answer) {
    Str255 yes;
    GetStr128(kAlternativeAnswerItem, yes);
    if (answer == nullptr || answer[0] == 0 || yes[0] == 0) return false;
    auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? UInt8(c - 32) : c; };
    return upper(answer[1]) == upper(yes[1]);
}

SInt16 CommandFieldInputKind(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    return f != nullptr ? f->inputKind : SInt16(kInputNone);
}

UInt16 CommandFieldPromptCursor(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    return f != nullptr && f->promptCursor >= 0 ? UInt16(f->promptCursor) : 0xFFFF;
}

Boolean CommandFieldExpectsPoint(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    return f != nullptr && f->promptCursor == kPointCursor;
}

SInt16 CommandFieldHistoryCount(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    return f != nullptr ? f->historyCount : 0;
}

void CommandFieldPrompt(DocWindowRecord* doc, Str255 prompt) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr)
        prompt[0] = 0;
    else
        AssignStr255(prompt, f->prompt);
}

void DrawCommandFieldText(DocWindowRecord* doc, const Rect* frame) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || !f->open || frame == nullptr) return;
    SyncFromObject(f);
    ClampSelection(f);
    if (HasTextObject(f)) {
        SetTextObjectBounds(f->textObject, f->textFrame, frame);
        DrawTextObject(f->textObject);
    }
    // The port shows the text as well, so that pictures of the window show what was typed.
    EraseRect(frame);
    FontInfo info;
    GetFontInfo(&info);
    SInt16 baseline = SInt16(frame->top + info.ascent);
    MoveTo(frame->left, baseline);
    DrawText(f->text + 1, 0, f->text[0]);
    SInt16 from = SInt16(frame->left + TextWidth(f->text + 1, 0, f->selStart));
    if (f->selEnd > f->selStart) {
        SInt16 to = SInt16(frame->left + TextWidth(f->text + 1, 0, f->selEnd));
        Rect sel{frame->top, from, SInt16(baseline + info.descent), std::min(to, frame->right)};
        InvertRect(&sel);
    } else {
        MoveTo(from, frame->top);
        LineTo(from, SInt16(baseline + info.descent));
    }
}

Boolean CommandFieldHasSelection(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f != nullptr) SyncFromObject(f);
    return f != nullptr && f->open && f->selEnd > f->selStart;
}

Boolean CommandFieldHasText(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f != nullptr) SyncFromObject(f);
    return f != nullptr && f->open && f->text[0] > 0;
}

void CommandFieldGetText(DocWindowRecord* doc, Str255 text) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f != nullptr) SyncFromObject(f);
    if (f == nullptr || !f->open)
        text[0] = 0;
    else
        AssignStr255(text, f->text);
}

void CommandFieldSetText(DocWindowRecord* doc, ConstStr255Param text) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || !f->open) return;
    SetFieldText(f, text);
    RedrawField(doc);
}
