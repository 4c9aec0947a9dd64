// Numbered messages of list 128 read back from the recorded alerts.
#include "MessageCapture.h"

#include "Platform/AppResources.h"
#include "Other/Alerts.h"
#include "Platform/DialogManager.h"
#include "TestSupport.h"

MessageCapture::MessageCapture() {
    Clear();
}

void MessageCapture::Clear() {
    ClearRecordedAlerts();
}

size_t MessageCapture::Count() const {
    return RecordedAlerts().size();
}

SInt16 MessageCapture::Last() const {
    const auto& alerts = RecordedAlerts();
    if (alerts.empty()) return 0;
    const std::string& shown = alerts.back().params[0];
    const SInt16 count = CountIndStrings(128);
    for (SInt16 n = 1; n <= count; ++n) {
        Str255 text;
        GetIndString(text, 128, n);
        if (text[0] > 0 && ToStd(text) == shown) return n;
    }
    return -1;
}
