// What the two colouring screens share.
#include "screens/coloring_screen.h"

#include <afxdlgs.h>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/globals.h"
#include "common/program_path.h"
#include "common/settings.h"
#include "controls/coloring_canvas_ctrl.h"
#include "controls/coloring_thumbnail_ctrl.h"
#include "imagelib/pix_image.h"
#include "res/resource.h"
#include "screens/catalogues.h"
#include "screens/drawing_record.h"
#include "screens/home_dlg.h"
#include "screens/music_list_dlg.h"
#include "screens/picture_folders.h"
#include "screens/picture_sources.h"
#include "screens/screen_background.h"

namespace coloring_screen {

void PrepareButton(CSkinButton& button, int nIconIn, int nIconOut, BOOL bClickSound) {
    HMODULE hModule = AfxGetInstanceHandle();
    button.SetIcons(nIconIn, nIconOut);
    button.SetTransparent(FALSE);
    button.SetEventSound(MAKEINTRESOURCEA(IDW_HOVER), hModule, CSkinButton::EVENT_HOVER, TRUE);
    if (bClickSound)
        button.SetEventSound(MAKEINTRESOURCEA(IDW_CLICK), hModule, CSkinButton::EVENT_CLICK, TRUE);
}

void PrepareHistoryButtons(CSkinButton& undo, CSkinButton& redo) {
    PrepareButton(undo, IDI_UNDO, 0);
    PrepareButton(redo, IDI_REDO, 0);
    undo.SetDisabledIcon(IDI_UNDO_NONE);
    redo.SetDisabledIcon(IDI_REDO_NONE);
    undo.EnableWindow(FALSE);
    redo.EnableWindow(FALSE);
}

void ShowHistory(const CColoringCanvasCtrl& canvas, CSkinButton& undo, CSkinButton& redo) {
    // Only a change repaints: a fill that leaves both as they were costs
    // the buttons nothing.
    if (bool(undo.IsWindowEnabled()) != bool(canvas.CanUndo())) undo.EnableWindow(canvas.CanUndo());
    if (bool(redo.IsWindowEnabled()) != bool(canvas.CanRedo())) redo.EnableWindow(canvas.CanRedo());
}

BOOL HandleHistoryKey(const MSG* pMsg, CColoringCanvasCtrl& canvas) {
    if (pMsg->message != WM_KEYDOWN || ::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_MENU) < 0)
        return FALSE;
    const bool bShift = ::GetKeyState(VK_SHIFT) < 0;
    if (pMsg->wParam == 'Z' && !bShift)
        canvas.Undo();
    else if (pMsg->wParam == 'Y' || (pMsg->wParam == 'Z' && bShift))
        canvas.Redo();
    else
        return FALSE;
    return TRUE;
}

BOOL PaintBackground(CWnd* pScreen, CDC* pDC, CBitmap& bmpBackground, CSkinButton* const* apButtons,
                     int nButtons) {
    if (!PaintScreenBackground(pScreen, pDC, bmpBackground)) return FALSE;
    for (int i = 0; i < nButtons; ++i) apButtons[i]->CaptureBackground(pDC);
    return TRUE;
}

void LoadBackground(CBitmap& bmp, const char* pszFolder) {
    CString strName;
    strName.Format("bg%d.bmp", 1);
    CString strPath = ProgramFile(CString("Backgrnd\\") + pszFolder + "\\" + strName);
    HANDLE hImage = ::LoadImageA(nullptr, strPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hImage) bmp.Attach(static_cast<HBITMAP>(hImage));
}

void CentreCanvas(CColoringCanvasCtrl& canvas, int nAreaLeft, int nAreaTop, int cxArea,
                  int cyArea) {
    int h = canvas.GetPictureHeight();
    int w = canvas.GetPictureWidth();
    // Integer division rounds towards zero in C++, as the layout wants.
    canvas.MoveWindow((cxArea - w) / 2 + nAreaLeft, (cyArea - h) / 2 + nAreaTop, w, h, TRUE);
    // A move to the rectangle the canvas already has repaints nothing, and
    // a new picture of the old one's size would stay hidden behind the old
    // one's pixels: the canvas is repainted whatever the move did.
    canvas.InvalidateRect(nullptr, TRUE);
}

void SizeStrip(CWnd* pScreen, CColoringThumbnailCtrl& strip, int nRows) {
    strip.SetRows(nRows);
    CSize size = strip.GetIdealSize();
    CRect rect;
    strip.GetWindowRect(&rect);
    pScreen->ScreenToClient(&rect);
    strip.MoveWindow(rect.left, rect.top, size.cx, size.cy, TRUE);
}

