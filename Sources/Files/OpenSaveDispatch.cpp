// The open and save-as dispatchers and the panels they use.
#include "Files/OpenSaveDispatch.h"

#include "Exchange/DxfReader.h"
#include "Interface/DialogHooks.h"
#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Platform/AppleDouble.h"
#include "Other/BundleFiles.h"
#include "Platform/FileChoosers.h"
#include "Files/FileNames.h"
#include "Platform/Fonts.h"
#include "Platform/MacRoman.h"
#include "Files/NativeDocument.h"
#include "Files/NativeFile.h"
#include "Shell/DocumentWindow.h"
#include "Model/NewDocument.h"
#include "Other/NumberFormat.h"
#include "Platform/NumberText.h"
#include "Platform/Pictures.h"
#include "Files/Preferences.h"
#include "Platform/QuickDraw.h"
#include "Platform/ResourceFiles.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"

#include <cstring>
#include <map>
#include <vector>

namespace {

constexpr SInt16 kMsgFileNotFound = 44;
constexpr SInt16 kMsgUnknownFormat = 30;
constexpr SInt16 kMsgSymbolLibrary = 52;
constexpr SInt16 kOpenPromptItem = 16, kSavePromptItem = 14, kAlternativeSavePromptItem = 126;
constexpr SInt16 kOpenPanelTexts = 1400, kSavePanelTexts = 1401;
constexpr SInt32 kContentTestBytes = 1024;
constexpr ResType kPictureResType = 0x50494354; // 'PICT'
constexpr SInt16 kStoredPreviewPicture = 29876, kPlaceholderPicture = 16000;
constexpr SInt16 kNoPreviewText = 3;
constexpr SInt16 kPreviewBand = 24;
constexpr OSType kUpperNativeCreator = 0x56455645; // 'VEVE'

std::map<SInt16, FormatImporter>& Importers() {
    static std::map<SInt16, FormatImporter> importers;
    return importers;
}
std::map<SInt16, FormatExporter>& Exporters() {
    static std::map<SInt16, FormatExporter> exporters;
    return exporters;
}

std::string Text(SInt16 list, SInt16 item) {
    Str255 s;
    GetIndString(s, list, item);
    return PStrToUTF8(s);
}

std::string Leaf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void NameOf(const FSRef* file, Str255 name) {
    LeafNameOf(file, name);
}

bool IsNativeExtension(const std::string& upper) {
    return upper == "ZAZ" || upper == "CADX";
}

// Formats whose readers have not joined the program yet are refused with a message.
Boolean Import(SInt16 format, DocWindowRecord** slot, const FSRef* file) {
    auto it = Importers().find(format);
    if (it == Importers().end() || it->second.import == nullptr) {
        Str255 name;
        NameOf(file, name);
        ShowErrorAlert(kMsgFormatNotAvailable, name);
        return false;
    }
    return it->second.import(slot, file);
}

bool LooksLike(SInt16 format, const UInt8* bytes, SInt32 count) {
    auto it = Importers().find(format);
    return it != Importers().end() && it->second.looksLike != nullptr && it->second.looksLike(bytes, count);
}

Boolean OpenAutomatically(DocWindowRecord** slot, const FSRef* file, OSType type, const std::string& ext) {
    Str255 name;
    NameOf(file, name);
    if (type == kSymbolLibraryType) {
        ShowErrorAlert(kMsgSymbolLibrary, name);
        return false;
    }
    if (type == kPictureFileType) return Import(kOpenPicture, slot, file);
    // The content tests see only the bytes the file has.
    std::vector<UInt8> head(kContentTestBytes, 0);
    ByteCount count = 0;
    FSIORefNum fork = 0;
    OSErr err = FSOpenFork(file, fsRdPerm, &fork);
    if (err == noErr) {
        err = FSReadFork(fork, fsFromStart, 0, ByteCount(head.size()), head.data(), &count);
        if (err == eofErr) err = noErr;
        OSErr closeErr = FSCloseFork(fork);
        if (err == noErr) err = closeErr;
    }
    if (err != noErr) {
        ShowOSErrorAlert(err);
        return false;
    }
    const UInt8* bytes = head.data();
    SInt32 n = SInt32(count);
    if (ext == "STL") return Import(kOpenSTL, slot, file);
    if (ext == "CNO") return Import(kOpenCNO, slot, file);
    if (LooksLike(kOpenHPGL, bytes, n) && (ext == "HPG" || ext == "PLT" || ext == "HPGL"))
        return Import(kOpenHPGL, slot, file);
    if (LooksLike(kOpenDXF, bytes, n) && ext == "DXF") return Import(kOpenDXF, slot, file);
    if (LooksLike(kOpenIGES, bytes, n) && ext == "IGS") return Import(kOpenIGES, slot, file);
    if (LooksLike(kOpenHoleList, bytes, n) && ext == "FIX") return Import(kOpenHoleList, slot, file);
    if (LooksLike(kOpenQuotedList, bytes, n)) return Import(kOpenQuotedList, slot, file);
    if (LooksLike(kOpenSeparatedList, bytes, n)) return Import(kOpenSeparatedList, slot, file);
    const Str255 empty = {0};
    ShowErrorAlert(kMsgUnknownFormat, empty);
    return false;
}

Boolean Dispatch(DocWindowRecord** slot, const FSRef* file, OSType type) {
    std::string ext = GetUpperExtension(Leaf(file->path));
    if (type == kOldNativeFileType) return OpenDocument(slot, file, false, -1, 0, 0);
    if (IsNativeExtension(ext)) {
        if (type == kSymbolLibraryType) {
            Str255 name;
            NameOf(file, name);
            ShowErrorAlert(kMsgSymbolLibrary, name);
            return false;
        }
        return OpenDocument(slot, file, false, -1, 0, 0);
    }
    if (type == kNativeFileType) return OpenDocument(slot, file, false, -1, 0, 0);
    switch (SInt16(GeneralPrefs.openFormat)) {
    case kOpenAutomatic:
        return OpenAutomatically(slot, file, type, ext);
    case kOpenNative:
        return OpenDocument(slot, file, false, -1, 0, 0);
    case kOpenPicture:
    case kOpenDXF:
    case kOpenIGES:
    case kOpenHPGL:
    case kOpenSTL:
    case kOpenSeparatedList:
    case kOpenQuotedList:
    case kOpenFixedColumnList:
    case kOpenCNO:
        return Import(SInt16(GeneralPrefs.openFormat), slot, file);
    default: {
        // An open format the program does not know opens nothing, and says so.
        const Str255 empty = {0};
        ShowErrorAlert(kMsgUnknownFormat, empty);
        return false;
    }
    }
}

// A picture file without Finder information is known by its extension.
OSType TypeOrExtension(OSType type, const std::string& path) {
    if (type != 0) return type;
    const std::string ext = GetUpperExtension(Leaf(path));
    return ext == "PICT" || ext == "PCT" ? kPictureFileType : type;
}

OSType FinderTypeOf(const std::string& path) {
    FSRef ref;
    FInfo info{};
    if (FSMakeRef(path.c_str(), &ref) == noErr) FSGetFinderInfo(&ref, &info);
    return TypeOrExtension(info.fdType, path);
}

// A drawing as the preview knows one: its Finder type and creator, or, for a file that carries no
// Finder information (no sidecar), the extension the program opens drawings by.
bool IsPreviewedDrawing(const FSRef* file) {
    FInfo info{};
    if (FSGetFinderInfo(file, &info) != noErr) return false;
    if (info.fdType == 0 && info.fdCreator == 0)
        return IsNativeExtension(GetUpperExtension(Leaf(file->path)));
    return (info.fdType == kNativeFileType || info.fdType == kOldNativeFileType) &&
           (info.fdCreator == kNativeCreator || info.fdCreator == kUpperNativeCreator);
}

bool DrawStoredPreview(const FSRef* file, const Rect* square) {
    SInt16 res = FSOpenResFile(file, fsRdPerm);
    if (res == -1) return false;
    std::vector<UInt8> bytes;
    bool drawn = GetResourceBlock(res, kPictureResType, kStoredPreviewPicture, &bytes) &&
                 DrawPictureData(bytes.data(), bytes.size(), square);
    CloseResFile(res);
    return drawn;
}

void DrawCentred(ConstStr255Param text, SInt16 left, SInt16 right, SInt16 baseline) {
    MoveTo(SInt16(left + (right - left - StringWidth(text)) / 2), baseline);
    DrawString(text);
}

// The Open panels: the program's with its options and preview, and the plain one.
Boolean RunOpenChooser(ConstStr255Param prompt, const OSType types[4], FSRef* file, OSType* type,
                       Boolean customArea, bool withPreview) {
    OpenPanelRequest request;
    request.prompt = PStrToUTF8(prompt);
    request.folder = LastPanelFolder();
    if (withPreview)
        request.preview = [](const std::string& path, CGrafPtr, const Rect& area) {
            OpenPanelPreviewProc(path, &area);
        };
    request.withOptions = customArea != 0;
    request.placementTitle = Text(kOpenPanelTexts, 1);
    request.nativeOnlyTitle = Text(kOpenPanelTexts, 2);
    request.optionsTitle = Text(kOpenPanelTexts, 3);
    request.options = [] { gDialogHooks.importOptions(); };
    request.helpText = Text(kOpenPanelTexts, 4);
    for (SInt16 i = 0; i < 11; ++i)
        request.formats.push_back(Text(kOpenPanelTexts, SInt16(5 + i)));
    request.picturePlacement = GeneralPrefs.picturePlacement != 0;
    request.nativeOnly = GeneralPrefs.nativeOnlyInOpen != 0;
    request.format =
        SInt16(GeneralPrefs.openFormat < 1 || GeneralPrefs.openFormat > 11 ? 1 : GeneralPrefs.openFormat);
    OSType kinds[4] = {types[0], types[1], types[2], types[3]};
    request.filter = [&request, kinds](const std::string& path) {
        return OpenPanelListsFile(path, kinds, request.nativeOnly) != 0;
    };
    std::string path;
    bool chosen = RunOpenPanel(request, &path);
    if (customArea) {
        GeneralPrefs.picturePlacement = request.picturePlacement;
        GeneralPrefs.nativeOnlyInOpen = request.nativeOnly;
        GeneralPrefs.openFormat = UInt32(request.format);
    }
    if (!chosen || FSMakeRef(path.c_str(), file) != noErr) return false;
    RememberPanelFolder(path);
    if (type != nullptr) *type = FinderTypeOf(path);
    return true;
}

} // namespace

