// CColorMixerDlg: the modal dialog (template 141) in which the child mixes a
// new colour for a palette swatch: an RGB cube with a handle on each axis and
// an HSB wheel with a brightness bar, linked, with previews of the starting
// and the current colour. After IDOK the colour is m_nRed, m_nGreen, m_nBlue.
#pragma once

#include <afxwin.h>

#include "controls/dib.h"
#include "controls/skin_button.h"

class CColorMixerDlg : public CDialog {
public:
    enum { IDD = 141 };

    explicit CColorMixerDlg(COLORREF crStart, CWnd* pParent = nullptr);
    ~CColorMixerDlg() override;

    // The current colour; the result after IDOK.
    int m_nRed = 0;
    int m_nGreen = 0;
    int m_nBlue = 0;
    COLORREF GetColor() const;

    // The current colour in HSB.
    int GetHue() const { return m_nHue; }
    int GetSaturation() const { return m_nSaturation; }
    int GetBrightness() const { return m_nBrightness; }

    // Geometry in client pixels, valid once the dialog is up: the marker and
    // handle squares, the bar, the wheel centre and the cube's points.
    CRect GetWheelMarkerRect() const { return m_rcWheelMarker; }
    CRect GetBarMarkerRect() const { return m_rcBarMarker; }
    CRect GetBarRect() const { return m_rcBar; }
    CPoint GetWheelCenter() const { return m_ptWheelCenter; }
    // nHandle 0 red, 1 green, 2 blue.
    CRect GetHandleRect(int nHandle) const;
    CPoint GetCubeCenter() const { return m_ptCubeCenter; }
    CPoint GetAxisEnd(int nHandle) const;
    int GetAxisLength(int nHandle) const;
    CRect GetRgbArea() const { return m_rcRgbArea; }
    CRect GetHsbArea() const { return m_rcHsbArea; }
    CRect GetStartPreviewRect() const { return m_rcStartPreview; }
    CRect GetCurrentPreviewRect() const { return m_rcCurrentPreview; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    // Geometry.
    void ComputeHsbMarkers();
    void ComputeBarColors();
    void ComputeHandles();
    void ComputeBox();
    // Drawing on a DC of the dialog's client area.
    void DrawPreview(CDC* pDC, const CRect& rc, COLORREF cr);
    void DrawWheelPicture(CDC* pDC);
    void DrawBar(CDC* pDC);
    void DrawHsbMarkers(CDC* pDC);
    void DrawCubePicture(CDC* pDC);
    void DrawHandlesAndBox(CDC* pDC);
    void DrawPicture(CDC* pDC, CBitmap& bmp, CPoint ptAt, CSize size);
    // Drags.
    void ApplyWheelPoint(CPoint point);
    void ApplyBarPoint(CPoint point);
    void ApplyHandlePoint(CPoint point);
    void LoadPictures();

    CSkinButton m_btnOK;
    CSkinButton m_btnCancel;
    CBitmap m_bmpCube;
    CBitmap m_bmpWheel;
    CDC m_dcMem;
    CPoint m_ptWheelCenter;
    CDib m_dibBar;
    CSize m_sizeCube;
    CSize m_sizeWheel;
    int m_nHsbDrag = 0;
    CRect m_rcWheelMarker;
    CRect m_rcBarMarker;
    int m_nHue = 0;
    int m_nSaturation = 0;
    int m_nBrightness = 0;
    int m_nStartRed = 0;
    int m_nStartGreen = 0;
    int m_nStartBlue = 0;
    CPoint m_ptCubeCenter;
    CPoint m_ptAxisEnd[3];
    CRect m_rcHandle[3];
    CPoint m_ptHandle[3];
    CRect m_rcBar;
    // Box corners: RG, GB, RB, RGB.
    CPoint m_ptBox[4];
    BOOL m_bRgbDrag = FALSE;
    int m_nRgbHandle = 0;
    int m_nAxisLength[3] = {0, 0, 0};
    // Axis lines through the centre: y = slope x + intercept; the vertical
    // red axis has m_bAxisVertical set.
    double m_dAxisSlope[3] = {0, 0, 0};
    double m_dAxisIntercept[3] = {0, 0, 0};
    bool m_bAxisVertical[3] = {false, false, false};
    CRect m_rcRgbArea;
    CRect m_rcHsbArea;
    CRect m_rcStartPreview;
    CRect m_rcCurrentPreview;
    CBitmap m_bmpBackground;
    bool m_bReady = false;
};
