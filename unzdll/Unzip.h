// The work behind the library's entry point, callable directly by the library's own tests.
#pragma once

#include "UnzipInterface.h"

#include <cstdint>

namespace unzdll {

// Extracts the entries that `params` names; see UnzipInterface.h for the record and results.
std::int32_t run(UnZipParams* params);

} // namespace unzdll
