// What the drawing model asks of the application shell, the view and the palettes, as hooks the
// shell fills in at start-up. Until then each hook is a stand-in that does nothing (or the least that
// serves), so documents work without windows (importers, tests, benchmarks).
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// The stand-ins of hooks not installed.
void NoHook(DocWindowRecord* doc);
void NoHook(DocWindowRecord* doc, Boolean flag);
void NoHook(DocWindowRecord* doc, SInt16 message, Boolean eraseFirst);
void NoHook(ConstStr255Param text);
void NoHook(SInt16 value);
void NoHook();
// A document without a window: nothing to make, so it succeeds.
Boolean NoDocumentWindow(DocWindowRecord* doc, ConstStr255Param name, SInt16 flag);
// An element with no drawer yet is drawn at the next redraw.
void DrawAtNextRedraw(DocWindowRecord* doc, SInt16 kind, void* element);
// Without windows the document opened last counts as front.
DocWindowRecord* LastOpenedDocument();

struct DocumentHooks {
    // Creates the document window, stores it in the record and makes its scroll bars.
    Boolean (*newDocumentWindow)(DocWindowRecord* doc, ConstStr255Param name, SInt16 flag) = NoDocumentWindow;
    // Marks the window title as changed; the model has already set the changed flag.
    void (*markWindowTitleChanged)(DocWindowRecord* doc) = NoHook;
    // Item n of STR# 128 in the window's message line.
    void (*showStatusMessage)(DocWindowRecord* doc, SInt16 message, Boolean eraseFirst) = NoHook;
    // The window's status area drawn again; updated, with the message line too when whole.
    void (*drawStatusArea)(DocWindowRecord* doc) = NoHook;
    void (*updateStatusArea)(DocWindowRecord* doc, Boolean whole) = NoHook;
    // Draws one element at once (kind and record as in the element lists).
    void (*drawElement)(DocWindowRecord* doc, SInt16 kind, void* element) = DrawAtNextRedraw;
    // Redraws the window's content now (long operations show their progress so).
    void (*redrawWindow)(DocWindowRecord* doc) = NoHook;
    void (*listLineInfo)(DocWindowRecord* doc) = NoHook;
    void (*listArcInfo)(DocWindowRecord* doc) = NoHook;
    void (*appendInfoRow)(ConstStr255Param text) = NoHook;
    void (*refreshPalettes)(DocWindowRecord* doc) = NoHook;
    void (*rebuildViewsMenu)(DocWindowRecord* doc) = NoHook;
    void (*rebuildFrameMenus)(DocWindowRecord* doc) = NoHook;
    // Highlights (true) or unhighlights the window's scroll bars; activation selects the window.
    void (*activateWindow)(DocWindowRecord* doc, Boolean active) = NoHook;
    void (*flushMouseDowns)() = NoHook;
    // The document whose window is in front; without it the document opened last counts as front.
    DocWindowRecord* (*frontDocument)() = LastOpenedDocument;
    // The progress window of a long operation that cannot be stopped: opened with its title, the
    // percentage done, closed.
    void (*openProgress)(ConstStr255Param title) = NoHook;
    void (*setProgressPercent)(SInt16 percent) = NoHook;
    void (*closeProgress)() = NoHook;
};

extern DocumentHooks gDocumentHooks;
