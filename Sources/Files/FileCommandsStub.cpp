// STAND-IN until the open and save-as dispatch with its panels and the title-block dialog exist:
// Save As and the Open panel report that they are not available (and save nothing); a named file
// opens when it is a native drawing. Replaced whole by the open and save-as dispatch.
#include "FileCommands.h"

#include "Alerts.h"
#include "DocumentWindow.h"
#include "NativeDocument.h"
#include "Preferences.h"

namespace {
constexpr SInt16 kNotAvailableMessage = 95;

void ReportNotAvailable() {
    const Str255 empty = {0};
    ShowErrorAlert(kNotAvailableMessage, empty);
}
} // namespace

void SaveDocumentAs(DocWindowRecord*, SInt16, SInt16, SInt16, SInt16, Boolean* saved, SInt16) {
    if (saved != nullptr) *saved = false;
    ReportNotAvailable();
}

Boolean OpenDocumentFile(DocWindowRecord** doc, const FSRef* file) {
    if (doc != nullptr) *doc = nullptr;
    if (file == nullptr || file->path[0] == 0) {
        ReportNotAvailable();
        return false;
    }
    DocWindowRecord* opened = nullptr;
    if (!OpenDocument(&opened, file, false, -1, 0.0, 0.0)) return false;
    RelayoutDocumentWindow(opened);
    AddRecentFile(file);
    if (doc != nullptr) *doc = opened;
    return true;
}

Boolean FilePanelsAvailable() {
    return false;
}

void TitleBlockDialog(DocWindowRecord*) {}
