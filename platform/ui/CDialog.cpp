#include "CDialog.h"

#include "CDataExchange.h"
#include "DialogBuilder.h"
#include "ModalStack.h"
#include "TestHooks.h"
#include "UiInternal.h"
#include "UiThread.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <mutex>

using namespace kavrino;

namespace {
std::mutex g_hookMutex;
ModalDialogHook g_modalHook;

// The dialog's own control that gets the focus when the window is activated, or null.
HWND OwnFocusControl(const WindowState& dialog) {
    QWidget* focus = dialog.widget ? dialog.widget->focusWidget() : nullptr;
    const HWND control = focus ? WindowRegistry::HandleOf(focus) : nullptr;
    const WindowState* c = FindWindowState(control);
    return c && c->parent == dialog.hwnd ? control : nullptr;
}

bool IsArrowKey(WPARAM key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

// The button an arrow key moves to from a radio button of the dialog: the next (Right, Down) or previous
// (Left, Up) one of its group in template order, round the end, passing over the ones that are disabled
// or hidden; null when there is no other.
HWND NextRadioOfGroup(const WindowState& dialog, const WindowState& from, bool previous) {
    std::vector<HWND> members;
    for (HWND child : dialog.children) {
        const WindowState* c = FindWindowState(child);
        if (c && c->radioGroup == from.radioGroup)
            members.push_back(child);
    }
    const auto at = std::find(members.begin(), members.end(), from.hwnd);
    if (at == members.end())
        return nullptr;
    const std::size_t n = members.size();
    std::size_t i = static_cast<std::size_t>(at - members.begin());
    for (std::size_t step = 1; step < n; ++step) {
        i = previous ? (i + n - 1) % n : (i + 1) % n;
        const WindowState* c = FindWindowState(members[i]);
        if (c && c->widget && c->widget->isEnabled() && !c->widget->isHidden())
            return members[i];
    }
    return nullptr;
}
} // namespace

namespace kavrino {

void SetModalDialogHook(ModalDialogHook hook) {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    g_modalHook = std::move(hook);
}

void EndModalOnDestroy(CWnd* wnd) {
    auto* dialog = dynamic_cast<CDialog*>(wnd);
    if (dialog && dialog->m_loop) {
        dialog->m_ended = true;
        dialog->m_loop->exit();
    }
}

} // namespace kavrino

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCE(templateId)), m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::CDialog(LPCTSTR templateName, CWnd* parent)
    : m_lpszTemplateName(templateName), m_nIDTemplate(TemplateId(templateName)), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

UINT CDialog::TemplateId(LPCTSTR templateName) const {
    if (!templateName)
        return 0;
    if (IS_INTRESOURCE(templateName))
        return static_cast<UINT>(reinterpret_cast<ULONG_PTR>(templateName));
    const wchar_t* p = templateName;
    if (*p == L'#')
        ++p;
    UINT id = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        id = id * 10 + static_cast<UINT>(*p - L'0');
    return id;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    return Create(MAKEINTRESOURCE(templateId), parent);
}

BOOL CDialog::Create(LPCTSTR templateName, CWnd* parent) {
    BOOL ok = FALSE;
    RunOnUi([&] {
        if (m_hWnd)
            return;
        const UINT id = TemplateId(templateName);
        const DialogTemplate* t = DialogTemplate::Find(static_cast<int>(id));
        if (!t)
            return;
        m_nIDTemplate = id;
        m_lpszTemplateName = MAKEINTRESOURCE(id);
        m_pParentWnd = parent;
        m_modal = false;
        m_ended = false;
        if (!BuildDialog(this, *t, parent))
            return;
        CREATESTRUCT cs{};
        if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
            DestroyWindow();
            return;
        }
        SendMessage(WM_INITDIALOG, 0, 0);
        ok = m_hWnd ? TRUE : FALSE;
    });
    return ok;
}

INT_PTR CDialog::DoModal() {
    INT_PTR result = -1;
    RunOnUi([&] {
        const DialogTemplate* found = DialogTemplate::Find(static_cast<int>(m_nIDTemplate));
        if (!found || m_hWnd)
            return;
        // A modal dialog is always a window of its own. It disables its owner while it runs; the other
        // top-level windows stay usable.
        DialogTemplate t = *found;
        t.styles.removeAll(QStringLiteral("CHILD"));
        const QPointer<QWidget> owner = ModalStack::Owner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
        m_modal = true;
        m_ended = false;
        m_result = -1;
        if (!BuildDialog(this, t, m_pParentWnd)) {
            m_modal = false;
            return;
        }
        // From here the owner takes no input until the loop below has ended.
        const QPointer<QWidget> window = State() ? State()->widget : nullptr;
        ModalStack::Enter(window, owner);
        CREATESTRUCT cs{};
        if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
            DestroyWindow();
            ModalStack::Leave(window);
            m_modal = false;
            return;
        }
        const BOOL focusFirst = static_cast<BOOL>(SendMessage(WM_INITDIALOG, 0, 0));
        if (!m_ended && m_hWnd) {
            WindowState* s = State();
            // TRUE from OnInitDialog asks for the first control's focus, unless OnInitDialog gave one of
            // its controls the focus itself.
            const bool focusKept = s && OwnFocusControl(*s);
            if (s && s->widget && s->widget->isHidden())
                ShowWindow(SW_SHOW);
            if (focusFirst && !focusKept)
                SetFocus();
        }
        ModalDialogHook hook;
        {
            std::lock_guard<std::mutex> lock(g_hookMutex);
            hook = g_modalHook;
        }
        if (hook && !m_ended && m_hWnd)
            hook(this);
        if (!m_ended && m_hWnd) {
            QEventLoop loop;
            m_loop = &loop;
            loop.exec();
            m_loop = nullptr;
        }
        ModalStack::Leave(window);
        result = m_result;
        if (m_hWnd)
            DestroyWindow();
        m_modal = false;
    });
    return result;
}

