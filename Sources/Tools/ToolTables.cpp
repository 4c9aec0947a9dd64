// The tool icon and prompt tables and their loader from "STR#" 130.
#include "Tools/ToolTables.h"

#include "Platform/AppResources.h"
#include "Platform/MacRoman.h"

#include <cstdlib>

UInt16 ToolIconTable[kToolGroupCount][kToolsPerGroup + 1];
UInt16 ToolPromptTable[kPromptPlaneCount][kPromptRowCount][kPromptEntryCount];

namespace {

constexpr SInt16 kHighestToolIndex[kToolGroupCount] = {11, 6, 6, 7, 11, 4, 6, 9, 2, 4, 9, 7};
constexpr int kLastToolRow = kToolGroupCount * kToolsPerGroup - 1;

// Reads the next comma-terminated integer from pos on; false when there is no comma or no number
// before it, or the number is out of any 32-bit range.
bool NextNumber(const std::string& text, size_t& pos, long& value) {
    size_t comma = text.find(',', pos);
    if (comma == std::string::npos) return false;
    std::string field = text.substr(pos, comma - pos);
    pos = comma + 1;
    size_t start = field.find_first_not_of(' ');
    if (start == std::string::npos) return false;
    const char* begin = field.c_str() + start;
    char* end = nullptr;
    value = std::strtol(begin, &end, 10);
    if (end == begin) return false;
    while (*end == ' ')
        ++end;
    return *end == '\0' && value >= -2147483647L && value <= 2147483647L;
}

// One row taken into the tables, or nothing of it when any number would index outside them.
bool LoadRow(const std::string& text) {
    size_t pos = 0;
    long row, icon, last;
    if (!NextNumber(text, pos, row) || !NextNumber(text, pos, icon) || !NextNumber(text, pos, last))
        return false;
    if (row < 0 || row >= kPromptRowCount || last < 0 || last >= kPromptEntryCount) return false;
    if (icon > 65535) return false;
    UInt16 prompts[kPromptPlaneCount][kPromptEntryCount];
    for (int plane = 0; plane < kPromptPlaneCount; ++plane)
        for (long entry = 0; entry <= last; ++entry) {
            long n;
            if (!NextNumber(text, pos, n) || n < -1 || n > 65535) return false;
            prompts[plane][entry] = n == -1 ? kNoPrompt : UInt16(n);
        }
    if (row <= kLastToolRow && icon >= 0)
        ToolIconTable[row / kToolsPerGroup][row % kToolsPerGroup] = UInt16(icon);
    for (int plane = 0; plane < kPromptPlaneCount; ++plane)
        for (long entry = 0; entry <= last; ++entry)
            ToolPromptTable[plane][row][entry] = prompts[plane][entry];
    return true;
}

} // namespace

int LoadToolTableRows(const std::vector<std::string>& rows) {
    for (int g = 0; g < kToolGroupCount; ++g) {
        for (int t = 0; t < kToolsPerGroup; ++t)
            ToolIconTable[g][t] = 0;
        ToolIconTable[g][kToolsPerGroup] = UInt16(kHighestToolIndex[g]);
    }
    for (auto& plane : ToolPromptTable)
        for (auto& row : plane)
            for (UInt16& entry : row)
                entry = kNoPrompt;
    int taken = 0;
    for (const std::string& row : rows)
        if (LoadRow(row)) ++taken;
    return taken;
}

void InitToolTable() {
    LoadAppResources();
    const std::vector<std::string>* list = FindStringList(kToolTableList);
    std::vector<std::string> rows;
    if (list != nullptr)
        for (const std::string& item : *list)
            rows.push_back(item);
    LoadToolTableRows(rows);
}

SInt16 ToolGroupHighestIndex(SInt16 group) {
    return group >= 0 && group < kToolGroupCount ? kHighestToolIndex[group] : -1;
}

UInt16 ToolPromptNumber(SInt16 row, SInt16 snapMode, SInt16 step) {
    if (row < 0 || row >= kPromptRowCount || step < 0 || step >= kPromptEntryCount || snapMode < 0)
        return kNoPrompt;
    int plane = snapMode >= 2 ? 2 : snapMode;
    return ToolPromptTable[plane][row][step];
}
