#include "sim/DemoStomplet.h"

#include "device/SysExMessages.h"

DemoStomplet::DemoStomplet(InProcessMidi& bus) : mBus(bus)
{
    mBus.PlugInputPort(kPortName);
    mBus.PlugOutputPort(kPortName, [this](const std::uint8_t* bytes, std::size_t size)
                        { OnMessageToBox(bytes, size); });
}

DemoStomplet::~DemoStomplet()
{
    mBus.UnplugOutputPort(kPortName);
    mBus.UnplugInputPort(kPortName);
}

std::int64_t DemoStomplet::NowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 mStart)
        .count();
}

void DemoStomplet::OnMessageToBox(const std::uint8_t* bytes, std::size_t size)
{
    // Short messages (the editor's audition pass-through) mean nothing to the box.
    if (!bytes || size == 0 || bytes[0] != kSysExStart)
        return;
    std::vector<VirtualStomplet::WireMessage> answers;
    {
        std::lock_guard lock(mBoxMutex);
        answers = mBox.ReceiveSysEx({bytes, size}, NowMs());
    }
    Feed(answers);
}

std::size_t DemoStomplet::Perform()
{
    std::vector<VirtualStomplet::WireMessage> sent;
    {
        std::lock_guard lock(mBoxMutex);
        sent = DemoPerformer::Perform(mBox, mPerformer.Due(NowMs(), mBox.CurrentSettings()));
    }
    Feed(sent);
    return sent.size();
}

VirtualStomplet::Settings DemoStomplet::Settings()
{
    std::lock_guard lock(mBoxMutex);
    return mBox.CurrentSettings();
}

void DemoStomplet::Feed(const std::vector<VirtualStomplet::WireMessage>& messages)
{
    for (const VirtualStomplet::WireMessage& message : messages)
        mBus.FeedInputPort(kPortName, message.data(), message.size());
}
