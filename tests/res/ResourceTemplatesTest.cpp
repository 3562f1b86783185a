// The compiled-in templates, strings and pictures: every template the program creates is there, with the
// controls its window needs (id, kind, text, styles and the group box around them), laid out so that
// nothing overlaps or falls outside its dialog.
#include "DialogTemplate.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <set>
#include <thread>

using kavrino::ControlTemplate;
using kavrino::DialogTemplate;

namespace {

const std::set<int> kPageIds = {130, 131, 133, 142, 143, 144, 145, 146, 147, 148, 149,
                                151, 153, 154, 155, 156, 157, 158, 159, 160, 161, 162};

std::vector<int> AllIds() {
    std::vector<int> ids = {100, 102, 134, 150};
    ids.insert(ids.end(), kPageIds.begin(), kPageIds.end());
    std::sort(ids.begin(), ids.end());
    return ids;
}

QString Q(const CString& s) {
    return QString::fromStdWString(s.str());
}

TEST(ResourceTemplates, EveryTemplateFileParsesAndEveryIdIsThere) {
    const QDir dir(":/res/dialogs");
    const QStringList files = dir.entryList({"*.dlg"}, QDir::Files);
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        DialogTemplate dlg;
        QString error;
        EXPECT_TRUE(DialogTemplate::Parse(QString::fromUtf8(file.readAll()), dlg, &error))
            << name.toStdString() << ": " << error.toStdString();
    }
    // One template per file, no id twice, and exactly the ids the program creates.
    EXPECT_EQ(DialogTemplate::Ids(), AllIds());
    EXPECT_EQ(static_cast<std::size_t>(files.size()), AllIds().size());
    EXPECT_EQ(DialogTemplate::Find(101), nullptr);
    EXPECT_EQ(DialogTemplate::Find(-1), nullptr);
    // The same object on every call: parsed once.
    EXPECT_EQ(DialogTemplate::Find(159), DialogTemplate::Find(159));
}

TEST(ResourceTemplates, ResourceListNamesEveryFileOfTheFolder) {
    const QDir source(QString(KAVRINO_SOURCE_DIR) + "/res/dialogs");
    EXPECT_EQ(source.entryList({"*.dlg"}, QDir::Files, QDir::Name),
              QDir(":/res/dialogs").entryList({"*.dlg"}, QDir::Files, QDir::Name));
    for (const char* name :
         {"strings.txt", "icon128.xpm", "cursor139.xpm", "cursor140.xpm", "bitmap152.xpm"}) {
        EXPECT_TRUE(QFile::exists(QString(":/res/") + name)) << name;
    }
}

TEST(ResourceTemplates, WindowKindsAndSizes) {
    // Page sizes in dialog units: the test pages are 705 x 250 but for the gain page (705 x 240), the
    // tap-balance page (334 x 240) and the gamma and LUT page (786 x 250); the report page is 700 x 252,
    // the 1050 x 410 pixels the runner gives every page.
    for (int id : kPageIds) {
        const DialogTemplate* page = DialogTemplate::Find(id);
        ASSERT_NE(page, nullptr) << id;
        EXPECT_EQ(page->styles, QStringList({"CHILD"})) << id;
        const QSize size = id == 146   ? QSize(705, 240)
                           : id == 142 ? QSize(334, 240)
                           : id == 157 ? QSize(786, 250)
                           : id == 149 ? QSize(700, 252)
                                       : QSize(705, 250);
        EXPECT_EQ(QSize(page->width, page->height), size) << id;
    }
    EXPECT_EQ(DialogTemplate::Find(149)->PixelSize(), QSize(1050, 410));
    EXPECT_EQ(DialogTemplate::Find(145)->PixelSize(), QSize(1058, 406));

    const DialogTemplate* main = DialogTemplate::Find(102);
    EXPECT_EQ(main->caption, CString(L"Movrane"));
    EXPECT_TRUE(main->Has("POPUP") && main->Has("CAPTION") && main->Has("SYSMENU") &&
                main->Has("MINIMIZEBOX"));
    EXPECT_EQ(main->PixelSize(), QSize(1280, 460));
    // The pages are placed at (200, 20) with 1050 x 410 pixels over the main window.
    EXPECT_GE(main->PixelSize().width(), 1250);
    EXPECT_GE(main->PixelSize().height(), 430);

    const DialogTemplate* setup = DialogTemplate::Find(150);
    EXPECT_EQ(setup->caption, CString(L"검사항목 편집 창"));
    EXPECT_TRUE(setup->Has("POPUP") && setup->Has("CAPTION") && setup->Has("SYSMENU"));
    EXPECT_LE(setup->PixelSize().width(),
              1366 - 20); // frame included, on a 1366 x 768 screen with a task bar
    EXPECT_LE(setup->PixelSize().height(), 768 - 80);

    const DialogTemplate* display = DialogTemplate::Find(134);
    EXPECT_EQ(display->caption, CString(L"Display Window"));
    EXPECT_EQ(display->styles, QStringList({"POPUP", "CAPTION", "SYSMENU", "THICKFRAME", "MINIMIZEBOX",
                                            "MAXIMIZEBOX", "HSCROLL", "VSCROLL"}));
    EXPECT_TRUE(display->controls.empty());

    const DialogTemplate* about = DialogTemplate::Find(100);
    EXPECT_EQ(about->caption, CString(L"Kavrino 정보"));
    EXPECT_FALSE(about->Has("CHILD"));
}

