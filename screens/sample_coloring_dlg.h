// The sample colouring screen: a coloured example on the left, read-only,
// and the same picture in line art on the right for the child to colour
// after it; pairs from "sample.txt", a strip of seven paged by pages, and a
// 28 x 2 palette under the canvases.
#pragma once

#include <afxwin.h>

#include "controls/coloring_canvas_ctrl.h"
#include "controls/coloring_palette_ctrl.h"
#include "controls/coloring_thumbnail_ctrl.h"
#include "controls/skin_button.h"
#include "screens/catalogues.h"

class CHomeDlg;

class CSampleColoringDlg : public CDialog {
public:
    enum { IDD = 129 };

    explicit CSampleColoringDlg(CWnd* pParent = nullptr);
    ~CSampleColoringDlg() override;

    // Reads "topic.txt" and "sample.txt" into the lists (appending).
    // Then the added pictures and the saved drawings (picture_sources.h).
    void ReadCatalogues();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg void OnThumbnailSelected(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnColorSelected(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnStartAgain();
    afx_msg void OnSave();
    afx_msg void OnPreviousPage();
    afx_msg void OnNextPage();
    afx_msg void OnBrowse();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTopicChanged();
    afx_msg void OnMusicList();
    afx_msg void OnMusicToggle();
    afx_msg void OnUndo();
    afx_msg void OnRedo();
    afx_msg void OnHistoryChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    void FillStrip();
    void ShowPair(int nIndex);
    void UpdateRangeLabel();

public:
    CHomeDlg* m_pHome = nullptr;         // the music controller; set before DoModal
    CComboBox m_cboTopic;                // 1012
    CColoringThumbnailCtrl m_ctlThumbs;  // 1000
    CColoringCanvasCtrl m_ctlSample;     // 1006: the example, read-only
    CColoringCanvasCtrl m_ctlCanvas;     // 1007: the child's canvas
    CColoringPaletteCtrl m_ctlPalette;   // 1008
    CSkinButton m_btnDown;               // 1004: next page
    CSkinButton m_btnUp;                 // 1003: previous page
    CSkinButton m_btnSave;               // 1010
    CSkinButton m_btnRestart;            // 1009
    CSkinButton m_btnClose;              // 2 (IDCANCEL)
    CSkinButton m_btnMusicList;          // 1011
    CSkinButton m_btnBrowse;             // 1005
    CSkinButton m_btnMusic;              // 1036: music on/off
    CSkinButton m_btnRange;              // 1037: the range label
    CSkinButton m_btnUndo;               // 1040
    CSkinButton m_btnRedo;               // 1041
    int m_nShown = 0;                    // entries in the strip after the last filtering
    CBitmap m_bmpBackground;             // "Backgrnd\Samples\bg1.bmp"; no handle when missing
    int m_nCurrent = -1;                 // catalogue index of the pair on the canvases
    CSamplePictureArray m_aEntries;      // "sample.txt", in file order
    CStringArray m_astrTopics;           // "topic.txt"

    // The two canvas boxes, in client pixels.
    static constexpr int kBoxSize = 320;
    static constexpr int kSampleLeft = 110;
    static constexpr int kCanvasLeft = 445;
    static constexpr int kBoxTop = 60;
};
