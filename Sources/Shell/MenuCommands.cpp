// The menu-command dispatcher, and the one list of the menu items whose action this version has.
#include "Shell/MenuCommands.h"
#include "Tools/PendingCommands.h"

#include "View/ContentPasses.h"
#include "Model/DocumentRecords.h"
#include "Dialogs/PaletteContents.h"
#include "Dialogs/SymbolLibraryDialogs.h"
#include "Dialogs/Palettes.h"
#include "Dialogs/PolylineVertexDialog.h"
#include "Shell/DocumentServices.h"
#include "Shell/DocumentWindow.h"
#include "Shell/EventLoop.h"
#include "Shell/FrameMenus.h"
#include "Files/Printing.h"
#include "Files/FileCommands.h"
#include "Shell/KeyDispatch.h"
#include "Shell/MenuBar.h"
#include "Shell/MouseDispatch.h"
#include "Dialogs/TextDialogs.h"
#include "Tools/CommandField.h"
#include "Files/NativeDocument.h"
#include "Files/PdfOutput.h"
#include "Other/Alerts.h"
#include "Model/NewDocument.h"
#include "Files/Preferences.h"
#include "Tools/StatusArea.h"
#include "Tools/ToolDispatch.h"
#include "Tools/AreaTools.h"
#include "Tools/DimensionTools.h"
#include "Model/UndoJournal.h"
#include "View/WorldPrimitives.h"
#include "View/ZoomExtents.h"
#include "View/RasterImages.h"
#include "Model/Repairs.h"
#include "Tools/Fillets.h"
#include "Platform/Clipboard.h"
#include "Tools/ToolState.h"
#include "Dialogs/DocumentSettingsDialogs.h"
#include "Dialogs/DrawingInfoDialog.h"
#include "Dialogs/PenSettingsDialog.h"
#include "View/SavedViews.h"
#include "Dialogs/StatusBarClicks.h"
#include "Dialogs/LayerGridDialogs.h"
#include "Dialogs/LayerSetsDialog.h"
#include "Dialogs/LayerTableDialog.h"
#include "Dialogs/ColorsDialog.h"
#include "Dialogs/DocumentTextDialogs.h"
#include "Dialogs/DrawingFormatDialog.h"
#include "Dialogs/OptionDialogs.h"
#include "Dialogs/ShortcutsDialog.h"

#include <algorithm>
#include <utility>

