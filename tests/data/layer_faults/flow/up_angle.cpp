#include <stage/scene.h>
