// Dialogs and alerts: dialogs made from their resources with numbered items over real widgets, the
// parameter texts of static items, alerts, and the answering of alerts where no window can be shown.
#pragma once

#include "MacTypes.h"

#include <functional>
#include <string>
#include <vector>

struct EventRecord;
struct OpaqueDialogPtr;
using DialogRef = OpaqueDialogPtr*;
using DialogPtr = DialogRef;

// Sees every event of a modal dialog or alert first; true when it chose the item written to itemHit.
using ModalFilterProcPtr = Boolean (*)(DialogRef dialog, EventRecord* event, SInt16* itemHit);
using ModalFilterUPP = ModalFilterProcPtr;

// The texts that replace ^0 to ^3 in static text items of dialogs and alerts opened afterwards.
void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3);
void GetParamText(SInt16 index, Str255 text);

// Shows alert `alertId` and runs it until an item is chosen; returns the item. The filter may be null.
SInt16 Alert(SInt16 alertId, ModalFilterProcPtr filter);
SInt16 StopAlert(SInt16 alertId, ModalFilterProcPtr filter);
SInt16 NoteAlert(SInt16 alertId, ModalFilterProcPtr filter);
SInt16 CautionAlert(SInt16 alertId, ModalFilterProcPtr filter);
void ResetAlertStage();

// Alerts without a window. Every alert is recorded with the parameter texts it was shown with. When
// a responder is set, it answers every alert (with or without a Qt application) and no window is
// shown; without a responder and without a Qt application (the model, file and exchange tests) the
// alert is answered with item 1, its default button. With a Qt application and no responder the
// alert is a real window, answered by the user or by events queued ahead of it.
struct AlertRecord {
    SInt16 alertId = 0;
    SInt16 icon = 0;       // 0 plain, 1 stop, 2 note, 3 caution
    std::string params[4]; // Mac Roman
};
using AlertResponder = std::function<SInt16(const AlertRecord&)>;
void SetAlertResponder(AlertResponder responder);
const std::vector<AlertRecord>& RecordedAlerts();
void ClearRecordedAlerts();
