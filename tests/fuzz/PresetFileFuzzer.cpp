// libFuzzer target: arbitrary bytes as a preset file. Beside the sanitizers' checks it aborts when
// a file it accepts has an unsupported version or is too large, does not write back to a file
// read as the same values, or clamps to values a setting does not take or All Settings refuses.

#include "FuzzSupport.h"
#include "device/PresetFile.h"
#include "device/SysExMessages.h"

#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const PresetReadResult result = ParsePresetFile({reinterpret_cast<const char*>(data), size});
    if (const auto* refusal = std::get_if<PresetFileRefusal>(&result))
    {
        // A refusal says why, in words.
        Require(!refusal->detail.empty() &&
                (size < kPresetFileLimit || refusal->error == PresetFileError::kTooLarge));
        return 0;
    }
    const auto* content = std::get_if<PresetFileContent>(&result);
    Require(size < kPresetFileLimit && content->version / 10 <= kHighestPresetFormatMajor);
    const PresetReadResult again = ParsePresetFile(FormatPresetFile(content->values));
    const auto* reread = std::get_if<PresetFileContent>(&again);
    Require(reread && reread->values == content->values);
    Require(BuildAllSettings(ClampPresetValues(content->values)).has_value());
    return 0;
}
