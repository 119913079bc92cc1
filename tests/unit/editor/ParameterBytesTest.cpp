#include "device/SettingBytes.h"
#include "editor/ctrlWaveStomplet.h"

#include <gtest/gtest.h>

namespace
{
// A delegate with a parameter list of any size, each 0 to 1000.
class WideDelegate : public IEditorDelegate
{
public:
    explicit WideDelegate(int nParams) : IEditorDelegate(nParams)
    {
        for (int i = 0; i < nParams; ++i)
            GetParam(i)->InitInteger("wide", 0, 0, 1000);
    }
    void SendParamFromView(int, double) override {}
};
} // namespace

TEST(SettingBytes, ByteIsTheValueInIndexOrder)
{
    ctrlWaveStomplet editor;
    editor.GetParam(kSwitchA1Channel)->Set(9.0);
    editor.GetParam(kPedal1Controller)->Set(11.0);
    editor.GetParam(kSwitch1SpecialUpper)->Set(127.0);
    const SettingBytes bytes = SettingsToBytes(editor);
    EXPECT_EQ(bytes[28], 0x09);
    EXPECT_EQ(bytes[23], 0x0B);
    EXPECT_EQ(bytes[37], 0x7F);
    EXPECT_EQ(bytes[6], 0x00);
}

TEST(SettingBytes, ADelegateOfAnotherSizeReadsZeroAndAValueBeyondADataByteIsKeptWithin)
{
    WideDelegate small(37);
    small.GetParam(36)->Set(5.0);
    EXPECT_EQ(SettingsToBytes(small)[36], 5);
    EXPECT_EQ(SettingsToBytes(small)[37], 0);
    WideDelegate wide(38);
    wide.GetParam(5)->Set(128.0);
    EXPECT_EQ(SettingsToBytes(wide)[5], 0x7F);
}
