// libFuzzer target: the editor with its screen built, driven by steps decoded from the input:
// messages at the input port (SysEx of any length and content, Status Replies good and bad, short
// messages), pump steps, ticks and odd milliseconds of the manual clock, port announcements,
// edits, RESET ALL, calibration requests, AUDITION, firmware and preset loads and answers to the
// message boxes. Beside the sanitizers' checks it aborts when
// - a message on the output port is not one of the editor's SysEx messages exactly as the message
//   set lays it out, nor a well-formed short message passed on while auditioning;
// - anything but firmware messages goes out while a transfer runs, blocks come closer than the
//   pacing allows, or a transfer a port change did not stop ends with another number of blocks
//   than its Firmware Start announced;
// - a setting holds a value outside its range.

#include "FuzzSupport.h"
#include "core/IPlugAPP.h"
#include "device/PresetFile.h"
#include "support/EditorBench.h"

#include <cmath>
#include <fstream>

namespace
{
using fuzz::Require;
using Bytes = std::vector<std::uint8_t>;

// Files the firmware and preset steps choose from, each list ending with a missing file and the
// empty path of a cancelled prompt.
struct SampleFiles
{
    std::vector<std::string> firmware, presets;
    SampleFiles()
    {
        const auto write = [](const std::string& name, const std::string& bytes)
        {
            std::ofstream(fuzz::ScratchPath(name), std::ios::binary) << bytes;
            return fuzz::ScratchPath(name).string();
        };
        std::string pattern(16384, '\0');
        for (std::size_t i = 0; i < pattern.size(); ++i)
            pattern[i] = static_cast<char>((i * 37 + 11) & 0xFF);
        for (std::size_t size : {0, 1, 1025, 16383, 16384})
            firmware.push_back(write(std::to_string(size) + ".bin", pattern.substr(0, size)));
        PresetValues ordinary{};
        for (int idx = 0; idx < kNumParams; ++idx)
            ordinary[static_cast<std::size_t>(idx)] =
                static_cast<std::uint8_t>((idx * 5) % (ParamMaxValue(idx) + 1));
        PresetValues highest{};
        highest.fill(0x7F);
        presets = {write("ordinary.csx", FormatPresetFile(ordinary)),
                   write("clamped.csx", FormatPresetFile(highest)),
                   write("junk.csx", pattern.substr(0, 300))};
        for (auto* list : {&firmware, &presets})
            list->insert(list->end(), {fuzz::ScratchPath("missing").string(), ""});
    }
};

// One input's run: the editor on the manual clock, its output port checking every message as it
// goes out against the editor's state then, and the steps.
class SequenceRun final : public AppHostLink
{
public:
    SequenceRun() { mBench.editor.SetHostLink(this); }

    bool SendToOutputPort(const std::uint8_t* bytes, std::size_t size) override
    {
        const std::span<const std::uint8_t> message(bytes, size);
        const bool running = mBench.editor.FirmwareTransferRunning();
        const fuzz::Sent kind = fuzz::ClassifySent(message);
        const std::int64_t now = mBench.clock.NowMs();
        if (size == 0 || bytes[0] != 0xF0)
            Require(fuzz::IsShortMessage(message) && mAudition && !running);
        else if (kind == fuzz::Sent::kFirmwareStart)
        {
            Require(running);
            mOpen = true;
            mExpected = 16 * message[10];
            mSeen = 0;
            mLast = now;
        }
        else if (kind == fuzz::Sent::kFirmwareBlock)
        {
            Require(running && mOpen && mSeen < mExpected);
            fuzz::RequirePaced(now - mLast, mSeen++);
            mLast = now;
        }
        else
            Require(kind != fuzz::Sent::kNotOurs && !running);
        return true;
    }
    void ProbeMidiPorts() override {}

    void Run(fuzz::Input& input)
    {
        for (int steps = 0; steps < 256 && !input.Empty() && mBench.clock.NowMs() <= 120000;
             ++steps)
        {
            mStopAllowed = false;
            Step(input);
            CheckStep();
        }
        // Whatever is under way runs to its end: the transfer, then a debounced edit.
        for (int tick = 0; tick < 300 && mBench.editor.FirmwareTransferRunning(); ++tick)
            mBench.clock.Advance(100);
        mStopAllowed = false;
        mBench.clock.Advance(1000);
        CheckStep();
        Require(!mOpen);
    }

private:
    // The step kinds, numbered as the committed seeds in corpus/sysex_sequence/ use them: a new
    // kind goes last.
    // clang-format off
    enum Kind { kSysEx, kShortMessage, kPump, kTicks, kMilliseconds, kPortAnnouncement, kEdit,
                kResetAll, kCalibration, kAudition, kFirmware, kPreset, kAnswerMessageBox,
                kStepKinds };
    // clang-format on

