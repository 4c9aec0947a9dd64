// STAND-IN until the text dialogs exist: both answer Cancel and change nothing.
#include "Dialogs/TextDialogs.h"

Boolean RunTextAttributesDialog(DocWindowRecord*, TextRecord*) {
    return false;
}
Boolean RunLongTextDialog(DocWindowRecord*, TextRecord*) {
    return false;
}
