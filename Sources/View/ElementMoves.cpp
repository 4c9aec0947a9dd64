#include "View/ElementMoves.h"

void MoveAreaElement(AreaRecord*, DocWindowRecord*, Float64, Float64) {}

Boolean DragImage(DocWindowRecord*) {
    return false;
}
