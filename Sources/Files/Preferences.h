// The application's preferences: GeneralPrefs, the function-key table, the recent files and the
// defaults for new drawings, kept as blocks of bytes under fixed keys of the preferences store, and
// the window and palette positions that ride on them.
#pragma once

#include "Model/DocumentRecords.h"

#include <string>

extern const UInt8 kApplicationId[]; // "com.quarnwell.draftwerk", length-prefixed

#pragma pack(push, 1)
// A palette's remembered state: shown, top-left (global), size.
struct PaletteState {
    UInt32 shown;
    Point topLeft;
    UInt32 width;
    UInt32 height;
};

// The application preferences record, stored whole as its 1694-byte little-endian image under
// "generalv2". Comments give the byte offsets; the reserved bytes are carried unchanged.
struct GeneralPrefsRecord {
    UInt8 titleBlockForNewDrawings; // 0
    UInt8 newDrawingAtStart;        // 1
    UInt8 openDialogAtStart;        // 2: wins over offset 1
    UInt8 flag3;                    // 3
    UInt8 paperTemplateSpec[70];    // 4: the paper template the user last located
    UInt8 picturePlacement;         // 74: first check box of the Open dialog
    UInt8 showSplash;               // 75
    UInt8 reserved76[4];
    UInt32 importOption22;   // 80
    UInt32 importOption23;   // 84
    UInt32 importDimensions; // 88: 1 native dimensions, 0 dimension blocks
    UInt8 reserved92[4];
    Float64 importScale;   // 96
    UInt32 importOption24; // 104
    UInt32 codePage;       // 108
    UInt16 kept112;        // 112
    UInt16 kept114;        // 114
    UInt8 reserved116[2];
    UInt16 kept118; // 118
    UInt8 reserved120[2];
    UInt32 nativeOnlyInOpen; // 122: the Open dialog lists only drawings when it lists every type
    UInt32 importRadio26;    // 126
    UInt32 igesExportOption; // 130
    UInt32 importOption20;   // 134
    UInt32 customIcon;       // 138: saved drawings get an icon made from their preview
    UInt8 reserved142[4];
    UInt32 holeListSortAxis;       // 146
    UInt32 holeListSortDirection;  // 150
    UInt32 toolPaletteShown;       // 154
    Point toolPaletteTopLeft;      // 158
    UInt32 toolPaletteOrientation; // 162: 0 upright, 1 across
    PaletteState infoWindow;       // 166
    PaletteState symbolPalette;    // 182
    PaletteState presetsPalette;   // 198
    PaletteState colorPalette;     // 214
    PaletteState layerSetsPalette; // 230
    PaletteState patternPalette;   // 246
    PaletteState viewsPalette;     // 262
    UInt32 coordBarShown;          // 278
    UInt32 currentSubTool;         // 282
    UInt32 currentToolGroup;       // 286
    UInt32 lastSubTool[12];        // 290
    UInt8 reserved338[4];
    UInt32 dxfExportOption; // 342
    UInt8 reserved346[8];
    UInt32 openFormat;      // 354: 1..11, the Open dialog's format
    Str255 fieldSeparator;  // 358
    Str255 commentMark;     // 614
    Str255 endMarker;       // 870
    UInt32 objectInfoShown; // 1126
    UInt8 reserved1130[16];
    Str255 appFont1; // 1146
    Str255 appFont2; // 1402
    UInt8 reserved1658[4];
    UInt32 wheelZoom;               // 1662
    UInt32 autoUpdateCheck;         // 1666
    UInt32 lastUpdateCheck;         // 1670
    UInt32 toolPaletteSingleColumn; // 1674
    UInt32 option1678;              // 1678: preferences item 23, kept for the user
    UInt32 recentFullPaths;         // 1682
    Point coordBarTopLeft;          // 1686
    UInt32 roundLineCaps;           // 1690
};
#pragma pack(pop)
static_assert(sizeof(GeneralPrefsRecord) == 1694);

struct FunctionKeySlot {
    SInt16 menu;
    SInt16 item;
};
constexpr int kFunctionKeySlots = 401;

extern GeneralPrefsRecord GeneralPrefs;
extern FunctionKeySlot FunctionKeyTable[kFunctionKeySlots];

// The recent files, newest first, at most ten.
constexpr int kRecentFileLimit = 10;
constexpr SInt16 kRecentMenuId = 172;
void AddRecentFile(const FSRef* file);
SInt16 RecentFileCount();
Boolean GetRecentFile(SInt16 index, FSRef* file); // index from 0
void ClearRecentFiles();
// Drops entries whose files are gone and rebuilds the Open Recent menu when it exists: one item
// per file, a separator and the item that clears the list.
void RebuildRecentMenu();

// The folder the file panels start in: where a file was last chosen in one ("last folder", kept at
// once so that it outlives a crash); empty when none was.
std::string LastPanelFolder();
void RememberPanelFolder(const std::string& chosenFile);

// Defaults, then the stored "generalv2", "function keys" and recent files.
void LoadPreferences();
// Palette positions captured, the three kinds written, the store synchronised. Keys of recent-file
// slots that hold nothing are removed.
void SavePreferences();
void SetDefaultGeneralPrefs();

// Palettes register how their state is taken and shown, so that the preferences remember them.
struct PaletteHooks {
    Boolean (*capture)(PaletteState* state); // false when the palette does not exist
    void (*restore)(const PaletteState* state, DocWindowRecord* doc);
};
enum class PaletteSlot { tool, info, symbols, presets, colors, layerSets, patterns, views, coordBar, count };
void RegisterPaletteHooks(PaletteSlot slot, const PaletteHooks& hooks);
void CapturePaletteWindowPositions();
void RestorePaletteWindows(DocWindowRecord* doc);

// Defaults for new drawings: "standard", "layer visible", "layer colors".
void LoadDocumentDefaults(DocWindowRecord* doc);
Boolean SaveDocumentDefaults(DocWindowRecord* doc);
Boolean ResetDocumentDefaults();
// Window rectangle (global) and view into the settings, before every save.
void StoreDocumentWindowState(DocWindowRecord* doc);
// Repairs missing settings and restores the window and the view from them.
void MoveWindowOnScreen(DocWindowRecord* doc);
