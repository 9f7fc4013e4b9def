// The bitmap and Ogg fuzz entries over their fixed corpora.
#include <gtest/gtest.h>

#include "support/fuzz_corpus.h"
#include "tools/fuzz/bmp_fuzz_input.h"
#include "tools/fuzz/ogg_fuzz_input.h"

namespace {

TEST(FuzzInputs, Bitmaps) {
  std::vector<std::vector<uint8_t>> seeds;
  for (const char* sz : {"g/pal1.bmp", "g/pal4rle.bmp", "g/pal8rle.bmp", "g/pal8os2.bmp",
                         "g/rgb16-565.bmp", "g/rgb32bf.bmp", "q/rgba32abf.bmp"})
    seeds.push_back(ReadTestData(std::string("bmp/") + sz));
  const FUZZRUN run = RunFuzzCorpus("bmp_reader", seeds, fuzz::FuzzBitmap);
  EXPECT_EQ(run.nSeedsAccepted, static_cast<int>(seeds.size()));
  EXPECT_GT(run.nAccepted, run.nSeedsAccepted);  // damage in pixels still reads
}

TEST(FuzzInputs, OggStreams) {
  const FUZZRUN run =
      RunFuzzCorpus("ogg_stream", {ReadTestData("ogg/bell.ogg")}, fuzz::FuzzOgg, 60);
  EXPECT_EQ(run.nSeedsAccepted, 1);
}

}  // namespace
