#include "app/AudioHost.h"

#include "core/IPlugAPP.h"
#include "midi/LibraryDiagnostics.h"

#include <algorithm>
#include <chrono>
#include <rtaudio/RtAudio.h>
#include <thread>

namespace
{
constexpr unsigned kOutputChannels = 2;

RtAudio::Api ApiForDriver(std::uint32_t driver)
{
    return driver == AudioHost::kDriverJack ? RtAudio::UNIX_JACK : RtAudio::UNSPECIFIED;
}
} // namespace

AudioHost::AudioHost(IPlugAPP& app) : mApp(app), mPumpThread(app, mSlot) {}

AudioHost::~AudioHost()
{
    Stop();
}

void AudioHost::CreateAudio(std::uint32_t driver)
{
    Stop();
    mAudio.reset();
    mDeviceNames.clear();
    mOutputDevices.clear();
    mDefaultOutput = -1;
    try
    {
        // Finding an API with devices prints the warnings of every API tried.
        const LibraryOutputCapture capture;
        mAudio = std::make_unique<RtAudio>(ApiForDriver(driver));
        mAudio->showWarnings(false);
    }
    catch (const RtAudioError&)
    {
        mAudio.reset();
        return;
    }
    ProbeDevices();
}

void AudioHost::ProbeDevices()
{
    try
    {
        const unsigned count = mAudio->getDeviceCount();
        for (unsigned i = 0; i < count; ++i)
        {
            const RtAudio::DeviceInfo info = mAudio->getDeviceInfo(i);
            mDeviceNames.push_back(info.name);
            if (!info.probed)
                continue;
            if (info.outputChannels > 0)
            {
                mOutputDevices.push_back(i);
                if (info.isDefaultOutput)
                    mDefaultOutput = static_cast<int>(i);
            }
        }
    }
    catch (const RtAudioError&)
    {
        // A device that cannot be listed is not offered.
    }
}

AudioHost::ApplyResult AudioHost::ApplyAudioSettings(AppSettings& settings)
{
    ApplyResult result;
    Stop();

    // The application has no input channels, so only the output device has to resolve; the input
    // device's name is kept as it is.
    int output = -1;
    const auto named =
        std::find(mDeviceNames.begin(), mDeviceNames.end(), settings.audioOutputDevice);
    if (named != mDeviceNames.end())
        output = static_cast<int>(named - mDeviceNames.begin());
    else if (mDefaultOutput >= 0)
    {
        output = mDefaultOutput;
        if (!mOutputDevices.empty())
        {
            settings.audioOutputDevice = mDeviceNames[static_cast<unsigned>(output)];
            result.defaultTaken = true;
        }
    }
    result.deviceMissing = output < 0;

    if (output >= 0 && StartStream(static_cast<unsigned>(output), settings, result.error))
    {
        result.streamRunning = true;
        return result;
    }
    mPumpThread.Start();
    return result;
}

bool AudioHost::StartStream(unsigned outputDevice, const AppSettings& settings, std::string& error)
{
    if (!mAudio || !mSlot.TryAcquire(PumpDriver::kAudioStream))
        return false;

    RtAudio::StreamParameters outputParams;
    outputParams.deviceId = outputDevice;
    outputParams.nChannels = kOutputChannels;
    outputParams.firstChannel = 0;
    RtAudio::StreamOptions options;
    options.flags = RTAUDIO_NONINTERLEAVED;
    unsigned bufferFrames = std::max<std::uint32_t>(settings.bufferSize, 1);

    mEnding = false;
    mDone = false;
    mFadeIn = true;
    mPumpCounter = 0;
    try
    {
        mAudio->openStream(&outputParams, nullptr, RTAUDIO_FLOAT64, settings.sampleRate,
                           &bufferFrames, &AudioHost::AudioCallback, this, &options);
        mApp.SetBlockSize(IPlugAPP::kPumpFrames);
        mApp.SetSampleRate(settings.sampleRate);
        mAudio->startStream();
        return true;
    }
    catch (const RtAudioError& e)
    {
        error = e.getMessage();
        try
        {
            if (mAudio->isStreamOpen())
                mAudio->closeStream();
        }
        catch (const RtAudioError&)
        {
        }
        mSlot.Release(PumpDriver::kAudioStream);
        return false;
    }
}

void AudioHost::Stop()
{
    StopStream();
    mPumpThread.Stop();
}

void AudioHost::StopStream()
{
    if (!mAudio || mSlot.Holder() != PumpDriver::kAudioStream)
        return;
    try
    {
        if (mAudio->isStreamRunning())
        {
            mEnding = true;
            const auto deadline =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopWaitMs);
            while (!mDone && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            mAudio->stopStream(); // returns once the callback can no longer run
        }
        if (mAudio->isStreamOpen())
            mAudio->closeStream();
    }
    catch (const RtAudioError&)
    {
        // The stream is gone either way; the library cannot call back any more.
    }
    mSlot.Release(PumpDriver::kAudioStream);
}

int AudioHost::AudioCallback(void* output, void*, unsigned int nFrames, double, unsigned int,
                             void* userData)
{
    static_cast<AudioHost*>(userData)->Render(static_cast<double*>(output), nFrames);
    return 0;
}

void AudioHost::Render(double* output, unsigned int nFrames) noexcept
{
    double* channels[kOutputChannels] = {output, output + nFrames};
    for (double* channel : channels)
        std::fill(channel, channel + nFrames, 0.0);
    if (mDone.load(std::memory_order_acquire))
        return;

    // One pump step at every 64th frame; a step near the end of the buffer is cut short so it
    // never runs past it.
    for (unsigned frame = 0; frame < nFrames;)
    {
        const unsigned chunk = std::min<unsigned>(
            nFrames - frame, static_cast<unsigned>(IPlugAPP::kPumpFrames - mPumpCounter));
        if (mPumpCounter == 0)
        {
            double* stepOutputs[kOutputChannels] = {channels[0] + frame, channels[1] + frame};
            mApp.ProcessPump(nullptr, stepOutputs, static_cast<int>(chunk));
        }
        mPumpCounter = (mPumpCounter + static_cast<int>(chunk)) % IPlugAPP::kPumpFrames;
        frame += chunk;
    }

    const bool ending = mEnding.load(std::memory_order_acquire);
    if (mFadeIn || ending)
    {
        for (double* channel : channels)
        {
            for (unsigned i = 0; i < nFrames; ++i)
            {
                const double ramp = static_cast<double>(i) / nFrames;
                channel[i] *= ending ? 1.0 - ramp : ramp;
            }
        }
        mFadeIn = false;
    }
    if (ending)
        mDone.store(true, std::memory_order_release);
}
