// The editor as a musician uses it: its real view on the offscreen platform, clicked in design
// coordinates, against stomplet-sim, with jack_midi_dump on the editor's output as an independent
// observer; and the editor's file flows, whose result the simulator's traffic and its
// written-back image show.

#include "EditorScreen.h"
#include "device/PresetFile.h"

#include <QMenu>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

using editorscreen::Bytes;
using editorscreen::EditorScreen;
using editorscreen::kAttemptSlices;
using editorscreen::ToBytes;
using editorscreen::WaitUntil;

TEST_F(EditorScreen, InterfaceModeAClickedEditAsOneSingleSettingAndResetAllOnTheWire)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << Text(kCtrlTagDeviceText3) << sim->Transcript();
    EXPECT_EQ(Text(kCtrlTagDeviceText1), "DEVICE: Korvo-Audio ctrlWave Stomplet");
    // The box's factory settings on the pedal LCDs: controller 11 on jack 1, 7 on jack 2.
    EXPECT_EQ(Text(kCtrlTagJack1PedalLine1), "CH 1 - CC 11");
    EXPECT_EQ(Text(kCtrlTagJack2PedalLine1), "CH 1 - CC 7");

    // "JACK 1 Mode" on the GLOBAL page: its caption opens a menu, "Switches" is chosen, and once
    // the edit has rested the box takes exactly one Single Setting with the new value.
    auto dump = DumpEditorOutput();
    ASSERT_TRUE(dump);
    const Bytes toSwitches = ToBytes(*BuildSingleSetting(kJack1Mode, kJackModeSwitches));
    const Bytes toPedal = ToBytes(*BuildSingleSetting(kJack1Mode, kJackModePedal));
    bool taken = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !taken; ++attempt)
    {
        // A try the server lost is undone first, so that each click changes the setting.
        const int target = attempt % 2 == 0 ? kJackModeSwitches : kJackModePedal;
        ClickOn(*Graphics().GetControlWithTag(kCtrlTagJack1Mode));
        QMenu* menu = view->Platform().OpenMenu();
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), 2);
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(items[target]).center());
        ASSERT_TRUE(WaitUntil([&] { return editor->GetParam(kJack1Mode)->Int() == target; }));
        const Bytes& expected = target == kJackModeSwitches ? toSwitches : toPedal;
        taken = WaitUntil([&] { return e2e::CountTraffic(sim->Traffic(), false, expected) > 0; },
                          kAttemptSlices);
    }
    ASSERT_TRUE(taken) << sim->Transcript();
    // Each click reached the box at most once: the debounce sent one message per edit.
    const std::vector<Bytes> toBox = Traffic(false);
    EXPECT_LE(std::count(toBox.begin(), toBox.end(), toSwitches), 1);

    // RESET ALL asks first; on Yes it puts the reset, then a Status Request, on the wire.
    IControl* reset = ControlLabelled("RESET ALL");
    ASSERT_NE(reset, nullptr);
    // F0, maker 00 3F 5A, model 04, write value 02, address 70 (reset), value 00, F7.
    const Bytes resetBytes{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x70, 0x00, 0xF7};
    const Bytes request = ToBytes(BuildStatusRequest());
    const auto resetThenRequest = [&](const std::vector<Bytes>& messages)
    {
        const auto at = std::find(messages.begin(), messages.end(), resetBytes);
        return at != messages.end() && at + 1 != messages.end() && *(at + 1) == request;
    };
    bool seen = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !seen; ++attempt)
    {
        const std::size_t before = dump->Messages().size();
        ClickOn(*reset);
        ASSERT_TRUE(AnswerQuestion(QMessageBox::Yes));
        seen = WaitUntil([&] { return dump->Messages().size() >= before + 2; }, kAttemptSlices) &&
               resetThenRequest(dump->Messages());
    }
    EXPECT_TRUE(seen) << "jack_midi_dump never saw the reset followed by the Status Request";
    for (const Bytes& message : dump->Messages())
        EXPECT_TRUE(message == toSwitches || message == toPedal || message == request ||
                    message == resetBytes)
            << "unexpected message from the editor";
}

TEST_F(EditorScreen, ThePedalShowsOnItsLcdAndAuditionPassesItOn)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->Transcript();
    auto dump = DumpEditorOutput();
    ASSERT_TRUE(dump);
    IControl* audition = ControlAt(720.f, 23.f); // the AUDITION toggle in the header bar
    ASSERT_NE(audition, nullptr);
    ClickOn(*audition);
    ASSERT_TRUE(WaitUntil([&] { return audition->GetValue() > 0.5; }));

    // Each try moves pedal 1 somewhere new; the factory settings send controller 11 on channel 1.
    bool shown = false;
    bool passedOn = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !(shown && passedOn); ++attempt)
    {
        const int position = 40 + attempt;
        const std::size_t before = dump->Messages().size();
        ASSERT_TRUE(sim->Process().WriteInput("pedal 1 " + std::to_string(position) + "\n"));
        shown = WaitUntil([&] { return Text(kCtrlTagJack1PedalValue) == std::to_string(position); },
                          kAttemptSlices);
        const Bytes expected{0xB0, 0x0B, static_cast<std::uint8_t>(position)};
        WaitUntil([&] { return dump->Messages().size() > before; }, kAttemptSlices);
        const std::vector<Bytes> dumped = dump->Messages();
        passedOn = std::count(dumped.begin(), dumped.end(), expected) > 0;
    }
    EXPECT_TRUE(shown) << Text(kCtrlTagJack1PedalValue) << sim->Transcript();
    EXPECT_TRUE(passedOn) << "the pedal's control change never came out of the editor";
}

