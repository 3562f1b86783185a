// Camera feature access by GenICam name through the digitizer.

#include "CKavrinoDlg.h"

namespace {

// The feature's type as the library reports it; 0 for a name the camera lacks or without a digitizer.
MIL_INT64 InquireFeatureType(MIL_ID milDigitizer, const wchar_t* name) {
    if (milDigitizer == M_NULL || name == nullptr)
        return 0;
    MIL_INT64 nType = 0;
    MdigInquireFeature(milDigitizer, M_FEATURE_TYPE, name, M_DEFAULT, &nType);
    return nType;
}

bool IsNumericType(MIL_INT64 nType) {
    return nType == FEATURE_TYPE_DOUBLE || nType == FEATURE_TYPE_BOOLEAN || nType == FEATURE_TYPE_INT64;
}

bool IsTextType(MIL_INT64 nType) {
    return nType == FEATURE_TYPE_STRING || nType == FEATURE_TYPE_ENUMERATION;
}

} // namespace

void CKavrinoDlg::SetFeature(const wchar_t* name, MIL_INT64 access, const void* value) {
    const MIL_INT64 nType = InquireFeatureType(m_milDigitizer, name);
    if (nType == FEATURE_TYPE_COMMAND) {
        MdigControlFeature(m_milDigitizer, access, name);
        return;
    }
    if (value == nullptr)
        return;

    // Written as text: the library parses it into the feature's type, and an enumeration takes the entry
    // of that name.
    if (access == FEATURE_VALUE_AS_STRING && (IsNumericType(nType) || IsTextType(nType))) {
        MdigControlFeature(m_milDigitizer, access, name, static_cast<const wchar_t*>(value));
        return;
    }

    switch (nType) {
    case FEATURE_TYPE_DOUBLE:
        MdigControlFeature(m_milDigitizer, access, name, *static_cast<const MIL_DOUBLE*>(value));
        break;
    case FEATURE_TYPE_INT64:
        MdigControlFeature(m_milDigitizer, access, name, *static_cast<const MIL_INT64*>(value));
        break;
    case FEATURE_TYPE_BOOLEAN:
        MdigControlFeature(m_milDigitizer, access, name, *static_cast<const MIL_BOOL*>(value));
        break;
    case FEATURE_TYPE_STRING:
        MdigControlFeature(m_milDigitizer, access, name, static_cast<const wchar_t*>(value));
        break;
    default:
        // An enumeration is written only by its entry name; other types and unknown names write nothing.
        break;
    }
}

void CKavrinoDlg::GetFeature(const wchar_t* name, MIL_INT64 access, void* out) {
    if (out == nullptr)
        return;
    const MIL_INT64 nType = InquireFeatureType(m_milDigitizer, name);
    if (IsTextType(nType) || (access == FEATURE_VALUE_AS_STRING && IsNumericType(nType))) {
        GetFeature(name, access, static_cast<wchar_t*>(out), kFeatureTextSize);
        return;
    }
    switch (nType) {
    case FEATURE_TYPE_DOUBLE:
        MdigInquireFeature(m_milDigitizer, access, name, static_cast<MIL_DOUBLE*>(out));
        break;
    case FEATURE_TYPE_INT64:
        MdigInquireFeature(m_milDigitizer, access, name, static_cast<MIL_INT64*>(out));
        break;
    case FEATURE_TYPE_BOOLEAN:
        MdigInquireFeature(m_milDigitizer, access, name, static_cast<MIL_BOOL*>(out));
        break;
    default:
        // Commands and unknown names: nothing is read, the caller's value stays.
        break;
    }
}

void CKavrinoDlg::GetFeature(const wchar_t* name, MIL_INT64 access, wchar_t* out, std::size_t capacity) {
    if (out == nullptr || capacity == 0)
        return;
    const MIL_INT64 nType = InquireFeatureType(m_milDigitizer, name);
    if (!IsTextType(nType) && !(access == FEATURE_VALUE_AS_STRING && IsNumericType(nType)))
        return;
    // The library cuts the text to the buffer and always ends it with a zero.
    MdigInquireFeature(m_milDigitizer, access, name, IsTextType(nType) ? nType : FEATURE_TYPE_STRING, out,
                       static_cast<MIL_INT>(capacity));
}

BOOL CKavrinoDlg::CheckMilError(CString strContext) {
    if (MappGetError(M_DEFAULT, M_CURRENT, M_NULL) == M_NULL_ERROR)
        return TRUE;
    CString strMessage;
    strMessage.Format(L"ERROR : '%s'", strContext.GetString());
    AfxMessageBox(strMessage);
    return FALSE;
}
