// The surfaces the play screen's message texts are rendered into, one per
// text that shows writing, with the list of their descriptors beside them
// (element i describes element i). A text keeps a pointer to its record;
// records in a list never move, so that pointer holds until the record is
// erased. The scene manager restores them after lost surfaces like the
// program's other collections, and their owners draw them again.
#pragma once

#include "draw/surface_collections.h"

extern DDSURFACELIST Off_Msg;
extern DDIMAGELIST g_MsgImages;
