// CMusicPlayer's notification handlers and commands.
#include "music/music_player.h"

#include <cstdio>

#include "audio/errors.h"

CMusicPlayer::CMusicPlayer(HINSTANCE hInstance)
    : PlayerClient(hInstance), m_nState(STOPPED), m_bAdvanced(false) {}

CMusicPlayer::CMusicPlayer(HINSTANCE hInstance, player_routine routine, void* user)
    : PlayerClient(hInstance, routine, user), m_nState(STOPPED), m_bAdvanced(false) {}

void CMusicPlayer::OpenSong(const std::string& path) { Send(cmd_input_open, path.c_str()); }

void CMusicPlayer::Stop() {
    if (m_nState == PLAYING) Send(cmd_stop);
}

void CMusicPlayer::Restart() {
    if (m_nState == STOPPED || m_nState == PAUSED || m_nState == AT_EOF) Send(cmd_play);
}

std::string CMusicPlayer::SongPath(const std::string& appDir, const std::string& code) {
    std::string path = appDir;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + "Data/Media/Music/" + code + ".mp3";
}

void CMusicPlayer::OnReady() {
    // Mode 1: the player closes the sound device whenever playback stops,
    // so the device is free while the music is off.
    Send(cmd_set_player_mode, 1);
}

void CMusicPlayer::OnNack(const PlayerPayload* payload) {
    char text[128];
    snprintf(text, sizeof text, "Command %d failed\n[%s]", int(payload->byte_short.a),
             error_name(payload->byte_short.b));
    // No owner: the program's windows stay usable while the box is up, and
    // notifications keep arriving through the box's own loop.
    MessageBoxA(nullptr, text, "Audio Command Failed", MB_ICONERROR);
}

void CMusicPlayer::OnPlayerState(int state) {
    switch (state) {
        case STOPPED:
        case PLAYING:
        case PAUSED: m_nState = state; break;
        case AT_EOF:
            // The song has ended: start it again from the top, if it played at
            // all. An empty or unplayable file would otherwise end, rewind and
            // end again for ever, with a failure box for every turn whose
            // rewind the player refuses.
            if (m_bAdvanced) {
                Send(cmd_seek, 0, 1);
                Send(cmd_play);
                m_bAdvanced = false;
            }
            m_nState = AT_EOF;
            break;
        default: break;  // not a state this program knows
    }
}

void CMusicPlayer::OnInputState(int state) {
    if (state != 0) return;
    m_bAdvanced = false;  // a song was just opened: play it
    Send(cmd_play);
}

void CMusicPlayer::OnInputPosition(uint32_t offset, uint32_t /*range*/) {
    if (offset > 0) m_bAdvanced = true;
}
