#pragma once
// The extended application object; the resource-smart-update option is accepted.

#include "CWinApp.h"

class CWinAppEx : public CWinApp {
public:
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE) : m_bResourceSmartUpdate(resourceSmartUpdate) {}

    BOOL m_bResourceSmartUpdate;
};
