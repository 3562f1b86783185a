#include "DialogBuilder.h"

#include "CButton.h"
#include "CComboBox.h"
#include "CEdit.h"
#include "CFont.h"
#include "CIPAddressCtrl.h"
#include "CListBox.h"
#include "CListCtrl.h"
#include "CSliderCtrl.h"
#include "CStatic.h"
#include "ClientWidget.h"
#include "ControlFilter.h"
#include "FrameWidget.h"
#include "GroupFrame.h"
#include "ListCellStyle.h"
#include "OwnerDrawButton.h"
#include "OwnerDrawCombo.h"
#include "PictureWidget.h"
#include "QtText.h"
#include "UiInternal.h"
#include "WholeRectButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSlider>
#include <QTableWidget>

namespace kavrino {

namespace {

struct Made {
    QWidget* widget = nullptr;
    QWidget* client = nullptr;
    std::unique_ptr<CWnd> own;
};

DWORD DialogStyle(const DialogTemplate& t) {
    DWORD style = t.Has("CHILD") ? WS_CHILD : WS_POPUP;
    if (t.Has("CAPTION"))
        style |= WS_CAPTION;
    if (t.Has("SYSMENU"))
        style |= WS_SYSMENU;
    if (t.Has("THICKFRAME"))
        style |= WS_THICKFRAME;
    if (t.Has("MINIMIZEBOX"))
        style |= WS_MINIMIZEBOX;
    if (t.Has("MAXIMIZEBOX"))
        style |= WS_MAXIMIZEBOX;
    if (t.Has("HSCROLL"))
        style |= WS_HSCROLL;
    if (t.Has("VSCROLL"))
        style |= WS_VSCROLL;
    return style;
}

QPixmap ResourcePixmap(const QString& kind, const QString& id) {
    kavrino::RegisterResources();
    QPixmap p(QString(":/res/%1%2.xpm").arg(kind, id));
    return p;
}

// In a group of radio buttons the checked one is the group's tab stop: Tab enters the group at the choice
// made and leaves it with the next key, the arrow keys move within it. A group with nothing checked keeps
// every button a stop, so that it can still be reached.
void KeepRadioTabStop(QButtonGroup* group) {
    const QAbstractButton* checked = group->checkedButton();
    for (QAbstractButton* b : group->buttons())
        b->setFocusPolicy(!checked || b == checked ? Qt::StrongFocus : Qt::ClickFocus);
}

Made MakeControl(const ControlTemplate& c, QWidget* parent, HWND hwnd) {
    Made m;
    const QString text = ToQString(c.text);
    const QString& k = c.kind;
    if (k == "PUSHBUTTON" || k == "DEFPUSHBUTTON") {
        QPushButton* b;
        if (c.Has("OWNERDRAW")) {
            auto* od = new OwnerDrawButton(parent);
            od->SetHandle(hwnd);
            b = od;
        } else {
            b = new QPushButton(parent);
        }
        b->setAutoDefault(false);
        b->setText(text);
        m.widget = b;
        m.own = std::make_unique<CButton>();
    } else if (k == "CHECKBOX") {
        QAbstractButton* b;
        if (c.Has("PUSHLIKE")) {
            auto* p = new QPushButton(parent);
            p->setCheckable(true);
            p->setAutoDefault(false);
            b = p;
        } else {
            b = new WholeRectButton<QCheckBox>(parent);
        }
        b->setText(text);
        m.widget = b;
        m.own = std::make_unique<CButton>();
    } else if (k == "RADIOBUTTON") {
        auto* r = new WholeRectButton<QRadioButton>(text, parent);
        r->setAutoExclusive(false);
        m.widget = r;
        m.own = std::make_unique<CButton>();
    } else if (k == "GROUPBOX") {
        m.widget = new GroupFrame(text, parent);
        m.own = std::make_unique<CButton>();
    } else if (k == "LTEXT" || k == "CTEXT" || k == "RTEXT") {
        auto* l = new QLabel(text, parent);
        l->setWordWrap(true);
        l->setTextFormat(Qt::PlainText);
        Qt::Alignment a = k == "CTEXT" ? Qt::AlignHCenter : k == "RTEXT" ? Qt::AlignRight : Qt::AlignLeft;
        l->setAlignment(a | Qt::AlignTop);
        m.widget = l;
        m.own = std::make_unique<CStatic>();
    } else if (k == "PICTURE") {
        const QString bitmap = c.Value("BITMAP");
        const QString icon = c.Value("ICON");
        auto* p = new PictureWidget(parent, bitmap.isEmpty() && icon.isEmpty());
        if (!bitmap.isEmpty())
            p->SetPicture(ResourcePixmap("bitmap", bitmap));
        else if (!icon.isEmpty())
            p->SetPicture(ResourcePixmap("icon", icon));
        m.widget = p;
        m.client = p;
        m.own = std::make_unique<CStatic>();
    } else if (k == "EDITTEXT") {
        if (c.Has("MULTILINE")) {
            auto* e = new QPlainTextEdit(parent);
            e->setPlainText(text);
            e->setReadOnly(c.Has("READONLY"));
            e->setTabChangesFocus(true);
            e->setVerticalScrollBarPolicy(c.Has("VSCROLL") ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
            m.widget = e;
        } else {
            auto* e = new QLineEdit(text, parent);
            if (c.Has("PASSWORD"))
                e->setEchoMode(QLineEdit::Password);
            e->setReadOnly(c.Has("READONLY"));
            if (c.Has("NUMBER"))
                e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
            if (c.Has("CENTER"))
                e->setAlignment(Qt::AlignCenter);
            m.widget = e;
        }
        m.own = std::make_unique<CEdit>();
    } else if (k == "LISTBOX") {
        auto* l = new QListWidget(parent);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        l->setUniformItemSizes(true);
        m.widget = l;
        m.client = l->viewport();
        m.own = std::make_unique<CListBox>();
    } else if (k == "COMBOBOX") {
        QComboBox* cb;
        if (c.Has("DROPDOWNLIST") && (c.Has("OWNERDRAWFIXED") || c.Has("OWNERDRAWVARIABLE"))) {
            auto* od = new OwnerDrawCombo(parent);
            od->SetHandle(hwnd);
            cb = od;
        } else {
            cb = new QComboBox(parent);
        }
        cb->setEditable(!c.Has("DROPDOWNLIST"));
        m.widget = cb;
        m.own = std::make_unique<CComboBox>();
    } else if (k == "SLIDER") {
        const QRect r = DialogUnitsToPixels(c.rect);
        auto* s = new QSlider(r.height() > r.width() ? Qt::Vertical : Qt::Horizontal, parent);
        s->setRange(0, 100);
        m.widget = s;
        m.own = std::make_unique<CSliderCtrl>();
    } else if (k == "LISTCTRL") {
        auto* t = new QTableWidget(parent);
        t->verticalHeader()->hide();
        t->setShowGrid(false);
        // A list control shows every cell on one line; what does not fit is cut with an ellipsis.
        t->setWordWrap(false);
        t->setStyle(new ListCellStyle(t));
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Tab leaves a list control for the next control; it does not walk (and select) its cells.
        t->setTabKeyNavigation(false);
        t->setSelectionBehavior(QAbstractItemView::SelectItems);
        t->setSelectionMode(QAbstractItemView::ExtendedSelection);
        t->horizontalHeader()->setHighlightSections(false);
        m.widget = t;
        m.client = t->viewport();
        m.own = std::make_unique<CListCtrl>();
    } else if (k == "IPADDRESS") {
        auto* e = new QLineEdit(parent);
        e->setInputMask("000.000.000.000;_");
        m.widget = e;
        m.own = std::make_unique<CIPAddressCtrl>();
    } else {
        m.widget = new QLabel(text, parent);
        m.own = std::make_unique<CStatic>();
    }
    if (!m.client)
        m.client = m.widget;
    return m;
}

void ConnectNotifications(const ControlTemplate& c, QWidget* w, HWND hwnd) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        QObject::connect(b, &QAbstractButton::clicked, b, [hwnd] { NotifyParent(hwnd, BN_CLICKED); });
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (c.kind == "IPADDRESS") {
            QObject::connect(e, &QLineEdit::textEdited, e, [hwnd, e] {
                NMIPADDRESS nm{};
                const int cursor = e->cursorPosition();
                nm.iField = std::min(3, cursor / 4);
                nm.iValue = e->text().split('.').value(nm.iField).trimmed().toInt();
                NotifyParent(hwnd, IPN_FIELDCHANGED, &nm.hdr);
            });
        } else {
            QObject::connect(e, &QLineEdit::textChanged, e, [hwnd] {
                NotifyParent(hwnd, EN_UPDATE);
                NotifyParent(hwnd, EN_CHANGE);
            });
        }
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        QObject::connect(pe, &QPlainTextEdit::textChanged, pe, [hwnd] {
            NotifyParent(hwnd, EN_UPDATE);
            NotifyParent(hwnd, EN_CHANGE);
        });
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        if (c.Has("NOTIFY")) {
            QObject::connect(l, &QListWidget::currentRowChanged, l, [hwnd] {
                if (!QuietScope::Active())
                    NotifyParent(hwnd, LBN_SELCHANGE);
            });
            QObject::connect(l, &QListWidget::itemDoubleClicked, l,
                             [hwnd] { NotifyParent(hwnd, LBN_DBLCLK); });
        }
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
        QObject::connect(cb, QOverload<int>::of(&QComboBox::activated), cb,
                         [hwnd] { NotifyParent(hwnd, CBN_SELCHANGE); });
    }
}

} // namespace

