// What the drawing model asks of the application shell, the view and the palettes, as hooks the
// shell fills in at start-up. Unset hooks do nothing, so documents work without windows (importers,
// tests, benchmarks).
#pragma once

#include "MacTypes.h"

struct DocWindowRecord;

struct DocumentHooks {
    // Creates the document window, stores it in the record and makes its scroll bars.
    Boolean (*newDocumentWindow)(DocWindowRecord* doc, ConstStr255Param name, SInt16 flag);
    // Marks the window title as changed; the model has already set the changed flag.
    void (*markWindowTitleChanged)(DocWindowRecord* doc);
    // Item n of STR# 128 in the window's message line.
    void (*showStatusMessage)(DocWindowRecord* doc, SInt16 message, Boolean eraseFirst);
    // Draws one element at once (kind and record as in the element lists).
    void (*drawElement)(DocWindowRecord* doc, SInt16 kind, void* element);
    void (*listLineInfo)(DocWindowRecord* doc);
    void (*listArcInfo)(DocWindowRecord* doc);
    void (*appendInfoRow)(ConstStr255Param text);
    void (*refreshPalettes)(DocWindowRecord* doc);
    void (*rebuildViewsMenu)(DocWindowRecord* doc);
    void (*rebuildFrameMenus)(DocWindowRecord* doc);
    // Highlights (true) or unhighlights the window's scroll bars; activation selects the window.
    void (*activateWindow)(DocWindowRecord* doc, Boolean active);
    void (*flushMouseDowns)();
    // The document whose window is in front; without it the document opened last counts as front.
    DocWindowRecord* (*frontDocument)();
};

extern DocumentHooks gDocumentHooks;
