#include "CAlignDlg.h"

#include "AlignParameters.h"
#include "CDisplayDlg.h"
#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

namespace {

const wchar_t kSection[] = L"ALIGN";
constexpr DWORD kValueBuffer = 128;
constexpr int kSegmentDefault = 200;
constexpr int kThresholdDefault = 10;

// One alignment value: its key in section "ALIGN", its edit, and its default when the key is missing or
// empty (a half of the image size, or a fixed value).
struct AlignParam {
    const wchar_t* key;
    int nEditId;
    int* pValue;
    int nDefault;
    enum { FIXED, HALF_WIDTH, HALF_HEIGHT } base;

    int Default() const {
        switch (base) {
        case HALF_WIDTH:
            return g_nImageWidth / 2;
        case HALF_HEIGHT:
            return g_nImageHeight / 2;
        default:
            return nDefault;
        }
    }
};

// In the order the keys are read and written.
const AlignParam kParams[] = {
    {L"Center X", CAlignDlg::IDC_CENTER_X, &g_nAlignCenterX, 0, AlignParam::HALF_WIDTH},
    {L"Center Y", CAlignDlg::IDC_CENTER_Y, &g_nAlignCenterY, 0, AlignParam::HALF_HEIGHT},
    {L"TOP", CAlignDlg::IDC_TOP, &g_nAlignTop, kSegmentDefault, AlignParam::FIXED},
    {L"BOTTOM", CAlignDlg::IDC_BOTTOM, &g_nAlignBottom, kSegmentDefault, AlignParam::FIXED},
    {L"LEFT", CAlignDlg::IDC_LEFT, &g_nAlignLeft, kSegmentDefault, AlignParam::FIXED},
    {L"RIGHT", CAlignDlg::IDC_RIGHT, &g_nAlignRight, kSegmentDefault, AlignParam::FIXED},
    {L"Threshold X", CAlignDlg::IDC_THRESHOLD_X, &g_nAlignThresholdX, kThresholdDefault, AlignParam::FIXED},
    {L"Threshold Y", CAlignDlg::IDC_THRESHOLD_Y, &g_nAlignThresholdY, kThresholdDefault, AlignParam::FIXED},
    {L"세로_Width1", CAlignDlg::IDC_BOX_WIDTH1, &g_nEdgeBoxSize[0], 76, AlignParam::FIXED},
    {L"세로_Height1", CAlignDlg::IDC_BOX_HEIGHT1, &g_nEdgeBoxSize[1], 56, AlignParam::FIXED},
    {L"가로_Width2", CAlignDlg::IDC_BOX_WIDTH2, &g_nEdgeBoxSize[2], 56, AlignParam::FIXED},
    {L"가로_Height2", CAlignDlg::IDC_BOX_HEIGHT2, &g_nEdgeBoxSize[3], 76, AlignParam::FIXED},
};

// The order in which LoadParameters fills the edits.
const int kShowOrder[] = {
    CAlignDlg::IDC_CENTER_X,    CAlignDlg::IDC_CENTER_Y,   CAlignDlg::IDC_THRESHOLD_X,
    CAlignDlg::IDC_THRESHOLD_Y, CAlignDlg::IDC_TOP,        CAlignDlg::IDC_BOTTOM,
    CAlignDlg::IDC_LEFT,        CAlignDlg::IDC_RIGHT,      CAlignDlg::IDC_BOX_WIDTH1,
    CAlignDlg::IDC_BOX_HEIGHT1, CAlignDlg::IDC_BOX_WIDTH2, CAlignDlg::IDC_BOX_HEIGHT2,
};

const AlignParam* FindParam(int nEditId) {
    for (const AlignParam& param : kParams)
        if (param.nEditId == nEditId)
            return &param;
    return nullptr;
}

bool IsBoxSize(int nEditId) {
    return nEditId == CAlignDlg::IDC_BOX_WIDTH1 || nEditId == CAlignDlg::IDC_BOX_HEIGHT1 ||
           nEditId == CAlignDlg::IDC_BOX_WIDTH2 || nEditId == CAlignDlg::IDC_BOX_HEIGHT2;
}

} // namespace

