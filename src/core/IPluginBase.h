#pragma once

#include "core/IGEditorDelegate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Host identity and the serialization of the whole parameter list.
class IPluginBase : public IGEditorDelegate
{
public:
    enum EHost
    {
        kHostUnknown = 0,
        kHostStandalone,
        kHostReaper,
        kHostAbletonLive,
        kHostBitwigStudio,
        kHostCubase,
        kHostStudioOne,
        kHostLogic,
        kHostArdour,
    };

    using IGEditorDelegate::IGEditorDelegate;

    // Records which kind of host runs the application object; `name` is matched without regard to
    // letter case ("standalone" gives kHostStandalone, an unknown name kHostUnknown).
    void SetHost(std::string_view name, int version);
    EHost GetHost() const { return mHost; }
    int GetHostVersion() const { return mHostVersion; }

    // Appends each parameter's value as an 8-byte double, in index order. [main thread]
    bool SerializeParams(std::vector<std::uint8_t>& chunk) const;
    // Reads the values back from `startPos`, each through Constrain(); a value cut short becomes
    // Constrain(0.0), reading stops and -1 is returned. Then announces every parameter with
    // "Preset". Returns the position after the last value read. [main thread]
    int UnserializeParams(const std::vector<std::uint8_t>& chunk, int startPos);

private:
    EHost mHost = kHostUnknown;
    int mHostVersion = 0;
};