void RunMusicList(CHomeDlg* pHome, CSkinButton& toggle) {
    CMusicListDlg dlg;
    if (dlg.DoModal() != IDOK) return;
    if (pHome) pHome->PlaySong(dlg.GetChosenCode());
    toggle.SetChecked(TRUE, TRUE);
}

void FollowMusicToggle(CHomeDlg* pHome, CSkinButton& toggle) {
    if (!pHome) return;
    if (toggle.IsChecked())
        pHome->RestartMusic();
    else
        pHome->StopMusic();
}

CString WhyNotWritable(const CString& strPath) {
    std::string path(static_cast<LPCSTR>(strPath));
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "."
                         : slash == 0               ? "/"
                                                    : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    CString strFolder(folder.c_str());
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return "The folder " + strFolder + " cannot be reached: " + std::strerror(errno) + ".";
    if (!S_ISDIR(st.st_mode)) return strFolder + " is not a folder.";
    if (name.empty() || name.size() > NAME_MAX) return "The file name is empty or too long.";
    // The effective user's rights, which are the ones the write runs with.
    if (::access(path.c_str(), F_OK) == 0 &&
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return CString("The file there may not be replaced: ") + std::strerror(errno) + ".";
    std::string probe = folder + "/.tintorama-XXXXXX";
    int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return "The folder " + strFolder + " does not take new files: " + std::strerror(errno) +
               ".";
    // A disk with no room left may still take an empty file: try a block.
    char block[4096] = {};
    bool bRoom = ::write(fd, block, sizeof block) == ssize_t(sizeof block);
    int nError = errno;
    ::close(fd);
    ::unlink(probe.c_str());
    if (!bRoom) return CString("The file cannot be written: ") + std::strerror(nError) + ".";
    return CString();
}

// The Vietnamese halves are TCVN3 bytes, which the interface font draws.
CString SaveFailureText(const CString& strPath, const CString& strReason, BOOL bExisted) {
    CString strText =
        "Kh\xabng l\xadu \xae\xad\xee"
        "c tranh - The picture was not saved\n";
    strText += strPath + "\n\n";
    strText += strReason.IsEmpty() ? CString(
                                         "Kh\xabng ghi \xae\xad\xee"
                                         "c tranh v\xb5o \xae\xa9y - "
                                         "The picture could not be written there.")
                                   : strReason;
    if (bExisted)
        strText += "\nT\xd6p c\xf2 v\xc9n c\xdfn nguy\xaan - The file that was there is unchanged.";
    return strText;
}

void SavePictureAs(CWnd* pScreen, CColoringCanvasCtrl& canvas) {
    // The drawings' folder is made when the first save needs it; a drawing
    // opened from it is offered under its own name again.
    const CString strFolder = DrawingsFolder();
    MakeFolder(strFolder);
    const CString strOpened = canvas.GetPicturePath();
    const bool bDrawing = IsFileInFolder(strOpened, strFolder) != FALSE;
    CFileDialog dlg(FALSE, "bmp", bDrawing ? strOpened : CString(), OFN_OVERWRITEPROMPT,
                    "Bitmap files (*.bmp)|*.bmp|PNG pictures (*.png)|*.png||", nullptr);
    // The folder last saved to, also in an earlier run, while it is there;
    // else the drawings' folder.
    const CString strLast = settings::Get(settings::kSaveFolder);
    struct stat stLast {};
    const bool bLastThere =
        !strLast.IsEmpty() && ::stat(strLast, &stLast) == 0 && S_ISDIR(stLast.st_mode);
    dlg.m_ofn.lpstrInitialDir = bLastThere ? strLast : strFolder;
    if (bDrawing && PixFormatForPath(strOpened) == PIX_FORMAT_PNG) dlg.m_ofn.nFilterIndex = 2;
    if (dlg.DoModal() != IDOK) return;
    if (!canvas.HasPicture()) return;  // nothing to save, nothing written
    CString strPath = dlg.GetPathName();
    const int nSlash = strPath.ReverseFind('/');
    if (nSlash >= 0)
        settings::Set(settings::kSaveFolder, nSlash == 0 ? CString("/") : strPath.Left(nSlash));
    struct stat st {};
    const bool bExisted = ::stat(strPath, &st) == 0;
    CString strError;
    if (canvas.SavePicture(strPath, &strError)) {
        // Beside it, which picture it was coloured from; a drawing that
        // cannot say so still opens, so a failure here is not the child's.
        WriteDrawingRecord(strPath, OriginalPictureOf(canvas));
        return;
    }
    // The plain words for what stops the save; the library's own otherwise.
    CString strReason = WhyNotWritable(strPath);
    if (strReason.IsEmpty()) strReason = strError;
    pScreen->MessageBox(SaveFailureText(strPath, strReason, bExisted), "Save Picture",
                        MB_OK | MB_ICONERROR);
}

}  // namespace coloring_screen
