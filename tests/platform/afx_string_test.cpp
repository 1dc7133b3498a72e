// CString and the arrays: the operations the screens rely on, and the
// out-of-range cases that must stay safe.
#include <gtest/gtest.h>

#include <cstring>

#include "afx.h"

TEST(AfxString, ConstructionConcatenationAndComparison) {
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString('x', 3), "xxx");
    EXPECT_TRUE(CString('x', -1).IsEmpty());
    EXPECT_EQ(CString("abcdef", 3), "abc");
    EXPECT_EQ(CString("ab", 10), "ab");  // stops at the terminator

    CString s = "Hello";
    s += ", ";
    s += CString("world");
    s += '!';
    EXPECT_EQ(s, "Hello, world!");
    EXPECT_EQ(s.GetLength(), 13);
    EXPECT_EQ(CString("a") + "b" + 'c' + CString("d"), "abcd");
    EXPECT_EQ("x" + CString("y"), "xy");
    EXPECT_EQ('x' + CString("y"), "xy");
    EXPECT_STREQ(static_cast<LPCTSTR>(s), "Hello, world!");

    EXPECT_TRUE(CString("abc") < "abd");
    EXPECT_TRUE("abd" > CString("abc"));
    EXPECT_TRUE(CString("abc") != CString("ABC"));
    EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    // Bytes above 0x7F compare as unsigned, after ASCII.
    EXPECT_TRUE(CString("z") < CString("\xE9"));
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
}

TEST(AfxString, ExtractionAndSearchClampTheirRanges) {
    const CString s = "Tintorama";
    EXPECT_EQ(s.Left(4), "Tint");
    EXPECT_EQ(s.Left(100), "Tintorama");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Mid(4), "orama");
    EXPECT_EQ(s.Mid(4, 2), "or");
    EXPECT_EQ(s.Mid(-3, 2), "Ti");
    EXPECT_EQ(s.Mid(20), "");
    EXPECT_EQ(s.Mid(7, 100), "ma");
    EXPECT_EQ(s.Right(3), "ama");
    EXPECT_EQ(s.Right(50), "Tintorama");
    EXPECT_EQ(s.Right(-2), "");

    EXPECT_EQ(s.GetAt(0), 'T');
    EXPECT_EQ(s[8], 'a');
    EXPECT_EQ(s.GetAt(9), '\0');
    EXPECT_EQ(s.GetAt(-1), '\0');
    EXPECT_EQ(s.Find('a'), 6);
    EXPECT_EQ(s.Find('a', 7), 8);
    EXPECT_EQ(s.Find('q'), -1);
    EXPECT_EQ(s.Find("ram"), 5);
    EXPECT_EQ(s.Find("ram", 6), -1);
    EXPECT_EQ(s.Find('a', 99), -1);
    EXPECT_EQ(s.Find("", 0), 0);
    EXPECT_EQ(s.ReverseFind('a'), 8);
    EXPECT_EQ(s.ReverseFind('z'), -1);
    EXPECT_EQ(s.FindOneOf("xyo"), 4);
    EXPECT_EQ(CString("C:\\Data\\file.txt").ReverseFind('\\'), 7);
    EXPECT_EQ(s.SpanExcluding("o"), "Tint");
}

TEST(AfxString, EditingInPlace) {
    CString s = "  \t Mixed Case\xE9 \r\n";
    s.TrimLeft();
    s.TrimRight();
    EXPECT_EQ(s, "Mixed Case\xE9");
    s.MakeUpper();
    EXPECT_EQ(s, "MIXED CASE\xE9");  // 8-bit bytes keep their values
    s.MakeLower();
    EXPECT_EQ(s, "mixed case\xE9");

    CString t = "xxabcxx";
    t.TrimLeft('x');
    EXPECT_EQ(t, "abcxx");
    t.TrimRight("xc");
    EXPECT_EQ(t, "ab");
    CString blanks = "   ";
    blanks.TrimRight();
    EXPECT_TRUE(blanks.IsEmpty());

    CString path = "Data\\Free\\a.bmp";
    EXPECT_EQ(path.Replace('\\', '/'), 2);
    EXPECT_EQ(path, "Data/Free/a.bmp");
    CString words = "aaa";
    EXPECT_EQ(words.Replace("a", "aa"), 3);  // no rescanning of the replacement
    EXPECT_EQ(words, "aaaaaa");
    EXPECT_EQ(words.Replace("", "x"), 0);
    EXPECT_EQ(words.Replace("aa", ""), 3);
    EXPECT_TRUE(words.IsEmpty());

    CString edit = "abc";
    edit.SetAt(1, 'X');
    edit.SetAt(10, 'Y');
    EXPECT_EQ(edit, "aXc");
    EXPECT_EQ(edit.Insert(100, "!"), 4);
    EXPECT_EQ(edit.Delete(1, 100), 1);
    EXPECT_EQ(edit, "a");
    EXPECT_EQ(edit.Delete(-5, 2), 0);  // a negative index counts from 0
}

