#include "DialogTemplate.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QtGlobal>

#include <map>
#include <mutex>

// The templates and strings are compiled into this library from res/res.qrc; a static library's resources
// must be registered by a call that the linker can see.
extern int qInitResources_res();
static void InitResources() {
    qInitResources_res();
}

namespace kavrino {

namespace {

const QSet<QString>& DialogStyles() {
    static const QSet<QString> styles = {"CHILD",       "POPUP",      "CAPTION", "SYSMENU", "MINIMIZEBOX",
                                         "MAXIMIZEBOX", "THICKFRAME", "HSCROLL", "VSCROLL"};
    return styles;
}

const QSet<QString>& ControlKinds() {
    static const QSet<QString> kinds = {
        "PUSHBUTTON", "DEFPUSHBUTTON", "CHECKBOX", "RADIOBUTTON", "GROUPBOX", "LTEXT",    "CTEXT",    "RTEXT",
        "PICTURE",    "EDITTEXT",      "LISTBOX",  "COMBOBOX",    "SLIDER",   "LISTCTRL", "IPADDRESS"};
    return kinds;
}

// Every plain control style the format knows, whatever the kind; BITMAP= and ICON= take a value.
const QSet<QString>& ControlStyles() {
    static const QSet<QString> styles = {
        "OWNERDRAW",         "PUSHLIKE",   "GROUP",  "NOTIFY",  "MULTILINE", "WANTRETURN",   "PASSWORD",
        "READONLY",          "NUMBER",     "CENTER", "VSCROLL", "SORT",      "DROPDOWNLIST", "OWNERDRAWFIXED",
        "OWNERDRAWVARIABLE", "HASSTRINGS", "REPORT", "BORDER",  "DISABLED",  "HIDDEN",       "TABSTOP"};
    return styles;
}

// Splits one line into tokens: bare words, and quoted texts with \" \\ \n \t escapes. A quoted token is
// marked so that the caller can tell "123" from 123.
struct Token {
    QString text;
    bool quoted = false;
};

bool Tokenize(const QString& line, std::vector<Token>& tokens, QString& reason) {
    tokens.clear();
    int i = 0;
    const int n = line.size();
    while (i < n) {
        const QChar c = line[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token token;
        if (c == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    token.text += d;
                    continue;
                }
                if (i >= n) {
                    break;
                }
                const QChar e = line[i++];
                if (e == '"' || e == '\\') {
                    token.text += e;
                } else if (e == 'n') {
                    token.text += '\n';
                } else if (e == 't') {
                    token.text += '\t';
                } else {
                    reason = QString("unknown escape \\%1").arg(e);
                    return false;
                }
            }
            if (!closed) {
                reason = "unterminated text";
                return false;
            }
            if (i < n && !line[i].isSpace()) {
                reason = "missing blank after a text";
                return false;
            }
        } else {
            while (i < n && !line[i].isSpace()) {
                if (line[i] == '"') {
                    reason = "quote inside a word";
                    return false;
                }
                token.text += line[i++];
            }
        }
        tokens.push_back(token);
    }
    return true;
}

bool ToInt(const Token& token, int& value) {
    if (token.quoted) {
        return false;
    }
    bool ok = false;
    value = token.text.toInt(&ok, 10);
    return ok;
}

bool ParseDialogLine(const std::vector<Token>& t, DialogTemplate& dlg, QString& reason) {
    if (t.size() < 5) {
        reason = "DIALOG needs an id, a caption, a width and a height";
        return false;
    }
    if (!ToInt(t[1], dlg.id) || dlg.id <= 0) {
        reason = QString("bad dialog id '%1'").arg(t[1].text);
        return false;
    }
    if (!t[2].quoted) {
        reason = "the caption must be a quoted text";
        return false;
    }
    dlg.caption = CString(t[2].text.toStdWString());
    if (!ToInt(t[3], dlg.width) || dlg.width <= 0 || !ToInt(t[4], dlg.height) || dlg.height <= 0) {
        reason = QString("bad dialog size '%1 %2'").arg(t[3].text, t[4].text);
        return false;
    }
    for (std::size_t k = 5; k < t.size(); ++k) {
        if (t[k].quoted || !DialogStyles().contains(t[k].text)) {
            reason = QString("unknown dialog style '%1'").arg(t[k].text);
            return false;
        }
        if (!dlg.styles.contains(t[k].text)) {
            dlg.styles << t[k].text;
        }
    }
    return true;
}

bool ParseStyle(const Token& token, QString& reason) {
    if (token.quoted) {
        reason = QString("unexpected text \"%1\" among the styles").arg(token.text);
        return false;
    }
    const int eq = token.text.indexOf('=');
    if (eq < 0) {
        if (!ControlStyles().contains(token.text)) {
            reason = QString("unknown style '%1'").arg(token.text);
            return false;
        }
        return true;
    }
    const QString name = token.text.left(eq);
    bool ok = false;
    const int value = token.text.mid(eq + 1).toInt(&ok, 10);
    if ((name != "BITMAP" && name != "ICON") || !ok || value < 0) {
        reason = QString("bad style '%1'").arg(token.text);
        return false;
    }
    return true;
}

bool ParseControlLine(const std::vector<Token>& t, ControlTemplate& ctl, QString& reason) {
    if (t[0].quoted || !ControlKinds().contains(t[0].text)) {
        reason = QString("unknown control kind '%1'").arg(t[0].text);
        return false;
    }
    ctl.kind = t[0].text;
    if (t.size() < 7) {
        reason = QString("%1 needs an id, a text and a rectangle").arg(ctl.kind);
        return false;
    }
    if (!ToInt(t[1], ctl.id) || ctl.id < -1 || ctl.id > 0xFFFF) {
        reason = QString("bad control id '%1'").arg(t[1].text);
        return false;
    }
    if (!t[2].quoted) {
        reason = "the control text must be a quoted text";
        return false;
    }
    ctl.text = CString(t[2].text.toStdWString());
    int r[4];
    for (int k = 0; k < 4; ++k) {
        if (!ToInt(t[3 + k], r[k])) {
            reason = QString("bad rectangle value '%1'").arg(t[3 + k].text);
            return false;
        }
    }
    if (r[0] < 0 || r[1] < 0 || r[2] < 0 || r[3] < 0) {
        reason = "negative rectangle value";
        return false;
    }
    ctl.rect = QRect(r[0], r[1], r[2], r[3]);
    for (std::size_t k = 7; k < t.size(); ++k) {
        if (!ParseStyle(t[k], reason)) {
            return false;
        }
        if (!ctl.styles.contains(t[k].text)) {
            ctl.styles << t[k].text;
        }
    }
    return true;
}

// a * b / c rounded to the nearest integer, halves away from zero (the platform's MulDiv).
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

int DialogUnitsToPixelsX(int units) {
    return MulDiv(units, kDialogBaseUnitX, 4);
}

int DialogUnitsToPixelsY(int units) {
    return MulDiv(units, kDialogBaseUnitY, 8);
}

QRect DialogUnitsToPixels(const QRect& units) {
    return QRect(DialogUnitsToPixelsX(units.x()), DialogUnitsToPixelsY(units.y()),
                 DialogUnitsToPixelsX(units.width()), DialogUnitsToPixelsY(units.height()));
}

QSize DialogUnitsToPixels(const QSize& units) {
    return QSize(DialogUnitsToPixelsX(units.width()), DialogUnitsToPixelsY(units.height()));
}

QString ControlTemplate::Value(const QString& name) const {
    const QString prefix = name + '=';
    for (const QString& style : styles) {
        if (style.startsWith(prefix)) {
            return style.mid(prefix.size());
        }
    }
    return QString();
}

const ControlTemplate* DialogTemplate::Control(int controlId) const {
    if (controlId == -1) {
        return nullptr;
    }
    for (const ControlTemplate& ctl : controls) {
        if (ctl.id == controlId) {
            return &ctl;
        }
    }
    return nullptr;
}

bool DialogTemplate::Parse(const QString& text, DialogTemplate& out, QString* error) {
    DialogTemplate dlg;
    bool haveDialog = false;
    QSet<int> ids;
    QString reason;
    int lineNo = 0;
    const QStringList lines = text.split('\n');
    for (QString line : lines) {
        ++lineNo;
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#')) {
            continue;
        }
        std::vector<Token> tokens;
        bool ok = Tokenize(trimmed, tokens, reason);
        if (ok && !tokens.empty() && !tokens[0].quoted && tokens[0].text == "DIALOG") {
            if (haveDialog) {
                reason = "a second DIALOG line";
                ok = false;
            } else {
                ok = ParseDialogLine(tokens, dlg, reason);
                haveDialog = true;
            }
        } else if (ok && !haveDialog) {
            reason = "the first line must be the DIALOG line";
            ok = false;
        } else if (ok) {
            ControlTemplate ctl;
            ok = ParseControlLine(tokens, ctl, reason);
            if (ok && ctl.id != -1 && ids.contains(ctl.id)) {
                reason = QString("control id %1 used twice").arg(ctl.id);
                ok = false;
            }
            if (ok) {
                ids.insert(ctl.id);
                dlg.controls.push_back(std::move(ctl));
            }
        }
        if (!ok) {
            if (error) {
                *error = QString("line %1: %2").arg(lineNo).arg(reason);
            }
            return false;
        }
    }
    if (!haveDialog) {
        if (error) {
            *error = QString("line %1: no DIALOG line").arg(lineNo);
        }
        return false;
    }
    out = std::move(dlg);
    return true;
}

