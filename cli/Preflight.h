#pragma once
// The checks vwx makes before it asks for a password, so a job that cannot succeed stops
// before anyone types anything.
#include <string>

#include "cli/Arguments.h"

namespace vw::cli {

// Why FILE cannot be a job's source ("" when it is a regular file, or a link to one).
std::string SourceProblem(const std::string& path);

// The existing file a protect would replace without being allowed to ("" when there is none):
// any entry at the result's path unless --force was given. The source itself never counts,
// since the result always differs from it.
std::string ProtectResultInTheWay(const Options& options);

} // namespace vw::cli
