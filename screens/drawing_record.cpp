// The record beside a saved drawing of the picture it was coloured from.
#include "screens/drawing_record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "common/globals.h"
#include "screens/catalogues.h"
#include "screens/picture_folders.h"

namespace {

constexpr const char kHeading[] = "Tintorama drawing";
constexpr const char kPictureKey[] = "picture=";
constexpr const char kAppPrefix[] = "app:";
// A record is two short lines; more than this is not one.
constexpr size_t kMaxRecordBytes = 4096;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

CString DrawingRecordPath(const CString& strDrawing) { return strDrawing + ".tintorama"; }

CString DrawingRecordText(const CString& strPicture, const CString& strAppDir,
                          const CString& strPreparedFolder) {
    const std::string picture = static_cast<LPCSTR>(strPicture);
    const std::string appDir = static_cast<LPCSTR>(strAppDir);
    std::string value;
    if (!appDir.empty() && picture.size() > appDir.size() && StartsWith(picture, appDir) &&
        IsSafeCataloguePath(CString(picture.substr(appDir.size()).c_str())))
        value = kAppPrefix + picture.substr(appDir.size());
    else if (IsFileInFolder(strPicture, strPreparedFolder) && IsSafeCataloguePath(strPicture))
        value = picture;
    if (value.empty()) return CString();
    return CString((std::string(kHeading) + "\n" + kPictureKey + value + "\n").c_str());
}

CString PictureFromRecordText(const CString& strText, const CString& strAppDir,
                              const CString& strPreparedFolder) {
    const std::string text = static_cast<LPCSTR>(strText);
    if (text.size() > kMaxRecordBytes) return CString();
    bool bHeading = true;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (bHeading) {
            if (line != kHeading) return CString();
            bHeading = false;
            continue;
        }
        if (!StartsWith(line, kPictureKey)) continue;
        const std::string value = line.substr(sizeof kPictureKey - 1);
        if (StartsWith(value, kAppPrefix)) {
            const CString strRelative(value.substr(sizeof kAppPrefix - 1).c_str());
            if (strRelative.IsEmpty() || !IsSafeCataloguePath(strRelative) || strRelative[0] == '/')
                return CString();
            return strAppDir + strRelative;
        }
        const CString strPath(value.c_str());
        if (IsSafeCataloguePath(strPath) && IsFileInFolder(strPath, strPreparedFolder))
            return strPath;
        return CString();
    }
    return CString();
}

BOOL WriteDrawingRecord(const CString& strDrawing, const CString& strPicture) {
    const CString strRecord = DrawingRecordPath(strDrawing);
    const CString strText =
        strPicture.IsEmpty() ? CString()
                             : DrawingRecordText(strPicture, g_strAppDir, PreparedPicturesFolder());
    if (strText.IsEmpty()) {
        ::unlink(strRecord);
        return TRUE;
    }
    // Written beside and renamed into place: a record is whole or absent.
    const CString strTemp = strRecord + ".new";
    std::FILE* file = std::fopen(strTemp, "wb");
    if (!file) return FALSE;
    const size_t nLength = size_t(strText.GetLength());
    bool bOk = std::fwrite(static_cast<LPCSTR>(strText), 1, nLength, file) == nLength;
    bOk = std::fclose(file) == 0 && bOk;
    if (bOk && std::rename(strTemp, strRecord) == 0) return TRUE;
    ::unlink(strTemp);
    return FALSE;
}

CString ReadDrawingRecord(const CString& strDrawing) {
    // Opened without waiting, and read only when it is a plain file: a pipe
    // or a device put there in its place must not hold the screen up.
    const int fd = ::open(DrawingRecordPath(strDrawing), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return CString();
    struct stat st {};
    char buffer[kMaxRecordBytes + 1];
    ssize_t nRead = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) nRead = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (nRead < 0 || size_t(nRead) > kMaxRecordBytes) return CString();
    const std::string text(buffer, size_t(nRead));
    if (text.find('\0') != std::string::npos) return CString();
    return PictureFromRecordText(CString(text.c_str()), g_strAppDir, PreparedPicturesFolder());
}
