#include "support/EditorBench.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>

using editor_bench::Bytes;
using editor_bench::EditorBench;

TEST(Audition, PassesEachMessageOnAtOnceWithTheLengthOfItsKind)
{
    EditorBench bench(false); // no screen: the audition still runs
    bench.editor.SetAudition(true);
    for (const Bytes& msg :
         std::vector<Bytes>{{0xC0, 0x05}, {0xD3, 0x40}, {0xB0, 0x0B, 0x40}, {0xF8}, {0xF3, 0x02}})
        bench.FromBox(msg);
    // A padded "C0 05 00" would read as two program changes by running status.
    EXPECT_EQ(
        bench.port.sent,
        (std::vector<Bytes>{{0xC0, 0x05}, {0xD3, 0x40}, {0xB0, 0x0B, 0x40}, {0xF8}, {0xF3, 0x02}}));
    bench.editor.SetAudition(false);
    bench.FromBox({0xB0, 0x0B, 0x41});
    bench.Ticks(1);
    EXPECT_EQ(bench.port.sent.size(), 5u);
}

TEST(MidiMonitor, PedalValueReachesItsDisplayAndTheLightOnTheNextTick)
{
    EditorBench bench;
    bench.Edit(kPedal1Controller, 11);
    bench.FromBox({0xB0, 0x0B, 0x40});
    EXPECT_EQ(bench.Text(kCtrlTagJack1PedalValue), "");
    bench.Ticks(1);
    EXPECT_EQ(bench.Text(kCtrlTagJack1PedalValue), "64");
    EXPECT_TRUE(bench.Tagged(kCtrlTagMidiLight).HasAnimation());
}

TEST(ActivityLight, WhileNotReadyOnlyANoteOnFlashesIt)
{
    EditorBench bench;
    bench.Reply({}, 9); // a refused version leaves the editor not ready; any SysEx flashes it
    bench.Ticks(1);
    EXPECT_TRUE(bench.Tagged(kCtrlTagMidiLight).HasAnimation());
    bench.graphics.OnFrame(0.0);
    bench.graphics.OnFrame(1000.0); // the reply's flash runs out
    ASSERT_FALSE(bench.Tagged(kCtrlTagMidiLight).HasAnimation());
    bench.FromBox({0xB0, 0x0B, 0x40});
    bench.Ticks(1);
    EXPECT_FALSE(bench.Tagged(kCtrlTagMidiLight).HasAnimation());
    bench.FromBox({0x95, 0x3C, 0x00});
    bench.Ticks(1);
    EXPECT_TRUE(bench.Tagged(kCtrlTagMidiLight).HasAnimation());
}
