// Preferences: defaults, loading and saving the stored blocks, recent files, palette positions and
// the document defaults with the window state they carry.
#include "Files/Preferences.h"

#include "Platform/AppResources.h"
#include "Files/DocSettingsCodec.h"
#include "Shell/DocumentWindow.h"
#include "Platform/MacRoman.h"
#include "Platform/Menus.h"
#include "Model/NewDocument.h"
#include "Platform/PreferencesStore.h"
#include "Platform/Windows.h"
#include "View/ZoomExtents.h"
#include "Other/ZEZUdivari.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the preference records are stored as little-endian memory images");

const UInt8 kApplicationId[] = "\x17"
                               "com.quarnwell.draftwerk";

GeneralPrefsRecord GeneralPrefs;
FunctionKeySlot FunctionKeyTable[kFunctionKeySlots];

namespace {

constexpr SInt16 kClearRecentItem = 600;

std::vector<std::string> gRecentFiles;
PaletteHooks gPaletteHooks[size_t(PaletteSlot::count)];

void Key(Str255 out, const char* text) {
    CStrToPStr(out, 256, text);
}

// "last files" for slot 0, "last files n" for slots 1 to 9.
void RecentKey(Str255 out, int slot) {
    char text[32];
    if (slot == 0)
        std::snprintf(text, sizeof text, "last files");
    else
        std::snprintf(text, sizeof text, "last files %d", slot);
    Key(out, text);
}

bool FileExists(const std::string& path) {
    FSRef ref;
    return FSMakeRef(path.c_str(), &ref) == noErr && FSRefExists(&ref);
}

std::string Leaf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads a stored block over its defaults, the tail beyond the stored length keeping them.
void ReadBlock(const char* key, void* record, Size size) {
    Str255 k;
    Key(k, key);
    PrefGetData(k, size, record, kApplicationId);
}

void WriteBlock(const char* key, const void* record, Size size) {
    Str255 k;
    Key(k, key);
    PrefSetData(k, size, record, kApplicationId);
}

} // namespace

void SetDefaultGeneralPrefs() {
    std::memset(&GeneralPrefs, 0, sizeof GeneralPrefs);
    GeneralPrefsRecord& g = GeneralPrefs;
    g.titleBlockForNewDrawings = 1;
    g.flag3 = 1;
    g.showSplash = 1;
    g.importOption22 = 1;
    g.importOption23 = 1;
    g.importDimensions = 1;
    g.importScale = 1.0;
    g.codePage = 6;
    g.kept112 = 9600;
    g.kept114 = 1;
    g.kept118 = 8;
    g.importOption20 = 1;
    g.customIcon = 1;
    g.toolPaletteShown = 1;
    g.coordBarShown = 1;
    g.recentFullPaths = 1;
    g.roundLineCaps = 1;
    CStrToPStr(g.fieldSeparator, 256, ",");
    CStrToPStr(g.commentMark, 256, "#");
    CStrToPStr(g.endMarker, 256, "EOF");
}

void LoadPreferences() {
    SetDefaultGeneralPrefs();
    gRecentFiles.clear();
    PrefAddSuite(false, kApplicationId);
    ReadBlock("generalv2", &GeneralPrefs, sizeof GeneralPrefs);
    ReadBlock("function keys", FunctionKeyTable, sizeof FunctionKeyTable);
    for (int slot = 0; slot < kRecentFileLimit; ++slot) {
        Str255 key;
        RecentKey(key, slot);
        Size length = PrefDataLength(key, kApplicationId);
        if (length <= 0 || length >= Size(kFSRefPathCapacity)) continue;
        std::string path(size_t(length), '\0');
        PrefGetData(key, length, path.data(), kApplicationId);
        if (path.find('\0') == std::string::npos && path[0] == '/') gRecentFiles.push_back(path);
    }
    RebuildRecentMenu();
}

void SavePreferences() {
    CapturePaletteWindowPositions();
    WriteBlock("generalv2", &GeneralPrefs, sizeof GeneralPrefs);
    WriteBlock("function keys", FunctionKeyTable, sizeof FunctionKeyTable);
    std::vector<std::string> kept;
    for (const std::string& path : gRecentFiles)
        if (FileExists(path)) kept.push_back(path);
    for (int slot = 0; slot < kRecentFileLimit; ++slot) {
        Str255 key;
        RecentKey(key, slot);
        // A slot without an entry loses its key, so no older entry comes back at the next start.
        if (size_t(slot) < kept.size())
            PrefSetData(key, Size(kept[size_t(slot)].size()), kept[size_t(slot)].data(), kApplicationId);
        else
            PrefSetData(key, 0, nullptr, kApplicationId);
    }
    PrefAppSynchronize(kApplicationId);
}

