// The tool tables built once at start-up from "STR#" 130: the palette icon of every tool and the
// prompt ("STR#" 129 item) of every step of every tool and pending command, in three planes by snap
// mode.
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <vector>

constexpr SInt16 kToolGroupCount = 12;
constexpr int kToolsPerGroup = 12;
constexpr int kPromptPlaneCount = 3;
constexpr int kPromptRowCount = 201; // tools 0..143, pending commands 144..200
constexpr int kPromptEntryCount = 6;
constexpr UInt16 kNoPrompt = 65535;
constexpr SInt16 kToolTableList = 130;

// Rows of twelve icons and, in entry 12, the group's highest tool index.
extern UInt16 ToolIconTable[kToolGroupCount][kToolsPerGroup + 1];
extern UInt16 ToolPromptTable[kPromptPlaneCount][kPromptRowCount][kPromptEntryCount];

void InitToolTable();
// Fills the tables from the rows given ("row,icon,last,prompts...," as in "STR#" 130). Rows that
// would index outside the tables are skipped whole; the result is the number of rows taken.
int LoadToolTableRows(const std::vector<std::string>& rows);

// The highest tool index of a group (tools run from 0 to it); -1 outside the groups.
SInt16 ToolGroupHighestIndex(SInt16 group);
// The prompt item for the row (tool group x 12 + tool, or a pending code), snap mode and step;
// kNoPrompt when there is none or the arguments lie outside the table.
UInt16 ToolPromptNumber(SInt16 row, SInt16 snapMode, SInt16 step);
