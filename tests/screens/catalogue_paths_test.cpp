// Catalogues written by hand: paths that go up and come back, names in
// another letter case, and the three kinds of line end; the backgrounds the
// screens load by name follow the same rules.
#include <gtest/gtest.h>

#include <string>

#include "common/globals.h"
#include "common/program_path.h"
#include "screens/catalogues.h"
#include "screens_support.h"

using namespace screens_test;

namespace {

class HandWrittenCatalogue : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteBytes(Dir() + "Pictures/Freely/cat.bmp", "c"));
        ASSERT_TRUE(WriteBytes(Dir() + "Pictures/Freely/dog.bmp", "d"));
        ASSERT_TRUE(WriteBytes(Dir() + "Pictures/Samples/hen_s.bmp", "h"));
    }
    const std::string& Dir() const { return folder.Path(); }
    TempFolder folder;
};

TEST_F(HandWrittenCatalogue, PathsThatStayInsideAreFoundWhateverTheirCase) {
    // CR, LF and CR LF line ends; the last line ends in a lone CR.
    ASSERT_TRUE(WriteBytes(Dir() + "freely.txt",
                           "No\tTopic\tPath\r"
                           "1\t1\tPictures\\..\\Pictures\\Freely\\dog.bmp\n"
                           "2\t1\tPictures\\Freely\\Cat.BMP\r\n"
                           "3\t1\tPICTURES/./freely//CAT.bmp\r"
                           "4\t1\tPictures\\Freely\\..\\..\\..\\x.bmp\n"  // leaves: skipped
                           "5\t1\tPictures\\Freely\\Bird.bmp\r"));  // not there: kept as written
    CStringArray topics;
    CFreePictureArray entries;
    ReadCatalogues(topics, entries, CString(Dir().c_str()));
    ASSERT_EQ(entries.GetSize(), 4);
    EXPECT_EQ(entries[0].strPicturePath.str(), Dir() + "Pictures\\Freely\\dog.bmp");
    EXPECT_EQ(entries[1].strPicturePath.str(), Dir() + "Pictures\\Freely\\cat.bmp");
    EXPECT_EQ(entries[2].strPicturePath.str(), Dir() + "Pictures\\Freely\\cat.bmp");
    EXPECT_EQ(entries[3].strPicturePath.str(), Dir() + "Pictures\\Freely\\Bird.bmp");
}

TEST_F(HandWrittenCatalogue, SamplePairsResolveBothPaths) {
    ASSERT_TRUE(
        WriteBytes(Dir() + "sample.txt",
                   "heading\r"
                   "1\t2\tpictures\\samples\\HEN_S.BMP\tPictures\\Freely\\..\\Freely\\dog.bmp\r"
                   "2\t2\tPictures\\Samples\\hen_s.bmp\t..\\dog.bmp\r"));
    CStringArray topics;
    CSamplePictureArray entries;
    ReadCatalogues(topics, entries, CString(Dir().c_str()));
    ASSERT_EQ(entries.GetSize(), 1);
    EXPECT_EQ(entries[0].strSamplePath.str(), Dir() + "Pictures\\Samples\\hen_s.bmp");
    EXPECT_EQ(entries[0].strPicturePath.str(), Dir() + "Pictures\\Freely\\dog.bmp");
}

TEST_F(HandWrittenCatalogue, BackgroundsAreFoundByNameWhateverTheirCase) {
    ASSERT_TRUE(WriteBytes(Dir() + "BACKGRND/freely/BG1.Bmp", "b"));
    const CString strKept = g_strAppDir;
    g_strAppDir = Dir().c_str();
    EXPECT_EQ(ProgramFile("Backgrnd\\Freely\\bg1.bmp").str(), Dir() + "BACKGRND\\freely\\BG1.Bmp");
    EXPECT_EQ(ProgramFile("Backgrnd\\..\\..\\bg1.bmp").str(), "");
    g_strAppDir = strKept;
}

}  // namespace
