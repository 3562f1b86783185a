// Saving and loading the set-up window's sections of the test-set file.

#include "CLoginDlgTestFixture.h"

#include <string>

using kavrino_test::SetupWindowTest;

namespace {

CString Value(const wchar_t* section, const wchar_t* key, const CString& path) {
    wchar_t buffer[1024] = {};
    GetPrivateProfileString(section, key, L"<missing>", buffer, 1024, path);
    return CString(buffer);
}

} // namespace

class TestSetFileTest : public SetupWindowTest {
protected:
    // Saves through "검사 파일 저장" into the path.
    void Save(const CString& path) {
        kavrino::FileDialogAnswer files(path);
        Click(CLoginDlg::IDC_SAVE_TEST_FILE);
        ASSERT_EQ(files.Requests().size(), 1u);
        const kavrino::FileDialogRequest& request = files.Requests()[0];
        EXPECT_FALSE(request.open);
        EXPECT_EQ(request.defaultExtension, L"INI file");
        EXPECT_EQ(request.flags, OFN_ENABLESIZING);
        EXPECT_EQ(request.filter, L"INI File (*.ini)|*.ini|");
    }
    // Loads through "검사 파일 불러오기" from the path.
    void Load(const CString& path) {
        kavrino::FileDialogAnswer files(path);
        Click(CLoginDlg::IDC_LOAD_TEST_FILE);
        ASSERT_EQ(files.Requests().size(), 1u);
        EXPECT_TRUE(files.Requests()[0].open);
        EXPECT_EQ(files.Requests()[0].defaultExtension, L"INI file");
        EXPECT_EQ(files.Requests()[0].flags, OFN_ENABLESIZING);
    }
    void AddItems(std::initializer_list<const wchar_t*> items) {
        for (const wchar_t* item : items)
            m_dlg->m_listTestItems.AddString(item);
    }
    void AddFrames(std::initializer_list<const wchar_t*> frames) {
        for (const wchar_t* frame : frames)
            m_dlg->m_listFrames.AddString(frame);
    }
    // A fresh window, as after a restart of the program.
    void Reopen() {
        m_dlg->DestroyWindow();
        m_dlg = std::make_unique<CLoginDlg>();
        ASSERT_TRUE(m_dlg->Create(CLoginDlg::IDD, nullptr));
    }
};

