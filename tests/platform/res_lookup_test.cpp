// Resources compiled by the resource compiler into this test binary: the
// program's own script and a test script (tests/platform/data/res_test.rc).
#include <gtest/gtest.h>

#include <cstring>

#include "resources/dialog_template.h"
#include "resources/icon_file.h"
#include "resources/strings.h"
#include "win/mmsystem.h"
#include "win/res.h"

namespace {

#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_BORDER 0x00800000u
#define WS_VSCROLL 0x00200000u
#define WS_TABSTOP 0x00010000u
#define DS_SETFONT 0x40u

struct Rect {
    int id, x, y, cx, cy;
};

void ExpectItems(const win::res::DialogTemplate& t, std::initializer_list<Rect> expected) {
    ASSERT_EQ(t.items.size(), expected.size());
    size_t i = 0;
    for (const Rect& r : expected) {
        const auto& item = t.items[i++];
        EXPECT_EQ(item.id, r.id);
        EXPECT_EQ(item.x, r.x) << r.id;
        EXPECT_EQ(item.y, r.y) << r.id;
        EXPECT_EQ(item.cx, r.cx) << r.id;
        EXPECT_EQ(item.cy, r.cy) << r.id;
    }
}

}  // namespace

TEST(ResLookup, FindsByIdNameAndHashNumber) {
    HRSRC byId = FindResourceA(nullptr, MAKEINTRESOURCEA(9103), "WAVE");
    ASSERT_NE(byId, nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "#9103", "wave"), byId);
    EXPECT_EQ(SizeofResource(nullptr, byId), 52u);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, byId)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::memcmp(bytes, "RIFF", 4), 0);

    HRSRC named = FindResourceA(nullptr, "namedsound", "WAVE");
    ASSERT_NE(named, nullptr);
    EXPECT_NE(named, byId);

    // Bitmaps lose their file header: a packed DIB remains.
    HRSRC bitmap = FindResourceA(nullptr, MAKEINTRESOURCEA(9102), RT_BITMAP);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, bitmap), 56u);
    EXPECT_EQ(*static_cast<const uint32_t*>(LockResource(LoadResource(nullptr, bitmap))), 40u);
}