// The part of the dialog a control covers when shown: a combo box's rectangle includes its drop-down list,
// while closed it covers one line of text.
QRect Covered(const ControlTemplate& ctl) {
    QRect r = ctl.rect;
    if (ctl.kind == "COMBOBOX") {
        r.setHeight(std::min(r.height(), 12));
    }
    return r;
}

// Whether the control lies inside a group box with this text.
bool InGroup(const DialogTemplate& dlg, const ControlTemplate& ctl, const QString& group) {
    for (const ControlTemplate& box : dlg.controls) {
        if (box.kind == "GROUPBOX" && Q(box.text) == group && box.rect.contains(Covered(ctl))) {
            return true;
        }
    }
    return false;
}

TEST(ResourceTemplates, ControlsStayInsideTheirDialogAndDoNotOverlap) {
    for (int id : AllIds()) {
        const DialogTemplate& dlg = *DialogTemplate::Find(id);
        const QRect client(0, 0, dlg.width, dlg.height);
        std::vector<const ControlTemplate*> shown;
        for (const ControlTemplate& ctl : dlg.controls) {
            EXPECT_TRUE(client.contains(Covered(ctl)))
                << id << " control " << ctl.id << " " << Q(ctl.text).toStdString();
            EXPECT_GT(ctl.rect.width(), 0) << id << " control " << ctl.id;
            EXPECT_GT(ctl.rect.height(), 0) << id << " control " << ctl.id;
            if (ctl.kind != "GROUPBOX" && !ctl.Has("HIDDEN")) {
                shown.push_back(&ctl);
            }
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                EXPECT_FALSE(Covered(*shown[i]).intersects(Covered(*shown[j])))
                    << id << ": " << shown[i]->id << " \"" << Q(shown[i]->text).toStdString() << "\" and "
                    << shown[j]->id << " \"" << Q(shown[j]->text).toStdString() << "\" overlap";
            }
        }
        // A radio button always belongs to a group that a GROUP radio started.
        for (const ControlTemplate& ctl : dlg.controls) {
            if (ctl.kind == "RADIOBUTTON") {
                EXPECT_TRUE(ctl.Has("GROUP")) << id << " radio " << ctl.id << " starts no group";
                break;
            }
        }
    }
}

// One control a window's code addresses or shows. id -1 names a static control: one with that kind and
// text must exist. styles must all be present; HIDDEN and DISABLED must be present exactly when listed.
struct Row {
    int dialog;
    int id;
    const char* kind;
    const char* text;
    const char* styles;
    const char* group; // the group box around it, or ""
};

