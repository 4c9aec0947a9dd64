// The floating palettes: one table row per palette (title, size, place, boxes, controls, and the
// functions that draw it, take its clicks, grow it, follow the wheel and refill it), their windows made
// once at start and disposed at quit, shown and hidden through one show operation, remembered in the
// preferences, and the routing of update events, clicks, boxes and the wheel to the row's functions.
#pragma once

#include "Files/Preferences.h"
#include "Platform/ListControls.h"
#include "Platform/Windows.h"

// In the order they are made.
enum class PaletteId {
    coordBar,
    tool,
    info,
    symbols,
    presets,
    layerSets,
    colors,
    patterns,
    views,
    objectInfo,
    count
};
constexpr int kPaletteCount = int(PaletteId::count);

enum class PaletteScrollBar { none, standard, live };

struct PaletteRow {
    PaletteId id;
    SInt16 title;         // "STR#" 5000 item, 0 for none
    SInt16 width, height; // as made
    Boolean resizable, zoomBox, closeBox;
    PaletteScrollBar scrollBar;
    Boolean hasList;
    SInt16 listBottomFree;  // pixels below the list kept for the buttons
    SInt16 buttons[3];      // "STR#" 5000 titles of the buttons along the bottom, 0 for none
    SInt16 windowMenuItem;  // the Window menu item that shows and hides it, 0 for none
    Point minSize, maxSize; // grow limits (h width, v height)
    // Draws the whole palette for an update event (inside BeginUpdate/EndUpdate, controls drawn after).
    void (*draw)(DocWindowRecord* front);
    // A click in the content, local point; the front document may be null.
    void (*click)(DocWindowRecord* front, Point local, UInt16 modifiers);
    // A click in the grow box, global point.
    void (*grow)(WindowRef window, Point where);
    // The window took a new size: place the list, scroll bar and buttons.
    void (*layout)(SInt16 width, SInt16 height);
    // The wheel moved the scroll bar from oldValue to newValue.
    void (*wheel)(SInt16 newValue, SInt16 oldValue);
    // Refills the contents for the document (null at start and with no document).
    void (*refresh)(DocWindowRecord* doc);
};

// What a palette has while the program runs.
struct PaletteWindow {
    WindowRef window = nullptr;
    ListHandle list = nullptr;
    ControlRef scrollBar = nullptr;
    ControlRef buttons[3] = {nullptr, nullptr, nullptr};
};

const PaletteRow& PaletteRowOf(PaletteId id);
PaletteWindow& PaletteOf(PaletteId id);
WindowRef PaletteWindowRef(PaletteId id);
// The palette whose window this is; PaletteId::count for any other window.
PaletteId PaletteOfWindow(WindowRef window);

// Makes every palette hidden, in table order, placed on the main screen; once, after the preferences
// were loaded. DisposePalettes at quit, after they were saved.
void CreatePalettes();
// Where the palettes are first placed: the main screen's usable part below the top of a document
// window's content (its title bar and menu bar lie above).
Rect PaletteScreenArea();
// The info window's height below a top: whole rows of 12 down to 40 pixels above the screen's bottom,
// at least four rows however small the screen.
SInt16 InfoWindowHeightFor(SInt16 screenBottom, SInt16 top);
void DisposePalettes();
// Registers how the preferences capture and restore each palette.
void RegisterPalettePreferences();

// The shown flag kept in the preferences: false (and 0) for a palette without one.
Boolean GetPaletteShownFlag(PaletteId id, UInt32* value);
void SetPaletteShownFlag(PaletteId id, UInt32 value);
// The show operation of a palette: with resize and a positive size it is laid out at that size; with
// move it goes to (left, top) only when the point 12 pixels above lies on the desktop; then it is shown
// or hidden (and invalidated when shown) and kept on the main screen.
void ShowPaletteWindow(PaletteId id, Boolean resize, SInt16 width, SInt16 height, Boolean move, SInt16 left,
                       SInt16 top, Boolean shown);
// Sets the shown flag and shows or hides the palette (Window menu, close box).
void SetPaletteShown(PaletteId id, Boolean shown);
void TogglePalette(PaletteId id);
void ToggleCoordBar();
// The palette a Window menu item shows or hides; PaletteId::count for other items.
PaletteId PaletteOfWindowMenuItem(SInt16 item);

// The routing from the event handlers. Each is false when the window is no palette.
Boolean DrawPaletteForUpdate(WindowRef window);
Boolean PaletteContentClick(DocWindowRecord* front, WindowRef window, Point where, UInt16 modifiers);
Boolean PaletteGrowClick(WindowRef window, Point where);
Boolean PaletteCloseClick(WindowRef window, Point where);
// The zoom box, confirmed: the tool palette turns between its two arrangements, the symbol palette
// switches the document's display size.
Boolean PaletteZoomClick(DocWindowRecord* front, WindowRef window);
// Window managers give tool windows no zoom box: a secondary click on the tool or symbol palette
// offers it as a one-item menu. False for other windows (the click goes its usual way).
Boolean PaletteSecondaryClick(DocWindowRecord* front, WindowRef window, Point where);
// The generic grow of a resizable palette: within the row's limits, then laid out and redrawn.
void GrowPaletteWindow(WindowRef window, Point where);
// The generic wheel of a list palette: the list scrolled by the rows the bar moved, then redrawn.
void ScrollPaletteList(PaletteId id, SInt16 newValue, SInt16 oldValue);
// The whole palette invalidated, so that its update draws it.
void InvalidatePalette(PaletteId id);
// Every palette's contents refilled for the document.
void RefreshPaletteContents(DocWindowRecord* doc);
// The shared layout of a list palette: window size, the narrow scroll bar at the right, the list
// beside it above the buttons' strip, the buttons along the bottom.
void LayoutListPalette(PaletteId id, SInt16 width, SInt16 height);
// The scroll bar's range follows the list's rows; it is active only when rows lie out of view.
void SyncPaletteListScrollBar(PaletteId id);
// Erases the palette and draws its list.
void DrawListPalette(PaletteId id);
// A click in the coordinate bar: Command or Option puts the drawing's zero point in the middle at one
// unit a pixel; otherwise by the field: the zoom typed, the display mode stepped, the origin typed.
void CoordBarClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
