#include "scene.h"
#include "base/helper.h"
