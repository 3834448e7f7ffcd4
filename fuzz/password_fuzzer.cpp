// The password rule and the key quality score on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Driver.h"
#include "ui/PanelRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool acceptable = vw::IsAcceptablePassword(text);
    if (acceptable && size < 5) __builtin_trap();
    // A password doubled is always one piece repeated.
    if (size > 0 && vw::IsAcceptablePassword(text + text)) __builtin_trap();
    const int score = vw::ui::RateKeyQuality(text);
    if (score < 0 || score > 100) __builtin_trap();
    return 0;
}
