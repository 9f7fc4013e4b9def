#include "scenes/message_surfaces.h"

#include "base/global_order.h"

GLOBAL_OBJECT(GLOBAL_MESSAGES) DDSURFACELIST Off_Msg;
GLOBAL_OBJECT(GLOBAL_MESSAGES) DDIMAGELIST g_MsgImages;
