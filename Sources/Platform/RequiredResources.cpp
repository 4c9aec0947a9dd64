// The table of resources asked for through named constants; add a row where code uses a constant.
#include "RequiredResources.h"

const RequiredResource kRequiredResources[] = {
    {FOUR_CHAR("STR#"), 200, 12}, // the operating-system error message
    {FOUR_CHAR("STR#"), 401, 1},  {FOUR_CHAR("STR#"), 550, 1}, {FOUR_CHAR("STR#"), 550, 2},
    {FOUR_CHAR("STR#"), 5000, 1}, // the cancel title
    {FOUR_CHAR("STR#"), 200, 1},  {FOUR_CHAR("STR#"), 200, 5}, {FOUR_CHAR("STR#"), 200, 80}, // undo journal
    {FOUR_CHAR("STR#"), 5000, 42}, {FOUR_CHAR("STR#"), 5000, 43}, {FOUR_CHAR("STR#"), 5000, 100}, // documents
    {FOUR_CHAR("ALRT"), 128, 0},  {FOUR_CHAR("ALRT"), 133, 0}, {FOUR_CHAR("DLOG"), 155, 0},
};

const int kRequiredResourceCount = static_cast<int>(sizeof kRequiredResources / sizeof kRequiredResources[0]);
