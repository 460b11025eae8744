// The keystream that scrambles the stored proxy password. The transform is its own
// inverse, and the key tables are fixed forever: stored passwords depend on them.
#pragma once

#include <cstddef>
#include <cstdint>

// XORs every byte with the combined keystream of six tables (11, 13, 17, 23, 29
// and 31 bytes), starting fresh at the first byte on every call.
void ScrambleBytes(uint8_t* bytes, size_t count);
