// Unpacks a cabinet into a folder with the system's Cabinet.dll (FDI), through the
// program's own callbacks: wide file names, and the times that the cabinet records.
#pragma once

#include <windows.h>
#include <fdi.h>

#include <string>

#include "core/handles.h"
#include "pipeline/buffer.h"

// True when an entry name of a cabinet stays inside the target folder: not
// absolute, no drive or stream (":"), no ".." component, not empty.
bool IsSafeEntryName(const std::string& name);

class CCabExtractor {
 public:
  CCabExtractor();
  ~CCabExtractor();
  CCabExtractor(const CCabExtractor&) = delete;
  CCabExtractor& operator=(const CCabExtractor&) = delete;

  // Extracts every file of the cabinet into the target folder. True when the
  // library reported success for the whole cabinet. A cabinet holding an entry
  // name that would leave the target folder fails, with unsafeName set.
  bool Extract(const std::wstring& cabinetPath, const std::wstring& targetFolderPath);

  CBuffer names;              // extracted names, wide, each 0-terminated; "" ends the list
  std::string cabinetFolder;  // with its trailing backslash, or empty
  std::string cabinetName;
  std::string targetFolder;  // ends with a backslash unless empty
  HFDI context = nullptr;
  ERF error = {};
  std::string unsafeName;  // the entry that stopped the extraction, if any

 private:
  static INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION notification);
  INT_PTR OnCopyFile(PFDINOTIFICATION notification);
  INT_PTR OnCloseFile(PFDINOTIFICATION notification);
  std::wstring TargetPath(const char* name) const;

  UniqueLibrary cabinet_;
  decltype(&::FDICopy) copy_ = nullptr;
  decltype(&::FDIDestroy) destroy_ = nullptr;
};
