#include <vector>
#include <sound/asound.h>
#include "base/helper.h"
#include "../base/helper.h"
#include <records/menu.h>
#include "platform/core.h"
