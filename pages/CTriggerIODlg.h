#pragma once
// The trigger and I/O page: the operator drives the trigger mode, the trigger source, a software trigger,
// the selected I/O line (its direction is read back from the camera and shown) and the line inverter,
// watching the live image. Only the software trigger counts as a step. Every write but the restore's
// last three is followed by the library's error query. PASS and FAIL put the trigger and line features
// back to their defaults; a refused "TriggerMode" keeps the page open without a verdict.
//
// "CC1 DCF 변경" re-allocates the grabber with another configuration file.

#include "CTestPageDlg.h"

class CTriggerIODlg : public CTestPageDlg {
public:
    enum { IDD = 147 };
    enum {
        IDC_SOFTWARE_TRIGGER = 1031,
        IDC_STROBE = 1032,
        IDC_LINE_INPUT = 1050,
        IDC_LINE_OUTPUT = 1051,
        IDC_TRIGGER_ON = 1037,
        IDC_TRIGGER_OFF = 1038,
        IDC_CHANGE_DCF = 1029,
        IDC_LINE_INVERTER = 1057,
        IDC_SOURCE_CXP = 1124,
        IDC_SOURCE_LINE4 = 1125,
        IDC_SOURCE_SOFTWARE = 1126,
        IDC_LINE1 = 1132,
        IDC_LINE4 = 1133,
        IDC_LINE5 = 1134,
        IDC_LINE6 = 1135,
    };
    enum { ITEM_SOFTWARE = 0 };
    // The "LineMode" text is read into this many characters; a longer one is cut.
    static constexpr std::size_t kLineModeSize = 100;

    explicit CTriggerIODlg(CWnd* pParent = nullptr);
    ~CTriggerIODlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnBnClickedSoftwareTrigger();
    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnBnClickedChangeDcf();
    void OnBnClickedStrobe();
    void OnBnClickedLineInverter();
    void OnBnClickedTriggerOff();
    void OnBnClickedTriggerOn();
    void OnBnClickedLineSelector1();
    void OnBnClickedLineSelector4();
    void OnBnClickedLineSelector5();
    void OnBnClickedLineSelector6();
    void OnBnClickedTriggerSourceCxp();
    void OnBnClickedTriggerSourceLine4();
    void OnBnClickedTriggerSourceSoftware();

    // The bold font of the method text.
    CFont m_font;

protected:
    DECLARE_MESSAGE_MAP()

private:
    // A text write followed by the error query; false after "ERROR : '%s'" with the feature's name.
    BOOL WriteChecked(LPCTSTR lpszFeature, LPCTSTR lpszValue);
    void SetTriggerMode(int nRadioId, LPCTSTR lpszMode);
    void SetTriggerSource(int nRadioId, LPCTSTR lpszSource);
    // Selects the line and, when the camera took it, shows its direction.
    void SelectLine(int nRadioId, LPCTSTR lpszLine);
    // "TriggerMode" back to "Off" (checked: false keeps the page open), then the source, the line and
    // the inverter without a query.
    BOOL RestoreTrigger();
};