namespace {

constexpr SInt16 kSymbolLibraryItem = 11;

constexpr SInt16 kQuitItem = 5;
constexpr SInt16 kPreferencesItem = 3;
constexpr SInt16 kHelpItemOffset = 4;
constexpr SInt16 kFirstDocumentItem = 25;

void FileCommand(DocWindowRecord* doc, SInt16 item) {
    DocWindowRecord* made = nullptr;
    switch (item) {
    case 1:
        NewDrawing(&made);
        break;
    case 2:
        if (OpenDocumentFile(&made, nullptr)) CancelPendingCommand(made);
        break;
    case 5:
        if (doc != nullptr) CloseDocumentWindow(doc, false, true, true);
        break;
    case 6:
        CloseAllDocuments(false);
        break;
    case 8:
    case 10:
        if (doc == nullptr) break;
        DeselectAll(doc, false);
        if (item == 8 && doc->drawing->hasFile) {
            SaveDocument(doc, false, false, false, false, false);
        } else {
            Boolean saved = false;
            SaveDocumentAs(doc, 1, 0, 0, 0, &saved, 0);
        }
        break;
    case 9:
        SaveAllDocuments();
        break;
    case 13:
        if (doc != nullptr) ImportImage(doc);
        break;
    case 19:
        if (doc != nullptr) PrintCurrentPage(doc);
        break;
    case 20:
        if (doc != nullptr) PrintAllPages(doc);
        break;
    case 24:
        CloseAllDocuments(true);
        break;
    case 18:
        if (doc != nullptr) HeaderFooterDialog(doc);
        break;
    default:
        break;
    }
}

void RepairsCommand(DocWindowRecord* doc, SInt16 item) {
    switch (item) {
    case 1:
        RepairInvalidCoordinates(doc, false, true);
        break;
    case 2:
        SetLockOnVisibleLayers(doc, true);
        break;
    case 4:
        RemoveDuplicateLines(doc, true);
        break;
    case 5:
        CountFramedTexts(doc, true);
        break;
    case 6:
        SwapFilletArcAngles(doc);
        break;
    default:
        break;
    }
}

// The clipboard's picture placed by the pending command, with the placement mode of the item.
void PastePictureCommand(DocWindowRecord* doc, UInt8 placement) {
    constexpr SInt16 kPastePictureCommand = 149;
    GeneralPrefs.picturePlacement = placement;
    StartPendingCommand(doc, kPastePictureCommand);
}

void EditCommand(DocWindowRecord* doc, SInt16 item) {
    DocSettings* s = doc->settings;
    switch (item) {
    case 1:
        UndoLastStep(doc);
        ResetToolState(doc, false);
        RequestRedraw(doc);
        break;
    case 2:
        RedoStep(doc);
        ResetToolState(doc, false);
        RequestRedraw(doc);
        break;
    case 11:
        TitleBlockDialog(doc);
        break;
    case 21:
        s->displaySwitch1 = !s->displaySwitch1;
        InvalidateDocWindow(doc);
        break;
    case 22:
        s->imagesShown = !s->imagesShown;
        InvalidateDocWindow(doc);
        break;
    case 25:
        s->animatedZoom = !s->animatedZoom;
        break;
    case 27:
        FitExtentsButton(doc, 1, 0);
        break;
    case 28:
        FitExtentsButton(doc, 1, 1);
        break;
    case 4:
        CommandFieldCut(doc);
        break;
    case 5:
        CommandFieldCopy(doc);
        break;
    case 6:
        if (!ScrapHasText() && ScrapFlavorAvailable(kScrapFlavorPicture) == noErr)
            PastePictureCommand(doc, 0);
        else
            CommandFieldPaste(doc);
        break;
    case 7:
        if (ScrapFlavorAvailable(kScrapFlavorPicture) == noErr) PastePictureCommand(doc, 1);
        break;
    case 8:
        CommandFieldClear(doc);
        break;
    case 9:
        CommandFieldSelectAll(doc);
        break;
    case 12:
        LogEditorDialog(doc);
        break;
    default:
        break;
    }
}

void WindowCommand(DocWindowRecord* doc, SInt16 item) {
    if (item >= kFirstDocumentItem) {
        SelectDocumentByIndex(doc, SInt16(item - kFirstDocumentItem));
        RebuildWindowMenu();
        return;
    }
    if (item == 7 && doc != nullptr) {
        SaveCurrentView(doc);
        return;
    }
    if (PaletteId palette = PaletteOfWindowMenuItem(item); palette != PaletteId::count) {
        TogglePalette(palette);
        return;
    }
    if (item == 11 && doc != nullptr && doc->drawing->view.previousViewValid) {
        SwapWithPreviousView(doc->drawing);
        UpdateViewExtent(doc, true);
        DrawWindowStatusArea(doc);
    }
}

// The last item clears the list; any other opens its file.
void RecentCommand(SInt16 item) {
    MenuRef menu = MenuHandleOf(kRecentMenu);
    if (menu != nullptr && item == CountMenuItems(menu)) {
        ClearRecentFiles();
        RebuildRecentMenu();
        return;
    }
    FSRef file;
    DocWindowRecord* opened = nullptr;
    if (GetRecentFile(SInt16(item - 1), &file) && OpenDocumentFile(&opened, &file))
        CancelPendingCommand(opened);
}

// The settings dialogs of the drawing format, colours, keys and the small options.
void SettingsDialogCommand(DocWindowRecord* doc, SInt16 item) {
    switch (item) {
    case 1:
        DrawingFormatDialog(doc);
        break;
    case 3:
        LineWidthsDialog(doc);
        break;
    case 6:
        ArcToleranceDialog(doc);
        break;
    case 8:
        OptionsDialog186(doc);
        break;
    case 10:
        ColorsDialog(doc);
        break;
    case 13:
        ShortcutsDialog();
        break;
    case 14:
        FontSizeDialog(doc);
        break;
    default:
        break;
    }
}

void SettingsCommand(DocWindowRecord* doc, SInt16 item) {
    if (item == 7) {
        Float64 x = 0, y = 0;
        PolylineVertexDialog(doc, nullptr, -1, &x, &y);
    }
    if (item == 4) RunTextAttributesDialog(doc, nullptr);
    if (item == 16) ToggleGridDisplay(doc);
    SettingsDialogCommand(doc, item);
    if (item != 17) return;
    DocSettings* s = doc->settings;
    if (s->undoOn) {
        ResetUndoJournal(doc);
        s->undoOn = 0;
    } else {
        s->undoOn = 1;
    }
}

// The layer dialogs: visibility grid, layer table, layer sets, deleting a layer's elements.
void LayersCommand(DocWindowRecord* doc, SInt16 item) {
    switch (item) {
    case 1:
        LayerVisibilityDialog(doc);
        break;
    case 3:
        LayerTableDialog(doc);
        break;
    case 4:
        LayerSetsDialog(doc);
        break;
    case 10:
        DeleteLayerDialog(doc);
        break;
    default:
        break;
    }
}

// Removing the PDF or the HPGL area after the question, and the PDF area's PDF onto the clipboard.
void OutputAreasCommand(DocWindowRecord* doc, SInt16 item) {
    constexpr SInt16 kRemovePdfAreaQuestion = 6, kRemoveHpglAreaQuestion = 7;
    Float64* pdf = doc->settings->pdfArea;
    if (item == 3 || item == 10) {
        const UInt8 empty[1] = {0};
        if (!AskConfirm(item == 3 ? kRemovePdfAreaQuestion : kRemoveHpglAreaQuestion, empty, empty)) return;
        Float64* area = item == 3 ? pdf : doc->settings->hpglArea;
        std::fill(area, area + 4, 0.0);
        MarkDocumentChanged(doc);
        InvalidateDocWindow(doc);
    } else if (item == 4) {
        DrawingToPDF(doc, true, pdf[0], pdf[1], pdf[2], pdf[3], nullptr);
    }
}

// The document settings dialogs of the Settings menu, and the drawing information of the Window menu.
bool IsDocumentSettingsItem(SInt16 menu, SInt16 item) {
    if (menu == kWindowMenu) return item == 23;
    return menu == kSettingsMenu && (item == 2 || item == 5 || item == 9 || item == 11 || item == 12);
}

bool RunDocumentSettingsItem(DocWindowRecord* doc, SInt16 menu, SInt16 item) {
    if (!IsDocumentSettingsItem(menu, item)) return false;
    if (doc == nullptr) return true;
    if (menu == kWindowMenu) {
        DrawingInfoDialog(doc);
        return true;
    }
    switch (item) {
    case 2:
        DocumentOptionsDialog(doc);
        break;
    case 5:
        DimensionSettingsDialog(doc, true);
        break;
    case 9:
        PickApertureDialog(doc);
        break;
    case 11:
        PenSettingsDialog(doc);
        break;
    case 12:
        GridDialog(doc);
        break;
    default:
        break;
    }
    return true;
}

} // namespace

