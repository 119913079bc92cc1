#include "core/IPlugProcessor.h"

#include <algorithm>

void IPlugProcessor::ProcessAudioBlock(double**, double** outputs, int nFrames)
{
    if (!outputs)
        return;
    for (int ch = 0; ch < kNumOutputChannels; ++ch)
    {
        if (outputs[ch])
            std::fill(outputs[ch], outputs[ch] + nFrames, 0.0);
    }
}
