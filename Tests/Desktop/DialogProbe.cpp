// The Symbol Instance dialog over a window whose text field has the keys, as the program opens it:
// the fields' texts set, the angle selected. Answered on a real desktop by real keys; prints the angle
// field's text when OK is hit, nothing on Cancel.
// With --long-text it runs the long-text dialog of a framed box instead, with the Edit menu in the
// bar, and prints the confirmed text.
// Exit 0 when the dialog was answered, 2 when it could not be opened.
#include "Dialogs/SymbolInstanceDialog.h"
#include "Dialogs/TextDialogParts.h"
#include "Other/DialogItems.h"
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

} // namespace

int main(int argc, char** argv) {
    PlatformInitialize(argc, argv);
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
