#pragma once

#include "app/AppSettings.h"
#include "app/PumpDriverSlot.h"
#include "app/PumpThread.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IPlugAPP;
class RtAudio;

// The audio side of the host: probes the audio devices and runs one output stream whose callback
// drives the application's pump every 64 frames and writes silence. When no stream can run, the
// pump thread takes over with the same period, so incoming MIDI never depends on a sound card.
// Exactly one of the two drives the pump at a time (PumpDriverSlot).
// [main thread] for every member; the stream callback runs on the audio thread.
class AudioHost
{
public:
    // Driver families of the settings file.
    static constexpr std::uint32_t kDriverDefault = 0; // the system's default audio API
    static constexpr std::uint32_t kDriverJack = 1;
    // How long Stop() waits for the stream's last (faded-out) buffer.
    static constexpr int kStopWaitMs = 1000;

    struct ApplyResult
    {
        bool defaultTaken = false;  // a default device's name was stored: write the settings file
        bool deviceMissing = false; // no output device resolved: tell the user
        bool streamRunning = false; // false: the pump thread drives the pump
        std::string error;          // the audio library's message, when a stream failed
    };

    // `app` must outlive the host.
    explicit AudioHost(IPlugAPP& app);
    ~AudioHost();
    AudioHost(const AudioHost&) = delete;
    AudioHost& operator=(const AudioHost&) = delete;

    // (Re)creates the audio library object for the driver family and lists its devices. Stops a
    // running stream first.
    void CreateAudio(std::uint32_t driver);
    // Resolves the settings' devices (a missing one falls back to the library's default), then
    // starts the stream, or the pump thread when no stream can run. Stops whatever drove the pump
    // before.
    ApplyResult ApplyAudioSettings(AppSettings& settings);
    // Fades the stream out and stops it (waiting at most kStopWaitMs for the last buffer), or
    // joins the pump thread. Afterwards nothing calls the pump.
    void Stop();

    PumpDriver ActiveDriver() const { return mSlot.Holder(); }
    const std::vector<std::string>& DeviceNames() const { return mDeviceNames; }

private:
    static int AudioCallback(void* output, void* input, unsigned int nFrames, double streamTime,
                             unsigned int status, void* userData);
    void Render(double* output, unsigned int nFrames) noexcept;
    bool StartStream(unsigned outputDevice, const AppSettings& settings, std::string& error);
    void StopStream();
    void ProbeDevices();

    IPlugAPP& mApp;
    PumpDriverSlot mSlot;
    PumpThread mPumpThread;
    std::unique_ptr<RtAudio> mAudio;
    std::vector<std::string> mDeviceNames; // every device the library lists, in its order
    std::vector<unsigned> mOutputDevices;  // usable output devices
    int mDefaultOutput = -1;

    // Audio thread state. The main thread writes the flags; the callback writes mDone.
    std::atomic<bool> mEnding{false};
    std::atomic<bool> mDone{false};
    bool mFadeIn = true;
    int mPumpCounter = 0; // frames since the last pump step, modulo 64
};
