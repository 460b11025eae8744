// A growable byte buffer whose capacity is always 0 or a multiple of 4096.
#pragma once

#include <cstdint>
#include <string>

class CBuffer {
 public:
  static constexpr uint32_t Granularity = 4096;

  CBuffer() = default;
  virtual ~CBuffer();
  CBuffer(const CBuffer&) = delete;
  CBuffer& operator=(const CBuffer&) = delete;

  // Room for n more bytes after the live bytes, or null when memory runs out (the
  // live bytes then stay). Moves the live bytes to the start of the allocation.
  unsigned char* Reserve(uint32_t n);

  // Appends a narrow name (ANSI code page) as wide text with its 0 character.
  // Returns the byte offset where it starts, or -1 when it did not fit.
  int32_t AppendName(const std::string& name);
  // Appends one 0 wide character. Returns its byte offset, or -1.
  int32_t AppendTerminator();

  void Clear() { length = 0; }
  void Release();

  unsigned char* data = nullptr;
  unsigned char* start = nullptr;
  uint32_t capacity = 0;
  uint32_t length = 0;

 private:
  int32_t AppendWide(const wchar_t* text, uint32_t characters);
};
