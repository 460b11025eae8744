// The installer's command words: space-separated tokens, each matched against the
// words by case-sensitive prefix, first match wins. No quoting, no escaping.
#pragma once

#include <string>

class CInstaller;

struct CommandLineFlags {
  bool cabHookMode = false;  // "-i"
  bool noisy = false;        // "-noisy"
  bool autoStart = false;    // "-e"
  bool copyMode = false;     // "-copy"
  bool hasVersion = false;   // "#version=" seen
  std::wstring versionText;  // the rest of the last "#version=" token
};

// Pure parser: only U+0020 separates tokens; unknown tokens are ignored.
CommandLineFlags ParseCommandWords(const std::wstring& commandLine);

// Sets the flags and versionText of the installer state. Flags are only ever set.
void ParseCommandLine(CInstaller& installer, const std::wstring& commandLine);
