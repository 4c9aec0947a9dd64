// Symbol definitions and instances: the pending commands that take their input in the drawing.
#include "Tools/PendingCommands.h"

constinit const ToolStepTable kPendingSymbolSteps{};
constinit const PendingMenuRows kPendingSymbolMenuRows{};