const Row kRows[] = {
    // About box.
    {100, 1, "DEFPUSHBUTTON", "확인", "", ""},
    {100, -1, "LTEXT", "Kavrino, 버전 2.0", "", ""},
    {100, -1, "PICTURE", "", "ICON=128", ""},
    // Main window.
    {102, 1000, "PUSHBUTTON", "연결", "", ""},
    {102, 1002, "LISTBOX", "", "NOTIFY", "검사 항목 리스트"},
    {102, 1003, "PUSHBUTTON", "검사 시작", "", ""},
    {102, 1005, "PUSHBUTTON", "영상 시작", "", ""},
    {102, 1006, "EDITTEXT", "", "READONLY", "Camera Control"},
    {102, 1007, "EDITTEXT", "", "READONLY", "Camera Control"},
    {102, -1, "LTEXT", "Width", "", "Camera Control"},
    {102, -1, "LTEXT", "Height", "", "Camera Control"},
    {102, 1008, "SLIDER", "", "", "GAIN 조정"},
    {102, 1009, "EDITTEXT", "", "READONLY", "GAIN 조정"},
    {102, 1010, "EDITTEXT", "", "", "EXPOSURE 조정"},
    {102, 1011, "PUSHBUTTON", "확인", "", "EXPOSURE 조정"},
    {102, 1012, "PUSHBUTTON", "최소", "", "EXPOSURE 조정"},
    {102, 1013, "PUSHBUTTON", "최대", "", "EXPOSURE 조정"},
    {102, 1014, "COMBOBOX", "", "DROPDOWNLIST", "Pixel Format"},
    {102, 1016, "RADIOBUTTON", "2Tap", "GROUP HIDDEN", "Tap Selector"},
    {102, 1017, "RADIOBUTTON", "4Tap", "HIDDEN", "Tap Selector"},
    {102, -1, "GROUPBOX", "Tap Selector", "HIDDEN", ""},
    {102, -1, "LTEXT", "프레임 레이트 :", "", ""},
    {102, 1032, "EDITTEXT", "", "READONLY", ""},
    {102, 1106, "IPADDRESS", "", "HIDDEN DISABLED", ""},
    {102, 1144, "PUSHBUTTON", "Grab One", "", ""},
    {102, -1, "PICTURE", "", "BITMAP=152", ""},
    // Report page.
    {149, 1, "DEFPUSHBUTTON", "검사 종료", "", ""},
    {149, 1056, "LISTCTRL", "", "REPORT BORDER", ""},
    // Set-up window.
    {150, 1059, "RADIOBUTTON", "작업자 :", "GROUP", "사용자 선택"},
    {150, 1060, "RADIOBUTTON", "관리자", "", "사용자 선택"},
    {150, 1062, "EDITTEXT", "이름입력", "", "사용자 선택"},
    {150, 1061, "EDITTEXT", "패스워드입력", "PASSWORD", "사용자 선택"},
    {150, 1069, "PUSHBUTTON", "관리자 등록", "", "사용자 선택"},
    {150, 1031, "PUSHBUTTON", "로그 파일 등록", "", "로그 파일 선택"},
    {150, 1032, "PUSHBUTTON", "로그 파일 불러오기", "", "로그 파일 선택"},
    {150, 1072, "EDITTEXT", "", "READONLY", "로그 파일 선택"},
    {150, 1063, "LISTBOX", "", "", "검사항목 편집"},
    {150, -1, "LTEXT", "지원하는 항목", "", "검사항목 편집"},
    {150, 1005, "PUSHBUTTON", "전체", "", "검사항목 편집"},
    {150, 1003, "PUSHBUTTON", "추가", "", "검사항목 편집"},
    {150, 1004, "PUSHBUTTON", "제거", "", "검사항목 편집"},
    {150, 1064, "LISTBOX", "", "", "검사항목 편집"},
    {150, -1, "LTEXT", "검사 할 항목", "", "검사항목 편집"},
    {150, 1065, "EDITTEXT", "", "NUMBER CENTER", "프레임레이트 설정 값 "},
    {150, -1, "LTEXT", "프레임", "", "프레임레이트 설정 값 "},
    {150, 1066, "PUSHBUTTON", "추가", "", "프레임레이트 설정 값 "},
    {150, 1068, "PUSHBUTTON", "삭제", "", "프레임레이트 설정 값 "},
    {150, 1067, "LISTBOX", "", "", "프레임레이트 설정 값 "},
    {150, 1057, "CHECKBOX", "Color Camera", "", "Color or Mono"},
    {150, 1058, "CHECKBOX", "해상력", "", "기타 체크 항목 리스트"},
    {150, 1078, "CHECKBOX", "노이즈", "", "기타 체크 항목 리스트"},
    {150, 1079, "CHECKBOX", "블루밍", "", "기타 체크 항목 리스트"},
    {150, 1111, "EDITTEXT", "", "", "휘도 편차:"},
    {150, 1142, "CHECKBOX", "전류", "", "전류/전압 기준"},
    {150, 1112, "EDITTEXT", "", "", "전류/전압 기준"},
    {150, 1143, "CHECKBOX", "전압", "", "전류/전압 기준"},
    {150, 1113, "EDITTEXT", "", "", "전류/전압 기준"},
    {150, 1070, "PUSHBUTTON", "8비트", "", "DCF 픽셀포맷 별 파일 등록"},
    {150, 1074, "PUSHBUTTON", "10비트", "", "DCF 픽셀포맷 별 파일 등록"},
    {150, 1075, "PUSHBUTTON", "12비트", "DISABLED", "DCF 픽셀포맷 별 파일 등록"},
    {150, 1071, "EDITTEXT", "", "READONLY CENTER", "DCF 픽셀포맷 별 파일 등록"},
    {150, 1076, "EDITTEXT", "", "READONLY CENTER", "DCF 픽셀포맷 별 파일 등록"},
    {150, 1077, "EDITTEXT", "", "READONLY CENTER", "DCF 픽셀포맷 별 파일 등록"},
    {150, 1033, "PUSHBUTTON", "검사 파일 저장", "", "검사 파일 등록"},
    {150, 1034, "PUSHBUTTON", "검사 파일 불러오기", "", "검사 파일 등록"},
    {150, 1073, "EDITTEXT", "", "READONLY", "검사 파일 등록"},
    {150, -1, "LTEXT", "불러온 검사 파일 이름 :", "", "검사 파일 등록"},
    {150, 1, "DEFPUSHBUTTON", "검사 시작", "", ""},
    // Binning, decimation and reverse X/Y pages (their method panels are checked for every page below).
    {159, 1122, "PUSHBUTTON", "On", "", "Binning Vertical"},
    {159, 1003, "PUSHBUTTON", "Off", "", "Binning Vertical"},
    {159, 1031, "PUSHBUTTON", "PASS", "", ""},
    {159, 1032, "PUSHBUTTON", "FAIL", "", ""},
    {160, 1122, "PUSHBUTTON", "On", "", "Decimation Horizontal Vertical"},
    {160, 1003, "PUSHBUTTON", "Off", "", "Decimation Horizontal Vertical"},
    {160, 1031, "PUSHBUTTON", "PASS", "", ""},
    {160, 1032, "PUSHBUTTON", "FAIL", "", ""},
    {156, 1116, "PUSHBUTTON", "ON", "", "Reverse X"},
    {156, 1032, "PUSHBUTTON", "ON", "", "Reverse Y"},
    {156, 1031, "PUSHBUTTON", "PASS", "", ""},
    {156, 1033, "PUSHBUTTON", "FAIL", "", ""},
    // Spot checks of the other pages.
    {130, 1026, "PUSHBUTTON", "25%", "OWNERDRAW", "Width"},
    {130, 1033, "PUSHBUTTON", "50%", "OWNERDRAW", "Height"},
    {130, 1041, "PUSHBUTTON", "80%", "OWNERDRAW", "Offset Y"},
    {130, 1, "DEFPUSHBUTTON", "PASS", "", ""},
    {131, 1028, "PUSHBUTTON", "가로 패턴", "OWNERDRAW", "테스트 패턴"},
    {131, 1027, "PUSHBUTTON", "OFF", "OWNERDRAW", "테스트 패턴"},
    {133, 1029, "PUSHBUTTON", "DCF 변경", "HIDDEN", ""},
    {133, 1030, "PUSHBUTTON", "모노 12", "OWNERDRAW", "픽셀 포맷 변경"},
    {133, 1034, "PUSHBUTTON", "BayerRG12", "OWNERDRAW", "픽셀 포맷 변경"},
    {142, 1017, "RADIOBUTTON", "STEP3", "GROUP", "Mode Select"},
    {142, 1018, "RADIOBUTTON", "STEP4", "", "Mode Select"},
    {142, 1023, "PUSHBUTTON", "버튼 취소", "", ""},
    {142, 1024, "PUSHBUTTON", "User Set Save", "", ""},
    {142, 1031, "EDITTEXT", "", "", "STEP LIMIT"},
    {142, 1003, "PUSHBUTTON", "INI SAVE", "", ""},
    {143, 1030, "EDITTEXT", "", "READONLY CENTER", "카메라 정보 확인"},
    {143, -1, "LTEXT", "디바이스 버전", "", "카메라 정보 확인"},
    {143, 1031, "PUSHBUTTON", "검사", "OWNERDRAW", "카메라 정보 확인"},
    {143, 1, "DEFPUSHBUTTON", "PASS", "", ""},
    {144, 1031, "PUSHBUTTON", "10 프레임", "HIDDEN", ""},
    {144, 1035, "PUSHBUTTON", "OFF", "OWNERDRAW", "프레임 모드"},
    {144, 1014, "COMBOBOX", "", "DROPDOWNLIST OWNERDRAWVARIABLE SORT HASSTRINGS VSCROLL",
     "프레임레이트 변경"},
    {145, 1032, "PUSHBUTTON", "20000 ㎲", "OWNERDRAW", "익스포즈 타임"},
    {145, 1057, "CHECKBOX", "Once (checkbox)", "PUSHLIKE HIDDEN", ""},
    {145, 1058, "CHECKBOX", "Continous", "PUSHLIKE HIDDEN", ""},
    {146, 1035, "PUSHBUTTON", "2배", "OWNERDRAW", "게인"},
    {146, 1027, "PUSHBUTTON", "OFF", "OWNERDRAW", "게인"},
    {146, 1076, "CHECKBOX", "Once (checkbox)", "PUSHLIKE HIDDEN", ""},
    {147, 1031, "PUSHBUTTON", "Software", "OWNERDRAW", ""},
    {147, 1032, "PUSHBUTTON", "STROBE", "OWNERDRAW HIDDEN", ""},
    {147, 1050, "RADIOBUTTON", "Input", "GROUP DISABLED", "Line Mode"},
    {147, 1038, "RADIOBUTTON", "Off", "GROUP", "Trigger Mode"},
    {147, 1037, "RADIOBUTTON", "On", "", "Trigger Mode"},
    {147, 1111, "EDITTEXT", "", "BORDER READONLY CENTER HIDDEN", ""},
    {147, 1124, "RADIOBUTTON", "Line1(CXP_Trigger)", "GROUP", "Trigger Source"},
    {147, 1135, "RADIOBUTTON", "Line6(CXP)", "", "Line Selector"},
    {147, 1029, "PUSHBUTTON", "CC1 DCF 변경", "", ""},
    {148, 1087, "RADIOBUTTON", "FAIL", "GROUP", "노이즈"},
    {148, 1057, "RADIOBUTTON", "PASS", "", "블루밍"},
    {148, 1060, "RADIOBUTTON", "FAIL", "GROUP", "해상력"},
    {148, 1112, "EDITTEXT", "", "", "전류&&전압"},
    {148, 1, "DEFPUSHBUTTON", "확인", "", ""},
    {151, 1111, "EDITTEXT", "", "READONLY", ""},
    {151, 1078, "EDITTEXT", "", "READONLY", "화이트 밸런스"},
    {151, 1034, "PUSHBUTTON", "CONTINOUS", "OWNERDRAW", ""},
    {151, 1080, "EDITTEXT", "", "MULTILINE WANTRETURN", "검사 방법"},
    {151, 1081, "PICTURE", "", "NOTIFY", "검사 방법"},
    {151, 1082, "PUSHBUTTON", "검사 방법 변경", "", "검사 방법"},
    {151, 1083, "PUSHBUTTON", "이미지 변경", "", "검사 방법"},
    {153, 1058, "CHECKBOX", "SCALE   x", "", ""},
    {153, 1095, "EDITTEXT", "", "", "Theshold 값"},
    {153, 1102, "EDITTEXT", "", "", "부분 사각형 영상"},
    {153, 1137, "LTEXT", "", "", "BOTTOM"},
    {153, 1143, "CHECKBOX", "임시 좌표계", "", ""},
    {155, 1112, "PUSHBUTTON", "20%", "", "블랙 레벨 검사"},
    {157, 1057, "CHECKBOX", "Gamma Enable", "", "Gamma"},
    {157, 1032, "PUSHBUTTON", "LUT 2.5", "", "LUT"},
    {158, 1119, "PUSHBUTTON", "CXP1_X6", "", "링크 컨피그 검사"},
    {161, 1089, "EDITTEXT", "", "NUMBER", "Center"},
    {161, 1116, "EDITTEXT", "", "NUMBER", "Right Bottom"},
    {161, 1120, "EDITTEXT", "", "NUMBER", "Left Bottom"},
    {161, 1123, "RADIOBUTTON", "B", "", "RGB Channel"},
    {161, 1130, "LTEXT", "value", "DISABLED", "편차"},
    {161, 1131, "CTEXT", "통과/실패", "", "편차"},
    {162, 1093, "EDITTEXT", "", "NUMBER", "Center"},
    {162, 1141, "LTEXT", "Static", "", ""},
    {162, -1, "LTEXT", "Average : ", "", ""},
};

