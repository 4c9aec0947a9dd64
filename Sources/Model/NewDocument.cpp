// New documents with factory defaults, activation, the Window menu and freeing a document.
#include "Model/NewDocument.h"

#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Tools/CommandField.h"
#include "Platform/DialogManager.h"
#include "Model/DocumentHooks.h"
#include "Platform/Events.h"
#include "Model/ElementLists.h"
#include "Platform/MemoryManager.h"
#include "Platform/Menus.h"
#include "Model/SharedUtilities.h"
#include "Model/SpatialIndex.h"
#include "Tools/ToolState.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

template <typename T> T* Cleared() {
    return static_cast<T*>(std::calloc(1, sizeof(T)));
}

void AppendNumber(Str255 s, long n) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%ld", n);
    AppendCStr(s, 256, digits);
}

// Frees a chain of records linked through next, with the record kind's own dispose.
template <typename T> void DisposeChain(T* e, void (*dispose)(T**)) {
    while (e != nullptr) {
        T* next = e->next;
        dispose(&e);
        e = next;
    }
}

// Everything NewDocument allocates before the defaults: all cleared, or nothing.
DocWindowRecord* AllocateDocumentRecords() {
    DocWindowRecord* doc = Cleared<DocWindowRecord>();
    if (doc == nullptr) return nullptr;
    doc->drawing = Cleared<DrawingRecord>();
    doc->settings = Cleared<DocSettings>();
    doc->layerColors = Cleared<LayerColorTable>();
    doc->layerVisible = Cleared<LayerVisibilitySet>();
    doc->layerNames = Cleared<LayerNameTable>();
    DrawingRecord* d = doc->drawing;
    if (d != nullptr) {
        d->toolInput.pointBuffer = NewHandleClear(kPointBufferSize);
        d->toolInput.toolTable = static_cast<Ptr>(std::calloc(1, kToolTableSize));
        d->output.rubberPoints = NewHandleClear(kRubberPointsInitialSize);
        d->undo.undoSteps = static_cast<UInt32*>(std::calloc(kUndoStepCapacity, sizeof(UInt32)));
        d->titleBlock = Cleared<TitleBlockStrings>();
        d->variables = Cleared<VariableTable>();
        d->commandField = NewCommandFieldRecord();
        d->tool = NewToolStateRecord();
        d->undo.undoFileRef = nullptr;
    }
    if (d == nullptr || doc->settings == nullptr || doc->layerColors == nullptr ||
        doc->layerVisible == nullptr || doc->layerNames == nullptr || d->toolInput.pointBuffer == nullptr ||
        d->toolInput.toolTable == nullptr || d->output.rubberPoints == nullptr ||
        d->undo.undoSteps == nullptr || d->titleBlock == nullptr || d->variables == nullptr ||
        d->commandField == nullptr || d->tool == nullptr) {
        DisposeDocumentRecords(doc);
        return nullptr;
    }
    d->newDocument = 1;
    return doc;
}

void TellHooksDocumentIsActive(DocWindowRecord* doc, Boolean active) {
    gDocumentHooks.activateWindow(doc, active);
}

} // namespace

void InitTitleBlockStrings(TitleBlockStrings* block) {
    std::memset(block, 0, sizeof *block);
    CStrToPStr(block->field2, sizeof block->field2, "1");
    CStrToPStr(block->field3, sizeof block->field3, "1");
    CStrToPStr(block->scale, sizeof block->scale, "1:1");
    Str20 date, time;
    DateTimeStrings(date, time);
    AssignStr19(block->date, date);
}

