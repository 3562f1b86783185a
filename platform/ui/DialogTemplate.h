#pragma once
// A dialog template: the window's caption, size and styles and its controls, read from the template files
// compiled into the program (res/dialogs/*.dlg, format in res/dialogs/FORMAT.md).

#include "CString.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace kavrino {

struct ControlTemplate {
    QString kind; // PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX, RADIOBUTTON, GROUPBOX, LTEXT, ... (upper case)
    int id = -1;  // -1: a static control nobody addresses
    CString text;
    QRect rect;         // pixels in the dialog's client area
    QStringList styles; // upper case, e.g. "MULTILINE", "BITMAP=152"

    bool Has(const QString& style) const { return styles.contains(style); }
    // The value of a style of the form NAME=value, or an empty string.
    QString Value(const QString& name) const;
};

struct DialogTemplate {
    int id = 0;
    CString caption;
    int width = 0;
    int height = 0;
    // CHILD, POPUP, CAPTION, SYSMENU, MINIMIZEBOX, MAXIMIZEBOX, THICKFRAME, HSCROLL, VSCROLL
    QStringList styles;
    std::vector<ControlTemplate> controls;

    bool Has(const QString& style) const { return styles.contains(style); }
    const ControlTemplate* Control(int controlId) const;

    // Parses one template file's text; false with a reason (line number and what is wrong) on bad input.
    static bool Parse(const QString& text, DialogTemplate& out, QString* error = nullptr);
    // The template with this id among the compiled-in ones, or null.
    static const DialogTemplate* Find(int templateId);
    // Every compiled-in template id, in increasing order.
    static std::vector<int> Ids();
};

// The string table (res/strings.txt): the string with this id, or an empty string.
CString LoadResourceString(unsigned id);

// Registers the compiled-in templates, strings and pictures (res/res.qrc) once; everything that reads
// them calls it first.
void RegisterResources();

} // namespace kavrino
