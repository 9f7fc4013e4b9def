// The Shift-JIS count the system data (read for its disabled-flow switch)
// links against until the shared text helpers are complete.
#include "support/text_helpers_stand_in.h"
