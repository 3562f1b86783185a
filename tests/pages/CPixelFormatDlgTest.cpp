// The pixel-format page on the simulated camera: which buttons the configuration files and the colour
// flag leave, each format change as a re-allocation of the grabber with the file of its bit depth, the
// refused format, PASS and FAIL back to "Mono8", and the hidden configuration-file button.

#include "CPixelFormatDlg.h"
#include "PageFixture.h"

#include <QFile>

using kavrino_test::PageTest;

namespace {

class PixelFormatPageTest : public PageTest {
protected:
    // The main window as the set-up window hands it over, with this colour flag, connected and live.
    void OpenPage(bool bColor) {
        m_bColor = bColor;
        Open();
        m_dlg->ShowWindow(SW_SHOW);
        m_pPage = m_dlg->m_pPixelFormatDlg;
        ASSERT_NE(m_pPage, nullptr);
        m_pPage->ShowWindow(SW_SHOW);
        Click(CKavrinoDlg::IDC_CONNECT);
        ASSERT_TRUE(m_dlg->m_bConnected);
        m_dlg->StartLive();
        m_boxes.Clear();
    }

    // Three files of one camera that offers the 12-bit formats as well.
    void UseTwelveBitCamera(bool bColor) {
        m_dcfList.RemoveAll();
        for (int bits : {8, 10, 12}) {
            const QString path = m_dir.filePath(QString("twelve_%1bit.dcf").arg(bits));
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QString("model = KV-X640\nserial = %1\nsensor = 320 x 240\ncolor = %2\n"
                               "pixel_formats = Mono8, Mono10, Mono12%3\nfps_max = 30\nbits = %4\n")
                           .arg(m_serial)
                           .arg(bColor ? "yes" : "no")
                           .arg(bColor ? ", BayerRG8, BayerRG10, BayerRG12" : "")
                           .arg(bits)
                           .toUtf8());
            m_dcfList.AddTail(CString(path.toStdWString()));
        }
    }

    CString Dcf(int nIndex) const { return m_dcfList.GetAt(m_dcfList.FindIndex(nIndex)); }
    MIL_INT GrabBits() const { return MbufInquire(m_dlg->m_milImage, M_SIZE_BIT, M_NULL); }
    bool Enabled(int id) const { return m_pPage->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

    CPixelFormatDlg* m_pPage = nullptr;
};

} // namespace

TEST_F(PixelFormatPageTest, MonoCameraWithTwoFilesKeepsTheMonoButtonsOnly) {
    OpenPage(false);
    EXPECT_EQ(m_pPage->m_strDcf8, Dcf(0));
    EXPECT_EQ(m_pPage->m_strDcf10, Dcf(1));
    EXPECT_TRUE(m_pPage->m_strDcf12.IsEmpty());
    EXPECT_TRUE(Enabled(CPixelFormatDlg::IDC_MONO8));
    EXPECT_TRUE(Enabled(CPixelFormatDlg::IDC_MONO10));
    for (int id : {CPixelFormatDlg::IDC_MONO12, CPixelFormatDlg::IDC_BAYER_RG8,
                   CPixelFormatDlg::IDC_BAYER_RG10, CPixelFormatDlg::IDC_BAYER_RG12})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(m_pPage->m_vecButtonIds, (std::vector<int>{1028, 1033}));

    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ 모노 8\r\n@ 모노 10\r\n"});

    // "모노 10": the camera, the main window's name and combo, the 10-bit file and a 16-bit buffer.
    Press(m_pPage, CPixelFormatDlg::IDC_MONO10);
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"Mono10");
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono10");
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), 1);
    EXPECT_EQ(m_dlg->m_strDcfFile, Dcf(1));
    EXPECT_EQ(GrabBits(), 16);
    EXPECT_TRUE(m_dlg->m_bLive);

    Press(m_pPage, CPixelFormatDlg::IDC_MONO8);
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(m_pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_FALSE(Visible(m_pPage));
    EXPECT_EQ(m_dlg->m_strDcfFile, Dcf(0));
    EXPECT_EQ(GrabBits(), 8);
    CString strErrors = L"-";
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"-"); // the disabled steps never count as failed
    // The steps the set-up rules out stay tried for the next showing; the others are untried again, so
    // a second run can end with PASS once both mono steps are done again.
    EXPECT_EQ(m_pPage->m_vecItems[CPixelFormatDlg::ITEM_MONO10].bTested, 0);
    ResetEvent(m_pPage->m_hEvent);
    m_pPage->ShowWindow(SW_SHOW);
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ 모노 8\r\n@ 모노 10\r\n"});
    Press(m_pPage, CPixelFormatDlg::IDC_MONO8);
    Press(m_pPage, CPixelFormatDlg::IDC_MONO10);
    Press(m_pPage, IDOK);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
}

