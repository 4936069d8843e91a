#pragma once

// A 64-bit hash of a library's content: every field that == compares, in
// order, texts with their lengths and NULLs told from empty texts. Two reads
// of a library that differ in any column give different fingerprints but
// for a chance of one in 2^64; the write states do not count.

#include "tools/hostmodel/HostLibrary.h"

#include <cstdint>

namespace hostmodel {

uint64_t fingerprint(const Library &library);

} // namespace hostmodel
