// CStdioFile's text mode and open flags, and the geometry classes.
#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "afx.h"
#include "support/temp_dir.h"

namespace {

class AfxFile : public ::testing::Test {
protected:
    void SetUp() override {
        temp_ = std::make_unique<test_support::TempDir>("tinto_afx");
        dir_ = temp_->path();
    }
    void TearDown() override { temp_.reset(); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    void Write(const char* name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string ReadBack(const char* name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::unique_ptr<test_support::TempDir> temp_;
    std::filesystem::path dir_;
};

}  // namespace

TEST_F(AfxFile, ReadStringEndsLinesAtLfAndCrLf) {
    Write("topic.txt", "first\r\nsecond\nthird\rstill third\n\nlast");
    CStdioFile file;
    ASSERT_TRUE(file.Open(Path("topic.txt").c_str(), CFile::modeRead | CFile::typeText));
    CString line;
    std::vector<std::string> lines;
    while (file.ReadString(line)) lines.push_back(static_cast<LPCTSTR>(line));
    EXPECT_EQ(lines,
              (std::vector<std::string>{"first", "second", "third\rstill third", "", "last"}));
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());

    // Binary mode keeps the CR; the buffer form keeps the '\n'.
    ASSERT_TRUE(file.Open(Path("topic.txt").c_str(), CFile::modeRead | CFile::typeBinary));
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "first\r");
    CStdioFile text;
    ASSERT_TRUE(text.Open(Path("topic.txt").c_str(), CFile::modeRead));
    char buffer[8];
    EXPECT_STREQ(text.ReadString(buffer, sizeof buffer), "first\n");
    EXPECT_STREQ(text.ReadString(buffer, 4), "sec");  // max - 1 characters
}

TEST_F(AfxFile, OpenFlagsBackslashesAndWriting) {
    CFileException error;
    CStdioFile file;
    EXPECT_FALSE(file.Open(Path("missing.txt").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(file.Open(dir_.string().c_str(), CFile::modeRead, &error));  // a folder
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
    EXPECT_FALSE(file.Open(Path("missing.txt").c_str(), CFile::modeWrite));  // no modeCreate

    std::string windowsPath = dir_.string() + "\\out.txt";
    ASSERT_TRUE(
        file.Open(windowsPath.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText));
    EXPECT_TRUE(file.WriteString("a\nb\n"));
    file.Close();
    EXPECT_EQ(ReadBack("out.txt"), "a\r\nb\r\n");
    EXPECT_FALSE(file.WriteString("closed"));

    // modeNoTruncate appends to what is there; modeCreate alone empties.
    ASSERT_TRUE(file.Open(Path("out.txt").c_str(), CFile::modeCreate | CFile::modeNoTruncate |
                                                       CFile::modeWrite | CFile::typeBinary));
    file.SeekToEnd();
    EXPECT_TRUE(file.WriteString("c\n"));
    EXPECT_EQ(file.GetLength(), 8);
    file.Close();
    EXPECT_EQ(ReadBack("out.txt"), "a\r\nb\r\nc\n");
    ASSERT_TRUE(file.Open(Path("out.txt").c_str(), CFile::modeCreate | CFile::modeWrite));
    file.Close();
    EXPECT_EQ(ReadBack("out.txt"), "");
}

TEST(AfxGeometry, RectanglesFollowWindowsRules) {
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));  // right edge excluded
    EXPECT_FALSE(r.PtInRect(CPoint(50, 70)));

    CRect moved = r;
    moved.OffsetRect(CPoint(-10, -20));
    EXPECT_EQ(moved, CRect(0, 0, 100, 50));
    moved.InflateRect(2, 3);
    EXPECT_EQ(moved, CRect(-2, -3, 102, 53));
    moved.DeflateRect(2, 3, 2, 3);
    EXPECT_EQ(moved.Size(), CSize(100, 50));
    moved.MoveToXY(5, 5);
    EXPECT_EQ(moved, CRect(5, 5, 105, 55));

    CRect both;
    EXPECT_TRUE(both.IntersectRect(&r, CRect(100, 60, 200, 200)));
    EXPECT_EQ(both, CRect(100, 60, 110, 70));
    EXPECT_FALSE(both.IntersectRect(&r, CRect(110, 20, 120, 30)));  // only touching
    EXPECT_TRUE(both.IsRectNull());
    CRect all;
    EXPECT_TRUE(all.UnionRect(&r, CRect(0, 0, 0, 0)));  // the empty one is ignored
    EXPECT_EQ(all, r);
    EXPECT_TRUE(all.UnionRect(&r, CRect(0, 0, 5, 5)));
    EXPECT_EQ(all, CRect(0, 0, 110, 70));
    EXPECT_EQ(r & CRect(0, 0, 50, 50), CRect(10, 20, 50, 50));

    CRect flipped(10, 10, 0, 0);
    EXPECT_TRUE(flipped.IsRectEmpty());
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(0, 0, 10, 10));
    // The corners alias the rectangle.
    flipped.TopLeft() = CPoint(2, 3);
    EXPECT_EQ(flipped.left, 2);
    EXPECT_EQ(flipped.BottomRight(), CPoint(10, 10));

    EXPECT_EQ(CPoint(5, 5) - CPoint(2, 1), CSize(3, 4));
    EXPECT_EQ(CPoint(5, 5) + CSize(1, 1), CPoint(6, 6));
    EXPECT_EQ(CPoint(static_cast<DWORD>(MAKELONG(-3, 7))), CPoint(-3, 7));
    EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
}
