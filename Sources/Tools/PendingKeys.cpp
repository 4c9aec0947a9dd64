// Key groups: the pending commands that take their input in the drawing.
#include "Tools/PendingCommands.h"

constinit const ToolStepTable kPendingKeySteps{};
constinit const PendingMenuRows kPendingKeyMenuRows{};