    void Step(fuzz::Input& input)
    {
        ctrlWaveStomplet& editor = mBench.editor;
        static const SampleFiles files;
        switch (input.Byte() % kStepKinds)
        {
        case kSysEx:
            return FromPort(SysEx(input), input.Byte() & 1);
        case kShortMessage:
        {
            // A status byte other than F0 and F7, then up to two data bytes, maybe too few.
            auto status = static_cast<std::uint8_t>(input.Byte() | 0x80);
            Bytes bytes{status == 0xF0 || status == 0xF7 ? std::uint8_t(0xFE) : status};
            for (int i = input.Byte() % 3; i > 0; --i)
                bytes.push_back(static_cast<std::uint8_t>(input.Byte() & 0x7F));
            return FromPort(bytes, input.Byte() & 1);
        }
        case kPump:
            return Pump();
        case kTicks:
            return mBench.clock.Advance(20 * (1 + static_cast<std::int64_t>(input.Byte())));
        case kMilliseconds:
            return mBench.clock.Advance(1 + input.Byte() % 99);
        case kPortAnnouncement:
            return AnnouncePort(input);
        case kEdit:
        {
            // A value the setting takes, or any from -0.1 to 1.175, which it must constrain.
            const int idx = input.Byte() % kNumParams;
            const bool taken = input.Byte() & 1;
            const int value = input.Byte();
            const double max = ParamMaxValue(idx);
            return editor.SendParamFromView(idx, taken ? (value % (ParamMaxValue(idx) + 1)) / max
                                                       : value / 200.0 - 0.1);
        }
        case kResetAll:
            return editor.OnResetAll();
        case kCalibration:
        {
            // A calibration button's address, or now and then any address (which sends nothing).
            const std::uint8_t choice = input.Byte();
            constexpr int kAddresses[] = {0x09, 0x0A, 0x1A, 0x1B};
            return editor.OnCalibrate(choice < 0xC0 ? kAddresses[choice % 4] : choice - 0xC0);
        }
        case kAudition:
            mAudition = input.Byte() & 1;
            return editor.SetAudition(mAudition);
        case kFirmware:
        {
            const std::uint8_t choice = input.Byte();
            if (choice & 0x80)
                editor.OnFirmwareUpdateRequested(ctrlWaveStomplet::kFirmwareWindowRequest);
            return editor.LoadFirmware(files.firmware[(choice & 0x7F) % files.firmware.size()]);
        }
        case kPreset:
            return editor.LoadPreset(files.presets[input.Byte() % files.presets.size()]);
        case kAnswerMessageBox:
        {
            constexpr EMsgBoxResult kAnswers[] = {EMsgBoxResult::kOk, EMsgBoxResult::kCancel,
                                                  EMsgBoxResult::kYes, EMsgBoxResult::kNo};
            mBench.platform.AnswerMessageBox(kAnswers[input.Byte() % 4]);
            return;
        }
        }
    }

    // Four bytes or more, so the port takes it as SysEx: raw bytes; a Status Reply whose value
    // and version bytes are anything, with a tail of up to 15 bytes; one with data bytes only, 49
    // to 64 bytes long; or a message with a Status Reply's header and a length of 6 to 517.
    static Bytes SysEx(fuzz::Input& input)
    {
        const std::uint8_t form = input.Byte();
        Bytes bytes(form % 4 == 0   ? 4 + input.U16() % 600
                    : form % 4 == 1 ? kStatusReplySize + (form >> 4)
                    : form % 4 == 2 ? kStatusReplySize - 1 + (form >> 4)
                                    : 6 + input.U16() % 512);
        const std::span<const std::uint8_t> content = input.Bytes(bytes.size());
        std::copy(content.begin(), content.end(), bytes.begin());
        if (form % 4 == 0)
            return bytes;
        constexpr std::uint8_t kReplyHeader[] = {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x01};
        std::copy(std::begin(kReplyHeader), std::end(kReplyHeader), bytes.begin());
        bytes.back() = 0xF7;
        for (std::size_t i = 1; form % 4 == 2 && i + 1 < bytes.size(); ++i)
            bytes[i] &= 0x7F;
        return bytes;
    }

    // The pump takes the message at once unless `hold`, so that several can wait in the rings.
    void FromPort(const Bytes& bytes, bool hold)
    {
        mBench.editor.EnqueueMidiFromPort(bytes.data(), bytes.size());
        if (!hold)
            Pump();
    }

    void Pump()
    {
        std::array<double, IPlugAPP::kPumpFrames> left{}, right{};
        std::array<double*, 2> outputs = {left.data(), right.data()};
        mBench.editor.ProcessPump(nullptr, outputs.data());
    }

    void AnnouncePort(fuzz::Input& input)
    {
        // The box's name with a number, none, one letter short or in another case; others.
        static const std::string kBox = "Korvo-Audio ctrlWave Stomplet";
        static const std::string kNames[] = {
            kBox + " 1",  kBox + " 2", kBox, kBox.substr(0, 28), "k" + kBox.substr(1) + " 1",
            "Some Synth", "off"};
        const std::uint8_t choice = input.Byte();
        const std::string name = choice < 0xF0 ? kNames[choice % 7] : input.Text(300);
        mStopAllowed = mOpen && name != mTransferPort;
        mBench.editor.OnMidiOutputPortSelected(name);
        if (!mBench.editor.FirmwareTransferRunning())
            mTransferPort = name;
    }

    void CheckStep()
    {
        for (int idx = 0; idx < kNumParams; ++idx)
        {
            const double value = mBench.editor.GetParam(idx)->Value();
            Require(std::isfinite(value) && value >= 0.0 && value <= ParamMaxValue(idx));
        }
        // A transfer that has ended sent every block, unless a port change stopped it.
        if (mOpen && !mBench.editor.FirmwareTransferRunning())
        {
            Require(mStopAllowed || mSeen == mExpected);
            mOpen = false;
        }
    }

    editor_bench::EditorBench mBench;
    bool mAudition = false;
    bool mOpen = false; // a Firmware Start went out, and the transfer has not been seen to end
    int mExpected = 0;  // the blocks it announced
    int mSeen = 0;
    std::int64_t mLast = 0;
    std::string mTransferPort = "off"; // the output port a transfer starting now would use
    bool mStopAllowed = false;         // this step may stop a transfer early
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input input{{data, size}};
    SequenceRun().Run(input);
    return 0;
}
