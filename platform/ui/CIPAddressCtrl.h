#pragma once
// An IPv4 address field of four numbers. IPN_FIELDCHANGED (WM_NOTIFY, NMIPADDRESS) reaches the parent when
// the user changes a field.

#include "CWnd.h"

class CIPAddressCtrl : public CWnd {
public:
    void SetAddress(BYTE f0, BYTE f1, BYTE f2, BYTE f3);
    void SetAddress(DWORD address);                               // f0 in the high byte
    int GetAddress(BYTE& f0, BYTE& f1, BYTE& f2, BYTE& f3) const; // returns the number of non-blank fields
    int GetAddress(DWORD& address) const;
    void ClearAddress();
    BOOL IsBlank() const;
    void SetFieldFocus(WORD field);
};
