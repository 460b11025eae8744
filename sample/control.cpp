// The sample product's ActiveX control: an in-process COM server with one class.
// DllRegisterServer registers the class under its CLSID and ProgID; the hosting
// application creates it.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include <string>

#include "sample_ids.h"

namespace {

HMODULE module = nullptr;
LONG objects = 0;
LONG locks = 0;

class Scanner : public IUnknown {
 public:
  Scanner() { InterlockedIncrement(&objects); }
  virtual ~Scanner() { InterlockedDecrement(&objects); }
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid != IID_IUnknown) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

 private:
  LONG references_ = 1;
};

class Factory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    Scanner* scanner = new Scanner();
    HRESULT result = scanner->QueryInterface(iid, out);
    scanner->Release();
    return result;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) {
      InterlockedIncrement(&locks);
    } else {
      InterlockedDecrement(&locks);
    }
    return S_OK;
  }
};

Factory factory;

[[maybe_unused]] bool SetKeyValue(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  LONG status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

void DeleteTree(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    wchar_t name[256];
    while (RegEnumKeyW(key, 0, name, 256) == ERROR_SUCCESS) DeleteTree(path + L"\\" + name);
    RegCloseKey(key);
  }
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
}

const std::wstring kClassesRoot = L"Software\\Classes\\";

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) module = instance;
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (clsid != CLSID_VeridaneScanner) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return objects == 0 && locks == 0 ? S_OK : S_FALSE; }

#if !defined(VERIDANE_SAMPLE_NO_REGISTER)
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring clsidKey = kClassesRoot + L"CLSID\\" + kScannerClsid;
  bool ok = SetKeyValue(clsidKey, nullptr, L"KAVRO Veridane Scanner") &&
            SetKeyValue(clsidKey + L"\\InprocServer32", nullptr, path) &&
            SetKeyValue(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
            SetKeyValue(clsidKey + L"\\ProgID", nullptr, kScannerProgId) &&
            SetKeyValue(kClassesRoot + kScannerProgId + L"\\CLSID", nullptr, kScannerClsid);
  return ok ? S_OK : SELFREG_E_CLASS;
}
#endif

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  DeleteTree(kClassesRoot + L"CLSID\\" + kScannerClsid);
  DeleteTree(kClassesRoot + kScannerProgId);
  return S_OK;
}
