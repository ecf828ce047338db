#include "marker_rules.h"

namespace editor {

MarkerEdit PlaceLineMarker(uint32_t lineMarkers, int marker) {
    MarkerEdit edit;
    if (lineMarkers & MarkerBit(marker)) return edit;
    if (lineMarkers & MarkerBit(kMarkerCodeLine)) {
        edit.remove |= MarkerBit(kMarkerCodeLine);
        edit.add |= MarkerBit(kMarkerCodeLineCovered);
    }
    edit.add |= MarkerBit(marker);
    return edit;
}

MarkerEdit LiftLineMarker(uint32_t lineMarkers, int marker) {
    MarkerEdit edit;
    if (!(lineMarkers & MarkerBit(marker))) return edit;
    edit.remove |= MarkerBit(marker);
    if (lineMarkers == (MarkerBit(marker) | MarkerBit(kMarkerCodeLineCovered))) {
        edit.remove |= MarkerBit(kMarkerCodeLineCovered);
        edit.add |= MarkerBit(kMarkerCodeLine);
    }
    return edit;
}

} // namespace editor
