// Catalogue text: any bytes must give lines, fields and records within
// bounds, and no record's path may leave the program directory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "screens/catalogues.h"

namespace {

const char kAppDir[] = "/program/";

// The part of a full path after the program directory must stay inside it.
void CheckPath(const CString& strPath) {
    if (strPath.Left(int(sizeof kAppDir - 1)) != kAppDir) std::abort();
    if (!IsSafeCataloguePath(strPath.Mid(int(sizeof kAppDir - 1)))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CStringArray astrLines;
    SplitCatalogueText(reinterpret_cast<const char*>(data), size, astrLines);
    if (astrLines.GetSize() > kCatalogueMaxLines) std::abort();

    CStringArray astrTopics;
    AppendTopics(astrLines, astrTopics);
    CFreePictureArray aFree;
    AppendFreeEntries(astrLines, kAppDir, aFree);
    CSamplePictureArray aSamples;
    AppendSampleEntries(astrLines, kAppDir, aSamples);
    for (INT_PTR i = 0; i < aFree.GetSize(); ++i) CheckPath(aFree[i].strPicturePath);
    for (INT_PTR i = 0; i < aSamples.GetSize(); ++i) {
        CheckPath(aSamples[i].strSamplePath);
        CheckPath(aSamples[i].strPicturePath);
    }
    if (aSamples.GetSize() > aFree.GetSize() || aFree.GetSize() > astrTopics.GetSize())
        std::abort();

    // The range label of whatever numbers the text holds.
    if (!astrLines.IsEmpty()) {
        const int nFirst = CatalogueNumber(astrLines[0]);
        const int nShown = CatalogueNumber(astrLines[astrLines.GetUpperBound()]);
        if (nFirst >= 0 && nShown >= 0) FormatRangeLabel(nFirst, 15, nShown);
    }
    return 0;
}