void SetFactoryDocSettings(DocSettings* s) {
    std::memset(s, 0, sizeof *s);
    s->paperFormat = 7;
    s->currentLayer = 1;
    s->currentPen = 1;
    s->currentLineType = 1;
    s->documentFont = 1; // the application font
    s->pageCount = 1;
    s->pickAperture = 8;
    s->pickAperture2 = 8;
    s->keepBackup = 1;
    s->colorByPen = 1;
    const SInt16 lineKinds[8] = {1, 1, 2, 2, 3, 3, 1, 1};
    const Float64 widths[8] = {0.25, 0.35, 0.5, 0.7, 1.0, 1.2, 0.35, 0.05};
    for (int i = 0; i < 8; ++i) {
        s->penLineKinds[i] = lineKinds[i];
        s->penWidths[i] = widths[i];
    }
    s->viewFramesShown = 1;
    s->backgroundColor = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
    s->selectionColor = RGBColor{0xFFFF, 0, 0};
    s->undoWarnSteps = 100;
    s->undoWarnSteps2 = 500;
    s->autoSaveOn = 1;
    s->autoSaveMinutes = 30;
    s->textSize = 12;
    s->decimals = 2;
    s->textHeight = 3.5;
    s->dimTerminatorSize = 3.5;
    s->dimLineOffset = 1.0;
    s->dimExtensionOvershoot = 2.0;
    s->dimExtensionOffset = 1.0;
    s->dimArrowAngle = 15.0;
    s->inchPerMillimetre = 0.03937;
    s->drawingScale = 1.0;
    s->gridX = 10.0;
    s->gridY = 10.0;
    s->gridAngleY = 90.0;
    s->extensionGap = 10.0;
    s->chordTolerance = 0.05;
    s->printScale = 1.0;
    s->dimStackSpacing = 10.0;
    s->customUnitFactor = 100.0;
    s->undoOn = 1;
    s->dialogUnit = 2;
    s->dxfFlavour = 1;
    s->currentColorIndex = 255;
    s->currentPenWidth100 = 35;
    s->penMode = 1;
    s->headerSize = 12;
    s->word250 = 1;
    s->word1992 = 1;
    s->saveFormat = 1;
    s->appendExtension = 1;
    s->real874 = 1.0;
    s->reals834[0] = 7.5;
    for (Float64& size : s->markSizes)
        size = 10.0;
}

void MakeLayerName(SInt16 layer, Str255 name) {
    GetIndString(name, kGeneralTextList, kLayerNameItem);
    AppendCStr(name, 256, "0000");
    SInt16 n = layer < 0 ? 0 : layer;
    for (int i = name[0]; i >= 1 && n > 0; --i, n /= 10)
        name[i] = UInt8('0' + n % 10);
}

void DefaultDocumentName(Str255 name) {
    GetIndString(name, kGeneralTextList, kUntitledNameItem);
    if (!IsDocumentNameOpen(name)) return;
    Str255 base;
    GetIndString(base, kGeneralTextList, kNumberedUntitledNameItem);
    for (long n = 2;; ++n) {
        CopyPStr(name, 256, base);
        AppendNumber(name, n);
        if (!IsDocumentNameOpen(name)) return;
    }
}

Boolean InitDocumentDefaults(DocWindowRecord* doc, ConstStr255Param name) {
    DrawingRecord* d = doc->drawing;
    InitTitleBlockStrings(d->titleBlock);
    doc->areaHead = NewAreaRecord();
    doc->lineHead = NewLineRecord();
    doc->arcHead = NewArcRecord();
    doc->textHead = NewTextRecord();
    doc->dimensionHead = NewDimensionRecord();
    doc->instanceHead = NewSymbolInstanceRecord();
    doc->symbolDefHead = NewSymbolDefRecord();
    doc->polylineHead = NewPolylineRecord();
    for (int i = 0; i < kWorkRecordCount; ++i) {
        d->toolInput.workLines[i] = NewLineRecord();
        d->toolInput.workArcs[i] = NewArcRecord();
        if (d->toolInput.workLines[i] == nullptr || d->toolInput.workArcs[i] == nullptr) return false;
    }
    SetFactoryDocSettings(doc->settings);

    AssignStr255(d->documentName, name);
    d->view.unitsPerPixel = 1.0;
    d->view.originX = d->view.originY = 0.0;
    d->variableCount = 1;
    CStrToPStr(d->variables->entries[0], 256, "PI=3.141593");
    d->newDocument = 1;
    d->output.lineMode = 1;
    d->output.fillFlag = 1;
    d->toolInput.selectHidden = 0;
    d->view.redrawPending = 0;
    d->editStartTicks = TickCount();

    for (SInt16 layer = 0; layer < kLayerCount; ++layer)
        MakeLayerName(layer, doc->layerNames->names[layer]);
    std::memset(doc->layerVisible->bits, 0xFF, sizeof doc->layerVisible->bits);

    d->undo.undoCopyLine = NewLineRecord();
    d->undo.undoCopyLine2 = NewLineRecord();
    d->undo.undoCopyArc = NewArcRecord();
    d->undo.undoCopyText = NewTextRecord();
    d->undo.undoCopyDimension = NewDimensionRecord();
    d->undo.undoCopyPolyline = NewPolylineRecord();
    d->undo.undoCopyInstance = NewSymbolInstanceRecord();
    d->undo.undoCopyArea = NewAreaRecord();
    d->toolInput.polylineWorkPoints = NewHandleClear(kPolylineWorkPointsSize);
    return doc->areaHead && doc->lineHead && doc->arcHead && doc->textHead && doc->dimensionHead &&
           doc->instanceHead && doc->symbolDefHead && doc->polylineHead && d->undo.undoCopyLine &&
           d->undo.undoCopyLine2 && d->undo.undoCopyArc && d->undo.undoCopyText &&
           d->undo.undoCopyDimension && d->undo.undoCopyPolyline && d->undo.undoCopyInstance &&
           d->undo.undoCopyArea && d->toolInput.polylineWorkPoints;
}

