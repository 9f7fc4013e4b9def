// The program-wide objects that live from before the entry routine to after
// it, in the order they are built (base/global_order.h). The shell's own are
// defined here; the others are defined by their subsystems under the same
// order, as listed below.
#include "app/main_window.h"
#include "app/window_list.h"
#include "base/global_order.h"

// The toolkit's shared window list: empty at start.
GLOBAL_OBJECT(GLOBAL_WINDOW_LIST) cWindowList g_WindowList;
// The main window object, before its window exists.
GLOBAL_OBJECT(GLOBAL_MAIN_WINDOW) cMainWindow g_MainWindow;

// thGame, thPause, thRanking, thStageLoad: base/thread.cpp, idle at start.
// g_Cursor: scenes/menu_cursor.cpp, one zeroed current level, no parent.
// g_Input: input/input.cpp, one cleared record for player 1.
// The surface and image lists of the character bitmap sets, sword types,
// effects, pictures and message windows: scenes/play_surfaces.cpp and
// scenes/message_surfaces.cpp; the menus': scenes/menu_surfaces.cpp.
// g_SurfaceTable and the built-in bitmap table: draw/built_in_tables.cpp.
// g_Font, g_NumberSheet, g_FontSpec and g_NumberSheetImage:
// draw/font_tables.cpp.
// g_SoundList, g_SoundInfoList: sound/sound_effects.cpp; g_Bgm: sound/bgm.cpp.
// CommonPalette: palette/common_palette.cpp; g_SystemData:
// files/system_data.cpp; Database and its run-time tables:
// database/database.cpp and database/post_load_tables.cpp.
// g_KeyLog, g_KeyLogPrev: files/key_log.cpp; g_Stage, g_StageCopy:
// files/stage_data.cpp; g_WorldMap: files/world_map.cpp; the play records:
// files/play_data.cpp. g_Players, g_CharaList, g_ItemList:
// stage/stage_objects.cpp; g_BlockPalette: stage/block_grid.cpp.
// g_Option: files/options.cpp; g_SaveSlots: files/save_slots.cpp;
// g_Ranking: scenes/ranking.cpp, the default tables.
