#include "device/DeviceStatus.h"
#include "device/FirmwareImage.h"
#include "editor/FirmwareUpdate.h"
#include "support/EditorBench.h"
#include "support/TempFolder.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>
#include <random>

using editor_bench::Bytes;
using editor_bench::EditorBench;
using testfiles::TempFolder;
using testfiles::WriteBytes;

namespace editor_firmware_test
{
constexpr const char* kSynthPort = "Some Synth";
constexpr const char* kBoxPort = "Korvo-Audio ctrlWave Stomplet 1";

// F0 | 00 3F 5A | 01 firmware | 70 start | "STLT" | one page | F7
const Bytes kOnePageStart{0xF0, 0x00, 0x3F, 0x5A, 0x01, 0x70, 0x53, 0x54, 0x4C, 0x54, 0x01, 0xF7};

bool IsFirmwareBlock(const Bytes& msg)
{
    return msg.size() == kFirmwareBlockSize && msg[4] == 0x01 && msg[5] == 0x71;
}

// The bench with its output on a port, the firmware window open, and a folder for images.
struct FirmwareBench : EditorBench
{
    explicit FirmwareBench(const char* portName = kSynthPort)
    {
        editor.OnMidiOutputPortSelected(portName);
        editor.OnFirmwareUpdateRequested(1);
        port.sent.clear();
    }
    void DeviceTicks(int n) { Ticks(5 * n); }

    // A file of `size` random bytes; its path.
    std::string Image(const std::string& name, std::size_t size)
    {
        std::mt19937 random(static_cast<unsigned>(size));
        std::string bytes(size, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        WriteBytes(folder.Path() / name, bytes);
        return (folder.Path() / name).string();
    }

    TempFolder folder;
};
} // namespace editor_firmware_test

using namespace editor_firmware_test;

TEST(FirmwareUpdate, OneByteImageStartsThenSendsABlockPerTickFromTheSixthWithProgressAndFinish)
{
    FirmwareBench bench;
    bench.platform.ScriptFilePath(bench.Image("fw.bin", 1));
    ASSERT_TRUE(bench.SplashEnds("FIRMWARE UPDATE"));
    EXPECT_EQ(bench.platform.FilePrompts().back().extension, "bin");
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{kOnePageStart});
    EXPECT_EQ(bench.GroupState(kGroupFirmware), "shown");
    EXPECT_TRUE(bench.GroupDisabled(kGroupFirmwareUpdate));

    bench.DeviceTicks(5);
    EXPECT_EQ(bench.port.sent.size(), 1u);
    for (int block = 0; block < 16; ++block)
    {
        bench.DeviceTicks(1);
        ASSERT_EQ(bench.port.sent.size(), static_cast<std::size_t>(block + 2));
        EXPECT_TRUE(IsFirmwareBlock(bench.port.sent.back())) << block;
    }
    EXPECT_EQ(bench.Text(kCtrlTagFirmwareProgress), "100 %");
    EXPECT_TRUE(bench.platform.MessageBoxes().empty());
    bench.DeviceTicks(1);
    ASSERT_EQ(bench.platform.PendingMessageBoxes(), 1); // open, and the tick went on
    EXPECT_EQ(bench.platform.MessageBoxes().back().text, kFirmwareFinishedText);
    EXPECT_FALSE(bench.editor.FirmwareTransferRunning());
    ASSERT_TRUE(bench.platform.AnswerMessageBox(EMsgBoxResult::kOk));
    EXPECT_NE(bench.GroupState(kGroupFirmware), "shown");
    EXPECT_NE(bench.GroupState(kGroupFirmwareBackground), "shown");
    EXPECT_FALSE(bench.GroupDisabled(kGroupMain));
}

