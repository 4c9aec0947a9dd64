#include "Tools/HandleDragging.h"

Boolean DragLineHandles(DocWindowRecord*, LineRecord*) {
    return false;
}
Boolean DragArcHandles(DocWindowRecord*, ArcRecord*) {
    return false;
}
Boolean DragTextHandles(DocWindowRecord*, TextRecord*) {
    return false;
}
Boolean DragDimensionHandles(DocWindowRecord*, DimensionRecord*) {
    return false;
}
Boolean DragAreaOutline(DocWindowRecord*, AreaRecord*) {
    return false;
}
Boolean DragSymbolInstanceHandles(DocWindowRecord*, SymbolInstanceRecord*) {
    return false;
}
Boolean DragPolylineHandles(DocWindowRecord*, PolylineRecord*) {
    return false;
}