TEST_F(TestSetFileTest, SaveAndLoadEveryKey) {
    LoginAsAdministrator();
    AddItems({L"비닝", L"탭 밸런스", L"비닝", L"리버스"});
    AddFrames({L"30", L"7.5"});
    Check(CLoginDlg::IDC_COLOR_CAMERA, true);
    SetText(CLoginDlg::IDC_DCF8_PATH, L"samples/mono_8bit.dcf");
    SetText(CLoginDlg::IDC_DCF10_PATH, L"/경로/mono 10bit.dcf");
    SetText(CLoginDlg::IDC_DCF12_PATH, L"mono_12bit.dcf"); // as a loaded file gives it
    SetText(CLoginDlg::IDC_DEVIATION_LIMIT, L"12a");       // kept as typed
    Check(CLoginDlg::IDC_NOISE, false);
    Check(CLoginDlg::IDC_VOLTAGE, false);
    SetText(CLoginDlg::IDC_CURRENT_REF, L"abc"); // saved as a number
    SetText(CLoginDlg::IDC_VOLTAGE_REF, L"-5");
    const CString path = PathOf("set.ini");
    Save(path);

    EXPECT_EQ(theApp.g_strIniPath, path);
    EXPECT_TRUE(Text(CLoginDlg::IDC_TEST_FILE_NAME).IsEmpty());
    EXPECT_EQ(m_dlg->m_strDcf8, L"samples/mono_8bit.dcf");
    EXPECT_EQ(m_boxes.Count(), 0u);

    // The file, section by section in the order written, in the Korean code page as the original writes
    // a new test set.
    const std::string expected = kavrino::WideToCp949(
        L"[ItemCount]\r\n검사항목=4\r\n"
        L"[0]\r\n검사항목=비닝\r\n[1]\r\n검사항목=탭 밸런스\r\n"
        L"[2]\r\n검사항목=비닝\r\n[3]\r\n검사항목=리버스\r\n"
        L"[ISCOLOR]\r\n컬러카메라=1\r\n"
        L"[AcqCount]\r\n프레임항목=2\r\n[ACQ0]\r\n프레임항목=30\r\n[ACQ1]\r\n프레임항목=7.5\r\n"
        L"[8BIT]\r\nDCF_PATH=samples/mono_8bit.dcf\r\n"
        L"[10BIT]\r\nDCF_PATH=/경로/mono 10bit.dcf\r\n"
        L"[12BIT]\r\nDCF_PATH=mono_12bit.dcf\r\n"
        L"[BRIGHT_DIFF]\r\n휘도편차=12a\r\n"
        L"[기타검사]\r\nNOISE=0\r\nBLOOMING=1\r\nRESOLUTION=1\r\nELECTRIC=1\r\nVOLTAGE=0\r\n"
        L"ELECTRIC_VALUE=0\r\nVOLTAGE_VALUE=-5\r\n");
    std::string bytes = ReadBytes(path).toStdString();
    // Blank lines between sections are the file writer's business.
    for (std::size_t at; (at = bytes.find("\r\n\r\n")) != std::string::npos;)
        bytes.erase(at, 2);
    EXPECT_EQ(bytes, expected);

    // Into a fresh window: every control as saved; nothing is enabled by loading.
    Reopen();
    theApp.g_strIniPath.Empty();
    Load(path);
    EXPECT_EQ(theApp.g_strIniPath, path);
    EXPECT_EQ(Text(CLoginDlg::IDC_TEST_FILE_NAME), L"set.ini");
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), Names({L"비닝", L"탭 밸런스", L"비닝", L"리버스"}));
    EXPECT_EQ(Entries(m_dlg->m_listFrames), Names({L"30", L"7.5"}));
    EXPECT_TRUE(Checked(CLoginDlg::IDC_COLOR_CAMERA));
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF8_PATH), L"samples/mono_8bit.dcf");
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF10_PATH), L"/경로/mono 10bit.dcf");
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF12_PATH), L"mono_12bit.dcf");
    EXPECT_TRUE(m_dlg->m_strDcf8.IsEmpty()); // the members follow the edits only at start and save
    EXPECT_EQ(Text(CLoginDlg::IDC_DEVIATION_LIMIT), L"12a");
    EXPECT_FALSE(Checked(CLoginDlg::IDC_NOISE));
    EXPECT_TRUE(Checked(CLoginDlg::IDC_BLOOMING));
    EXPECT_TRUE(Checked(CLoginDlg::IDC_RESOLUTION));
    EXPECT_TRUE(Checked(CLoginDlg::IDC_CURRENT));
    EXPECT_FALSE(Checked(CLoginDlg::IDC_VOLTAGE));
    EXPECT_EQ(Text(CLoginDlg::IDC_CURRENT_REF), L"0");
    EXPECT_EQ(Text(CLoginDlg::IDC_VOLTAGE_REF), L"-5");
    for (int id : kavrino_test::AdministratorSet())
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(TestSetFileTest, SaveRefusesEmptyListsAndACancelChangesNothing) {
    LoginAsAdministrator();
    theApp.g_strIniPath = PathOf("previous.ini");
    {
        kavrino::FileDialogAnswer files(PathOf("set.ini"));
        Click(CLoginDlg::IDC_SAVE_TEST_FILE);
        AddItems({L"비닝"});
        Click(CLoginDlg::IDC_SAVE_TEST_FILE);
        EXPECT_TRUE(files.Requests().empty());
    }
    EXPECT_EQ(m_boxes.Texts(), Names({L"검사 할 항목을 추가하세요.", L"프레임레이트 항목을 추가하세요."}));

    AddFrames({L"30"});
    kavrino::FileDialogAnswer cancel{CString()};
    Click(CLoginDlg::IDC_SAVE_TEST_FILE);
    Click(CLoginDlg::IDC_LOAD_TEST_FILE);
    EXPECT_EQ(cancel.Requests().size(), 2u);
    EXPECT_EQ(theApp.g_strIniPath, PathOf("previous.ini"));
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), Names({L"비닝"}));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("set.ini")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("previous.ini")));
}

