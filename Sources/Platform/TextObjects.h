// Editable text objects placed in a window's content (the command field, text dialogs): one line or
// several, with the keyboard focus and its caret. Keys and clicks reach them as events of the queue:
// the program hands each one on with TextObjectKeyDown or TextObjectClick.
#pragma once

#include "Platform/MacTypes.h"

#include <string>

struct EventRecord;
struct OpaqueWindowPtr;
using WindowRef = OpaqueWindowPtr*;
struct OpaqueTXNObject;
using TXNObject = OpaqueTXNObject*;
using TXNFrameID = UInt32;

// Starts the text-object engine; true when it can be used.
Boolean InitMLTE();

// Makes a text object over `frame` (local to the window) in the current port's font at textSize
// (0: the port's size); the slots receive the object and its frame id. destination is the text's
// layout rectangle (a wide one means no wrapping). Fails with memFullErr without a window system.
OSStatus NewTextObject(TXNObject* objectSlot, TXNFrameID* frameSlot, WindowRef window, const Rect* frame,
                       const Rect* destination, SInt16 textSize, Boolean singleLine);
// Disposes the object and clears the slot.
void DisposeTextObject(TXNObject* objectSlot);
Boolean TextObjectIsValid(TXNObject object);
// Gives it the keyboard focus and shows the caret.
void FocusTextObject(TXNObject object, TXNFrameID frame);
// Caret time; nothing for a null object.
void IdleTextObject(TXNObject object);

// The whole text, in the system encoding (Mac Roman) or in UTF-8.
void SetTextObjectText(TXNObject object, TXNFrameID frame, const void* bytes, Size length, SInt32 unused);
void SetTextObjectUTF8Text(TXNObject object, const std::string& text);
void GetTextObjectText(TXNObject object, Str255 text);
std::string GetTextObjectUTF8Text(TXNObject object);
// Characters start..end (0-based, end exclusive); start = end places the insertion point.
void SetTextObjectSelection(TXNObject object, TXNFrameID frame, SInt32 start, SInt32 end);
void GetTextObjectSelection(TXNObject object, SInt32* start, SInt32* end);
Boolean TextObjectHasSelection(TXNObject object);

// A key-down or auto-key event for the object; a mouse-down on it (followed until released).
void TextObjectKeyDown(TXNObject object, const EventRecord* event);
void TextObjectClick(TXNObject object, const EventRecord* event);
// True when the local point lies in the object's frame.
Boolean TextObjectContainsPoint(TXNObject object, Point localPoint);

void SetTextObjectBounds(TXNObject object, TXNFrameID frame, const Rect* frameRect);
void SetTextObjectFont(TXNObject object, SInt16 fontNumber, SInt16 size);
void DrawTextObject(TXNObject object);
void ShowTextObject(TXNObject object, Boolean visible);

// The Edit menu's commands on the object; the clipboard is the system's.
void TextObjectCut(TXNObject object);
void TextObjectCopy(TXNObject object);
void TextObjectPaste(TXNObject object);
void TextObjectClear(TXNObject object);
void TextObjectSelectAll(TXNObject object);
// Replaces the selection with UTF-8 text, cut at a character boundary so that the whole text stays
// within capacity bytes of UTF-8 (0: no limit).
void TextObjectInsertUTF8(TXNObject object, const std::string& text, Size capacity);
