// Common controls of the framework: the tool-tip control.
#pragma once

#include "afxwin.h"

#ifndef LPSTR_TEXTCALLBACK
#define LPSTR_TEXTCALLBACK ((LPSTR)-1L)
#endif

// Tool-tips are created and told about their tools, but never pop up.
class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void RelayEvent(LPMSG lpMsg);
    void Activate(BOOL bActivate);
    int GetToolCount() const;
    void SetDelayTime(UINT nDelay);
    int SetMaxTipWidth(int iWidth);
};
