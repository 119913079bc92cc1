#include "device/SettingBytes.h"

#include "core/IEditorDelegate.h"

#include <algorithm>
#include <cstddef>

SettingBytes SettingsToBytes(const IEditorDelegate& settings)
{
    SettingBytes bytes{};
    for (int idx = 0; idx < std::min<int>(kNumParams, settings.NParams()); ++idx)
        bytes[static_cast<std::size_t>(idx)] =
            static_cast<std::uint8_t>(std::clamp(settings.GetParam(idx)->Int(), 0, 0x7F));
    return bytes;
}
