// The command field of a document window: the prompt of the current tool step, the one-line text the
// user types values, formulas, texts and answers into, its evaluation into numbers, and the history of
// committed inputs.
#pragma once

#include "Platform/MacTypes.h"

#include <string>

struct DocWindowRecord;
struct EventRecord;
struct OpaqueTXNObject;

constexpr int kTypedValueCapacity = 4;
constexpr int kCommandHistoryCapacity = 9;
constexpr SInt16 kPromptList = 129;
constexpr SInt16 kFormulaErrorList = 10000;
constexpr SInt16 kHistoryMenuId = 200;

// Input kinds of a prompt.
enum : SInt16 {
    kInputNone = 0,
    kInputText = 1,
    kInputIntegers = 2, // values without a decimal point
    kInputValues = 3,   // values with decimal points
    kInputTextFont = 4, // text element content, in the document's text font
};

// Special key codes of CommandFieldKey.
enum : SInt16 {
    kFieldKeyChar = 0,
    kFieldKeyRight = 1,
    kFieldKeyLeft = 2,
    kFieldKeyForwardDelete = 3,
    kFieldKeyDelete = 4,
    kFieldKeyReturn = 5,
    kFieldKeyWordLeft = 8,
    kFieldKeyWordRight = 9,
    kFieldKeyHistoryBack = 10,
    kFieldKeyHistoryForward = 11,
    kFieldKeyUndo = 255,
};

// One per document, owned by its DrawingRecord. The field stays for the document's whole life: it is
// emptied and closed between steps, never freed while a key for it is handled.
struct CommandFieldRecord {
    Str255 prompt;     // without its three prefix characters
    SInt16 inputKind;  // what the field accepts (kInput...)
    SInt16 valueCount; // values of the last evaluation; -1 for an empty field or a text
    Float64 values[kTypedValueCapacity];
    Boolean relative[kTypedValueCapacity];   // typed after "@" or "*": offset by the reference point
    SInt16 promptCursor;                     // 0, 138, 128, or -1 for none
    Str255 history[kCommandHistoryCapacity]; // oldest first
    SInt16 historyCount;
    Boolean liveSnap;  // the idle live snap of snap mode 3 runs for this step
    SInt16 typingFont; // the font a text is typed in while a text tool waits for it; 0 the field's own

    // The editable text: open while the kind is not 0. In a window it is a text object made once and
    // kept; without one (documents with no window) the text, selection and caret live here.
    Boolean open;
    Str255 text;             // as last read from the text object
    SInt16 selStart, selEnd; // characters from 0
    OpaqueTXNObject* textObject;
    UInt32 textFrame;
};

CommandFieldRecord* NewCommandFieldRecord();
void DisposeCommandFieldRecord(CommandFieldRecord** slot);
CommandFieldRecord* CommandFieldOf(DocWindowRecord* doc);

// Shows the prompt of the current step (by pending command or tool, snap mode and step) and opens
// the field, emptied, when the step takes input.
void ShowToolPrompt(DocWindowRecord* doc);
// Puts the text in front of the prompt shown and redraws the field.
void CommandFieldPrefixPrompt(DocWindowRecord* doc, ConstStr255Param text);
// Evaluates the field's text from position skip (0-based) into the values.
void EvaluateCommandField(DocWindowRecord* doc, SInt16 skip);
// Return or Enter: evaluates unless the field takes text, then keeps the text in the history.
void CommitCommandField(DocWindowRecord* doc);
void CommandFieldKey(DocWindowRecord* doc, SInt16 character, SInt16 special, const EventRecord* event);
// A click in the command-field strip at the local point (h in window pixels).
void CommandFieldClick(DocWindowRecord* doc, const EventRecord* event);
// The text as typed, in UTF-8, split at its first ","; without a comma the whole text and an empty
// string.
void SplitCommandFieldPair(DocWindowRecord* doc, Str255 first, Str255 second);
Boolean IsCommandFieldChar(unsigned char c, Boolean decimalForbidden);
void SetPortTypingFont(DocWindowRecord* doc);
// The font the field shows its text in until the next prompt that takes no text.
void CommandFieldSetTypingFont(DocWindowRecord* doc, SInt16 font);
// The field's text as typed, in UTF-8 (characters the field's own encoding lacks kept), and a
// UTF-8 string put into the field whole, selected.
std::string CommandFieldUTF8Text(DocWindowRecord* doc);
void CommandFieldPutUTF8(DocWindowRecord* doc, ConstStr255Param utf8);
void ResetPortFont(DocWindowRecord* doc);

void CommandFieldCut(DocWindowRecord* doc);
void CommandFieldCopy(DocWindowRecord* doc);
void CommandFieldPaste(DocWindowRecord* doc);
void CommandFieldClear(DocWindowRecord* doc);
void CommandFieldSelectAll(DocWindowRecord* doc);

// Values put into the field: the whole text replaced and selected; numbers with the document's
// decimals, joined by ",".
void CommandFieldPutString(DocWindowRecord* doc, ConstStr255Param text);
void CommandFieldSetInteger(DocWindowRecord* doc, SInt32 value);
void CommandFieldSetNumber(DocWindowRecord* doc, Float64 value);
void CommandFieldSetPair(DocWindowRecord* doc, Float64 a, Float64 b);
void CommandFieldSetTriple(DocWindowRecord* doc, Float64 a, Float64 b, Float64 c);
void CommandFieldSetIntTriple(DocWindowRecord* doc, SInt32 a, SInt32 b, SInt32 c);
void CommandFieldSetNumberInt(DocWindowRecord* doc, Float64 a, SInt32 b);
void CommandFieldSetPairInt(DocWindowRecord* doc, Float64 a, Float64 b, SInt32 c);
void CommandFieldSetChar(DocWindowRecord* doc, unsigned char c);
void CommandFieldSetSTR128(DocWindowRecord* doc);
void CommandFieldSetSTR128Alt(DocWindowRecord* doc);
Boolean MatchesSTR128Answer(ConstStr255Param answer);

// What the window chrome reads of the field.
SInt16 CommandFieldInputKind(DocWindowRecord* doc);
UInt16 CommandFieldPromptCursor(DocWindowRecord* doc); // 0xFFFF for none
Boolean CommandFieldExpectsPoint(DocWindowRecord* doc);
SInt16 CommandFieldHistoryCount(DocWindowRecord* doc);
void CommandFieldPrompt(DocWindowRecord* doc, Str255 prompt);
// Draws the text with its selection or caret into the frame (local coordinates of the current port).
void DrawCommandFieldText(DocWindowRecord* doc, const Rect* frame);
Boolean CommandFieldHasSelection(DocWindowRecord* doc);
Boolean CommandFieldHasText(DocWindowRecord* doc);
void CommandFieldGetText(DocWindowRecord* doc, Str255 text);
void CommandFieldSetText(DocWindowRecord* doc, ConstStr255Param text);
