#include "common/globals.h"

#include <vector>

CString g_strAppDir;
CFont g_fontUI;

CString ExecutableDirectory() {
    // The path is cut to the buffer when the buffer is too small: grow it
    // until the whole path fits.
    std::vector<char> buffer(MAX_PATH);
    DWORD nLength = 0;
    for (;;) {
        nLength = ::GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
        if (nLength == 0) return CString();
        if (nLength < buffer.size()) break;
        if (buffer.size() >= (size_t(1) << 20)) return CString();  // no path is this long
        buffer.resize(buffer.size() * 2);
    }
    CString strPath(buffer.data(), int(nLength));
    int nSlash = strPath.ReverseFind('/');
    int nBackslash = strPath.ReverseFind('\\');
    return strPath.Left((nSlash > nBackslash ? nSlash : nBackslash) + 1);
}
