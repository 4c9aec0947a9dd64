#include "Platform/ColorPicker.h"

#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"

#include <QColorDialog>

#include <deque>
#include <utility>

namespace {

std::deque<std::pair<Boolean, RGBColor>> gAnswers;
SInt32 gRequests = 0;

} // namespace

Boolean GetColor(Point where, ConstStr255Param prompt, const RGBColor* in, RGBColor* out) {
    ++gRequests;
    if (!gAnswers.empty()) {
        auto [accept, colour] = gAnswers.front();
        gAnswers.pop_front();
        if (accept && out) *out = colour;
        return accept;
    }
    if (!PlatformHasApplication() || PlatformIsOffscreen()) return false;
    QColorDialog dialog;
    if (prompt) dialog.setWindowTitle(PlatformStringFromMacRoman(prompt + 1, prompt[0]));
    if (in) dialog.setCurrentColor(QColor::fromRgba64(in->red, in->green, in->blue));
    if (where.h != 0 || where.v != 0) dialog.move(where.h, where.v);
    if (dialog.exec() != QDialog::Accepted) return false;
    QRgba64 c = dialog.currentColor().rgba64();
    if (out) *out = RGBColor{c.red(), c.green(), c.blue()};
    return true;
}

void QueueColorPickerAnswer(Boolean accept, const RGBColor& colour) {
    gAnswers.emplace_back(accept, colour);
}

SInt32 ColorPickerRequests() {
    return gRequests;
}
