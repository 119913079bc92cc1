#include "BenchStomplet.h"

#include "device/AssignmentSlots.h"
#include "device/ParamTable.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace bench
{
void BenchStomplet::HandleMidiMessage(const MidiMessage& msg)
{
    mHandled.fetch_add(1, std::memory_order_relaxed);
    ctrlWaveStomplet::HandleMidiMessage(msg);
}

void BenchStomplet::OnMidiForView(const MidiMessage& msg)
{
    ++mDelivered;
    ++mDeliveredThisTick;
    ctrlWaveStomplet::OnMidiForView(msg);
}

void BenchStomplet::OnTimerTick()
{
    const auto now = std::chrono::steady_clock::now();
    if (mLastTick != std::chrono::steady_clock::time_point{})
    {
        const double gapMs = std::chrono::duration<double, std::milli>(now - mLastTick).count();
        mLongestGapMs = std::max(mLongestGapMs, gapMs);
    }
    mLastTick = now;
    ++mTicks;
    mDeliveredThisTick = 0;
    ctrlWaveStomplet::OnTimerTick();
    mMostInOneTick = std::max(mMostInOneTick, mDeliveredThisTick);
}

void BenchStomplet::ResetTickRecord()
{
    mLongestGapMs = 0.0;
    mMostInOneTick = 0;
    mTicks = 0;
    mLastTick = std::chrono::steady_clock::now();
}

void BenchStomplet::SetPedalOneController(int controller)
{
    SetParamNormalized(kPedal1Controller, GetParam(kPedal1Controller)->ToNormalized(controller));
}

MidiMessage BenchStomplet::PedalOneRecord() const
{
    return mSlotMsgs[kSlotPedal1];
}

std::string BenchStomplet::ControlText(int tag) const
{
    const IGraphics* ui = GetUI();
    if (!ui)
        return {};
    const auto* text = dynamic_cast<const ITextControl*>(ui->GetControlWithTag(tag));
    return text ? text->GetStr() : std::string();
}

std::filesystem::path MakeScratchFolder(std::string_view name)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("stomplet-bench-" + std::to_string(::getpid())) /
                                         std::string(name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteMidiSettings(const std::filesystem::path& folder, std::string_view inputFrom,
                       std::string_view outputTo)
{
    std::ofstream file(folder / "settings.ini", std::ios::trunc);
    file << "[midi]\n"
         << "indev=" << inputFrom << "\n"
         << "outdev=" << outputTo << "\n";
}

BenchEditorHost::BenchEditorHost(const std::filesystem::path& settingsFolder)
{
    auto editor = std::make_unique<BenchStomplet>();
    mEditor = editor.get();
    mHost = std::make_unique<AppHost>(
        std::move(editor), mPorts, settingsFolder,
        [](std::string_view line)
        { std::fprintf(stderr, "editor: %.*s\n", static_cast<int>(line.size()), line.data()); });
    mHost->Start();
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void PrintRow(std::string_view what, std::string_view figure, std::string_view target,
              std::string_view met)
{
    std::printf("| %.*s | %.*s | %.*s | %.*s |\n", static_cast<int>(what.size()), what.data(),
                static_cast<int>(figure.size()), figure.data(), static_cast<int>(target.size()),
                target.data(), static_cast<int>(met.size()), met.data());
    std::fflush(stdout);
}
} // namespace bench
