#include <gtest/gtest.h>

#include <cstring>

#include "core/constants.h"
#include "pipeline/buffer.h"
#include "pipeline/cab_extractor.h"
#include "pipeline/download.h"
#include "pipeline/host_launch.h"
#include "pipeline/registration.h"
#include "pipeline/worker.h"

namespace {

TEST(Buffer, TwoFiveCharacterNamesAndTheEndMarker) {
  CBuffer names;
  EXPECT_EQ(0, names.AppendName("a.ocx"));
  EXPECT_EQ(12, names.AppendName("b.exe"));
  EXPECT_EQ(24, names.AppendTerminator());
  EXPECT_EQ(26u, names.length);
  EXPECT_EQ(4096u, names.capacity);
  const wchar_t expected[] = L"a.ocx\0b.exe\0";
  EXPECT_EQ(0, memcmp(expected, names.start, 26));
}

TEST(Buffer, ReserveMovesLiveBytesDownAndGrowsInPages) {
  CBuffer buffer;
  EXPECT_EQ(nullptr, buffer.Reserve(0));
  unsigned char* room = buffer.Reserve(10);
  ASSERT_NE(nullptr, room);
  memcpy(room, "0123456789", 10);
  buffer.length = 10;
  buffer.start += 4;  // drop four bytes from the front
  buffer.length = 6;
  room = buffer.Reserve(4091);
  ASSERT_NE(nullptr, room);
  EXPECT_EQ(buffer.data, buffer.start);
  EXPECT_EQ(0, memcmp(buffer.start, "456789", 6));
  EXPECT_EQ(8192u, buffer.capacity);
  EXPECT_EQ(buffer.start + 6, room);
}

TEST(Progress, PercentOfTheExpectedCabinetSize) {
  const std::pair<int, int> cases[] = {{0, 0},
                                       {ExpectedCabinetSize / 2, 50},
                                       {ExpectedCabinetSize - 1, 99},
                                       {ExpectedCabinetSize, 100},
                                       {ExpectedCabinetSize + 1, 100},
                                       {INT32_MAX, 100}};
  for (const auto& c : cases) EXPECT_EQ(c.second, ProgressPercentOf(c.first)) << c.first;
}

TEST(CabinetNames, OnlyNamesInsideTheTargetFolderAreSafe) {
  const std::pair<const char*, bool> cases[] = {
      {"Veridane.ocx", true},
      {"sub\\file.txt", true},
      {"..x", true},
      {"x..", true},
      {"..\\..\\Windows\\x.dll", false},
      {"..", false},
      {"a\\..\\b", false},
      {"a/../b", false},
      {"\\Windows\\x.dll", false},
      {"/etc/x", false},
      {"C:\\x.dll", false},
      {"x.txt:stream", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, IsSafeEntryName(c.first)) << c.first;
}

TEST(CommandLines, RegistrationHostAndSerial) {
  EXPECT_EQ(L"regsvr32 /s \"C:\\P F\\Veridane.ocx\"", RegistrationCommandLine(L"C:\\P F\\Veridane.ocx", false));
  EXPECT_EQ(L"regsvr32  \"C:\\x.ocx\"", RegistrationCommandLine(L"C:\\x.ocx", true));
  EXPECT_EQ(L"\"C:\\Program Files\\KAVRO\\KAVRO Veridane\\VeridaneApp.exe\" lng=1033",
            HostCommandLine(L"C:\\Program Files\\KAVRO\\KAVRO Veridane\\VeridaneApp.exe", 1033));
  EXPECT_EQ(L"\"x\" lng=10021", HostCommandLine(L"x", 10021));
  const unsigned char bytes[16] = {0x78, 0x56, 0x34, 0x12, 0xcd, 0xab, 0x01, 0xef,
                                   0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xff};
  EXPECT_EQ("78563412cdab01ef00112233445566ff", SerialFromBytes(bytes));
}

TEST(CabinetUrl, CarriesThePortOnlyWhenItIsNot80) {
  EXPECT_EQ(std::wstring(L"http://") + DownloadServerHost + L":" + std::to_wstring(DownloadServerPort) +
                L"/special/qvd/Veridane.cab",
            CabinetUrl());
}

}  // namespace