DWORD ControlStyle(const ControlTemplate& c) {
    DWORD style = WS_CHILD;
    if (!c.Has("HIDDEN"))
        style |= WS_VISIBLE;
    if (c.Has("DISABLED"))
        style |= WS_DISABLED;
    if (c.Has("TABSTOP"))
        style |= WS_TABSTOP;
    if (c.Has("BORDER"))
        style |= WS_BORDER;
    if (c.Has("GROUP"))
        style |= WS_GROUP;
    if (c.Has("VSCROLL"))
        style |= WS_VSCROLL;
    const QString& k = c.kind;
    if (k == "PUSHBUTTON")
        style |= c.Has("OWNERDRAW") ? BS_OWNERDRAW : BS_PUSHBUTTON;
    else if (k == "DEFPUSHBUTTON")
        style |= c.Has("OWNERDRAW") ? BS_OWNERDRAW : BS_DEFPUSHBUTTON;
    else if (k == "CHECKBOX")
        style |= BS_AUTOCHECKBOX | (c.Has("PUSHLIKE") ? BS_PUSHLIKE : 0);
    else if (k == "RADIOBUTTON")
        style |= BS_AUTORADIOBUTTON;
    else if (k == "GROUPBOX")
        style |= BS_GROUPBOX;
    else if (k == "CTEXT")
        style |= SS_CENTER;
    else if (k == "RTEXT")
        style |= SS_RIGHT;
    else if (k == "PICTURE") {
        style |= !c.Value("BITMAP").isEmpty() ? SS_BITMAP
                 : !c.Value("ICON").isEmpty() ? SS_ICON
                                              : SS_BLACKFRAME;
        if (c.Has("NOTIFY"))
            style |= SS_NOTIFY;
    } else if (k == "EDITTEXT") {
        if (c.Has("MULTILINE"))
            style |= ES_MULTILINE | ES_AUTOVSCROLL;
        else
            style |= ES_AUTOHSCROLL;
        if (c.Has("WANTRETURN"))
            style |= ES_WANTRETURN;
        if (c.Has("PASSWORD"))
            style |= ES_PASSWORD;
        if (c.Has("READONLY"))
            style |= ES_READONLY;
        if (c.Has("NUMBER"))
            style |= ES_NUMBER;
        if (c.Has("CENTER"))
            style |= ES_CENTER;
    } else if (k == "LISTBOX") {
        if (c.Has("NOTIFY"))
            style |= LBS_NOTIFY;
        if (c.Has("SORT"))
            style |= LBS_SORT;
    } else if (k == "COMBOBOX") {
        style |= c.Has("DROPDOWNLIST") ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
        if (c.Has("OWNERDRAWFIXED"))
            style |= CBS_OWNERDRAWFIXED;
        if (c.Has("OWNERDRAWVARIABLE"))
            style |= CBS_OWNERDRAWVARIABLE;
        if (c.Has("HASSTRINGS"))
            style |= CBS_HASSTRINGS;
    } else if (k == "LISTCTRL") {
        if (c.Has("REPORT"))
            style |= LVS_REPORT;
    }
    return style;
}

