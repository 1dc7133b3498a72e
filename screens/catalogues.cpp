// Reading the picture catalogues, and the topic box, topic filter and range
// label that the thumbnail screens share.
#include "screens/catalogues.h"

#include <afxfile.h>

#include <climits>
#include <vector>

#include "common/program_path.h"

namespace {

// Fields a data line needs in each catalogue.
constexpr int kTopicFields = 2;
constexpr int kFreeFields = 3;
constexpr int kSampleFields = 4;

// Reads at most kCatalogueMaxBytes of the file; bTruncated says whether more
// was there. A file that does not open reads as empty.
std::vector<char> ReadBounded(const CString& strPath, bool& bTruncated) {
    std::vector<char> data;
    bTruncated = false;
    CStdioFile file;
    if (!file.Open(strPath, CFile::modeRead | CFile::typeBinary)) return data;
    char chunk[64 * 1024];
    for (;;) {
        const UINT nRead = file.Read(chunk, sizeof chunk);
        if (nRead == 0) break;
        const size_t nRoom = size_t(kCatalogueMaxBytes) - data.size();
        if (nRead > nRoom) {
            data.insert(data.end(), chunk, chunk + nRoom);
            bTruncated = true;
            break;
        }
        data.insert(data.end(), chunk, chunk + nRead);
    }
    file.Close();
    return data;
}

}  // namespace

// --- Lines and fields -----------------------------------------------------------

void SplitFields(CString& strLine, CStringArray& astrFields) {
    astrFields.RemoveAll();
    const int nLength = strLine.GetLength();
    int nStart = 0;
    for (int i = 0; i < nLength; ++i) {
        if (strLine[i] == '\t') {
            astrFields.Add(strLine.Mid(nStart, i - nStart));
            nStart = i + 1;
        }
    }
    if (nStart < nLength) astrFields.Add(strLine.Mid(nStart));
}

void SplitCatalogueText(const char* pText, size_t nLength, CStringArray& astrLines) {
    if (!pText) return;
    size_t nStart = 0;
    bool bHeading = true;
    int nLines = 0;
    while (nStart < nLength && nLines < kCatalogueMaxLines) {
        size_t nEnd = nStart;
        while (nEnd < nLength && pText[nEnd] != '\n' && pText[nEnd] != '\r') ++nEnd;
        if (bHeading) {
            bHeading = false;
        } else {
            astrLines.Add(CString(pText + nStart, static_cast<int>(nEnd - nStart)));
            ++nLines;
        }
        // CR LF is one line end; a lone CR or LF is one too.
        nStart = nEnd + 1;
        if (nEnd + 1 < nLength && pText[nEnd] == '\r' && pText[nEnd + 1] == '\n') ++nStart;
    }
}

void ReadCatalogueLines(const CString& strPath, CStringArray& astrLines) {
    bool bTruncated = false;
    std::vector<char> data = ReadBounded(strPath, bTruncated);
    if (bTruncated) {
        // The bound cut a line: keep only the whole lines before it.
        size_t nKeep = data.size();
        while (nKeep > 0 && data[nKeep - 1] != '\n' && data[nKeep - 1] != '\r') --nKeep;
        data.resize(nKeep);
    }
    SplitCatalogueText(data.data(), data.size(), astrLines);
}

int CatalogueNumber(const CString& strField) {
    const int nLength = strField.GetLength();
    int i = 0;
    while (i < nLength && (strField[i] == ' ' || (strField[i] >= '\t' && strField[i] <= '\r'))) ++i;
    bool bNegative = false;
    if (i < nLength && (strField[i] == '+' || strField[i] == '-')) bNegative = strField[i++] == '-';
    long long nValue = 0;
    for (; i < nLength && strField[i] >= '0' && strField[i] <= '9'; ++i) {
        nValue = nValue * 10 + (strField[i] - '0');
        if (nValue > static_cast<long long>(INT_MAX) + 1)
            nValue = static_cast<long long>(INT_MAX) + 1;
    }
    if (bNegative) nValue = -nValue;
    if (nValue > INT_MAX) return INT_MAX;
    if (nValue < INT_MIN) return INT_MIN;
    return static_cast<int>(nValue);
}

BOOL IsSafeCataloguePath(const CString& strField) { return StaysInProgramDirectory(strField); }

// --- Records --------------------------------------------------------------------

void AppendTopics(const CStringArray& astrLines, CStringArray& astrTopics) {
    CStringArray astrFields;
    for (INT_PTR i = 0; i < astrLines.GetSize(); ++i) {
        CString strLine = astrLines[i];
        SplitFields(strLine, astrFields);
        if (astrFields.GetSize() < kTopicFields) continue;
        astrTopics.Add(astrFields[1]);
    }
}