void CDialog::EndDialog(int result) {
    RunOnUi([&] {
        m_result = result;
        if (m_modal) {
            m_ended = true;
            if (WindowState* s = State())
                if (s->widget)
                    s->widget->hide();
            if (m_loop)
                m_loop->exit();
        } else {
            ShowWindow(SW_HIDE);
        }
    });
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (!pMsg || pMsg->message != WM_KEYDOWN)
        return FALSE;
    if (pMsg->wParam == VK_RETURN) {
        WindowState* focus = FindWindowState(pMsg->hwnd);
        if (focus && focus->kind == "EDITTEXT" && (focus->style & ES_MULTILINE) &&
            (focus->style & ES_WANTRETURN)) {
            // The dialog manager hands Enter to the edit that wants it, as a line break; no window above
            // (a parent's Enter filter) sees the key then.
            if (auto* edit = qobject_cast<QPlainTextEdit*>(focus->widget.data()); edit && !edit->isReadOnly())
                edit->insertPlainText(QStringLiteral("\n"));
            return TRUE;
        }
        UINT id = m_defId;
        HWND button = nullptr;
        if (focus && focus->parent == m_hWnd &&
            (focus->kind == "PUSHBUTTON" || focus->kind == "DEFPUSHBUTTON")) {
            id = static_cast<UINT>(focus->id);
            button = pMsg->hwnd;
        } else {
            GetDlgItem(static_cast<int>(id), &button);
        }
        if (button && !::IsWindow(button))
            return TRUE;
        if (CWnd* b = CWnd::FromHandle(button); b && !b->IsWindowEnabled())
            return TRUE;
        SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                    reinterpret_cast<LPARAM>(button));
        return TRUE;
    }
    if (IsArrowKey(pMsg->wParam)) {
        // The arrow keys go round a group of radio buttons: the focus moves first, then the button is
        // clicked, so that a handler of the click that moves the focus on has the last word.
        const WindowState* focus = FindWindowState(pMsg->hwnd);
        const WindowState* self = FindWindowState(m_hWnd);
        if (!focus || !self || focus->parent != m_hWnd || focus->kind != "RADIOBUTTON" || !focus->radioGroup)
            return FALSE;
        const HWND next = NextRadioOfGroup(*self, *focus, pMsg->wParam == VK_LEFT || pMsg->wParam == VK_UP);
        if (CWnd* button = next ? CWnd::FromHandle(next) : nullptr) {
            button->SetFocus();
            const WindowState* c = FindWindowState(next);
            auto* b = c ? qobject_cast<QAbstractButton*>(c->widget.data()) : nullptr;
            if (b && !b->isChecked())
                b->click();
        }
        return TRUE;
    }
    if (pMsg->wParam == VK_ESCAPE) {
        HWND button = nullptr;
        GetDlgItem(IDCANCEL, &button);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return TRUE;
    }
    return FALSE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_CLOSE:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    case WM_NEXTDLGCTL:
        if (lParam)
            GotoDlgCtrl(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        else if (wParam == 0)
            NextDlgCtrl();
        else
            PrevDlgCtrl();
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (!control)
        return;
    control->SetFocus();
    WithWindowDo(control->m_hWnd, [](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data()))
            e->selectAll();
    });
}

void CDialog::NextDlgCtrl() const {
    CWnd* next = GetNextDlgTabItem(CWnd::GetFocus(), FALSE);
    if (next)
        const_cast<CDialog*>(this)->GotoDlgCtrl(next);
}

void CDialog::PrevDlgCtrl() const {
    CWnd* previous = GetNextDlgTabItem(CWnd::GetFocus(), TRUE);
    if (previous)
        const_cast<CDialog*>(this)->GotoDlgCtrl(previous);
}

void CDialog::SetDefID(UINT id) {
    m_defId = id;
}

DWORD CDialog::GetDefID() const {
    return static_cast<DWORD>(MAKELRESULT(static_cast<WORD>(m_defId), 0x534B));
}