Boolean NewDocument(DocWindowRecord** document, ConstStr255Param name, SInt16 windowFlag) {
    *document = nullptr;
    Str255 defaultName;
    DefaultDocumentName(defaultName);
    Str255 title;
    if (name == nullptr || name[0] == 0) {
        AssignStr255(title, defaultName);
    } else if (IsDocumentNameOpen(name)) {
        const Str255 empty = {0};
        ParamText(name, defaultName, empty, empty);
        if (ShowAlert(kNameInUseAlert) != 1) return false;
        AssignStr255(title, defaultName);
    } else {
        AssignStr255(title, name);
    }

    DocWindowRecord* doc = AllocateDocumentRecords();
    if (doc == nullptr) return false;
    AssignStr255(doc->drawing->documentName, title);
    DocWindowRecord* front = FrontDocument();
    DeactivateDocument(front);
    if (!gDocumentHooks.newDocumentWindow(doc, title, windowFlag) || !InitDocumentDefaults(doc, title)) {
        DisposeDocumentRecords(doc);
        ActivateDocument(front);
        return false;
    }
    if (OpenDocumentList == nullptr) {
        OpenDocumentList = doc;
    } else {
        DocWindowRecord* last = OpenDocumentList;
        while (last->next != nullptr)
            last = last->next;
        last->next = doc;
    }
    CreateUndoJournal(doc);
    RebuildWindowMenu();
    gDocumentHooks.rebuildViewsMenu(doc);
    gDocumentHooks.rebuildFrameMenus(doc);

    Str20 date, time;
    DateTimeStrings(date, time);
    gDocumentHooks.appendInfoRow(date);
    gDocumentHooks.appendInfoRow(time);
    gDocumentHooks.refreshPalettes(doc);
    gDocumentHooks.flushMouseDowns();
    *document = doc;
    return true;
}

DocWindowRecord* FrontDocument() {
    return gDocumentHooks.frontDocument();
}

void DeactivateDocument(DocWindowRecord* doc) {
    if (doc == nullptr || OpenDocumentList == nullptr) return;
    TellHooksDocumentIsActive(doc, false);
}

void ActivateDocument(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    TellHooksDocumentIsActive(doc, true);
    gDocumentHooks.rebuildViewsMenu(doc);
    gDocumentHooks.rebuildFrameMenus(doc);
    gDocumentHooks.refreshPalettes(doc);
}

void SelectDocumentByIndex(DocWindowRecord* frontDocument, SInt16 index) {
    DocWindowRecord* chosen = OpenDocumentList;
    for (SInt16 i = 0; i < index && chosen != nullptr; ++i)
        chosen = chosen->next;
    if (chosen == nullptr || chosen == frontDocument) return;
    DeactivateDocument(frontDocument);
    ActivateDocument(chosen);
    gDocumentHooks.refreshPalettes(chosen);
}

