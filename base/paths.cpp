#include "base/paths.h"

#include "base/exit_status.h"
#include "base/logs.h"
#include "platform/fs/file_system.h"
#include "platform/ui/message_box.h"

const char* const g_Paths[kPathCount] = {
    "data\\",
    "default\\",
    "data\\stg4\\old_ver\\",
    "data\\work\\",
    "e_data\\EditConfig.dat",
    "data\\PrjOption.dat",
    "default\\PrjOption.dat",
    "data\\CommonPalette.cplt4",
    "default\\CommonPalette.cplt4",
    "data\\GValInfo.dat",
    "default\\GValInfo.dat",
    "data\\stg4\\Default.stg4_***",
    "default\\stg4\\Default.stg4_***",
    "data\\WorldMap.dat",
    "default\\WorldMap.dat",
    "data\\database\\AnimeSet.dat",
    "default\\database\\AnimeSet.dat",
    "data\\database\\Anime.dat",
    "default\\database\\Anime.dat",
    "data\\database\\Bmp_CharaExc.dat",
    "default\\database\\Bmp_CharaExc.dat",
    "data\\database\\SwordType.dat",
    "default\\database\\SwordType.dat",
    "data\\database\\Effect.dat",
    "default\\database\\Effect.dat",
    "data\\database\\CharaEffect.dat",
    "default\\database\\CharaEffect.dat",
    "data\\database\\ScrEffect.dat",
    "default\\database\\ScrEffect.dat",
    "data\\database\\Picture.dat",
    "default\\database\\Picture.dat",
    "data\\database\\Sound.dat",
    "default\\database\\Sound.dat",
    "data\\database\\Bgm.dat",
    "default\\database\\Bgm.dat",
    "data\\System.dat",
    "default\\System.dat",
    "data\\stg4\\c",
    "user_data\\story\\",
    "user_data\\challenge\\",
    "user_data\\free\\",
    "user_data\\story\\Story",
    "user_data\\challenge\\Challenge.dat",
    "user_data\\Option.dat",
    "user_data\\",
    "user_data\\KeyConfig.dat",
    "user_data\\Boot.dat",
    "user_data\\Window.dat",
};

const char* const g_Exts[kExtCount] = {"cplt4", "stg4", "plt4", "rkg"};

const char* const g_DataFolders[kDataFolderCount] = {
    "user_data",
    "user_data\\story",
    "user_data\\challenge",
    "user_data\\free",
    "user_data\\rpl4",
    "data",
    "data\\database",
    "data\\stg4",
    "data\\stg4\\old_ver",
    "data\\work",
    "data\\plt4",
    "bmp",
    "bmp\\back",
    "bmp\\chara_sp",
    "bmp\\effect",
    "bmp\\picture",
    "bmp\\sword",
    "bmp\\convert",
    "bmp\\plt",
    "bmp\\hbt",
    "wave",
    "bgm",
};

namespace {
// The folder name without its trailing separator, as the copy wants it.
std::string FolderName(const char* szPath) {
  std::string str = szPath;
  if (!str.empty() && str.back() == '\\') str.pop_back();
  return str;
}
}  // namespace

int CreateDefaultData(plat::WndHandle hOwner, AskFunction pfnAsk) {
  if (plat::fs::IsDirectory(g_Paths[PATH_DATA])) return 1;
  if (!plat::fs::IsDirectory(g_Paths[PATH_DEFAULT])) return 0;
  if (!pfnAsk) pfnAsk = &plat::MessageBox;
  int nAnswer = pfnAsk(hOwner, "データが存在しません！デフォルトデータを作成しますか？\n",
                       "デフォルトデータ作成の確認", plat::MB_YESNO);
  if (nAnswer == plat::IDNO) return 0;
  const std::string strFrom = FolderName(g_Paths[PATH_DEFAULT]);
  const std::string strTo = FolderName(g_Paths[PATH_DATA]);
  if (plat::fs::CopyTree(strFrom, strTo)) return 1;
  // Whatever part of the copy arrived must not pass for project data.
  plat::fs::RemoveTree(strTo);
  return 0;
}

void CreateDataFolders() {
  for (const char* szFolder : g_DataFolders) plat::fs::MakeDirectory(szFolder);
}

int RemoveInterruptedSaves() {
  // Saves land in the project folder and the folders of g_DataFolders.
  int nRemoved = plat::fs::RemoveStaleSaveTemporaries(".");
  for (const char* szFolder : g_DataFolders)
    nRemoved += plat::fs::RemoveStaleSaveTemporaries(szFolder);
  if (nRemoved > 0) ReportF("removed %d temporary file(s) of interrupted saves", nRemoved);
  return nRemoved;
}

bool CreateDefaultDataAtStart(plat::WndHandle hMainWnd) {
  const bool bHadDefault = plat::fs::IsDirectory(g_Paths[PATH_DEFAULT]);
  if (CreateDefaultData(hMainWnd)) return true;
  const char* szText =
      "「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。";
  ReportFError("%s", szText);
  ReportRunFailure(bHadDefault ? "the project's data folder was not made from its default folder"
                               : "not a project folder: it has neither a data nor a default folder",
                   szText);
  return false;
}
