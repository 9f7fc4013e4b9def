// The order the program-wide objects are built in, before the entry routine
// runs (they are destroyed in the reverse order after it returns). Each
// definition names its row with GLOBAL_OBJECT, wherever its subsystem
// defines it, so the order holds across the program's files; objects of
// one row are built in the order their file defines them. Objects outside
// this table (the scene manager, System.ini's settings, the boot and
// placement records, the program-state flags) are built after these and
// must not be used by their constructors.
#pragma once

enum eGlobalRow : int {
  GLOBAL_WINDOW_LIST = 1,    // g_WindowList
  GLOBAL_MAIN_WINDOW,        // g_MainWindow
  GLOBAL_THREADS,            // thGame, thPause, thRanking, thStageLoad
  GLOBAL_CURSOR,             // g_Cursor
  GLOBAL_INPUT,              // g_Input
  GLOBAL_CHARA_BMP,          // g_CharaBmpSurfaces, g_CharaBmpImages
  GLOBAL_SWORD_BMP,          // g_SwordSurfaces, g_SwordImages
  GLOBAL_EFFECT_BMP,         // g_EffectSurfaces, g_EffectImages
  GLOBAL_MENU_BMP,           // g_MenuSurfaces, g_MenuImages
  GLOBAL_PICTURES,           // g_PictureSurfaces, g_PictureImages
  GLOBAL_MESSAGES,           // Off_Msg, g_MsgImages
  GLOBAL_SURFACE_TABLE,      // g_SurfaceTable
  GLOBAL_FONTS,              // g_Font
  GLOBAL_NUMBER_SHEETS,      // g_NumberSheet
  GLOBAL_BITMAP_TABLE,       // g_BitmapTable
  GLOBAL_FONT_SPECS,         // g_FontSpec
  GLOBAL_NUMBER_IMAGES,      // g_NumberSheetImage
  GLOBAL_SOUND_LIST,         // g_SoundList
  GLOBAL_SOUND_INFO,         // g_SoundInfoList
  GLOBAL_BGM,                // g_Bgm
  GLOBAL_COMMON_PALETTE,     // CommonPalette
  GLOBAL_SYSTEM_DATA,        // g_SystemData
  GLOBAL_DATABASE,           // Database
  GLOBAL_FRAME_TABLES,       // g_AnimeFrameTable, g_EffectFrameTable
  GLOBAL_EFFECT_RUN_TABLES,  // the character- and screen-effect run tables and their twins
  GLOBAL_KEY_LOGS,           // g_KeyLog, g_KeyLogPrev
  GLOBAL_PLAYERS,            // g_Players
  GLOBAL_BLOCK_PALETTE,      // g_BlockPalette
  GLOBAL_STAGE_LISTS,        // g_CharaList, g_ItemList
  GLOBAL_STAGE,              // g_Stage, g_StageCopy
  GLOBAL_WORLD_MAP,          // g_WorldMap
  GLOBAL_PLAY_DATA,          // g_PlayData, g_PlayDataStart, g_PlayDataStartPrev
  GLOBAL_OPTION,             // g_Option
  GLOBAL_SAVE_SLOTS,         // g_SaveSlots
  GLOBAL_RANKING,            // g_Ranking
};

// Before every object of the default order, after the C++ library's own.
#define GLOBAL_OBJECT(row) __attribute__((init_priority(1000 + (row))))
