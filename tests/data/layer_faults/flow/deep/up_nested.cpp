#  include   "../../stage/scene.h"
