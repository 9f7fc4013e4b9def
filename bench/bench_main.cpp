// Entry point of the benchmarks, on the desktop back end: the mix is
// measured with the real synthesiser. Nothing here opens a window or a
// sound device. The console report ends with the ratios of the
// side-by-side blit benchmarks; other formats are left as they are.
#include <benchmark/benchmark.h>

#include <cstring>

#include "peer_ratios.h"
#include "platform/desktop/desktop_backend.h"

int main(int argc, char** argv) {
  plat::desktop::InstallDesktopBackend();
  bool bConsole = true;
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--benchmark_format=", 19) == 0 &&
        std::strcmp(argv[i] + 19, "console") != 0)
      bConsole = false;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (bConsole) {
    benchreport::cPeerRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
  } else {
    benchmark::RunSpecifiedBenchmarks();
  }
  benchmark::Shutdown();
  return 0;
}
