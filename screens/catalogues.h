// The picture catalogues: "topic.txt", "freely.txt" and "sample.txt" in the
// program directory, tab-separated 8-bit text whose first line is a heading.
// The colouring screens read them when they open; the browse screen gets the
// entries from its caller. Also here: the topic box, the topic filter and
// the range label that every thumbnail screen shares.
//
// Catalogue text comes from outside the program and is read defensively: any
// bytes, lines of any length, at most kCatalogueMaxBytes of a file, at most
// kCatalogueMaxLines data lines, and no path that leaves the program
// directory once its ".." parts are resolved (such a line is skipped, like a
// line with too few fields). Line ends may be LF, CR LF or a lone CR, and a
// path finds its file whatever the letter case it is written in.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

#include "common/globals.h"
#include "controls/coloring_thumbnail_ctrl.h"

// The catalogue files, relative to the program directory.
inline constexpr const char* kTopicCatalogue = "topic.txt";
inline constexpr const char* kFreeCatalogue = "freely.txt";
inline constexpr const char* kSampleCatalogue = "sample.txt";

// Bounds on what a catalogue may make the program hold: bytes read from one
// file (the rest is ignored, from the last whole line on) and data lines
// taken from one file.
inline constexpr int kCatalogueMaxBytes = 4 * 1024 * 1024;
inline constexpr int kCatalogueMaxLines = 20000;

// The first topic box entry, which stands for all topics: the Vietnamese
// words for "all" in TCVN3 (bytes 54 CA 74 20 63 B6).
inline constexpr const char kAllTopics[] = "\x54\xCA\x74\x20\x63\xB6";

// A picture to colour freely ("freely.txt").
struct FreePictureEntry {
    int nTopic = 0;          // topic number, 1 for the first topic line
    CString strPicturePath;  // program directory + field 3
};

// A coloured example and the line-art picture to colour after it
// ("sample.txt").
struct SamplePictureEntry {
    int nTopic = 0;
    CString strSamplePath;   // program directory + field 3
    CString strPicturePath;  // program directory + field 4
};

// The entries in file order; an entry's position is its catalogue index.
using CFreePictureArray = afx::ValueArray<FreePictureEntry>;
using CSamplePictureArray = afx::ValueArray<SamplePictureEntry>;

// Empties astrFields, then fills it with the fields of strLine split at every
// TAB: adjacent TABs give an empty field, a TAB at the end adds none, an
// empty line gives no field.
void SplitFields(CString& strLine, CStringArray& astrFields);

// The data lines of a catalogue file (its heading skipped), each without its
// line end (LF, CR LF or CR). A missing or unreadable file gives none.
void ReadCatalogueLines(const CString& strPath, CStringArray& astrLines);

// The data lines of catalogue text held in memory: lines end at LF, at CR
// LF or at a lone CR; the first line is the heading and is skipped, a last
// line without a line end counts. At most kCatalogueMaxLines lines.
void SplitCatalogueText(const char* pText, size_t nLength, CStringArray& astrLines);

// A number field read as atoi reads it (blanks, a sign, digits up to the
// first non-digit; 0 without digits), held to the range of int.
int CatalogueNumber(const CString& strField);

// Records from data lines, appended in order, their paths resolved below
// strAppDir (ResolveProgramPath); lines with too few fields or an unsafe
// path are skipped.
void AppendTopics(const CStringArray& astrLines, CStringArray& astrTopics);
void AppendFreeEntries(const CStringArray& astrLines, const CString& strAppDir,
                       CFreePictureArray& aEntries);
void AppendSampleEntries(const CStringArray& astrLines, const CString& strAppDir,
                         CSamplePictureArray& aEntries);

// TRUE when a catalogue path field stays in the program directory once its
// ".." parts are resolved (with either separator), and holds no control byte.
BOOL IsSafeCataloguePath(const CString& strField);

// Reads strAppDir + "topic.txt" into astrTopics, then strAppDir +
// "freely.txt" (or "sample.txt") into aEntries; both are appended to. Lines
// with too few fields or an unsafe path are skipped.
void ReadCatalogues(CStringArray& astrTopics, CFreePictureArray& aEntries,
                    const CString& strAppDir = g_strAppDir);
void ReadCatalogues(CStringArray& astrTopics, CSamplePictureArray& aEntries,
                    const CString& strAppDir = g_strAppDir);

// Whether an entry of topic nTopic is shown while the topic box is at index
// nBoxIndex: index 0 shows every entry, index k only topic k.
inline BOOL TopicMatches(int nBoxIndex, int nTopic) {
    return nBoxIndex == 0 || (nBoxIndex > 0 && nTopic == nBoxIndex);
}

// Fills a topic box: the all-topics entry, then the topic names in order;
// selects index 0 and gives the box the interface font.
void FillTopicBox(CComboBox& cboTopic, const CStringArray& astrTopics);

// The topic filter: empties the thumbnails, adds every entry that the box
// index shows (image: the picture for free entries, the sample for sample
// entries; data: the catalogue index; no caption), rebuilds the page and
// returns the shown count. The caller updates the range label and
// invalidates the control.
int FillThumbnails(CColoringThumbnailCtrl& ctlThumbs, int nBoxIndex,
                   const CFreePictureArray& aEntries);
int FillThumbnails(CColoringThumbnailCtrl& ctlThumbs, int nBoxIndex,
                   const CSamplePictureArray& aEntries);

// The range label: "first-last/shown" with first = nFirst + 1 (0 when nothing
// is shown) and last = min(nFirst + nPageSize, nShown).
CString FormatRangeLabel(int nFirst, int nPageSize, int nShown);
// Puts the label of the thumbnails' current page on wndLabel.
void UpdateRangeLabel(CWnd& wndLabel, const CColoringThumbnailCtrl& ctlThumbs, int nShown);
