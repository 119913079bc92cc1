// libFuzzer target: the editor with its screen built, driven by a sequence of steps decoded from
// the input: messages at the input port (SysEx of any length and content, Status Replies good and
// bad, short messages), pump steps, 20 ms ticks and odd milliseconds of the manual clock, port
// announcements, edits, RESET ALL, calibration requests, the AUDITION toggle, firmware and preset
// loads and answers to the message boxes. Beside the sanitizers' checks it aborts when
// - a message on the output port is not one of the editor's seven SysEx messages exactly as the
//   message set lays it out, nor a well-formed short message passed on while auditioning;
// - anything but the firmware messages goes out while a firmware transfer runs, blocks are closer
//   than 90 ms (490 ms after the Firmware Start), or a transfer that was not stopped by a port
//   change ends with another number of blocks than its Firmware Start announced;
// - a setting holds a value outside its range.

#include "FuzzInput.h"
#include "OutgoingMessages.h"
#include "core/IPlugAPP.h"
#include "device/FirmwareTransfer.h"
#include "device/PresetFile.h"
#include "support/EditorBench.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace sysex_sequence_fuzz
{
using fuzz_support::EditorMessage;
using fuzz_support::FuzzInput;
using fuzz_support::Require;
namespace fs = std::filesystem;

constexpr const char* kBoxPort = "Korvo-Audio ctrlWave Stomplet 1";
// Steps per input and virtual time per input, so that one input runs in bounded time.
constexpr int kMaxSteps = 256;
constexpr std::int64_t kMaxClockMs = 120000;

// Files the firmware and preset steps choose from: written once per process into a folder of its
// own, removed at exit. Each list ends with a path where no file is and the empty path of a
// cancelled prompt.
struct SampleFiles
{
    fs::path folder;
    std::vector<std::string> firmware;
    std::vector<std::string> presets;
};

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return bytes;
}

const SampleFiles& Files()
{
    static const SampleFiles files = []
    {
        SampleFiles made;
        made.folder =
            fs::temp_directory_path() / ("stomplet-fuzz-sysex-" + std::to_string(::getpid()));
        fs::create_directories(made.folder);
        const std::pair<const char*, std::size_t> images[] = {{"empty.bin", 0},
                                                              {"one.bin", 1},
                                                              {"page-and-one.bin", 1025},
                                                              {"largest.bin", 16383},
                                                              {"too-large.bin", 16384}};
        for (const auto& [name, size] : images)
        {
            WriteFile(made.folder / name, Pattern(size));
            made.firmware.push_back((made.folder / name).string());
        }

        PresetValues ordinary{};
        for (int idx = 0; idx < kNumParams; ++idx)
            ordinary[static_cast<std::size_t>(idx)] =
                static_cast<std::uint8_t>((idx * 5) % (ParamMaxValue(idx) + 1));
        PresetValues highest{};
        highest.fill(0x7F);
        WriteFile(made.folder / "ordinary.csx", FormatPresetFile(ordinary));
        WriteFile(made.folder / "clamped.csx", FormatPresetFile(highest));
        WriteFile(made.folder / "junk.csx", Pattern(300));
        for (const char* name : {"ordinary.csx", "clamped.csx", "junk.csx"})
            made.presets.push_back((made.folder / name).string());

        for (auto* list : {&made.firmware, &made.presets})
        {
            list->push_back((made.folder / "missing").string());
            list->push_back(std::string());
        }
        std::atexit(
            []
            {
                std::error_code ignored;
                fs::remove_all(Files().folder, ignored);
            });
        return made;
    }();
    return files;
}

// The output port: checks every message as it goes out, against the editor's state at that
// moment, and follows the firmware transfer.
class CheckingPort final : public AppHostLink
{
public:
    void Attach(const ctrlWaveStomplet& editor, const ManualTimerBackend& clock)
    {
        mEditor = &editor;
        mClock = &clock;
    }
    void SetAudition(bool on) { mAudition = on; }

    bool SendToOutputPort(const std::uint8_t* bytes, std::size_t size) override
    {
        Require(bytes != nullptr && size > 0);
        const std::span<const std::uint8_t> message(bytes, size);
        const bool transferRunning = mEditor->FirmwareTransferRunning();
        if (message.front() != 0xF0)
        {
            Require(fuzz_support::IsWellFormedShortMessage(message));
            Require(mAudition && !transferRunning);
            return true;
        }

        const std::optional<EditorMessage> kind = fuzz_support::ClassifyEditorSysEx(message);
        Require(kind.has_value());
        const std::int64_t now = mClock->NowMs();
        if (*kind == EditorMessage::kFirmwareStart)
        {
            Require(transferRunning);
            mTransferOpen = true;
            mExpectedBlocks = 16 * fuzz_support::FirmwareStartPageCount(message);
            mBlocksSeen = 0;
            mLastFirmwareMs = now;
        }
        else if (*kind == EditorMessage::kFirmwareBlock)
        {
            Require(transferRunning && mTransferOpen);
            Require(now - mLastFirmwareMs >=
                    (mBlocksSeen == 0
                         ? FirmwareTransfer::kStartDelayMs - FirmwareTransfer::kTickToleranceMs
                         : FirmwareTransfer::kMinBlockSpacingMs));
            Require(++mBlocksSeen <= mExpectedBlocks);
            mLastFirmwareMs = now;
        }
        else
        {
            Require(!transferRunning);
        }
        return true;
    }
    void ProbeMidiPorts() override {}

