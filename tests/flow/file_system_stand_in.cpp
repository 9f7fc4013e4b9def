// The platform file functions the record framework links against.
#include "support/file_system_stand_in.h"
