#include "core/ParamChange.h"

const char* ParamSourceLabel(ParamSource source)
{
    switch (source)
    {
    case ParamSource::kReset:
        return "Reset";
    case ParamSource::kHost:
        return "Host";
    case ParamSource::kPresetRecall:
        return "Preset";
    case ParamSource::kUI:
        return "UI";
    case ParamSource::kDelegate:
        return "Editor Delegate";
    case ParamSource::kRecompile:
        return "Recompile";
    case ParamSource::kUnknown:
        break;
    }
    return "Unknown";
}