namespace {

QString ReadResourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

const std::map<int, DialogTemplate>& Templates() {
    // Parsed once, on first use; a function-local static is initialised thread-safely.
    static const std::map<int, DialogTemplate> templates = [] {
        RegisterResources();
        std::map<int, DialogTemplate> all;
        const QDir dir(":/res/dialogs");
        const QStringList files = dir.entryList({"*.dlg"}, QDir::Files, QDir::Name);
        for (const QString& name : files) {
            DialogTemplate dlg;
            QString error;
            if (!DialogTemplate::Parse(ReadResourceText(dir.filePath(name)), dlg, &error)) {
                qWarning("dialog template %s: %s", qPrintable(name), qPrintable(error));
                continue;
            }
            if (all.count(dlg.id)) {
                qWarning("dialog template %s: id %d is already used", qPrintable(name), dlg.id);
                continue;
            }
            const int id = dlg.id;
            all.emplace(id, std::move(dlg));
        }
        return all;
    }();
    return templates;
}

const std::map<unsigned, CString>& Strings() {
    static const std::map<unsigned, CString> strings = [] {
        RegisterResources();
        std::map<unsigned, CString> all;
        const QStringList lines = ReadResourceText(":/res/strings.txt").split('\n');
        for (QString line : lines) {
            if (line.endsWith('\r')) {
                line.chop(1);
            }
            if (line.trimmed().isEmpty() || line.trimmed().startsWith('#')) {
                continue;
            }
            const int blank = line.indexOf(' ');
            bool ok = false;
            const unsigned id = line.left(blank).toUInt(&ok, 10);
            if (blank <= 0 || !ok) {
                qWarning("strings.txt: bad line '%s'", qPrintable(line));
                continue;
            }
            QString text;
            const QString raw = line.mid(blank + 1);
            for (int i = 0; i < raw.size(); ++i) {
                if (raw[i] == '\\' && i + 1 < raw.size()) {
                    const QChar e = raw[++i];
                    text += e == 'n' ? QChar('\n') : e == 't' ? QChar('\t') : e;
                } else {
                    text += raw[i];
                }
            }
            all[id] = CString(text.toStdWString());
        }
        return all;
    }();
    return strings;
}

} // namespace

const DialogTemplate* DialogTemplate::Find(int templateId) {
    const auto& all = Templates();
    const auto it = all.find(templateId);
    return it == all.end() ? nullptr : &it->second;
}

std::vector<int> DialogTemplate::Ids() {
    std::vector<int> ids;
    for (const auto& entry : Templates()) {
        ids.push_back(entry.first);
    }
    return ids;
}

void RegisterResources() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!QDir(":/res").exists())
            InitResources();
    });
}

CString LoadResourceString(unsigned id) {
    const auto& all = Strings();
    const auto it = all.find(id);
    return it == all.end() ? CString() : it->second;
}

} // namespace kavrino
