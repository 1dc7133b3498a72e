// What the two colouring screens share: their skinned buttons' set-up, the
// background under the buttons, the canvas centred in its area, the range
// label, the music list and toggle, and the save through the save dialog.
#pragma once

#include <afxwin.h>

#include "controls/skin_button.h"

class CColoringCanvasCtrl;
class CColoringThumbnailCtrl;
class CHomeDlg;

namespace coloring_screen {

// Icons (nIconOut 0 for one icon), transparent drawing without repaint, the
// hover sound and, with bClickSound, the click sound; both asynchronous.
void PrepareButton(CSkinButton& button, int nIconIn, int nIconOut, BOOL bClickSound = TRUE);

// The undo and redo buttons: their arrows, their greyed-out faces and the
// sounds; both start greyed out.
void PrepareHistoryButtons(CSkinButton& undo, CSkinButton& redo);
// The buttons follow what the canvas can undo and redo.
void ShowHistory(const CColoringCanvasCtrl& canvas, CSkinButton& undo, CSkinButton& redo);
// Ctrl+Z undoes on the canvas, Ctrl+Y and Ctrl+Shift+Z redo. TRUE when the
// message was one of these keys (it is then used up).
BOOL HandleHistoryKey(const MSG* pMsg, CColoringCanvasCtrl& canvas);

// Paints `bmpBackground` 1:1 at the client's top-left and hands the painted
// DC to the buttons so that each keeps the picture under itself. FALSE when
// there is no background: the caller then erases in the default way.
BOOL PaintBackground(CWnd* pScreen, CDC* pDC, CBitmap& bmpBackground, CSkinButton* const* apButtons,
                     int nButtons);

// Loads the background "Backgrnd\<folder>\bg1.bmp" of the program directory
// into `bmp`; it stays without a handle when the file does not load.
void LoadBackground(CBitmap& bmp, const char* pszFolder);

// Moves a canvas so that its picture is centred in the area at (left, top)
// of cx x cy. The divisions round towards zero, so a picture larger than
// the area overhangs it equally on both sides. The canvas is repainted even
// when it does not move.
void CentreCanvas(CColoringCanvasCtrl& canvas, int nAreaLeft, int nAreaTop, int cxArea, int cyArea);

// Resizes the strip to its ideal size, keeping its top-left.
void SizeStrip(CWnd* pScreen, CColoringThumbnailCtrl& strip, int nRows);

// The music list: a chosen song plays and the toggle shows it.
void RunMusicList(CHomeDlg* pHome, CSkinButton& toggle);
// The toggle has changed its own check state: the music follows it.
void FollowMusicToggle(CHomeDlg* pHome, CSkinButton& toggle);

// The save dialog, opening in the drawings' folder (made if missing) and
// offering a drawing opened from there under its own name, with the bitmap
// and PNG types; then the canvas's picture written to the chosen file (PNG
// for a name ending in ".png") and, beside it, the record of the picture
// it was coloured from (drawing_record.h). A
// write that fails tells the user why in a message box owned by the screen;
// the file that was there stays as it was (the image library writes a new
// file beside it and only then puts it in its place). Cancelling does
// nothing.
void SavePictureAs(CWnd* pScreen, CColoringCanvasCtrl& canvas);

// Why a file cannot be written at strPath, in words: found by trying to
// create a file in its folder. Empty when that works.
CString WhyNotWritable(const CString& strPath);

// The text of the box a failed save shows: the news in Vietnamese (TCVN3)
// and then in English, as every caption of the program is written, then
// the path and the reason; a last line says that the file that was there
// is unchanged when bExisted.
CString SaveFailureText(const CString& strPath, const CString& strReason, BOOL bExisted);

}  // namespace coloring_screen
