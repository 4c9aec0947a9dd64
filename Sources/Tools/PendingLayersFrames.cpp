// Layers, frames, output areas and the origin: the pending commands that take their input in the drawing.
#include "Tools/PendingCommands.h"

constinit const ToolStepTable kPendingLayerFrameSteps{};
constinit const PendingMenuRows kPendingLayerFrameMenuRows{};
