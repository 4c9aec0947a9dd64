// The dialog manager: parameter texts, alerts and their answering without a window.
#include "Dialogs.h"

#include <QApplication>

#include <cstring>

namespace {
Str255 gParams[4];
std::vector<AlertRecord> gRecordedAlerts;
AlertResponder gResponder;

SInt16 RunAlert(SInt16 alertId, SInt16 icon, ModalFilterProcPtr filter) {
    AlertRecord record;
    record.alertId = alertId;
    record.icon = icon;
    for (int i = 0; i < 4; ++i)
        record.params[i].assign(reinterpret_cast<const char*>(gParams[i] + 1), gParams[i][0]);
    gRecordedAlerts.push_back(record);
    if (gResponder) return gResponder(record);
    (void)filter;
    return 1;
}
} // namespace

void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3) {
    ConstStr255Param in[4] = {p0, p1, p2, p3};
    for (int i = 0; i < 4; ++i) {
        if (in[i])
            std::memcpy(gParams[i], in[i], in[i][0] + 1u);
        else
            gParams[i][0] = 0;
    }
}

void GetParamText(SInt16 index, Str255 text) {
    text[0] = 0;
    if (index >= 0 && index < 4) std::memcpy(text, gParams[index], gParams[index][0] + 1u);
}

SInt16 Alert(SInt16 alertId, ModalFilterProcPtr filter) {
    return RunAlert(alertId, 0, filter);
}
SInt16 StopAlert(SInt16 alertId, ModalFilterProcPtr filter) {
    return RunAlert(alertId, 1, filter);
}
SInt16 NoteAlert(SInt16 alertId, ModalFilterProcPtr filter) {
    return RunAlert(alertId, 2, filter);
}
SInt16 CautionAlert(SInt16 alertId, ModalFilterProcPtr filter) {
    return RunAlert(alertId, 3, filter);
}

// Alerts have no stages here: every alert is shown every time.
void ResetAlertStage() {}

void SetAlertResponder(AlertResponder responder) {
    gResponder = std::move(responder);
}
const std::vector<AlertRecord>& RecordedAlerts() {
    return gRecordedAlerts;
}
void ClearRecordedAlerts() {
    gRecordedAlerts.clear();
}