TEST_F(TestSetFileTest, ASetThatCannotBeSavedIsTold) {
    LoginAsAdministrator();
    AddItems({L"비닝"});
    AddFrames({L"30"});
    Save(PathOf("set.ini"));
    EXPECT_EQ(m_boxes.Count(), 0u); // a save that went through says nothing
    const CString nowhere = PathOf("no-such-folder/set.ini");
    Save(nowhere);
    EXPECT_EQ(m_boxes.Texts(), Names({L"검사 파일 저장 실패"}));
    EXPECT_EQ(theApp.g_strIniPath, nowhere);
}

// "화" in the Korean code page (C8 AD) is also well-formed UTF-8, so a new test set (written in that code
// page) refuses a configuration-file path in a folder of that name; the rows written before it must not
// stay behind, beside the set's old configuration files or as a half set in a new file.
TEST_F(TestSetFileTest, ASaveThatFailsPartWayLeavesTheFileAsItWas) {
    LoginAsAdministrator();
    AddItems({L"비닝"});
    AddFrames({L"30"});
    SetText(CLoginDlg::IDC_DCF10_PATH, L"/cam/mono_10bit.dcf");
    const CString path = PathOf("set.ini");
    Save(path);
    ASSERT_EQ(m_boxes.Count(), 0u);
    const QByteArray saved = ReadBytes(path);

    m_dlg->m_listTestItems.ResetContent();
    AddItems({L"ROI", L"리버스"});
    SetText(CLoginDlg::IDC_DCF10_PATH, L"/cam/☃/mono_10bit.dcf");
    Save(path);
    EXPECT_EQ(m_boxes.Texts(), Names({L"검사 파일 저장 실패"}));
    EXPECT_EQ(ReadBytes(path), saved);
    Load(path);
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), Names({L"비닝"}));
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF10_PATH), L"/cam/mono_10bit.dcf");

    SetText(CLoginDlg::IDC_DCF10_PATH, L"/cam/☃/mono_10bit.dcf");
    const CString fresh = PathOf("fresh.ini");
    Save(fresh);
    EXPECT_FALSE(QFile::exists(QString::fromStdWString(static_cast<LPCWSTR>(fresh))));
}

TEST_F(TestSetFileTest, SavingKeepsPageSectionsAndLeftoverItemsThatLoadingIgnores) {
    const CString path = PathOf("set.ini");
    WriteBytes(path, "[BINNING]\r\n검사방법=ON,OFF\r\n이미지경로=/ref/binning.bmp\r\n");
    LoginAsAdministrator();
    AddItems({L"ROI", L"비닝", L"리버스"});
    AddFrames({L"30", L"60", L"90"});
    Save(path);
    m_dlg->m_listTestItems.ResetContent();
    m_dlg->m_listFrames.ResetContent();
    AddItems({L"데시메이션"});
    AddFrames({L"15"});
    Save(path);

    EXPECT_EQ(Value(L"BINNING", L"검사방법", path), L"ON,OFF");
    EXPECT_EQ(Value(L"BINNING", L"이미지경로", path), L"/ref/binning.bmp");
    EXPECT_EQ(Value(L"2", L"검사항목", path), L"리버스");
    EXPECT_EQ(Value(L"ACQ2", L"프레임항목", path), L"90");

    Load(path);
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), Names({L"데시메이션"}));
    EXPECT_EQ(Entries(m_dlg->m_listFrames), Names({L"15"}));
}

