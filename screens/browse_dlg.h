// The browse screen: fifteen thumbnails a page (5 x 3 cells of 145 x 142),
// a topic box, page buttons and a range label. The calling screen hands it
// every catalogue entry (image path and topic, in catalogue order) and the
// topic names, runs it, and after IDOK reads the position of the item the
// child picked, or -1.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

#include "controls/coloring_thumbnail_ctrl.h"
#include "controls/skin_button.h"

// One item handed to the browse screen.
struct BrowseItem {
    int nTopic = 0;        // topic number (1 = the first topic)
    CString strImagePath;  // full path of the image shown in the grid
};

class CBrowseDlg : public CDialog {
public:
    enum { IDD = 140 };

    // The grid: 5 columns, 3 rows, cells of 145 x 142 pixels.
    static constexpr int kColumns = 5;
    static constexpr int kRows = 3;
    static constexpr int kCellWidth = 145;
    static constexpr int kCellHeight = 142;

    // Loads the background "Backgrnd\browse.bmp" from the program directory.
    explicit CBrowseDlg(CWnd* pParent = nullptr);

    // Both before DoModal: the items in catalogue order, the topics in topic
    // order.
    void AddItem(CString strImagePath, int nTopic);
    void AddTopic(CString strTopic);

    // The position of the item selected when the screen closed, or -1. Use it
    // only after DoModal returned IDOK.
    int GetSelection() const { return m_nSelection; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnPreviousPage();
    afx_msg void OnNextPage();
    afx_msg void OnSelchangeTopic();
    afx_msg void OnThumbnailSelected(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    // Fills the grid with the items of the current topic; updates the label.
    void FillGrid();
    void UpdateRangeLabel();

public:
    CComboBox m_cboTopic;                // 1029: the topic box
    CColoringThumbnailCtrl m_ctlThumbs;  // 1000: the grid
    CSkinButton m_btnNext;               // 1004
    CSkinButton m_btnPrevious;           // 1003
    CSkinButton m_btnOK;                 // 1 (IDOK)
    CSkinButton m_btnCancel;             // 2 (IDCANCEL)
    CSkinButton m_btnRange;              // 1037: the range label
    CBitmap m_bmpBackground;             // no handle when the file did not load
    int m_nShown = 0;                    // items in the grid after the last filtering
    int m_nSelection = -1;               // position in m_aItems, or -1
    CStringArray m_astrTopics;
    afx::ValueArray<BrowseItem> m_aItems;
};
