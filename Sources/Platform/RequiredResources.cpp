// The table of resources asked for through named constants; add a row where code uses a constant.
#include "RequiredResources.h"

// clang-format off
const RequiredResource kRequiredResources[] = {
    {FOUR_CHAR("STR#"), 200, 12},   // the operating-system error message
    {FOUR_CHAR("STR#"), 401, 1},
    {FOUR_CHAR("STR#"), 550, 1},
    {FOUR_CHAR("STR#"), 550, 2},
    {FOUR_CHAR("STR#"), 5000, 1},   // the cancel title
    {FOUR_CHAR("STR#"), 200, 1},    // undo journal
    {FOUR_CHAR("STR#"), 200, 5},
    {FOUR_CHAR("STR#"), 200, 80},
    {FOUR_CHAR("STR#"), 5000, 42},  // documents
    {FOUR_CHAR("STR#"), 5000, 43},
    {FOUR_CHAR("STR#"), 5000, 100},
    {FOUR_CHAR("STR#"), 900, 5},    // unit names
    {FOUR_CHAR("STR#"), 1300, 1},   // the save-changes question
    {FOUR_CHAR("STR#"), 1300, 2},
    {FOUR_CHAR("STR "), 128, 0},    // application fonts
    {FOUR_CHAR("STR "), 129, 0},
    {FOUR_CHAR("STR "), 550, 0},    // pick-filter letters
    {FOUR_CHAR("ALRT"), 128, 0},
    {FOUR_CHAR("ALRT"), 133, 0},
    {FOUR_CHAR("ALRT"), 1300, 0},
    {FOUR_CHAR("DLOG"), 155, 0},    // progress
    {FOUR_CHAR("MENU"), 128, 0},
    {FOUR_CHAR("MENU"), 198, 0},
    {FOUR_CHAR("MENU"), 197, 0},
    {FOUR_CHAR("MENU"), 195, 0},
    {FOUR_CHAR("CURS"), 4, 0},      // the watch
    {FOUR_CHAR("crsr"), 139, 0},
    {FOUR_CHAR("PAT#"), 0, 0},      // the system patterns
    {FOUR_CHAR("PAT#"), 131, 0},    // area fills
    {FOUR_CHAR("PAT#"), 132, 0},
    {FOUR_CHAR("PAT#"), 133, 0},
};
// clang-format on

const int kRequiredResourceCount = static_cast<int>(sizeof kRequiredResources / sizeof kRequiredResources[0]);
