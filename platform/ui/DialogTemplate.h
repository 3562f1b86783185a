#pragma once
// A dialog template: the window's caption, size and styles and its controls, read from the template files
// compiled into the program (res/dialogs/*.dlg, format in res/dialogs/FORMAT.md).

#include "CString.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace kavrino {

// A template's coordinates are dialog units of the dialog font, "MS Shell Dlg" 8 at 96 dots per inch: a
// horizontal unit is a quarter of the font's average character width, a vertical unit an eighth of its
// height. These are the font's base units in pixels.
constexpr int kDialogBaseUnitX = 6;
constexpr int kDialogBaseUnitY = 13;

// Dialog units to pixels. Each value (x, y, width, height) is scaled on its own and rounded to the nearest
// pixel, halves away from zero, as the dialog manager does when it creates a template's window and controls.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
QRect DialogUnitsToPixels(const QRect& units);
QSize DialogUnitsToPixels(const QSize& units);

struct ControlTemplate {
    QString kind; // PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX, RADIOBUTTON, GROUPBOX, LTEXT, ... (upper case)
    int id = -1;  // -1: a static control nobody addresses
    CString text;
    QRect rect;         // dialog units in the dialog's client area
    QStringList styles; // upper case, e.g. "MULTILINE", "BITMAP=152"

    bool Has(const QString& style) const { return styles.contains(style); }
    // The value of a style of the form NAME=value, or an empty string.
    QString Value(const QString& name) const;
};

struct DialogTemplate {
    int id = 0;
    CString caption;
    int width = 0; // dialog units, as the controls' rectangles
    int height = 0;
    // CHILD, POPUP, CAPTION, SYSMENU, MINIMIZEBOX, MAXIMIZEBOX, THICKFRAME, HSCROLL, VSCROLL
    QStringList styles;
    std::vector<ControlTemplate> controls;

    bool Has(const QString& style) const { return styles.contains(style); }
    const ControlTemplate* Control(int controlId) const;
    // The client area's size in pixels.
    QSize PixelSize() const { return DialogUnitsToPixels(QSize(width, height)); }

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
