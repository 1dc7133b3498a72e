// The colour mixer: the two linked pickers, their exclusive-or figures, the
// previews and the drags.
#include "controls/color_mixer_dlg.h"

#include <algorithm>
#include <cmath>

#include "common/globals.h"
#include "common/program_path.h"
#include "controls/color_convert.h"
#include "res/resource.h"

namespace {

const char* const kBackgroundPicture = "Backgrnd\\mixed.bmp";
constexpr int kWheelRadius = 100;
// The bar's rows each have an entry of the 8-bit colour table.
constexpr int kMaxBarRows = 256;
// Points of the cube picture, from its top-left: the black corner and the
// red, green and blue axis ends.
constexpr POINT kCubeCenter{86, 108};
constexpr POINT kCubeAxisEnd[3] = {{86, 9}, {6, 148}, {165, 148}};
constexpr double kPi = 3.14159265358979323846;

// Whole-pixel distance between two points.
int Distance(int dx, int dy) { return int(std::sqrt(double(dx) * dx + double(dy) * dy)); }

// The square 5 pixels around a point on each side.
CRect SquareAround(POINT pt) { return CRect(pt.x - 5, pt.y - 5, pt.x + 5, pt.y + 5); }

// Standard skinned-button set-up: transparent, hover and click sounds.
void PrepareButton(CSkinButton& button, int nIcon) {
    HMODULE hModule = AfxGetInstanceHandle();
    button.SetIcons(nIcon, 0);
    button.SetTransparent(FALSE);
    button.SetEventSound(MAKEINTRESOURCEA(IDW_HOVER), hModule, CSkinButton::EVENT_HOVER, TRUE);
    button.SetEventSound(MAKEINTRESOURCEA(IDW_CLICK), hModule, CSkinButton::EVENT_CLICK, TRUE);
}

// Exclusive-or drawing: a white pen (of the given width) and a hollow brush
// on a DC, restored when the object goes.
class CXorFigures {
public:
    CXorFigures(CDC* pDC, int nPenWidth)
        : m_pDC(pDC), m_pen(PS_SOLID, nPenWidth, RGB(255, 255, 255)) {
        m_nOldRop = pDC->SetROP2(R2_XORPEN);
        m_pOldPen = pDC->SelectObject(&m_pen);
        m_pOldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    }
    ~CXorFigures() {
        m_pDC->SelectObject(m_pOldBrush);
        m_pDC->SelectObject(m_pOldPen);
        m_pDC->SetROP2(m_nOldRop);
    }
    CXorFigures(const CXorFigures&) = delete;
    CXorFigures& operator=(const CXorFigures&) = delete;

private:
    CDC* m_pDC;
    CPen m_pen;
    int m_nOldRop = 0;
    CPen* m_pOldPen = nullptr;
    CGdiObject* m_pOldBrush = nullptr;
};

}  // namespace

BEGIN_MESSAGE_MAP(CColorMixerDlg, CDialog)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_SYSCOLORCHANGE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CColorMixerDlg::CColorMixerDlg(COLORREF crStart, CWnd* pParent) : CDialog(IDD, pParent) {
    m_nRed = m_nStartRed = GetRValue(crStart);
    m_nGreen = m_nStartGreen = GetGValue(crStart);
    m_nBlue = m_nStartBlue = GetBValue(crStart);
    RgbToHsb(m_nRed, m_nGreen, m_nBlue, m_nHue, m_nSaturation, m_nBrightness);
    m_nHsbDrag = 0;
    m_bRgbDrag = FALSE;
    HANDLE hPicture =
        ::LoadImageA(nullptr, ProgramFile(kBackgroundPicture), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hPicture) m_bmpBackground.Attach(static_cast<HBITMAP>(hPicture));
}

CColorMixerDlg::~CColorMixerDlg() {
    m_bmpBackground.DeleteObject();
    m_bmpCube.DeleteObject();
    m_bmpWheel.DeleteObject();
}

COLORREF CColorMixerDlg::GetColor() const {
    return RGB(m_nRed & 0xFF, m_nGreen & 0xFF, m_nBlue & 0xFF);
}

CRect CColorMixerDlg::GetHandleRect(int nHandle) const {
    return nHandle >= 0 && nHandle < 3 ? m_rcHandle[nHandle] : CRect();
}

CPoint CColorMixerDlg::GetAxisEnd(int nHandle) const {
    return nHandle >= 0 && nHandle < 3 ? m_ptAxisEnd[nHandle] : CPoint();
}