TEST(ResourceTemplates, ControlsAsTheWindowsUseThem) {
    for (const Row& row : kRows) {
        const DialogTemplate* dlg = DialogTemplate::Find(row.dialog);
        ASSERT_NE(dlg, nullptr) << row.dialog;
        const QString text = QString::fromUtf8(row.text);
        const ControlTemplate* ctl = nullptr;
        if (row.id == -1) {
            for (const ControlTemplate& c : dlg->controls) {
                if (c.id == -1 && c.kind == row.kind && Q(c.text) == text) {
                    ctl = &c;
                }
            }
        } else {
            ctl = dlg->Control(row.id);
        }
        const std::string where = std::to_string(row.dialog) + " " + std::to_string(row.id) + " " + row.text;
        ASSERT_NE(ctl, nullptr) << where;
        EXPECT_EQ(ctl->kind.toStdString(), row.kind) << where;
        EXPECT_EQ(Q(ctl->text).toStdString(), text.toStdString()) << where;
        const QStringList styles = QString(row.styles).split(' ', Qt::SkipEmptyParts);
        for (const QString& style : styles) {
            EXPECT_TRUE(ctl->Has(style)) << where << " lacks " << style.toStdString();
        }
        for (const char* state : {"HIDDEN", "DISABLED"}) {
            EXPECT_EQ(ctl->Has(state), styles.contains(state)) << where << " " << state;
        }
        if (*row.group) {
            EXPECT_TRUE(InGroup(*dlg, *ctl, QString::fromUtf8(row.group)))
                << where << " not in " << row.group;
        }
    }
}