void RebuildWindowMenu() {
    MenuRef menu = GetMenuHandle(kWindowMenuId);
    if (menu == nullptr) return;
    SInt16 count = CountMenuItems(menu);
    if (count > kWindowMenuFixedItems)
        DeleteMenuItems(menu, kWindowMenuFixedItems + 1, UInt32(count - kWindowMenuFixedItems));
    if (OpenDocumentList == nullptr) return;
    const Str255 separator = {1, '-'};
    AppendMenu(menu, separator);
    DocWindowRecord* front = FrontDocument();
    SInt16 number = 0;
    for (DocWindowRecord* doc = OpenDocumentList; doc != nullptr; doc = doc->next) {
        AppendMenuItemText(menu, doc->drawing->documentName);
        SInt16 item = CountMenuItems(menu);
        ++number;
        if (number <= 9) SetItemCmd(menu, item, '0' + number);
        if (number == 10) SetItemCmd(menu, item, '0');
        if (doc == front) SetItemMark(menu, item, checkMark);
    }
}

void DisposeDocumentRecords(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    SpatialIndexDispose(doc);
    if (OpenDocumentList == doc) {
        OpenDocumentList = doc->next;
    } else {
        for (DocWindowRecord* e = OpenDocumentList; e != nullptr; e = e->next)
            if (e->next == doc) {
                e->next = doc->next;
                break;
            }
    }
    DrawingRecord* d = doc->drawing;
    if (d != nullptr) DeleteUndoJournal(doc);

    DisposeDocumentElements(doc);
    DisposeAreaRecord(&doc->areaHead);
    DisposeLineRecord(&doc->lineHead);
    DisposeArcRecord(&doc->arcHead);
    DisposeTextRecord(&doc->textHead);
    DisposeDimensionRecord(&doc->dimensionHead);
    DisposeSymbolInstanceRecord(&doc->instanceHead);
    DisposeSymbolDefRecord(&doc->symbolDefHead);
    DisposePolylineRecord(&doc->polylineHead);
    for (int i = 0; i < doc->imageCount && i < kMaxImages; ++i)
        DisposeHandle(doc->images[i].pixels);

    if (d != nullptr) {
        DisposeHandle(d->toolInput.pointBuffer);
        std::free(d->toolInput.toolTable);
        DisposeHandle(d->output.rubberPoints);
        std::free(d->undo.undoSteps);
        std::free(d->undo.undoFileRef);
        std::free(d->titleBlock);
        std::free(d->variables);
        DisposeCommandFieldRecord(&d->commandField);
        DisposeToolStateRecord(&d->tool);
        DisposeTransformState(&d->transform);
        for (int i = 0; i < kWorkRecordCount; ++i) {
            DisposeLineRecord(&d->toolInput.workLines[i]);
            DisposeArcRecord(&d->toolInput.workArcs[i]);
        }
        DisposeChain(d->layerSets, DisposeLayerSetRecord);
        DisposeChain(d->attributePresets, DisposeAttributePreset);
        DisposeChain(d->savedViews, DisposeSavedView);
        DisposeChain(d->frames, DisposeFrameRecord);
        DisposeChain(d->criteriaTables, DisposeNamedTableRecord);
        DisposeHandle(d->logText);
        DisposeHandle(d->previewPicture);
        DisposeHandle(d->printSettings);
        DisposeHandle(d->pageFormat);
        DisposeHandle(d->infoFields);
        DisposeLineRecord(&d->undo.undoCopyLine);
        DisposeLineRecord(&d->undo.undoCopyLine2);
        DisposeArcRecord(&d->undo.undoCopyArc);
        DisposeTextRecord(&d->undo.undoCopyText);
        DisposeDimensionRecord(&d->undo.undoCopyDimension);
        DisposePolylineRecord(&d->undo.undoCopyPolyline);
        DisposeSymbolInstanceRecord(&d->undo.undoCopyInstance);
        DisposeAreaRecord(&d->undo.undoCopyArea);
        DisposeHandle(d->toolInput.polylineWorkPoints);
        DisposeHandle(d->toolInput.outlineBlock);
        for (int i = 0; i < kMaxOutlineContours; ++i)
            DisposeHandle(d->toolInput.outlineContours[i]);
        std::free(d);
    }
    std::free(doc->settings);
    std::free(doc->layerColors);
    std::free(doc->layerVisible);
    std::free(doc->layerNames);
    std::free(doc);
}
