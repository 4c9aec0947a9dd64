// Dialog 146, the scale rule of its field 7 and the paper templates an empty drawing takes.
#include "Files/TitleBlock.h"

#include "Files/FileCommands.h"
#include "Files/NativeDocument.h"
#include "Files/NativeFile.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/Preferences.h"
#include "Model/DocSettings.h"
#include "Other/BundleFiles.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Other/ZEZUdivari.h"
#include "Platform/FileManager.h"
#include "Platform/MacRoman.h"
#include "Shell/KeyDispatch.h"
#include "Model/DocumentHooks.h"
#include "Tools/TextEditing.h"
#include "View/ContentPasses.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr SInt16 kOKItem = 1;
constexpr SInt16 kCancelItem = 2;
constexpr SInt16 kScaleField = 7;
constexpr SInt16 kPaperField = 6;
constexpr UInt8 kScaleNumberLength = 19;
constexpr SInt16 kTemplatePrompt = 79;
constexpr int kPaperTemplateLayer = 1023;

const char* const kTemplateFiles[kPaperTemplateCount] = {"A4.cadx", "4A.cadx", "A3.cadx",
                                                         "A2.cadx", "A1.cadx", "A0.cadx"};

Boolean DrawingHoldsDrawnElements(const DocWindowRecord* doc) {
    return doc->lineHead->next != nullptr || doc->arcHead->next != nullptr ||
           doc->textHead->next != nullptr || doc->dimensionHead->next != nullptr;
}

std::string TemplatePath(SInt16 index) {
    FSRef folder{};
    if (FindResourcesFolder(&folder) != noErr) return {};
    return std::string(folder.path) + "/English.lproj/Pages/" + kTemplateFiles[index - 1];
}

// The folder of the template the user last located, with this template's name in it.
std::string RememberedTemplatePath(SInt16 index) {
    const UInt8* spec = GeneralPrefs.paperTemplateSpec;
    if (spec[0] == 0 || spec[0] >= sizeof GeneralPrefs.paperTemplateSpec) return {};
    std::string chosen(reinterpret_cast<const char*>(spec + 1), spec[0]);
    size_t slash = chosen.rfind('/');
    if (slash == std::string::npos) return {};
    return chosen.substr(0, slash + 1) + kTemplateFiles[index - 1];
}

void RememberTemplate(const FSRef* file) {
    UInt8* spec = GeneralPrefs.paperTemplateSpec;
    size_t length = std::strlen(file->path);
    // A path too long for the slot is not kept rather than kept cut.
    if (length >= sizeof GeneralPrefs.paperTemplateSpec) length = 0;
    std::memset(spec, 0, sizeof GeneralPrefs.paperTemplateSpec);
    spec[0] = UInt8(length);
    std::memcpy(spec + 1, file->path, length);
    SavePreferences();
}

Boolean FindTemplate(SInt16 index, FSRef* file) {
    for (const std::string& path : {TemplatePath(index), RememberedTemplatePath(index)})
        if (!path.empty() && FSMakeRef(path.c_str(), file) == noErr && FSRefExists(file)) return true;
    Str255 prompt;
    GetAppString(kTemplatePrompt, prompt);
    const OSType types[4] = {kOldNativeFileType, kNativeFileType, kNativeFileType, kNativeFileType};
    OSType type = 0;
    if (!OpenPanelWithOptions(prompt, types, file, &type, true)) return false;
    RememberTemplate(file);
    return true;
}

} // namespace

void PaperTemplateName(SInt16 index, Str255 name) {
    if (index < 1 || index > kPaperTemplateCount) return;
    UTF8ToPStr(kTemplateFiles[index - 1], name, 255);
}

SInt16 PaperIndexForFormat(ConstStr255Param format) {
    static const SInt16 kNames[][2] = {{145, 1}, {73, 1}, {74, 2}, {75, 3}, {76, 4}, {77, 5}, {78, 6}};
    for (const auto& [item, index] : kNames) {
        Str255 name;
        GetAppString(item, name);
        if (name[0] != 0 && EqualPStr(name, format)) return index;
    }
    return 0;
}

Boolean ApplyTitleBlockScale(DocWindowRecord* doc, ConstStr255Param field) {
    const unsigned char* colon = static_cast<const unsigned char*>(std::memchr(field + 1, ':', field[0]));
    if (colon == nullptr) return false;
    Str255 first, second;
    SInt16 at = SInt16(colon - field);
    PStrMid(field, 1, SInt16(std::min<int>(at - 1, kScaleNumberLength)), first);
    PStrMid(field, SInt16(at + 1), kScaleNumberLength, second);
    double a = ParseReal(first), b = ParseReal(second);
    // Zero, negative or unreadable numbers would give a drawing no view can show.
    if (!(a > 0) || !(b > 0)) return false;
    double scale = a / b;
    if (!std::isfinite(scale) || !(scale > 0)) return false;
    doc->settings->drawingScale = scale;
    return true;
}

void StoreTitleBlockField(TitleBlockStrings* block, int n, ConstStr255Param text) {
    StringPtr field = TitleBlockField(block, n);
    if (field != nullptr) AssignStrN(field, text, kTitleBlockCapacities[n - 1]);
}

Boolean LoadPaperTemplate(DocWindowRecord* doc, SInt16 index) {
    if (doc == nullptr || index < 1 || index > kPaperTemplateCount) return false;
    FSRef file{};
    if (!FindTemplate(index, &file)) return false;
    DocWindowRecord* slot = doc;
    if (!OpenDocument(&slot, &file, true, kPaperTemplateLayer, 0, 0)) return false;
    doc->settings->paperFormat = UInt16(index);
    return true;
}

Float64 NormalizeAngle180(Float64 angle) {
    if (!std::isfinite(angle)) return angle;
    angle = std::fmod(angle, 180.0);
    if (angle < 0) angle += 180;
    return angle >= 180 ? 0 : angle;
}

void TitleBlockDialog(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing->titleBlock == nullptr) return;
    TitleBlockStrings* block = doc->drawing->titleBlock;
    DialogRef dialog = OpenModalDialog(kTitleBlockDialog, DialogPositionTable[0]);
    if (dialog == nullptr) return;
    for (int n = 1; n <= kTitleBlockFieldCount; ++n)
        SetItemText(dialog, SInt16(kTitleBlockFirstField + n - 1), TitleBlockField(block, n));
    SelectItemText(dialog, kTitleBlockFirstField);
    SInt16 item = 0;
    do
        RunModalDialogStd(dialog, &item);
    while (item != kOKItem && item != kCancelItem);
    if (item == kOKItem) {
        MarkDocumentChanged(doc);
        for (int n = 1; n <= kTitleBlockFieldCount; ++n) {
            Str255 text;
            GetItemText(dialog, SInt16(kTitleBlockFirstField + n - 1), text);
            StoreTitleBlockField(block, n, text);
        }
        ApplyTitleBlockScale(doc, TitleBlockField(block, kScaleField));
    }
    CloseModalDialog(dialog, &DialogPositionTable[0]);
    gDocumentHooks.updateStatusArea(doc, true);
    if (item != kOKItem) return;
    if (!DrawingHoldsDrawnElements(doc)) {
        if (SInt16 index = PaperIndexForFormat(TitleBlockField(block, kPaperField)); index != 0)
            LoadPaperTemplate(doc, index);
        FitExtentsButton(doc, 1, 0);
    }
    RefreshAllFieldTexts(doc);
    UpdateViewExtent(doc, true);
}