void RegisterImporter(SInt16 openFormat, const FormatImporter& importer) {
    Importers()[openFormat] = importer;
}

void RegisterExporter(SInt16 saveFormat, FormatExporter exporter) {
    Exporters()[saveFormat] = exporter;
}

std::map<SInt16, ExportOptionsDialog>& ExportOptions() {
    static std::map<SInt16, ExportOptionsDialog> dialogs;
    return dialogs;
}

void RegisterExportOptions(SInt16 saveFormat, ExportOptionsDialog dialog) {
    ExportOptions()[saveFormat] = dialog;
}

Boolean SaveFormatAvailable(const DocWindowRecord* doc, SInt16 format) {
    if (format == kSaveNative || format == kSaveStationery) return true;
    if (format < kSaveDXF || format > kSaveHoleList) return false;
    auto it = Exporters().find(format);
    if (it == Exporters().end() || it->second == nullptr) return false;
    // An empty output area (HPGL or PDF alike) leaves nothing to write in that format.
    const DocSettings* s = doc->settings;
    if (format == kSaveHPGL) return s->hpglArea[0] != s->hpglArea[2];
    if (format == kSavePDF) return s->pdfArea[0] != s->pdfArea[2];
    return true;
}

Boolean OpenPanelListsFile(const std::string& path, const OSType types[4], Boolean nativeOnly) {
    std::string leaf = Leaf(path);
    if (leaf.empty() || leaf[0] == '.') return false; // invisible, sidecars among them
    OSType type = FinderTypeOf(path);
    std::string ext = GetUpperExtension(leaf);
    bool native = type == kNativeFileType || type == kOldNativeFileType || IsNativeExtension(ext);
    if (types[0] == kAnyFileType) return !nativeOnly || native;
    for (int i = 0; i < 4; ++i)
        if (types[i] != 0 && type == types[i]) return true;
    if (types[0] == 0x54494646) // 'TIFF': the image files by extension too
        return ext == "TIF" || ext == "TIFF" || ext == "JPG" || ext == "PDF" || ext == "PNG" || ext == "PICT";
    if (types[0] == kSymbolLibraryType || types[0] == 0x4653594D) return ext == "LIB" || ext == "BIB";
    return false;
}

