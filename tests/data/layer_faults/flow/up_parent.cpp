#include "../stage/scene.h"
