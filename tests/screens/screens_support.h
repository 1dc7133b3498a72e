// Helpers for the tests of the thumbnails, the catalogues and the browse
// screen: a private folder for files, BMP pictures of one colour, and the
// click sounds the program asked for.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace screens_test {

// A fresh folder below the test's temporary directory, removed with the
// object. Path() ends with '/'.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// Writes a 24-bit BMP file of one colour (through the image library).
bool WriteSolidBmp(const std::string& path, int width, int height, COLORREF color);
// Writes bytes to a file, creating the folders on the way.
bool WriteBytes(const std::string& path, const std::string& bytes);

// Sends the WAVE lookups of PlaySoundA through a recorder of the ids asked
// for; TakeSoundsPlayed returns them in order and forgets them.
void RecordSounds();
void StopRecordingSounds();
std::vector<int> TakeSoundsPlayed();

}  // namespace screens_test
