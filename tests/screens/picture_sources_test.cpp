// The record beside a saved drawing, read as outside data, and the making
// of an added picture into black outlines on white.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <string>

#include "screens/colourable_picture.h"
#include "screens/drawing_record.h"
#include "support/temp_dir.h"

namespace {

const CString kAppDir = "/opt/tinto/";
const CString kPrepared = "/home/kim/.cache/tintorama/pictures";

CString Picture(const std::string& text) {
    return PictureFromRecordText(CString(text.c_str()), kAppDir, kPrepared);
}

// A w x h picture of `paper` grey with a one-pixel vertical line of `ink`
// grey at column x.
PixImage LineAt(DWORD w, DWORD h, DWORD x, BYTE paper, BYTE ink) {
    PixImage image;
    image.Create(w, h, 24);
    for (DWORD y = 0; y < h; ++y) {
        BYTE* row = image.GetRow(y);
        std::memset(row, paper, w * 3);
        std::memset(row + 3 * x, ink, 3);
    }
    return image;
}

}  // namespace

TEST(DrawingRecord, NamesCataloguePicturesAndPreparedPicturesOnly) {
    const CString strCat = kAppDir + "Pictures\\Freely\\cat.bmp";
    const CString strText = DrawingRecordText(strCat, kAppDir, kPrepared);
    EXPECT_EQ(std::string(strText), "Tintorama drawing\npicture=app:Pictures\\Freely\\cat.bmp\n");
    EXPECT_EQ(std::string(PictureFromRecordText(strText, kAppDir, kPrepared)), strCat.str());
    const CString strAdded = kPrepared + "/owl.png.bmp";
    EXPECT_EQ(std::string(Picture(DrawingRecordText(strAdded, kAppDir, kPrepared).str())),
              strAdded.str());
    // Anything else is not recorded.
    EXPECT_TRUE(DrawingRecordText("/etc/passwd", kAppDir, kPrepared).IsEmpty());
    EXPECT_TRUE(DrawingRecordText(kAppDir + "..\\x.bmp", kAppDir, kPrepared).IsEmpty());
}

TEST(DrawingRecord, HostileRecordsNameNothing) {
    EXPECT_EQ(std::string(Picture("Tintorama drawing\r\nx=1\r\npicture=app:a.bmp\r\n")),
              "/opt/tinto/a.bmp");
    for (const std::string& text : std::initializer_list<std::string>{
             "",
             "picture=app:a.bmp\n",  // no heading
             "Tintorama drawing\n",  // no picture
             "Tintorama drawing\npicture=app:..\\..\\etc\\passwd\n",
             "Tintorama drawing\npicture=app:/etc/passwd\n",
             "Tintorama drawing\npicture=app:\n",
             "Tintorama drawing\npicture=/etc/passwd\n",
             "Tintorama drawing\npicture=/home/kim/.cache/tintorama/pictures/../../x.bmp\n",
             "Tintorama drawing\npicture=/home/kim/.cache/tintorama/pictures/sub/x.bmp\n",
             "Tintorama drawing\npicture=app:a\x01.bmp\n",
             "Tintorama drawing\npicture=app:a.bmp" + std::string(5000, 'x') + "\n",
         })
        EXPECT_TRUE(Picture(text).IsEmpty()) << text.substr(0, 80);
}

TEST(DrawingRecord, APipeInTheRecordsPlaceIsNotWaitedFor) {
    test_support::TempDir dir("record");
    const std::string drawing = dir.str() + "/d.png";
    ASSERT_EQ(::mkfifo((drawing + ".tintorama").c_str(), 0600), 0);
    EXPECT_TRUE(ReadDrawingRecord(drawing.c_str()).IsEmpty());
    // Written, a record replaces it whole; an empty picture removes it.
    EXPECT_FALSE(WriteDrawingRecord(drawing.c_str(), "/etc/passwd") == FALSE);
    EXPECT_FALSE(std::ifstream(drawing + ".tintorama").good());
}

TEST(Colourable, OutlinesByBrightnessFittedKeepingTheShape) {
    PixImage result;
    // The threshold: dark grey is outline, light grey is paper.
    ASSERT_TRUE(MakeColourable(LineAt(600, 400, 7, 170, 150), result));
    EXPECT_EQ(result.GetWidth(), 600u);
    EXPECT_EQ(result.GetHeight(), 400u);
    EXPECT_EQ(result.GetPixelColor(7, 100).rgbRed, 0);
    EXPECT_EQ(result.GetPixelColor(6, 100).rgbRed, 255);
    EXPECT_EQ(result.GetPixelColor(8, 399).rgbGreen, 255);
    // A one-pixel line survives a shrink to a fifth.
    ASSERT_TRUE(MakeColourable(LineAt(3000, 2000, 1502, 255, 0), result));
    EXPECT_EQ(result.GetWidth(), 600u);
    EXPECT_EQ(result.GetHeight(), 400u);
    for (long y : {0L, 200L, 399L}) {
        EXPECT_EQ(result.GetPixelColor(300, y).rgbBlue, 0) << y;
        EXPECT_EQ(result.GetPixelColor(299, y).rgbBlue, 255) << y;
        EXPECT_EQ(result.GetPixelColor(301, y).rgbBlue, 255) << y;
    }
    // A small, wide picture is enlarged to the width, keeping its shape.
    ASSERT_TRUE(MakeColourable(LineAt(300, 50, 0, 255, 0), result));
    EXPECT_EQ(result.GetWidth(), 600u);
    EXPECT_EQ(result.GetHeight(), 100u);
    EXPECT_EQ(result.GetPixelColor(1, 50).rgbRed, 0);
    EXPECT_EQ(result.GetPixelColor(2, 50).rgbRed, 255);
    EXPECT_FALSE(MakeColourable(PixImage(), result));
}
