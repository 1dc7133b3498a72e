// CColoringCanvasCtrl: the child window in which a picture is coloured. It
// holds one line-art picture loaded from a .bmp file, shows it 1:1 in its
// top-left corner and floods the 4-connected region under a released click
// with the fill colour. Every fill, and every start again, is a step that
// can be undone and redone; choosing another picture forgets them. Window
// class "ColoringCanvasCtrl".
#pragma once

#include <afxwin.h>

#include <cstdint>
#include <vector>

#include "controls/canvas_history.h"

class CColoringCanvasCtrl : public CWnd {
public:
    // Registers the window class; a failure raises CResourceException.
    CColoringCanvasCtrl();
    ~CColoringCanvasCtrl() override;

    static constexpr const char* kClassName = "ColoringCanvasCtrl";

    // Loads a picture file: BMP, or PNG and the other formats of the image
    // library (a missing, unreadable or too large picture leaves the canvas
    // empty). Neither repaints nor resizes: the caller moves the window
    // right after.
    void LoadPicture(CString strPath);
    // What "start again" gives back instead of the loaded file: the
    // uncoloured picture a saved drawing was coloured from. Cleared by
    // LoadPicture.
    void SetStartAgainPicture(CString strPath);
    const CString& GetStartAgainPicture() const { return m_strStartAgainPath; }
    // Loads the start-again picture (else the last picture, also when the
    // start-again picture no longer loads) and repaints: the colouring goes,
    // in one step that can be undone.
    void ReloadPicture();
    // Takes back the last step, or does again the last one taken back, and
    // repaints what changed. FALSE when there is nothing to undo or redo.
    // The parent hears of every change of what can be undone or redone
    // (WM_NOTIFY, CVN_HISTORYCHANGED).
    BOOL Undo();
    BOOL Redo();
    BOOL CanUndo() const { return m_history.CanUndo(); }
    BOOL CanRedo() const { return m_history.CanRedo(); }
    const CCanvasHistory& GetHistory() const { return m_history; }
    // The held picture's size, 0 when the canvas is empty.
    int GetPictureWidth() const;
    int GetPictureHeight() const;
    void SetFillColor(COLORREF crFill);
    void SetReadOnly(BOOL bReadOnly);
    // Writes the picture with its colouring as a PNG file when the name ends
    // in ".png", else as a BMP file; nothing when empty.
    // FALSE when the file could not be written, with the image library's
    // reason in *pstrError when given; the old file is then left as it was.
    BOOL SavePicture(CString strPath, CString* pstrError = nullptr);

    COLORREF GetFillColor() const { return m_crFill; }
    BOOL IsReadOnly() const { return m_bReadOnly; }
    BOOL HasPicture() const { return m_bmpPicture.GetSafeHandle() != nullptr; }
    const CString& GetPicturePath() const { return m_strPicturePath; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void Load(const CString& strPath);
    // The held picture's pixels, top row first, into `pixels` (empty when
    // there is none).
    void ReadPixels(std::vector<uint32_t>& pixels) const;
    // m_pixels back into the bitmap, and the rectangle repainted.
    void ShowPixels(const RECT& rcChanged);
    // The picture changed from m_pixels: one step, and m_pixels follows it.
    void RecordChange();
    void NotifyHistory();

    CString m_strPicturePath;
    CString m_strStartAgainPath;
    BOOL m_bReadOnly = FALSE;
    COLORREF m_crFill = 0;
    CDC m_dcMem;
    CBitmap m_bmpPicture;
    // What the bitmap holds, kept to find what each change changed.
    std::vector<uint32_t> m_pixels;
    std::vector<uint32_t> m_after;  // the picture after a change, before it is recorded
    CCanvasHistory m_history;
};
