// The Symbol Instance dialog over a window whose text field has the keys, as the program opens it:
// the fields' texts set, the angle selected. Answered on a real desktop by real keys; prints the angle
// field's text when OK is hit, nothing on Cancel.
// With --long-text it runs the long-text dialog of a framed box instead, with the Edit menu in the
// bar, and prints the confirmed text.
// With --preset or --area-fill it runs the preset dialog (from the current settings) or the area fill
// dialog (on a hatched circle) of a drawing without a window, and prints the preset's name or the
// area's fill kind and value after OK.
// Exit 0 when the dialog was answered, 2 when it could not be opened.
#include "Dialogs/AreaFillDialogs.h"
#include "Dialogs/AttributePresets.h"
#include "Dialogs/SymbolInstanceDialog.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Model/NewDocument.h"
#include "Model/UndoJournal.h"
#include "Tools/AreaOutlines.h"
#include "Dialogs/TextDialogParts.h"
#include "Interface/DialogItems.h"
#include "Platform/DialogManager.h"
#include "Platform/PlatformApp.h"
#include "Platform/TextObjects.h"
#include "Platform/Windows.h"

#include "Platform/Fonts.h"
#include "Platform/MemoryManager.h"
#include "Platform/Menus.h"

#include <cstdio>
#include <cstring>

namespace {

int RunLongTextProbe() {
    MenuRef edit = GetMenu(197);
    if (edit == nullptr) return 2;
    InsertMenu(edit, 0);
    Handle text = nullptr;
    SInt16 font = kFontGeneva, tenths = 120;
    if (RunTextEntryDialog(&text, nullptr, &font, &tenths) && text != nullptr) {
        std::fwrite(*text, 1, size_t(GetHandleSize(text)), stdout);
        std::fputc('\n', stdout);
    }
    if (text != nullptr) DisposeHandle(text);
    return 0;
}

int RunDrawingDialogProbe(bool preset) {
    DocWindowRecord* doc = nullptr;
    if (!NewDocument(&doc, nullptr, 0) || doc == nullptr) return 2;
    if (preset) {
        if (PresetDialog(doc, true, false, nullptr) && doc->drawing->attributePresets != nullptr) {
            const unsigned char* name = doc->drawing->attributePresets->name;
            std::printf("%.*s\n", int(name[0]), reinterpret_cast<const char*>(name + 1));
        }
    } else {
        BeginUndoStep(doc);
        AreaRecord* area = CreateCircularArea(doc, 50, 50, 20);
        EndUndoStep(doc);
        if (area == nullptr) return 2;
        area->fillKind = -1;
        area->hatchSpacing = 2;
        if (AreaFillDialog(doc, area)) std::printf("%d %g\n", area->fillKind, area->hatchSpacing);
    }
    DisposeDocumentRecords(doc);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    PlatformInitialize(argc, argv);
    if (argc > 1 && (std::strcmp(argv[1], "--preset") == 0 || std::strcmp(argv[1], "--area-fill") == 0)) {
        int status = RunDrawingDialogProbe(std::strcmp(argv[1], "--preset") == 0);
        PlatformShutdown();
        return status;
    }
    if (argc > 1 && std::strcmp(argv[1], "--long-text") == 0) {
        int status = RunLongTextProbe();
        PlatformShutdown();
        return status;
    }
    WindowRef window = nullptr;
    const Rect bounds{60, 40, 460, 640};
    if (CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &bounds, &window) != noErr)
        return 2;
    ShowWindow(window);
    SelectWindow(window);
    TXNObject field = nullptr;
    TXNFrameID frame = 0;
    const Rect fieldFrame{370, 10, 390, 300};
    if (NewTextObject(&field, &frame, window, &fieldFrame, nullptr, 12, true) != noErr) return 2;
    FocusTextObject(field, frame);

    DialogRef dialog = GetNewDialog(kSymbolInstanceDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    if (dialog == nullptr) return 2;
    SetDialogDefaultItem(dialog, kSymbolInstanceOK);
    SetItemTextCStr(dialog, kSymbolInstanceName, "Valve");
    SetItemTextCStr(dialog, kSymbolInstanceAngle, "0.00");
    SetItemTextCStr(dialog, kSymbolInstanceXScale, "1.00");
    SetItemTextCStr(dialog, kSymbolInstanceYScale, "1.00");
    SelectItemText(dialog, kSymbolInstanceAngle);
    ShowWindow(GetDialogWindow(dialog));
    SelectWindow(GetDialogWindow(dialog));
    SInt16 item = 0;
    do
        ModalDialog(nullptr, &item);
    while (item != kSymbolInstanceOK && item != kSymbolInstanceCancel);
    if (item == kSymbolInstanceOK) {
        Str255 text;
        GetItemText(dialog, kSymbolInstanceAngle, text);
        std::printf("%.*s\n", int(text[0]), reinterpret_cast<const char*>(text + 1));
    }
    DisposeDialog(dialog);
    DisposeTextObject(&field);
    DisposeWindow(window);
    PlatformShutdown();
    return 0;
}
