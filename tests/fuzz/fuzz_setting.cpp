// Any bytes as a setting's text: the reader answers a setting, or one line
// of printable ASCII saying why none and the start setting beside it; a
// setting read is written and read back to the same bits and the same text.

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "lessons/setting_text.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool same_bits(const Setting& a, const Setting& b) {
    return a == b && std::bit_cast<uint32_t>(a.phase) == std::bit_cast<uint32_t>(b.phase) &&
           std::bit_cast<uint32_t>(a.wave_number) == std::bit_cast<uint32_t>(b.wave_number) &&
           std::bit_cast<uint32_t>(a.wavelength) == std::bit_cast<uint32_t>(b.wavelength);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedSetting read = parse_setting(text);
    if (!read.error.empty()) {
        FUZZ_CHECK(read.error.starts_with("setting: "));
        for (const char c : read.error)
            FUZZ_CHECK(c >= ' ' && c <= '~');
        FUZZ_CHECK(same_bits(read.setting, start_setting()));
        return 0;
    }
    const std::string written = setting_text(read.setting);
    FUZZ_CHECK(written.size() <= SETTING_TEXT_LIMIT);
    const ParsedSetting again = parse_setting(written);
    FUZZ_CHECK(again.error.empty());
    FUZZ_CHECK(same_bits(again.setting, read.setting));
    FUZZ_CHECK(setting_text(again.setting) == written);
    return 0;
}