TEST(ResLookup, MissingAndBogusRequestsFailSafely) {
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(9103), RT_BITMAP), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "#", "WAVE"), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "#99999999", "WAVE"), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "#12x", "WAVE"), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, nullptr, "WAVE"), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "NAMEDSOUNDX", "WAVE"), nullptr);
    int local = 0;
    HRSRC bogus = reinterpret_cast<HRSRC>(&local);
    EXPECT_EQ(LoadResource(nullptr, bogus), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, bogus), 0u);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST(ResStrings, LoadStringCopiesTruncatesAndReportsMissing) {
    char buffer[64];
    EXPECT_EQ(LoadStringA(nullptr, 101, buffer, sizeof buffer), 19);
    EXPECT_STREQ(buffer, "&About Tintorama...");
    EXPECT_EQ(LoadStringA(nullptr, 9008, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "first");
    EXPECT_EQ(LoadStringA(nullptr, 9023, buffer, sizeof buffer), 13);  // last of its block
    EXPECT_STREQ(buffer, "last of block");
    EXPECT_EQ(LoadStringA(nullptr, 9024, buffer, sizeof buffer), 14);  // first of the next
    EXPECT_STREQ(buffer, "euro \x80 tab\tend");

    EXPECT_EQ(LoadStringA(nullptr, 9024, buffer, 5), 4);
    EXPECT_STREQ(buffer, "euro");
    EXPECT_EQ(LoadStringA(nullptr, 9024, buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
    // Missing: an id in an existing block, in no block, and beyond 16 bits.
    std::strcpy(buffer, "unchanged");
    EXPECT_EQ(LoadStringA(nullptr, 9009, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadStringA(nullptr, 4000, buffer, sizeof buffer), 0);
    EXPECT_EQ(LoadStringA(nullptr, 0x10065, buffer, sizeof buffer), 0);
    EXPECT_EQ(LoadStringA(nullptr, 101, nullptr, 10), 0);
    // Size 0 hands out a pointer to the string.
    const char* direct = nullptr;
    EXPECT_EQ(LoadStringA(nullptr, 101, reinterpret_cast<LPSTR>(&direct), 0), 19);
    EXPECT_STREQ(direct, "&About Tintorama...");
}

TEST(ResDialog, HomeScreenTemplate) {
    win::res::DialogTemplate t;
    ASSERT_TRUE(win::res::LoadDialogTemplate(MAKEINTRESOURCEA(102), t));
    EXPECT_EQ(t.style, WS_POPUP | WS_VISIBLE | WS_BORDER | DS_SETFONT);
    EXPECT_EQ(t.exStyle, 0x40000u);  // WS_EX_APPWINDOW
    EXPECT_EQ(t.cx, 465);
    EXPECT_EQ(t.cy, 286);
    EXPECT_TRUE(t.title.empty());
    EXPECT_TRUE(t.hasFont);
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.faceName, "MS Sans Serif");
    ExpectItems(t, {{2, 252, 136, 61, 22},
                    {1013, 145, 68, 89, 28},
                    {1014, 43, 94, 86, 27},
                    {1015, 203, 160, 64, 21},
                    {1016, 83, 141, 84, 26},
                    {1039, 343, 244, 29, 22}});
    for (const auto& item : t.items) {
        EXPECT_EQ(item.className, "Button");
        EXPECT_EQ(item.style, WS_CHILD | WS_VISIBLE | WS_TABSTOP);  // BS_PUSHBUTTON
        EXPECT_TRUE(item.text.empty());
    }
}

TEST(ResDialog, MusicListAndScreensWithCustomClasses) {
    win::res::DialogTemplate t;
    ASSERT_TRUE(win::res::LoadDialogTemplate(MAKEINTRESOURCEA(147), t));
    EXPECT_EQ(t.style, WS_POPUP | WS_BORDER | DS_SETFONT);
    EXPECT_EQ(t.cx, 197);
    ExpectItems(t, {{1, 56, 155, 33, 22}, {2, 107, 155, 33, 22}, {1035, 7, 30, 183, 116}});
    EXPECT_EQ(t.items[0].style & 0xF, 1u);  // BS_DEFPUSHBUTTON
    EXPECT_EQ(t.items[2].className, "ListBox");
    // LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, border, scroll bar, tab stop.
    EXPECT_EQ(t.items[2].style,
              WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | 0x101u);

    ASSERT_TRUE(win::res::LoadDialogTemplate(MAKEINTRESOURCEA(130), t));
    EXPECT_EQ(t.items[0].className, "ColoringThumbnailCtrl");
    EXPECT_EQ(t.items[1].className, "ColoringCanvasCtrl");
    EXPECT_EQ(t.items[2].className, "ColoringPaletteCtrl");
    EXPECT_EQ(t.items[3].className, "ComboBox");
    EXPECT_EQ(t.items[3].style & 0xF, 3u);  // CBS_DROPDOWNLIST
    EXPECT_EQ(t.items[6].text, "1-100/1000");
    EXPECT_TRUE(t.items[6].style & WS_DISABLED);
    EXPECT_EQ(t.items.back().style & 0xF, 3u);  // BS_AUTOCHECKBOX
    for (int id : {100, 129, 140, 141})
        EXPECT_TRUE(win::res::LoadDialogTemplate(MAKEINTRESOURCEA(id), t)) << id;
    // The mixer's marker boxes are hidden.
    EXPECT_FALSE(t.items[2].style & WS_VISIBLE);
    EXPECT_EQ(t.items[2].text, "RGB");
}

TEST(ResDialog, ScriptFormsStylesAndEscapes) {
    win::res::DialogTemplate t;
    ASSERT_TRUE(win::res::LoadDialogTemplate(MAKEINTRESOURCEA(9001), t));
    EXPECT_EQ(t.x, 10);
    EXPECT_EQ(t.y, 20);
    EXPECT_EQ(t.title, "Say \"hi\" \xe9");
    EXPECT_EQ(t.weight, 700);
    EXPECT_TRUE(t.italic);
    EXPECT_EQ(t.pointSize, 10);
    EXPECT_EQ(t.faceName, "DejaVu Sans");
    ASSERT_EQ(t.items.size(), 5u);
    EXPECT_EQ(t.items[0].className, "MyCustomCtrl");
    EXPECT_EQ(t.items[0].style, WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x4u);
    EXPECT_EQ(t.items[0].exStyle, 0x200u);
    EXPECT_EQ(t.items[1].style, WS_CHILD | WS_VISIBLE | WS_VSCROLL | 0x1u);  // NOT WS_BORDER
    EXPECT_EQ(t.items[2].className, "Static");
    EXPECT_EQ(t.items[2].id, -1);
    EXPECT_EQ(t.items[2].textId, 9100);
    EXPECT_EQ(t.items[2].style & 0x1F, 3u);  // SS_ICON
    EXPECT_EQ(t.items[3].text, "&Check");
    EXPECT_EQ(t.items[4].className, "Edit");
    // The #else branch was taken; a dialog with no STYLE gets the default.
    ASSERT_TRUE(win::res::LoadDialogTemplate(MAKEINTRESOURCEA(9002), t));
    EXPECT_TRUE(t.items.empty());
    EXPECT_EQ(t.style, 0x80880000u);
}

TEST(ResDialog, TruncatedOrCorruptTemplatesAreRefused) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(9001), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    const size_t size = SizeofResource(nullptr, found);
    win::res::DialogTemplate t;
    for (size_t cut = 0; cut < size - 2; ++cut)
        EXPECT_FALSE(win::res::ParseDialogTemplate(bytes, cut, t)) << cut;
    EXPECT_FALSE(win::res::ParseDialogTemplate(nullptr, 100, t));
    // An item count larger than the data.
    std::vector<uint8_t> copy(bytes, bytes + size);
    copy[16] = 0xFF;
    copy[17] = 0xFF;
    EXPECT_FALSE(win::res::ParseDialogTemplate(copy.data(), copy.size(), t));
    // A string with no terminator.
    std::vector<uint8_t> endless(64, 'A');
    endless[0] = 1, endless[1] = 0, endless[2] = 0xFF, endless[3] = 0xFF;
    EXPECT_FALSE(win::res::ParseDialogTemplate(endless.data(), endless.size(), t));
}

TEST(ResIcon, ChoosesTheWantedSizeAndDecodesEachFormat) {
    win::res::IconImage image;
    ASSERT_TRUE(win::res::LoadIconResource(MAKEINTRESOURCEA(9100), false, 32, image));
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 32);
    EXPECT_EQ(image.hotspotX, 16);  // icons: the centre
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(image.color[0], 0x000000FFu);            // alpha 0 at the left
    EXPECT_EQ(image.color[31], (248u << 24) | 0xFFu);  // rising to the right
    EXPECT_EQ(image.mask[0], 0);

    ASSERT_TRUE(win::res::LoadIconResource(MAKEINTRESOURCEA(9100), false, 16, image));
    EXPECT_EQ(image.width, 16);
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(image.mask[0], 1);  // left half transparent
    EXPECT_EQ(image.color[0] >> 24, 0u);
    EXPECT_EQ(image.mask[15], 0);
    EXPECT_EQ(image.color[15], 0xFFFF0000u);  // palette red, opaque

    ASSERT_TRUE(win::res::LoadIconResource(MAKEINTRESOURCEA(9100), false, 64, image));
    EXPECT_EQ(image.width, 48);  // the PNG entry
    EXPECT_EQ(image.color[5], 0xFF00FF00u);

    ASSERT_TRUE(win::res::LoadIconResource(MAKEINTRESOURCEA(9101), true, 32, image));
    EXPECT_EQ(image.hotspotX, 3);
    EXPECT_EQ(image.hotspotY, 5);
    EXPECT_EQ(image.mask[0], 0);
    EXPECT_EQ(image.mask[31], 1);
    // An icon is not a cursor.
    EXPECT_FALSE(win::res::LoadIconResource(MAKEINTRESOURCEA(9100), true, 32, image));
}

TEST(ResIcon, HostileFilesNeverReadOutside) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(9100), RT_GROUP_ICON);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    const size_t size = SizeofResource(nullptr, found);
    std::vector<uint8_t> file(bytes, bytes + size);
    win::res::IconImage image;
    // Every truncation either fails or still decodes a whole entry.
    for (size_t cut = 0; cut < size; cut += 7) {
        std::vector<uint8_t> part(file.begin(), file.begin() + cut);
        if (win::res::ParseIconFile(part.data(), part.size(), false, 32, image)) {
            EXPECT_EQ(image.color.size(), size_t(image.width) * image.height);
        }
    }
    // Entries pointing beyond the file, huge sizes, and a zero count.
    std::vector<uint8_t> bad = file;
    for (int i = 0; i < 3; ++i) std::memset(bad.data() + 6 + i * 16 + 12, 0xFF, 4);
    EXPECT_FALSE(win::res::ParseIconFile(bad.data(), bad.size(), false, 32, image));
    bad = file;
    bad[4] = 0;
    EXPECT_FALSE(win::res::ParseIconFile(bad.data(), bad.size(), false, 32, image));
    bad = file;
    const uint32_t offset = bad[6 + 16 + 12] | (bad[6 + 16 + 13] << 8);
    std::memset(bad.data() + offset + 4, 0x7F, 8);  // width and height of the 32x32 DIB
    EXPECT_TRUE(win::res::ParseIconFile(bad.data(), bad.size(), false, 32, image));
    EXPECT_NE(image.width, 32);  // that entry is skipped, another decodes
    EXPECT_FALSE(win::res::ParseIconFile(nullptr, 0, false, 32, image));
}