TEST(FirmwareUpdate, TooLargeEmptyOrNoImageOrNoPortStartsNothingAndOnlyEmptyOrNoPortSaySo)
{
    FirmwareBench bench;
    bench.editor.LoadFirmware(bench.Image("big.bin", 16384)); // refused without a word
    bench.editor.LoadFirmware(bench.Image("empty.bin", 0));
    bench.editor.LoadFirmware(""); // cancelled prompt
    bench.DeviceTicks(10);
    EXPECT_TRUE(bench.port.sent.empty());
    ASSERT_EQ(bench.platform.MessageBoxes().size(), 1u);
    EXPECT_EQ(bench.platform.MessageBoxes()[0].text, kEmptyFirmwareText);
    EXPECT_FALSE(bench.GroupDisabled(kGroupFirmwareUpdate)); // still usable

    bench.editor.OnMidiOutputPortSelected("off");
    bench.editor.LoadFirmware(bench.Image("fw.bin", 100));
    bench.DeviceTicks(30);
    EXPECT_TRUE(bench.port.sent.empty());
    EXPECT_EQ(bench.platform.MessageBoxes().back().text, kFirmwareNoOutputText);
    EXPECT_FALSE(bench.editor.FirmwareTransferRunning());
}

TEST(FirmwareUpdate, NothingElseReachesTheBoxUntilTheTransferEndsAndQuitAsksMeanwhile)
{
    FirmwareBench bench(kBoxPort);
    EXPECT_EQ(bench.editor.QuitQuestion(), "");
    bench.editor.LoadFirmware(bench.Image("fw.bin", 1));
    EXPECT_EQ(bench.editor.QuitQuestion(), kFirmwareQuitQuestion);

    bench.Edit(kPedal1Controller, 9);
    bench.Edit(kPedal2Controller, 5);
    // Another image chosen meanwhile is ignored: two images mixed would corrupt the box.
    bench.editor.LoadFirmware(bench.Image("other.bin", 2000));
    bench.editor.OnMidiOutputPortSelected(kBoxPort); // the same port: its Status Request waits
    bench.editor.OnResetAll();
    bench.editor.SetAudition(true);
    const Bytes noteOn{0x90, 60, 100};
    bench.FromBox(noteOn);
    bench.DeviceTicks(5 + 16);
    for (const Bytes& msg : bench.port.sent)
        EXPECT_TRUE(msg == kOnePageStart || IsFirmwareBlock(msg)) << msg.size() << " bytes";
    EXPECT_EQ(bench.port.sent.size(), 17u);

    bench.DeviceTicks(1); // finished: the settings, then the Status Request
    editor_bench::Values values{};
    values[kPedal1Controller] = 9;
    values[kPedal2Controller] = 5;
    const AllSettingsMessage settings = *BuildAllSettings(values);
    const Bytes allSettings(settings.bytes.begin(), settings.bytes.end());
    EXPECT_EQ(std::vector<Bytes>(bench.port.sent.begin() + 17, bench.port.sent.end()),
              (std::vector<Bytes>{allSettings, editor_bench::kStatusRequest}));
    EXPECT_EQ(bench.editor.QuitQuestion(), "");
    bench.FromBox(noteOn); // auditioning again
    EXPECT_EQ(bench.port.sent.back(), noteOn);
}

TEST(FirmwareUpdate, PortChangedOrGoneDuringTheTransferStopsItAndSaysItFailed)
{
    for (const char* next : {"off", "Another Synth", "Korvo-Audio ctrlWave Stomplet 2"})
    {
        FirmwareBench bench(kBoxPort);
        bench.editor.LoadFirmware(bench.Image("fw.bin", 100));
        bench.DeviceTicks(8);
        bench.Edit(kPedal1Controller, 9); // held back for the box the transfer went to
        bench.DeviceTicks(5);
        const std::size_t sent = bench.port.sent.size();
        bench.editor.OnMidiOutputPortSelected(next);
        bench.DeviceTicks(20);
        // Mended: what was held back went to the newly chosen port, box or not.
        const std::vector<Bytes> after(bench.port.sent.begin() + static_cast<long>(sent),
                                       bench.port.sent.end());
        EXPECT_EQ(after, IsStompletPortName(next) ? std::vector<Bytes>{editor_bench::kStatusRequest}
                                                  : std::vector<Bytes>{})
            << next;
        EXPECT_FALSE(bench.editor.FirmwareTransferRunning());
        ASSERT_EQ(bench.platform.MessageBoxes().size(), 1u);
        EXPECT_EQ(bench.platform.MessageBoxes()[0].text, kFirmwareFailedText);
        bench.platform.AnswerMessageBox(EMsgBoxResult::kOk);
        EXPECT_NE(bench.GroupState(kGroupFirmware), "shown");
        EXPECT_FALSE(bench.GroupDisabled(kGroupMain));
    }
}
