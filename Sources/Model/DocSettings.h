// A drawing's persistent settings. Members follow the stored settings section field by field, in
// its order and with its widths (2388 bytes when stored); the comment on each is its byte offset
// there. Fields whose meaning nothing names are carried unchanged under their offset.
#pragma once

#include "Platform/MacTypes.h"

using Str11 = unsigned char[12];

constexpr SInt32 kDocSettingsStoredSize = 2388;

struct DocSettings {
    UInt16 paperFormat;            // 0
    SInt16 word2;                  // 2
    SInt16 currentLayer;           // 4: 0..1023
    SInt16 currentPen;             // 6: 1..8
    SInt16 currentLineType;        // 8
    SInt16 currentGroup;           // 10: 0 none, 1..32000
    SInt16 dimFont;                // 12
    UInt16 dimFlags;               // 14: flag word given to new dimensions
    SInt16 dimDecimals;            // 16
    SInt16 documentFont;           // 18
    UInt8 lineBreakChar;           // 20: stored as a 2-byte character
    SInt16 textJustification;      // 22: 0..8
    UInt16 textFlags;              // 24
    Str11 dimPrefix;               // 26: holds at most 10 characters
    Str11 dimSuffix;               // 38: holds at most 10 characters
    Boolean askDimensionText;      // 50: 2-byte form
    Str9 dimUnitText;              // 52
    SInt16 dimPen;                 // 62
    Boolean useDimPen;             // 64: 2-byte form
    SInt16 dimLayer;               // 66
    Boolean useDimLayer;           // 68: 2-byte form
    SInt16 words70[2];             // 70
    Boolean markNewLines;          // 74: new lines run on at both ends (flag bits 0 and 1)
    Boolean flag75;                // 75
    SInt16 textFont;               // 76
    UInt16 pageCount;              // 78
    SInt16 word80;                 // 80
    Boolean flags82[4];            // 82
    SInt16 pickAperture;           // 86: pixels, at least 2
    Boolean keepBackup;            // 88
    Boolean gridVisible;           // 89
    SInt16 word90;                 // 90
    SInt16 gridMode;               // 92
    UInt16 areasFirst;             // 94: 1 draws areas before the other kinds
    Boolean colorByPen;            // 96: 2-byte form; false takes the layer colours
    SInt16 layerSetCount;          // 98
    RGBColor penColors[8];         // 100
    SInt16 penLineKinds[8];        // 148
    SInt16 penPrintWidths[8];      // 164: device units
    SInt16 penPrintWidths2[8];     // 180
    Boolean viewFramesShown;       // 196: 2-byte form
    Str5 string198;                // 198
    SInt16 words204[3];            // 204
    Boolean flag210;               // 210: 2-byte form
    RGBColor backgroundColor;      // 212
    RGBColor selectionColor;       // 218
    RGBColor gridColor;            // 224
    RGBColor gridColor2;           // 230
    RGBColor displayColors[2];     // 236
    Boolean flag248;               // 248: 2-byte form; line-end arrowheads drawn filled
    SInt16 word250;                // 250: kept within 1..7
    UInt16 textDisplayMode;        // 252: 1 outlines only, 2 texts hidden
    SInt16 snapMode;               // 254: 0..3
    Boolean flag256;               // 256: 2-byte form
    UInt16 startMarkKind;          // 258: end marks of new lines
    UInt16 endMarkKind;            // 260
    SInt16 words262[2];            // 262
    Boolean flags266[2];           // 266
    Boolean flag268;               // 268: 2-byte form
    UInt16 undoWarnSteps;          // 270: at least 20
    UInt16 undoWarnSteps2;         // 272: auto-save step count, 20..999
    Boolean autoSaveBySteps;       // 274: 2-byte form
    UInt16 autoSaveMinutes;        // 276
    Boolean autoSaveOn;            // 278: 2-byte form
    Point point280;                // 280
    Rect windowRect;               // 284: window in screen coordinates at the last save
    SInt16 colorTableChoice;       // 292
    SInt16 words294[12];           // 294
    SInt16 words318[6];            // 318
    SInt16 option330;              // 330: 0 or 1
    UInt16 dimDisplayMode;         // 332: 0 full, 1 frame outline on screen, 2 not drawn
    SInt16 unitCode;               // 334: -4..11
    UInt16 textSize;               // 336
    SInt16 words338[3];            // 338
    Point point344;                // 344
    SInt16 words348[3];            // 348
    UInt16 gridOptionBits;         // 354
    SInt16 dimDialogPage;          // 356
    SInt16 words358[6];            // 358
    SInt16 dialog186Option;        // 370
    SInt16 optionsDialogPage;      // 372
    SInt16 words374[5];            // 374
    SInt16 word384;                // 384
    UInt16 decimals;               // 386
    SInt16 words388[3];            // 388
    Float64 drawingScale;          // 394
    Float64 textHeight;            // 402: first of ten text and dimension sizes
    Float64 textSizes[7];          // 410
    Float64 dimTerminatorSize;     // 466: terminators are three times this
    Float64 dimLineOffset;         // 474
    Float64 dimExtensionOvershoot; // 482
    Float64 dimExtensionOffset;    // 490
    Float64 dimLength2;            // 498
    Float64 currentLineWidth;      // 506
    Float64 gridX, gridY;          // 514, 522
    Float64 gridAngleX;            // 530
    Float64 gridAngleY;            // 538
    Float64 reals546[4];           // 546
    Float64 reals578[3];           // 578
    Float64 dimArrowAngle;         // 602: half opening of an arrow terminator, degrees
    Float64 penWidths[8];          // 610: millimetres
    Float64 reals674[3];           // 674
    Float64 hpglArea[4];           // 698
    Float64 pdfArea[4];            // 730
    Float64 reals762[4];           // 762
    Float64 savedOriginX;          // 794: view at the last save
    Float64 savedOriginY;          // 802
    Float64 savedUnitsPerPixel;    // 810
    Float64 extensionGap;          // 818
    Float64 chordTolerance;        // 826: 0.001..10
    Float64 reals834[2];           // 834
    Float64 printScale;            // 850
    Float64 real858;               // 858
    Float64 dimStackSpacing;       // 866
    Float64 real874;               // 874
    Float64 markSizes[7];          // 882: line-end mark sizes by kind
    Float64 dialog187Value1;       // 938
    Float64 dialog187Value2;       // 946
    Float64 customUnitFactor;      // 954
    Float64 inchPerMillimetre;     // 962
    Float64 typedCoordsRelative;   // 970: non-zero: typed coordinates are relative to the reference point
    Float64 reals978[29];          // 978
    Str255 string1210;             // 1210
    Str255 string1466;             // 1466
    Boolean undoOn;                // 1722
    Boolean flag1723;              // 1723
    Float64 reals1724[7];          // 1724
    Float64 reals1780[7];          // 1780
    Boolean flags1836[2];          // 1836
    Boolean flag1838;              // 1838: 2-byte form
    SInt16 penPatterns[8];         // 1840
    UInt16 dialogUnit;             // 1856: 1 millimetres in dialogs, else inches
    UInt16 dxfFlavour;             // 1858
    UInt16 InchesOnly;             // 1860: feet are not split off
    UInt16 InchFractionBits;       // 1862: inch fractions in 1/2^k, 0 unset
    SInt16 areaDisplayMode;        // 1864: 2 hides areas
    UInt16 lineWidthOption;        // 1866: 0 lets a wide pick aperture place parallels at once
    SInt16 words1868[13];          // 1868
    UInt16 currentPattern;         // 1894
    UInt16 currentColorIndex;      // 1896: 0..255, 65535 a custom colour
    SInt16 currentPenWidth100;     // 1898
    UInt16 penMode;                // 1900: 1 takes colour, pattern and width from the pens
    SInt16 words1902[3];           // 1902
    UInt16 plotterOptions;         // 1908
    SInt16 dashLength1;            // 1910
    SInt16 dashLength2;            // 1912
    SInt16 words1914[5];           // 1914
    UInt32 creationDate;           // 1924: seconds since 1904, set by the first save
    UInt32 saveDate;               // 1928: seconds since 1904
    UInt32 editingSeconds;         // 1932
    SInt16 words1936[2];           // 1936
    RGBColor currentColor;         // 1940
    SInt16 outputBrightness;       // 1946
    SInt16 word1948;               // 1948
    Str7 customUnitName;           // 1950
    SInt16 dialog186Option2;       // 1958
    SInt16 markerChoice;           // 1960: cursor of the marker tool, 1..7
    SInt16 animatedZoom;           // 1962: option-click zoom glides instead of a dragged rectangle
    SInt16 cornerZoom;             // 1964: the zoom rectangle is dragged from a corner
    SInt16 displaySwitch1;         // 1966
    SInt16 imagesShown;            // 1968: the second display switch
    SInt16 coordinateDisplayMode;  // 1970: 0..3
    SInt16 cursorOptions[3];       // 1972: the three cursor-option switches
    SInt16 words1978[4];           // 1978
    SInt16 headerFont;             // 1986
    SInt16 headerSize;             // 1988
    UInt16 measureMode;            // 1990: 0..3
    SInt16 word1992;               // 1992: kept non-zero
    SInt16 headerOption;           // 1994
    SInt16 words1996[5];           // 1996
    SInt16 pickAperture2;          // 2006
    SInt16 words2008[2];           // 2008
    UInt16 saveFormat;             // 2012: the save panel's format, 1..7
    UInt16 appendExtension;        // 2014: 1 gives the name the format's extension
    SInt16 words2016[186];         // 2016
};