void AddRecentFile(const FSRef* file) {
    if (file == nullptr || file->path[0] != '/') return;
    std::string path = file->path;
    for (auto it = gRecentFiles.begin(); it != gRecentFiles.end(); ++it)
        if (*it == path) {
            gRecentFiles.erase(it);
            break;
        }
    gRecentFiles.insert(gRecentFiles.begin(), path);
    if (gRecentFiles.size() > size_t(kRecentFileLimit)) gRecentFiles.resize(kRecentFileLimit);
    RebuildRecentMenu();
}

std::string LastPanelFolder() {
    Str255 key;
    Key(key, "last folder");
    std::string folder(size_t(PrefDataLength(key, kApplicationId)), '\0');
    PrefGetData(key, Size(folder.size()), folder.data(), kApplicationId);
    return folder;
}

void RememberPanelFolder(const std::string& chosenFile) {
    size_t slash = chosenFile.rfind('/');
    if (chosenFile.empty() || chosenFile[0] != '/' || slash == std::string::npos) return;
    std::string folder = slash == 0 ? std::string("/") : chosenFile.substr(0, slash);
    Str255 key;
    Key(key, "last folder");
    PrefSetData(key, Size(folder.size()), folder.data(), kApplicationId);
    PrefAppSynchronize(kApplicationId);
}

SInt16 RecentFileCount() {
    return SInt16(gRecentFiles.size());
}

Boolean GetRecentFile(SInt16 index, FSRef* file) {
    if (index < 0 || size_t(index) >= gRecentFiles.size()) return false;
    return FSMakeRef(gRecentFiles[size_t(index)].c_str(), file) == noErr;
}

void ClearRecentFiles() {
    gRecentFiles.clear();
    RebuildRecentMenu();
}

void RebuildRecentMenu() {
    std::vector<std::string> kept;
    for (const std::string& path : gRecentFiles)
        if (FileExists(path)) kept.push_back(path);
    gRecentFiles = kept;
    MenuRef menu = GetMenuHandle(kRecentMenuId);
    if (menu == nullptr) return;
    DeleteMenuItems(menu, 1, UInt32(CountMenuItems(menu)));
    for (const std::string& path : gRecentFiles) {
        Str255 text;
        UTF8ToPStr(GeneralPrefs.recentFullPaths != 0 ? path : Leaf(path), text, 255);
        AppendMenuItemText(menu, text);
    }
    Str255 clear;
    GetIndString(clear, kGeneralTextList, kClearRecentItem);
    if (!gRecentFiles.empty()) AppendMenu(menu, reinterpret_cast<const UInt8*>("\x01-"));
    AppendMenuItemText(menu, clear);
}

void RegisterPaletteHooks(PaletteSlot slot, const PaletteHooks& hooks) {
    gPaletteHooks[size_t(slot)] = hooks;
}

void CapturePaletteWindowPositions() {
    GeneralPrefsRecord& g = GeneralPrefs;
    PaletteState* states[] = {nullptr,           &g.infoWindow,   &g.symbolPalette,
                              &g.presetsPalette, &g.colorPalette, &g.layerSetsPalette,
                              &g.patternPalette, &g.viewsPalette, nullptr};
    for (size_t i = 0; i < size_t(PaletteSlot::count); ++i) {
        if (gPaletteHooks[i].capture == nullptr) continue;
        PaletteState state{};
        if (!gPaletteHooks[i].capture(&state)) continue;
        if (states[i] != nullptr) {
            *states[i] = state;
        } else if (PaletteSlot(i) == PaletteSlot::tool) {
            g.toolPaletteTopLeft = state.topLeft; // the tool palette keeps only its position
        } else {
            g.coordBarTopLeft = state.topLeft;
        }
    }
}

