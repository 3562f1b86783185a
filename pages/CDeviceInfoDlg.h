#pragma once
// The device-information page: "검사" shows the model name, serial number and device version that the
// main window read from the camera at connection, and the operator compares them with what is expected.
// PASS is refused until the values have been shown; FAIL is always accepted. The key pad drives the page.

#include "CTestPageDlg.h"

class CDeviceInfoDlg : public CTestPageDlg {
public:
    enum { IDD = 143 };
    enum { IDC_MODEL_NAME = 1030, IDC_SERIAL_NUMBER = 1032, IDC_DEVICE_VERSION = 1029, IDC_CHECK = 1031 };

    explicit CDeviceInfoDlg(CWnd* pParent = nullptr);
    ~CDeviceInfoDlg() override;

    BOOL OnInitDialog() override;
    // Esc never closes the page.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnBnClickedCheck();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    // Empties the model and version edits, so the next showing needs "검사" again.
    void ClearShownValues();
};
