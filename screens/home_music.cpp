// The home screen's music operations, for the home screen itself and for the
// activity screens through their pointer to it. They only send commands;
// what the player then does comes back later as notifications, and only
// those change the recorded state. Without a player, or with one whose
// thread could not start, they send nothing.
#include "common/globals.h"
#include "music/music_player.h"
#include "screens/home_dlg.h"

void CHomeDlg::PlaySong(const CString& strCode) {
    m_strSongFile = strCode + ".mp3";
    if (m_pPlayer)
        m_pPlayer->OpenSong(
            CMusicPlayer::SongPath(static_cast<LPCSTR>(g_strAppDir), static_cast<LPCSTR>(strCode)));
}

void CHomeDlg::StopMusic() {
    if (m_pPlayer) m_pPlayer->Stop();
}

void CHomeDlg::RestartMusic() {
    // Before any song was chosen there is nothing to play again.
    if (m_pPlayer && !m_strSongFile.IsEmpty()) m_pPlayer->Restart();
}

BOOL CHomeDlg::IsMusicPlaying() { return m_pPlayer && m_pPlayer->IsPlaying(); }
