// Saving and loading the test set: the set-up window's own sections of the test-set file. The pages keep
// their sections in the same file; nothing here removes a section or a key.

#include "CKavrinoApp.h"
#include "CLoginDlg.h"
#include "Profile.h"

#include <vector>

namespace {

const wchar_t kIniDefExt[] = L"INI file";
const wchar_t kIniFilter[] = L"INI File (*.ini)|*.ini|";

const wchar_t kSectionItemCount[] = L"ItemCount";
const wchar_t kKeyItem[] = L"검사항목";
const wchar_t kSectionColor[] = L"ISCOLOR";
const wchar_t kKeyColor[] = L"컬러카메라";
const wchar_t kSectionFrameCount[] = L"AcqCount";
const wchar_t kKeyFrame[] = L"프레임항목";
const wchar_t kSectionDcf8[] = L"8BIT";
const wchar_t kSectionDcf10[] = L"10BIT";
const wchar_t kSectionDcf12[] = L"12BIT";
const wchar_t kKeyDcfPath[] = L"DCF_PATH";
const wchar_t kSectionDeviation[] = L"BRIGHT_DIFF";
const wchar_t kKeyDeviation[] = L"휘도편차";
const wchar_t kSectionOther[] = L"기타검사";

// Every value is read into a buffer of this many characters; a longer value arrives cut.
constexpr DWORD kValueBuffer = 255;

struct CheckKey {
    int nID;
    const wchar_t* key;
};
// The other checks in the order they are written.
const CheckKey kOtherChecks[] = {
    {CLoginDlg::IDC_NOISE, L"NOISE"},           {CLoginDlg::IDC_BLOOMING, L"BLOOMING"},
    {CLoginDlg::IDC_RESOLUTION, L"RESOLUTION"}, {CLoginDlg::IDC_CURRENT, L"ELECTRIC"},
    {CLoginDlg::IDC_VOLTAGE, L"VOLTAGE"},
};
const wchar_t kKeyCurrentValue[] = L"ELECTRIC_VALUE";
const wchar_t kKeyVoltageValue[] = L"VOLTAGE_VALUE";

CString Number(int nValue) {
    CString str;
    str.Format(L"%d", nValue);
    return str;
}

CString FrameSection(int nIndex) {
    CString str;
    str.Format(L"ACQ%d", nIndex);
    return str;
}

CString ReadValue(const wchar_t* section, const wchar_t* key, const CString& strPath) {
    wchar_t szValue[kValueBuffer] = {};
    GetPrivateProfileString(section, key, nullptr, szValue, kValueBuffer, strPath);
    return CString(szValue);
}

// How many item or frame sections to read: nothing for a negative or non-numeric count, and never more
// than the window accepts from a file.
int ReadCount(const wchar_t* section, const wchar_t* key, const CString& strPath) {
    const int nCount = _wtoi(ReadValue(section, key, strPath));
    if (nCount <= 0)
        return 0;
    return nCount < CLoginDlg::kMaxLoadedEntries ? nCount : CLoginDlg::kMaxLoadedEntries;
}

} // namespace

void CLoginDlg::OnBnClickedSaveTestFile() {
    if (m_listTestItems.GetCount() == 0) {
        AfxMessageBox(L"검사 할 항목을 추가하세요.");
        return;
    }
    if (m_listFrames.GetCount() == 0) {
        AfxMessageBox(L"프레임레이트 항목을 추가하세요.");
        return;
    }
    CFileDialog dlg(FALSE, kIniDefExt, nullptr, OFN_ENABLESIZING, kIniFilter);
    if (dlg.DoModal() != IDOK)
        return;
    theApp.g_strIniPath = dlg.GetPathName();
    ReadDcfEdits();
    // A set that did not reach the file would be lost without a word (a read-only file, a folder gone,
    // text the file's code page cannot hold); the file then stays as it was.
    if (!WriteTestSet(theApp.g_strIniPath))
        AfxMessageBox(L"검사 파일 저장 실패");
}

void CLoginDlg::OnBnClickedLoadTestFile() {
    CFileDialog dlg(TRUE, kIniDefExt, nullptr, OFN_ENABLESIZING, kIniFilter);
    if (dlg.DoModal() != IDOK)
        return;
    SetDlgItemText(IDC_TEST_FILE_NAME, dlg.GetFileName());
    m_listTestItems.ResetContent();
    m_listFrames.ResetContent();
    theApp.g_strIniPath = dlg.GetPathName();
    ReadTestSet(theApp.g_strIniPath);
}

