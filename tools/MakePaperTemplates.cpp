// Writes the six paper templates (frame and title block) into a folder with the native writer:
//   make_paper_templates <folder>
// Run by hand after a change here; the output is kept in Resources/English.lproj/Pages.
#include "Files/NativeDocument.h"
#include "Files/TitleBlock.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Other/ZEZUdivari.h"
#include "Platform/FileManager.h"
#include "Platform/MacRoman.h"
#include "Tools/TextElements.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Paper {
    double width, height; // millimetres
};
// Paper indexes 1 to 6: A4 upright, A4 across, A3, A2, A1, A0, the last four across.
const Paper kPapers[kPaperTemplateCount] = {{210, 297}, {297, 210}, {420, 297},
                                            {594, 420}, {841, 594}, {1189, 841}};

// The title block's rows, bottom up: per cell its left edge from the block's left, its width, its
// label and the field it shows.
struct Cell {
    double left, width;
    const char* label;
    int field;
};
const Cell kRows[5][4] = {
    {{0, 40, "Drawing No.", 1}, {40, 20, "Sheet", 2}, {60, 20, "Of", 3}, {80, 100, "Title", 4}},
    {{0, 30, "Paper format", 6}, {30, 30, "Scale", 7}, {60, 30, "Material", 18}, {90, 90, "Subject", 5}},
    {{0, 30, "Drawn on", 8}, {30, 60, "Drawn by", 9}, {90, 30, "Weight", 19}, {120, 60, "Company", 20}},
    {{0, 30, "Checked on", 10},
     {30, 60, "Checked by", 11},
     {90, 30, "Project No.", 16},
     {120, 60, "Project", 17}},
    {{0, 30, "Approved on", 12},
     {30, 60, "Approved by", 13},
     {90, 30, "Revision", 14},
     {120, 60, "Revision note", 15}},
};
constexpr double kBlockWidth = 180, kRowHeight = 10;

void Rectangle(DocWindowRecord* doc, double x1, double y1, double x2, double y2) {
    AppendLineAtCursor(doc, x1, y1, x2, y1, false);
    AppendLineAtCursor(doc, x2, y1, x2, y2, false);
    AppendLineAtCursor(doc, x2, y2, x1, y2, false);
    AppendLineAtCursor(doc, x1, y2, x1, y1, false);
}

void Text(DocWindowRecord* doc, double x, double y, double height, const std::string& text) {
    Str255 p;
    UTF8ToPStr(text, p, 255);
    doc->settings->textHeight = height;
    AddTextElement(doc, x, y, p, x, y, 0, false);
}

bool MakeTemplate(int index, const std::string& folder) {
    DocWindowRecord* doc = nullptr;
    if (!NewDocument(&doc, nullptr, 0)) return false;
    const Paper paper = kPapers[index - 1];
    doc->settings->paperFormat = UInt16(index);
    // The drawing's own fields stay empty: a template brings only its elements.
    std::memset(doc->drawing->titleBlock, 0, sizeof *doc->drawing->titleBlock);
    SeekLastLine(doc);
    // The sheet's edge, and the frame 20 mm from the binding edge and 10 mm from the others.
    Rectangle(doc, 0, 0, paper.width, paper.height);
    const double right = paper.width - 10, bottom = 10;
    Rectangle(doc, 20, bottom, right, paper.height - 10);
    const double left = right - kBlockWidth;
    for (int row = 0; row < 5; ++row) {
        const double y = bottom + row * kRowHeight;
        Rectangle(doc, left, y, right, y + kRowHeight);
        for (const Cell& cell : kRows[row]) {
            const double x = left + cell.left;
            if (cell.left > 0) AppendLineAtCursor(doc, x, y, x, y + kRowHeight, false);
            Text(doc, x + 1, y + kRowHeight - 3, 1.8, cell.label);
            char field[4];
            std::snprintf(field, sizeof field, "^%02d", cell.field);
            Text(doc, x + 1, y + 1.5, cell.field == 4 ? 3.5 : 2.5, field);
        }
    }
    Str255 name;
    PaperTemplateName(SInt16(index), name);
    FSMakeRef((folder + "/" + PStrToUTF8(name)).c_str(), &doc->drawing->file);
    return SaveDocument(doc, true, false, false, false, false);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 1;
    }
    for (int index = 1; index <= kPaperTemplateCount; ++index)
        if (!MakeTemplate(index, argv[1])) {
            std::fprintf(stderr, "paper template %d not written\n", index);
            return 2;
        }
    return 0;
}
