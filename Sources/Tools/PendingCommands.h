// The pending-command executor: menu items and status-area controls that need clicks or typed values
// post a code; every following click or confirmed value runs one step of that command.
#pragma once

#include "LineTools.h"
#include "MacTypes.h"

struct DocWindowRecord;

// Every step of the commands carried out here (the tool field holds the command's code).
extern const ToolStepSpec kPendingCommandSteps[];
extern const int kPendingCommandStepCount;

// One step of the pending command; codes without an action do nothing and stay pending.
void RunPendingCommand(DocWindowRecord* doc);
// The answer is one of the yes words of "STR#" 138.
Boolean IsYesAnswer(ConstStr255Param answer);