TEST_F(EditorScreen, AStandaloneBoxShowsItsStateAndTheNotice)
{
    ASSERT_NO_FATAL_FAILURE(Start({"--standalone"}));
    ASSERT_TRUE(WaitUntil([&] { return editor->DeviceModeKnown(); })) << sim->Transcript();
    EXPECT_EQ(Text(kCtrlTagDeviceText3), kStandaloneModeText);
    IControl* notice = Graphics().GetControlWithTag(kCtrlTagStandaloneNotice);
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->IsHidden());
}

TEST_F(EditorScreen, TheLargestFirmwareImageIsWrittenBackWholeAfter256PacedBlocks)
{
    const std::filesystem::path written = folder / "received.bin";
    ASSERT_NO_FATAL_FAILURE(Start({"--firmware-out", written.string()}, false));
    std::mt19937 random(7);
    std::string image(16383, '\0');
    for (char& byte : image)
        byte = static_cast<char>(random() & 0xFF); // all eight bits in use
    std::ofstream(folder / "image.bin", std::ios::binary) << image;
    editor->LoadFirmware((folder / "image.bin").string());
    ASSERT_TRUE(editor->FirmwareTransferRunning());
    // 256 blocks a tenth of a second apart, after the half-second start.
    ASSERT_TRUE(WaitUntil([&] { return !editor->FirmwareTransferRunning(); }, 6000));

    std::string back;
    WaitUntil(
        [&]
        {
            std::ifstream in(written, std::ios::binary);
            back.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return back.size() == 16384;
        });
    ASSERT_EQ(back.size(), 16384u) << sim->Transcript(); // sixteen whole pages
    EXPECT_EQ(back.substr(0, image.size()), image);
    EXPECT_EQ(back.back(), '\xFF'); // the page's erased rest

    // Paced on schedule: the server delivers MIDI once per 21 ms period, so blocks sent 100 ms
    // apart arrive 79 to 121 ms apart. Two blocks in one period would arrive together; a block
    // held back a whole tick would arrive about 200 ms after the one before.
    std::optional<double> startStamp;
    std::vector<double> stamps;
    for (const e2e::TrafficLine& line : sim->Traffic())
    {
        if (line.sent || line.bytes.size() <= 6 || line.bytes[4] != kModelFirmware)
            continue;
        if (line.bytes[5] == kCommandFirmwareStart)
            startStamp = line.milliseconds;
        else if (line.bytes[5] == kCommandFirmwareBlock)
            stamps.push_back(line.milliseconds);
    }
    ASSERT_TRUE(startStamp);
    ASSERT_EQ(stamps.size(), 256u);
    for (std::size_t i = 1; i < stamps.size(); ++i)
    {
        // Mended: blocks were held back a whole tick every few blocks.
        EXPECT_GE(stamps[i] - stamps[i - 1], 50.0) << "block " << i;
        EXPECT_LT(stamps[i] - stamps[i - 1], 150.0) << "block " << i;
    }
    EXPECT_LT(stamps.back() - *startStamp, 26500.0);
}

TEST_F(EditorScreen, LoadedPresetArrivesAsOneAllSettingsMessageAndTheBoxTakesItsSettings)
{
    ASSERT_NO_FATAL_FAILURE(Start({}, false));
    PresetValues values{};
    values[kJack1Mode] = 1;
    values[kPedal1Controller] = 74;
    values[kSwitchA2Controller] = 127;
    std::ofstream(folder / "set.csx", std::ios::binary) << FormatPresetFile(values);
    editor->LoadPreset((folder / "set.csx").string());
    const AllSettingsMessage expected = *BuildAllSettings(values);
    ASSERT_TRUE(
        WaitUntil([&] { return !Received(kModelConfiguration, kCommandAllSettings).empty(); }))
        << sim->Transcript();

    // The box reports what it now holds.
    editor->SendSysExMessage(BuildStatusRequest().Message());
    std::optional<StatusReply> reply;
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            const std::vector<Bytes> sent = Traffic(true);
            reply = sent.empty() ? std::nullopt : RecogniseStatusReply(sent.back());
            return reply && reply->values == values;
        }))
        << sim->Transcript();
    EXPECT_EQ(Received(kModelConfiguration, kCommandAllSettings),
              std::vector<Bytes>{Bytes(expected.bytes.begin(), expected.bytes.end())});
}
