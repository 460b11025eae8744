#include "pipeline/cab_extractor.h"

#include <fcntl.h>

#include <cstdlib>

#include "core/optional_functions.h"
#include "core/system_utilities.h"

namespace {

// Ordinals of the cabinet library's FDI functions.
const WORD kOrdinalFdiCreate = 20;
const WORD kOrdinalFdiCopy = 22;
const WORD kOrdinalFdiDestroy = 23;

HANDLE AsHandle(INT_PTR value) { return reinterpret_cast<HANDLE>(value); }

void* DIAMONDAPI CabAlloc(ULONG size) { return malloc(size); }

void DIAMONDAPI CabFree(void* block) { free(block); }

INT_PTR DIAMONDAPI CabOpen(char* name, int flags, int /*mode*/) {
  DWORD access = (flags & _O_RDWR) ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  DWORD creation = OPEN_EXISTING;
  if ((flags & _O_CREAT) && (flags & _O_TRUNC)) {
    creation = CREATE_ALWAYS;
  } else if (flags & _O_CREAT) {
    creation = OPEN_ALWAYS;
  }
  HANDLE file = CreateFileW(ToWide(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<INT_PTR>(file);
}

UINT DIAMONDAPI CabRead(INT_PTR file, void* buffer, UINT count) {
  DWORD read = 0;
  return ReadFile(AsHandle(file), buffer, count, &read, nullptr) ? read : static_cast<UINT>(-1);
}

UINT DIAMONDAPI CabWrite(INT_PTR file, void* buffer, UINT count) {
  DWORD written = 0;
  return WriteFile(AsHandle(file), buffer, count, &written, nullptr) ? written : static_cast<UINT>(-1);
}

int DIAMONDAPI CabClose(INT_PTR file) { return CloseHandle(AsHandle(file)) ? 0 : -1; }

long DIAMONDAPI CabSeek(INT_PTR file, long distance, int origin) {
  static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  if (origin < 0 || origin > 2) {
    SetLastError(ERROR_SEEK);
    return -1;
  }
  LONG high = distance < 0 ? -1 : 0;  // sign-extended to 64 bits
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(AsHandle(file), distance, &high, methods[origin]);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  return static_cast<long>(low);
}

}  // namespace

bool IsSafeEntryName(const std::string& name) {
  if (name.empty() || name[0] == '\\' || name[0] == '/') return false;
  if (name.find(':') != std::string::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

CCabExtractor::CCabExtractor() : cabinet_(LoadSystemLibrary(L"cabinet.dll")) {
  if (!cabinet_) return;
  decltype(&::FDICreate) create = nullptr;
  BindExport(cabinet_.Get(), MAKEINTRESOURCEA(kOrdinalFdiCreate), create);
  BindExport(cabinet_.Get(), MAKEINTRESOURCEA(kOrdinalFdiCopy), copy_);
  BindExport(cabinet_.Get(), MAKEINTRESOURCEA(kOrdinalFdiDestroy), destroy_);
  if (create && copy_ && destroy_) {
    context = create(CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose, CabSeek, cpu80386, &error);
  }
}

CCabExtractor::~CCabExtractor() {
  names.Clear();
  if (context) destroy_(context);
  names.Release();
}

std::wstring CCabExtractor::TargetPath(const char* name) const { return ToWide(targetFolder + name); }

bool CCabExtractor::Extract(const std::wstring& cabinetPath, const std::wstring& targetFolderPath) {
  cabinetFolder.clear();
  cabinetName.clear();
  targetFolder.clear();
  unsafeName.clear();
  names.Clear();
  if (!context) return false;

  std::string cabinet = ToNarrow(cabinetPath);
  targetFolder = ToNarrow(targetFolderPath);
  if (!targetFolder.empty() && targetFolder.back() != '\\') targetFolder += '\\';
  size_t slash = cabinet.rfind('\\');
  if (slash == std::string::npos) {
    cabinetName = cabinet;
  } else {
    cabinetName = cabinet.substr(slash + 1);
    cabinetFolder = cabinet.substr(0, slash + 1);
  }

  PVOID redirection = nullptr;
  BOOL redirectionOff = optional::Wow64DisableWow64FsRedirection(&redirection);
  BOOL copied = copy_(context, &cabinetName[0], &cabinetFolder[0], 0, Notify, nullptr, this);
  DWORD copyError = GetLastError();
  if (redirectionOff) optional::Wow64RevertWow64FsRedirection(redirection);
  names.AppendTerminator();
  SetLastError(copyError);
  return copied != FALSE;
}

INT_PTR DIAMONDAPI CCabExtractor::Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION notification) {
  auto* self = static_cast<CCabExtractor*>(notification->pv);
  switch (type) {
    case fdintCOPY_FILE:
      return self->OnCopyFile(notification);
    case fdintCLOSE_FILE_INFO:
      return self->OnCloseFile(notification);
    default:
      return 0;
  }
}

INT_PTR CCabExtractor::OnCopyFile(PFDINOTIFICATION notification) {
  const char* name = notification->psz1;
  if (!IsSafeEntryName(name)) {
    // Never write outside the target folder: the whole cabinet counts as corrupt.
    unsafeName = name;
    SetLastError(ERROR_INVALID_NAME);
    return -1;
  }
  names.AppendName(name);
  HANDLE file = CreateFileW(TargetPath(name).c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  // 0 makes the library skip a file that cannot be created and go on.
  return file == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<INT_PTR>(file);
}

INT_PTR CCabExtractor::OnCloseFile(PFDINOTIFICATION notification) {
  CloseHandle(AsHandle(notification->hf));
  FILETIME local;
  FILETIME utc;
  if (!DosDateTimeToFileTime(notification->date, notification->time, &local) ||
      !LocalFileTimeToFileTime(&local, &utc)) {
    return TRUE;
  }
  UniqueFile file(CreateFileW(TargetPath(notification->psz1).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (file) SetFileTime(file.Get(), nullptr, nullptr, &utc);
  return TRUE;
}
