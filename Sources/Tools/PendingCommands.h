// The pending-command executor: menu items and status-area controls that need clicks or typed values
// post a code; every following click or confirmed value runs one step of that command.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

// The codes the status area posts: the current layer, the current key.
constexpr SInt16 kCurrentLayerCommand = 151;
constexpr SInt16 kCurrentKeyCommand = 152;

// Every step of the commands carried out here (the tool field holds the command's code).
extern const ToolStepTable kPendingCommandSteps;

// One step of the pending command; codes without an action do nothing and stay pending.
void RunPendingCommand(DocWindowRecord* doc);
// The answer is one of the yes words of "STR#" 138.
Boolean IsYesAnswer(ConstStr255Param answer);