TEST(ResProgram, IconsCursorBitmapsAndSoundsAreCompiledIn) {
#ifndef TINTO_CONTENT_RESOURCES
    GTEST_SKIP() << "res/ holds no content files yet: only dialogs.rc is compiled";
#else
    win::res::IconImage image;
    for (int id : {128, 132, 134, 135, 136, 137, 139, 144, 145, 146, 149, 150, 151, 164}) {
        ASSERT_TRUE(win::res::LoadIconResource(MAKEINTRESOURCEA(id), false, 32, image)) << id;
        EXPECT_EQ(image.width, 32) << id;
        EXPECT_EQ(image.height, 32) << id;
    }
    ASSERT_TRUE(win::res::LoadIconResource(MAKEINTRESOURCEA(131), true, 32, image));
    for (int id : {142, 143, 148})
        EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_BITMAP), nullptr) << id;
    for (int id = 153; id <= 157; ++id) {
        HRSRC sound = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "WAVE");
        ASSERT_NE(sound, nullptr) << id;
        EXPECT_EQ(std::memcmp(LockResource(LoadResource(nullptr, sound)), "RIFF", 4), 0) << id;
    }
#endif
}

TEST(ResLookup, PlaySoundFindsWaveResources) {
    ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
    const DWORD flags = SND_RESOURCE | SND_NODEFAULT;
    EXPECT_TRUE(PlaySoundA(MAKEINTRESOURCEA(9103), nullptr, flags));
    EXPECT_TRUE(PlaySoundA("NamedSound", nullptr, flags));
    EXPECT_FALSE(PlaySoundA(MAKEINTRESOURCEA(9102), nullptr, flags));  // a bitmap, not a sound
    EXPECT_FALSE(PlaySoundA(MAKEINTRESOURCEA(4242), nullptr, flags));
}