    // After a step: a transfer that has ended sent every block, unless a port change stopped it.
    void CheckTransferEnd(bool stopAllowed)
    {
        if (!mTransferOpen || mEditor->FirmwareTransferRunning())
            return;
        Require(stopAllowed || mBlocksSeen == mExpectedBlocks);
        mTransferOpen = false;
    }
    bool TransferOpen() const { return mTransferOpen; }

private:
    const ctrlWaveStomplet* mEditor = nullptr;
    const ManualTimerBackend* mClock = nullptr;
    bool mAudition = false;
    bool mTransferOpen = false;
    int mExpectedBlocks = 0;
    int mBlocksSeen = 0;
    std::int64_t mLastFirmwareMs = 0;
};

// One input's run: the editor, its screen and the checking port, and the steps.
class SequenceRun
{
public:
    SequenceRun()
    {
        mPort.Attach(mBench.editor, mBench.clock);
        mBench.editor.SetHostLink(&mPort);
    }

    void Run(FuzzInput& input)
    {
        for (int steps = 0; steps < kMaxSteps && !input.Empty(); ++steps)
        {
            if (mBench.clock.NowMs() > kMaxClockMs)
                break;
            mStopAllowed = false;
            Step(input);
            CheckSettings();
            mPort.CheckTransferEnd(mStopAllowed);
        }

        // Whatever is still under way runs to its end: the transfer, then a debounced edit.
        for (int tick = 0; tick < 300 && mBench.editor.FirmwareTransferRunning(); ++tick)
            mBench.clock.Advance(100);
        mStopAllowed = false;
        mBench.clock.Advance(1000);
        CheckSettings();
        mPort.CheckTransferEnd(false);
        Require(!mPort.TransferOpen());
    }

private:
    enum StepKind
    {
        kSysEx,
        kShortMessage,
        kPump,
        kTicks,
        kMilliseconds,
        kPortAnnouncement,
        kEdit,
        kResetAll,
        kCalibration,
        kAudition,
        kFirmware,
        kPreset,
        kAnswerMessageBox,
        kStepKinds
    };

    void Step(FuzzInput& input)
    {
        switch (input.TakeByte() % kStepKinds)
        {
        case kSysEx:
        {
            const editor_bench::Bytes bytes = SysExFrom(input);
            return FromPort(bytes, input.TakeByte() & 1);
        }
        case kShortMessage:
        {
            const editor_bench::Bytes bytes = ShortMessageFrom(input);
            return FromPort(bytes, input.TakeByte() & 1);
        }
        case kPump:
            return Pump();
        case kTicks:
            return mBench.clock.Advance(20 * (1 + static_cast<std::int64_t>(input.TakeByte())));
        case kMilliseconds:
            return mBench.clock.Advance(1 + input.TakeByte() % 99);
        case kPortAnnouncement:
            return AnnouncePort(input);
        case kEdit:
            return Edit(input);
        case kResetAll:
            return mBench.editor.OnResetAll();
        case kCalibration:
            return Calibrate(input.TakeByte());
        case kAudition:
        {
            const bool on = input.TakeByte() & 1;
            mPort.SetAudition(on);
            return mBench.editor.SetAudition(on);
        }
        case kFirmware:
        {
            const std::uint8_t choice = input.TakeByte();
            if (choice & 0x80)
                mBench.editor.OnFirmwareUpdateRequested(ctrlWaveStomplet::kFirmwareWindowRequest);
            const auto& paths = Files().firmware;
            return mBench.editor.LoadFirmware(paths[(choice & 0x7F) % paths.size()]);
        }
        case kPreset:
        {
            const auto& paths = Files().presets;
            return mBench.editor.LoadPreset(paths[input.TakeByte() % paths.size()]);
        }
        case kAnswerMessageBox:
        {
            constexpr std::array<EMsgBoxResult, 4> kAnswers = {
                EMsgBoxResult::kOk, EMsgBoxResult::kCancel, EMsgBoxResult::kYes,
                EMsgBoxResult::kNo};
            mBench.platform.AnswerMessageBox(kAnswers[input.TakeByte() % kAnswers.size()]);
            return;
        }
        }
    }

