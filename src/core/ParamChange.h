#pragma once

#include "core/SpscRing.h"

#include <cstdint>

// Where a parameter change came from; the label appears in trace lines.
enum class ParamSource : std::int32_t
{
    kReset = 0,
    kHost = 1,
    kPresetRecall = 2,
    kUI = 3,
    kDelegate = 4,
    kRecompile = 5,
    kUnknown = 6,
};

const char* ParamSourceLabel(ParamSource source);

// A parameter value on its way to the controls; `value` is not normalized.
struct ParamChange
{
    std::int32_t idx = 0;
    double value = 0.0;
};

// Values waiting for the controls. One producer, the main thread (the owner asserts it).
using ParamToViewQueue = SpscRing<ParamChange, 512>;