TEST(ResourceTemplates, CompletelyListedTemplatesHaveNoOtherAddressedControls) {
    for (int id : {100, 102, 149, 150, 159, 160, 156}) {
        std::set<int> listed;
        for (const Row& row : kRows) {
            if (row.dialog == id && row.id != -1) {
                listed.insert(row.id);
            }
        }
        if (id != 100 && id != 102 && id != 149 && id != 150) {
            listed.insert({1078, 1079, 1080, 1081}); // the method panel
        }
        std::set<int> present;
        for (const ControlTemplate& ctl : DialogTemplate::Find(id)->controls) {
            if (ctl.id != -1) {
                present.insert(ctl.id);
            }
        }
        EXPECT_EQ(present, listed) << id;
    }
}

TEST(ResourceTemplates, EveryPageHasTheMethodPanelAndItsVerdictButtons) {
    struct PageIds {
        int dialog, pass, fail;
    };
    const PageIds pages[] = {{130, 1, 2},       {131, 1, 2},       {133, 1, 2},       {143, 1, 2},
                             {144, 1, 2},       {145, 1, 2},       {146, 1, 2},       {147, 1, 2},
                             {148, 1, -1},      {151, 1, 2},       {153, 1031, 1032}, {154, 1031, 1032},
                             {155, 1031, 1032}, {156, 1031, 1033}, {157, 1031, 1033}, {158, 1031, 1032},
                             {159, 1031, 1032}, {160, 1031, 1032}, {161, 1031, 1032}, {162, 1031, 1032}};
    for (const PageIds& p : pages) {
        const DialogTemplate& dlg = *DialogTemplate::Find(p.dialog);
        const int base = p.dialog == 151 ? 1080 : 1078; // the white-balance page's 1077-1079 are ratio fields
        const ControlTemplate* text = dlg.Control(base);
        const ControlTemplate* picture = dlg.Control(base + 1);
        const ControlTemplate* save = dlg.Control(base + 2);
        const ControlTemplate* change = dlg.Control(base + 3);
        ASSERT_TRUE(text && picture && save && change) << p.dialog;
        EXPECT_EQ(text->kind, "EDITTEXT") << p.dialog;
        EXPECT_TRUE(text->Has("MULTILINE") && text->Has("WANTRETURN")) << p.dialog;
        EXPECT_EQ(picture->kind, "PICTURE") << p.dialog;
        EXPECT_TRUE(picture->Has("NOTIFY")) << p.dialog;
        EXPECT_EQ(save->text, CString(L"검사 방법 변경")) << p.dialog;
        EXPECT_EQ(change->text, CString(L"이미지 변경")) << p.dialog;
        for (const ControlTemplate* c : {text, picture, save, change}) {
            EXPECT_TRUE(InGroup(dlg, *c, "검사 방법")) << p.dialog << " " << c->id;
        }
        bool hint = false;
        for (const ControlTemplate& c : dlg.controls) {
            hint = hint || Q(c.text) == "※ 더블 클릭 시 원본 이미지를 볼 수 있습니다.";
        }
        EXPECT_TRUE(hint) << p.dialog;

        const ControlTemplate* pass = dlg.Control(p.pass);
        ASSERT_NE(pass, nullptr) << p.dialog;
        EXPECT_EQ(pass->text, CString(p.dialog == 148 ? L"확인" : L"PASS")) << p.dialog;
        EXPECT_EQ(pass->kind == "DEFPUSHBUTTON", p.pass == 1 && p.dialog != 151) << p.dialog;
        if (p.fail != -1) {
            ASSERT_NE(dlg.Control(p.fail), nullptr) << p.dialog;
            EXPECT_EQ(dlg.Control(p.fail)->text, CString(L"FAIL")) << p.dialog;
        }
    }
    // The tap-balance page has no method panel.
    const DialogTemplate& tap = *DialogTemplate::Find(142);
    EXPECT_EQ(tap.Control(1078), nullptr);
    EXPECT_EQ(tap.Control(1079), nullptr);
    EXPECT_EQ(tap.Control(1)->kind, "DEFPUSHBUTTON");
}