Boolean OpenPreviewLines(const FSRef* file, Str255 size, Str255 changed) {
    FSFileInfo info{};
    if (FSGetFileInfo(file, &info) != noErr) return false;
    std::vector<UInt8> resourceFork;
    FSReadResourceForkBytes(file, &resourceFork);
    SInt64 total = info.dataSize + SInt64(resourceFork.size());
    FormatByteSize(SInt32(total > 0x7FFFFFFF ? 0x7FFFFFFF : total), size);
    Str255 date;
    TimeString(info.modificationDate, changed);
    AppendCStr(changed, 256, ", ");
    DateString(info.modificationDate, date);
    AppendPStr(changed, 256, date);
    return true;
}

void DrawOpenPreview(const FSRef* file, const Rect* area) {
    Boolean isFolder = false;
    FSRef ref;
    if (FSPathMakeRef(file->path, &ref, &isFolder) != noErr || isFolder || !IsPreviewedDrawing(file)) return;
    SInt16 band = SInt16(area->bottom - kPreviewBand);
    SInt16 side = SInt16(std::max(0, std::min(area->right - area->left, band - area->top)));
    Rect square;
    square.left = SInt16(area->left + (area->right - area->left - side) / 2);
    square.top = SInt16(area->top + (band - area->top - side) / 2);
    square.right = SInt16(square.left + side);
    square.bottom = SInt16(square.top + side);
    GrafPtr port = nullptr;
    GetPort(&port);
    TextFont(applFont);
    TextSize(9);
    TextFace(0);
    if (!DrawStoredPreview(file, &square) && !DrawBundlePicture(kPlaceholderPicture, port, &square)) {
        Str255 none;
        GetIndString(none, kGeneralTextList, kNoPreviewText);
        DrawCentred(none, area->left, area->right, SInt16((square.top + square.bottom) / 2 + 3));
    }
    Str255 size, changed;
    if (!OpenPreviewLines(file, size, changed)) return;
    DrawCentred(size, area->left, area->right, SInt16(band + 10));
    DrawCentred(changed, area->left, area->right, SInt16(band + 21));
}

