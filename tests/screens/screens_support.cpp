#include "screens_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "imagelib/pix_image.h"

namespace fs = std::filesystem;

namespace screens_test {
namespace {

std::mutex g_soundsLock;
std::vector<int> g_sounds;

bool RecordingLookup(HMODULE, LPCSTR name, const void** data, DWORD* size) {
    if (IS_INTRESOURCE(name)) {
        std::lock_guard<std::mutex> hold(g_soundsLock);
        g_sounds.push_back(int(reinterpret_cast<uintptr_t>(name)));
    }
    HRSRC hResource = ::FindResourceA(nullptr, name, "WAVE");
    if (!hResource) return false;
    HGLOBAL hData = ::LoadResource(nullptr, hResource);
    if (!hData) return false;
    *data = ::LockResource(hData);
    *size = ::SizeofResource(nullptr, hResource);
    return *data != nullptr;
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    m_strPath = ::testing::TempDir() + "tinto_screens_" + std::to_string(getpid()) + "_" +
                std::to_string(counter++) + "/";
    fs::remove_all(m_strPath);
    fs::create_directories(m_strPath);
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(m_strPath, error);
}

bool WriteSolidBmp(const std::string& path, int width, int height, COLORREF color) {
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    PixImage image;
    if (!image.Create(DWORD(width), DWORD(height), 24)) return false;
    for (int y = 0; y < height; ++y) {
        BYTE* row = image.GetRow(DWORD(y));
        for (int x = 0; x < width; ++x) {
            row[x * 3] = GetBValue(color);
            row[x * 3 + 1] = GetGValue(color);
            row[x * 3 + 2] = GetRValue(color);
        }
    }
    return image.Save(path.c_str(), PIX_FORMAT_BMP);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

void RecordSounds() {
    win::SetSoundBackend(win::SoundBackend::NullInstant);
    win::SetWaveResourceLookup(&RecordingLookup);
    TakeSoundsPlayed();
}

void StopRecordingSounds() { win::SetWaveResourceLookup(nullptr); }

std::vector<int> TakeSoundsPlayed() {
    std::lock_guard<std::mutex> hold(g_soundsLock);
    return std::exchange(g_sounds, {});
}

}  // namespace screens_test