int CColorMixerDlg::GetAxisLength(int nHandle) const {
    return nHandle >= 0 && nHandle < 3 ? m_nAxisLength[nHandle] : 0;
}

void CColorMixerDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
}

// --- Set-up --------------------------------------------------------------

void CColorMixerDlg::LoadPictures() {
    m_bmpWheel.DeleteObject();
    m_bmpCube.DeleteObject();
    BITMAP bm{};
    m_sizeWheel = CSize(0, 0);
    m_sizeCube = CSize(0, 0);
    if (m_bmpWheel.LoadBitmap(IDB_COLOR_WHEEL) && m_bmpWheel.GetBitmap(&bm))
        m_sizeWheel = CSize(bm.bmWidth, bm.bmHeight);
    if (m_bmpCube.LoadBitmap(IDB_RGB_CUBE) && m_bmpCube.GetBitmap(&bm))
        m_sizeCube = CSize(bm.bmWidth, bm.bmHeight);
}

BOOL CColorMixerDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    PrepareButton(m_btnOK, IDI_OK);
    PrepareButton(m_btnCancel, IDI_CLOSE);

    auto placeholder = [this](int nID) {
        CRect rc;
        if (CWnd* pItem = GetDlgItem(nID)) {
            pItem->GetWindowRect(&rc);
            ScreenToClient(&rc);
        }
        return rc;
    };
    m_rcRgbArea = placeholder(IDC_RGB_AREA);
    m_rcHsbArea = placeholder(IDC_HSB_AREA);
    m_rcStartPreview = placeholder(IDC_START_PREVIEW);
    m_rcCurrentPreview = placeholder(IDC_CURRENT_PREVIEW);
    m_dcMem.CreateCompatibleDC(nullptr);

    LoadPictures();
    m_ptWheelCenter = CPoint(m_rcHsbArea.left + kWheelRadius, m_rcHsbArea.top + kWheelRadius);

    // The bar: right of the wheel picture, as tall as it (at most one row
    // per entry of the colour table), each row showing its own entry.
    const int nBarHeight = std::clamp(int(m_sizeWheel.cy), 1, kMaxBarRows);
    m_rcBar = CRect(m_rcHsbArea.left + m_sizeWheel.cx + 20, m_rcHsbArea.top,
                    m_rcHsbArea.left + m_sizeWheel.cx + 40, m_rcHsbArea.top + nBarHeight);
    if (m_dibBar.Create(m_rcBar.Width(), nBarHeight, 8)) {
        for (int y = 0; y < nBarHeight; ++y)
            std::fill_n(m_dibBar.GetRow(y), m_rcBar.Width(), BYTE(y));
    }
    ComputeHsbMarkers();
    ComputeBarColors();

    const CPoint ptOrigin = m_rcRgbArea.TopLeft();
    m_ptCubeCenter = CPoint(ptOrigin.x + kCubeCenter.x, ptOrigin.y + kCubeCenter.y);
    for (int i = 0; i < 3; ++i) {
        m_ptAxisEnd[i] = CPoint(ptOrigin.x + kCubeAxisEnd[i].x, ptOrigin.y + kCubeAxisEnd[i].y);
        const int dx = m_ptAxisEnd[i].x - m_ptCubeCenter.x;
        const int dy = m_ptAxisEnd[i].y - m_ptCubeCenter.y;
        m_nAxisLength[i] = std::max(1, Distance(dx, dy));
        m_bAxisVertical[i] = dx == 0;
        m_dAxisSlope[i] = dx == 0 ? 0.0 : double(dy) / dx;
        m_dAxisIntercept[i] = m_ptCubeCenter.y - m_dAxisSlope[i] * m_ptCubeCenter.x;
    }
    ComputeHandles();
    ComputeBox();
    m_bReady = true;
    return TRUE;
}

// --- Geometry ------------------------------------------------------------

void CColorMixerDlg::ComputeHsbMarkers() {
    const double r = m_nSaturation * double(kWheelRadius) / 255;
    const double theta = m_nHue * kPi / 180;
    const CPoint pt(m_ptWheelCenter.x + int(r * std::cos(theta)),
                    m_ptWheelCenter.y - int(r * std::sin(theta)));
    m_rcWheelMarker = SquareAround(pt);
    const int yv = m_rcBar.bottom - int(m_rcBar.Height() * m_nBrightness / 255);
    m_rcBarMarker = CRect(m_rcBar.left - 2, yv - 4, m_rcBar.right + 2, yv + 4);
}

