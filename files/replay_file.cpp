// Replay files (user_data\rpl4\NAME.rpl4_783): the stage body, the key log
// and the play record of the stage start, read and written as one.
#include "base/logs.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"

int cKeyLog::SaveReplay(const std::string& strPath, cStageData& played, cStageData& settings,
                        cPlayData& start) {
  std::unique_ptr<cDataWriter> w = DataFileOpenWrite();
  played.WriteForReplay(*w, settings);
  Write(*w);
  start.Write(*w);
  return DataFileCommit(strPath, *w) ? 1 : 0;
}

int cKeyLog::LoadReplay(const std::string& strPath, cStageData& stage, cStageData& settings,
                        cPlayData& play) {
  std::unique_ptr<cDataReader> r = DataFileOpenRead(strPath);
  if (!r) {
    if (bFileTooNew)
      ErrorBoxF(
          "リプレイファイル %s "
          "の読み込みに失敗しました！\nソフトより上位のバージョンのファイルは使用"
          "できません。",
          strPath.c_str());
    else
      ErrorBoxF("リプレイファイル %s の読み込みに失敗しました！", strPath.c_str());
    return 0;
  }
  // Everything goes into copies first: a file that breaks off half way
  // leaves the stage, the log and the play as they were.
  cStageData tmpStage;
  tmpStage.Read(*r);
  cKeyLog tmpLog;
  if (!r->Failed()) tmpLog.Read(*r);
  // Files of 172 and older end with the log and keep the play as it is.
  cPlayData tmpPlay;
  const bool bHasPlay = r->FileVersion() > 172;
  bool bOk = !r->Failed();
  if (bOk && bHasPlay)
    bOk = ReadPlayRecordWhole(tmpPlay, *r) != 0;
  else if (bOk)
    bOk = r->AtEnd();
  DataFileClose(r);
  if (!bOk) {
    ErrorBoxF("リプレイファイル %s の読み込みに失敗しました！", strPath.c_str());
    return 0;
  }
  if (!tmpStage.HasPlayer()) {
    ErrorBoxF("主人公が配置されていないのでプレイできません！");
    return 0;
  }
  const std::string strStagePath = stage.m_strPath;
  stage = std::move(tmpStage);
  stage.m_strPath = strStagePath;
  CopyStageSettings(settings, stage);
  *this = tmpLog;
  if (bHasPlay) play.AssignStored(tmpPlay);
  return 1;
}
