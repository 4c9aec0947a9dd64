// Stand-in for the alert key filter until the platform event records exist; it chooses nothing.
#include "Alerts.h"

Boolean AlertKeyFilter(DialogRef, EventRecord*, SInt16*) { return false; }
