// The two picture sources beside the catalogues, driven through the free
// colouring screen with clicks and keys only: a drawing saved as PNG comes
// back under "My drawings" and starts again from its picture; pictures put
// into the parents' folder are listed, made colourable and coloured, and
// files that are no pictures are left out.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "backends/headless/headless.h"
#include "coloring_screen_support.h"
#include "imagelib/pix_image.h"
#include "res/resource.h"

using namespace app_test;
namespace fs = std::filesystem;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);   // palette entry 8
constexpr COLORREF kBlue = RGB(0, 0, 255);  // palette entry 38
constexpr int kColumns = 26;

class MyPicturesTest : public ColoringTest {
protected:
    // One topic of two pictures; the topic box holds all, the topic, the
    // added pictures and the drawings.
    void Prepare() {
        PrepareContent(kAllContent | kScreenPictures);
        WriteFreeContent(2, {"One"}, [](int) { return 1; });
    }
    static void Click(POINT p) { headless::Click(p.x, p.y); }
    static void ClickButton(int id) { Click(CentreOf(Screen(), id)); }
    static void Type(const std::string& text) {
        for (char c : text) headless::TypeChar(static_cast<unsigned char>(c));
    }
    // Steps that choose topic box entry `index` with the keyboard and wait
    // for the list to close.
    void ChooseTopic(int index) {
        // The open list is a window of its own over the screen.
        script.Then("open the topic box", [this] {
            m_hScreen = Screen();
            Click(CentreOf(m_hScreen, IDC_FREE_TOPICS));
            return true;
        });
        script.Then("choose the topic", [this, index] {
            if (!::SendDlgItemMessageA(m_hScreen, IDC_FREE_TOPICS, CB_GETDROPPEDSTATE, 0, 0))
                return false;
            headless::KeyPress(VK_HOME);
            for (int i = 0; i < index; ++i) headless::KeyPress(VK_DOWN);
            headless::KeyPress(VK_RETURN);
            return true;
        });
        script.Then("the list is closed", [this] {
            return !::SendDlgItemMessageA(m_hScreen, IDC_FREE_TOPICS, CB_GETDROPPEDSTATE, 0, 0);
        });
    }
    HWND m_hScreen = nullptr;
    void Leave() {
        script.Then("close the screen", [] {
            if (ScreenScript::FindVisible(nullptr, headless::kFileDialogClass)) return false;
            headless::KeyPress(VK_ESCAPE);
            return true;
        });
        script.Then("leave", [] {
            if (ScreenOverHome()) return false;
            headless::KeyPress(VK_ESCAPE);
            return true;
        });
    }
};

// A line drawing of w x h as a scan would give it: grey outlines (the frame
// and middle bar of the line-art pictures, `line` pixels thick) with a
// lighter grey fringe, on a slightly grey paper.
bool WriteScannedLineArt(const std::string& path, int w, int h, int line) {
    PixImage image;
    if (!image.Create(DWORD(w), DWORD(h), 24)) return false;
    const int inset = 2 * line;
    for (int y = 0; y < h; ++y) {
        BYTE* row = image.GetRow(DWORD(h - 1 - y));
        for (int x = 0; x < w; ++x) {
            auto within = [&](int d) {
                const bool inFrame =
                    x >= inset - d && x < w - inset + d && y >= inset - d && y < h - inset + d;
                const bool onEdge = x < inset + line + d || x >= w - inset - line - d ||
                                    y < inset + line + d || y >= h - inset - line - d;
                const bool onBar = x >= w / 2 - line / 2 - d && x < w / 2 + (line + 1) / 2 + d &&
                                   y >= inset - d && y < h - inset + d;
                return (inFrame && onEdge) || onBar;
            };
            const BYTE grey = within(0) ? 70 : within(1) ? 190 : 235;
            std::memset(row + 3 * x, grey, 3);
        }
    }
    return image.Save(path.c_str(), PixFormatForPath(path.c_str()));
}

}  // namespace

