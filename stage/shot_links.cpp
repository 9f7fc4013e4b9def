#include "stage/shot_links.h"

// Shots are not built yet, so no shot is ever entered in a character's
// list of shots that point at it; the shot object completes this.
void ClearShotLink(cShotObj* /*pShot*/, int32_t /*nKind*/) {}
