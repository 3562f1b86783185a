#pragma once
// One sub-step of a test page: whether its last camera write went through, whether the operator tried it
// during this showing of the page, and the name shown in the untried list and in the error comment.

#include "Platform.h"

struct TestItem {
    int bOk = 1;
    int bTested = 0;
    CString strName;
};
