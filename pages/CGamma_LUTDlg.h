#pragma once
// The gamma and LUT page: the operator switches the camera's gamma correction and its look-up table on and
// off, sets gamma 0.4 and loads a table that follows a power curve with the exponent 2.5, watching the
// live image. PASS and FAIL put the camera back to gamma off, gamma 1.0, LUT off and the identity table,
// and keep the page open when that fails.

#include "CTestPageDlg.h"
#include "Mil.h"

class CGamma_LUTDlg : public CTestPageDlg {
public:
    enum { IDD = 157 };
    enum {
        IDC_GAMMA_ENABLE = 1057,
        IDC_LUT_ENABLE = 1058,
        IDC_GAMMA_04 = 1117,
        IDC_LUT_25 = 1032,
        IDC_PASS = 1031,
        IDC_FAIL = 1033,
    };
    enum { ITEM_GAMMA_ENABLE = 0, ITEM_LUT_ENABLE = 1, ITEM_GAMMA = 2, ITEM_LUT = 3 };

    explicit CGamma_LUTDlg(CWnd* pParent = nullptr);
    ~CGamma_LUTDlg() override;

    BOOL OnInitDialog() override;

    void OnBnClickedGammaEnable();
    void OnBnClickedLutEnable();
    void OnBnClickedGamma04();
    void OnBnClickedLut25();
    void OnBnClickedPass();
    void OnBnClickedFail();

    // Gamma 1.0 and gamma off, when a camera is connected.
    void ResetGamma();

    // The table entry of one index: (index / max) to the power of the exponent, scaled back to max and
    // rounded (max > 0, 0 <= index <= max).
    static MIL_INT64 LutValue(MIL_INT64 nIndex, MIL_INT64 nMax, double dExponent);

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Writes one enable switch from its box and shows what the camera reports back in both boxes.
    void WriteEnable(std::size_t nIndex, int nBoxId, LPCTSTR lpszFeature);
    // Writes "LUTValue" for every index of "LUTIndex" (none when the minimum is above the maximum); FALSE
    // (nothing written) when the camera reports a range that cannot be walked: a maximum or an increment
    // that is not positive, or a negative minimum.
    BOOL WriteLut(double dExponent);
    // The one error query after a table was written; an unusable range is reported as an error as well.
    BOOL CheckLutWrite(BOOL bRangeOk, LPCTSTR lpszWord);
    // The same for the restore of PASS and FAIL, except that an unusable range, once reported, does not
    // hold the verdict back: only a refused write does.
    BOOL CheckRestore(BOOL bRangeOk, LPCTSTR lpszWord);
    void Finish(BOOL bPass);
};