    // Four bytes or more, so the port takes it as SysEx: raw bytes; a Status Reply whose value
    // and version bytes are anything, with a tail of up to 15 bytes; one with data bytes only, 49
    // to 64 bytes long; or a message with a Status Reply's header and a length of 6 to 517.
    static editor_bench::Bytes SysExFrom(FuzzInput& input)
    {
        static constexpr std::array<std::uint8_t, 6> kReplyHeader = {0xF0, 0x00, 0x3F,
                                                                     0x5A, 0x04, 0x01};
        const std::uint8_t form = input.TakeByte();
        editor_bench::Bytes bytes;
        switch (form % 4)
        {
        case 0:
            bytes.resize(4 + input.TakeU16() % 600);
            break;
        case 1:
            bytes.resize(kStatusReplySize + (form >> 4));
            break;
        case 2:
            bytes.resize(kStatusReplySize - 1 + (form >> 4));
            break;
        default:
            bytes.resize(kReplyHeader.size() + input.TakeU16() % 512);
            break;
        }
        const std::span<const std::uint8_t> content = input.TakeBytes(bytes.size());
        std::copy(content.begin(), content.end(), bytes.begin());
        if (form % 4 != 0)
        {
            std::copy(kReplyHeader.begin(), kReplyHeader.end(), bytes.begin());
            bytes.back() = 0xF7;
        }
        if (form % 4 == 2)
            for (std::size_t i = 1; i + 1 < bytes.size(); ++i)
                bytes[i] &= 0x7F;
        return bytes;
    }

    // One to three bytes as a port delivers them: a status byte other than F0 and F7, then data
    // bytes; fewer than the status byte calls for when the input says so.
    static editor_bench::Bytes ShortMessageFrom(FuzzInput& input)
    {
        auto status = static_cast<std::uint8_t>(input.TakeByte() | 0x80);
        if (status == 0xF0 || status == 0xF7)
            status = 0xFE;
        const std::size_t length = 1 + input.TakeByte() % 3;
        editor_bench::Bytes bytes{status};
        for (std::size_t i = 1; i < length; ++i)
            bytes.push_back(static_cast<std::uint8_t>(input.TakeByte() & 0x7F));
        return bytes;
    }

    // The message reaches the input port; the pump takes it at once unless `hold`, so that
    // several can wait in the rings (and meet full rings).
    void FromPort(const editor_bench::Bytes& bytes, bool hold)
    {
        mBench.editor.EnqueueMidiFromPort(bytes.data(), bytes.size());
        if (!hold)
            Pump();
    }

    void Pump()
    {
        std::array<double, IPlugAPP::kPumpFrames> left{};
        std::array<double, IPlugAPP::kPumpFrames> right{};
        std::array<double*, 2> outputs = {left.data(), right.data()};
        mBench.editor.ProcessPump(nullptr, outputs.data());
    }

    void AnnouncePort(FuzzInput& input)
    {
        static const std::array<std::string, 7> kNames = {kBoxPort,
                                                          "Korvo-Audio ctrlWave Stomplet 2",
                                                          "Korvo-Audio ctrlWave Stomplet",
                                                          "Korvo-Audio ctrlWave Stomple",
                                                          "korvo-Audio ctrlWave Stomplet 1",
                                                          "Some Synth",
                                                          "off"};
        const std::uint8_t choice = input.TakeByte();
        const std::string name =
            choice < 0xF0 ? kNames[choice % kNames.size()] : input.TakeText(300);
        if (mPort.TransferOpen() && name != mTransferPort)
            mStopAllowed = true;
        mBench.editor.OnMidiOutputPortSelected(name);
        if (!mBench.editor.FirmwareTransferRunning())
            mTransferPort = name;
    }

    // A control sends a setting a value: one the setting takes, or any normalized value from
    // -0.1 to 1.175, which the setting must constrain.
    void Edit(FuzzInput& input)
    {
        const int idx = input.TakeByte() % kNumParams;
        const std::uint8_t how = input.TakeByte();
        const std::uint8_t value = input.TakeByte();
        const double max = ParamMaxValue(idx);
        const double normalized =
            (how & 1) ? (value % (ParamMaxValue(idx) + 1)) / max : value / 200.0 - 0.1;
        mBench.editor.SendParamFromView(idx, normalized);
    }

    // A calibration button's address, or now and then any address (which must send nothing).
    void Calibrate(std::uint8_t choice)
    {
        constexpr std::array<int, 4> kAddresses = {0x09, 0x0A, 0x1A, 0x1B};
        mBench.editor.OnCalibrate(choice < 0xC0 ? kAddresses[choice % 4] : choice - 0xC0);
    }

    void CheckSettings()
    {
        for (int idx = 0; idx < kNumParams; ++idx)
        {
            const double value = mBench.editor.GetParam(idx)->Value();
            Require(std::isfinite(value) && value >= 0.0 && value <= ParamMaxValue(idx));
        }
    }

    CheckingPort mPort; // outlives the editor, which holds it as its host link
    editor_bench::EditorBench mBench;
    std::string mTransferPort = "off"; // the output port a transfer starting now would use
    bool mStopAllowed = false;         // this step may stop a transfer early
};
} // namespace sysex_sequence_fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sysex_sequence_fuzz::Files();
    fuzz_support::FuzzInput input(data, size);
    sysex_sequence_fuzz::SequenceRun run;
    run.Run(input);
    return 0;
}