TEST(AfxString, FormatBuffersAndResources) {
    CString s;
    s.Format("%d-%d/%d", 1, 100, 1000);
    EXPECT_EQ(s, "1-100/1000");
    s.Format("%s%s", "Data\\Music\\", "516.mp3");
    EXPECT_EQ(s, "Data\\Music\\516.mp3");
    s.Format("%05.1f|%-3s|%c", 3.14159, "a", 'z');
    EXPECT_EQ(s, "003.1|a  |z");
    const std::string big(5000, 'q');
    s.Format("%s", big.c_str());
    EXPECT_EQ(s.GetLength(), 5000);
    s.AppendFormat("%d", 7);
    EXPECT_EQ(s.Right(2), "q7");

    CString buffer;
    char* raw = buffer.GetBuffer(260);
    std::strcpy(raw, "/opt/tintorama/tintorama");
    buffer.ReleaseBuffer();
    EXPECT_EQ(buffer.GetLength(), 24);
    buffer.GetBuffer(0);
    buffer.ReleaseBuffer(4);
    EXPECT_EQ(buffer, "/opt");
    buffer.ReleaseBuffer(100);  // cannot grow past the buffer
    EXPECT_EQ(buffer, "/opt");

    CString loaded;
    EXPECT_TRUE(loaded.LoadString(101));
    EXPECT_EQ(loaded, "&About Tintorama...");
    EXPECT_FALSE(loaded.LoadString(4321));
    EXPECT_TRUE(loaded.IsEmpty());
    EXPECT_EQ(CString(MAKEINTRESOURCEA(101)), "&About Tintorama...");
}

TEST(AfxArrays, AddInsertRemoveAndBounds) {
    CStringArray titles;
    EXPECT_EQ(titles.Add("one"), 0);
    EXPECT_EQ(titles.Add(CString("three")), 1);
    titles.InsertAt(1, "two");
    ASSERT_EQ(titles.GetSize(), 3);
    EXPECT_EQ(titles[1], "two");
    titles.SetAt(2, "THREE");
    EXPECT_EQ(titles.GetAt(2), "THREE");
    titles.RemoveAt(0);
    EXPECT_EQ(titles[0], "two");
    // Out of range: reads are empty, writes are ignored.
    EXPECT_TRUE(titles.GetAt(5).IsEmpty());
    EXPECT_TRUE(titles.GetAt(-1).IsEmpty());
    titles.SetAt(7, "x");
    titles[9] = "ignored";
    titles.RemoveAt(9);
    titles.RemoveAt(1, 50);
    EXPECT_EQ(titles.GetSize(), 1);
    // Inserting beyond the end grows the array.
    titles.InsertAt(3, "four", 2);
    ASSERT_EQ(titles.GetSize(), 5);
    EXPECT_TRUE(titles[1].IsEmpty());
    EXPECT_EQ(titles[4], "four");
    titles.RemoveAll();
    EXPECT_EQ(titles.GetSize(), 0);

    CUIntArray numbers;
    numbers.SetSize(80);
    EXPECT_EQ(numbers.GetSize(), 80);
    EXPECT_EQ(numbers[79], 0u);
    numbers[79] = 516;
    EXPECT_EQ(numbers.GetAt(79), 516u);
    numbers.SetAtGrow(99, 1);
    EXPECT_EQ(numbers.GetSize(), 100);
    numbers.SetSize(-4);
    EXPECT_TRUE(numbers.IsEmpty());
}