void CColorMixerDlg::ComputeBarColors() {
    const int nRows = m_dibBar.GetHeight();
    for (int i = 0; i < nRows; ++i) {
        int r, g, b;
        HsbToRgb(m_nHue, m_nSaturation, (nRows - 1 - i) * 255 / nRows, r, g, b);
        m_dibBar.SetColor(i, RGB(r, g, b));
    }
}

void CColorMixerDlg::ComputeHandles() {
    const int anValue[3] = {m_nRed, m_nGreen, m_nBlue};
    for (int i = 0; i < 3; ++i) {
        const int L = m_nAxisLength[i];
        const int nDistance = L * std::clamp(anValue[i], 0, 255) / 255;
        // Along the axis by that distance, to the nearest pixel.
        const double dx = m_ptAxisEnd[i].x - m_ptCubeCenter.x;
        const double dy = m_ptAxisEnd[i].y - m_ptCubeCenter.y;
        const double dLength = std::sqrt(dx * dx + dy * dy);
        const double f = dLength > 0 ? nDistance / dLength : 0.0;
        m_ptHandle[i] = CPoint(m_ptCubeCenter.x + int(std::lround(dx * f)),
                               m_ptCubeCenter.y + int(std::lround(dy * f)));
        m_rcHandle[i] = SquareAround(m_ptHandle[i]);
    }
}

namespace {

struct AxisLine {
    bool bVertical;
    double dSlope;
};

// Where the line through p along axis a meets the line through q along
// axis b; p when the two are parallel.
CPoint Intersect(POINT p, AxisLine a, POINT q, AxisLine b) {
    double x, y;
    if (a.bVertical && b.bVertical) return CPoint(p);
    if (a.bVertical) {
        x = p.x;
        y = q.y + b.dSlope * (x - q.x);
    } else if (b.bVertical) {
        x = q.x;
        y = p.y + a.dSlope * (x - p.x);
    } else {
        if (a.dSlope == b.dSlope) return CPoint(p);
        // p.y + sa (x - p.x) = q.y + sb (x - q.x)
        x = (q.y - p.y + a.dSlope * p.x - b.dSlope * q.x) / (a.dSlope - b.dSlope);
        y = p.y + a.dSlope * (x - p.x);
    }
    return CPoint(int(x), int(y));
}

}  // namespace

void CColorMixerDlg::ComputeBox() {
    const AxisLine red{m_bAxisVertical[0], m_dAxisSlope[0]};
    const AxisLine green{m_bAxisVertical[1], m_dAxisSlope[1]};
    const AxisLine blue{m_bAxisVertical[2], m_dAxisSlope[2]};
    const CPoint R = m_ptHandle[0], G = m_ptHandle[1], B = m_ptHandle[2];
    const CPoint RG = Intersect(R, green, G, red);
    const CPoint GB = Intersect(G, blue, B, green);
    const CPoint RB = Intersect(R, blue, B, red);
    const CPoint RGB = Intersect(GB, red, RG, blue);
    m_ptBox[0] = RG;
    m_ptBox[1] = GB;
    m_ptBox[2] = RB;
    m_ptBox[3] = RGB;
}

// --- Drawing -------------------------------------------------------------

void CColorMixerDlg::DrawPreview(CDC* pDC, const CRect& rc, COLORREF cr) {
    pDC->FillSolidRect(&rc, cr);
    CBrush black(RGB(0, 0, 0));
    pDC->FrameRect(&rc, &black);
    CRect rcBevel = rc;
    rcBevel.DeflateRect(1, 1);
    pDC->Draw3dRect(&rcBevel, RGB(192, 192, 192), RGB(128, 128, 128));
}

void CColorMixerDlg::DrawPicture(CDC* pDC, CBitmap& bmp, CPoint ptAt, CSize size) {
    if (!bmp.GetSafeHandle()) return;
    CBitmap* pOld = m_dcMem.SelectObject(&bmp);
    pDC->BitBlt(ptAt.x, ptAt.y, size.cx, size.cy, &m_dcMem, 0, 0, SRCCOPY);
    m_dcMem.SelectObject(pOld);
}

void CColorMixerDlg::DrawWheelPicture(CDC* pDC) {
    DrawPicture(pDC, m_bmpWheel, m_rcHsbArea.TopLeft(), m_sizeWheel);
}

