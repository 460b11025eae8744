#include "proxy/firefox_prefs.h"

#include "core/text_utilities.h"

namespace {

struct PrefKey {
  const char* name;
  PrefKind kind;
};

// The port key contains the host key, so it has to be tried first.
const PrefKey kFirefoxPrefKeys[] = {
    {"network.proxy.type", PrefProxyType},
    {"network.proxy.autoconfig_url", PrefAutoConfigUrl},
    {"network.proxy.http_port", PrefHttpPort},
    {"network.proxy.http", PrefHttpHost},
};

// Position just after the first comma, or npos.
size_t ValueStart(const std::string& rest) {
  size_t comma = rest.find(',');
  if (comma == std::string::npos) return std::string::npos;
  return comma + 1;
}

}  // namespace

std::string ReadPrefValueText(const std::string& rest) {
  size_t position = ValueStart(rest);
  if (position == std::string::npos) return std::string();
  char terminator = '"';
  for (; position < rest.size(); ++position) {
    char c = rest[position];
    if (c == '\'') {
      terminator = '\'';
    } else if (c != ' ' && c != '"') {
      break;
    }
  }
  size_t end = rest.find(terminator, position);
  // A value without its closing quote cannot be told from the rest of the line.
  if (end == std::string::npos) return std::string();
  return rest.substr(position, end - position);
}

int32_t ReadPrefValueInteger(const std::string& rest) {
  size_t position = ValueStart(rest);
  if (position == std::string::npos) return 0;
  while (position < rest.size() && (rest[position] == ' ' || rest[position] == '"' || rest[position] == '\'')) {
    ++position;
  }
  return LeadingInteger(rest.substr(position));
}

void ReadPrefsLine(const std::string& line, FirefoxPrefs& prefs) {
  for (const PrefKey& key : kFirefoxPrefKeys) {
    size_t at = line.find(key.name);
    if (at == std::string::npos) continue;
    prefs.seenMask |= 1u << key.kind;
    std::string rest = line.substr(at + std::char_traits<char>::length(key.name));
    switch (key.kind) {
      case PrefProxyType:
        prefs.proxyType = ReadPrefValueInteger(rest);
        break;
      case PrefHttpPort:
        prefs.httpPort = ReadPrefValueInteger(rest);
        break;
      case PrefAutoConfigUrl:
        prefs.autoConfigUrl = ReadPrefValueText(rest);
        break;
      case PrefHttpHost:
        prefs.httpHost = ReadPrefValueText(rest);
        break;
    }
    return;
  }
}

bool FirefoxPrefsReader::Feed(const char* bytes, size_t count) {
  for (size_t i = 0; i < count && !prefs_.AllSeen(); ++i) {
    pending_.push_back(bytes[i]);
    if (bytes[i] == '\n' || pending_.size() == PrefsLinePieceSize) HandlePiece();
  }
  return !prefs_.AllSeen();
}

void FirefoxPrefsReader::Finish() {
  if (!pending_.empty() && !prefs_.AllSeen()) HandlePiece();
  pending_.clear();
}

void FirefoxPrefsReader::HandlePiece() {
  // A line reader sees a text that ends at its first zero byte.
  size_t zero = pending_.find('\0');
  if (zero != std::string::npos) pending_.resize(zero);
  ReadPrefsLine(pending_, prefs_);
  pending_.clear();
}

FirefoxPrefs ParseFirefoxPrefs(const std::string& content) {
  FirefoxPrefsReader reader;
  reader.Feed(content.data(), content.size());
  reader.Finish();
  return reader.prefs();
}