TEST_F(PixelFormatPageTest, ColourCameraSwitchesToBayerWithTheFileOfItsDepth) {
    UseCamera(kavrino_test::CameraFile{m_serial, 320, 240, true, 8, 30.0});
    OpenPage(true);
    EXPECT_EQ(m_pPage->m_vecButtonIds, (std::vector<int>{1028, 1033, 1031, 1032}));

    Press(m_pPage, CPixelFormatDlg::IDC_BAYER_RG8);
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"BayerRG8");
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"BayerRG8");
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), 2);
    EXPECT_EQ(m_dlg->m_strDcfFile, Dcf(0));
    EXPECT_EQ(GrabBits(), 8);
    EXPECT_TRUE(m_dlg->m_bLive);
    Press(m_pPage, CPixelFormatDlg::IDC_BAYER_RG10);
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), 3);

    // FAIL before the rest: back to Mono8 with the 8-bit file, focus on "모노 8".
    m_pPage->GetDlgItem(CPixelFormatDlg::IDC_BAYER_RG10)->SetFocus();
    Press(m_pPage, IDCANCEL);
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"Mono8");
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), 0);
    EXPECT_EQ(m_dlg->m_strDcfFile, Dcf(0));
    EXPECT_EQ(m_pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    // Shown again, the page has its focus on "모노 8".
    m_pPage->ShowWindow(SW_SHOW);
    EXPECT_EQ(FocusId(), CPixelFormatDlg::IDC_MONO8);
}

TEST_F(PixelFormatPageTest, RefusedFormatStopsTheLiveViewAndHoldsTheVerdictBack) {
    OpenPage(false);
    Refuse(L"PixelFormat");
    Press(m_pPage, CPixelFormatDlg::IDC_MONO10);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'PixelFormat'"});
    EXPECT_FALSE(m_dlg->m_bLive);
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono8");
    EXPECT_EQ(m_dlg->m_strDcfFile, Dcf(0));
    EXPECT_EQ(m_pPage->m_vecItems[CPixelFormatDlg::ITEM_MONO10].bOk, 0);

    Press(m_pPage, CPixelFormatDlg::IDC_MONO8);
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'PixelFormat'"});
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));
    EXPECT_TRUE(Visible(m_pPage));

    // Disconnected: PASS and FAIL do nothing.
    Refuse(L"PixelFormat", false);
    m_dlg->m_bConnected = FALSE;
    m_boxes.Clear();
    Press(m_pPage, IDCANCEL);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));
    m_dlg->m_bConnected = TRUE;

    Press(m_pPage, IDOK);
    EXPECT_TRUE(m_dlg->m_bLive);
    EXPECT_EQ(m_pPage->m_bResult, 1);
    CString strErrors;
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: 모노 10 ");
}

TEST_F(PixelFormatPageTest, AFormatChangeIsNotBlamedForTheMainWindowsUncheckedExposure) {
    OpenPage(false);
    Refuse(L"ExposureTime");
    m_dlg->SetDlgItemText(CKavrinoDlg::IDC_EXPOSURE, L"5000");
    Click(CKavrinoDlg::IDC_EXPOSURE_APPLY);
    Press(m_pPage, CPixelFormatDlg::IDC_MONO10);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(m_pPage->m_vecItems[CPixelFormatDlg::ITEM_MONO10].bOk, 1);
    // The camera, the main window and the grab buffer agree on the new format.
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"Mono10");
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono10");
    EXPECT_EQ(m_dlg->m_strDcfFile, Dcf(1));
    EXPECT_EQ(GrabBits(), 16);
    EXPECT_TRUE(m_dlg->m_bLive);
}

TEST_F(PixelFormatPageTest, AFileThatGivesNoDigitizerDisconnectsTheMainWindow) {
    m_dcfList.SetAt(m_dcfList.FindIndex(1), CString(m_dir.filePath("missing_10bit.dcf").toStdWString()));
    OpenPage(false);
    Press(m_pPage, CPixelFormatDlg::IDC_MONO10);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"Mil 연결 실패"});
    EXPECT_FALSE(m_dlg->m_bConnected);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_CONNECT), L"연결");
    ExpectNoLibraryObjects();
    EXPECT_FALSE(m_dlg->m_bLive);
    // Without a camera nothing goes on: no verdict is handed over.
    m_boxes.Clear();
    for (TestItem& item : m_pPage->m_vecItems)
        item.bTested = 1;
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(m_pPage->m_bResult, 0);
    EXPECT_EQ(m_pPage->m_vecItems[CPixelFormatDlg::ITEM_MONO8].bTested, 1);
}

