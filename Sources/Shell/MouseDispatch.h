// Mouse-down dispatch: the window part decides between window handling (menus, close and zoom boxes,
// growing), the buttons and strips of a document window, scroll-bar tracking, view zoom and pan, and
// a click posted for the tool dispatcher. Also the conversion of menu choices into pending commands
// and the choice of tools from menus.
#pragma once

#include "Platform/Events.h"

struct DocWindowRecord;
struct OpaqueControlRef;
using ControlRef = OpaqueControlRef*;

void HandleMouseDown(DocWindowRecord* doc, const EventRecord* event, Point where);
// Posts a menu choice ((menu << 16) | item) as kind 100; true when the tool dispatcher must run.
Boolean MenuResultToCommand(DocWindowRecord* doc, SInt32 result);
void EndPendingOperation(DocWindowRecord* doc);
void SelectToolGroupFromMenu(DocWindowRecord* doc, SInt16 group);
void SelectToolFromMenu(DocWindowRecord* doc, SInt16 tool);
void DragWindowClick(DocWindowRecord* doc, WindowRef window, Point where, Boolean commandHeld);
void ActivateClickedDocument(DocWindowRecord* doc, WindowRef window);
void WindowListPopup(DocWindowRecord* doc);
// The contextual tool menu at a global point.
void ContextualToolMenu(DocWindowRecord* doc, Point where);

void ScrollBarPartToCommand(SInt16 part, ControlRef control);
void LiveScrollAction(ControlRef control, SInt16 part);
void DocumentButtonClick(DocWindowRecord* doc, SInt16 index);

// One zoom step, about the mouse (aboutMouse, where in window pixels) or the view centre.
void ZoomInStep(DocWindowRecord* doc, SInt16 button, Boolean aboutMouse, Point where);
void ZoomOutStep(DocWindowRecord* doc, SInt16 button, Boolean aboutMouse, Point where);
void ZoomClickAnimated(DocWindowRecord* doc);
void PanDrag(DocWindowRecord* doc);
