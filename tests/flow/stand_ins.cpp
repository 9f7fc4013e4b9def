// Stand-ins for platform and shared helpers the linked records need until
// their real definitions are complete (both weak).
#include "support/file_system_stand_in.h"
#include "support/text_helpers_stand_in.h"
