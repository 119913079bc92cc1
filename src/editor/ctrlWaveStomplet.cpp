#include "editor/ctrlWaveStomplet.h"

#include <cstddef>

ctrlWaveStomplet::ctrlWaveStomplet() : IPlugAPP(kNumParams)
{
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        const ParamDefinition& definition = kParamDefinitions[static_cast<std::size_t>(idx)];
        IParam* param = GetParam(idx);
        if (definition.IsEnumerated())
        {
            const int count = static_cast<int>(definition.labels.size());
            param->InitEnumerated(definition.name, 0, count);
            for (int value = 0; value < count; ++value)
                param->SetDisplayText(value, definition.labels[static_cast<std::size_t>(value)]);
        }
        else
        {
            param->InitInteger(definition.name, 0, 0, kIntegerParamMax, "", IParam::kFlagStepped);
        }
    }

    if (!sDeviceTimer)
        sDeviceTimer = Timer::Create([this](Timer&) { OnDeviceTimer(); }, kDeviceTimerPeriodMs);
}

ctrlWaveStomplet::~ctrlWaveStomplet()
{
    if (sDeviceTimer)
    {
        sDeviceTimer->Stop();
        sDeviceTimer.reset();
    }
}

void ctrlWaveStomplet::OnDeviceTimer() {}
