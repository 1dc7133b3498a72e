// Added pictures and saved drawings as entries of the colouring screens.
#include "screens/picture_sources.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imagelib/pix_image.h"
#include "screens/colourable_picture.h"
#include "screens/drawing_record.h"
#include "screens/picture_folders.h"

namespace {

struct FoundFile {
    std::string name;
    struct stat st;
};

bool HasExtension(const std::string& name, const char* const* extensions) {
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return false;
    for (const char* const* e = extensions; *e; ++e)
        if (strcasecmp(name.c_str() + dot + 1, *e) == 0) return true;
    return false;
}

// The plain, non-hidden, non-empty files of a folder with one of the
// extensions, at most kMaxListedPictures of them.
std::vector<FoundFile> FilesIn(const CString& strFolder, const char* const* extensions) {
    std::vector<FoundFile> found;
    if (strFolder.IsEmpty()) return found;
    DIR* dir = ::opendir(strFolder);
    if (!dir) return found;
    // Bounded also in what is looked at, for a folder of a million files.
    int nLooked = 0;
    while (dirent* entry = ::readdir(dir)) {
        if (++nLooked > 20 * kMaxListedPictures) break;
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.' || !HasExtension(name, extensions)) continue;
        FoundFile file{name, {}};
        const std::string path = std::string(static_cast<LPCSTR>(strFolder)) + "/" + name;
        if (::stat(path.c_str(), &file.st) != 0 || !S_ISREG(file.st.st_mode) ||
            file.st.st_size <= 0 || file.st.st_size > kMaxPictureFileBytes)
            continue;
        found.push_back(std::move(file));
        if (found.size() >= size_t(kMaxListedPictures)) break;
    }
    ::closedir(dir);
    return found;
}

// Whether strPath is a plain file with the modification time `when`.
bool IsOfTime(const CString& strPath, const struct timespec& when) {
    struct stat st {};
    return ::stat(strPath, &st) == 0 && S_ISREG(st.st_mode) && st.st_mtim.tv_sec == when.tv_sec &&
           st.st_mtim.tv_nsec == when.tv_nsec;
}

template <class Array, class MakeEntry>
void AppendTopicEntries(const CStringArray& astrPaths, int nTopic, Array& aEntries,
                        MakeEntry makeEntry) {
    for (INT_PTR i = 0; i < astrPaths.GetSize(); ++i) aEntries.Add(makeEntry(nTopic, astrPaths[i]));
}

template <class Array, class MakeEntry>
void AppendSources(CStringArray& astrTopics, Array& aEntries, MakeEntry makeEntry) {
    CStringArray astrPaths;
    ListAddedPictures(astrPaths);
    astrTopics.Add(kAddedPicturesTopic);
    AppendTopicEntries(astrPaths, int(astrTopics.GetSize()), aEntries, makeEntry);
    astrPaths.RemoveAll();
    ListDrawings(astrPaths);
    astrTopics.Add(kMyDrawingsTopic);
    AppendTopicEntries(astrPaths, int(astrTopics.GetSize()), aEntries, makeEntry);
}

}  // namespace

void ListDrawings(CStringArray& astrPaths) {
    static const char* const kExtensions[] = {"png", "bmp", nullptr};
    const CString strFolder = DrawingsFolder();
    std::vector<FoundFile> files = FilesIn(strFolder, kExtensions);
    std::sort(files.begin(), files.end(), [](const FoundFile& a, const FoundFile& b) {
        const struct timespec &ta = a.st.st_mtim, &tb = b.st.st_mtim;
        if (ta.tv_sec != tb.tv_sec) return ta.tv_sec > tb.tv_sec;
        if (ta.tv_nsec != tb.tv_nsec) return ta.tv_nsec > tb.tv_nsec;
        return a.name < b.name;
    });
    for (const FoundFile& file : files) astrPaths.Add(strFolder + "/" + file.name.c_str());
}

BOOL PrepareAddedPicture(const CString& strSource, const CString& strPrepared) {
    PixImage source;
    if (!source.Load(strSource)) return FALSE;
    PixImage colourable;
    return MakeColourable(source, colourable) && colourable.Save(strPrepared, PIX_FORMAT_BMP);
}

void ListAddedPictures(CStringArray& astrPaths) {
    static const char* const kExtensions[] = {"png", "bmp", "gif", nullptr};
    const CString strFolder = AddedPicturesFolder();
    std::vector<FoundFile> files = FilesIn(strFolder, kExtensions);
    if (files.empty()) return;
    std::sort(files.begin(), files.end(), [](const FoundFile& a, const FoundFile& b) {
        const int order = strcasecmp(a.name.c_str(), b.name.c_str());
        return order != 0 ? order < 0 : a.name < b.name;
    });
    const CString strPreparedFolder = PreparedPicturesFolder();
    if (!MakeFolder(strPreparedFolder)) return;
    for (const FoundFile& file : files) {
        const CString strSource = strFolder + "/" + file.name.c_str();
        const CString strPrepared = strPreparedFolder + "/" + file.name.c_str() + ".bmp";
        // The copy carries the added file's time: a copy of another time is
        // of an older (or newer) file of that name and is made again. A file
        // that did not load leaves an empty marker of its time instead, so
        // that a large broken file is not decoded again on every opening.
        const CString strFailed = strPrepared + ".failed";
        if (IsOfTime(strFailed, file.st.st_mtim)) continue;
        if (!IsOfTime(strPrepared, file.st.st_mtim)) {
            const struct timespec times[2] = {file.st.st_atim, file.st.st_mtim};
            if (!PrepareAddedPicture(strSource, strPrepared)) {
                ::unlink(strPrepared);
                const int fd = ::open(strFailed, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
                if (fd >= 0) {
                    ::close(fd);
                    ::utimensat(AT_FDCWD, strFailed, times, 0);
                }
                continue;
            }
            ::unlink(strFailed);
            ::utimensat(AT_FDCWD, strPrepared, times, 0);
        }
        astrPaths.Add(strPrepared);
    }
}

void AppendPictureSources(CStringArray& astrTopics, CFreePictureArray& aEntries) {
    AppendSources(astrTopics, aEntries, [](int nTopic, const CString& strPath) {
        FreePictureEntry entry;
        entry.nTopic = nTopic;
        entry.strPicturePath = strPath;
        return entry;
    });
}

void AppendPictureSources(CStringArray& astrTopics, CSamplePictureArray& aEntries) {
    AppendSources(astrTopics, aEntries, [](int nTopic, const CString& strPath) {
        SamplePictureEntry entry;
        entry.nTopic = nTopic;
        entry.strSamplePath = strPath;
        entry.strPicturePath = strPath;
        return entry;
    });
}

void LoadEntryPicture(CColoringCanvasCtrl& canvas, const CString& strPath) {
    canvas.LoadPicture(strPath);
    if (!IsFileInFolder(strPath, DrawingsFolder())) return;
    const CString strOriginal = ReadDrawingRecord(strPath);
    if (!strOriginal.IsEmpty()) canvas.SetStartAgainPicture(strOriginal);
}

CString OriginalPictureOf(const CColoringCanvasCtrl& canvas) {
    if (!canvas.GetStartAgainPicture().IsEmpty()) return canvas.GetStartAgainPicture();
    if (IsFileInFolder(canvas.GetPicturePath(), DrawingsFolder())) return CString();
    return canvas.GetPicturePath();
}