Boolean MenuItemAvailable(SInt16 menu, SInt16 item) {
    if (FindPendingMenuRow(menu, item) != nullptr) return true;
    if (IsDocumentSettingsItem(menu, item)) return true;
    if (FrameMenuItemAvailable(menu, item)) return true;
    switch (menu) {
    case kAppleMenu:
        return item == kQuitItem || item == kPreferencesItem;
    case kFileMenu:
        switch (item) {
        case 1:
        case 5:
        case 6:
        case 24:
            return true;
        case 18:
            return true;
        case 3:
        case 8:
        case 9:
        case 14: // page setup
        case 16: // the output areas
        case 17: // the pages
        case 19:
        case 20:
            return true;
        case 2:
        case 10:
        case 12:
        case 13:
            return FilePanelsAvailable();
        default:
            return false;
        }
    case kEditMenu:
        return item == 1 || item == 2 || item == 11 || item == 12 || item == 21 || item == 22 || item == 25 ||
               item == 27 || item == 28 || item == 18 || item == 20 || (item >= 4 && item <= 9);
    case kWindowMenu:
        // 6, 8 and 9 hold the saved views' submenus.
        return (item >= 6 && item <= 9) || item == 11 || (item >= 13 && item <= 21) ||
               item >= kFirstDocumentItem;
    case kSettingsMenu:
        return item == 4 || item == 7 || item == 16 || item == 17 || item == 1 || item == 3 || item == 6 ||
               item == 8 || item == 10 || item == 13 || item == 14;
    case kMarkerMenu:
        return item >= 1 && item <= 7;
    case kSymbolsMenu:
        return item == kSymbolLibraryItem;
    case kRecentMenu:
        return true;
    case kImagesMenu:
        return true;
    case kRepairsMenu:
        return item == 1 || item == 2 || item == 4 || item == 5 || item == 6;
    case kToolMenu:
        return ToolGroupBuilt(SInt16(item - 1));
    case kOutputAreasMenu:
        return item == 3 || item == 4 || item == 10;
    case kLayersMenu:
        return item == 1 || item == 3 || item == 4 || item == 10;
    case kViewsMenu:
    case kDeleteViewMenu:
    case kRenameViewMenu:
        return true;
    // The status bar's pop-ups, and the layer table's colour pop-up.
    case kScaleMenu:
    case kPenMenu:
    case kLineTypeMenu:
    case kPickModeMenu:
    case kNumberMenu:
        return true;
    default:
        // The object info palette does not exist yet: its tool stays dimmed.
        if (menu == kFirstToolMenu + 7 && item == 10) return false;
        return menu >= kFirstToolMenu && menu <= kLastToolMenu &&
               ToolGroupBuilt(SInt16(menu - kFirstToolMenu));
    }
}

