#pragma once
// One row of a test run: the item, its verdict ("PASS" or "FAIL") and a comment.

#include "Platform.h"

struct TestResult {
    CString strItem;
    CString strResult;
    CString strComment;
};
