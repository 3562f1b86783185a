// The template parser: what a good file gives, and that bad text is refused with the line at fault.
#include "DialogTemplate.h"

#include <gtest/gtest.h>

using kavrino::ControlTemplate;
using kavrino::DialogTemplate;

namespace {

const char* const kGood = "# a page\n"
                          "\n"
                          "DIALOG 159 \"Binning \\\"page\\\"\" 1050 410 CHILD\r\n"
                          "  GROUPBOX -1 \"Binning Vertical\" 10 20 300 100\n"
                          "PUSHBUTTON 1122 \"On\" 20 40 80 30 TABSTOP\n"
                          "EDITTEXT 1078 \"\" 400 60 280 300 MULTILINE WANTRETURN VSCROLL\n"
                          "PICTURE 1079 \"a\\\\b\\tc\\nd\" 700 60 300 300 NOTIFY BITMAP=152\n"
                          "LTEXT -1 \"\" 0 0 10 10\n";

TEST(DialogTemplateParse, GoodTemplateGivesEveryField) {
    DialogTemplate dlg;
    QString error;
    ASSERT_TRUE(DialogTemplate::Parse(kGood, dlg, &error)) << error.toStdString();
    EXPECT_EQ(dlg.id, 159);
    EXPECT_EQ(dlg.caption, CString(L"Binning \"page\""));
    EXPECT_EQ(dlg.width, 1050);
    EXPECT_EQ(dlg.height, 410);
    EXPECT_TRUE(dlg.Has("CHILD"));
    EXPECT_FALSE(dlg.Has("POPUP"));
    ASSERT_EQ(dlg.controls.size(), 5u);
    EXPECT_EQ(dlg.controls[0].kind, "GROUPBOX");
    EXPECT_EQ(dlg.controls[0].id, -1);

    const ControlTemplate* on = dlg.Control(1122);
    ASSERT_NE(on, nullptr);
    EXPECT_EQ(on->kind, "PUSHBUTTON");
    EXPECT_EQ(on->text, CString(L"On"));
    EXPECT_EQ(on->rect, QRect(20, 40, 80, 30));
    EXPECT_TRUE(on->Has("TABSTOP"));

    const ControlTemplate* edit = dlg.Control(1078);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->Has("MULTILINE") && edit->Has("WANTRETURN") && edit->Has("VSCROLL"));
    EXPECT_TRUE(edit->text.IsEmpty());

    const ControlTemplate* picture = dlg.Control(1079);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->text, CString(L"a\\b\tc\nd"));
    EXPECT_EQ(picture->Value("BITMAP"), "152");
    EXPECT_TRUE(picture->Value("ICON").isEmpty());
    EXPECT_TRUE(picture->Value("NOTIFY").isEmpty());

    // -1 names nobody, even though statics carry it; unknown ids give null.
    EXPECT_EQ(dlg.Control(-1), nullptr);
    EXPECT_EQ(dlg.Control(4242), nullptr);
}

TEST(DialogTemplateParse, KoreanTextAndRepeatedStylesAreKeptOnce) {
    DialogTemplate dlg;
    ASSERT_TRUE(DialogTemplate::Parse("DIALOG 150 \"검사항목 편집 창\" 1300 700 POPUP CAPTION CAPTION\n"
                                      "EDITTEXT 1061 \"패스워드입력\" 1 2 3 4 PASSWORD PASSWORD\n",
                                      dlg));
    EXPECT_EQ(dlg.caption, CString(L"검사항목 편집 창"));
    EXPECT_EQ(dlg.styles, QStringList({"POPUP", "CAPTION"}));
    EXPECT_EQ(dlg.Control(1061)->styles, QStringList({"PASSWORD"}));
    EXPECT_EQ(dlg.Control(1061)->text, CString(L"패스워드입력"));
}

struct BadCase {
    const char* text;
    const char* error; // the start of the expected message
};

