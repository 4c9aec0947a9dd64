// Saved views: named world rectangles of a drawing, kept sorted by name, recalled from the Window
// menu (menus 153, 154 and 176) and the views window.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kViewNameDialog = 245;
// What the file keeps of a view's name.
constexpr SInt16 kViewNameLimit = 63;

SInt16 CountSavedViews(const DocWindowRecord* doc);
// View n (1-based, in list order), or null.
SavedViewRecord* SavedViewAt(DocWindowRecord* doc, SInt16 n);

// Asks for a name and keeps the visible rectangle under it (a view of that name takes the new
// rectangle); nothing on Cancel or an empty name.
void SaveCurrentView(DocWindowRecord* doc);
// Keeps the visible rectangle under the name without asking; the view kept.
SavedViewRecord* StoreView(DocWindowRecord* doc, ConstStr255Param name);
// Fits the window to view n (the view before becomes the previous view); false when there is no such
// view or its rectangle has no area.
Boolean GoToSavedView(DocWindowRecord* doc, SInt16 n);
void RemoveSavedView(DocWindowRecord* doc, SInt16 n);
// Asks for a new name for view n; the list stays sorted.
void RenameSavedView(DocWindowRecord* doc, SInt16 n);
// Menus 153, 154 and 176 list the document's views (none without a document).
void RebuildViewsMenu(DocWindowRecord* doc);
