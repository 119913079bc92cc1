// libFuzzer target: the preset file reader on arbitrary bytes. Beside the sanitizers' checks it
// aborts when a result breaks the reader's contract: a file it accepts must have a supported
// version, write back to a file it reads as the same values, and clamp to values every setting
// takes and the All Settings builder sends.

#include "device/PresetFile.h"
#include "device/SysExMessages.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

namespace
{
void Require(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const PresetReadResult result = ParsePresetFile(text);

    const PresetFileContent* content = std::get_if<PresetFileContent>(&result);
    if (!content)
    {
        Require(size < kPresetFileLimit ||
                *std::get_if<PresetFileError>(&result) == PresetFileError::kTooLarge);
        return 0;
    }
    Require(size < kPresetFileLimit);
    Require(content->version / 10 <= kHighestPresetFormatMajor);

    const PresetReadResult again = ParsePresetFile(FormatPresetFile(content->values));
    const PresetFileContent* reread = std::get_if<PresetFileContent>(&again);
    Require(reread && reread->values == content->values);

    const PresetValues clamped = ClampPresetValues(content->values);
    for (int idx = 0; idx < kNumParams; ++idx)
        Require(clamped[static_cast<std::size_t>(idx)] <= ParamMaxValue(idx));
    Require(BuildAllSettings(clamped).has_value());
    return 0;
}
