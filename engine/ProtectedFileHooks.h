#pragma once
// A seam for tests only; the program never sets it.
#include <string>

namespace vw::hooks {

// When set, ProtectFile takes its header from here instead of MakeRandomHeader, so that a test
// can build the same file another way and compare.
extern std::string (*ProtectHeaderSource)();

} // namespace vw::hooks
