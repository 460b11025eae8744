// The proxy settings of a Firefox prefs.js file. Pure: the caller feeds the file's
// bytes, the reader cuts them into lines and keeps what the proxy keys say. Any
// bytes are safe to feed: nothing is read past the data given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum PrefKind { PrefProxyType = 0, PrefAutoConfigUrl = 1, PrefHttpHost = 2, PrefHttpPort = 3 };

struct FirefoxPrefs {
  int32_t proxyType = 0;      // 1 manual, 2 script address, 4 automatic detection
  std::string autoConfigUrl;  // narrow, as in the file
  std::string httpHost;
  int32_t httpPort = 0;
  unsigned seenMask = 0;  // one bit per PrefKind

  bool AllSeen() const { return seenMask == 0xF; }
};

// Longer lines arrive in pieces of this many bytes, each handled as a line.
inline constexpr size_t PrefsLinePieceSize = 1023;

class FirefoxPrefsReader {
 public:
  // Takes the next bytes of the file. Returns false once all four keys have been
  // seen: later lines are not read.
  bool Feed(const char* bytes, size_t count);
  // Handles a last line that has no line end.
  void Finish();
  const FirefoxPrefs& prefs() const { return prefs_; }

 private:
  void HandlePiece();
  std::string pending_;
  FirefoxPrefs prefs_;
};

// Applies one line: the first key of the table (type, autoconfig_url, http_port,
// http) found anywhere in it sets its value; a later line for a key overwrites it.
void ReadPrefsLine(const std::string& line, FirefoxPrefs& prefs);

// The text value after a key: from after the first comma, past spaces and quotes,
// up to the closing quote (a single quote when the value opens with one). Empty
// when there is no comma or no closing quote.
std::string ReadPrefValueText(const std::string& rest);

// The integer value after a key: from after the first comma, past spaces and
// quotes, the leading decimal integer; 0 when there is no comma or no digits.
int32_t ReadPrefValueInteger(const std::string& rest);

// A whole file's content at once.
FirefoxPrefs ParseFirefoxPrefs(const std::string& content);
