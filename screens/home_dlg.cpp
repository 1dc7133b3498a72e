// The home screen: the picture, its six buttons, the About item of the
// system menu and the help page. The music operations live in
// screens/home_music.cpp.
#include "screens/home_dlg.h"

#include "common/globals.h"
#include "common/program_path.h"
#include "music/music_player.h"
#include "res/resource.h"
#include "screens/about_dlg.h"
#include "screens/free_coloring_dlg.h"
#include "screens/music_list_dlg.h"
#include "screens/sample_coloring_dlg.h"
#include "screens/screen_background.h"

namespace {

// The About item appended to the system menu.
constexpr UINT IDM_ABOUTBOX = 0x0010;

const char* const kHomePicture = "Backgrnd\\home.bmp";
const char* const kHelpPage = "Help\\Help.htm";

// Transparent drawing with the hover and click sounds of every screen.
void PrepareButton(CSkinButton& button) {
    HMODULE hModule = AfxGetInstanceHandle();
    button.SetTransparent(FALSE);
    button.SetEventSound(MAKEINTRESOURCEA(IDW_HOVER), hModule, CSkinButton::EVENT_HOVER, TRUE);
    button.SetEventSound(MAKEINTRESOURCEA(IDW_CLICK), hModule, CSkinButton::EVENT_CLICK, TRUE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CHomeDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_HOME_SAMPLE, &CHomeDlg::OnSampleColoring)
ON_BN_CLICKED(IDC_HOME_FREE, &CHomeDlg::OnFreeColoring)
ON_BN_CLICKED(IDC_HOME_MUSIC, &CHomeDlg::OnMusicList)
ON_BN_CLICKED(IDC_HOME_SPARE, &CHomeDlg::OnSpare)
ON_BN_CLICKED(IDC_HOME_HELP, &CHomeDlg::OnHelp)
END_MESSAGE_MAP()

CHomeDlg::CHomeDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
    HANDLE hPicture =
        ::LoadImageA(nullptr, ProgramFile(kHomePicture), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hPicture) m_bmpBackground.Attach(static_cast<HBITMAP>(hPicture));
}

CHomeDlg::~CHomeDlg() {
    // Normally gone with the window; this covers a dialog that never ran.
    delete m_pPlayer;
    m_pPlayer = nullptr;
}

void CHomeDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDCANCEL, m_btnExit);
    DDX_Control(pDX, IDC_HOME_SPARE, m_btnSpare);
    DDX_Control(pDX, IDC_HOME_SAMPLE, m_btnSample);
    DDX_Control(pDX, IDC_HOME_MUSIC, m_btnMusicList);
    DDX_Control(pDX, IDC_HOME_FREE, m_btnFree);
    DDX_Control(pDX, IDC_HOME_HELP, m_btnHelp);
}

BOOL CHomeDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // No caption bar: the text names the window for the desktop's task bar.
    SetWindowText("Tintorama");

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAbout;
        strAbout.LoadString(IDS_ABOUTBOX);
        if (!strAbout.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAbout);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    PrepareButton(m_btnFree);
    PrepareButton(m_btnSample);
    PrepareButton(m_btnMusicList);
    PrepareButton(m_btnExit);
    PrepareButton(m_btnSpare);
    m_btnHelp.SetIcons(IDI_HELP, 0);
    PrepareButton(m_btnHelp);

    // The player is silent until a song is chosen in the music list.
    m_pPlayer = new CMusicPlayer(AfxGetInstanceHandle());
    return TRUE;
}

void CHomeDlg::OnOK() {
    // No control of the home screen is IDOK: Enter does nothing here.
}

void CHomeDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CHomeDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CHomeDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

BOOL CHomeDlg::OnEraseBkgnd(CDC* pDC) {
    if (PaintScreenBackground(this, pDC, m_bmpBackground)) return TRUE;
    return CDialog::OnEraseBkgnd(pDC);
}

void CHomeDlg::OnDestroy() {
    // The stop goes out whatever the state; the player's window goes with
    // the player, so no answer to it is ever shown.
    if (m_pPlayer) m_pPlayer->SendStop();
    delete m_pPlayer;
    m_pPlayer = nullptr;
    CDialog::OnDestroy();
}

void CHomeDlg::OnSampleColoring() {
    // The screen reaches the music operations through m_pHome; it keeps
    // nothing once it closes, and its result is not used.
    CSampleColoringDlg dlg;
    dlg.m_pHome = this;
    dlg.DoModal();
}

void CHomeDlg::OnFreeColoring() {
    CFreeColoringDlg dlg;
    dlg.m_pHome = this;
    dlg.DoModal();
}

void CHomeDlg::OnMusicList() {
    CMusicListDlg dlg;
    if (dlg.DoModal() == IDOK) PlaySong(dlg.GetChosenCode());
}

void CHomeDlg::OnSpare() {
    // The spare button has no action of its own; its click sound is all.
}

void CHomeDlg::OnHelp() {
    ::ShellExecuteA(nullptr, "open", g_strAppDir + kHelpPage, nullptr, nullptr, SW_SHOW);
}