BEGIN_MESSAGE_MAP(CAlignDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_WM_PAINT()
ON_STN_DBLCLK(1079, &CAlignDlg::OnStnDblclickImage)
ON_BN_CLICKED(CAlignDlg::IDC_OVERLAY, &CAlignDlg::OnBnClickedOverlay)
ON_BN_CLICKED(CAlignDlg::IDC_SCALE, &CAlignDlg::OnBnClickedScale)
ON_CONTROL_RANGE(EN_CHANGE, CAlignDlg::IDC_CENTER_X, CAlignDlg::IDC_CENTER_X, &CAlignDlg::OnEnChangeParam)
ON_CONTROL_RANGE(EN_CHANGE, CAlignDlg::IDC_CENTER_Y, CAlignDlg::IDC_CENTER_Y, &CAlignDlg::OnEnChangeParam)
ON_CONTROL_RANGE(EN_CHANGE, CAlignDlg::IDC_THRESHOLD_X, CAlignDlg::IDC_BOX_WIDTH2,
                 &CAlignDlg::OnEnChangeParam)
ON_BN_CLICKED(CAlignDlg::IDC_TEMP_COORD, &CAlignDlg::OnBnClickedTempCoord)
ON_BN_CLICKED(CAlignDlg::IDC_PASS, &CAlignDlg::OnBnClickedPass)
ON_BN_CLICKED(CAlignDlg::IDC_FAIL, &CAlignDlg::OnBnClickedFail)
ON_BN_CLICKED(CAlignDlg::IDC_SAVE_PARAM, &CAlignDlg::OnBnClickedSaveParam)
ON_BN_CLICKED(1080, &CAlignDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CAlignDlg::OnBnClickedChangeImage)
ON_MESSAGE(WM_KEYPAD, &CAlignDlg::OnKeypadMessage)
ON_WM_TIMER()
END_MESSAGE_MAP()

CAlignDlg::CAlignDlg(CWnd* pParent) : CTestPageDlg(IDD, kSection, pParent) {}

CAlignDlg::~CAlignDlg() = default;

void CAlignDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CAlignDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreatePageEvent();
    // The change handlers store these into the zoom and the box sizes.
    SetDlgItemInt(IDC_ZOOM, DEFAULT_ZOOM, TRUE);
    SetDlgItemInt(IDC_BOX_WIDTH1, 76, TRUE);
    SetDlgItemInt(IDC_BOX_HEIGHT1, 56, TRUE);
    SetDlgItemInt(IDC_BOX_WIDTH2, 56, TRUE);
    SetDlgItemInt(IDC_BOX_HEIGHT2, 76, TRUE);
    // Checked without their click handlers: the display's flags stay as they are until the runner
    // prepares the page.
    CheckDlgButton(IDC_SCALE, BST_CHECKED);
    CheckDlgButton(IDC_OVERLAY, BST_CHECKED);
    g_nEdgeZoom = DEFAULT_ZOOM;
    LoadMethodPanel();
    SetTimer(TIMER_EDGE_VALUES, TIMER_PERIOD_MS, nullptr);
    if (CWnd* pSave = GetDlgItem(IDC_SAVE_PARAM))
        pSave->EnableWindow(theApp.g_bEditMode ? TRUE : FALSE);
    return TRUE;
}

BOOL CAlignDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

void CAlignDlg::LoadParameters() {
    for (const AlignParam& param : kParams) {
        wchar_t szValue[kValueBuffer] = {};
        const DWORD nRead =
            GetPrivateProfileString(kSection, param.key, nullptr, szValue, kValueBuffer, theApp.g_strIniPath);
        *param.pValue = nRead > 0 ? _wtoi(szValue) : param.Default();
    }
    for (int nEditId : kShowOrder)
        SetDlgItemInt(nEditId, static_cast<UINT>(*FindParam(nEditId)->pValue), TRUE);
    if (m_pMainDlg && m_pMainDlg->m_pDisplayDlg) {
        m_pMainDlg->m_pDisplayDlg->m_bShowEdgeBoxes = true;
        m_pMainDlg->m_pDisplayDlg->m_bShowAlign = TRUE;
    }
}

// Every key is attempted; a read-only or vanished test set must not be reported as saved.
void CAlignDlg::OnBnClickedSaveParam() {
    bool bWritten = true;
    for (const AlignParam& param : kParams) {
        CString strValue;
        strValue.Format(L"%d", *param.pValue);
        if (!WritePrivateProfileString(kSection, param.key, strValue, theApp.g_strIniPath))
            bWritten = false;
    }
    AfxMessageBox(bWritten ? L"저장되었습니다." : L"파라미터 저장 실패");
}

