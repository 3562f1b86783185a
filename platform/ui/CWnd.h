#pragma once
// A window of the window system, addressed through its handle m_hWnd.
//
// The window itself (its Qt widget, style, timers, scroll bars, system menu, backing image) belongs to the
// window registry and is named by the handle; a CWnd is the object the system's code holds and whose
// message map handles the window's messages. A CWnd can be attached to an existing window (a dialog's
// control, through DDX_Control or SubclassDlgItem): its message map then sees the control's messages
// first, and Default() gives the control its own handling.
//
// Threads: every operation may be called from any thread. Called from another thread it runs on the
// user-interface thread and returns when it has run there, like a sent message; when the window has been
// destroyed by then it does nothing and returns the failure value. The user-interface thread may be
// inside a nested loop (a modal dialog, a message box) meanwhile; the call still runs.

#include "CCmdTarget.h"
#include "CRect.h"
#include "CString.h"

using LPINT = int*;

class CDC;
class CFont;
class CMenu;
class CScrollBar;

namespace kavrino {
struct WindowState;
}

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object for a handle: the attached object, or the window's own object for a control nobody
    // attached; null when the handle names no window.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    // The stand-in for the desktop: a dialog created with it as parent is a top-level window of its own.
    static CWnd* GetDesktopWindow();

    // Attaching to an existing window (a control of a dialog).
    BOOL Attach(HWND hwnd);
    HWND Detach();
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    BOOL SubclassWindow(HWND hwnd);
    HWND UnsubclassWindow() { return Detach(); }

    virtual BOOL DestroyWindow();

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The window's message procedure: the message map, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being handled now.
    LRESULT Default();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Text, visibility, position.
    void SetWindowText(LPCTSTR text);
    int GetWindowText(LPTSTR buffer, int maxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void BringWindowToTop();
    CWnd* SetActiveWindow();
    BOOL SetForegroundWindow();

    // Focus and capture.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Painting.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rectUpdate = nullptr, void* rgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // Drawing on or off (a list that is refilled in one go); on again repaints.
    void SetRedraw(BOOL redraw = TRUE);
    // A device context over the client area; release it with ReleaseDC (its drawing then reaches the screen).
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;

    // Style. The bits that the templates give and ModifyStyle changes; WS_VISIBLE and WS_DISABLED follow
    // the window's state.
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // Relations.
    CWnd* GetParent() const;
    CWnd* GetOwner() const { return GetParent(); }
    CWnd* GetTopLevelParent() const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    CWnd* GetDlgItem(int id) const;
    void GetDlgItem(int id, HWND* hwnd) const;
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;

    // The dialog-item helpers.
    void SetDlgItemText(int id, LPCTSTR text);
    int GetDlgItemText(int id, LPTSTR buffer, int maxCount) const;
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int firstId, int lastId, int checkId);
    int GetCheckedRadioButton(int firstId, int lastId) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Timers: WM_TIMER(id) through the message map on the user-interface thread. Setting an id again
    // restarts it with the new period; a destroyed window's timers stop.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* timerProc);
    BOOL KillTimer(UINT_PTR id);

    // Scroll bars of a window whose style has WS_HSCROLL / WS_VSCROLL (bar SB_HORZ or SB_VERT).
    BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    int GetScrollPos(int bar) const;
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const;
    void ShowScrollBar(UINT bar, BOOL show = TRUE);

    // Icons and the system menu.
    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;
    CMenu* GetSystemMenu(BOOL revert) const;

    int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);

    // Default handlers: each gives the message its default handling.
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnClose();
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnSize(UINT type, int cx, int cy);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnDrawItem(int idCtl, LPDRAWITEMSTRUCT dis);
    HCURSOR OnQueryDragIcon();
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnShowWindow(BOOL show, UINT status);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    void OnKeyUp(UINT ch, UINT repeat, UINT flags);

    // For the window system: the registry's record of this window (user-interface thread only).
    kavrino::WindowState* State() const;

protected:
    DECLARE_MESSAGE_MAP()
};
