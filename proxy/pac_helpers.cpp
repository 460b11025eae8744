#include "core/system_utilities.h"
#include "proxy/pac_helpers.h"

#include <cstring>

namespace {

const DWORD kNameNotResolved = 12007;  // ERROR_INTERNET_NAME_NOT_RESOLVED
const DWORD kInternalError = 12004;    // ERROR_INTERNET_INTERNAL_ERROR
const DWORD kLocalBufferSize = 254;

addrinfo LookupHints(int flags) {
  addrinfo hints = {};
  hints.ai_flags = flags;
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  return hints;
}

// Owns one result list of getaddrinfo.
class AddressList {
 public:
  AddressList() = default;
  ~AddressList() {
    if (list_ && winsockEntries.freeaddrinfo) winsockEntries.freeaddrinfo(list_);
  }
  AddressList(const AddressList&) = delete;
  AddressList& operator=(const AddressList&) = delete;
  addrinfo** Receive() { return &list_; }
  const addrinfo* Get() const { return list_; }

 private:
  addrinfo* list_ = nullptr;
};

DWORD CopyNumericHost(const char* host, LPSTR address, LPDWORD size) {
  DWORD length = static_cast<DWORD>(strlen(host));
  if (address && *size > length) {
    memcpy(address, host, length + 1);
    return 0;
  }
  *size = length + 1;
  return ERROR_INSUFFICIENT_BUFFER;
}

// The first IPv4 address of a name, written as digits.
DWORD WriteFirstIpv4(const addrinfo* list, LPSTR address, LPDWORD size) {
  const addrinfo* found = list;
  while (found && found->ai_family != AF_INET) found = found->ai_next;
  if (!found || !winsockEntries.getnameinfo || !address) return kNameNotResolved;
  int status = winsockEntries.getnameinfo(found->ai_addr, static_cast<socklen_t>(found->ai_addrlen), address, *size,
                                          nullptr, 0, NI_NUMERICHOST);
  return status == 0 ? 0 : kNameNotResolved;
}

const AutoProxyHelperTable kHelperTable = {&IsResolvable, &GetIPAddress, &ResolveHostName, &IsInNet, nullptr,
                                           nullptr,       nullptr,       nullptr,          nullptr};
const AutoProxyHelpers kHelpers = {&kHelperTable};

}  // namespace

WinsockEntryPoints winsockEntries;

void BindWinsockEntries(HMODULE ws2_32) {
  BindExport(ws2_32, "gethostname", winsockEntries.gethostname);
  BindExport(ws2_32, "inet_addr", winsockEntries.inet_addr);
  BindExport(ws2_32, "getnameinfo", winsockEntries.getnameinfo);
  BindExport(ws2_32, "freeaddrinfo", winsockEntries.freeaddrinfo);
  BindExport(ws2_32, "getaddrinfo", winsockEntries.getaddrinfo);
}

void ClearWinsockEntries() { winsockEntries = WinsockEntryPoints(); }

DWORD WINAPI ResolveHostName(LPSTR host, LPSTR address, LPDWORD size) {
  if (!winsockEntries.getaddrinfo || !host || !size) return kNameNotResolved;
  addrinfo numericHints = LookupHints(AI_NUMERICHOST);
  int status;
  {
    AddressList numeric;
    status = winsockEntries.getaddrinfo(host, nullptr, &numericHints, numeric.Receive());
    if (status == 0) return CopyNumericHost(host, address, size);
  }
  if (status == WSAHOST_NOT_FOUND) {
    addrinfo nameHints = LookupHints(0);
    AddressList named;
    status = winsockEntries.getaddrinfo(host, nullptr, &nameHints, named.Receive());
    if (status == 0) return WriteFirstIpv4(named.Get(), address, size);
  }
  return status == ERROR_NOT_ENOUGH_MEMORY ? ERROR_NOT_ENOUGH_MEMORY : kNameNotResolved;
}

BOOL WINAPI IsResolvable(LPSTR host) {
  char address[kLocalBufferSize + 2] = "";
  DWORD size = kLocalBufferSize;
  return ResolveHostName(host, address, &size) == 0;
}

DWORD WINAPI GetIPAddress(LPSTR address, LPDWORD size) {
  char name[kLocalBufferSize + 2] = "";
  if (!winsockEntries.gethostname || winsockEntries.gethostname(name, kLocalBufferSize) != 0) return kInternalError;
  return ResolveHostName(name, address, size);
}

BOOL WINAPI IsInNet(LPSTR address, LPSTR network, LPSTR mask) {
  if (!winsockEntries.inet_addr || !address || !network || !mask) return FALSE;
  unsigned long addressBits = winsockEntries.inet_addr(address);
  unsigned long networkBits = winsockEntries.inet_addr(network);
  unsigned long maskBits = winsockEntries.inet_addr(mask);
  if (addressBits == INADDR_NONE || networkBits == INADDR_NONE) return FALSE;
  return (addressBits & maskBits) == networkBits;
}

const AutoProxyHelpers& TheAutoProxyHelpers() { return kHelpers; }