HWND BuildDialog(CWnd* dialog, const DialogTemplate& t, CWnd* parent) {
    WindowState* parentState = parent && parent != CWnd::GetDesktopWindow() ? parent->State() : nullptr;
    const bool child = t.Has("CHILD") && parentState && parentState->client;
    const DWORD style = DialogStyle(t);
    const QSize size = t.PixelSize();

    auto state = std::make_unique<WindowState>();
    state->wnd = dialog;
    state->dialog = true;
    state->style = style;
    state->parent = parentState ? parentState->hwnd : nullptr;
    ClientWidget* client = nullptr;
    QWidget* outer = nullptr;
    FrameWidget* frame = nullptr;
    if (child) {
        client = new ClientWidget(parentState->client);
        outer = client;
        client->setGeometry(QRect(QPoint(0, 0), size));
    } else if (style & (WS_HSCROLL | WS_VSCROLL)) {
        frame = new FrameWidget(style & WS_HSCROLL, style & WS_VSCROLL);
        client = frame->Client();
        outer = frame;
        state->bars[0] = frame->Bar(0);
        state->bars[1] = frame->Bar(1);
    } else {
        client = new ClientWidget(nullptr);
        outer = client;
    }
    client->setMinimumSize(0, 0);
    // The controls take the dialog font from their dialog.
    client->setFont(DialogFont());
    if (!child) {
        outer->setWindowTitle(ToQString(t.caption));
        if (!(style & WS_THICKFRAME) && !frame)
            client->setFixedSize(size);
    }
    outer->hide();
    state->widget = outer;
    state->client = client;
    HWND hwnd = WindowRegistry::Instance().Add(std::move(state));
    WindowState* s = FindWindowState(hwnd);
    WindowRegistry::Tag(outer, hwnd);
    WindowRegistry::Tag(client, hwnd);
    client->SetHandle(hwnd);
    if (frame) {
        frame->SetHandle(hwnd);
        // Bars without a range are disabled until the window sets them.
        for (QScrollBar* bar : {frame->Bar(0), frame->Bar(1)})
            if (bar) {
                bar->setRange(0, 0);
                bar->setEnabled(false);
            }
    }
    dialog->m_hWnd = hwnd;
    if (parentState)
        parentState->children.push_back(hwnd);

    QButtonGroup* group = nullptr;
    HWND groupFirst = nullptr;
    bool previousRadio = false;
    std::vector<QWidget*> frames;
    for (const ControlTemplate& c : t.controls) {
        auto cs = std::make_unique<WindowState>();
        HWND ch = WindowRegistry::Instance().Add(std::move(cs));
        WindowState* controlState = FindWindowState(ch);
        Made m = MakeControl(c, client, ch);
        controlState->own = std::move(m.own);
        controlState->own->m_hWnd = ch;
        controlState->wnd = controlState->own.get();
        controlState->widget = m.widget;
        controlState->client = m.client;
        controlState->parent = hwnd;
        controlState->id = c.id;
        controlState->kind = c.kind;
        controlState->style = ControlStyle(c);
        s->children.push_back(ch);
        WindowRegistry::Tag(m.widget, ch);
        if (m.client != m.widget)
            WindowRegistry::Tag(m.client, ch);

        QRect r = DialogUnitsToPixels(c.rect);
        // A combo box's rectangle includes its drop-down list; the closed field is as high as the font needs.
        if (c.kind == "COMBOBOX")
            r.setHeight(std::min(r.height(), m.widget->sizeHint().height()));
        m.widget->setGeometry(r);
        if (c.Has("HIDDEN"))
            m.widget->setVisible(false);
        if (c.Has("DISABLED"))
            m.widget->setEnabled(false);
        if (c.kind == "GROUPBOX")
            frames.push_back(m.widget);

        if (c.kind == "RADIOBUTTON") {
            if (!group || c.Has("GROUP") || !previousRadio) {
                group = new QButtonGroup(client);
                group->setExclusive(true);
                QObject::connect(group, QOverload<QAbstractButton*, bool>::of(&QButtonGroup::buttonToggled),
                                 group, [group](QAbstractButton*, bool) { KeepRadioTabStop(group); });
                groupFirst = ch;
            }
            group->addButton(static_cast<QAbstractButton*>(m.widget));
            controlState->radioGroup = groupFirst;
            previousRadio = true;
        } else {
            previousRadio = false;
        }
        ConnectNotifications(c, m.widget, ch);
        ControlFilter::Install(m.widget, m.client);
    }
    // Group boxes frame other controls: keep them beneath.
    for (QWidget* f : frames)
        f->lower();
    if (!child) {
        QSize outerSize = size;
        if (frame) {
            if (frame->Bar(1))
                outerSize.rwidth() += frame->Bar(1)->sizeHint().width();
            if (frame->Bar(0))
                outerSize.rheight() += frame->Bar(0)->sizeHint().height();
        }
        outer->resize(outerSize);
    }
    return hwnd;
}

} // namespace kavrino
