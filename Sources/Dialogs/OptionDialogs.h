// The application preferences (171) and the small option dialogs of a drawing: line widths (169),
// the end marks of one line (170), arc tolerance (184) and two switches (186).
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kPreferencesDialog = 171;
constexpr SInt16 kLineWidthsDialog = 169;
constexpr SInt16 kLineEndsDialog = 170;
constexpr SInt16 kArcToleranceDialog = 184;
constexpr SInt16 kSwitchesDialog = 186;
constexpr int kPresetWidthCount = 6;

// doc may be null: then the front document, if any, gives the defaults for new drawings.
void PreferencesDialog(DocWindowRecord* doc);
void LineWidthsDialog(DocWindowRecord* doc);
// Defined with the tool services (Dialogs/ToolDialogServices.h): LineEndsDialog(doc, line).
void ArcToleranceDialog(DocWindowRecord* doc);
void OptionsDialog186(DocWindowRecord* doc);

// The six preset line widths of the drawing (millimetres) and the switch shown with them.
Float64* PresetLineWidths(DocSettings* settings);
// The end-mark flag word the dialog builds from its choices: pop-up values (kind + 1) and the radio
// item of the run-on ends (5 none, 6 first, 7 second, 8 both).
UInt16 LineEndFlags(SInt16 startPopup, SInt16 endPopup, SInt16 radio);
// The largest chord deviation as the dialog opens it: within 0.001..1000.
Float64 ClampArcTolerance(Float64 tolerance);