void AppendFreeEntries(const CStringArray& astrLines, const CString& strAppDir,
                       CFreePictureArray& aEntries) {
    CStringArray astrFields;
    for (INT_PTR i = 0; i < astrLines.GetSize(); ++i) {
        CString strLine = astrLines[i];
        SplitFields(strLine, astrFields);
        FreePictureEntry entry;
        if (astrFields.GetSize() < kFreeFields ||
            !ResolveProgramPath(strAppDir, astrFields[2], entry.strPicturePath))
            continue;
        entry.nTopic = CatalogueNumber(astrFields[1]);
        aEntries.Add(entry);
    }
}

void AppendSampleEntries(const CStringArray& astrLines, const CString& strAppDir,
                         CSamplePictureArray& aEntries) {
    CStringArray astrFields;
    for (INT_PTR i = 0; i < astrLines.GetSize(); ++i) {
        CString strLine = astrLines[i];
        SplitFields(strLine, astrFields);
        SamplePictureEntry entry;
        if (astrFields.GetSize() < kSampleFields ||
            !ResolveProgramPath(strAppDir, astrFields[2], entry.strSamplePath) ||
            !ResolveProgramPath(strAppDir, astrFields[3], entry.strPicturePath))
            continue;
        entry.nTopic = CatalogueNumber(astrFields[1]);
        aEntries.Add(entry);
    }
}

void ReadCatalogues(CStringArray& astrTopics, CFreePictureArray& aEntries,
                    const CString& strAppDir) {
    CStringArray astrLines;
    ReadCatalogueLines(strAppDir + kTopicCatalogue, astrLines);
    AppendTopics(astrLines, astrTopics);
    astrLines.RemoveAll();
    ReadCatalogueLines(strAppDir + kFreeCatalogue, astrLines);
    AppendFreeEntries(astrLines, strAppDir, aEntries);
}

void ReadCatalogues(CStringArray& astrTopics, CSamplePictureArray& aEntries,
                    const CString& strAppDir) {
    CStringArray astrLines;
    ReadCatalogueLines(strAppDir + kTopicCatalogue, astrLines);
    AppendTopics(astrLines, astrTopics);
    astrLines.RemoveAll();
    ReadCatalogueLines(strAppDir + kSampleCatalogue, astrLines);
    AppendSampleEntries(astrLines, strAppDir, aEntries);
}

// --- Topic box, filter and range label ----------------------------------------------

void FillTopicBox(CComboBox& cboTopic, const CStringArray& astrTopics) {
    cboTopic.ResetContent();
    cboTopic.AddString(kAllTopics);
    for (INT_PTR i = 0; i < astrTopics.GetSize(); ++i) cboTopic.AddString(astrTopics[i]);
    cboTopic.SetCurSel(0);
    if (g_fontUI.GetSafeHandle()) cboTopic.SetFont(&g_fontUI, TRUE);
}

int FillThumbnails(CColoringThumbnailCtrl& ctlThumbs, int nBoxIndex,
                   const CFreePictureArray& aEntries) {
    ctlThumbs.RemoveAll();
    int nShown = 0;
    for (INT_PTR i = 0; i < aEntries.GetSize(); ++i) {
        if (!TopicMatches(nBoxIndex, aEntries[i].nTopic)) continue;
        ctlThumbs.AddItem(aEntries[i].strPicturePath, static_cast<UINT>(i), CString());
        ++nShown;
    }
    ctlThumbs.Refresh();
    return nShown;
}

int FillThumbnails(CColoringThumbnailCtrl& ctlThumbs, int nBoxIndex,
                   const CSamplePictureArray& aEntries) {
    ctlThumbs.RemoveAll();
    int nShown = 0;
    for (INT_PTR i = 0; i < aEntries.GetSize(); ++i) {
        if (!TopicMatches(nBoxIndex, aEntries[i].nTopic)) continue;
        ctlThumbs.AddItem(aEntries[i].strSamplePath, static_cast<UINT>(i), CString());
        ++nShown;
    }
    ctlThumbs.Refresh();
    return nShown;
}

CString FormatRangeLabel(int nFirst, int nPageSize, int nShown) {
    // In 64 bits: a first item near the top of int must not overflow.
    const long long nFirstShown = static_cast<long long>(nFirst) + 1;
    long long nLast = static_cast<long long>(nFirst) + nPageSize;
    if (nLast > nShown) nLast = nShown;
    CString strLabel;
    strLabel.Format("%lld-%lld/%d", nLast != 0 ? nFirstShown : 0, nLast, nShown);
    return strLabel;
}

void UpdateRangeLabel(CWnd& wndLabel, const CColoringThumbnailCtrl& ctlThumbs, int nShown) {
    const int nPage = ctlThumbs.GetRows() * ctlThumbs.GetColumns();
    wndLabel.SetWindowText(FormatRangeLabel(ctlThumbs.GetFirstVisible(), nPage, nShown));
}
