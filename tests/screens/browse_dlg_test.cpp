// The browse screen run modally on the headless backend: its grid and
// background, paging with the range label, the topic filter, and what OK
// and Cancel return.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "backends/headless/headless.h"
#include "common/globals.h"
#include "res/resource.h"
#include "screens/browse_dlg.h"
#include "screens_support.h"

using namespace screens_test;

namespace {

constexpr COLORREF kBackground = RGB(10, 200, 30);

class BrowseTest : public ::testing::Test {
protected:
    using Step = std::function<void(CBrowseDlg&)>;

    void SetUp() override {
        RecordSounds();
        m_strSavedAppDir = g_strAppDir;
        g_strAppDir = folder.Path().c_str();
    }
    void TearDown() override {
        g_strAppDir = m_strSavedAppDir;
        StopRecordingSounds();
    }

    // Runs the screen; the steps run one at a time from its loop. When they
    // are done and the screen is still up, Cancel closes it and the test fails.
    INT_PTR Run(CBrowseDlg& dlg, std::vector<Step> steps) {
        size_t next = 0;
        headless::SetIdleHandler([&] {
            if (!dlg.m_hWnd || !::IsWindowVisible(dlg.m_hWnd)) return false;
            if (next < steps.size()) {
                steps[next++](dlg);
                return true;
            }
            ADD_FAILURE() << "the browse screen is still open after the last step";
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
            next = steps.size() + 1;
            return true;
        });
        const INT_PTR result = dlg.DoModal();
        headless::SetIdleHandler(nullptr);
        return result;
    }

    // Steps.
    static void ClickCell(CBrowseDlg& dlg, int cell) {
        POINT p{(cell % 5) * 147 + 40, (cell / 5) * 144 + 40};
        dlg.m_ctlThumbs.ClientToScreen(&p);
        headless::Click(p.x, p.y);
        headless::RunUntilIdle();
    }
    static void ClickButton(CBrowseDlg& dlg, int id) {
        CRect rect;
        dlg.GetDlgItem(id)->GetWindowRect(&rect);
        headless::Click(rect.CenterPoint().x, rect.CenterPoint().y);
        headless::RunUntilIdle();
    }
    static void ChooseTopic(CBrowseDlg& dlg, int index) {
        dlg.m_cboTopic.SetCurSel(index);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BROWSE_TOPICS, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(dlg.m_cboTopic.m_hWnd));
        headless::RunUntilIdle();
    }
    static std::string Label(CBrowseDlg& dlg) {
        CString text;
        dlg.m_btnRange.GetWindowText(text);
        return text.str();
    }
    static Step Press(int id) {
        return [id](CBrowseDlg& dlg) { ::PostMessageA(dlg.m_hWnd, WM_COMMAND, id, 0); };
    }

    // Items with missing pictures, topics from the list in turn.
    static void AddItems(CBrowseDlg& dlg, int n, std::vector<int> topics = {1}) {
        for (int i = 0; i < n; ++i)
            dlg.AddItem(("Pictures\\missing" + std::to_string(i) + ".bmp").c_str(),
                        topics[size_t(i) % topics.size()]);
    }

    TempFolder folder;
    CString m_strSavedAppDir;
};

TEST_F(BrowseTest, OkWithoutAChoiceReturnsMinusOneAndCancelReturnsCancel) {
    {
        CBrowseDlg dlg;
        AddItems(dlg, 4);
        EXPECT_EQ(Run(dlg, {Press(IDOK)}), IDOK);
        EXPECT_EQ(dlg.GetSelection(), -1);
    }
    {
        CBrowseDlg dlg;
        AddItems(dlg, 4);
        EXPECT_EQ(Run(dlg, {[](CBrowseDlg& d) { ClickCell(d, 2); }, Press(IDCANCEL)}), IDCANCEL);
    }
    {
        // Enter runs OK, as the default button.
        CBrowseDlg dlg;
        AddItems(dlg, 4);
        EXPECT_EQ(Run(dlg, {[](CBrowseDlg& d) { ClickCell(d, 3); },
                            [](CBrowseDlg&) { headless::KeyPress(VK_RETURN); }}),
                  IDOK);
        EXPECT_EQ(dlg.GetSelection(), 3);
    }
}

TEST_F(BrowseTest, AClickOnAnEmptyCellClearsTheSelection) {
    CBrowseDlg dlg;
    AddItems(dlg, 3);
    int afterPick = -2;
    EXPECT_EQ(Run(dlg, {[](CBrowseDlg& d) { ClickCell(d, 1); },
                        [&](CBrowseDlg& d) {
                            afterPick = d.m_nSelection;
                            ClickCell(d, 7);
                        },
                        Press(IDOK)}),
              IDOK);
    EXPECT_EQ(afterPick, 1);
    EXPECT_EQ(dlg.GetSelection(), -1);
}

TEST_F(BrowseTest, PagingMovesTheLabelAndStopsAtTheEnds) {
    CBrowseDlg dlg;
    AddItems(dlg, 16);
    std::vector<std::string> labels;
    auto read = [&](CBrowseDlg& d) { labels.push_back(Label(d)); };
    Run(dlg, {read,
              [&](CBrowseDlg& d) {
                  ClickButton(d, IDC_PAGE_NEXT);
                  read(d);
              },
              [&](CBrowseDlg& d) {
                  ClickButton(d, IDC_PAGE_NEXT);
                  read(d);
              },
              [&](CBrowseDlg& d) {
                  ClickButton(d, IDC_PAGE_PREVIOUS);
                  read(d);
              },
              [&](CBrowseDlg& d) {
                  ClickButton(d, IDC_PAGE_PREVIOUS);
                  read(d);
              },
              Press(IDCANCEL)});
    EXPECT_EQ(labels,
              (std::vector<std::string>{"1-15/16", "16-16/16", "16-16/16", "1-15/16", "1-15/16"}));
}

