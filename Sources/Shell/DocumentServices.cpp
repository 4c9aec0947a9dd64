// New drawings, closing all documents (also for quitting) and saving all documents.
#include "Shell/DocumentServices.h"

#include "Other/Alerts.h"
#include "Shell/DocumentWindow.h"
#include "Shell/EventLoop.h"
#include "Files/FileCommands.h"
#include "Files/Preferences.h"
#include "Shell/MenuBar.h"
#include "Model/NewDocument.h"
#include "Platform/QuickDraw.h"
#include "Tools/ToolDispatch.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// "a:b" as a / b; 0 when the text is no ratio.
Float64 RatioValue(ConstStr255Param text) {
    std::string s(reinterpret_cast<const char*>(text + 1), text[0]);
    size_t colon = s.find(':');
    if (colon == std::string::npos) return 0.0;
    Float64 a = std::strtod(s.substr(0, colon).c_str(), nullptr);
    Float64 b = std::strtod(s.substr(colon + 1).c_str(), nullptr);
    return a > 0.0 && b > 0.0 ? a / b : 0.0;
}

} // namespace

void FillPresetScales(DocWindowRecord* doc) {
    MenuRef menu = MenuHandleOf(kScaleMenu);
    for (SInt16 i = 1; i <= 33; ++i) {
        Str255 text = {0};
        if (menu != nullptr && i <= CountMenuItems(menu)) GetMenuItemText(menu, i, text);
        doc->drawing->layout.presetScales[i - 1] = RatioValue(text);
    }
}

Boolean NewDrawing(DocWindowRecord** out) {
    *out = nullptr;
    const Str255 empty = {0};
    DocWindowRecord* doc = nullptr;
    if (!NewDocument(&doc, empty, 0)) return false;
    LoadDocumentDefaults(doc);
    FillPresetScales(doc);
    // The message line's height follows the document font, which the defaults have just set.
    RelayoutDocumentWindow(doc);
    CancelPendingCommand(doc);
    doc->drawing->lastTimedSaveTicks = TickCount();
    if (GeneralPrefs.titleBlockForNewDrawings) TitleBlockDialog(doc);
    *out = doc;
    return true;
}

void CloseAllDocuments(Boolean quitting) {
    if (!quitting) {
        while (OpenDocumentList != nullptr)
            if (!CloseDocumentWindow(OpenDocumentList, false, true, true)) return;
        return;
    }
    // Every changed document is asked about before any is closed, so that Cancel at any of them
    // leaves every document open and the program running.
    std::vector<DocWindowRecord*> documents;
    for (DocWindowRecord* doc = OpenDocumentList; doc != nullptr; doc = doc->next)
        documents.push_back(doc);
    for (DocWindowRecord* doc : documents) {
        if (!doc->drawing->changed) continue;
        if (doc->drawing->symbolBeingEdited) {
            ShowErrorAlert(13, doc->drawing->documentName);
            return;
        }
        SInt16 answer = AskSaveChanges(doc->drawing->documentName, false);
        if (answer == 2) continue;
        if (answer != 1 || !SaveDocumentForClose(doc)) return;
    }
    for (DocWindowRecord* doc : documents)
        if (!CloseDocumentWindow(doc, true, false, false)) break;
    QuitFlag = OpenDocumentList == nullptr;
}

void SaveAllDocuments() {
    for (DocWindowRecord* doc = OpenDocumentList; doc != nullptr; doc = doc->next)
        SaveDocumentForClose(doc);
}
