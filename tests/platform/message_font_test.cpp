// The message font of the non-client metrics: kept for the process, and the
// font a message box draws its text in.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "support/message_box_catcher.h"

namespace {

TEST(MessageFont, IsKeptAndMessageBoxesDrawInIt) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_STREQ(metrics.lfMessageFont.lfFaceName, "MS Sans Serif");
    const NONCLIENTMETRICSA original = metrics;
    std::strcpy(metrics.lfMessageFont.lfFaceName, "DejaVu Serif");
    metrics.lfMessageFont.lfHeight = -15;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));

    LOGFONTA shown{};
    {
        MessageBoxCatcher catcher;
        catcher.whileUp = [&](HWND box) {
            HFONT font = reinterpret_cast<HFONT>(
                ::SendMessageA(::GetDlgItem(box, 0xFFFF), WM_GETFONT, 0, 0));
            ::GetObjectA(font, sizeof shown, &shown);
        };
        ::MessageBoxA(nullptr, "text", "caption", MB_OK);
    }
    EXPECT_STREQ(shown.lfFaceName, "DejaVu Serif");
    EXPECT_EQ(shown.lfHeight, -15);

    // A record of another size is refused, and so is another action.
    NONCLIENTMETRICSA wrong = metrics;
    wrong.cbSize = 4;
    EXPECT_FALSE(::SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, 0, &wrong, 0));
    EXPECT_FALSE(::SystemParametersInfoA(0x0001, 0, &metrics, 0));
    ASSERT_TRUE(::SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof original,
                                        const_cast<NONCLIENTMETRICSA*>(&original), 0));
}

}  // namespace
