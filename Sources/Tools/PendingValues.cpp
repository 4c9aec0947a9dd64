// Values and settings: the pending commands that take their input in the drawing.
#include "Tools/PendingCommands.h"

constinit const ToolStepTable kPendingValueSteps{};
constinit const PendingMenuRows kPendingValueMenuRows{};
