#pragma once
// Message maps: a class routes window messages and control notifications to named member handlers.
//
//     class CMyDlg : public CDialog { ... DECLARE_MESSAGE_MAP() };
//     BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//         ON_BN_CLICKED(1000, &CMyDlg::OnBnClickedConnect)
//         ON_WM_TIMER()
//         ON_MESSAGE(WM_APP + 1, &CMyDlg::OnFinished)
//     END_MESSAGE_MAP()
//
// A message is looked up in the class's own map first, then in its base classes' maps; the first entry
// that matches handles it. Each entry carries a small function that casts the target to the class that
// declared the entry and calls the handler with the message's arguments unpacked.

#include "UiDefs.h"
#include "CPoint.h"

class CCmdTarget;
class CWnd;
class CScrollBar;

namespace kavrino {

using MessageThunk = LRESULT (*)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message; // WM_COMMAND and WM_NOTIFY entries match code and id range as well
    UINT code;
    UINT idFirst;
    UINT idLast;
    MessageThunk thunk;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries; // ends with an entry whose thunk is null
};

// The window behind a handle, for handlers that receive another window (null when it names none).
CWnd* WndFromHandle(HWND hwnd);

} // namespace kavrino

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const kavrino::MessageMap* GetThisMessageMap();                                                   \
    const kavrino::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const kavrino::MessageMap* theClass::GetMessageMap() const {                                             \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const kavrino::MessageMap* theClass::GetThisMessageMap() {                                               \
        using ThisClass = theClass;                                                                          \
        using TheBaseClass = baseClass;                                                                      \
        static_cast<void>(sizeof(ThisClass));                                                                \
        static const kavrino::MessageMapEntry kEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    { 0, 0, 0, 0, nullptr }                                                                                  \
    }                                                                                                        \
    ;                                                                                                        \
    static const kavrino::MessageMap kMap = {&TheBaseClass::GetThisMessageMap, kEntries};                    \
    return &kMap;                                                                                            \
    }

#define KAVRINO_THUNK(body)                                                                                  \
    +[](CCmdTarget* kTarget, UINT kMessage, WPARAM wParam, LPARAM lParam) -> LRESULT {                       \
        ThisClass* self = static_cast<ThisClass*>(kTarget);                                                  \
        static_cast<void>(self);                                                                             \
        static_cast<void>(kMessage);                                                                         \
        static_cast<void>(wParam);                                                                           \
        static_cast<void>(lParam);                                                                           \
        body                                                                                                 \
    }

// Commands and control notifications (WM_COMMAND: id in the low word of wParam, code in the high word).
#define ON_COMMAND(id, memberFxn)                                                                            \
    {                                                                                                        \
        WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id),                                         \
            KAVRINO_THUNK((self->*(memberFxn))(); return 0;)                                                 \
    }                                                                                                        \
    ,
#define ON_COMMAND_RANGE(idFirst, idLast, memberFxn)                                                         \
    {                                                                                                        \
        WM_COMMAND, 0, static_cast<UINT>(idFirst), static_cast<UINT>(idLast),                                \
            KAVRINO_THUNK((self->*(memberFxn))(static_cast<UINT>(LOWORD(wParam))); return 0;)                \
    }                                                                                                        \
    ,
#define ON_CONTROL(code, id, memberFxn)                                                                      \
    {                                                                                                        \
        WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id),                   \
            KAVRINO_THUNK((self->*(memberFxn))(); return 0;)                                                 \
    }                                                                                                        \
    ,
#define ON_CONTROL_RANGE(code, idFirst, idLast, memberFxn)                                                   \
    {                                                                                                        \
        WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(idFirst), static_cast<UINT>(idLast),          \
            KAVRINO_THUNK((self->*(memberFxn))(static_cast<UINT>(LOWORD(wParam))); return 0;)                \
    }                                                                                                        \
    ,
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// WM_NOTIFY: handler(NMHDR*, LRESULT*).
#define ON_NOTIFY(code, id, memberFxn)                                                                       \
    {                                                                                                        \
        WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id),                    \
            KAVRINO_THUNK(LRESULT r = 0; (self->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), &r);         \
                          return r;)                                                                         \
    }                                                                                                        \
    ,
#define ON_NOTIFY_RANGE(code, idFirst, idLast, memberFxn)                                                    \
    {                                                                                                        \
        WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(idFirst), static_cast<UINT>(idLast),           \
            KAVRINO_THUNK(LRESULT r = 0; NMHDR* h = reinterpret_cast<NMHDR*>(lParam);                        \
                          (self->*(memberFxn))(static_cast<UINT>(h->idFrom), h, &r); return r;)              \
    }                                                                                                        \
    ,

