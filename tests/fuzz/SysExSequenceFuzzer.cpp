// libFuzzer target: the editor with its screen built, driven by steps decoded from the input:
// messages at the input port (SysEx of any length and content, Status Replies good and bad, short
// messages), pump steps, ticks and odd milliseconds of the manual clock, port announcements,
// edits, RESET ALL, calibration requests, AUDITION, firmware and preset loads and answers to the
// message boxes. Beside the sanitizers' checks it aborts when
// - a message on the output port is not one of the editor's SysEx messages exactly as the message
//   set lays it out, nor a well-formed short message passed on while auditioning;
// - anything but firmware messages goes out while a transfer runs, blocks come closer than the
//   pacing allows, or a transfer no port announcement could have stopped ends with another number
//   of blocks than its Firmware Start announced;
// - a setting holds a value outside its range.

#include "FuzzSupport.h"
#include "core/MidiRecords.h"
#include "device/PresetFile.h"
#include "support/EditorBench.h"

#include <functional>

namespace
{
using editor_bench::Bytes;

// Files the firmware and preset steps choose from, each list ending with a missing file and the
// empty path of a cancelled prompt.
std::string Image(std::size_t size)
{
    return ScratchFile(std::to_string(size) + ".bin", std::string(size, 'Z'));
}
std::string Highest()
{
    PresetValues values{};
    values.fill(0x7F);
    return FormatPresetFile(values);
}
const std::string kMissing = ScratchPath("missing").string();
const std::string kFirmwareFiles[] = {Image(0),     Image(1), Image(1025), Image(16383),
                                      Image(16384), kMissing, ""};
const std::string kPresetFiles[] = {
    ScratchFile("ordinary.csx", FormatPresetFile({})), ScratchFile("clamped.csx", Highest()),
    ScratchFile("junk.csx", std::string(300, '\xF5')), kMissing, ""};
// The port names of the announcements: the box's name with a number, none, one letter short or in
// another case; others.
const std::string kBox = "Korvo-Audio ctrlWave Stomplet";
const std::string kPortNames[] = {
    kBox + " 1",  kBox + " 2", kBox, kBox.substr(0, 28), "k" + kBox.substr(1) + " 1",
    "Some Synth", "off"};
// The addresses of the calibration buttons, and the answers to the message box shown first.
constexpr int kCalibrations[] = {0x09, 0x0A, 0x1A, 0x1B};
constexpr EMsgBoxResult kAnswers[] = {EMsgBoxResult::kOk, EMsgBoxResult::kCancel,
                                      EMsgBoxResult::kYes, EMsgBoxResult::kNo};

// One input's run: the editor on the manual clock, its output port checking every message as it
// goes out against the editor's state then, and the steps.
class SequenceRun final : public AppHostLink
{
public:
    SequenceRun() { mBench.editor.SetHostLink(this); }

    bool SendToOutputPort(const std::uint8_t* bytes, std::size_t size) override
    {
        const std::span<const std::uint8_t> m(bytes, size);
        const bool running = mBench.editor.FirmwareTransferRunning();
        const Sent kind = ClassifySent(m);
        // Passed on while auditioning: a status byte other than F0 and F7, data bytes below 80,
        // the length its status byte gives.
        if (size == 0 || bytes[0] != 0xF0)
            Require(mBench.editor.mAudition && !running && size > 0 && size <= 3 && m[0] >= 0x80 &&
                    m[0] != 0xF7 && static_cast<int>(size) == MidiMessageLength(m[0]) &&
                    std::all_of(m.begin() + 1, m.end(), [](auto b) { return b < 0x80; }));
        else if (kind == Sent::kFirmwareBlock)
        {
            Require(running && mSeen < mExpected);
            // The first block not before the start delay (less the tick tolerance) after the
            // Firmware Start, every later one at least the least spacing after the one before.
            Require(mBench.clock.NowMs() - mLast >=
                    (mSeen++ == 0
                         ? FirmwareTransfer::kStartDelayMs - FirmwareTransfer::kTickToleranceMs
                         : FirmwareTransfer::kMinBlockSpacingMs));
        }
        else
            Require(running == (kind == Sent::kFirmwareStart) && kind != Sent::kNotOurs);
        if (kind == Sent::kFirmwareStart)
        {
            mExpected = 16 * m[10];
            mSeen = 0;
        }
        mLast = mBench.clock.NowMs(); // while a transfer runs, only its own messages go out
        return true;
    }
    void ProbeMidiPorts() override {}

