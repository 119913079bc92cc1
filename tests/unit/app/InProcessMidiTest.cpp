#include "app/InProcessMidi.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
struct Received
{
    std::vector<std::vector<std::uint8_t>> messages;
    static void Callback(const std::uint8_t* bytes, std::size_t size, void* userData)
    {
        static_cast<Received*>(userData)->messages.emplace_back(bytes, bytes + size);
    }
};

const std::uint8_t kNoteOn[] = {0x90, 0x3C, 0x64};
} // namespace

TEST(InProcessMidi, PortsAreListedInPlugOrderAndVanishWhenUnplugged)
{
    InProcessMidi bus;
    EXPECT_TRUE(bus.PlugInputPort("A"));
    EXPECT_TRUE(bus.PlugInputPort("B"));
    EXPECT_FALSE(bus.PlugInputPort("A"));
    auto input = bus.CreateInput().port;
    ASSERT_EQ(input->PortCount(), 2u);
    EXPECT_EQ(input->PortName(1), "B");
    EXPECT_EQ(input->PortName(2), "");

    EXPECT_TRUE(bus.UnplugInputPort("A"));
    EXPECT_FALSE(bus.UnplugInputPort("A"));
    EXPECT_EQ(input->PortCount(), 1u);
    EXPECT_EQ(input->PortName(0), "B");
    EXPECT_TRUE(input->OpenPort(1, "RtMidi Input").has_value()); // no port 1 any more
}

TEST(InProcessMidi, FedBytesReachOnlyOpenConnectedObjectsThroughTheirIgnoreFlags)
{
    InProcessMidi bus;
    bus.PlugInputPort("A");
    bus.PlugInputPort("B");
    auto onA = bus.CreateInput().port;
    auto onB = bus.CreateInput().port;
    Received a, b;
    onA->SetCallback(&Received::Callback, &a);
    onB->SetCallback(&Received::Callback, &b);
    ASSERT_FALSE(onA->OpenPort(0, "RtMidi Input"));
    ASSERT_FALSE(onB->OpenPort(1, "RtMidi Input"));
    EXPECT_EQ(bus.InputConnections("A"), 1);

    const std::uint8_t sysEx[] = {0xF0, 0x7E, 0xF7};
    EXPECT_EQ(bus.FeedInputPort("A", sysEx, 3), 0); // a new object drops SysEx
    onA->IgnoreTypes(false, true, false);
    EXPECT_EQ(bus.FeedInputPort("A", sysEx, 3), 1);
    EXPECT_EQ(bus.FeedInputPort("A", kNoteOn, 3), 1);
    ASSERT_EQ(a.messages.size(), 2u);
    EXPECT_EQ(a.messages[1], std::vector<std::uint8_t>(kNoteOn, kNoteOn + 3));
    EXPECT_TRUE(b.messages.empty());

    onA->ClosePort();
    EXPECT_EQ(bus.FeedInputPort("A", kNoteOn, 3), 0);
    EXPECT_EQ(bus.InputConnections("A"), 0);
}

TEST(InProcessMidi, AnObjectOnAnUnpluggedPortStaysOpenButIsNotReconnectedToANewPortOfThatName)
{
    InProcessMidi bus;
    std::vector<std::vector<std::uint8_t>> heard;
    auto listener = [&heard](const std::uint8_t* bytes, std::size_t size)
    { heard.emplace_back(bytes, bytes + size); };
    bus.PlugOutputPort("Box", listener);
    auto output = bus.CreateOutput().port;
    ASSERT_FALSE(output->OpenPort(0, "RtMidi Output"));
    output->SendMessage(kNoteOn, 3);
    EXPECT_EQ(heard.size(), 1u);

    bus.UnplugOutputPort("Box");
    bus.PlugOutputPort("Box", listener);
    output->SendMessage(kNoteOn, 3);
    EXPECT_TRUE(output->IsPortOpen());
    EXPECT_EQ(heard.size(), 1u);
    EXPECT_EQ(bus.OutputConnections("Box"), 0);
    EXPECT_TRUE(output->OpenPort(0, "RtMidi Output").has_value()); // already open
}