void CColorMixerDlg::DrawCubePicture(CDC* pDC) {
    DrawPicture(pDC, m_bmpCube, m_rcRgbArea.TopLeft(), m_sizeCube);
}

void CColorMixerDlg::DrawBar(CDC* pDC) {
    m_dibBar.Draw(pDC->GetSafeHdc(), m_rcBar.left, m_rcBar.top, m_rcBar.Width(), m_rcBar.Height());
}

// Drawing the HSB markers twice removes them.
void CColorMixerDlg::DrawHsbMarkers(CDC* pDC) {
    {
        CXorFigures xor1(pDC, 1);
        pDC->Rectangle(&m_rcWheelMarker);
    }
    CXorFigures xor2(pDC, 2);
    pDC->Rectangle(&m_rcBarMarker);
}

// Drawing the handles and the box twice removes them.
void CColorMixerDlg::DrawHandlesAndBox(CDC* pDC) {
    CXorFigures xor1(pDC, 1);
    for (const CRect& rc : m_rcHandle) pDC->Rectangle(&rc);
    const CPoint R = m_ptHandle[0], G = m_ptHandle[1], B = m_ptHandle[2];
    const CPoint RG = m_ptBox[0], GB = m_ptBox[1], RB = m_ptBox[2], RGB = m_ptBox[3];
    // The three edges at the centre lie on the picture's axes.
    const POINT aEdges[9][2] = {{R, RG},   {RG, G}, {G, GB}, {GB, RGB}, {RGB, RG},
                                {RGB, RB}, {RB, B}, {B, GB}, {R, RB}};
    for (const auto& edge : aEdges) {
        pDC->MoveTo(edge[0]);
        pDC->LineTo(edge[1]);
    }
}

// --- Messages ------------------------------------------------------------

void CColorMixerDlg::OnPaint() {
    CPaintDC dc(this);
    if (!m_bReady) return;
    DrawPreview(&dc, m_rcStartPreview, RGB(m_nStartRed, m_nStartGreen, m_nStartBlue));
    DrawWheelPicture(&dc);
    DrawBar(&dc);
    DrawHsbMarkers(&dc);
    DrawCubePicture(&dc);
    DrawHandlesAndBox(&dc);
    DrawPreview(&dc, m_rcCurrentPreview, GetColor());
}

BOOL CColorMixerDlg::OnEraseBkgnd(CDC* pDC) {
    if (!m_bmpBackground.GetSafeHandle()) return CDialog::OnEraseBkgnd(pDC);
    CRect rcClient;
    GetClientRect(&rcClient);
    CDC dcBackground;
    dcBackground.CreateCompatibleDC(pDC);
    CBitmap* pOld = dcBackground.SelectObject(&m_bmpBackground);
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcBackground, 0, 0, SRCCOPY);
    dcBackground.SelectObject(pOld);
    return TRUE;
}

void CColorMixerDlg::OnSysColorChange() {
    CDialog::OnSysColorChange();
    LoadPictures();
    Invalidate(TRUE);
}

void CColorMixerDlg::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bReady && m_rcHsbArea.PtInRect(point)) {
        m_bRgbDrag = FALSE;
        const int nDistance = Distance(point.x - m_ptWheelCenter.x, point.y - m_ptWheelCenter.y);
        if (nDistance <= kWheelRadius)
            m_nHsbDrag = 1;
        else if (m_rcBar.PtInRect(point))
            m_nHsbDrag = 2;
        else
            m_nHsbDrag = 0;
        if (m_nHsbDrag) {
            SetCapture();
            if (m_nHsbDrag == 1)
                ApplyWheelPoint(point);
            else
                ApplyBarPoint(point);
        }
    } else if (m_bReady && m_rcRgbArea.PtInRect(point)) {
        m_nHsbDrag = 0;
        int nHandle = -1;
        for (int i = 0; i < 3 && nHandle < 0; ++i)
            if (m_rcHandle[i].PtInRect(point)) nHandle = i;
        if (nHandle >= 0) {
            SetCapture();
            m_bRgbDrag = TRUE;
            m_nRgbHandle = nHandle;
        }
    }
    CDialog::OnLButtonDown(nFlags, point);
}

void CColorMixerDlg::OnMouseMove(UINT nFlags, CPoint point) {
    if (GetCapture() == this) {
        if (m_nHsbDrag == 1)
            ApplyWheelPoint(point);
        else if (m_nHsbDrag == 2)
            ApplyBarPoint(point);
        else if (m_bRgbDrag)
            ApplyHandlePoint(point);
    }
    CDialog::OnMouseMove(nFlags, point);
}

