// CColoringThumbnailCtrl: a page of small pictures in a grid of equal cells.
// The screens give it a list of items (an image file, a number of their own
// and a caption); it shows them from the first visible item onward, scrolls
// by a row or a page when asked, rings the item under the pointer while the
// left button is held, and on release tells its parent which item was
// picked (WM_NOTIFY, THN_ITEMSELECTED, controls/control_notify.h).
//
// The visible page is one off-screen bitmap, rebuilt by Refresh and copied
// to the window on every paint, so dragging the ring never decodes a file.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

#include "controls/control_notify.h"

// The window class every thumbnail control is bound to.
inline constexpr const char* kThumbnailClassName = "ColoringThumbnailCtrl";

class CColoringThumbnailCtrl : public CWnd {
public:
    // Registers the window class if it is not yet; a failure raises
    // CResourceException.
    CColoringThumbnailCtrl();
    ~CColoringThumbnailCtrl() override;

    // Grid shape; the screens set it before filling the list. Values below 1
    // are taken as 1, so a page always has a cell.
    void SetRows(int nRows);
    int GetRows() const { return m_nRows; }
    void SetColumns(int nColumns);
    int GetColumns() const { return m_nColumns; }
    // Cell size in pixels (initially 80 x 60), at least 1 x 1.
    void SetThumbnailSize(int cx, int cy);
    int GetThumbnailWidth() const { return m_nThumbWidth; }
    int GetThumbnailHeight() const { return m_nThumbHeight; }
    // The page image's size: ((w + 2) N + 2, (h + 2) M + 2).
    CSize GetIdealSize() const;
    // The list index of the item in the top-left cell.
    int GetFirstVisible() const { return m_nFirst; }

    // The list. Neither rebuilds the page: call Refresh, then invalidate.
    void RemoveAll();
    void AddItem(CString strImagePath, UINT nData, CString strCaption);
    int GetItemCount() const { return static_cast<int>(m_astrImages.GetSize()); }

    // Rebuilds the page image from the item files; does not invalidate.
    void Refresh();

    // One row down or up; a page forward or back. Each stops at its end of
    // the list and otherwise rebuilds the page and repaints the control.
    void ScrollRowDown();
    void ScrollRowUp();
    void NextPage();
    void PreviousPage();
    // The page steps under the names some screens use for them.
    void ScrollPageDown() { NextPage(); }
    void ScrollPageUp() { PreviousPage(); }

    // The selected list index (it may lie past the end of the list), or -1;
    // and the ring around its cell, in client pixels.
    int GetSelectedIndex() const { return m_nSelected; }
    CRect GetSelectionRect() const { return CRect(m_rcSelection); }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

private:
    // The ring of the cell at page position nCell (row-major from 0).
    CRect RingOfCell(int nCell) const;
    // Selects the cell under the point; FALSE when it is outside the grid.
    BOOL SelectAt(CPoint point);
    void NotifyParent();
    // Rebuild and repaint after a scroll.
    void ShowPage();

    CBitmap m_bmpGrid;         // the visible page; no handle before Refresh
    int m_nFirst = 0;          // list index in the top-left cell
    RECT m_rcSelection{};      // ring of the selected cell
    BOOL m_bTracking = FALSE;  // left button down on the control, not yet up
    int m_nSelected = -1;      // selected list index, or -1
    CStringArray m_astrCaptions;
    CStringArray m_astrImages;
    CUIntArray m_anData;
    int m_nThumbWidth = 80;
    int m_nThumbHeight = 60;
    int m_nColumns = 1;
    int m_nRows = 5;
};
