#include "CDeviceInfoDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

BEGIN_MESSAGE_MAP(CDeviceInfoDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(IDOK, &CDeviceInfoDlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CDeviceInfoDlg::OnBnClickedFail)
ON_BN_CLICKED(CDeviceInfoDlg::IDC_CHECK, &CDeviceInfoDlg::OnBnClickedCheck)
ON_BN_CLICKED(1080, &CDeviceInfoDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CDeviceInfoDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CDeviceInfoDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_WM_DRAWITEM()
ON_MESSAGE(WM_KEYPAD, &CDeviceInfoDlg::OnKeypadMessage)
END_MESSAGE_MAP()

CDeviceInfoDlg::CDeviceInfoDlg(CWnd* pParent) : CTestPageDlg(IDD, L"DEVICE_INFO", pParent) {}

CDeviceInfoDlg::~CDeviceInfoDlg() = default;

void CDeviceInfoDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CDeviceInfoDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_vecButtonIds = {IDC_CHECK};
    m_nFocusIndex = 0;
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

BOOL CDeviceInfoDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

// The values come from the connection; the page reads no feature itself.
void CDeviceInfoDlg::OnBnClickedCheck() {
    if (!IsConnected())
        return;
    SetDlgItemText(IDC_MODEL_NAME, m_pMainDlg->m_strModelName);
    SetDlgItemText(IDC_SERIAL_NUMBER, m_pMainDlg->m_strSerialNumber);
    SetDlgItemText(IDC_DEVICE_VERSION, m_pMainDlg->m_strDeviceVersion);
}

void CDeviceInfoDlg::ClearShownValues() {
    SetDlgItemText(IDC_MODEL_NAME, L"");
    SetDlgItemText(IDC_DEVICE_VERSION, L"");
}

// An empty model or version edit means "검사" was not pressed in this showing; the serial edit keeps its
// text between showings and so says nothing.
void CDeviceInfoDlg::OnBnClickedPass() {
    CloseShowImage();
    CString strModel;
    CString strVersion;
    GetDlgItemText(IDC_MODEL_NAME, strModel);
    GetDlgItemText(IDC_DEVICE_VERSION, strVersion);
    if (strModel.IsEmpty() || strVersion.IsEmpty()) {
        AfxMessageBox(L"검사 버튼을 누르세요.");
        return;
    }
    ClearShownValues();
    FocusControl(IDC_CHECK);
    HandOver(TRUE);
}

void CDeviceInfoDlg::OnBnClickedFail() {
    CloseShowImage();
    ClearShownValues();
    FocusControl(IDC_CHECK);
    HandOver(FALSE);
}
