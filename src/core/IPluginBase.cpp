#include "core/IPluginBase.h"

#include "core/Trace.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace
{
struct HostName
{
    const char* name; // lower case
    IPluginBase::EHost host;
};

constexpr HostName kHostNames[] = {
    {"standalone", IPluginBase::kHostStandalone},
    {"reaper", IPluginBase::kHostReaper},
    {"live", IPluginBase::kHostAbletonLive},
    {"ableton live", IPluginBase::kHostAbletonLive},
    {"bitwig studio", IPluginBase::kHostBitwigStudio},
    {"cubase", IPluginBase::kHostCubase},
    {"studio one", IPluginBase::kHostStudioOne},
    {"logic pro", IPluginBase::kHostLogic},
    {"ardour", IPluginBase::kHostArdour},
};

void TraceParam(int paramIdx, const IParam& param, double value)
{
    const std::string_view name = param.GetName();
    Trace("%d %.*s %f\n", paramIdx, static_cast<int>(name.size()), name.data(), value);
}
} // namespace

void IPluginBase::SetHost(std::string_view name, int version)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });

    mHost = kHostUnknown;
    for (const HostName& entry : kHostNames)
    {
        if (lower == entry.name)
            mHost = entry.host;
    }
    mHostVersion = version;
}

bool IPluginBase::SerializeParams(std::vector<std::uint8_t>& chunk) const
{
    for (int i = 0; i < NParams(); ++i)
    {
        const double value = GetParam(i)->Value();
        TraceParam(i, *GetParam(i), value);
        std::uint8_t bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        chunk.insert(chunk.end(), bytes, bytes + sizeof bytes);
    }
    return true;
}

int IPluginBase::UnserializeParams(const std::vector<std::uint8_t>& chunk, int startPos)
{
    int pos = startPos;
    for (int i = 0; i < NParams() && pos >= 0; ++i)
    {
        double value = 0.0;
        if (pos <= static_cast<int>(chunk.size()) &&
            chunk.size() - static_cast<std::size_t>(pos) >= sizeof value)
        {
            std::memcpy(&value, chunk.data() + pos, sizeof value);
            pos += static_cast<int>(sizeof value);
        }
        else
        {
            pos = -1;
        }
        IParam* param = GetParam(i);
        param->Set(value);
        TraceParam(i, *param, param->Value());
    }
    AnnounceAllParams(ParamSource::kPresetRecall);
    return pos;
}
