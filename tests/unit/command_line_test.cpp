#include "core/command_line.h"

#include <gtest/gtest.h>

#include "core/entry.h"
#include "core/installer.h"
#include "test_support.h"

namespace {

struct Case {
  const wchar_t* commandLine;
  bool cabHook, noisy, autoStart, copy;
  const wchar_t* version;  // null: no "#version=" token
};

const Case kCases[] = {
    {L"", false, false, false, false, nullptr},
    {L"     ", false, false, false, false, nullptr},
    {L"-i", true, false, false, false, nullptr},
    {L"-install", true, false, false, false, nullptr},
    {L"-e1", false, false, true, false, nullptr},
    {L"-noisyX", false, true, false, false, nullptr},
    {L"-copyall", false, false, false, true, nullptr},
    {L"-E -I -COPY -NOISY", false, false, false, false, nullptr},
    {L"-n -nois -cop", false, false, false, false, nullptr},
    {L"-e\t-noisy", false, false, true, false, nullptr},
    {L"\"-e\"", false, false, false, false, nullptr},
    {L"  -e   -noisy ", false, true, true, false, nullptr},
    {L"-copy -i", true, false, false, true, nullptr},
    {L"-i -copy", true, false, false, true, nullptr},
    {L"#version=", false, false, false, false, L""},
    {L"#version=3.1.7 -e", false, false, true, false, L"3.1.7"},
    {L"#version=1 #version=2", false, false, false, false, L"2"},
    {L"#VERSION=1 version=2", false, false, false, false, nullptr},
    {L"-e -e -e", false, false, true, false, nullptr},
    {L"x-e -ex", false, false, true, false, nullptr},
};

TEST(CommandLine, TokensAreMatchedByCaseSensitivePrefixAtSpacesOnly) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << "command line [" << Utf8(c.commandLine) << "]");
    CommandLineFlags flags = ParseCommandWords(c.commandLine);
    EXPECT_EQ(c.cabHook, flags.cabHookMode);
    EXPECT_EQ(c.noisy, flags.noisy);
    EXPECT_EQ(c.autoStart, flags.autoStart);
    EXPECT_EQ(c.copy, flags.copyMode);
    EXPECT_EQ(c.version != nullptr, flags.hasVersion);
    if (c.version) {
      EXPECT_EQ(std::wstring(c.version), flags.versionText);
    }
  }
}

TEST(CommandLine, ParsingOnlySetsFlagsAndKeepsTheLastVersion) {
  CInstaller installer;
  installer.noisy = true;
  ParseCommandLine(installer, L"#version=a -e");
  ParseCommandLine(installer, L"-copy");
  EXPECT_TRUE(installer.noisy);
  EXPECT_TRUE(installer.autoStart);
  EXPECT_TRUE(installer.copyMode);
  EXPECT_EQ(L"a", installer.versionText);
}

TEST(RunMode, CopyWinsOverCabHookWhichWinsOverTheInteractiveForms) {
  EXPECT_EQ(RunMode::Copy, SelectRunMode(true, true, true));
  EXPECT_EQ(RunMode::Copy, SelectRunMode(true, false, false));
  EXPECT_EQ(RunMode::CabHook, SelectRunMode(false, true, true));
  EXPECT_EQ(RunMode::LicenceView, SelectRunMode(false, false, false));
  EXPECT_EQ(RunMode::AutoStart, SelectRunMode(false, false, true));
}

}  // namespace