TEST_F(MyPicturesTest, ASavedPngDrawingOpensFromMyDrawingsAndStartsAgainFromItsPicture) {
    Prepare();
    const SIZE size = FreeSize(0);
    const POINT left = LeftRoom(size.cx, size.cy), right = RightRoom(size.cx, size.cy);
    OpenScreen(IDC_HOME_FREE);
    script.Then("the first picture: pick red", [&] {
        HWND screen = Screen();
        if (!screen || !::GetDlgItem(screen, IDC_CANVAS)) return false;
        EXPECT_EQ(::SendDlgItemMessageA(screen, IDC_FREE_TOPICS, CB_GETCOUNT, 0, 0), 4);
        Click(Swatch(screen, 8, kColumns));
        return true;
    });
    script.Then("colour the left room", [&] {
        Click(OnCanvas(Screen(), IDC_CANVAS, left));
        return true;
    });
    script.Then("save it as a PNG", [&] {
        headless::WhenTopLevelAppears(headless::kFileDialogClass, [](HWND) {
            Type("mine.png");
            headless::KeyPress(VK_RETURN);
        });
        ClickButton(IDC_SAVE);
        return true;
    });
    script.Then("saved", [&] {
        if (ScreenScript::FindVisible(nullptr, headless::kFileDialogClass)) return false;
        EXPECT_EQ(ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass), nullptr);
        return true;
    });
    // The colouring screen reads its sources when it opens: leave and come
    // back, as a child would the next day.
    script.Then("close the screen", [] {
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    script.Then("home", [] { return ScreenOverHome() == nullptr; });
    OpenScreen(IDC_HOME_FREE);
    script.Then("up again", [] { return Screen() && ::GetDlgItem(Screen(), IDC_CANVAS); });
    ChooseTopic(3);
    script.Then("my drawings: open the drawing", [&] {
        EXPECT_EQ(TextOf(Screen(), IDC_RANGE_LABEL), "1-1/1");
        Click(StripCell(Screen(), 0));
        return true;
    });
    script.Then("the drawing, coloured as saved: pick blue", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, left), kRed);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, right), kWhite);
        Click(Swatch(Screen(), 38, kColumns));
        return true;
    });
    script.Then("colour on: the right room", [&] {
        Click(OnCanvas(Screen(), IDC_CANVAS, right));
        return true;
    });
    script.Then("start again", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, right), kBlue);
        ClickButton(IDC_START_AGAIN);
        return true;
    });
    std::string offered;
    script.Then("the picture it came from; save again", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, left), kWhite);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, right), kWhite);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{size.cx / 2, size.cy / 2}), kBlack);
        headless::WhenTopLevelAppears(headless::kFileDialogClass, [&](HWND dialog) {
            char name[256] = {};
            ::GetDlgItemTextA(dialog, 1152, name, sizeof name);
            offered = name;
            headless::KeyPress(VK_ESCAPE);
        });
        ClickButton(IDC_SAVE);
        return true;
    });
    Leave();
    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(offered, "mine.png");
    std::ifstream png(SaveFolder() + "mine.png", std::ios::binary);
    char signature[4] = {};
    png.read(signature, 4);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    PixImage saved;
    ASSERT_TRUE(saved.Load((SaveFolder() + "mine.png").c_str()));
    EXPECT_EQ(saved.GetWidth(), DWORD(size.cx));
    EXPECT_EQ(saved.GetPixelColor(left.x, left.y).rgbRed, 255);
    EXPECT_EQ(saved.GetPixelColor(left.x, left.y).rgbGreen, 0);
    EXPECT_TRUE(fs::exists(SaveFolder() + "mine.png.tintorama"));
}

