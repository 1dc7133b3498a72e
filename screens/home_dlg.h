// The home screen: a full-window picture with invisible skinned buttons over
// the activities it shows. It is also the program's music controller: it owns
// the music player and offers the music operations to the activity screens.
#pragma once

#include <afxwin.h>

#include "controls/skin_button.h"

class CMusicPlayer;

class CHomeDlg : public CDialog {
public:
    enum { IDD = 102 };

    explicit CHomeDlg(CWnd* pParent = nullptr);
    ~CHomeDlg() override;

    // Music operations (screens/home_music.cpp), for the home screen itself
    // and for the activity screens through their pointer to it.
    void PlaySong(const CString& strCode);
    void StopMusic();
    void RestartMusic();
    BOOL IsMusicPlaying();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnSampleColoring();
    afx_msg void OnFreeColoring();
    afx_msg void OnMusicList();
    afx_msg void OnSpare();
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()

public:
    CSkinButton m_btnExit;              // 2 (IDCANCEL): leave the program
    CSkinButton m_btnSpare;             // 1016: no action of its own
    CSkinButton m_btnSample;            // 1013: sample colouring
    CSkinButton m_btnMusicList;         // 1015: the music list
    CSkinButton m_btnFree;              // 1014: free colouring
    CSkinButton m_btnHelp;              // 1039: the help page
    HICON m_hIcon = nullptr;            // application icon, resource 128
    CBitmap m_bmpBackground;            // the home picture; empty when it did not load
    CString m_strSongFile;              // code + ".mp3" of the song last chosen
    CMusicPlayer* m_pPlayer = nullptr;  // created in OnInitDialog, deleted in OnDestroy
};
