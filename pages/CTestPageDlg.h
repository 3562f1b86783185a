#pragma once
// What every test page shares: the verdict and its event, the main window, the reference picture with its
// full-size copy, the sub-steps, the key-pad focus list, and the handlers that many pages use alike (the
// method panel, painting the picture, the picture's double-click, clean-up, owner-drawn buttons, the key
// pad). A page derives from this class, fills its items in OnInitDialog and lists the handlers it uses in
// its own message map, so each page's map reads like the page's behaviour:
//
//     ON_BN_CLICKED(1080, &CBinningDlg::OnBnClickedSaveMethod)
//     ON_STN_DBLCLK(1079, &CBinningDlg::OnStnDblclickImage)
//
// Nothing here is in a message map of its own: pages that do not use a shared handler simply do not list
// it, and pages with other control ids (the white-balance page's panel) set the ids they use.

#include "Platform.h"
#include "TestItem.h"

#include <memory>
#include <vector>

class CKavrinoDlg;
class CCvImage;
namespace cv {
class Mat;
}

// Sent by the operator's key pad to the page shown; the key code is the low byte of lParam.
constexpr UINT WM_KEYPAD = 0x812C;

// The caption of the OpenCV window that shows a page's reference picture at full size.
extern const char* const kRefImageWindow;

class CTestPageDlg : public CDialog {
public:
    // The page's template and its section of the test-set file (null for a page without a method panel).
    CTestPageDlg(UINT nIDTemplate, LPCTSTR lpszSection, CWnd* pParent = nullptr);
    ~CTestPageDlg() override;

    using CDialog::Create;
    // Stores the main window as the page's owner, then creates the page (hidden).
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) override;

    // "에러항목: " followed by "%s " for every step whose last camera write failed; the caller's text is
    // left as it is when no step failed.
    void GetErrorItems(CString& strErrorItems);
    // Marks every step untried: each showing of the page starts so (the runner calls it before showing
    // the page, also after a cancelled run), and every verdict leaves the steps so.
    virtual void ForgetTriedSteps();

    BYTE m_bResult = 0;
    HANDLE m_hEvent = nullptr;
    CKavrinoDlg* m_pMainDlg = nullptr;
    CCvImage* m_pRefImage = nullptr;
    cv::Mat* m_pShowImage = nullptr;
    // Key-pad pages only: the focus order of the buttons and the index the key pad is on.
    int m_nFocusIndex = 0;
    std::vector<int> m_vecButtonIds;
    std::vector<TestItem> m_vecItems;

    // Shared handlers; a page lists those it uses in its message map.
    void OnPaint();
    void OnStnDblclickImage();
    void OnDestroy();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    LRESULT OnKeypadMessage(WPARAM wParam, LPARAM lParam);
    void OnBnClickedSaveMethod();
    void OnBnClickedChangeImage();

    // Paints an owner-drawn push button: grey when disabled, blue, orange with the focus, sunken while
    // pressed.
    void DrawButton(LPDRAWITEMSTRUCT lpDrawItemStruct, UINT nIDCtl);

    // A page is hidden only by its verdict (HandOver). IDOK and IDCANCEL that reach no handler of the page
    // (Enter or Esc through the dialog manager, the key pad's codes 8 and 16) leave it shown, so that the
    // runner waiting on the page's event is never stranded.
    void OnOK() override;
    void OnCancel() override;

    // The key pad is meant for the page on the screen: a code that reaches a page no longer shown (a
    // bounced or second press that came after the page's verdict) is dropped before any handler sees it,
    // and so is every code but Space while a modal window (a message box, a file dialog) is over the page.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // DrawButton's painting; with bCaptionOnFace the caption is drawn once more over the whole face, as
    // soon as its colour is chosen and before the face is shrunk for the 3-D border.
    void PaintButton(LPDRAWITEMSTRUCT lpDrawItemStruct, UINT nIDCtl, BOOL bCaptionOnFace);
    // Appends a step that is ok and untried.
    void AddItem(LPCTSTR lpszName);
    // The unnamed manual-reset event the runner waits on, not signalled.
    void CreatePageEvent();
    // Reads the method text and the reference picture from the page's section and shows them.
    void LoadMethodPanel();
    // Shows the list of untried steps and returns TRUE when there is any (PASS then stops).
    BOOL ShowUntriedItems();
    // Closes the OpenCV window of the reference picture and releases its copy, when there is one.
    void CloseShowImage();
    // Moves the dialog focus to a control (WM_NEXTDLGCTL).
    void FocusControl(int nID);
    BOOL IsConnected() const;
    // Stores the verdict, clears every step's tried flag, releases the runner and hides the page.
    void HandOver(BOOL bPass);
    // Marks the step tried and ok (the start of every step handler).
    void StartItem(std::size_t nIndex);
    // The imaging library's current error after a write: on an error the step is marked failed and
    // "ERROR : '%s'" is shown with the feature's name.
    void CheckItemWrite(std::size_t nIndex, LPCTSTR lpszFeature);

    CString m_strSection;
    int m_nMethodEditId = 1078;
    int m_nPictureId = 1079;

private:
    // The heading, then one line per step whose flag is 0; false when there is none.
    bool ListItems(int TestItem::*pFlag, LPCTSTR lpszHeading, LPCTSTR lpszLine, CString& strList) const;
    // Loads the reference picture into m_pRefImage and notes whether a picture named could not be shown.
    void LoadRefImage(const CString& strPath);
    // Draws the reference picture into its frame, or the note that it could not be shown.
    void DrawRefImage();

    BOOL m_bRefImageFailed = FALSE;
    // The reference picture reduced to its frame, when it is larger than the frame.
    std::unique_ptr<CCvImage> m_pFitImage;
};
