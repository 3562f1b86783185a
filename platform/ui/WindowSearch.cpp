// Finding windows by class name and caption, as another program finds them.

#include "UiDefs.h"

#include "QtText.h"
#include "UiInternal.h"

#include <QWidget>
#include <algorithm>
#include <cwchar>
#include <vector>

using namespace kavrino;

namespace {

bool IsTopLevel(const WindowState& s) {
    return s.dialog && s.widget && s.widget->isWindow();
}

bool Matches(const WindowState& s, LPCTSTR className, LPCTSTR windowName) {
    if (className && ClassNameOf(s).compare(ToQString(className), Qt::CaseInsensitive) != 0)
        return false;
    return !windowName || WidgetText(s) == ToQString(windowName);
}

// The windows FindWindowEx searches under the parent (null: the top-level windows), in order.
std::vector<HWND> Candidates(HWND parent) {
    std::vector<HWND> found;
    if (!parent) {
        for (HWND h : WindowRegistry::Instance().Handles())
            if (WindowState* s = FindWindowState(h); s && IsTopLevel(*s))
                found.push_back(h);
        return found;
    }
    if (WindowState* p = FindWindowState(parent))
        for (HWND h : p->children)
            if (WindowState* s = FindWindowState(h); s && !IsTopLevel(*s))
                found.push_back(h);
    return found;
}

} // namespace

namespace kavrino {

QString ClassNameOf(const WindowState& s) {
    if (s.dialog)
        return QStringLiteral("#32770");
    const QString& k = s.kind;
    if (k == "PUSHBUTTON" || k == "DEFPUSHBUTTON" || k == "CHECKBOX" || k == "RADIOBUTTON" || k == "GROUPBOX")
        return QStringLiteral("Button");
    if (k == "EDITTEXT")
        return QStringLiteral("Edit");
    if (k == "LTEXT" || k == "CTEXT" || k == "RTEXT" || k == "PICTURE")
        return QStringLiteral("Static");
    if (k == "LISTBOX")
        return QStringLiteral("ListBox");
    if (k == "COMBOBOX")
        return QStringLiteral("ComboBox");
    if (k == "LISTCTRL")
        return QStringLiteral("SysListView32");
    if (k == "SLIDER")
        return QStringLiteral("msctls_trackbar32");
    if (k == "IPADDRESS")
        return QStringLiteral("SysIPAddress32");
    return k;
}

} // namespace kavrino

HWND FindWindow(LPCTSTR className, LPCTSTR windowName) {
    return FindWindowEx(nullptr, nullptr, className, windowName);
}

HWND FindWindowEx(HWND parent, HWND childAfter, LPCTSTR className, LPCTSTR windowName) {
    HWND result = nullptr;
    RunOnUi([&] {
        if (parent && !FindWindowState(parent))
            return;
        const std::vector<HWND> candidates = Candidates(parent);
        auto it = candidates.begin();
        if (childAfter) {
            it = std::find(candidates.begin(), candidates.end(), childAfter);
            if (it == candidates.end())
                return;
            ++it;
        }
        for (; it != candidates.end(); ++it) {
            WindowState* s = FindWindowState(*it);
            if (s && Matches(*s, className, windowName)) {
                result = *it;
                return;
            }
        }
    });
    return result;
}

int GetClassName(HWND hwnd, LPTSTR className, int maxCount) {
    if (!className || maxCount <= 0)
        return 0;
    const std::wstring name =
        WithWindow(hwnd, std::wstring(), [](WindowState& s) { return ClassNameOf(s).toStdWString(); });
    const int n = std::min(static_cast<int>(name.size()), maxCount - 1);
    std::wmemcpy(className, name.c_str(), static_cast<std::size_t>(n));
    className[n] = L'\0';
    return n;
}

int GetDlgCtrlID(HWND hwnd) {
    return WithWindow(hwnd, 0, [](WindowState& s) { return s.id; });
}

BOOL IsWindowVisible(HWND hwnd) {
    return WithWindow(hwnd, FALSE,
                      [](WindowState& s) { return s.widget && s.widget->isVisible() ? TRUE : FALSE; });
}
