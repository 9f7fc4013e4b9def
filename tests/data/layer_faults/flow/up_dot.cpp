#include "./stage/scene.h"
