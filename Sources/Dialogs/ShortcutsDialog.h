// The keyboard shortcuts dialog (185): function keys F1 to F15 with any of Shift, Control, Option
// and Command for the tools and six further commands, written into FunctionKeyTable on OK.
#pragma once

#include "Platform/MacTypes.h"

constexpr SInt16 kShortcutsDialog = 185;

// One command of the list.
struct ShortcutRow {
    SInt16 menu; // 180..191 a tool menu, 3000 a command
    SInt16 item;
    UInt16 shift, control, option, command; // 0 or 1
    UInt16 key;                             // 1..15 for F1..F15, 0 none
    Str63 name;
};

void ShortcutsDialog();
