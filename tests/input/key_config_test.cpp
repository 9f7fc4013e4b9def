// KeyConfig.dat: defaults, the byte layout, and files that are short or hold
// counts the pad cannot serve.
#include "input/key_config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "tests/support/byte_builder.h"
#include "tests/support/temp_folder.h"

namespace {

class KeyConfigFileTest : public testing::Test {
 protected:
  void SetUp() override { path = folder / "KeyConfig.dat"; }
  void WriteBytes(const std::vector<uint8_t>& bytes) {
    std::FILE* fp = std::fopen(path.c_str(), "wb");
    ASSERT_NE(fp, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), fp);
    std::fclose(fp);
  }
  cTempFolder folder;
  std::string path;
};

// The 108 bytes of the default configuration.
std::vector<uint8_t> DefaultBytes() {
  cByteBuilder b;
  for (uint16_t c : {37, 39, 38, 40, 90, 88, 67, 86, 65, 83, 68, 70}) b.I32(8).U16(c).U16(0);
  b.I32(12).I32(1).I32(0);
  return b.Bytes();
}

void PutI32(std::vector<uint8_t>& b, size_t off, int32_t v) {
  for (int i = 0; i < 4; ++i)
    b[off + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

TEST(KeyConfigTest, DefaultConfigurationHasItsGoldenBytes) {
  KEYCONFIGDATA kc;
  SetDefaultKeyConfig(kc);
  EXPECT_EQ(EncodeKeyConfig(kc), DefaultBytes());
  EXPECT_EQ(kc.bUseConfig, 0);
}

TEST_F(KeyConfigFileTest, LoadReadsEveryField) {
  std::vector<uint8_t> b = DefaultBytes();
  PutI32(b, 8 * 5, 2);                       // slot 5 on joystick 2
  b[8 * 5 + 4] = 0x00, b[8 * 5 + 5] = 0x02;  // code 512 (stick right)
  b[8 * 5 + 6] = 0xAB;                       // the unused half-word is kept
  PutI32(b, 96, 7);
  PutI32(b, 100, 3);
  PutI32(b, 104, 1);
  WriteBytes(b);
  KEYCONFIGDATA kc;
  ASSERT_EQ(LoadKeyConfig(path, kc), 1);
  EXPECT_EQ(kc.Slot[5].nDevice, 2);
  EXPECT_EQ(kc.Slot[5].wCode, 512);
  EXPECT_EQ(kc.Slot[5].wUnused, 0xAB);
  EXPECT_EQ(kc.Slot[11].wCode, 70);
  EXPECT_EQ(kc.nSlots, 7);
  EXPECT_EQ(kc.nJoysticks, 3);
  EXPECT_EQ(kc.bUseConfig, 1);
  EXPECT_EQ(EncodeKeyConfig(kc), b);
}

TEST_F(KeyConfigFileTest, CountsAreBroughtIntoRangeOnLoad) {
  struct {
    int32_t nSlots, nJoysticks;
    int32_t nWantSlots, nWantJoysticks;
  } const cases[] = {
      {12, 1, 12, 1},
      {13, 1, 12, 1},
      {-1, 0, 4, 0},
      {3, 16, 4, 16},
      {4, 17, 4, 16},
      {8, -5, 8, 0},
      {INT32_MAX, INT32_MIN, 12, 0},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> b = DefaultBytes();
    PutI32(b, 96, c.nSlots);
    PutI32(b, 100, c.nJoysticks);
    WriteBytes(b);
    KEYCONFIGDATA kc;
    ASSERT_EQ(LoadKeyConfig(path, kc), 1);
    EXPECT_EQ(kc.nSlots, c.nWantSlots) << c.nSlots;
    EXPECT_EQ(kc.nJoysticks, c.nWantJoysticks) << c.nJoysticks;
  }
}

TEST_F(KeyConfigFileTest, MissingOrShortFileLeavesTheRecordAlone) {
  KEYCONFIGDATA kc;
  SetDefaultKeyConfig(kc);
  kc.Slot[0].wCode = 1234;
  const std::vector<uint8_t> before = EncodeKeyConfig(kc);

  EXPECT_EQ(LoadKeyConfig(path, kc), 0);  // no file yet
  EXPECT_EQ(EncodeKeyConfig(kc), before);

  for (size_t nSize : {0u, 4u, 96u, 107u}) {
    std::vector<uint8_t> b(108, 0x11);
    b.resize(nSize);
    WriteBytes(b);
    EXPECT_EQ(LoadKeyConfig(path, kc), 0) << nSize;
    EXPECT_EQ(EncodeKeyConfig(kc), before) << nSize;
  }

  // Bytes past the record are not read.
  std::vector<uint8_t> b = DefaultBytes();
  b.resize(200, 0xFF);
  WriteBytes(b);
  EXPECT_EQ(LoadKeyConfig(path, kc), 1);
  EXPECT_EQ(EncodeKeyConfig(kc), DefaultBytes());
}

}  // namespace

namespace {
TEST_F(KeyConfigFileTest, SavedFileHoldsTheRecordsBytesAndLoadsBack) {
  KEYCONFIGDATA kc;
  SetDefaultKeyConfig(kc);
  kc.bUseConfig = 1;
  kc.Slot[2] = KEYSLOT{3, 1024, 0};
  ASSERT_TRUE(SaveKeyConfig(path, kc));
  std::vector<uint8_t> expected = DefaultBytes();
  PutI32(expected, 16, 3);
  expected[20] = 0x00, expected[21] = 0x04;
  PutI32(expected, 104, 1);
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  ASSERT_NE(fp, nullptr);
  std::vector<uint8_t> bytes(200);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), fp));
  std::fclose(fp);
  EXPECT_EQ(bytes, expected);
  KEYCONFIGDATA back;
  ASSERT_EQ(LoadKeyConfig(path, back), 1);
  EXPECT_EQ(EncodeKeyConfig(back), expected);
  // A save that cannot be written says so.
  EXPECT_FALSE(SaveKeyConfig(folder / "no_such_folder/KeyConfig.dat", kc));
}
}  // namespace
