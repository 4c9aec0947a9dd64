// Saved views: the visible rectangle kept under a name, the window fitted to it again, the list kept
// sorted as the file reader sorts it, and the three menus that list the views.
#include "View/SavedViews.h"

#include "Model/NamedLists.h"

#include "Interface/DialogHooks.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Menus.h"
#include "Platform/NumberText.h"
#include "Interface/MenuItemsById.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"
#include "Model/DocumentHooks.h"
#include "Other/MathPrimitives.h"

#include <cmath>

namespace {

constexpr SInt16 kViewMenus[] = {kViewsMenu, kDeleteViewMenu, kRenameViewMenu};

void Unlink(DocWindowRecord* doc, SavedViewRecord* view) {
    for (SavedViewRecord** slot = &doc->drawing->savedViews; *slot != nullptr; slot = &(*slot)->next)
        if (*slot == view) {
            *slot = view->next;
            view->next = nullptr;
            return;
        }
}

void InsertSorted(DocWindowRecord* doc, SavedViewRecord* view) {
    InsertNameSorted(&doc->drawing->savedViews, view, EqualNames::after);
}

SavedViewRecord* Named(DocWindowRecord* doc, ConstStr255Param name) {
    for (SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next)
        if (CompareListNames(v->name, name) == 0) return v;
    return nullptr;
}

void ViewsChanged(DocWindowRecord* doc) {
    MarkDocumentChanged(doc);
    gDocumentHooks.rebuildViewsMenu(doc);
    gDocumentHooks.refreshPalettes(doc);
}

} // namespace

SInt16 CountSavedViews(const DocWindowRecord* doc) {
    SInt16 n = 0;
    if (doc == nullptr) return 0;
    for (const SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next)
        ++n;
    return n;
}

SavedViewRecord* SavedViewAt(DocWindowRecord* doc, SInt16 n) {
    if (doc == nullptr || n < 1) return nullptr;
    SavedViewRecord* v = doc->drawing->savedViews;
    for (SInt16 i = 1; v != nullptr && i < n; ++i)
        v = v->next;
    return v;
}

SavedViewRecord* StoreView(DocWindowRecord* doc, ConstStr255Param name) {
    if (doc == nullptr || name[0] == 0) return nullptr;
    SavedViewRecord* v = Named(doc, name);
    if (v == nullptr) {
        v = NewSavedView();
        if (v == nullptr) return nullptr;
        CopyPStr(v->name, sizeof v->name, name);
        if (v->name[0] > kViewNameLimit) v->name[0] = kViewNameLimit;
        InsertSorted(doc, v);
    }
    const DrawingViewState& view = doc->drawing->view;
    v->rect[0] = view.originX;
    v->rect[1] = view.originY;
    v->rect[2] = view.originX + view.viewWidth * view.unitsPerPixel;
    v->rect[3] = view.originY + view.viewHeight * view.unitsPerPixel;
    ViewsChanged(doc);
    return v;
}

void SaveCurrentView(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    Str255 name, number;
    CStrToPStr(name, sizeof name, "View ");
    NumToString(CountSavedViews(doc) + 1, number);
    AppendPStr(name, sizeof name, number);
    if (gDialogHooks.askViewName(name)) StoreView(doc, name);
}

Boolean GoToSavedView(DocWindowRecord* doc, SInt16 n) {
    SavedViewRecord* v = SavedViewAt(doc, n);
    if (v == nullptr) return false;
    DrawingRecord* d = doc->drawing;
    const Float64 w = v->rect[2] - v->rect[0], h = v->rect[3] - v->rect[1];
    // A view read from a damaged file may have no area or no numbers: the window stays as it is.
    if (!(w > 0.0) || !(h > 0.0) || !std::isfinite(w) || !std::isfinite(h) || !std::isfinite(v->rect[0]) ||
        !std::isfinite(v->rect[1]))
        return false;
    const SInt16 width = d->view.viewWidth > 0 ? d->view.viewWidth : 1;
    const SInt16 height = d->view.viewHeight > 0 ? d->view.viewHeight : 1;
    RememberPreviousView(d);
    const Float64 scale = AtLeastEpsilon(std::fmax(w / width, h / height));
    SetViewScale(d, scale);
    SetViewOrigin(d, v->rect[0] + w / 2.0 - width * scale / 2.0, v->rect[1] + h / 2.0 - height * scale / 2.0);
    UpdateViewExtent(doc, true);
    gDocumentHooks.drawStatusArea(doc);
    return true;
}

void RemoveSavedView(DocWindowRecord* doc, SInt16 n) {
    SavedViewRecord* v = SavedViewAt(doc, n);
    if (v == nullptr) return;
    Unlink(doc, v);
    DisposeSavedView(&v);
    ViewsChanged(doc);
}

void RenameSavedView(DocWindowRecord* doc, SInt16 n) {
    SavedViewRecord* v = SavedViewAt(doc, n);
    if (v == nullptr) return;
    Str255 name;
    CopyPStr(name, sizeof name, v->name);
    if (!gDialogHooks.askViewName(name) || EqualPStr(name, v->name)) return;
    // Another view of that name gives way, so that names stay one a view.
    SavedViewRecord* other = Named(doc, name);
    if (other != nullptr && other != v) {
        Unlink(doc, other);
        DisposeSavedView(&other);
    }
    Unlink(doc, v);
    CopyPStr(v->name, sizeof v->name, name);
    InsertSorted(doc, v);
    ViewsChanged(doc);
}

void RebuildViewsMenu(DocWindowRecord* doc) {
    for (SInt16 id : kViewMenus) {
        MenuRef menu = GetMenuHandle(id);
        if (menu == nullptr) continue;
        DeleteMenuItems(menu, 1, UInt32(CountMenuItems(menu)));
        if (doc == nullptr) continue;
        for (const SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next)
            AppendMenuItemText(menu, v->name);
    }
}
