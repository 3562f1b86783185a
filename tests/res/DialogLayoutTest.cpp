// The dialogs as they appear: template coordinates are dialog units that the window system turns into
// pixels with the dialog font's base units (6 x 13 pixels), the six pages whose layout is fixed down to the
// control keep it, and every control's text fits its rectangle in the font actually drawn. Writes a picture
// of every window and page to <build>/screenshots for review.
#include "CFont.h"
#include "GroupFrame.h"
#include "Platform.h"
#include "TestHooks.h"
#include "WindowRegistry.h"
#include "WindowState.h"

#include <QDir>
#include <QFile>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QFontMetrics>

#include <map>
#include <set>

using kavrino::ControlTemplate;
using kavrino::DialogTemplate;
using kavrino::WindowState;

namespace {

QString Q(const CString& s) {
    return QString::fromStdWString(s.str());
}

// Dialog units to pixels as the platform's MulDiv rounds (halves away from zero), written out here so that
// the expected pixels do not come from the code under test.
int PixelsX(int units) {
    return (units * 6 + 2) / 4;
}
int PixelsY(int units) {
    return (units * 13 + 4) / 8;
}

TEST(DialogUnits, BaseUnitsAndRounding) {
    EXPECT_EQ(kavrino::DialogUnitsToPixelsX(4), 6);
    EXPECT_EQ(kavrino::DialogUnitsToPixelsY(8), 13);
    // Halves round up: 7 * 1.5 = 10.5, 27 * 1.625 = 43.875, 20 * 1.625 = 32.5.
    EXPECT_EQ(kavrino::DialogUnitsToPixelsX(7), 11);
    EXPECT_EQ(kavrino::DialogUnitsToPixelsY(27), 44);
    EXPECT_EQ(kavrino::DialogUnitsToPixelsY(20), 33);
    EXPECT_EQ(kavrino::DialogUnitsToPixelsY(3), 5); // 4.875
    EXPECT_EQ(kavrino::DialogUnitsToPixelsY(1), 2); // 1.625
    EXPECT_EQ(kavrino::DialogUnitsToPixelsX(0), 0);
    // x, y, width and height each on their own: 7 + 65 units are 11 + 98 pixels (108 is 72 units).
    EXPECT_EQ(kavrino::DialogUnitsToPixels(QRect(7, 7, 65, 24)), QRect(11, 11, 98, 39));
    EXPECT_EQ(kavrino::DialogUnitsToPixels(QSize(705, 250)), QSize(1058, 406));
    for (int v = 0; v < 1000; ++v) {
        ASSERT_EQ(kavrino::DialogUnitsToPixelsX(v), PixelsX(v)) << v;
        ASSERT_EQ(kavrino::DialogUnitsToPixelsY(v), PixelsY(v)) << v;
    }
}

// One control of a page whose layout is given control by control: kind, id, text, styles (null: not
// given, as for the method panel that those pages share) and the rectangle in dialog units, in template
// (tab) order.
struct TabledControl {
    const char* kind;
    int id;
    const char* text;
    const char* styles;
    int x, y, width, height;
};

struct TabledPage {
    int id;
    int width, height;
    std::vector<TabledControl> controls;
};

// The method panel where the page takes it as the exposure page has it.
const std::vector<TabledControl> kMethodPanel = {
    {"GROUPBOX", -1, "검사 방법", "", 268, 7, 430, 236},
    {"EDITTEXT", 1078, "", nullptr, 274, 38, 188, 205},
    {"PICTURE", 1079, "", nullptr, 465, 34, 231, 208},
    {"PUSHBUTTON", 1080, "검사 방법 변경", nullptr, 274, 16, 86, 19},
    {"PUSHBUTTON", 1081, "이미지 변경", nullptr, 364, 16, 96, 19},
    {"LTEXT", -1, "※ 더블 클릭 시 원본 이미지를 볼 수 있습니다.", "", 499, 21, 164, 8},
};

std::vector<TabledControl> WithMethodPanel(std::vector<TabledControl> controls) {
    controls.insert(controls.end(), kMethodPanel.begin(), kMethodPanel.end());
    return controls;
}

const std::vector<TabledPage>& TabledPages() {
    static const std::vector<TabledPage> pages = {
        {145, 705, 250,
         {
             {"DEFPUSHBUTTON", 1, "PASS", "", 46, 186, 82, 38},
             {"PUSHBUTTON", 2, "FAIL", "", 145, 186, 82, 38},
             {"GROUPBOX", -1, "익스포즈 타임", "", 6, 43, 257, 104},
             {"PUSHBUTTON", 1031, "4000 ㎲", "OWNERDRAW TABSTOP", 66, 61, 65, 26},
             {"PUSHBUTTON", 1032, "20000 ㎲", "OWNERDRAW TABSTOP", 139, 61, 65, 26},
             {"PUSHBUTTON", 1033, "Once", "OWNERDRAW TABSTOP", 66, 104, 65, 26},
             {"PUSHBUTTON", 1027, "Off", "OWNERDRAW TABSTOP", 139, 104, 65, 26},
             {"CHECKBOX", 1057, "Once (checkbox)", "PUSHLIKE HIDDEN", 7, 7, 58, 22},
             {"CHECKBOX", 1058, "Continous", "PUSHLIKE HIDDEN TABSTOP", 72, 7, 65, 24},
             {"GROUPBOX", -1, "검사 방법", "", 268, 7, 430, 236},
             {"EDITTEXT", 1078, "", nullptr, 274, 38, 188, 205},
             {"PICTURE", 1079, "", nullptr, 465, 34, 231, 208},
             {"PUSHBUTTON", 1080, "검사 방법 변경", "", 274, 16, 86, 19},
             {"PUSHBUTTON", 1081, "이미지 변경", "", 364, 16, 96, 19},
             {"LTEXT", -1, "※ 더블 클릭 시 원본 이미지를 볼 수 있습니다.", "", 499, 21, 164, 8},
         }},
        {146, 705, 240,
         {
             {"DEFPUSHBUTTON", 1, "PASS", "", 43, 171, 85, 46},
             {"PUSHBUTTON", 2, "FAIL", "", 143, 171, 85, 46},
             {"GROUPBOX", -1, "게인", "", 17, 45, 238, 104},
             {"PUSHBUTTON", 1035, "2배", "OWNERDRAW TABSTOP", 37, 62, 82, 39},
             {"PUSHBUTTON", 1037, "6배", "OWNERDRAW TABSTOP", 149, 62, 82, 39},
             {"PUSHBUTTON", 1033, "Once", "OWNERDRAW TABSTOP", 37, 104, 82, 39},
             {"PUSHBUTTON", 1027, "OFF", "OWNERDRAW TABSTOP", 149, 104, 82, 39},
             {"CHECKBOX", 1076, "Once (checkbox)", "PUSHLIKE HIDDEN", 6, 7, 63, 24},
             {"CHECKBOX", 1058, "Continuous", "PUSHLIKE HIDDEN", 78, 7, 63, 24},
             {"GROUPBOX", -1, "검사 방법", "", 268, 1, 430, 236},
             {"EDITTEXT", 1078, "", nullptr, 274, 31, 188, 205},
             {"PICTURE", 1079, "", nullptr, 465, 27, 231, 208},
             {"PUSHBUTTON", 1080, "검사 방법 변경", "", 274, 9, 86, 19},
             {"PUSHBUTTON", 1081, "이미지 변경", "TABSTOP", 364, 9, 96, 19},
             {"LTEXT", -1, "※ 더블 클릭 시 원본 이미지를 볼 수 있습니다.", "", 499, 14, 164, 8},
         }},
        {144, 705, 250,
         {
             {"DEFPUSHBUTTON", 1, "PASS", "TABSTOP", 51, 181, 82, 43},
             {"PUSHBUTTON", 2, "FAIL", "TABSTOP", 148, 181, 82, 43},
             {"PUSHBUTTON", 1031, "10 프레임", "HIDDEN", 7, 7, 38, 20},
             {"PUSHBUTTON", 1032, "50프레임", "HIDDEN", 45, 7, 38, 20},
             {"GROUPBOX", -1, "프레임 모드", "", 23, 65, 85, 60},
             {"PUSHBUTTON", 1035, "OFF", "OWNERDRAW TABSTOP", 37, 82, 59, 25},
             {"GROUPBOX", -1, "프레임레이트 변경", "", 126, 65, 123, 60},
             {"COMBOBOX", 1014, "", "DROPDOWNLIST OWNERDRAWVARIABLE SORT HASSTRINGS VSCROLL TABSTOP", 137, 88, 99,
              75},
             {"GROUPBOX", -1, "검사 방법", "", 268, 7, 430, 236},
             {"EDITTEXT", 1078, "", nullptr, 273, 36, 188, 205},
             {"PICTURE", 1079, "", nullptr, 465, 34, 231, 208},
             {"PUSHBUTTON", 1080, "검사 방법 변경", "", 274, 16, 86, 19},
             {"PUSHBUTTON", 1081, "이미지 변경", "", 364, 16, 96, 19},
             {"LTEXT", -1, "※ 더블 클릭 시 원본 이미지를 볼 수 있습니다.", "", 499, 21, 164, 8},
         }},
        {130, 705, 250,
         WithMethodPanel({
             {"PUSHBUTTON", 1026, "25%", "OWNERDRAW TABSTOP", 48, 35, 78, 21},
             {"PUSHBUTTON", 1028, "50%", "OWNERDRAW TABSTOP", 137, 35, 78, 21},
             {"PUSHBUTTON", 1037, "20%", "OWNERDRAW TABSTOP", 48, 81, 78, 21},
             {"PUSHBUTTON", 1038, "80%", "OWNERDRAW TABSTOP", 137, 81, 78, 21},
             {"PUSHBUTTON", 1034, "75%", "OWNERDRAW TABSTOP", 48, 128, 78, 21},
             {"PUSHBUTTON", 1033, "50%", "OWNERDRAW TABSTOP", 137, 128, 78, 21},
             {"PUSHBUTTON", 1040, "20%", "OWNERDRAW TABSTOP", 48, 174, 78, 21},
             {"PUSHBUTTON", 1041, "80%", "OWNERDRAW TABSTOP", 137, 174, 78, 21},
             {"DEFPUSHBUTTON", 1, "PASS", "", 60, 209, 67, 22},
             {"PUSHBUTTON", 2, "FAIL", "", 136, 209, 67, 22},
             {"GROUPBOX", -1, "Width", "", 15, 25, 232, 40},
             {"GROUPBOX", -1, "Offset X", "", 17, 70, 232, 40},
             {"GROUPBOX", -1, "Height", "", 18, 117, 232, 40},
             {"GROUPBOX", -1, "Offset Y", "", 17, 163, 232, 40},
             {"GROUPBOX", -1, "검사", "", 7, 7, 255, 236},
         })},
        {133, 705, 250,
         WithMethodPanel({
             {"PUSHBUTTON", 1028, "모노 8", "OWNERDRAW TABSTOP", 26, 98, 68, 22},
             {"PUSHBUTTON", 1033, "모노 10", "OWNERDRAW TABSTOP", 103, 98, 68, 22},
             {"PUSHBUTTON", 1030, "모노 12", "OWNERDRAW TABSTOP", 182, 98, 68, 22},
             {"PUSHBUTTON", 1031, "BayerRG8", "OWNERDRAW TABSTOP", 26, 132, 68, 22},
             {"PUSHBUTTON", 1032, "BayerRG10", "OWNERDRAW TABSTOP", 103, 132, 68, 22},
             {"PUSHBUTTON", 1034, "BayerRG12", "OWNERDRAW TABSTOP", 182, 132, 68, 22},
             {"DEFPUSHBUTTON", 1, "PASS", "", 78, 198, 61, 22},
             {"PUSHBUTTON", 2, "FAIL", "", 147, 198, 61, 22},
             {"PUSHBUTTON", 1029, "DCF 변경", "HIDDEN", 113, 41, 60, 19},
             {"GROUPBOX", -1, "픽셀 포맷 변경", "", 7, 78, 258, 93},
         })},
        {147, 705, 250,
         [] {
             std::vector<TabledControl> c = {
                 {"PUSHBUTTON", 1031, "Software", "OWNERDRAW TABSTOP", 173, 156, 68, 21},
                 {"PUSHBUTTON", 1032, "STROBE", "OWNERDRAW HIDDEN", 89, 20, 68, 21},
                 {"RADIOBUTTON", 1050, "Input", "DISABLED GROUP", 22, 161, 33, 10},
                 {"RADIOBUTTON", 1051, "Output", "DISABLED", 59, 161, 39, 10},
                 {"DEFPUSHBUTTON", 1, "PASS", "", 49, 202, 58, 22},
                 {"PUSHBUTTON", 2, "FAIL", "", 128, 202, 58, 22},
                 {"RADIOBUTTON", 1037, "On", "", 54, 28, 25, 10},
                 {"RADIOBUTTON", 1038, "Off", "GROUP", 21, 28, 27, 10},
                 {"RADIOBUTTON", 1044, "CC1", "HIDDEN", 236, 224, 29, 10},
                 {"GROUPBOX", -1, "Trigger Mode", "", 14, 16, 71, 28},
                 {"GROUPBOX", -1, "Trigger Source", "", 15, 51, 242, 44},
                 {"GROUPBOX", -1, "Line Selector", "", 15, 96, 242, 44},
                 {"GROUPBOX", -1, "Line Mode", "", 18, 146, 85, 36},
                 {"PUSHBUTTON", 1029, "CC1 DCF 변경", "TABSTOP", 208, 202, 56, 21},
             };
             c.insert(c.end(), kMethodPanel.begin(), kMethodPanel.end());
             const std::vector<TabledControl> after = {
                 {"EDITTEXT", 1111, "", "BORDER READONLY CENTER HIDDEN", 164, 24, 57, 14},
                 {"CHECKBOX", 1057, "Line Inverter", "TABSTOP", 113, 163, 57, 10},
                 {"RADIOBUTTON", 1124, "Line1(CXP_Trigger)", "GROUP", 24, 69, 77, 10},
                 {"RADIOBUTTON", 1125, "Line4", "", 120, 70, 33, 10},
                 {"RADIOBUTTON", 1126, "Software", "", 171, 70, 45, 10},
                 {"RADIOBUTTON", 1132, "Line1(CXP Trigger)", "GROUP", 19, 116, 75, 10},
                 {"RADIOBUTTON", 1133, "Line4(PC)", "", 99, 117, 47, 10},
                 {"RADIOBUTTON", 1134, "Line5(PC)", "", 152, 118, 47, 10},
                 {"RADIOBUTTON", 1135, "Line6(CXP)", "", 201, 118, 51, 10},
             };
             c.insert(c.end(), after.begin(), after.end());
             return c;
         }()},
    };
    return pages;
}

QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

// The window of a template, built by the window system; a page is placed in a main window where the runner
// places it.
class Built {
public:
    explicit Built(int templateId) : m_dlg(static_cast<UINT>(templateId)) {
        const DialogTemplate* t = DialogTemplate::Find(templateId);
        m_child = t && t->Has("CHILD");
        if (m_child) {
            m_main = std::make_unique<CDialog>(102u);
            m_main->Create(102u, nullptr);
        }
        m_dlg.Create(static_cast<UINT>(templateId), m_main.get());
    }
    ~Built() {
        m_dlg.DestroyWindow();
        if (m_main)
            m_main->DestroyWindow();
        for (int i = 0; i < 3; ++i)
            kavrino::ProcessUiEvents();
    }
    CDialog& Dialog() { return m_dlg; }
    // The controls' records in template order.
    std::vector<WindowState*> Controls() const {
        std::vector<WindowState*> controls;
        if (WindowState* s = m_dlg.State())
            for (HWND h : s->children)
                controls.push_back(kavrino::FindWindowState(h));
        return controls;
    }
    // Shows the window, a page in the main window as the runner shows it, and returns its picture.
    QImage Picture() {
        if (m_child) {
            m_main->ShowWindow(SW_SHOW);
            m_dlg.MoveWindow(200, 20, 1050, 410, TRUE);
        }
        m_dlg.ShowWindow(SW_SHOW);
        kavrino::ProcessUiEvents();
        WindowState* s = (m_child ? m_main.get() : &m_dlg)->State();
        return s->widget->grab().toImage();
    }

private:
    std::unique_ptr<CDialog> m_main;
    CDialog m_dlg;
    bool m_child = false;
};

TEST(DialogLayout, TheSixTabledPagesKeepTheirTemplatesControlByControl) {
    for (const TabledPage& page : TabledPages()) {
        const DialogTemplate* t = DialogTemplate::Find(page.id);
        ASSERT_NE(t, nullptr) << page.id;
        EXPECT_EQ(QSize(t->width, t->height), QSize(page.width, page.height)) << page.id;
        ASSERT_EQ(t->controls.size(), page.controls.size()) << page.id;
        Built built(page.id);
        const std::vector<WindowState*> windows = built.Controls();
        ASSERT_EQ(windows.size(), page.controls.size()) << page.id;
        for (std::size_t i = 0; i < page.controls.size(); ++i) {
            const TabledControl& want = page.controls[i];
            const ControlTemplate& have = t->controls[i];
            const std::string where = std::to_string(page.id) + " #" + std::to_string(i) + " " +
                                      std::to_string(want.id) + " " + want.text;
            EXPECT_EQ(have.kind.toStdString(), want.kind) << where;
            EXPECT_EQ(have.id, want.id) << where;
            EXPECT_EQ(Q(have.text).toStdString(), want.text) << where;
            if (want.styles) {
                EXPECT_EQ(Sorted(have.styles), Sorted(QString(want.styles).split(' ', Qt::SkipEmptyParts)))
                    << where;
            }
            EXPECT_EQ(have.rect, QRect(want.x, want.y, want.width, want.height)) << where;
            // The window the control got, in pixels of the page.
            const QRect pixels(PixelsX(want.x), PixelsY(want.y), PixelsX(want.width), PixelsY(want.height));
            ASSERT_NE(windows[i], nullptr) << where;
            const QRect geometry = windows[i]->widget->geometry();
            if (want.kind == std::string("COMBOBOX")) {
                // The closed field; the rest of the rectangle is the drop-down list.
                EXPECT_EQ(geometry.topLeft(), pixels.topLeft()) << where;
                EXPECT_EQ(geometry.width(), pixels.width()) << where;
                EXPECT_LE(geometry.height(), pixels.height()) << where;
                EXPECT_GE(geometry.height(), 18) << where;
            } else {
                EXPECT_EQ(geometry, pixels) << where;
            }
        }
    }
    // The exposure page in pixels, as the runner gets it: 1058 x 406, PASS at (69, 302) with 123 x 62.
    Built exposure(145);
    WindowState* page = exposure.Dialog().State();
    EXPECT_EQ(page->widget->size(), QSize(1058, 406));
    EXPECT_EQ(exposure.Controls()[0]->widget->geometry(), QRect(69, 302, 123, 62));
}

// A button's or a group box's text as shown: "&" marks the next letter as the key, "&&" shows "&".
QString WithoutMnemonics(const QString& text) {
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

// How a control's text sits in its window: the room the window leaves for the text and the text as shown.
// An empty room means the control shows no text of its own.
struct TextRoom {
    QRect room;
    QString text;
    bool topAligned = false; // static text starts at the top; buttons and boxes centre their text
};

TextRoom RoomFor(const ControlTemplate& c, QWidget* w) {
    TextRoom t;
    t.text = WithoutMnemonics(Q(c.text));
    if (t.text.isEmpty())
        return t;
    QStyle* style = w->style();
    const QString& k = c.kind;
    QStyleOptionButton button;
    button.initFrom(w);
    button.text = Q(c.text);
    if (k == "LTEXT" || k == "CTEXT" || k == "RTEXT") {
        t.text = Q(c.text);
        t.room = w->contentsRect();
        t.topAligned = true;
    } else if (c.Has("OWNERDRAW")) {
        // The pages paint their owner-drawn buttons' text centred inside a one-pixel frame.
        t.room = w->rect().adjusted(1, 1, -1, -1);
    } else if (k == "PUSHBUTTON" || k == "DEFPUSHBUTTON" || c.Has("PUSHLIKE")) {
        t.room = style->subElementRect(QStyle::SE_PushButtonContents, &button, w);
    } else if (k == "CHECKBOX") {
        t.room = style->subElementRect(QStyle::SE_CheckBoxContents, &button, w);
    } else if (k == "RADIOBUTTON") {
        t.room = style->subElementRect(QStyle::SE_RadioButtonContents, &button, w);
    } else if (k == "GROUPBOX") {
        t.room = static_cast<kavrino::GroupFrame*>(w)->TitleRoom();
    } else if (k == "EDITTEXT" && !c.Has("PASSWORD") && !c.Has("MULTILINE")) {
        // A line edit's text runs between its frame and a margin of two pixels a side.
        QStyleOptionFrame frame;
        frame.initFrom(w);
        frame.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, w);
        t.room = style->subElementRect(QStyle::SE_LineEditContents, &frame, w).adjusted(2, 1, -2, -1);
    }
    return t;
}

// Why the text does not fit its room, or an empty string. Every line must be no wider than the room, and
// the ink of the text must lie inside it, from the top for static text, centred for the others.
QString Misfit(const TextRoom& t, const QFont& font) {
    if (t.room.isEmpty())
        return QString();
    const QFontMetrics fm(font);
    const QStringList lines = t.text.split('\n');
    QString why;
    for (const QString& line : lines) {
        const int width = std::max(fm.horizontalAdvance(line), fm.tightBoundingRect(line).right() + 1);
        if (width > t.room.width())
            why += QString("%1 pixels wide in %2; ").arg(width).arg(t.room.width());
    }
    const int height = fm.height() + fm.lineSpacing() * (lines.size() - 1);
    const int lineTop = t.topAligned ? 0 : (t.room.height() - height) / 2;
    const int top = lineTop + fm.ascent() + fm.tightBoundingRect(lines.first()).top();
    const int bottom = lineTop + fm.lineSpacing() * (lines.size() - 1) + fm.ascent() +
                       fm.tightBoundingRect(lines.last()).bottom();
    if (top < 0 || bottom >= t.room.height())
        why += QString("ink from %1 to %2 in %3 pixels high; ").arg(top).arg(bottom).arg(t.room.height());
    return why;
}

// Rectangles of the six pages given control by control that are too small for the installed font, by
// template and control id: kept as given. The hidden check box is never shown; the two radio buttons lack
// two pixels for the closing parenthesis.
const std::set<std::pair<int, int>> kKeptAlthoughTooSmall = {{145, 1057}, {147, 1124}, {147, 1132}};

// Every template's file name, by template id.
std::map<int, QString> TemplateNames() {
    std::map<int, QString> names;
    const QDir dir(":/res/dialogs");
    for (const QString& file : dir.entryList({"*.dlg"}, QDir::Files)) {
        QFile f(dir.filePath(file));
        f.open(QIODevice::ReadOnly);
        DialogTemplate t;
        if (DialogTemplate::Parse(QString::fromUtf8(f.readAll()), t))
            names[t.id] = QFileInfo(file).completeBaseName();
    }
    return names;
}

TEST(DialogLayout, EveryControlTextFitsItsRectangleInTheFontDrawn) {
    const QString folder = QString(KAVRINO_BINARY_DIR) + "/screenshots";
    QDir().mkpath(folder);
    std::map<int, QString> names = TemplateNames();
    for (int id : DialogTemplate::Ids()) {
        const DialogTemplate& t = *DialogTemplate::Find(id);
        Built built(id);
        const std::vector<WindowState*> windows = built.Controls();
        ASSERT_EQ(windows.size(), t.controls.size()) << id;
        for (std::size_t i = 0; i < t.controls.size(); ++i) {
            const ControlTemplate& c = t.controls[i];
            QWidget* w = windows[i]->widget;
            ASSERT_NE(w, nullptr);
            // The dialog font reaches every control: Hangul and Latin alike in the installed Hangul font.
            EXPECT_EQ(w->font().family(), kavrino::HangulFontFamily()) << id << " " << c.id;
            EXPECT_EQ(w->font().pixelSize(), 11) << id << " " << c.id;
            const QString why = Misfit(RoomFor(c, w), w->font());
            const bool kept = c.id != -1 && kKeptAlthoughTooSmall.count({id, c.id}) > 0;
            EXPECT_EQ(why.isEmpty(), !kept)
                << id << " " << names[id].toStdString() << " control " << c.id << " \""
                << Q(c.text).toStdString() << "\": " << why.toStdString();
        }
        const QImage picture = built.Picture();
        EXPECT_FALSE(picture.isNull()) << id;
        EXPECT_TRUE(picture.save(QString("%1/%2-%3.png").arg(folder).arg(id).arg(names[id]))) << id;
    }
}

} // namespace