void CColorMixerDlg::OnLButtonUp(UINT nFlags, CPoint point) {
    if (GetCapture() == this) {
        ::ReleaseCapture();
        m_bRgbDrag = FALSE;
        m_nHsbDrag = 0;
    }
    CDialog::OnLButtonUp(nFlags, point);
}

// --- Drags ---------------------------------------------------------------
//
// Every drag removes its exclusive-or figures before anything under them
// changes and draws them again afterwards, so that no picture and no part of
// the background keeps a trace of an old figure.

void CColorMixerDlg::ApplyWheelPoint(CPoint point) {
    CClientDC dc(this);
    DrawHsbMarkers(&dc);  // removes them
    const int dx = point.x - m_ptWheelCenter.x;
    const int dy = m_ptWheelCenter.y - point.y;
    int nHue = (dx == 0 && dy == 0) ? 0 : int(std::atan2(double(dy), double(dx)) * 180 / kPi);
    if (nHue < 0) nHue += 360;
    m_nHue = nHue % 360;
    m_nSaturation = std::min(255, Distance(dx, dy) * 255 / kWheelRadius);
    ComputeBarColors();
    ComputeHsbMarkers();
    DrawBar(&dc);
    DrawHsbMarkers(&dc);
    HsbToRgb(m_nHue, m_nSaturation, m_nBrightness, m_nRed, m_nGreen, m_nBlue);
    DrawHandlesAndBox(&dc);  // removes them
    ComputeHandles();
    ComputeBox();
    DrawCubePicture(&dc);
    DrawHandlesAndBox(&dc);
    DrawPreview(&dc, m_rcCurrentPreview, GetColor());
}

void CColorMixerDlg::ApplyBarPoint(CPoint point) {
    CClientDC dc(this);
    DrawHsbMarkers(&dc);  // removes them
    const int nHeight = std::max(1, m_rcBar.Height());
    m_nBrightness = std::clamp((m_rcBar.bottom - point.y) * 255 / nHeight, 0, 255);
    ComputeHsbMarkers();
    DrawHsbMarkers(&dc);
    HsbToRgb(m_nHue, m_nSaturation, m_nBrightness, m_nRed, m_nGreen, m_nBlue);
    DrawHandlesAndBox(&dc);  // removes them
    ComputeHandles();
    ComputeBox();
    DrawCubePicture(&dc);
    DrawHandlesAndBox(&dc);
    DrawPreview(&dc, m_rcCurrentPreview, GetColor());
}

void CColorMixerDlg::ApplyHandlePoint(CPoint point) {
    CClientDC dc(this);
    DrawHandlesAndBox(&dc);  // removes them
    const int nHandle = std::clamp(m_nRgbHandle, 0, 2);
    const CPoint c = m_ptCubeCenter;
    int nDistance;
    if (nHandle == 0) {
        nDistance = std::max(0, int(c.y - point.y));
    } else {
        // Green runs to the left of the centre, blue to the right, and the
        // pointer's x alone places the handle: the distance is to the point
        // of the axis at that x. (Measuring to the handle's current height
        // instead would make the colour depend on how many moves arrived.)
        const int x =
            nHandle == 1 ? std::min(int(point.x), int(c.x)) : std::max(int(point.x), int(c.x));
        const double dy = m_bAxisVertical[nHandle] ? 0.0 : m_dAxisSlope[nHandle] * (x - c.x);
        nDistance = int(std::sqrt(double(x - c.x) * (x - c.x) + dy * dy));
    }
    const int L = m_nAxisLength[nHandle];
    nDistance = std::min(nDistance, L);
    const int nValue = int(double(nDistance) / L * 255);
    if (nHandle == 0)
        m_nRed = nValue;
    else if (nHandle == 1)
        m_nGreen = nValue;
    else
        m_nBlue = nValue;
    ComputeHandles();
    ComputeBox();
    DrawHandlesAndBox(&dc);
    DrawPreview(&dc, m_rcCurrentPreview, GetColor());
    DrawHsbMarkers(&dc);  // removes them
    RgbToHsb(m_nRed, m_nGreen, m_nBlue, m_nHue, m_nSaturation, m_nBrightness);
    ComputeHsbMarkers();
    ComputeBarColors();
    DrawWheelPicture(&dc);
    DrawBar(&dc);
    DrawHsbMarkers(&dc);
}