    void Run(Input input)
    {
        while (!input.rest.empty() && mBench.clock.NowMs() <= 120000)
            Step(input);
        // Whatever is under way runs to its end: the transfer, then a debounced edit.
        for (int tick = 0; tick < 300 && mBench.editor.FirmwareTransferRunning(); ++tick)
            mBench.clock.Advance(100);
        mBench.clock.Advance(1000);
        CheckStep();
        Require(mExpected == 0);
    }

private:
    void Step(Input& in)
    {
        ctrlWaveStomplet& editor = mBench.editor;
        // The step kinds, numbered by their place as the committed seeds in corpus/sysex_sequence/
        // use them: a new kind goes last.
        const std::function<void()> kinds[] = {
            [&] { FromPort(SysEx(in), in.Byte() & 1); },
            [&] // a short message: a status byte other than F0 and F7, then up to two data bytes
            {
                const auto status = static_cast<std::uint8_t>(in.Byte() | 0x80);
                Bytes bytes{status == 0xF0 || status == 0xF7 ? std::uint8_t(0xFE) : status};
                for (int i = in.Byte() % 3; i > 0; --i)
                    bytes.push_back(static_cast<std::uint8_t>(in.Byte() & 0x7F));
                FromPort(bytes, in.Byte() & 1);
            },
            [&] { mBench.FromBox({}); }, // a pump step
            [&] { mBench.clock.Advance(20 * (1 + in.Byte())); },
            [&] { mBench.clock.Advance(1 + in.Byte() % 99); },
            [&] // an announced output port, which may stop a transfer
            {
                const std::uint8_t choice = in.Byte();
                editor.OnMidiOutputPortSelected(choice < 0xF0 ? kPortNames[choice % 7]
                                                              : in.Text(300));
                mStopAllowed = true;
            },
            [&] // a value the setting takes, or any from -0.1 to 1.175, which it must constrain
            {
                const int idx = in.Byte() % kNumParams;
                const bool taken = in.Byte() & 1;
                const int value = in.Byte();
                const int max = ParamMaxValue(idx);
                editor.SendParamFromView(idx, taken ? value % (max + 1) / double(max)
                                                    : value / 200.0 - 0.1);
            },
            [&] { editor.OnResetAll(); },
            [&] { editor.OnCalibrate(kCalibrations[in.Byte() % 4]); },
            [&] { editor.SetAudition(in.Byte() & 1); },
            [&] // a firmware file, chosen in the firmware window or by the menu
            {
                const std::uint8_t choice = in.Byte();
                if (choice & 0x80)
                    editor.OnFirmwareUpdateRequested(ctrlWaveStomplet::kFirmwareWindowRequest);
                editor.LoadFirmware(kFirmwareFiles[(choice & 0x7F) % std::size(kFirmwareFiles)]);
            },
            [&] { editor.LoadPreset(kPresetFiles[in.Byte() % std::size(kPresetFiles)]); },
            [&] { mBench.platform.AnswerMessageBox(kAnswers[in.Byte() % 4]); },
        };
        mStopAllowed = false;
        kinds[in.Byte() % std::size(kinds)]();
        CheckStep();
    }

    // Four bytes or more, so the port takes it as SysEx: raw bytes; a Status Reply whose value
    // and version bytes are anything, with a tail of up to 15 bytes; one with data bytes only, 49
    // to 64 bytes long; or a message with a Status Reply's header and a length of 6 to 517.
    static Bytes SysEx(Input& input)
    {
        const std::uint8_t form = input.Byte();
        const bool sized = form % 4 == 0 || form % 4 == 3; // two length bytes follow, high first
        const unsigned high = sized ? input.Byte() : 0;
        const unsigned length = sized ? high << 8 | input.Byte() : 0;
        Bytes bytes(form % 4 == 0   ? 4 + length % 600
                    : form % 4 == 1 ? kStatusReplySize + (form >> 4)
                    : form % 4 == 2 ? kStatusReplySize - 1 + (form >> 4)
                                    : 6 + length % 512);
        std::ranges::copy(input.Bytes(bytes.size()), bytes.begin());
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
            mBench.FromBox({}); // a pump step
    }

    // Every setting in range; a transfer that has ended sent every block, unless this step
    // announced a port.
    void CheckStep()
    {
        for (int idx = 0; idx < kNumParams; ++idx)
        {
            const double value = mBench.editor.GetParam(idx)->Value();
            Require(value >= 0.0 && value <= ParamMaxValue(idx)); // NaN fails both
        }
        if (mExpected != 0 && !mBench.editor.FirmwareTransferRunning())
        {
            Require(mStopAllowed || mSeen == mExpected);
            mExpected = 0;
        }
    }

    editor_bench::EditorBench mBench;
    int mExpected = 0; // the blocks of the transfer under way, 0 once it is seen to end
    int mSeen = 0;
    std::int64_t mLast = 0;
    bool mStopAllowed = false;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SequenceRun().Run(Input{{data, size}});
    return 0;
}
