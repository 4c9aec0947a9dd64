// The tool and construction messages of string list 128.
#include "ConstructionMessages.h"

#include "Alerts.h"
#include "AppResources.h"

void ShowErrorStr128(SInt16 n) {
    Str255 text;
    GetIndString(text, kConstructionMessageList, n);
    ShowErrorText(text);
}