void CAlignDlg::OnEnChangeParam(UINT nID) {
    const int nEditId = static_cast<int>(nID);
    CString strText;
    GetDlgItemText(nEditId, strText);
    const int nValue = _wtoi(strText);

    if (nEditId == IDC_ZOOM) {
        g_nEdgeZoom = nValue;
        if (m_pMainDlg && m_pMainDlg->GetSafeHwnd() && m_pMainDlg->m_bNewFrame == 1)
            RebuildDisplay();
        return;
    }
    const AlignParam* pParam = FindParam(nEditId);
    if (!pParam)
        return;
    *pParam->pValue = nValue;
    if (IsBoxSize(nEditId) && m_pMainDlg && m_pMainDlg->m_bLive && m_pMainDlg->m_pDisplayDlg)
        m_pMainDlg->m_pDisplayDlg->CreateZoomImages();
}

void CAlignDlg::RebuildDisplay() {
    CDisplayDlg* pDisplay = m_pMainDlg ? m_pMainDlg->m_pDisplayDlg : nullptr;
    if (!pDisplay || !pDisplay->GetSafeHwnd())
        return;
    pDisplay->SetImageFormat(pDisplay->m_nWidth, pDisplay->m_nHeight, pDisplay->m_strPixelFormat);
    pDisplay->Invalidate(TRUE);
}

void CAlignDlg::OnBnClickedOverlay() {
    if (m_pMainDlg && m_pMainDlg->m_pDisplayDlg)
        m_pMainDlg->m_pDisplayDlg->m_bShowAlign = IsDlgButtonChecked(IDC_OVERLAY) != BST_UNCHECKED;
}

void CAlignDlg::OnBnClickedTempCoord() {
    if (m_pMainDlg && m_pMainDlg->m_pDisplayDlg)
        m_pMainDlg->m_pDisplayDlg->m_bUseClickCenter = IsDlgButtonChecked(IDC_TEMP_COORD) != BST_UNCHECKED;
}

void CAlignDlg::OnBnClickedScale() {
    if (!m_pMainDlg || !m_pMainDlg->m_pDisplayDlg)
        return;
    m_pMainDlg->m_pDisplayDlg->m_bShowEdgeBoxes = IsDlgButtonChecked(IDC_SCALE) != BST_UNCHECKED;
    RebuildDisplay();
}

void CAlignDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_EDGE_VALUES && m_pMainDlg) {
        // x, y of the top, bottom, left and right boxes.
        const int* pEdge = m_pMainDlg->m_nAlignEdge;
        const int kStatics[8] = {1135, 1136, 1137, 1138, 1133, 1134, 1139, 1140};
        for (int i = 0; i < 8; ++i)
            SetDlgItemInt(kStatics[i], static_cast<UINT>(pEdge[i]), TRUE);
    }
    CDialog::OnTimer(nIDEvent);
}

LRESULT CAlignDlg::OnKeypadMessage(WPARAM wParam, LPARAM lParam) {
    switch (LOBYTE(static_cast<DWORD_PTR>(lParam))) {
    case 3:
        // The Space press and release, as on every key-pad page.
        return CTestPageDlg::OnKeypadMessage(wParam, lParam);
    case 8:
        SendMessage(WM_COMMAND, IDC_PASS, 0);
        break;
    case 16:
        SendMessage(WM_COMMAND, IDC_FAIL, 0);
        break;
    default:
        break;
    }
    return 0;
}

void CAlignDlg::OnBnClickedPass() {
    if (AfxMessageBox(L"검사를 진행하였습니까?", MB_YESNO) != IDYES)
        return;
    Finish(TRUE);
}

void CAlignDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// The camera is not touched; the overlays go off whether or not a camera is connected.
void CAlignDlg::Finish(BOOL bPass) {
    CheckDlgButton(IDC_SCALE, BST_UNCHECKED);
    CheckDlgButton(IDC_OVERLAY, BST_UNCHECKED);
    CheckDlgButton(IDC_TEMP_COORD, BST_UNCHECKED);
    if (m_pMainDlg && m_pMainDlg->m_pDisplayDlg) {
        CDisplayDlg* pDisplay = m_pMainDlg->m_pDisplayDlg;
        pDisplay->m_bShowEdgeBoxes = false;
        pDisplay->m_bShowAlign = FALSE;
        pDisplay->m_bUseClickCenter = FALSE;
        if (pDisplay->GetSafeHwnd())
            pDisplay->Invalidate(TRUE);
    }
    HandOver(bPass);
}

void CAlignDlg::OnDestroy() {
    CTestPageDlg::OnDestroy();
    KillTimer(TIMER_EDGE_VALUES);
}