TEST(ResourceTemplates, FirstUseFromSeveralThreadsLoadsOnce) {
    // ctest runs every test in a process of its own, so here the threads race for the first load.
    std::vector<const DialogTemplate*> found(8, nullptr);
    std::vector<std::size_t> counts(8, 0);
    std::vector<CString> strings(8);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&, i] {
            found[i] = DialogTemplate::Find(150);
            counts[i] = DialogTemplate::Ids().size();
            strings[i] = kavrino::LoadResourceString(101);
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_NE(found[i], nullptr);
        EXPECT_EQ(found[i], found[0]);
        EXPECT_EQ(counts[i], AllIds().size());
        EXPECT_EQ(strings[i], CString(L"Kavrino 정보(&A)..."));
    }
}

TEST(ResourceTemplates, StringTable) {
    EXPECT_EQ(kavrino::LoadResourceString(101), CString(L"Kavrino 정보(&A)..."));
    EXPECT_TRUE(kavrino::LoadResourceString(102).IsEmpty());
    EXPECT_TRUE(kavrino::LoadResourceString(0).IsEmpty());
}

TEST(ResourceTemplates, IconCursorsAndBanner) {
    struct Picture {
        const char* path;
        int width, height;
        bool transparentCorners;
    };
    for (const Picture& p :
         {Picture{":/res/icon128.xpm", 32, 32, true}, Picture{":/res/cursor139.xpm", 32, 32, true},
          Picture{":/res/cursor140.xpm", 32, 32, true}, Picture{":/res/bitmap152.xpm", 180, 60, false}}) {
        const QImage image(p.path);
        ASSERT_FALSE(image.isNull()) << p.path;
        EXPECT_EQ(image.width(), p.width) << p.path;
        EXPECT_EQ(image.height(), p.height) << p.path;
        const int w = image.width() - 1, h = image.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)}) {
            EXPECT_EQ(qAlpha(image.pixel(corner)) == 0, p.transparentCorners) << p.path;
        }
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255) << p.path;
    }
    // The two hands differ: one is open, one grabs.
    EXPECT_NE(QImage(":/res/cursor139.xpm"), QImage(":/res/cursor140.xpm"));
}

} // namespace
