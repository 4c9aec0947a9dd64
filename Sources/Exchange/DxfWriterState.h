// What the DXF writer keeps during one export: the output buffer and its errors, the settings it
// writes by, the layer and block names, the counters of anonymous blocks.
#pragma once

#include "Exchange/DxfCodePages.h"
#include "Model/DocumentRecords.h"
#include "Platform/FileManager.h"

#include <string>
#include <vector>

struct DXFBlockName {
    std::string dxfName;
    const SymbolDefRecord* definition;
};

struct DXFWriter {
    DocWindowRecord* doc = nullptr;
    UInt16 flavour = 0; // 0..3
    Boolean threeD = false;
    UInt32 codePage = kDXFDefaultCodePage; // 0..14
    Boolean colourByElement = false;
    DXFTextEncoder encoder; // what texts are written in: the declared code page, else ASCII
    RGBColor palette[256]{};
    std::vector<std::string> layerNames; // 1024 slots, DXF names of the layers in use
    std::vector<DXFBlockName> blockNames;
    SInt16 dimensionBlocks = 0; // "*D" counter
    SInt16 areaBlocks = 0;      // "*x" counter
    UInt32 nextHandle = 1;      // the tables' handles, in the flavours that declare R2000
    UInt32 handleSeed = 1;      // above all of them

    FSIORefNum ref = -1;
    std::string buffer;
    OSErr error = noErr;
    SInt32 lines = 0;
    SInt32 total = 0, done = 0, lastPercent = -1;

    void Line(const std::string& text);
    void Flush();
    void Code(int code);
    void Int(int code, SInt16 value);
    void Real(int code, double value);
    void Str(int code, const std::string& text);  // written as it stands
    void Text(int code, const std::string& utf8); // an element's text: mapped to the code page
    void Section(const char* name);
    void EndSection();
    void Step(int steps = 1);
    Boolean Subclasses() const { return flavour >= 2; }
};

// Entities and blocks.
void WriteDXFEntityHead(DXFWriter& w, const char* name, SInt16 layer, SInt16 lineType, UInt16 colourCode,
                        const RGBColor& colour, Boolean inBlock);
void MakeDXFBlockNames(DXFWriter& w);
void WriteDXFBlocks(DXFWriter& w);
void WriteDXFElements(DXFWriter& w, LineRecord* lines, ArcRecord* arcs, TextRecord* texts,
                      DimensionRecord* dimensions, PolylineRecord* polylines, AreaRecord* areas,
                      SymbolInstanceRecord* instances, Boolean inBlock);
// Whether a dimension is written (and so takes a "*D" number in both passes).
Boolean DXFWritesDimension(const DimensionRecord* d);
