// The home screen's music operations, for the home screen itself and for the
// activity screens through their pointer to it. They only send commands;
// what the player then does comes back later as notifications, and only
// those change the recorded state. Without a player, or with one whose
// thread could not start, they send nothing.
#include <string>

#include "app/home_dlg.h"
#include "music/music_player.h"

namespace {

// The executable's directory with its trailing separator: the directory
// that the application keeps as g_strAppDir.
std::string ProgramDirectory() {
    char path[4096] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    std::string dir(path, length);
    size_t slash = dir.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : dir.substr(0, slash + 1);
}

}  // namespace

void CHomeDlg::PlaySong(const CString& strCode) {
    m_strSongFile = strCode + ".mp3";
    if (m_pPlayer) m_pPlayer->OpenSong(CMusicPlayer::SongPath(ProgramDirectory(), static_cast<LPCSTR>(strCode)));
}

void CHomeDlg::StopMusic() {
    if (m_pPlayer) m_pPlayer->Stop();
}

void CHomeDlg::RestartMusic() {
    // Before any song was chosen there is nothing to play again.
    if (m_pPlayer && !m_strSongFile.IsEmpty()) m_pPlayer->Restart();
}

BOOL CHomeDlg::IsMusicPlaying() { return m_pPlayer && m_pPlayer->IsPlaying(); }
