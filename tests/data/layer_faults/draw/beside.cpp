#include "sound/mixer.h"
