// The ratio table of the side-by-side blit benchmarks.
#include "peer_ratios.h"

#include <algorithm>
#include <cstdio>

namespace benchreport {

void cPeerRatioReporter::ReportRuns(const std::vector<Run>& reports) {
  ConsoleReporter::ReportRuns(reports);
  for (const Run& run : reports) {
    if (run.error_occurred) continue;
    const bool bMedian = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    const bool bSingle = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
    if (!bMedian && !bSingle) continue;
    const std::string strName = run.run_name.str();
    if (strName.rfind("Peer", 0) != 0) continue;
    const size_t nSlash = strName.rfind('/');
    if (nSlash == std::string::npos) continue;
    const double dSeconds =
        run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    m_Times[strName.substr(0, nSlash)][strName.substr(nSlash + 1)] = dSeconds;
  }
}

void cPeerRatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  if (m_Times.empty()) return;
  std::printf("\nOurs against the peers (CPU time; below 1.00 is faster than the peer):\n");
  std::printf("%-40s %-10s %9s %9s %9s %9s\n", "work", "ours", "time_us", "/SDL2", "/Pixman",
              "/faster");
  for (const auto& [strWork, who] : m_Times) {
    const auto sdl = who.find("SDL2"), pix = who.find("Pixman");
    double dBest = 0;
    if (sdl != who.end()) dBest = sdl->second;
    if (pix != who.end() && (dBest == 0 || pix->second < dBest)) dBest = pix->second;
    for (const auto& [strWho, dTime] : who) {
      if (strWho.rfind("Ours_", 0) != 0) continue;
      auto ratio = [&](double d) { return d > 0 ? dTime / d : 0.0; };
      std::printf("%-40s %-10s %9.2f %9.2f %9.2f %9.2f\n", strWork.c_str(), strWho.c_str() + 5,
                  dTime * 1e6, sdl != who.end() ? ratio(sdl->second) : 0.0,
                  pix != who.end() ? ratio(pix->second) : 0.0, ratio(dBest));
    }
  }
}

}  // namespace benchreport
