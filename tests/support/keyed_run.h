// A headless, unpaced run of the program on a project folder, its keys taken
// from a key file written into the folder: how the tests play a game as a
// player would, from its title.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/test_paths.h"

// strShot, when given, receives the last frame; strAnswers, when given, is
// what the boxes the run opens are answered (BRIMVALE_DIALOG_ANSWERS).
inline cProcessResult RunWithKeys(const std::string& strProject, const std::string& strRuntime,
                                  const std::string& strKeys, int nFrames,
                                  const std::string& strShot = "",
                                  const std::string& strAnswers = "") {
  const std::string strKeyFile = (std::filesystem::path(strProject) / "run.keys").string();
  std::ofstream(strKeyFile, std::ios::binary) << strKeys;
  std::vector<std::string> argv = {ProgramPath(), "--headless", "--no-wait",
                                   "--frames",    std::to_string(nFrames),
                                   "--project",   strProject,   "--keys", strKeyFile};
  if (!strShot.empty()) argv.insert(argv.end(), {"--screenshot", strShot});
  std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + strRuntime};
  if (!strAnswers.empty()) env.push_back("BRIMVALE_DIALOG_ANSWERS=" + strAnswers);
  return RunProcess(argv, env, strProject, 60);
}
