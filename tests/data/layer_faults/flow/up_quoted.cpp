#include "stage/scene.h"
