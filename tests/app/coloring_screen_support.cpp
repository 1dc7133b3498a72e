#include "coloring_screen_support.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "backends/headless/headless.h"

namespace fs = std::filesystem;

namespace app_test {

void ColoringTest::SetUp() {
    ProgramTest::SetUp();
    // The save dialog opens in the drawings' folder in the user's pictures
    // folder.
    fs::create_directories(PicturesFolder());
    ::setenv("XDG_PICTURES_DIR", PicturesFolder().c_str(), 1);
}

void ColoringTest::TearDown() {
    ::unsetenv("XDG_PICTURES_DIR");
    ProgramTest::TearDown();
}

namespace {

void WriteTopics(const std::string& dir, const std::vector<std::string>& topics) {
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 0; i < topics.size(); ++i) rows.push_back({std::to_string(i + 1), topics[i]});
    WriteCatalogue(dir + "topic.txt", rows);
}

}  // namespace

void ColoringTest::WriteFreeContent(int nEntries, const std::vector<std::string>& topics,
                                    const std::function<int(int)>& topicOf) {
    fs::create_directories(AppDir() + "Pictures");
    WriteTopics(AppDir(), topics);
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < nEntries; ++i) {
        std::string name = "free" + std::to_string(i) + ".bmp";
        SIZE size = FreeSize(i);
        ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/" + name, size.cx, size.cy));
        rows.push_back({std::to_string(i + 1), std::to_string(topicOf(i)), "Pictures\\" + name});
    }
    ASSERT_TRUE(WriteCatalogue(AppDir() + "freely.txt", rows));
}

void ColoringTest::WriteSampleContent(int nEntries, const std::vector<std::string>& topics,
                                      const std::function<int(int)>& topicOf) {
    fs::create_directories(AppDir() + "Pictures");
    WriteTopics(AppDir(), topics);
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < nEntries; ++i) {
        std::string base = "sample" + std::to_string(i);
        SIZE size = SampleSize(i);
        ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/" + base + ".bmp", size.cx, size.cy));
        ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/" + base + "_s.bmp", size.cx, size.cy,
                                 kSampleLeft, kSampleRight));
        rows.push_back({std::to_string(i + 1), std::to_string(topicOf(i)),
                        "Pictures\\" + base + "_s.bmp", "Pictures\\" + base + ".bmp"});
    }
    ASSERT_TRUE(WriteCatalogue(AppDir() + "sample.txt", rows));
}

RECT ColoringTest::ClientRectOf(HWND dialog, int id) {
    RECT rect = ScreenRectOf(dialog, id);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ColoringTest::TextOf(HWND dialog, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

int ColoringTest::CheckOf(HWND dialog, int id) {
    return int(::SendMessageA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

POINT ColoringTest::StripCell(HWND dialog, int k) {
    RECT strip = ScreenRectOf(dialog, 1000);
    return POINT{strip.left + 2 + 40, strip.top + 2 + k * 62 + 30};
}

POINT ColoringTest::Swatch(HWND dialog, int index, int columns) {
    RECT palette = ScreenRectOf(dialog, 1008);
    return POINT{palette.left + 21 * (index % columns) + 10,
                 palette.top + 21 * (index / columns) + 10};
}

POINT ColoringTest::OnCanvas(HWND dialog, int id, POINT p) {
    RECT canvas = ScreenRectOf(dialog, id);
    return POINT{canvas.left + p.x, canvas.top + p.y};
}

POINT ColoringTest::BrowseCell(HWND browse, int k) {
    RECT grid = ScreenRectOf(browse, 1000);
    return POINT{grid.left + (k % 5) * 147 + 2 + 72, grid.top + (k / 5) * 144 + 2 + 71};
}

COLORREF ColoringTest::CanvasPixel(HWND dialog, int id, POINT p) {
    // Read through the screen: a canvas may overhang its screen's edges.
    RECT canvas = ClientRectOf(dialog, id);
    return headless::PixelAt(dialog, canvas.left + p.x, canvas.top + p.y);
}

void ColoringTest::ExpectRect(RECT actual, RECT expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

bool ColoringTest::ScreenUp(int canvas) {
    HWND screen = Screen();
    return screen && ::GetDlgItem(screen, canvas);
}

HWND ColoringTest::BrowseScreen() {
    HWND top = ScreenScript::Topmost();
    return top && ::GetDlgItem(top, IDC_BROWSE_TOPICS) ? top : nullptr;
}

void ColoringTest::SaveAs(const std::string& name) {
    headless::WhenTopLevelAppears(headless::kFileDialogClass, [name](HWND) {
        for (char c : name) headless::TypeChar(static_cast<unsigned char>(c));
        headless::KeyPress(VK_RETURN);
    });
    ClickButton(IDC_SAVE);
}

void ColoringTest::ThenPressesShowRanges(const std::vector<std::pair<int, const char*>>& presses) {
    for (size_t i = 0; i <= presses.size(); ++i) {
        script.Then("press " + std::to_string(i), [presses, i] {
            if (i > 0) {
                EXPECT_EQ(TextOf(Screen(), IDC_RANGE_LABEL), presses[i - 1].second)
                    << "after press " << i - 1;
            }
            if (i < presses.size()) ClickButton(presses[i].first);
            return true;
        });
    }
}

void ColoringTest::ThenChooseTopic(const std::function<HWND()>& owner, int combo, int downs) {
    // Held from the first step: while the list is open it is the topmost window.
    auto dialog = std::make_shared<HWND>(nullptr);
    script.Then("open the topic box", [owner, combo, dialog] {
        *dialog = owner();
        if (!*dialog) return false;
        Click(CentreOf(*dialog, combo));
        return true;
    });
    script.Then("choose a topic", [combo, downs, dialog] {
        // The open list is a window of its own over the screen.
        if (!::SendDlgItemMessageA(*dialog, combo, CB_GETDROPPEDSTATE, 0, 0)) return false;
        for (int i = 0; i < downs; ++i) headless::KeyPress(VK_DOWN);
        headless::KeyPress(VK_RETURN);
        return true;
    });
    script.Then("the topic box closed", [combo, dialog] {
        return !::SendDlgItemMessageA(*dialog, combo, CB_GETDROPPEDSTATE, 0, 0);
    });
}

void ColoringTest::ThenBrowseNextPageAndPick(const char* first, const char* second, int k) {
    script.Then("browse: next page", [first] {
        HWND browse = BrowseScreen();
        if (!browse) return false;
        EXPECT_EQ(TextOf(browse, IDC_RANGE_LABEL), first);
        Click(CentreOf(browse, IDC_PAGE_NEXT));
        return true;
    });
    script.Then("browse: pick", [second, k] {
        HWND browse = BrowseScreen();
        EXPECT_EQ(TextOf(browse, IDC_RANGE_LABEL), second);
        Click(BrowseCell(browse, k));
        return true;
    });
    script.Then("browse: OK", [] {
        Click(CentreOf(BrowseScreen(), IDOK));
        return true;
    });
}

void ColoringTest::ThenQuitFromHome() {
    script.Then("leave", [] {
        if (ScreenOverHome()) return false;
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
}

void ColoringTest::OpenScreen(int id) {
    script.Then("open the screen", [id] {
        HWND home = Home();
        if (!home || ScreenOverHome()) return false;
        POINT p = CentreOf(home, id);
        headless::Click(p.x, p.y);
        return true;
    });
}

}  // namespace app_test
