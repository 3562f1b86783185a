#pragma once
// A dialog built from a numbered template: its controls are created with their ids, texts and styles.
//
// Modal: DoModal shows the dialog as a top-level window, runs until EndDialog and returns its result; the
// window is destroyed before DoModal returns. Modeless: Create(id, parent) makes the window hidden (a CHILD
// template becomes a child window inside the parent's client area, any other a top-level window of its
// own); the call reaches the virtual Create(LPCTSTR templateName, CWnd* parent) so that a class can
// override it. A class that overrides that Create hides the id form; it brings it back with
// `using CDialog::Create;`.
//
// Enter and Esc: key-downs reach PreTranslateMessage of the focus window's dialog, then of its parent
// dialogs. CDialog::PreTranslateMessage is the dialog manager: Enter sends IDOK (or the focused push
// button's id), or is a line break in a multi-line edit that wants Enter; Esc sends IDCANCEL. OnOK and
// OnCancel end a modal dialog and hide a modeless one.

#include "CWnd.h"

class CDataExchange;
class QEventLoop;

namespace kavrino {
void EndModalOnDestroy(CWnd* wnd);
}

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCTSTR templateName, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    void EndDialog(int result);

    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    virtual BOOL Create(LPCTSTR templateName, CWnd* parent = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Focus moves of the dialog manager.
    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT id);
    DWORD GetDefID() const;

    UINT m_nIDHelp = 0;
    LPCTSTR m_lpszTemplateName = nullptr;
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    DECLARE_MESSAGE_MAP()

private:
    friend void kavrino::EndModalOnDestroy(CWnd* wnd);
    UINT TemplateId(LPCTSTR templateName) const;
    UINT m_defId = IDOK;
    // The modal run: its loop, whether EndDialog was called, and the result.
    QEventLoop* m_loop = nullptr;
    bool m_modal = false;
    bool m_ended = false;
    INT_PTR m_result = -1;
};
