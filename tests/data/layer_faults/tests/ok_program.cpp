#include "platform/null/null_backend.h"
#include "stage/scene.h"