Boolean OpenPanelPreviewProc(const std::string& path, const Rect* area) {
    FSRef file;
    if (path.empty() || FSMakeRef(path.c_str(), &file) != noErr) return false;
    DrawOpenPreview(&file, area);
    return true;
}

Boolean OpenPanelWithOptions(ConstStr255Param prompt, const OSType types[4], FSRef* file, OSType* type,
                             Boolean customArea) {
    return RunOpenChooser(prompt, types, file, type, customArea, true);
}

std::string SetExportExtension(const DocWindowRecord* doc, const std::string& name, SInt16 format) {
    if (doc->settings->appendExtension != 1) return name;
    // Only an extension that ends the name is the old format's: "Report.pdf.notes" keeps its ".pdf".
    std::string result = name;
    for (bool removed = true; removed;) {
        removed = false;
        for (const char* known : {".ZAZ", ".CADX", ".DXF", ".HPGL", ".PDF", ".IGS", ".FIX"}) {
            const size_t length = std::strlen(known);
            if (result.size() <= length) continue; // a name that is only an extension stays a name
            const size_t at = result.size() - length;
            bool same = true;
            for (size_t i = 0; i < length && same; ++i) {
                char c = result[at + i];
                if (c >= 'a' && c <= 'z') c = char(c - 32);
                same = c == known[i];
            }
            if (!same) continue;
            result.erase(at);
            removed = true;
        }
    }
    static const char* const kExtensions[] = {".cadx", ".cadx", ".DXF", ".HPGL", ".PDF", ".IGS", ".FIX"};
    if (format >= 1 && format <= 7) result += kExtensions[format - 1];
    return result;
}

Boolean SavePanel(DocWindowRecord* doc, ConstStr255Param prompt, FSRef* file, Boolean withFormats) {
    DocSettings* s = doc->settings;
    DrawingRecord* d = doc->drawing;
    SavePanelRequest request;
    request.prompt = PStrToUTF8(prompt);
    if (d->file.path[0] != 0) {
        std::string path = d->file.path;
        request.folder = path.substr(0, path.rfind('/'));
        request.proposedName = Leaf(path);
    } else {
        request.folder = LastPanelFolder();
        request.proposedName = PStrToUTF8(d->documentName);
    }
    request.withFormats = withFormats != 0;
    for (SInt16 f = kSaveNative; f <= kSaveHoleList; ++f) {
        request.formats.push_back(Text(kSavePanelTexts, SInt16(2 + f)));
        request.formatEnabled.push_back(SaveFormatAvailable(doc, f));
    }
    SInt16 format = SInt16(s->saveFormat);
    if (!SaveFormatAvailable(doc, format)) format = kSaveNative;
    request.format = format;
    request.extensionTitle = Text(kSavePanelTexts, 1);
    request.optionsTitle = Text(kSavePanelTexts, 2);
    request.appendExtension = s->appendExtension == 1;
    request.optionsEnabled = [](SInt16 f) {
        return f == kSaveDXF || f == kSaveHPGL || f == kSaveIGES || f == kSaveHoleList;
    };
    request.options = [doc](SInt16 f) {
        auto it = ExportOptions().find(f);
        if (it != ExportOptions().end() && it->second != nullptr) it->second(doc);
    };
    request.renameFor = [doc](const std::string& name, SInt16 f, bool append) {
        doc->settings->appendExtension = append ? 1 : 0;
        return SetExportExtension(doc, name, f);
    };
    if (withFormats) request.proposedName = SetExportExtension(doc, request.proposedName, format);
    std::string path;
    bool chosen = RunSavePanel(request, &path);
    if (withFormats) {
        s->saveFormat = UInt16(request.format);
        s->appendExtension = request.appendExtension ? 1 : 0;
    }
    if (!chosen || FSMakeRef(path.c_str(), file) != noErr) return false;
    RememberPanelFolder(path);
    return true;
}