TEST_F(BrowseTest, TheTopicBoxFiltersAndItemsAreIdentifiedByTheirPosition) {
    CBrowseDlg dlg;
    dlg.AddTopic("Animals");
    dlg.AddTopic("Cars");
    AddItems(dlg, 7, {1, 2, 0});  // topics 1, 2, 0, 1, 2, 0, 1
    std::vector<std::string> labels;
    int boxCount = 0;
    EXPECT_EQ(Run(dlg, {[&](CBrowseDlg& d) {
                            boxCount = d.m_cboTopic.GetCount();
                            labels.push_back(Label(d));
                            ChooseTopic(d, 2);
                            labels.push_back(Label(d));
                            ClickCell(d, 1);  // the second item of topic 2: position 4
                        },
                        Press(IDOK)}),
              IDOK);
    EXPECT_EQ(boxCount, 3);
    EXPECT_EQ(labels, (std::vector<std::string>{"1-7/7", "1-2/2"}));
    EXPECT_EQ(dlg.GetSelection(), 4);
}

TEST_F(BrowseTest, TheSelectionSurvivesTopicAndPageChanges) {
    CBrowseDlg dlg;
    dlg.AddTopic("One");
    dlg.AddTopic("Two");
    AddItems(dlg, 40, {1, 2});
    EXPECT_EQ(Run(dlg, {[](CBrowseDlg& d) {
                            ClickButton(d, IDC_PAGE_NEXT);
                            ClickCell(d, 2);  // position 17, topic 2
                        },
                        [](CBrowseDlg& d) {
                            ChooseTopic(d, 1);  // position 17 is no longer shown
                            ClickButton(d, IDC_PAGE_NEXT);
                            ClickButton(d, IDC_PAGE_PREVIOUS);
                        },
                        [](CBrowseDlg& d) {
                            EXPECT_EQ(d.m_ctlThumbs.GetSelectedIndex(), -1);  // no ring
                            EXPECT_EQ(Label(d), "1-15/20");
                        },
                        Press(IDOK)}),
              IDOK);
    EXPECT_EQ(dlg.GetSelection(), 17);
}

TEST_F(BrowseTest, TheBackgroundAndTheGridOfPictures) {
    ASSERT_TRUE(WriteSolidBmp(folder.Path() + "Backgrnd/browse.bmp", 761, 525, kBackground));
    ASSERT_TRUE(WriteSolidBmp(folder.Path() + "Pictures/red.bmp", 600, 400, RGB(255, 0, 0)));
    CBrowseDlg dlg;
    dlg.AddItem(g_strAppDir + "Pictures\\red.bmp", 1);
    dlg.AddItem(g_strAppDir + "Pictures\\none.bmp", 1);
    Run(dlg, {[](CBrowseDlg& d) {
                  CRect client;
                  d.GetClientRect(&client);
                  EXPECT_EQ(client.Size(), CSize(761, 525));
                  EXPECT_EQ(headless::PixelAt(d.m_hWnd, 5, 520), kBackground);
                  EXPECT_EQ(headless::PixelAt(d.m_hWnd, 755, 5), kBackground);
                  // The grid as the template places it, at least the page's size.
                  CRect grid;
                  d.m_ctlThumbs.GetWindowRect(&grid);
                  d.ScreenToClient(&grid);
                  EXPECT_NEAR(grid.left, 11, 1);
                  EXPECT_GE(grid.Width(), 737);
                  EXPECT_GE(grid.Height(), 434);
                  // 600 x 400 in 145 x 142: 145 x 96, 23 white rows above.
                  HWND h = d.m_ctlThumbs.m_hWnd;
                  EXPECT_EQ(headless::PixelAt(h, 2 + 72, 2 + 70), RGB(255, 0, 0));
                  EXPECT_EQ(headless::PixelAt(h, 2 + 72, 2 + 20), RGB(255, 255, 255));
                  EXPECT_EQ(headless::PixelAt(h, 2 + 72, 2 + 30), RGB(255, 0, 0));
                  EXPECT_EQ(headless::PixelAt(h, 2, 2), RGB(0, 0, 0));
                  // The missing picture and the cells past the list: white.
                  EXPECT_EQ(headless::PixelAt(h, 149 + 72, 2 + 70), RGB(255, 255, 255));
                  EXPECT_EQ(headless::PixelAt(h, 4 * 147 + 2 + 72, 2 * 144 + 2 + 70),
                            RGB(255, 255, 255));
                  EXPECT_EQ(headless::PixelAt(h, 0, 0), RGB(128, 128, 128));
                  EXPECT_EQ(Label(d), "1-2/2");
              },
              Press(IDOK)});
}

TEST_F(BrowseTest, WithoutABackgroundTheScreenStillRuns) {
    CBrowseDlg dlg;
    EXPECT_EQ(dlg.m_bmpBackground.GetSafeHandle(), nullptr);
    std::string label;
    EXPECT_EQ(Run(dlg, {[&](CBrowseDlg& d) {
                            label = Label(d);
                            ClickCell(d, 0);
                        },
                        Press(IDOK)}),
              IDOK);
    EXPECT_EQ(label, "0-0/0");
    EXPECT_EQ(dlg.GetSelection(), -1);
}

}  // namespace