TEST_F(PixelFormatPageTest, TwelveBitFormatsUseTheTwelveBitFile) {
    UseTwelveBitCamera(true);
    OpenPage(true);
    EXPECT_EQ(m_pPage->m_vecButtonIds, (std::vector<int>{1028, 1033, 1030, 1031, 1032, 1034}));
    Press(m_pPage, CPixelFormatDlg::IDC_MONO12);
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"Mono12");
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono12");
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), -1); // the combo has no 12-bit entry
    EXPECT_EQ(m_dlg->m_strDcfFile, Dcf(2));
    EXPECT_EQ(GrabBits(), 16);
    Press(m_pPage, CPixelFormatDlg::IDC_BAYER_RG12);
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"BayerRG12");

    for (int id : {CPixelFormatDlg::IDC_MONO8, CPixelFormatDlg::IDC_MONO10, CPixelFormatDlg::IDC_BAYER_RG8,
                   CPixelFormatDlg::IDC_BAYER_RG10})
        Press(m_pPage, id);
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
}

TEST_F(PixelFormatPageTest, MissingFilesDisableTheirButtonsAndRefuseTheVerdict) {
    // No 10-bit file: "모노 10" and "BayerRG10" off and out of the key-pad list.
    UseCamera(kavrino_test::CameraFile{m_serial, 320, 240, true, 8, 30.0});
    m_dcfList.SetAt(m_dcfList.FindIndex(1), CString());
    OpenPage(true);
    EXPECT_EQ(m_pPage->m_vecButtonIds, (std::vector<int>{1028, 1031}));
    EXPECT_EQ(m_pPage->m_vecItems[CPixelFormatDlg::ITEM_MONO10].bTested, 1);
    // A press that reaches the handler anyway names the missing file and counts as tried.
    m_pPage->OnBnClickedMono10();
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"10비트 DCF파일을 선택하지 않았습니다."});
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"Mono8");

    // Without the 8-bit file neither PASS nor FAIL gives a verdict.
    m_pPage->m_strDcf8.Empty();
    m_boxes.Clear();
    Press(m_pPage, IDCANCEL);
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), (std::vector<CString>{L"8비트 DCF파일을 선택하지 않았습니다.",
                                                 L"8비트 DCF파일을 선택하지 않았습니다."}));
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));

    // A short list (or none) leaves the missing paths empty.
    CPixelFormatDlg page;
    CStringList shortList;
    shortList.AddTail(L"a.dcf");
    page.SetDcfPaths(&shortList);
    EXPECT_EQ(page.m_strDcf8, L"a.dcf");
    EXPECT_TRUE(page.m_strDcf10.IsEmpty());
    page.SetDcfPaths(nullptr);
    EXPECT_TRUE(page.m_strDcf8.IsEmpty());
}

TEST_F(PixelFormatPageTest, HiddenFileButtonReconnectsOnlyWithAChosenFile) {
    OpenPage(false);
    const MIL_ID milDigitizer = m_dlg->m_milDigitizer;
    {
        kavrino::FileDialogAnswer cancel(L"");
        Press(m_pPage, CPixelFormatDlg::IDC_CHANGE_DCF);
        ASSERT_EQ(cancel.Requests().size(), 1u);
        EXPECT_EQ(cancel.Requests()[0].filter, L"DCF File (*.dcf)|*.dcf|");
        EXPECT_EQ(cancel.Requests()[0].flags, OFN_ENABLESIZING);
    }
    EXPECT_EQ(m_dlg->m_milDigitizer, milDigitizer);
    EXPECT_TRUE(m_dlg->m_bLive);

    {
        kavrino::FileDialogAnswer answer(Dcf(1));
        Press(m_pPage, CPixelFormatDlg::IDC_CHANGE_DCF);
    }
    EXPECT_EQ(m_dlg->m_strDcfFile, Dcf(1));
    EXPECT_NE(m_dlg->m_milDigitizer, M_NULL);
    EXPECT_FALSE(m_dlg->m_bLive); // not restarted
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono8");
}
