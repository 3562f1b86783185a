#include "CLoginDlg.h"

#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

namespace {

const wchar_t kSetupPassword[] = L"plomek472";
const wchar_t kNamePlaceholder[] = L"이름입력";
const wchar_t kPasswordPlaceholder[] = L"패스워드입력";

// What the administrator login unlocks.
const int kAdministratorSet[] = {
    CLoginDlg::IDC_REGISTER_LOG, CLoginDlg::IDC_SUPPORTED,       CLoginDlg::IDC_ADD_ALL,
    CLoginDlg::IDC_ADD_ITEM,     CLoginDlg::IDC_REMOVE_ITEM,     CLoginDlg::IDC_FRAME_VALUE,
    CLoginDlg::IDC_ADD_FRAME,    CLoginDlg::IDC_DELETE_FRAME,    CLoginDlg::IDC_SAVE_TEST_FILE,
    CLoginDlg::IDC_COLOR_CAMERA, CLoginDlg::IDC_DEVIATION_LIMIT, CLoginDlg::IDC_RESOLUTION,
    CLoginDlg::IDC_NOISE,        CLoginDlg::IDC_BLOOMING,        CLoginDlg::IDC_CURRENT,
    CLoginDlg::IDC_VOLTAGE,      CLoginDlg::IDC_CURRENT_REF,     CLoginDlg::IDC_VOLTAGE_REF,
};

// The runner finds each item's page by exactly this text.
const wchar_t* const kSupportedItems[] = {
    L"ROI",           L"테스트 패턴", L"픽셀 포맷",      L"디바이스 정보",
    L"프레임 레이트", L"익스포즈",    L"게인",           L"트리거와 지피아이오",
    L"화이트 밸런스", L"얼라인검사",  L"블랙 레벨",      L"비닝",
    L"데시메이션",    L"리버스",      L"감마와 엘유티",  L"링크 컨피그",
    L"휘도편차",      L"휘도",        L"기타 체크 항목",
};

const wchar_t kLogDefExt[] = L"LOG file";
const wchar_t kLogFilter[] = L"LOG File (*.log)|*.log|";
const wchar_t kDcfDefExt[] = L"DCF file";
const wchar_t kDcfFilter[] = L"DCF File (*.dcf)|*.dcf|";

// Icon background while minimised.
constexpr COLORREF kIconBackground = RGB(240, 240, 240);

} // namespace

BEGIN_MESSAGE_MAP(CLoginDlg, CDialog)
ON_BN_CLICKED(IDOK, &CLoginDlg::OnBnClickedStart)
ON_WM_PAINT()
ON_BN_CLICKED(CLoginDlg::IDC_REGISTER_LOG, &CLoginDlg::OnBnClickedRegisterLog)
ON_BN_CLICKED(CLoginDlg::IDC_LOAD_LOG, &CLoginDlg::OnBnClickedLoadLog)
ON_EN_SETFOCUS(CLoginDlg::IDC_NAME, &CLoginDlg::OnEnSetfocusName)
ON_CONTROL_RANGE(BN_CLICKED, CLoginDlg::IDC_OPERATOR, CLoginDlg::IDC_ADMINISTRATOR,
                 &CLoginDlg::OnBnClickedUserType)
ON_BN_CLICKED(CLoginDlg::IDC_ADD_FRAME, &CLoginDlg::OnBnClickedAddFrame)
ON_BN_CLICKED(CLoginDlg::IDC_ADD_ITEM, &CLoginDlg::OnBnClickedAddItem)
ON_BN_CLICKED(CLoginDlg::IDC_REMOVE_ITEM, &CLoginDlg::OnBnClickedRemoveItem)
ON_BN_CLICKED(CLoginDlg::IDC_DELETE_FRAME, &CLoginDlg::OnBnClickedDeleteFrame)
ON_BN_CLICKED(CLoginDlg::IDC_ADD_ALL, &CLoginDlg::OnBnClickedAddAll)
ON_BN_CLICKED(CLoginDlg::IDC_SAVE_TEST_FILE, &CLoginDlg::OnBnClickedSaveTestFile)
ON_BN_CLICKED(CLoginDlg::IDC_LOAD_TEST_FILE, &CLoginDlg::OnBnClickedLoadTestFile)
ON_BN_CLICKED(CLoginDlg::IDC_ADMIN_LOGIN, &CLoginDlg::OnBnClickedAdminLogin)
ON_BN_CLICKED(CLoginDlg::IDC_DCF8, &CLoginDlg::OnBnClickedDcf8)
ON_BN_CLICKED(CLoginDlg::IDC_DCF10, &CLoginDlg::OnBnClickedDcf10)
ON_BN_CLICKED(CLoginDlg::IDC_DCF12, &CLoginDlg::OnBnClickedDcf12)
END_MESSAGE_MAP()