void RestorePaletteWindows(DocWindowRecord* doc) {
    GeneralPrefsRecord& g = GeneralPrefs;
    auto restore = [&](PaletteSlot slot, const PaletteState& state) {
        if (gPaletteHooks[size_t(slot)].restore != nullptr) gPaletteHooks[size_t(slot)].restore(&state, doc);
    };
    restore(PaletteSlot::coordBar, PaletteState{g.coordBarShown, g.coordBarTopLeft, 0, 0});
    restore(PaletteSlot::tool,
            PaletteState{g.toolPaletteShown, g.toolPaletteTopLeft, g.toolPaletteOrientation, 0});
    restore(PaletteSlot::info, g.infoWindow);
    restore(PaletteSlot::symbols, g.symbolPalette);
    restore(PaletteSlot::presets, g.presetsPalette);
    restore(PaletteSlot::layerSets, g.layerSetsPalette);
    restore(PaletteSlot::colors, g.colorPalette);
    restore(PaletteSlot::patterns, g.patternPalette);
    restore(PaletteSlot::views, g.viewsPalette);
}

void LoadDocumentDefaults(DocWindowRecord* doc) {
    DocSettings* s = doc->settings;
    // Fields that belong to the open document, not to the defaults.
    UInt32 creationDate = s->creationDate;
    UInt32 saveDate = s->saveDate, editingSeconds = s->editingSeconds;
    std::vector<UInt8> image(kDocSettingsStoredSize);
    EncodeDocSettingsLE(s, image.data());
    ReadBlock("standard", image.data(), kDocSettingsStoredSize);
    DecodeDocSettingsLE(image.data(), s);
    ReadBlock("layer visible", doc->layerVisible->bits, sizeof doc->layerVisible->bits);
    ReadBlock("layer colors", doc->layerColors->colors, sizeof doc->layerColors->colors);
    MoveWindowOnScreen(doc);
    for (int i = 0; i < 4; ++i)
        s->hpglArea[i] = s->pdfArea[i] = 0.0;
    s->creationDate = creationDate;
    s->saveDate = saveDate;
    s->editingSeconds = editingSeconds;
}

Boolean SaveDocumentDefaults(DocWindowRecord* doc) {
    StoreDocumentWindowState(doc);
    std::vector<UInt8> image(kDocSettingsStoredSize);
    EncodeDocSettingsLE(doc->settings, image.data());
    WriteBlock("standard", image.data(), kDocSettingsStoredSize);
    WriteBlock("layer visible", doc->layerVisible->bits, sizeof doc->layerVisible->bits);
    WriteBlock("layer colors", doc->layerColors->colors, sizeof doc->layerColors->colors);
    PrefAppSynchronize(kApplicationId);
    return true;
}

Boolean ResetDocumentDefaults() {
    for (const char* key : {"standard", "layer visible", "layer colors"})
        WriteBlock(key, nullptr, 0);
    PrefAppSynchronize(kApplicationId);
    return true;
}

void StoreDocumentWindowState(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    if (doc->window != nullptr) GetWindowContentBounds(doc->window, &doc->settings->windowRect);
    doc->settings->savedOriginX = d->view.originX;
    doc->settings->savedOriginY = d->view.originY;
    doc->settings->savedUnitsPerPixel = d->view.unitsPerPixel;
}

void MoveWindowOnScreen(DocWindowRecord* doc) {
    DocSettings* s = doc->settings;
    DrawingRecord* d = doc->drawing;
    if (s->real874 == 0.0) s->real874 = 1.0;
    for (Float64& size : s->markSizes)
        if (size == 0.0) size = 10.0;
    if (!(s->reals834[0] > 1.0 && s->reals834[0] <= 80.0)) s->reals834[0] = 7.5;
    if (s->savedUnitsPerPixel != 0.0) {
        SetViewScale(d, s->savedUnitsPerPixel);
        SetViewOrigin(d, s->savedOriginX, s->savedOriginY);
    }
    if (s->currentPenWidth100 == 0) s->currentPenWidth100 = 35;
    if (s->currentColorIndex == 0) s->currentColorIndex = 255;
    const Rect& r = s->windowRect;
    Point topLeft{SInt16(r.top - 22), r.left}, bottomRight{r.bottom, r.right};
    if (doc->window != nullptr && r.bottom > r.top && r.right > r.left && PointIsOnDesktop(topLeft) &&
        PointIsOnDesktop(bottomRight)) {
        MoveWindow(doc->window, r.left, r.top, false);
        LayoutDocumentWindow(doc, SInt16(r.right - r.left), SInt16(r.bottom - r.top), 0);
        if (s->savedUnitsPerPixel != 0.0) SetViewOrigin(d, d->view.originX, s->savedOriginY);
    }
    if (s->printScale == 0.0) s->printScale = 1.0;
}