TEST_F(MyPicturesTest, AddedPicturesAreColourableAndBadFilesAreLeftOut) {
    Prepare();
    fs::create_directories(AddedFolder());
    // Twice the canvas area: fitted to 600 x 400, its 8-pixel lines become
    // 4 pixels of pure black.
    ASSERT_TRUE(WriteScannedLineArt(AddedFolder() + "a scan.png", 1200, 800, 8));
    ASSERT_TRUE(WriteScannedLineArt(AddedFolder() + "b exact.bmp", 600, 400, 4));
    std::ofstream(AddedFolder() + "c empty.png").close();
    std::ofstream(AddedFolder() + "d words.gif") << "GIF89a, or so it says";
    std::ofstream(AddedFolder() + "e notes.txt") << "not a picture";
    // A PNG cut in its rows, and one whose header claims 100 megapixels.
    ASSERT_TRUE(WriteScannedLineArt(AddedFolder() + "f cut.png", 300, 200, 4));
    fs::resize_file(AddedFolder() + "f cut.png", fs::file_size(AddedFolder() + "f cut.png") / 2);
    {
        PixImage tiny;
        tiny.Create(1, 1, 24);
        ASSERT_TRUE(tiny.Save((AddedFolder() + "g huge.png").c_str(), PIX_FORMAT_PNG));
        std::fstream huge(AddedFolder() + "g huge.png",
                          std::ios::in | std::ios::out | std::ios::binary);
        // IHDR's type and fields, 10000 x 10000, and their CRC.
        unsigned char ihdr[17];
        huge.seekg(12);
        huge.read(reinterpret_cast<char*>(ihdr), sizeof ihdr);
        for (int at : {4, 8}) {
            ihdr[at + 2] = 0x27;
            ihdr[at + 3] = 0x10;
        }
        const uLong crc = crc32(0, ihdr, sizeof ihdr);
        const unsigned char crcBytes[] = {BYTE(crc >> 24), BYTE(crc >> 16), BYTE(crc >> 8),
                                          BYTE(crc)};
        huge.seekp(12);
        huge.write(reinterpret_cast<const char*>(ihdr), sizeof ihdr);
        huge.write(reinterpret_cast<const char*>(crcBytes), sizeof crcBytes);
    }

    OpenScreen(IDC_HOME_FREE);
    script.Then("up", [] { return Screen() && ::GetDlgItem(Screen(), IDC_CANVAS); });
    ChooseTopic(2);
    script.Then("added pictures: the two that load, by name", [&] {
        EXPECT_EQ(TextOf(Screen(), IDC_RANGE_LABEL), "1-2/2");
        Click(StripCell(Screen(), 0));
        return true;
    });
    script.Then("the scan fills the canvas area in black and white: pick red", [&] {
        RECT canvas = ClientRectOf(Screen(), IDC_CANVAS);
        EXPECT_EQ(canvas.right - canvas.left, 600);
        EXPECT_EQ(canvas.bottom - canvas.top, 400);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{2, 2}), kWhite);      // was paper grey
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{9, 200}), kBlack);    // the frame
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{300, 200}), kBlack);  // the bar
        Click(Swatch(Screen(), 8, kColumns));
        return true;
    });
    script.Then("colour its left room", [&] {
        Click(OnCanvas(Screen(), IDC_CANVAS, POINT{150, 200}));
        return true;
    });
    script.Then("only the left room is red", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{150, 200}), kRed);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{20, 20}), kRed);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{450, 200}), kWhite);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{4, 4}), kWhite);
        Click(StripCell(Screen(), 1));
        return true;
    });
    script.Then("the exact one keeps its size", [&] {
        RECT canvas = ClientRectOf(Screen(), IDC_CANVAS);
        EXPECT_EQ(canvas.right - canvas.left, 600);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{9, 200}), kBlack);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, POINT{7, 200}), kWhite);
        return true;
    });
    Leave();
    EXPECT_EQ(RunProgram(), 0);
}

TEST_F(MyPicturesTest, ADrawingWhosePictureIsGoneStartsAgainAsItWasOpened) {
    Prepare();
    // A drawing from elsewhere: coloured, with a record naming a picture
    // this program directory does not have.
    fs::create_directories(SaveFolder());
    const SIZE size = FreeSize(1);
    const POINT left = LeftRoom(size.cx, size.cy), right = RightRoom(size.cx, size.cy);
    ASSERT_TRUE(WriteLineArt(SaveFolder() + "old.bmp", size.cx, size.cy, kRed, kWhite));
    std::ofstream(SaveFolder() + "old.bmp.tintorama")
        << "Tintorama drawing\npicture=app:Pictures\\gone.bmp\n";
    OpenScreen(IDC_HOME_FREE);
    script.Then("up", [] { return Screen() && ::GetDlgItem(Screen(), IDC_CANVAS); });
    ChooseTopic(3);
    script.Then("open the drawing", [&] {
        Click(StripCell(Screen(), 0));
        return true;
    });
    script.Then("pick blue", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, left), kRed);
        Click(Swatch(Screen(), 38, kColumns));
        return true;
    });
    script.Then("colour the right room", [&] {
        Click(OnCanvas(Screen(), IDC_CANVAS, right));
        return true;
    });
    script.Then("start again", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, right), kBlue);
        ClickButton(IDC_START_AGAIN);
        return true;
    });
    script.Then("the drawing as it was opened", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, left), kRed);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, right), kWhite);
        return true;
    });
    Leave();
    EXPECT_EQ(RunProgram(), 0);
}
