// The trigger and I/O page on the simulated camera: the checked writes with their radio marks, the line
// direction read back, the software trigger as the one step, the restore whose "TriggerMode" is checked,
// and the configuration-file change.

#include "CTriggerIODlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

namespace {

class TriggerPageTest : public PageTest {
protected:
    void Open() {
        OpenConnected({L"트리거와 지피아이오"});
        m_pPage = m_dlg->m_pTriggerIODlg;
        ASSERT_NE(m_pPage, nullptr);
        Click(CKavrinoDlg::IDC_LIVE);
        ASSERT_TRUE(m_dlg->m_bLive);
        m_boxes.Clear();
        m_pPage->ShowWindow(SW_SHOW);
    }
    UINT Checked(int id) const { return m_pPage->IsDlgButtonChecked(id); }

    CTriggerIODlg* m_pPage = nullptr;
};

} // namespace

TEST_F(TriggerPageTest, SoftwareTriggerIsTheOneStepAndPassRestoresTheDefaults) {
    Open();
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_TRIGGER_OFF), BST_CHECKED);
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ Software\r\n"});

    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    ASSERT_NE(camera, nullptr);
    const auto nTriggers = camera->SoftwareTriggers();
    Press(m_pPage, CTriggerIODlg::IDC_TRIGGER_ON);
    Press(m_pPage, CTriggerIODlg::IDC_SOURCE_SOFTWARE);
    Press(m_pPage, CTriggerIODlg::IDC_SOFTWARE_TRIGGER);
    EXPECT_EQ(TextFeature(L"TriggerMode"), L"On");
    EXPECT_EQ(TextFeature(L"TriggerSource"), L"Software");
    EXPECT_EQ(camera->SoftwareTriggers(), nTriggers + 1);
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_TRIGGER_OFF), BST_UNCHECKED);
    EXPECT_TRUE(m_dlg->m_bLive); // the page never stops acquisition

    Press(m_pPage, CTriggerIODlg::IDC_LINE4);
    m_pPage->CheckDlgButton(CTriggerIODlg::IDC_LINE_INVERTER, BST_CHECKED);
    Press(m_pPage, CTriggerIODlg::IDC_LINE_INVERTER);
    EXPECT_EQ(BoolFeature(L"LineInverter"), 1);

    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(TextFeature(L"TriggerMode"), L"Off");
    EXPECT_EQ(TextFeature(L"TriggerSource"), L"CXP_Trigger");
    EXPECT_EQ(TextFeature(L"LineSelector"), L"Line1");
    EXPECT_EQ(BoolFeature(L"LineInverter"), 0);
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_TRIGGER_OFF), BST_CHECKED);
    // The other controls keep the operator's last choice.
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_SOURCE_SOFTWARE), BST_CHECKED);
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_LINE4), BST_CHECKED);
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_LINE_INVERTER), BST_CHECKED);
    EXPECT_EQ(m_pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
}

TEST_F(TriggerPageTest, FailLeavesTheModeRadiosAndARefusedModeKeepsThePage) {
    Open();
    Press(m_pPage, CTriggerIODlg::IDC_TRIGGER_ON);
    Refuse(L"TriggerMode");
    Press(m_pPage, IDCANCEL);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'TriggerMode'"});
    EXPECT_TRUE(Visible(m_pPage));
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));

    Refuse(L"TriggerMode", false);
    Press(m_pPage, IDCANCEL);
    EXPECT_EQ(TextFeature(L"TriggerMode"), L"Off");
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_TRIGGER_ON), BST_CHECKED);
    EXPECT_EQ(m_pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
}

TEST_F(TriggerPageTest, LineDirectionIsReadBackAndFailedWritesAreReported) {
    Open();
    // Each source and line radio writes its own entry.
    const std::pair<int, const wchar_t*> sources[] = {{CTriggerIODlg::IDC_SOURCE_LINE4, L"Line4"},
                                                      {CTriggerIODlg::IDC_SOURCE_CXP, L"CXP_Trigger"},
                                                      {CTriggerIODlg::IDC_SOURCE_SOFTWARE, L"Software"}};
    for (const auto& [id, source] : sources) {
        Press(m_pPage, id);
        EXPECT_EQ(TextFeature(L"TriggerSource"), source);
        EXPECT_EQ(Checked(id), BST_CHECKED);
    }
    const std::pair<int, const wchar_t*> lines[] = {{CTriggerIODlg::IDC_LINE6, L"Line6"},
                                                    {CTriggerIODlg::IDC_LINE1, L"Line1"},
                                                    {CTriggerIODlg::IDC_LINE4, L"Line4"}};
    for (const auto& [id, line] : lines) {
        Press(m_pPage, id);
        EXPECT_EQ(TextFeature(L"LineSelector"), line);
    }
    Press(m_pPage, CTriggerIODlg::IDC_LINE5); // an output on this camera
    EXPECT_EQ(TextFeature(L"LineSelector"), L"Line5");
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_LINE_OUTPUT), BST_CHECKED);
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_LINE_INPUT), BST_UNCHECKED);
    Press(m_pPage, CTriggerIODlg::IDC_LINE4);
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_LINE_INPUT), BST_CHECKED);
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_LINE_OUTPUT), BST_UNCHECKED);

    // A refused line: its radio is marked, the read-back skipped.
    Refuse(L"LineSelector");
    Press(m_pPage, CTriggerIODlg::IDC_LINE6);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'LineSelector'"});
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_LINE6), BST_CHECKED);
    EXPECT_EQ(Checked(CTriggerIODlg::IDC_LINE_INPUT), BST_CHECKED);
    Refuse(L"LineSelector", false);

    // A refused trigger is a failed step, still tried.
    m_boxes.Clear();
    Refuse(L"TriggerSoftware");
    Press(m_pPage, CTriggerIODlg::IDC_SOFTWARE_TRIGGER);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'TriggerSoftware'"});
    CString strErrors;
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: Software ");

    // A camera without "LineInverter": the box reports it, the restore's unchecked write does not.
    m_boxes.Clear();
    kavrino::SimCameraRegistry::Find(L"P0001")->SetMissing(L"LineInverter", true);
    Press(m_pPage, CTriggerIODlg::IDC_LINE_INVERTER);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'LineInverter'"});
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));

    // Shown again: the trigger that succeeds is not blamed for the restore's failed "LineInverter".
    ResetEvent(m_pPage->m_hEvent);
    Refuse(L"TriggerSoftware", false);
    Press(m_pPage, CTriggerIODlg::IDC_SOFTWARE_TRIGGER);
    EXPECT_TRUE(PageBoxes().empty());
    strErrors.Empty();
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"");
}

TEST_F(TriggerPageTest, ConfigurationFileChangeReallocatesTheGrabberAndLeavesLiveStopped) {
    Open();
    const CString strTenBit = m_dcfList.GetAt(m_dcfList.FindIndex(1));
    kavrino::FileDialogAnswer answer(strTenBit);
    Press(m_pPage, CTriggerIODlg::IDC_CHANGE_DCF);
    ASSERT_EQ(answer.Requests().size(), 1u);
    EXPECT_EQ(answer.Requests()[0].filter, L"DCF File (*.dcf)|*.dcf|");
    EXPECT_EQ(answer.Requests()[0].flags, OFN_ENABLESIZING);
    EXPECT_EQ(m_dlg->m_strDcfFile, strTenBit);
    EXPECT_NE(m_dlg->m_milDigitizer, M_NULL);
    EXPECT_FALSE(m_dlg->m_bLive);
}
