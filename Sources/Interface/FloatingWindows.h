// Window helpers of the toolkit for the floating palettes: making, showing, sizing and disposing
// them, the screen they live on, their resize handler and their small buttons.
#pragma once

#include "Platform/Controls.h"
#include "Platform/Windows.h"

// A hidden window with the given content bounds (global): a document-class window with the standard
// document attributes, or a floating one with the boxes the flags ask for. A floating window lower
// than 20 pixels asks for a side title bar (the window manager draws its own).
WindowRef CreateFloatingWindow(ConstStr255Param title, const Rect* bounds, Boolean documentClass,
                               Boolean resizable, Boolean zoomBox, Boolean closeBox);
void ShowWindowAnimated(WindowRef window);
// Disposes the window and clears the variable; a null variable or window is fine.
void DisposeWindowAnimated(WindowRef* window);
void ShowHideWindow(WindowRef window, Boolean show);
// Sizes the window only when both are positive and differ from its port's size.
void SizeWindowIfChanged(WindowRef window, SInt16 width, SInt16 height, Boolean update);
// The port bounds; empty for no window.
void WindowPortRect(WindowRef window, Rect* bounds);
void InvalWindowBounds(WindowRef window);
// The main screen's bounds, global.
void GetScreenBounds(Rect* bounds);
OSStatus AddWindowBoundsHandler(WindowRef window, WindowEventHandler handler, void* userData,
                                EventHandlerRef* outRef);
// A push button in the small system font at 9 points.
ControlRef NewSmallPushButton(WindowRef window, const Rect* bounds, ConstStr255Param title);
constexpr SInt16 kPaletteButtonWidth = 65;
constexpr SInt16 kPaletteButtonHeight = 16;
// Room the palettes leave for a title bar drawn inside them: none here.
SInt16 PaletteTitleInset();

// Suspend and resume: every visible floating window hides, and the same ones come back.
void HideFloatingWindows();
void ShowFloatingWindows();