CLoginDlg::CLoginDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(128) : nullptr;
}

CLoginDlg::~CLoginDlg() = default;

void CLoginDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_OPERATOR, m_nUserType);
    DDX_Control(pDX, IDC_FRAMES, m_listFrames);
    DDX_Control(pDX, IDC_SUPPORTED, m_listSupported);
    DDX_Control(pDX, IDC_TEST_ITEMS, m_listTestItems);
    DDX_Control(pDX, IDC_COLOR_CAMERA, m_chkColorCamera);
}

BOOL CLoginDlg::PreTranslateMessage(MSG* pMsg) {
    // Enter and Esc never start a run nor close the window.
    return kavrino::EnterEscFilter(this, pMsg);
}

BOOL CLoginDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    SetDlgItemText(IDC_NAME, kNamePlaceholder);
    FocusAndSelectAll(IDC_NAME);
    SetDlgItemText(IDC_PASSWORD, kPasswordPlaceholder);

    EnableAdministratorSet(FALSE);
    GetDlgItem(IDC_PASSWORD)->EnableWindow(FALSE);
    GetDlgItem(IDC_ADMIN_LOGIN)->EnableWindow(FALSE);

    FillSupportedItems();
    return TRUE;
}

void CLoginDlg::FillSupportedItems() {
    for (const wchar_t* item : kSupportedItems)
        m_listSupported.AddString(item);
    CheckDlgButton(IDC_NOISE, BST_CHECKED);
    CheckDlgButton(IDC_BLOOMING, BST_CHECKED);
    CheckDlgButton(IDC_RESOLUTION, BST_CHECKED);
    CheckDlgButton(IDC_CURRENT, BST_CHECKED);
    CheckDlgButton(IDC_VOLTAGE, BST_CHECKED);
}

void CLoginDlg::EnableAdministratorSet(BOOL bEnable) {
    for (int nID : kAdministratorSet) {
        if (CWnd* pControl = GetDlgItem(nID))
            pControl->EnableWindow(bEnable);
    }
}

void CLoginDlg::FocusAndSelectAll(int nID) {
    auto* pEdit = static_cast<CEdit*>(GetDlgItem(nID));
    if (!pEdit)
        return;
    pEdit->SetFocus();
    pEdit->SetSel(0, -1);
}

void CLoginDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, kIconBackground);
    const int x = (rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

// ---- User type and administrator login

void CLoginDlg::OnBnClickedUserType(UINT nID) {
    UNREFERENCED_PARAMETER(nID);
    UpdateData(TRUE);
    if (m_nUserType == 1) {
        GetDlgItem(IDC_ADMIN_LOGIN)->EnableWindow(TRUE);
        GetDlgItem(IDC_PASSWORD)->EnableWindow(TRUE);
        FocusAndSelectAll(IDC_PASSWORD);
        return;
    }
    // Back to the operator: the contents stay, only the editing is locked again.
    EnableAdministratorSet(FALSE);
    GetDlgItem(IDC_PASSWORD)->EnableWindow(FALSE);
    GetDlgItem(IDC_ADMIN_LOGIN)->EnableWindow(FALSE);
    theApp.g_bEditMode = 0;
}

void CLoginDlg::OnBnClickedAdminLogin() {
    CString strPassword;
    GetDlgItemText(IDC_PASSWORD, strPassword);
    if (strPassword != kSetupPassword) {
        AfxMessageBox(L"패스워드가 틀립니다.");
        return;
    }
    EnableAdministratorSet(TRUE);
    theApp.g_bEditMode = 1;
}

// ---- Log file

CString CLoginDlg::OperatorName() {
    CString strName;
    GetDlgItemText(IDC_NAME, strName);
    strName.Trim();
    if (strName == kNamePlaceholder)
        strName.Empty();
    return strName;
}

BOOL CLoginDlg::ChooseLogFile(BOOL bOpen) {
    CFileDialog dlg(bOpen, kLogDefExt, nullptr, OFN_ENABLESIZING, kLogFilter);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    SetDlgItemText(IDC_LOG_NAME, dlg.GetFileName());
    theApp.m_LogFile.m_strPath = dlg.GetPathName();
    return TRUE;
}

void CLoginDlg::WriteOperatorLine(const CString& strName) {
    theApp.m_LogFile.Write(true, " 작업자 [%s] ", CT2A(strName).c_str());
}

void CLoginDlg::OnBnClickedRegisterLog() {
    const CString strName = OperatorName();
    if (strName.IsEmpty()) {
        AfxMessageBox(L"이름을 입력하세요");
        FocusAndSelectAll(IDC_NAME);
        return;
    }
    if (!ChooseLogFile(FALSE))
        return;
    if (!theApp.m_LogFile.Start())
        AfxMessageBox(L"로그파일 생성 실패");
    WriteOperatorLine(strName);
}

void CLoginDlg::OnBnClickedLoadLog() {
    const CString strName = OperatorName();
    if (strName.IsEmpty()) {
        FocusAndSelectAll(IDC_NAME);
        AfxMessageBox(L"이름을 입력하세요");
        return;
    }
    if (!ChooseLogFile(TRUE))
        return;
    // A log that cannot be written is told now, not discovered after a run whose report it lost.
    if (!theApp.m_LogFile.Write(false, "\r\n\r\n"))
        AfxMessageBox(L"로그파일 기록 실패");
    WriteOperatorLine(strName);
}

void CLoginDlg::OnEnSetfocusName() {
    // The operator types the name in Hangul.
    CWnd* pEdit = GetDlgItem(IDC_NAME);
    if (!pEdit)
        return;
    HIMC hContext = ImmGetContext(pEdit->GetSafeHwnd());
    ImmSetConversionStatus(hContext, IME_CMODE_NATIVE, IME_SMODE_CONVERSATION);
    ImmReleaseContext(pEdit->GetSafeHwnd(), hContext);
}

// ---- Lists

void CLoginDlg::AppendUnique(CListBox& list, const CString& strText) {
    // Exact and case-sensitive, unlike the list's own search.
    for (int i = 0; i < list.GetCount(); ++i) {
        CString strEntry;
        list.GetText(i, strEntry);
        if (strEntry == strText)
            return;
    }
    list.AddString(strText);
}

void CLoginDlg::DeleteSelected(CListBox& list) {
    const int nSel = list.GetCurSel();
    if (nSel < 0)
        return;
    list.DeleteString(static_cast<UINT>(nSel));
    const int nCount = list.GetCount();
    if (nCount > 0)
        list.SetCurSel(nSel < nCount ? nSel : nCount - 1);
}

void CLoginDlg::OnBnClickedAddItem() {
    const int nSel = m_listSupported.GetCurSel();
    if (nSel < 0)
        return;
    CString strItem;
    m_listSupported.GetText(nSel, strItem);
    AppendUnique(m_listTestItems, strItem);
}

void CLoginDlg::OnBnClickedAddAll() {
    for (int i = 0; i < m_listSupported.GetCount(); ++i) {
        CString strItem;
        m_listSupported.GetText(i, strItem);
        AppendUnique(m_listTestItems, strItem);
    }
}

void CLoginDlg::OnBnClickedRemoveItem() {
    DeleteSelected(m_listTestItems);
}

void CLoginDlg::OnBnClickedAddFrame() {
    CString strFrame;
    GetDlgItemText(IDC_FRAME_VALUE, strFrame);
    strFrame.Trim();
    if (strFrame.IsEmpty())
        return;
    AppendUnique(m_listFrames, strFrame);
    FocusAndSelectAll(IDC_FRAME_VALUE);
}

void CLoginDlg::OnBnClickedDeleteFrame() {
    DeleteSelected(m_listFrames);
}

// ---- Configuration files

void CLoginDlg::ChooseDcf(CString& strMember, int nEditId) {
    CFileDialog dlg(TRUE, kDcfDefExt, nullptr, OFN_ENABLESIZING, kDcfFilter);
    if (dlg.DoModal() != IDOK)
        return;
    strMember = dlg.GetPathName();
    SetDlgItemText(nEditId, strMember);
}

void CLoginDlg::OnBnClickedDcf8() {
    ChooseDcf(m_strDcf8, IDC_DCF8_PATH);
}

void CLoginDlg::OnBnClickedDcf10() {
    ChooseDcf(m_strDcf10, IDC_DCF10_PATH);
}

void CLoginDlg::OnBnClickedDcf12() {
    ChooseDcf(m_strDcf12, IDC_DCF12_PATH);
}

void CLoginDlg::ReadDcfEdits() {
    GetDlgItemText(IDC_DCF8_PATH, m_strDcf8);
    GetDlgItemText(IDC_DCF10_PATH, m_strDcf10);
    GetDlgItemText(IDC_DCF12_PATH, m_strDcf12);
}

// ---- Start

void CLoginDlg::CopyEntries(CListBox& list, CStringList& target) {
    for (int i = 0; i < list.GetCount(); ++i) {
        CString strEntry;
        list.GetText(i, strEntry);
        target.AddTail(strEntry);
    }
}

void CLoginDlg::OnBnClickedStart() {
    // The main window reads these lists through its pointers until it has closed.
    CStringList listItems(10);
    CStringList listFrames(10);
    CStringList listDcf(10);
    CopyEntries(m_listTestItems, listItems);
    CopyEntries(m_listFrames, listFrames);

    if (listItems.IsEmpty()) {
        GetDlgItem(IDC_LOAD_TEST_FILE)->SetFocus();
        AfxMessageBox(L"검사 할 항목을 추가하세요.");
        return;
    }
    if (theApp.m_LogFile.GetLogPath().IsEmpty()) {
        GetDlgItem(IDC_REGISTER_LOG)->SetFocus();
        AfxMessageBox(L"로그파일을 등록하세요.");
        return;
    }
    ReadDcfEdits();
    if (m_strDcf8.IsEmpty() && m_strDcf10.IsEmpty() && m_strDcf12.IsEmpty()) {
        AfxMessageBox(L"픽셀포맷 DCF파일을 등록하세요.");
        return;
    }
    listDcf.AddTail(m_strDcf8);
    listDcf.AddTail(m_strDcf10);
    listDcf.AddTail(m_strDcf12);

    ShowWindow(SW_HIDE);

    const int nNoise = IsDlgButtonChecked(IDC_NOISE) ? 1 : 0;
    const int nBlooming = IsDlgButtonChecked(IDC_BLOOMING) ? 1 : 0;
    const int nResolution = IsDlgButtonChecked(IDC_RESOLUTION) ? 1 : 0;
    const int nCurrent = IsDlgButtonChecked(IDC_CURRENT) ? 1 : 0;
    const int nVoltage = IsDlgButtonChecked(IDC_VOLTAGE) ? 1 : 0;
    const int nDeviationLimit = static_cast<int>(GetDlgItemInt(IDC_DEVIATION_LIMIT, nullptr, TRUE));
    const int nCurrentRef = static_cast<int>(GetDlgItemInt(IDC_CURRENT_REF, nullptr, TRUE));
    const int nVoltageRef = static_cast<int>(GetDlgItemInt(IDC_VOLTAGE_REF, nullptr, TRUE));

    CKavrinoDlg dlg;
    dlg.m_pTestItemList = &listItems;
    dlg.m_pFrameRateList = &listFrames;
    dlg.m_pDcfList = &listDcf;
    dlg.m_CheckItems[0] = nNoise;
    dlg.m_CheckItems[1] = nBlooming;
    dlg.m_CheckItems[2] = nResolution;
    dlg.m_CheckItems[3] = nCurrent;
    dlg.m_CheckItems[4] = nVoltage;
    dlg.m_bColorCamera = m_chkColorCamera.GetCheck();
    dlg.m_nDeviationLimit = nDeviationLimit;
    dlg.m_nCurrentRef = nCurrentRef;
    dlg.m_nVoltageRef = nVoltageRef;
    dlg.DoModal();

    ShowWindow(SW_SHOW);
}