TEST(DialogTemplateParse, BadTextIsRefusedWithItsLineNumber) {
    const BadCase cases[] = {
        {"", "line 1: no DIALOG line"},
        {"# only a comment\n", "line 2: no DIALOG line"},
        {"PUSHBUTTON 1 \"a\" 1 2 3 4\n", "line 1: the first line must be the DIALOG line"},
        {"DIALOG 1 \"a\" 10 10\nDIALOG 2 \"b\" 10 10\n", "line 2: a second DIALOG line"},
        {"DIALOG x \"a\" 10 10\n", "line 1: bad dialog id"},
        {"DIALOG 0 \"a\" 10 10\n", "line 1: bad dialog id"},
        {"DIALOG 1 a 10 10\n", "line 1: the caption must be a quoted text"},
        {"DIALOG 1 \"a\" 10\n", "line 1: DIALOG needs"},
        {"DIALOG 1 \"a\" 10 -5\n", "line 1: bad dialog size"},
        {"DIALOG 1 \"a\" 10 10 FLOATING\n", "line 1: unknown dialog style 'FLOATING'"},
        {"DIALOG 1 \"a\" 10 10\n\nBUTTON 1 \"a\" 1 2 3 4\n", "line 3: unknown control kind 'BUTTON'"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 \"a\" 1 2 3\n", "line 2: PUSHBUTTON needs"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1x \"a\" 1 2 3 4\n", "line 2: bad control id"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON -2 \"a\" 1 2 3 4\n", "line 2: bad control id"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 a 1 2 3 4\n", "line 2: the control text must be a quoted text"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 \"a\" 1 2 3px 4\n", "line 2: bad rectangle value '3px'"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 \"a\" 1 -2 3 4\n", "line 2: negative rectangle value"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 \"a\" 1 2 3 4 SHINY\n", "line 2: unknown style 'SHINY'"},
        {"DIALOG 1 \"a\" 10 10\nPICTURE 1 \"\" 1 2 3 4 BITMAP=\n", "line 2: bad style 'BITMAP='"},
        {"DIALOG 1 \"a\" 10 10\nPICTURE 1 \"\" 1 2 3 4 COLOR=3\n", "line 2: bad style 'COLOR=3'"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 \"a\" 1 2 3 4 \"x\"\n", "line 2: unexpected text"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 \"abc 1 2 3 4\n", "line 2: unterminated text"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 \"ab\\\" 1 2 3 4\n", "line 2: unterminated text"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 \"a\\q\" 1 2 3 4\n", "line 2: unknown escape"},
        {"DIALOG 1 \"a\"10 10\n", "line 1: missing blank after a text"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 1 a\"b\" 1 2 3 4\n", "line 2: quote inside a word"},
        {"DIALOG 1 \"a\" 10 10\nPUSHBUTTON 7 \"a\" 1 2 3 4\nCHECKBOX 7 \"b\" 1 2 3 4\n",
         "line 3: control id 7 used twice"},
        {"DIALOG 99999999999 \"a\" 10 10\n", "line 1: bad dialog id"},
    };
    for (const BadCase& c : cases) {
        DialogTemplate dlg;
        dlg.id = 77; // a failed parse leaves the output as it was
        QString error;
        EXPECT_FALSE(DialogTemplate::Parse(QString::fromUtf8(c.text), dlg, &error)) << c.text;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.error)))
            << "input: " << c.text << "\nerror: " << error.toStdString();
        EXPECT_EQ(dlg.id, 77);
        EXPECT_TRUE(dlg.controls.empty());
        // Without an error string the parser still refuses and does not crash.
        EXPECT_FALSE(DialogTemplate::Parse(QString::fromUtf8(c.text), dlg));
    }
}

TEST(DialogTemplateParse, GarbageNeverCrashes) {
    // Every prefix of a good template, and the same bytes shuffled, parse or fail cleanly.
    const QString good = QString::fromUtf8(kGood);
    for (int n = 0; n <= good.size(); ++n) {
        DialogTemplate dlg;
        QString error;
        if (!DialogTemplate::Parse(good.left(n), dlg, &error)) {
            EXPECT_TRUE(error.startsWith("line ")) << error.toStdString();
        }
    }
    QString shuffled = good;
    for (int i = 0; i < shuffled.size(); ++i) {
        const int j = (i * 7919) % shuffled.size();
        const QChar c = shuffled[i];
        shuffled[i] = shuffled[j];
        shuffled[j] = c;
        DialogTemplate dlg;
        DialogTemplate::Parse(shuffled, dlg);
    }
}

} // namespace
