#include "pipeline/buffer.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

CBuffer::~CBuffer() { Release(); }

void CBuffer::Release() {
  free(data);
  data = start = nullptr;
  capacity = length = 0;
}

unsigned char* CBuffer::Reserve(uint32_t n) {
  if (n == 0) return start;
  if (start != data) {
    memmove(data, start, length);
    start = data;
  }
  uint64_t needed = (static_cast<uint64_t>(length) + n + Granularity - 1) / Granularity * Granularity;
  if (needed > UINT32_MAX) return nullptr;
  if (capacity < needed) {
    auto* grown = static_cast<unsigned char*>(realloc(data, static_cast<size_t>(needed)));
    if (!grown) return nullptr;
    data = start = grown;
    capacity = static_cast<uint32_t>(needed);
  }
  return start + length;
}

int32_t CBuffer::AppendWide(const wchar_t* text, uint32_t characters) {
  uint32_t bytes = (characters + 1) * sizeof(wchar_t);
  unsigned char* room = Reserve(bytes);
  if (!room || length > INT32_MAX) return -1;
  memcpy(room, text, characters * sizeof(wchar_t));
  memset(room + characters * sizeof(wchar_t), 0, sizeof(wchar_t));
  int32_t offset = static_cast<int32_t>(length);
  length += bytes;
  return offset;
}

int32_t CBuffer::AppendName(const std::string& name) {
  int narrowLength = static_cast<int>(name.size());
  int wideLength = narrowLength ? MultiByteToWideChar(CP_ACP, 0, name.data(), narrowLength, nullptr, 0) : 0;
  if (narrowLength && wideLength <= 0) return -1;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  if (wideLength) MultiByteToWideChar(CP_ACP, 0, name.data(), narrowLength, &wide[0], wideLength);
  return AppendWide(wide.data(), static_cast<uint32_t>(wide.size()));
}

int32_t CBuffer::AppendTerminator() { return AppendWide(L"", 0); }