TEST_F(TestSetFileTest, LoadingKeepsGapsAndCutsLongValues) {
    const CString path = PathOf("set.ini");
    const std::string longPath = "/" + std::string(299, 'd');
    WriteBytes(path, QByteArray::fromStdString("[ItemCount]\n검사항목= 3xyz\n[0]\n검사항목=전압전류\n"
                                               "[2]\n검사항목=ROI\n[AcqCount]\n프레임항목=1\n"
                                               "[8BIT]\nDCF_PATH=" +
                                               longPath + "\n[기타검사]\nNOISE=1\nVOLTAGE=7\n"));
    Load(path);
    // A missing item section is an empty entry; a name the window does not offer stays.
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), Names({L"전압전류", L"", L"ROI"}));
    EXPECT_EQ(Entries(m_dlg->m_listFrames), Names({L""}));
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF8_PATH), CString(longPath.substr(0, 254).c_str()));
    EXPECT_TRUE(Checked(CLoginDlg::IDC_NOISE));
    EXPECT_TRUE(Checked(CLoginDlg::IDC_VOLTAGE));
    // Keys that are missing clear what the window showed before.
    EXPECT_FALSE(Checked(CLoginDlg::IDC_BLOOMING));
    EXPECT_FALSE(Checked(CLoginDlg::IDC_RESOLUTION));
    EXPECT_FALSE(Checked(CLoginDlg::IDC_COLOR_CAMERA));
    EXPECT_TRUE(Text(CLoginDlg::IDC_CURRENT_REF).IsEmpty());
}

TEST_F(TestSetFileTest, DamagedCountsNeitherHangNorExhaustMemory) {
    const CString path = PathOf("set.ini");
    for (const char* count : {"-3", "abc", "", "-2147483648"}) {
        WriteBytes(path, QByteArray("[ItemCount]\n검사항목=") + count +
                             "\n[0]\n검사항목=ROI\n[AcqCount]\n프레임항목=" + count +
                             "\n[ACQ0]\n프레임항목=30\n");
        Load(path);
        EXPECT_EQ(m_dlg->m_listTestItems.GetCount(), 0) << count;
        EXPECT_EQ(m_dlg->m_listFrames.GetCount(), 0) << count;
    }
    // Far more entries than any test set holds: cut to the bound.
    WriteBytes(path,
               "[ItemCount]\n검사항목=2147483647\n[0]\n검사항목=ROI\n[AcqCount]\n프레임항목=99999999999\n");
    Load(path);
    EXPECT_EQ(m_dlg->m_listTestItems.GetCount(), CLoginDlg::kMaxLoadedEntries);
    EXPECT_EQ(m_dlg->m_listFrames.GetCount(), CLoginDlg::kMaxLoadedEntries);
    EXPECT_EQ(Entries(m_dlg->m_listTestItems)[0], L"ROI");
}

TEST_F(TestSetFileTest, MissingFileEmptiesEverythingWithoutAMessage) {
    LoginAsAdministrator();
    AddItems({L"ROI"});
    AddFrames({L"30"});
    SetText(CLoginDlg::IDC_DCF8_PATH, L"samples/mono_8bit.dcf");
    SetText(CLoginDlg::IDC_DEVIATION_LIMIT, L"10");
    Load(PathOf("gone.ini"));
    EXPECT_EQ(m_dlg->m_listTestItems.GetCount(), 0);
    EXPECT_EQ(m_dlg->m_listFrames.GetCount(), 0);
    for (int id : {1057, 1078, 1079, 1058, 1142, 1143})
        EXPECT_FALSE(Checked(id)) << id;
    for (int id : {1071, 1076, 1077, 1111, 1112, 1113})
        EXPECT_TRUE(Text(id).IsEmpty()) << id;
    EXPECT_EQ(Text(CLoginDlg::IDC_TEST_FILE_NAME), L"gone.ini");
    EXPECT_EQ(theApp.g_strIniPath, PathOf("gone.ini"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("gone.ini")));
    EXPECT_EQ(m_boxes.Count(), 0u);
}

