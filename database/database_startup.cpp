#include "database/database_startup.h"

#include "base/logs.h"
#include "database/database.h"
#include "database/database_ref_source.h"
#include "database/post_load_tables.h"

bool LoadDatabaseAtStartUp() {
  if (!Database.LoadAll()) {
    ReportFError("データベースの読み込みに失敗…");
    return false;
  }
  Database.MakeAltLists();
  BuildAnimeFrameTable(g_AnimeFrameTable);
  BuildEffectFrameTable(g_EffectFrameTable);
  BuildCharaEffectTables(g_CharaEffectRunTable, g_CharaEffectRunTableAlt);
  BuildScrEffectTables(g_ScrEffectRunTable, g_ScrEffectRunTableAlt);
  // From here on the checks of stored references measure against the lists.
  static const cDatabaseRefSource source(Database);
  SetDbRefSource(&source);
  return true;
}
