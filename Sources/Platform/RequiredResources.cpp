// Resources whose id or item the code computes (an item from a table, menus from a list), so the
// resource test's scan of the sources cannot see them; add a row where code computes one.
#include "Platform/RequiredResources.h"

// clang-format off
const RequiredResource kRequiredResources[] = {
    {FOUR_CHAR("STR#"), 401, 1},
    {FOUR_CHAR("STR#"), 550, 1},
    {FOUR_CHAR("STR#"), 550, 2},
    {FOUR_CHAR("STR#"), 900, 5},    // unit names
    {FOUR_CHAR("STR#"), 1300, 1},   // the save-changes question
    {FOUR_CHAR("STR#"), 1300, 2},
    {FOUR_CHAR("MENU"), 512, 0},    // the font pop-ups of dialogs
    {FOUR_CHAR("MENU"), 198, 0},
    {FOUR_CHAR("MENU"), 197, 0},
    {FOUR_CHAR("CURS"), 4, 0},      // the watch
    {FOUR_CHAR("crsr"), 139, 0},
    {FOUR_CHAR("PAT#"), 0, 0},      // the system patterns
    {FOUR_CHAR("PAT#"), 131, 0},    // area fills
    {FOUR_CHAR("PAT#"), 132, 0},
    {FOUR_CHAR("PAT#"), 133, 0},
    // The application shell: messages, menu texts and menus it picks by table.
    {FOUR_CHAR("STR#"), 200, 95},
    {FOUR_CHAR("STR#"), 128, 178},
    {FOUR_CHAR("STR#"), 128, 179}, {FOUR_CHAR("STR#"), 9994, 1}, {FOUR_CHAR("STR#"), 9994, 2},
    {FOUR_CHAR("STR#"), 9994, 3}, {FOUR_CHAR("STR#"), 9994, 4}, {FOUR_CHAR("STR#"), 9994, 5},
    {FOUR_CHAR("STR#"), 9994, 6}, {FOUR_CHAR("STR#"), 9994, 7}, {FOUR_CHAR("STR#"), 9994, 8},
    {FOUR_CHAR("STR#"), 9994, 9}, {FOUR_CHAR("STR#"), 9994, 10}, {FOUR_CHAR("STR#"), 9994, 11},
    {FOUR_CHAR("STR#"), 9994, 12}, {FOUR_CHAR("STR#"), 9994, 13}, {FOUR_CHAR("STR#"), 9994, 14},
    {FOUR_CHAR("STR#"), 9994, 15}, {FOUR_CHAR("STR#"), 5000, 151}, {FOUR_CHAR("STR#"), 5000, 152},
    {FOUR_CHAR("STR#"), 5000, 155}, {FOUR_CHAR("STR#"), 5000, 156}, {FOUR_CHAR("STR#"), 5000, 157},
    {FOUR_CHAR("STR#"), 5000, 158}, {FOUR_CHAR("STR#"), 5000, 159}, {FOUR_CHAR("STR#"), 5000, 160},
    {FOUR_CHAR("STR#"), 5000, 161}, {FOUR_CHAR("STR#"), 5000, 162}, {FOUR_CHAR("STR#"), 5000, 163},
    {FOUR_CHAR("STR#"), 5000, 164}, {FOUR_CHAR("STR#"), 5000, 165}, {FOUR_CHAR("STR#"), 5000, 166},
    {FOUR_CHAR("STR#"), 5000, 170}, {FOUR_CHAR("STR#"), 5000, 171}, {FOUR_CHAR("STR#"), 5000, 178},
    {FOUR_CHAR("STR#"), 5000, 179}, {FOUR_CHAR("STR#"), 5000, 207}, {FOUR_CHAR("STR#"), 5000, 208},
    {FOUR_CHAR("STR#"), 5000, 209}, {FOUR_CHAR("STR#"), 5000, 210}, {FOUR_CHAR("STR#"), 5000, 211},
    {FOUR_CHAR("STR#"), 5000, 212}, {FOUR_CHAR("STR#"), 5000, 233}, {FOUR_CHAR("STR#"), 5000, 234},
    {FOUR_CHAR("STR#"), 5000, 269}, {FOUR_CHAR("STR#"), 5000, 272}, {FOUR_CHAR("STR#"), 5000, 273},
    {FOUR_CHAR("MENU"), 129, 0}, {FOUR_CHAR("MENU"), 130, 0}, {FOUR_CHAR("MENU"), 131, 0},
    {FOUR_CHAR("MENU"), 132, 0}, {FOUR_CHAR("MENU"), 133, 0}, {FOUR_CHAR("MENU"), 134, 0},
    {FOUR_CHAR("MENU"), 135, 0}, {FOUR_CHAR("MENU"), 139, 0},
    {FOUR_CHAR("MENU"), 145, 0}, {FOUR_CHAR("MENU"), 152, 0}, {FOUR_CHAR("MENU"), 153, 0},
    {FOUR_CHAR("MENU"), 154, 0}, {FOUR_CHAR("MENU"), 155, 0}, {FOUR_CHAR("MENU"), 167, 0},
    {FOUR_CHAR("MENU"), 170, 0}, {FOUR_CHAR("MENU"), 171, 0},
    {FOUR_CHAR("MENU"), 175, 0}, {FOUR_CHAR("MENU"), 176, 0}, {FOUR_CHAR("MENU"), 177, 0},
    {FOUR_CHAR("MENU"), 196, 0},
    {FOUR_CHAR("MENU"), 180, 0}, {FOUR_CHAR("MENU"), 181, 0}, {FOUR_CHAR("MENU"), 182, 0},
    {FOUR_CHAR("MENU"), 183, 0}, {FOUR_CHAR("MENU"), 184, 0}, {FOUR_CHAR("MENU"), 185, 0},
    {FOUR_CHAR("MENU"), 186, 0}, {FOUR_CHAR("MENU"), 187, 0}, {FOUR_CHAR("MENU"), 188, 0},
    {FOUR_CHAR("MENU"), 189, 0}, {FOUR_CHAR("MENU"), 190, 0}, {FOUR_CHAR("MENU"), 191, 0},
    // The Open panel's preview: its placeholder picture and the text shown without one.
    {FOUR_CHAR("PICT"), 16000, 0}, {FOUR_CHAR("STR#"), 5000, 3},
};
// clang-format on

const int kRequiredResourceCount = static_cast<int>(sizeof kRequiredResources / sizeof kRequiredResources[0]);
