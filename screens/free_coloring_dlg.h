// The free colouring screen: any picture of "freely.txt", chosen from a
// strip of seven or from the browse screen, coloured on a canvas centred in
// a 600 x 400 area, with a 26 x 2 palette under it.
#pragma once

#include <afxwin.h>

#include "controls/coloring_canvas_ctrl.h"
#include "controls/coloring_palette_ctrl.h"
#include "controls/coloring_thumbnail_ctrl.h"
#include "controls/skin_button.h"
#include "screens/catalogues.h"

class CHomeDlg;

class CFreeColoringDlg : public CDialog {
public:
    enum { IDD = 130 };

    explicit CFreeColoringDlg(CWnd* pParent = nullptr);
    ~CFreeColoringDlg() override;

    // Reads "topic.txt" and "freely.txt" into the lists (appending).
    // Then the added pictures and the saved drawings (picture_sources.h).
    void ReadCatalogues();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg void OnBrowse();
    afx_msg void OnStartAgain();
    afx_msg void OnMusicList();
    afx_msg void OnSave();
    afx_msg void OnColorSelected(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnThumbnailSelected(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnStripUp();
    afx_msg void OnStripDown();
    afx_msg void OnTopicChanged();
    afx_msg void OnMusicToggle();
    afx_msg void OnUndo();
    afx_msg void OnRedo();
    afx_msg void OnHistoryChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    void FillStrip();
    void ShowPicture(int nIndex);
    void UpdateRangeLabel();

public:
    CHomeDlg* m_pHome = nullptr;         // the music controller; set before DoModal
    CComboBox m_cboTopic;                // 1034
    CColoringThumbnailCtrl m_ctlThumbs;  // 1000
    CColoringPaletteCtrl m_ctlPalette;   // 1008
    CColoringCanvasCtrl m_ctlCanvas;     // 1007
    CSkinButton m_btnClose;              // 2 (IDCANCEL)
    CSkinButton m_btnSave;               // 1010
    CSkinButton m_btnRestart;            // 1009
    CSkinButton m_btnBrowse;             // 1012
    CSkinButton m_btnDown;               // 1004
    CSkinButton m_btnUp;                 // 1003
    CSkinButton m_btnMusicList;          // 1011
    CSkinButton m_btnMusic;              // 1036: music on/off
    CSkinButton m_btnRange;              // 1037: the range label
    CSkinButton m_btnUndo;               // 1040
    CSkinButton m_btnRedo;               // 1041
    int m_nShown = 0;                    // entries in the strip after the last filtering
    int m_nCurrent = -1;                 // catalogue index of the picture on the canvas
    CBitmap m_bmpBackground;             // "Backgrnd\Freely\bg1.bmp"; no handle when missing
    CFreePictureArray m_aEntries;        // "freely.txt", in file order
    CStringArray m_astrTopics;           // "topic.txt"

    // The canvas area, in client pixels.
    static constexpr int kAreaLeft = 110;
    static constexpr int kAreaTop = 40;
    static constexpr int kAreaWidth = 600;
    static constexpr int kAreaHeight = 400;
};
