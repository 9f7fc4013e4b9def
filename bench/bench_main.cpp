// Entry point of the benchmarks, on the desktop back end: the mix is
// measured with the real synthesiser. Nothing here opens a window or a
// sound device.
#include <benchmark/benchmark.h>

#include "platform/desktop/desktop_backend.h"

int main(int argc, char** argv) {
  plat::desktop::InstallDesktopBackend();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
