// The console report of the benchmarks, followed by the ratios of the
// side-by-side blit benchmarks: for every piece of work that both this
// program and the peer libraries draw, our time over each peer's and over
// the faster of the two. Benchmarks take part by their names:
// "Peer<depth>/<work>/<who>", who being "SDL2", "Pixman" or "Ours_<mode>".
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace benchreport {

class cPeerRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& reports) override;
  void Finalize() override;

 private:
  // CPU seconds per iteration by "Peer<depth>/<work>" and then by who: the
  // median of the repetitions when there are any, else the one run.
  std::map<std::string, std::map<std::string, double>> m_Times;
};

}  // namespace benchreport
