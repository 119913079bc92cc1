#include "device/ParameterBytes.h"

#include "core/IEditorDelegate.h"

#include <cstddef>

std::optional<std::array<std::uint8_t, kNumParams>> ParameterBytes(const IEditorDelegate& delegate)
{
    if (delegate.NParams() != kNumParams)
        return std::nullopt;

    std::array<std::uint8_t, kNumParams> bytes{};
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        const int value = delegate.GetParam(idx)->Int();
        if (value < 0 || value > 0x7F)
            return std::nullopt;
        bytes[static_cast<std::size_t>(idx)] = static_cast<std::uint8_t>(value);
    }
    return bytes;
}
