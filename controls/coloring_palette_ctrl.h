// CColoringPaletteCtrl: the strip of colour swatches and the preview box of
// the chosen colour. A left click picks a swatch (sound 157, PCN_COLORSELECTED
// to the parent); a right click opens the colour mixer on the swatch and
// stores the mixed colour in the table that every palette of the process
// shares. Window class "ColoringPaletteCtrl".
#pragma once

#include <afxwin.h>

#include "controls/control_notify.h"

class CColoringPaletteCtrl : public CWnd {
public:
    // Registers the window class; a failure raises CResourceException.
    CColoringPaletteCtrl();
    ~CColoringPaletteCtrl() override;

    static constexpr const char* kClassName = "ColoringPaletteCtrl";

    // The process-wide colour table: 48 preset colours and 12 free slots.
    static constexpr int kColorCount = 60;
    // The entry's colour; white for an index outside the table.
    static COLORREF GetTableColor(int nIndex);
    // Stores a colour; FALSE (and nothing written) outside the table.
    static BOOL SetTableColor(int nIndex, COLORREF cr);
    // Puts every entry back to its initial value.
    static void ResetTable();

    // The grid; neither repaints. Counts are held between 0 and
    // kMaxGridSide, so that no size or index overflows. Swatches past the
    // 60th show white and never reach outside the table.
    static constexpr int kMaxGridSide = 1024;
    void SetColumns(int nColumns);
    void SetRows(int nRows);
    int GetColumns() const { return m_nColumns; }
    int GetRows() const { return m_nRows; }
    // (21 x columns + 45, 21 x rows + 1).
    CSize GetIdealSize() const;

    // The selected table index, -1 for none.
    int GetSelected() const { return m_nSelected; }

    // Geometry in client pixels (right and bottom exclusive).
    static CRect GetSwatchRect(int nColumn, int nRow);
    static CRect GetSelectionRect(int nColumn, int nRow);
    CRect GetHitArea() const;
    CRect GetPreviewRect() const;

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // Moves the selection to the swatch under the point; FALSE when the
    // point lies outside the grid.
    BOOL SelectAt(CPoint point);
    void NotifyParent(COLORREF cr);
    void ChangeSwatch();

    BYTE m_bTracking = 0;
    int m_nSelected = -1;
    RECT m_rcSelection{0, 0, 0, 0};
    int m_nColumns = 20;
    int m_nRows = 3;
};
