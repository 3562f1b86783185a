#pragma once
// Data exchange between a dialog's controls and its members (UpdateData): the direction, the dialog, and
// the DDX_ functions that DoDataExchange calls for each control.

#include "CString.h"
#include "UiDefs.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd) {}

    BOOL m_bSaveAndValidate; // TRUE: controls -> members; FALSE: members -> controls
    CWnd* m_pDlgWnd;

    // Marks the exchange as failed (a value that could not be read); UpdateData then returns FALSE.
    void Fail() { m_bFailed = true; }
    bool Failed() const { return m_bFailed; }

private:
    bool m_bFailed = false;
};

// Attaches the member to the control the first time (its message map sees the control's messages from then
// on); later calls do nothing.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Numbers: a text that is not a number fails the exchange (with a message) when saving.
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, long& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Text(CDataExchange* pDX, int id, float& value);
// Check box: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// Radio group that starts at the radio button id: the index of the checked button, -1 for none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// Slider position and combo-box / list-box selection.
void DDX_Slider(CDataExchange* pDX, int id, int& value);
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
void DDX_CBString(CDataExchange* pDX, int id, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int id, int& index);
