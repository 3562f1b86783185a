#pragma once
// The pixel-format page: one button per format (8-, 10- and 12-bit mono and Bayer RG). A format change
// re-allocates the grabber: acquisition stops, the camera takes the format, the main window records its
// name (the grab buffer's depth follows it), and the digitizer is reconnected with the configuration
// file of the format's bit depth before acquisition starts again. PASS and FAIL go back to "Mono8" with
// the 8-bit file. Buttons without a file, and the Bayer buttons of a mono camera, are disabled and count
// as tried from the start.

#include "CTestPageDlg.h"

class CStringList;

class CPixelFormatDlg : public CTestPageDlg {
public:
    enum { IDD = 133 };
    enum {
        IDC_MONO8 = 1028,
        IDC_MONO10 = 1033,
        IDC_MONO12 = 1030,
        IDC_BAYER_RG8 = 1031,
        IDC_BAYER_RG10 = 1032,
        IDC_BAYER_RG12 = 1034,
        IDC_CHANGE_DCF = 1029,
    };
    enum { ITEM_MONO8, ITEM_MONO10, ITEM_MONO12, ITEM_BAYER_RG8, ITEM_BAYER_RG10, ITEM_BAYER_RG12 };

    explicit CPixelFormatDlg(CWnd* pParent = nullptr);
    ~CPixelFormatDlg() override;

    // The 8-, 10- and 12-bit configuration files: the first three entries of the set-up window's list
    // (an entry empty where no file was chosen). Called before Create so that the buttons follow them.
    void SetDcfPaths(const CStringList* pDcfList);

    CString m_strDcf8;
    CString m_strDcf10;
    CString m_strDcf12;

    void OnBnClickedMono8();
    void OnBnClickedMono10();
    void OnBnClickedMono12();
    void OnBnClickedBayerRG8();
    void OnBnClickedBayerRG10();
    void OnBnClickedBayerRG12();
    // Re-allocates the grabber with a configuration file the operator picks.
    void OnBnClickedChangeDcf();
    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);

    // Esc is swallowed; Enter still reaches the dialog manager.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    // The steps InitButtons ruled out stay tried for every showing, whose PASS would otherwise wait for
    // buttons that cannot be pressed.
    void ForgetTriedSteps() override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Disables the buttons that cannot be used and marks their steps tried.
    void InitButtons();
    void DisableSteps(std::initializer_list<std::size_t> items);
    // A format button: the step's format with its file, or the message that the file is missing.
    void ChangeFormat(std::size_t nItem);
    // With acquisition stopped: the camera's "PixelFormat"; on a refusal the step fails and FALSE.
    BOOL WriteFormat(std::size_t nItem);
    // The main window's format name and combo entry, then the grabber again with the file, and live.
    BOOL SwitchGrabber(std::size_t nItem);
    // PASS and FAIL: back to "Mono8"; FALSE when the camera refused it (no verdict then).
    BOOL RestoreMono8();
    // The file of the step's bit depth.
    const CString& DcfFile(std::size_t nItem) const;
    BOOL ShowMissingDcf(std::size_t nItem) const;

    std::vector<std::size_t> m_vecRuledOut;
};