// The rows in their order, written into the file at once: a set of a thousand items is one rewrite of the
// file, not two thousand. All of them reach the file, or none: the result says which.
BOOL CLoginDlg::WriteTestSet(const CString& strPath) {
    std::vector<kavrino::ProfileWrite> rows;
    const auto write = [&](LPCWSTR pszSection, LPCWSTR pszKey, LPCWSTR pszValue) {
        rows.push_back({pszSection, pszKey, pszValue});
    };
    const int nItems = m_listTestItems.GetCount();
    write(kSectionItemCount, kKeyItem, Number(nItems));
    for (int i = 0; i < nItems; ++i) {
        CString strItem;
        m_listTestItems.GetText(i, strItem);
        write(Number(i), kKeyItem, strItem);
    }

    write(kSectionColor, kKeyColor, Number(m_chkColorCamera.GetCheck()));

    const int nFrames = m_listFrames.GetCount();
    write(kSectionFrameCount, kKeyFrame, Number(nFrames));
    for (int j = 0; j < nFrames; ++j) {
        CString strFrame;
        m_listFrames.GetText(j, strFrame);
        write(FrameSection(j), kKeyFrame, strFrame);
    }

    write(kSectionDcf8, kKeyDcfPath, m_strDcf8);
    write(kSectionDcf10, kKeyDcfPath, m_strDcf10);
    write(kSectionDcf12, kKeyDcfPath, m_strDcf12);

    CString strDeviation;
    GetDlgItemText(IDC_DEVIATION_LIMIT, strDeviation);
    write(kSectionDeviation, kKeyDeviation, strDeviation);

    for (const CheckKey& check : kOtherChecks)
        write(kSectionOther, check.key, Number(IsDlgButtonChecked(check.nID) ? 1 : 0));
    const int nCurrentRef = static_cast<int>(GetDlgItemInt(IDC_CURRENT_REF, nullptr, TRUE));
    const int nVoltageRef = static_cast<int>(GetDlgItemInt(IDC_VOLTAGE_REF, nullptr, TRUE));
    write(kSectionOther, kKeyCurrentValue, Number(nCurrentRef));
    write(kSectionOther, kKeyVoltageValue, Number(nVoltageRef));
    return kavrino::WritePrivateProfileStrings(rows, strPath);
}

// A missing or foreign file reads as empty values: empty lists, cleared checks, empty edits.
void CLoginDlg::ReadTestSet(const CString& strPath) {
    const int nItems = ReadCount(kSectionItemCount, kKeyItem, strPath);
    for (int i = 0; i < nItems; ++i)
        m_listTestItems.AddString(ReadValue(Number(i), kKeyItem, strPath));

    m_chkColorCamera.SetCheck(_wtoi(ReadValue(kSectionColor, kKeyColor, strPath)));

    const int nFrames = ReadCount(kSectionFrameCount, kKeyFrame, strPath);
    for (int j = 0; j < nFrames; ++j)
        m_listFrames.AddString(ReadValue(FrameSection(j), kKeyFrame, strPath));

    SetDlgItemText(IDC_DCF8_PATH, ReadValue(kSectionDcf8, kKeyDcfPath, strPath));
    SetDlgItemText(IDC_DCF10_PATH, ReadValue(kSectionDcf10, kKeyDcfPath, strPath));
    SetDlgItemText(IDC_DCF12_PATH, ReadValue(kSectionDcf12, kKeyDcfPath, strPath));

    SetDlgItemText(IDC_DEVIATION_LIMIT, ReadValue(kSectionDeviation, kKeyDeviation, strPath));

    for (const CheckKey& check : kOtherChecks)
        CheckDlgButton(check.nID, static_cast<UINT>(_wtoi(ReadValue(kSectionOther, check.key, strPath))));
    SetDlgItemText(IDC_CURRENT_REF, ReadValue(kSectionOther, kKeyCurrentValue, strPath));
    SetDlgItemText(IDC_VOLTAGE_REF, ReadValue(kSectionOther, kKeyVoltageValue, strPath));
}