void DoMenuCommand(DocWindowRecord* doc) {
    SInt16 menu = MenuCommandGlobals.code;
    SInt16 item = MenuCommandGlobals.param;
    if (menu == kSystemHelpMenu) {
        menu = kHelpMenu;
        item = SInt16(item - kHelpItemOffset);
    }
    if (!MenuItemAvailable(menu, item)) return;
    if (RunPendingMenuItem(doc, menu, item)) return;
    if (RunDocumentSettingsItem(doc, menu, item)) return;
    if (FrameMenuCommand(doc, menu, item)) return;
    if (menu == kSymbolsMenu && item == kSymbolLibraryItem) {
        SymbolLibraryDialog(doc);
        return;
    }
    if (menu == kFileMenu) {
        FileCommand(doc, item);
        return;
    }
    if (menu == kWindowMenu) {
        WindowCommand(doc, item);
        return;
    }
    if (menu == kRecentMenu) {
        RecentCommand(item);
        return;
    }
    // The menus below act on the front document; they are dimmed without one.
    if (doc == nullptr) return;
    switch (menu) {
    case kMarkerMenu:
        doc->settings->markerChoice = item;
        break;
    case kEditMenu:
        EditCommand(doc, item);
        break;
    case kSettingsMenu:
        SettingsCommand(doc, item);
        break;
    case kImagesMenu:
        DeleteImage(doc, item);
        break;
    case kRepairsMenu:
        RepairsCommand(doc, item);
        break;
    case kOutputAreasMenu:
        OutputAreasCommand(doc, item);
        break;
    case kViewsMenu:
        GoToSavedView(doc, item);
        break;
    case kDeleteViewMenu:
        RemoveSavedView(doc, item);
        break;
    case kRenameViewMenu:
        RenameSavedView(doc, item);
        break;
    case kLayersMenu:
        LayersCommand(doc, item);
        break;
    default:
        break;
    }
}
