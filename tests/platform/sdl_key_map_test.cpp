// What the SDL2 backend turns keys and typed text into.
#include <gtest/gtest.h>
#include <windows.h>

#include "backends/sdl2/key_map.h"

namespace {

using win::sdl::Utf8ToWindows1252;
using win::sdl::VirtualKeyOf;

TEST(SdlKeyMap, NamedKeysBecomeVirtualKeysAndTypingKeysDoNot) {
    EXPECT_EQ(VirtualKeyOf(SDLK_TAB), unsigned(VK_TAB));
    EXPECT_EQ(VirtualKeyOf(SDLK_RETURN), unsigned(VK_RETURN));
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_ENTER), unsigned(VK_RETURN));
    EXPECT_EQ(VirtualKeyOf(SDLK_PAGEUP), unsigned(VK_PRIOR));
    EXPECT_EQ(VirtualKeyOf(SDLK_PAGEDOWN), unsigned(VK_NEXT));
    EXPECT_EQ(VirtualKeyOf(SDLK_DELETE), unsigned(VK_DELETE));
    EXPECT_EQ(VirtualKeyOf(SDLK_RSHIFT), unsigned(VK_SHIFT));
    // Letters come as text; a key code too would type them twice. Space is
    // a key: it presses the focused button.
    EXPECT_EQ(VirtualKeyOf(SDLK_a), 0u);
    EXPECT_EQ(VirtualKeyOf(SDLK_SPACE), unsigned(VK_SPACE));
    EXPECT_EQ(VirtualKeyOf(SDLK_5), 0u);
    EXPECT_EQ(VirtualKeyOf(SDLK_F4), unsigned(VK_F4));
}

TEST(SdlKeyMap, TypingKeysWithAltAreSystemKeys) {
    using win::sdl::SystemKeyOf;
    EXPECT_EQ(SystemKeyOf(SDLK_SPACE), unsigned(VK_SPACE));
    EXPECT_EQ(SystemKeyOf(SDLK_a), unsigned('A'));
    EXPECT_EQ(SystemKeyOf(SDLK_z), unsigned('Z'));
    EXPECT_EQ(SystemKeyOf(SDLK_7), unsigned('7'));
    EXPECT_EQ(SystemKeyOf(SDLK_TAB), 0u);
    EXPECT_EQ(SystemKeyOf(SDLK_F4), 0u);
}

TEST(SdlKeyMap, TextBecomesWindows1252) {
    EXPECT_EQ(Utf8ToWindows1252("Bé bi"), "B\xE9 bi");
    // Characters that live in 0x80..0x9F of the code page.
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x82\xAC \xE2\x80\x9C"), "\x80 \x93");
    EXPECT_EQ(Utf8ToWindows1252("\xC5\xB8"), "\x9F");  // Y with diaeresis
}

TEST(SdlKeyMap, TextTheCodePageLacksOrThatIsMalformedIsDropped) {
    EXPECT_EQ(Utf8ToWindows1252("a\xE1\xBB\x87z"), "az");  // Vietnamese e with dot and circumflex
    EXPECT_EQ(Utf8ToWindows1252("a\xF0\x9F\x98\x80z"), "az");  // an emoji
    EXPECT_EQ(Utf8ToWindows1252("a\tb\x7F"), "ab");            // control characters
    EXPECT_EQ(Utf8ToWindows1252("a\xC3"), "a");                // cut short at the end
    EXPECT_EQ(Utf8ToWindows1252("a\x80\xFFz"), "az");          // stray bytes
    EXPECT_EQ(Utf8ToWindows1252("\xC0\xA9"), "");              // overlong form of a copyright sign
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x82"), "");              // truncated three-byte form
    EXPECT_EQ(Utf8ToWindows1252(nullptr), "");
}

}  // namespace
