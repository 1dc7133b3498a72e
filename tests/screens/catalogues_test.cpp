// The catalogue files: field splitting, line ends, hostile text and paths,
// the records, the topic filter and the range label.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/headless/headless.h"
#include "res/resource.h"
#include "screens/catalogues.h"
#include "screens_support.h"

using namespace screens_test;

namespace {

std::vector<std::string> Strings(const CStringArray& a) {
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) out.push_back(a[i].str());
    return out;
}

// --- Field splitting ----------------------------------------------------------

struct SplitCase {
    const char* name;
    std::string line;
    std::vector<std::string> fields;
};

class SplitFieldsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFieldsTest, Fields) {
    CString line(GetParam().line.data(), int(GetParam().line.size()));
    CStringArray fields;
    fields.Add("left over");
    SplitFields(line, fields);
    EXPECT_EQ(Strings(fields), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitFieldsTest,
    ::testing::Values(SplitCase{"AdjacentTabsGiveAnEmptyField", "x\t\ty", {"x", "", "y"}},
                      SplitCase{"ATrailingTabAddsNoField", "x\ty\t", {"x", "y"}},
                      SplitCase{"ALeadingTabGivesAnEmptyFirstField", "\tx", {"", "x"}},
                      SplitCase{"ALoneTab", "\t", {""}}, SplitCase{"AnEmptyLineHasNoField", "", {}},
                      SplitCase{"BlanksAreKept", " a \t b ", {" a ", " b "}},
                      SplitCase{
                          "EightBitBytesAreKept", "1\t\xCA\xB6\xFF\t", {"1", "\xCA\xB6\xFF"}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Numbers and paths -------------------------------------------------------------

struct NumberCase {
    std::string field;
    int value;
};

class CatalogueNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(CatalogueNumberTest, ReadsLikeAtoi) {
    EXPECT_EQ(CatalogueNumber(GetParam().field.c_str()), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Fields, CatalogueNumberTest,
                         ::testing::Values(NumberCase{"12", 12}, NumberCase{"  7x", 7},
                                           NumberCase{"\t\n+3", 3}, NumberCase{"-4", -4},
                                           NumberCase{"abc", 0}, NumberCase{"", 0},
                                           NumberCase{"- 5", 0},
                                           NumberCase{"99999999999999999999", INT_MAX},
                                           NumberCase{"-99999999999999999999", INT_MIN}));

struct PathCase {
    std::string field;
    bool safe;
};

class SafePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(SafePathTest, StaysInTheProgramDirectory) {
    const std::string& f = GetParam().field;
    EXPECT_EQ(bool(IsSafeCataloguePath(CString(f.data(), int(f.size())))), GetParam().safe) << f;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SafePathTest,
    ::testing::Values(PathCase{"Pictures\\Free\\cat.bmp", true}, PathCase{"a/b.bmp", true},
                      PathCase{"..x\\y..\\...\\z.bmp", true}, PathCase{"cat.bmp ", true},
                      PathCase{"\xC3\xA1.bmp", true}, PathCase{"..\\secret.bmp", false},
                      PathCase{"Pictures\\..\\..\\x.bmp", false},
                      PathCase{"a/../../etc/passwd", false}, PathCase{"..", false},
                      PathCase{"a\\..", true}, PathCase{"a\x01.bmp", false},
                      PathCase{"a\rb.bmp", false}));

// --- Files ---------------------------------------------------------------------------

class CatalogueFileTest : public ::testing::Test {
protected:
    CString Dir() const { return folder.Path().c_str(); }
    void Write(const char* name, const std::string& text) {
        ASSERT_TRUE(WriteBytes(folder.Path() + name, text));
    }
    TempFolder folder;
};

TEST_F(CatalogueFileTest, FreeCatalogueWithBothLineEndsTrailingTabsAndAShortLine) {
    Write("topic.txt",
          "No\tName\r\n1\tAnimals\r\n2\tC\xE1"
          "c xe\n3\tAnimals");
    Write("freely.txt",
          "No\tTopic\tPath\n"
          "1\t1\tPictures\\cat.bmp\r\n"
          "2\t2\tPictures\\car.bmp\t\n"          // a trailing tab
          "3\t2\n"                               // too few fields: skipped
          "\n"                                   // empty: skipped
          "4\tx\tPictures\\odd.bmp \textra\r\n"  // topic 0, path with a blank
          "5\t\tPictures\\..\\..\\x.bmp\n"       // leaves the program directory: skipped
          "6\t9\t\xC4\x91.bmp");                 // no line end at the end
    CStringArray topics;
    CFreePictureArray entries;
    ReadCatalogues(topics, entries, Dir());
    EXPECT_EQ(Strings(topics), (std::vector<std::string>{"Animals",
                                                         "C\xE1"
                                                         "c xe",
                                                         "Animals"}));
    ASSERT_EQ(entries.GetSize(), 4);
    const std::string dir = folder.Path();
    EXPECT_EQ(entries[0].nTopic, 1);
    EXPECT_EQ(entries[0].strPicturePath.str(), dir + "Pictures\\cat.bmp");
    EXPECT_EQ(entries[1].nTopic, 2);
    EXPECT_EQ(entries[1].strPicturePath.str(), dir + "Pictures\\car.bmp");
    EXPECT_EQ(entries[2].nTopic, 0);
    EXPECT_EQ(entries[2].strPicturePath.str(), dir + "Pictures\\odd.bmp ");
    EXPECT_EQ(entries[3].nTopic, 9);
    EXPECT_EQ(entries[3].strPicturePath.str(), dir + "\xC4\x91.bmp");
}

TEST_F(CatalogueFileTest, SampleCatalogueNeedsFourFieldsAndTwoSafePaths) {
    Write("sample.txt",
          "1\t1\tS\\a.bmp\tP\\a.bmp\n"  // the heading is skipped even when it looks like data
          "2\t1\tS\\b.bmp\tP\\b.bmp\n"
          "3\t1\tS\\c.bmp\n"
          "4\t2\tS\\d.bmp\t..\\d.bmp\n"
          "5\t2\t\tP\\e.bmp\r\n");
    CStringArray topics;
    CSamplePictureArray entries;
    ReadCatalogues(topics, entries, Dir());
    EXPECT_EQ(topics.GetSize(), 0);  // no topic.txt
    ASSERT_EQ(entries.GetSize(), 2);
    EXPECT_EQ(entries[0].strSamplePath.str(), folder.Path() + "S\\b.bmp");
    EXPECT_EQ(entries[0].strPicturePath.str(), folder.Path() + "P\\b.bmp");
    EXPECT_EQ(entries[1].nTopic, 2);
    EXPECT_EQ(entries[1].strSamplePath.str(), folder.Path());  // an empty field names no file
    EXPECT_EQ(entries[1].strPicturePath.str(), folder.Path() + "P\\e.bmp");
}

TEST_F(CatalogueFileTest, MissingEmptyAndHeadingOnlyFilesGiveNothingAndListsAreAppendedTo) {
    CStringArray topics;
    topics.Add("kept");
    CFreePictureArray entries;
    ReadCatalogues(topics, entries, Dir());
    EXPECT_EQ(Strings(topics), std::vector<std::string>{"kept"});
    EXPECT_EQ(entries.GetSize(), 0);
    Write("topic.txt", "");
    Write("freely.txt", "1\t1\tonly-a-heading.bmp\r\n");
    ReadCatalogues(topics, entries, Dir());
    EXPECT_EQ(topics.GetSize(), 1);
    EXPECT_EQ(entries.GetSize(), 0);
    // Read twice, the lists hold both readings.
    Write("topic.txt", "h\n1\tOne\n");
    ReadCatalogues(topics, entries, Dir());
    ReadCatalogues(topics, entries, Dir());
    EXPECT_EQ(Strings(topics), (std::vector<std::string>{"kept", "One", "One"}));
}

TEST_F(CatalogueFileTest, AnEnormousLineAndAnyBytesAreReadWhole) {
    std::string path(1 << 20, 'a');
    path += ".bmp";
    std::string topic;
    for (int b = 1; b < 256; ++b)
        if (b != '\t' && b != '\n' && b != '\r') topic += char(b);
    // A NUL ends the text of its line, as it ends every 8-bit string.
    Write("topic.txt", "heading\n\t" + topic + std::string("\0../z", 5) + "\n");
    Write("freely.txt", "heading\n1\t1\t" + path + "\n");
    CStringArray topics;
    CFreePictureArray entries;
    ReadCatalogues(topics, entries, Dir());
    ASSERT_EQ(topics.GetSize(), 1);
    // Every other byte stays.
    EXPECT_EQ(topics[0].str(), topic);
    ASSERT_EQ(entries.GetSize(), 1);
    EXPECT_EQ(entries[0].strPicturePath.GetLength(), int(folder.Path().size() + path.size()));
}

TEST_F(CatalogueFileTest, AFileBeyondTheBoundIsReadUpToItsLastWholeLine) {
    const std::string line = "1\t1\t" + std::string(990, 'p') + ".bmp\n";
    std::string text = "heading\n";
    INT_PTR whole = 0;
    for (; text.size() + line.size() <= size_t(kCatalogueMaxBytes); ++whole) text += line;
    ASSERT_LT(whole, kCatalogueMaxLines);
    // A line that straddles the bound, then more lines that are never read.
    text += "2\t2\t" + std::string(2000, 's') + ".bmp\n";
    for (int i = 0; i < 1000; ++i) text += line;
    Write("freely.txt", text);
    CStringArray lines;
    ReadCatalogueLines(Dir() + "freely.txt", lines);
    EXPECT_EQ(lines.GetSize(), whole);
    EXPECT_EQ(lines[lines.GetUpperBound()].str() + "\n", line);
}

TEST(CatalogueText, LineEndsAndTheLineCap) {
    CStringArray lines;
    const std::string text = "head\r\na\r\nb\n\r\nc\rd\n\ne";
    SplitCatalogueText(text.data(), text.size(), lines);
    EXPECT_EQ(Strings(lines), (std::vector<std::string>{"a", "b", "", "c", "d", "", "e"}));

    std::string many = "head\n";
    for (int i = 0; i < kCatalogueMaxLines + 10; ++i) many += "x\n";
    lines.RemoveAll();
    SplitCatalogueText(many.data(), many.size(), lines);
    EXPECT_EQ(lines.GetSize(), kCatalogueMaxLines);
}

// --- Range label -----------------------------------------------------------------------

struct LabelCase {
    int first, page, shown;
    const char* text;
};

class RangeLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(RangeLabelTest, Text) {
    const LabelCase& c = GetParam();
    EXPECT_EQ(FormatRangeLabel(c.first, c.page, c.shown).str(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RangeLabelTest,
    ::testing::Values(LabelCase{14, 7, 20, "15-20/20"}, LabelCase{0, 7, 0, "0-0/0"},
                      LabelCase{0, 7, 20, "1-7/20"}, LabelCase{0, 15, 16, "1-15/16"},
                      LabelCase{15, 15, 16, "16-16/16"}, LabelCase{0, 15, 3, "1-3/3"},
                      LabelCase{0, 7, 7, "1-7/7"}));

// --- Topic box and filter ------------------------------------------------------------------

class TopicFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(IDD_COLOR_MIXER, nullptr));
        ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                               CRect(10, 10, 200, 200), &host, 1029));
        ASSERT_TRUE(thumbs.Create(kThumbnailClassName, "", WS_CHILD | WS_VISIBLE,
                                  CRect(10, 40, 100, 400), &host, 1000));
        thumbs.SetRows(7);
    }
    void TearDown() override { host.DestroyWindow(); }

    CDialog host;
    CComboBox box;
    CColoringThumbnailCtrl thumbs;
};

TEST_F(TopicFilterTest, TheBoxStartsWithAllTopicsAndEntriesOutsideTheTopicsShowOnlyThere) {
    CStringArray topics;
    topics.Add("Animals");
    topics.Add("Animals");
    FillTopicBox(box, topics);
    ASSERT_EQ(box.GetCount(), 3);
    CString first;
    box.GetLBText(0, first);
    EXPECT_EQ(first.str(), "\x54\xCA\x74\x20\x63\xB6");
    EXPECT_EQ(box.GetCurSel(), 0);

    CFreePictureArray entries;
    for (int topic : {1, 2, 0, -1, 3, 2, 1}) {
        FreePictureEntry e;
        e.nTopic = topic;
        e.strPicturePath = "p.bmp";
        entries.Add(e);
    }
    EXPECT_EQ(FillThumbnails(thumbs, 0, entries), 7);
    EXPECT_EQ(FillThumbnails(thumbs, 1, entries), 2);
    EXPECT_EQ(FillThumbnails(thumbs, 2, entries), 2);  // the second "Animals" by position
    // Topics 0, -1 and 3 (beyond the two topics) show only under index 0.
    EXPECT_EQ(thumbs.GetFirstVisible(), 0);

    CSamplePictureArray samples;
    SamplePictureEntry s;
    s.nTopic = 2;
    samples.Add(s);
    EXPECT_EQ(FillThumbnails(thumbs, 1, samples), 0);
    EXPECT_EQ(FillThumbnails(thumbs, 2, samples), 1);
}

TEST_F(TopicFilterTest, TheRangeLabelFollowsTheStrip) {
    CFreePictureArray entries;
    for (int i = 0; i < 20; ++i) entries.Add(FreePictureEntry{1, "p.bmp"});
    CWnd& label = host;
    const int shown = FillThumbnails(thumbs, 0, entries);
    UpdateRangeLabel(label, thumbs, shown);
    CString text;
    label.GetWindowText(text);
    EXPECT_EQ(text.str(), "1-7/20");
    thumbs.NextPage();
    thumbs.NextPage();
    UpdateRangeLabel(label, thumbs, shown);
    label.GetWindowText(text);
    EXPECT_EQ(text.str(), "15-20/20");
}

}  // namespace