Boolean ChooseOpenFile(OSType type, FSRef* file) {
    const OSType types[4] = {type, type == kSymbolLibraryType ? OSType(0x4653594D) : 0, 0, 0};
    return RunOpenChooser(reinterpret_cast<const UInt8*>("\0"), types, file, nullptr, false, false);
}

Boolean ChooseSaveFile(FSRef* file, ConstStr255Param prompt, ConstStr255Param proposedName) {
    SavePanelRequest request;
    request.prompt = PStrToUTF8(prompt);
    request.folder = LastPanelFolder();
    request.proposedName = PStrToUTF8(proposedName);
    std::string path;
    if (!RunSavePanel(request, &path) || FSMakeRef(path.c_str(), file) != noErr) return false;
    RememberPanelFolder(path);
    return true;
}

Boolean OpenDocumentFile(DocWindowRecord** slot, const FSRef* file) {
    *slot = nullptr;
    FSRef chosen;
    OSType type = 0;
    Boolean result = false;
    if (file == nullptr || file->path[0] == 0) {
        Str255 prompt;
        GetStr128(kOpenPromptItem, prompt);
        const OSType any[4] = {kAnyFileType, 0, 0, 0};
        if (!OpenPanelWithOptions(prompt, any, &chosen, &type, true)) return false;
        result = Dispatch(slot, &chosen, type);
    } else {
        FInfo info{};
        OSErr err = FSGetFinderInfo(file, &info);
        if (err != noErr) {
            if (err == fnfErr) {
                Str255 text;
                NameOf(file, text);
                ShowErrorAlert(kMsgFileNotFound, text, err);
            } else {
                ShowOSErrorAlert(err);
            }
            return false;
        }
        result = Dispatch(slot, file, TypeOrExtension(info.fdType, file->path));
    }
    RebuildWindowMenu();
    return result;
}

Boolean FilePanelsAvailable() {
    return true;
}

void SaveDocumentAs(DocWindowRecord* doc, SInt16 withFormats, SInt16 selectionOnly, SInt16 alternativePrompt,
                    SInt16 keepChangedMark, Boolean* result, SInt16 restore) {
    if (result != nullptr) *result = false;
    DrawingRecord* d = doc->drawing;
    FSRef keptFile = d->file;
    Boolean keptLongName = d->hasLongName;
    Boolean keptHasFile = d->hasFile;
    Str255 keptName;
    AssignStr255(keptName, d->documentName);
    std::string keptUnicode = d->unicodeName;
    UInt32 keptUnicodeFlag = d->unicodeNameFlag;

    Str255 prompt;
    if (alternativePrompt)
        GetIndString(prompt, kGeneralTextList, kAlternativeSavePromptItem);
    else
        GetStr128(kSavePromptItem, prompt);
    FSRef chosen;
    if (!SavePanel(doc, prompt, &chosen, withFormats)) return;

    SInt16 format = withFormats ? SInt16(doc->settings->saveFormat) : SInt16(kSaveNative);
    Boolean saved = false;
    if (format == kSaveNative || format == kSaveStationery) {
        d->file = chosen;
        d->hasLongName = true;
        if (format == kSaveNative) AdoptFileName(doc, &chosen);
        saved = SaveDocument(doc, true, selectionOnly != 0, false, keepChangedMark != 0,
                             format == kSaveStationery);
    } else {
        auto it = Exporters().find(format);
        Str255 name;
        NameOf(&chosen, name);
        if (it == Exporters().end() || it->second == nullptr)
            ShowErrorAlert(kMsgFormatNotAvailable, name);
        else
            it->second(doc, &chosen);
    }
    if (result != nullptr) *result = saved;
    // Stationery and exports are copies, and a failed save made no new file: the document stays
    // with its own file.
    if (restore || format != kSaveNative || !saved) {
        d->file = keptFile;
        if (!saved) d->hasFile = keptHasFile;
        d->hasLongName = keptLongName;
        AssignStr255(d->documentName, keptName);
        std::strncpy(d->unicodeName, keptUnicode.c_str(), sizeof d->unicodeName - 1);
        d->unicodeNameFlag = keptUnicodeFlag;
        if (doc->window != nullptr) RefreshWindowTitle(doc);
    }
}
