#include "core/command_line.h"

#include "core/constants.h"
#include "core/installer.h"

namespace {

bool StartsWith(const std::wstring& token, const wchar_t* word) {
  return token.compare(0, std::char_traits<wchar_t>::length(word), word) == 0;
}

void InterpretToken(const std::wstring& token, CommandLineFlags& flags) {
  if (StartsWith(token, CommandCabHook)) {
    flags.cabHookMode = true;
  } else if (StartsWith(token, CommandNoisy)) {
    flags.noisy = true;
  } else if (StartsWith(token, CommandAutoStart)) {
    flags.autoStart = true;
  } else if (StartsWith(token, CommandCopy)) {
    flags.copyMode = true;
  } else if (StartsWith(token, CommandVersion)) {
    flags.hasVersion = true;
    flags.versionText = token.substr(std::char_traits<wchar_t>::length(CommandVersion));
  }
}

}  // namespace

CommandLineFlags ParseCommandWords(const std::wstring& commandLine) {
  CommandLineFlags flags;
  size_t position = 0;
  while (true) {
    position = commandLine.find_first_not_of(L' ', position);
    if (position == std::wstring::npos) break;
    size_t end = commandLine.find(L' ', position);
    if (end == std::wstring::npos) end = commandLine.size();
    InterpretToken(commandLine.substr(position, end - position), flags);
    position = end;
  }
  return flags;
}

void ParseCommandLine(CInstaller& installer, const std::wstring& commandLine) {
  CommandLineFlags flags = ParseCommandWords(commandLine);
  installer.cabHookMode |= flags.cabHookMode;
  installer.noisy |= flags.noisy;
  installer.autoStart |= flags.autoStart;
  installer.copyMode |= flags.copyMode;
  if (flags.hasVersion) installer.versionText = flags.versionText;
}
