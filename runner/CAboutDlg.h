#pragma once
// The About box of the main window's system menu: the icon, the program's name and version, and "확인".

#include "Platform.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = 100 };

    CAboutDlg();
    ~CAboutDlg() override;

protected:
    DECLARE_MESSAGE_MAP()
};