// A test set written by a station that runs the original: the Korean code page throughout, also where a
// line's bytes happen to form UTF-8 ("화" is C8 AD, "창" C3 A2). It loads as that station reads it, and
// saving it again unchanged gives the same bytes.
TEST_F(TestSetFileTest, LoadsAFileWrittenInTheKoreanCodePage) {
    const std::wstring text =
        L"[ItemCount]\r\n검사항목=2\r\n[0]\r\n검사항목=화이트 밸런스\r\n[1]\r\n검사항목=휘도편차\r\n"
        L"[ISCOLOR]\r\n컬러카메라=1\r\n[AcqCount]\r\n프레임항목=1\r\n[ACQ0]\r\n프레임항목=25\r\n"
        L"[8BIT]\r\nDCF_PATH=C:\\카메라\\color_8bit.dcf\r\n[10BIT]\r\nDCF_PATH=C:\\화\\cam.dcf\r\n"
        L"[12BIT]\r\nDCF_PATH=D:\\창\\cam12.dcf\r\n[BRIGHT_DIFF]\r\n휘도편차=15\r\n"
        L"[기타검사]\r\nNOISE=1\r\nBLOOMING=0\r\nRESOLUTION=0\r\nELECTRIC=0\r\nVOLTAGE=0\r\n"
        L"ELECTRIC_VALUE=450\r\nVOLTAGE_VALUE=0\r\n";
    const std::string cp949 = kavrino::WideToCp949(text);
    ASSERT_FALSE(kavrino::IsValidUtf8(cp949));
    ASSERT_TRUE(kavrino::IsValidUtf8(kavrino::WideToCp949(L"DCF_PATH=C:\\화\\cam.dcf")));
    const CString path = PathOf("cp949.ini");
    WriteBytes(path, QByteArray::fromStdString(cp949));
    Load(path);
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), Names({L"화이트 밸런스", L"휘도편차"}));
    EXPECT_EQ(Entries(m_dlg->m_listFrames), Names({L"25"}));
    EXPECT_TRUE(Checked(CLoginDlg::IDC_COLOR_CAMERA));
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF8_PATH), L"C:\\카메라\\color_8bit.dcf");
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF10_PATH), L"C:\\화\\cam.dcf");
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF12_PATH), L"D:\\창\\cam12.dcf");
    EXPECT_EQ(Text(CLoginDlg::IDC_DEVIATION_LIMIT), L"15");
    EXPECT_EQ(Text(CLoginDlg::IDC_CURRENT_REF), L"450");

    // Saving back keeps the file in its code page, byte for byte.
    LoginAsAdministrator();
    Save(path);
    EXPECT_EQ(m_boxes.Count(), 0u);
    EXPECT_EQ(ReadBytes(path).toStdString(), cp949);
}

TEST_F(TestSetFileTest, TheSampleTestSetLoads) {
    Load(CString(KAVRINO_SOURCE_DIR "/samples/testset/sample.ini"));
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), Names({L"비닝", L"데시메이션", L"리버스"}));
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF8_PATH), L"samples/mono_8bit.dcf");
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF10_PATH), L"samples/mono_10bit.dcf");
    EXPECT_TRUE(QFile::exists(KAVRINO_SOURCE_DIR "/samples/mono_8bit.dcf"));
    EXPECT_TRUE(QFile::exists(KAVRINO_SOURCE_DIR "/samples/mono_10bit.dcf"));
    EXPECT_FALSE(Text(CLoginDlg::IDC_DEVIATION_LIMIT).IsEmpty());
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(TestSetFileTest, TheFullSampleNamesEverySupportedItemForTheColourCamera) {
    Load(CString(KAVRINO_SOURCE_DIR "/samples/testset/full.ini"));
    std::vector<CString> supported;
    for (int i = 0; i < m_dlg->m_listSupported.GetCount(); ++i) {
        CString text;
        m_dlg->m_listSupported.GetText(i, text);
        supported.push_back(text);
    }
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), supported);
    EXPECT_TRUE(Checked(CLoginDlg::IDC_COLOR_CAMERA));
    for (int id : {CLoginDlg::IDC_DCF8_PATH, CLoginDlg::IDC_DCF10_PATH, CLoginDlg::IDC_DCF12_PATH})
        EXPECT_TRUE(QFile::exists(QString(KAVRINO_SOURCE_DIR "/") + QString::fromStdWString(Text(id).str())));
    EXPECT_EQ(m_boxes.Count(), 0u);
}
