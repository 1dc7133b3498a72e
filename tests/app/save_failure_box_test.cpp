// The box of a failed save speaks both languages, Vietnamese first, in the
// interface font that draws the program's TCVN3 text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app_harness.h"
#include "screens/coloring_screen.h"

using namespace app_test;

namespace {

// "Không lưu được tranh" (the picture was not saved) in TCVN3.
const std::string kNotSaved =
    "Kh\xabng l\xadu \xae\xad\xee"
    "c tranh";

TEST(SaveFailureText, VietnameseFirstThenEnglishThenThePathAndTheReason) {
    std::string text =
        coloring_screen::SaveFailureText("/home/child/cat.bmp", "The disk is full.", TRUE).str();
    size_t vietnamese = text.find(kNotSaved), english = text.find("The picture was not saved");
    size_t path = text.find("/home/child/cat.bmp"), reason = text.find("The disk is full.");
    EXPECT_EQ(vietnamese, 0u) << text;
    EXPECT_LT(vietnamese, english);
    EXPECT_LT(english, path);
    EXPECT_LT(path, reason);
    // The old file is said to be kept, in both languages too.
    EXPECT_NE(
        text.find("T\xd6p c\xf2 v\xc9n c\xdfn nguy\xaan - The file that was there is unchanged"),
        std::string::npos)
        << text;

    // Without a reason of its own, a bilingual one.
    text = coloring_screen::SaveFailureText("/x.bmp", "", FALSE).str();
    EXPECT_NE(text.find("Kh\xabng ghi"), std::string::npos) << text;
    EXPECT_NE(text.find("could not be written there"), std::string::npos) << text;
    EXPECT_EQ(text.find("unchanged"), std::string::npos) << text;
}

class MessageFontTest : public ProgramTest {};

TEST_F(MessageFontTest, MessageBoxesUseTheInterfaceFont) {
    PrepareContent(kAllContent);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    script.Then("home screen", [&] {
        if (!Home()) return false;
        EXPECT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
        ::PostMessageA(Home(), WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_STREQ(metrics.lfMessageFont.lfFaceName, "Lumora Sans Serif");
}

}  // namespace
