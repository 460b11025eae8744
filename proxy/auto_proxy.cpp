#include "proxy/auto_proxy.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/constants.h"
#include "core/system_utilities.h"
#include "proxy/pac_helpers.h"
#include "proxy/proxy_list.h"

namespace {

const size_t kQueryAddressSize = 1025;
const size_t kQueryHostSize = 256;
const size_t kScriptAddressSize = 1024;
const DWORD kResultSize = 1024;
const DWORD kDetectFlags = PROXY_AUTO_DETECT_TYPE_DHCP | PROXY_AUTO_DETECT_TYPE_DNS_A;

// A zero-filled buffer of the given size holding as much of the text as fits with a
// terminator.
std::vector<char> ZeroFilled(size_t size, const std::string& text) {
  std::vector<char> buffer(size, '\0');
  memcpy(buffer.data(), text.data(), std::min(text.size(), size - 1));
  return buffer;
}

struct AutoProxyLibrary {
  pfnInternetInitializeAutoProxyDll initialize = nullptr;
  pfnInternetGetProxyInfo getProxyInfo = nullptr;
  pfnInternetDeInitializeAutoProxyDll deinitialize = nullptr;
};

bool BindAutoProxyLibrary(HMODULE module, AutoProxyLibrary& library) {
  return BindExport(module, "InternetInitializeAutoProxyDll", library.initialize) &
         BindExport(module, "InternetGetProxyInfo", library.getProxyInfo) &
         BindExport(module, "InternetDeInitializeAutoProxyDll", library.deinitialize);
}

// The file the script is downloaded into; removed when the owner goes, whatever
// path the evaluation takes.
class TemporaryScriptFile {
 public:
  ~TemporaryScriptFile() { Remove(); }
  bool Create() {
    char folder[MAX_PATH] = "";
    DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return false;
    // Unique number 0: the system picks a free name and creates the file.
    if (!GetTempFileNameA(folder, "", 0, path_)) return false;
    created_ = true;
    return true;
  }
  void Remove() {
    if (created_) DeleteFileA(path_);
    created_ = false;
  }
  char* Path() { return path_; }

 private:
  char path_[MAX_PATH] = "";
  bool created_ = false;
};

// De-initialises the library when the owner goes, if it was initialised.
class AutoProxyInitialisation {
 public:
  explicit AutoProxyInitialisation(const AutoProxyLibrary& library) : library_(library) {}
  ~AutoProxyInitialisation() {
    if (initialised_) library_.deinitialize(nullptr, 0);
  }
  AutoProxyInitialisation(const AutoProxyInitialisation&) = delete;
  AutoProxyInitialisation& operator=(const AutoProxyInitialisation&) = delete;
  // Tries the downloaded file, then the script address itself as the file name.
  bool Initialise(char* file, char* scriptAddress) {
    auto* helpers = reinterpret_cast<AutoProxyHelperFunctions*>(const_cast<AutoProxyHelpers*>(&TheAutoProxyHelpers()));
    initialised_ = library_.initialize(0, file, nullptr, helpers, nullptr) ||
                   library_.initialize(0, scriptAddress, nullptr, helpers, nullptr);
    return initialised_;
  }

 private:
  const AutoProxyLibrary& library_;
  bool initialised_ = false;
};

// The script address as narrow text in its buffer; false when it cannot be had.
bool FillScriptAddress(CProxyList& list, const std::wstring& given, std::vector<char>& scriptAddress) {
  if (!given.empty()) {
    std::string narrow = ToNarrow(given);
    // A longer address would have to be cut into another address.
    if (narrow.empty() || narrow.size() > MaximumScriptAddressLength) return false;
    if (narrow.find('\0') != std::string::npos) return false;
    scriptAddress = ZeroFilled(kScriptAddressSize + 1, narrow);
    return true;
  }
  if (!list.DetectAutoProxyUrl) return false;
  if (!list.DetectAutoProxyUrl(scriptAddress.data(), kScriptAddressSize, kDetectFlags)) return false;
  return scriptAddress[0] != '\0';
}

// The script's answer for the update server; false when any step fails.
bool EvaluateScript(CProxyList& list, const std::wstring& given, std::wstring& result) {
  std::vector<char> queryAddress = ZeroFilled(kQueryAddressSize, AutoProxyQueryAddress());
  std::vector<char> queryHost = ZeroFilled(kQueryHostSize, UpdateServerHost);
  // One byte beyond the size handed out, so that the texts always end.
  std::vector<char> scriptAddress(kScriptAddressSize + 1, '\0');
  std::vector<char> resultBuffer(kResultSize + 1, '\0');

  AutoProxyLibrary library;
  if (!BindAutoProxyLibrary(list.jsproxy.Get(), library)) return false;
  if (!FillScriptAddress(list, given, scriptAddress)) return false;

  TemporaryScriptFile file;
  if (!file.Create() || !list.URLDownloadToFileA) return false;
  // A failed download leaves the file empty, and a later step fails on it.
  list.URLDownloadToFileA(nullptr, scriptAddress.data(), file.Path(), 0, nullptr);

  AutoProxyInitialisation initialisation(library);
  if (!initialisation.Initialise(file.Path(), scriptAddress.data())) return false;
  file.Remove();

  char* answer = resultBuffer.data();
  DWORD answerLength = kResultSize;
  if (!library.getProxyInfo(queryAddress.data(), static_cast<DWORD>(kQueryAddressSize), queryHost.data(),
                            static_cast<DWORD>(kQueryHostSize), &answer, &answerLength)) {
    return false;
  }
  // The library may hand back a buffer of its own; it is read within the length it
  // reports and never past a terminator.
  result = answer ? ToWide(std::string(answer, strnlen(answer, answerLength))) : std::wstring();
  return true;
}

}  // namespace

std::string AutoProxyQueryAddress() { return std::string("http://") + UpdateServerHost + "/download/enginekvx3/"; }

std::wstring CProxyList::GetAutoProxyResult(const std::wstring& scriptAddress) {
  auto cached = scriptResults.find(scriptAddress);
  if (cached != scriptResults.end()) return cached->second;
  std::wstring result;
  if (!EvaluateScript(*this, scriptAddress, result)) return std::wstring();
  scriptResults[scriptAddress] = result;
  return result;
}