// Any message, user messages included: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                                       \
    { static_cast<UINT>(message), 0, 0, 0, KAVRINO_THUNK(return (self->*(memberFxn))(wParam, lParam);) }     \
    ,

// Window messages with their usual handler names.
#define KAVRINO_ON_WM(message, call) {message, 0, 0, 0, KAVRINO_THUNK(call)},
#define ON_WM_CREATE()                                                                                       \
    KAVRINO_ON_WM(WM_CREATE, return self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));)
#define ON_WM_DESTROY() KAVRINO_ON_WM(WM_DESTROY, self->OnDestroy(); return 0;)
#define ON_WM_CLOSE() KAVRINO_ON_WM(WM_CLOSE, self->OnClose(); return 0;)
#define ON_WM_PAINT() KAVRINO_ON_WM(WM_PAINT, self->OnPaint(); return 0;)
#define ON_WM_TIMER() KAVRINO_ON_WM(WM_TIMER, self->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;)
#define ON_WM_SIZE()                                                                                         \
    KAVRINO_ON_WM(WM_SIZE,                                                                                   \
                  self->OnSize(static_cast<UINT>(wParam), static_cast<std::int16_t>(LOWORD(lParam)),         \
                               static_cast<std::int16_t>(HIWORD(lParam)));                                   \
                  return 0;)
#define ON_WM_HSCROLL()                                                                                      \
    KAVRINO_ON_WM(WM_HSCROLL, self->OnHScroll(LOWORD(wParam), static_cast<std::int16_t>(HIWORD(wParam)),     \
                                              reinterpret_cast<CScrollBar*>(                                 \
                                                  kavrino::WndFromHandle(reinterpret_cast<HWND>(lParam))));  \
                  return 0;)
#define ON_WM_VSCROLL()                                                                                      \
    KAVRINO_ON_WM(WM_VSCROLL, self->OnVScroll(LOWORD(wParam), static_cast<std::int16_t>(HIWORD(wParam)),     \
                                              reinterpret_cast<CScrollBar*>(                                 \
                                                  kavrino::WndFromHandle(reinterpret_cast<HWND>(lParam))));  \
                  return 0;)
#define KAVRINO_ON_MOUSE(message, handler)                                                                   \
    KAVRINO_ON_WM(message, self->handler(static_cast<UINT>(wParam), CPoint(lParam)); return 0;)
#define ON_WM_MOUSEMOVE() KAVRINO_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() KAVRINO_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() KAVRINO_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() KAVRINO_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() KAVRINO_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() KAVRINO_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() KAVRINO_ON_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_MOUSEWHEEL()                                                                                   \
    KAVRINO_ON_WM(WM_MOUSEWHEEL, return self->OnMouseWheel(                                                  \
                                     LOWORD(wParam), static_cast<short>(HIWORD(wParam)), CPoint(lParam));)
#define ON_WM_SYSCOMMAND()                                                                                   \
    KAVRINO_ON_WM(WM_SYSCOMMAND, self->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;)
#define ON_WM_DRAWITEM()                                                                                     \
    KAVRINO_ON_WM(WM_DRAWITEM,                                                                               \
                  self->OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));    \
                  return TRUE;)
#define ON_WM_QUERYDRAGICON()                                                                                \
    KAVRINO_ON_WM(WM_QUERYDRAGICON, return reinterpret_cast<LRESULT>(self->OnQueryDragIcon());)
#define ON_WM_ACTIVATE()                                                                                     \
    KAVRINO_ON_WM(WM_ACTIVATE,                                                                               \
                  self->OnActivate(LOWORD(wParam), kavrino::WndFromHandle(reinterpret_cast<HWND>(lParam)),   \
                                   HIWORD(wParam));                                                          \
                  return 0;)
#define ON_WM_SHOWWINDOW()                                                                                   \
    KAVRINO_ON_WM(WM_SHOWWINDOW, self->OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));   \
                  return 0;)
#define ON_WM_SETFOCUS()                                                                                     \
    KAVRINO_ON_WM(WM_SETFOCUS, self->OnSetFocus(kavrino::WndFromHandle(reinterpret_cast<HWND>(wParam)));     \
                  return 0;)
#define ON_WM_KILLFOCUS()                                                                                    \
    KAVRINO_ON_WM(WM_KILLFOCUS, self->OnKillFocus(kavrino::WndFromHandle(reinterpret_cast<HWND>(wParam)));   \
                  return 0;)
#define ON_WM_KEYDOWN()                                                                                      \
    KAVRINO_ON_WM(WM_KEYDOWN, self->OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));    \
                  return 0;)
#define ON_WM_KEYUP()                                                                                        \
    KAVRINO_ON_WM(WM_KEYUP, self->OnKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));        \
                  return 0;)
