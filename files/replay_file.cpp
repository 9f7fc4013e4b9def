// Replay files (user_data\rpl4\NAME.rpl4_783): the stage body, the key log
// and the play record of the stage start, read and written as one.
#include "files/replay_file.h"

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
  bFileTooNew = 0;  // a file that is not there is not too new either
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
  REPLAYFILE tmp;
  const bool bOk = ReadReplayFile(*r, tmp) != 0;
  DataFileClose(r);
  if (!bOk) {
    ErrorBoxF("リプレイファイル %s の読み込みに失敗しました！", strPath.c_str());
    return 0;
  }
  if (!tmp.stage.HasPlayer()) {
    ErrorBoxF("主人公が配置されていないのでプレイできません！");
    return 0;
  }
  const std::string strStagePath = stage.m_strPath;
  stage = std::move(tmp.stage);
  stage.m_strPath = strStagePath;
  CopyStageSettings(settings, stage);
  *this = tmp.log;
  if (tmp.bHasPlay) play.AssignStored(tmp.play);
  return 1;
}

int ReadReplayFile(cDataReader& r, REPLAYFILE& out) {
  out.stage.Read(r);
  if (!r.Failed()) out.log.Read(r);
  if (r.Failed()) return 0;
  // Files of 172 and older end with the log.
  out.bHasPlay = r.FileVersion() > 172;
  if (out.bHasPlay) return ReadPlayRecordWhole(out.play, r);
  return r.AtEnd() ? 1 : 0;
}
