// The pending-command executor: menu items and status-area controls that need clicks or typed values
// post a code; every following click or confirmed value runs one step of that command.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

#include <span>

struct DocWindowRecord;

// The codes the status area posts: the current layer, the current key.
constexpr SInt16 kCurrentLayerCommand = 151;
constexpr SInt16 kCurrentKeyCommand = 152;

// Every step of the commands carried out here (the tool field holds the command's code), and of the
// command families kept in files of their own.
extern const ToolStepTable kPendingCommandSteps;
// Symbol definitions and instances: 144, 146, 153, 154, 155, 177, 179, 183.
extern const ToolStepTable kPendingSymbolSteps;
// Keys: 147, 148, 159, 164, 165, 166, 167.
extern const ToolStepTable kPendingKeySteps;
// Layers, frames, output areas and the origin: 156, 157, 161, 162, 168, 173, 174, 175, 178, 180, 181,
// 182, 184, 185.
extern const ToolStepTable kPendingLayerFrameSteps;
// Values and settings: 145, 149, 150, 158, 160, 163, 170, 186.
extern const ToolStepTable kPendingValueSteps;

// Chooses one of the drawing's symbols (the symbol list of an empty field's Return): true with its
// name. Installed at start-up; without it Return on an empty field only beeps.
using SymbolChooser = Boolean (*)(DocWindowRecord* doc, unsigned char name[256]);
void SetSymbolChooser(SymbolChooser chooser);

// A menu item that posts a pending command (code), or that runs at once (run not null, code 0).
struct PendingMenuRow {
    SInt16 menu, item, code;
    void (*run)(DocWindowRecord* doc);
};
using PendingMenuRows = std::span<const PendingMenuRow>;
// The menu items of each family, kept beside its steps.
extern const PendingMenuRows kPendingSymbolMenuRows;
extern const PendingMenuRows kPendingKeyMenuRows;
extern const PendingMenuRows kPendingLayerFrameMenuRows;
extern const PendingMenuRows kPendingValueMenuRows;
// The row of a menu item in those lists; null when it has none.
const PendingMenuRow* FindPendingMenuRow(SInt16 menu, SInt16 item);
// Posts the item's command (or runs it); false when the item has no row.
Boolean RunPendingMenuItem(DocWindowRecord* doc, SInt16 menu, SInt16 item);

// One step of the pending command; codes without an action do nothing and stay pending.
void RunPendingCommand(DocWindowRecord* doc);
// The answer is one of the yes words of "STR#" 138.
Boolean IsYesAnswer(ConstStr255Param answer);
