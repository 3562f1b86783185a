// A dialog template file (res/dialogs/*.dlg, the format in res/dialogs/FORMAT.md). Any text is either
// refused with "line N: reason" or gives a template from which the window system builds the dialog with
// every control the template names; the dialog is initialised, shown when it is of a size a screen could
// hold, and destroyed again.

#include "DialogBuilder.h"
#include "DialogTemplate.h"
#include "FuzzSupport.h"
#include "Platform.h"

#include <QRegularExpression>

using namespace kavrino_fuzz;
using kavrino::DialogTemplate;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(size));
    DialogTemplate parsed;
    QString error;
    if (!DialogTemplate::Parse(text, parsed, &error)) {
        if (!QRegularExpression("^line \\d+: .+").match(error).hasMatch())
            Fail("a refused template gives no line and reason", error.toStdString());
        return 0;
    }

    CDialog dialog(static_cast<UINT>(parsed.id));
    if (!kavrino::BuildDialog(&dialog, parsed, nullptr))
        return 0;
    dialog.SendMessage(WM_INITDIALOG, 0, 0);
    for (const kavrino::ControlTemplate& control : parsed.controls) {
        if (control.id != -1 && !dialog.GetDlgItem(control.id))
            Fail("a control of the template is missing from the dialog", std::to_string(control.id));
    }
    if (parsed.width <= 4096 && parsed.height <= 4096)
        dialog.ShowWindow(SW_SHOW);
    dialog.DestroyWindow();
    Settle();
    return 0;
}
