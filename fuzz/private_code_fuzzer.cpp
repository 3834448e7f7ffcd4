// Reads arbitrary text as the stored private code.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Host.h"
#include "engine/PrivateCode.h"

namespace {
class SettingHost : public vw::Host {
  public:
    std::string ReadSetting(const std::string& key, const std::string& defaultValue) override {
        return key == "OFB" ? value : defaultValue;
    }
    std::string ComputerName() override { return name; }
    std::string value;
    std::string name;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SettingHost host;
    vw::ScopedHost scope(host);
    host.value.assign(reinterpret_cast<const char*>(data), size);
    host.name = size % 2 ? "workstation" : "";
    const std::string code = vw::ReadPrivateCode();
    // Two hex digits make one byte: the code is never longer than half the text, rounded up.
    if (code.size() > (size + 1) / 2) __builtin_trap();
    (void)vw::DecodeHexPairs(host.value);
    return 0;
}
