// CMusicPlayer: the program's side of the background music. It starts the
// audio library's player, answers its notifications (play a song as soon as
// it is open, loop it at its end, keep the sound device closed while the
// music is off, show failed commands) and records the player's state.
// The home screen owns one and offers its music operations through it.
#pragma once

#include <string>

#include "audio/control.h"

class CMusicPlayer : public PlayerClient {
public:
    // The player's states as its notifications report them. (EOF is the C
    // library's macro, so the end of a song is AT_EOF here.)
    enum { STOPPED = 0, PLAYING = 1, PAUSED = 2, AT_EOF = 3 };

    explicit CMusicPlayer(HINSTANCE hInstance);
    // Runs a player routine of the caller's own in place of the engine.
    CMusicPlayer(HINSTANCE hInstance, player_routine routine, void* user);

    // The commands behind the home screen's music operations. Each returns
    // at once; its effect on m_nState comes later, by notification. Nothing
    // is sent when no player runs.
    void OpenSong(const std::string& path);  // opened songs start playing
    void Stop();                             // only while PLAYING
    void Restart();                          // only while STOPPED, PAUSED or AT_EOF
    bool IsPlaying() const { return m_nState == PLAYING; }
    // cmd_stop whatever the state: the home screen's last word before it
    // deletes the player, whose window is gone before any answer comes.
    void SendStop() { Send(cmd_stop); }

    // The file of the song with code `code` below the program directory
    // `appDir`: appDir, "Data/Media/Music/", the code and ".mp3", joined with
    // single native separators.
    static std::string SongPath(const std::string& appDir, const std::string& code);

    int m_nState;  // the last player state reported, STOPPED at the start
    // The song got past its start since it was opened or last rewound. A
    // song that ends without that (a file with no playable frame) is not
    // started again: its loop would spin without end.
    bool m_bAdvanced;

protected:
    void OnReady() override;
    void OnNack(const PlayerPayload* payload) override;
    void OnPlayerState(int state) override;
    void OnInputState(int state) override;
    void OnInputPosition(uint32_t offset, uint32_t range) override;

private:
    template <class... Args>
    void Send(unsigned code, Args... args) {
        if (m_pControl) control_send(m_pControl, code, args...);
    }
};
