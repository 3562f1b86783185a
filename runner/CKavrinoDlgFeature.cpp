// Camera feature access by GenICam name through the digitizer.

#include "CKavrinoDlg.h"

#include <type_traits>

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

// Writes a number the caller handed over as a T, reading nothing past it. A feature of the same type
// gets it as it is, and a 32-bit boolean for an integer or float feature is widened to that type; any
// other mismatch (a string feature included) is passed in the caller's own type, and the library
// converts what fits and refuses the rest. Enumerations are written only by entry name; unknown names
// and other types write nothing.
template <typename T>
void WriteNumber(MIL_ID milDigitizer, const wchar_t* name, MIL_INT64 access, MIL_INT64 nType, T value) {
    if (!IsNumericType(nType) && nType != FEATURE_TYPE_STRING)
        return;
    if (std::is_same<T, MIL_BOOL>::value && nType == FEATURE_TYPE_INT64)
        MdigControlFeature(milDigitizer, access, name, static_cast<MIL_INT64>(value));
    else if (std::is_same<T, MIL_BOOL>::value && nType == FEATURE_TYPE_DOUBLE)
        MdigControlFeature(milDigitizer, access, name, static_cast<MIL_DOUBLE>(value));
    else
        MdigControlFeature(milDigitizer, access, name, value);
}

// Reads a number into the caller's T, in that type: the library writes exactly a T.
template <typename T> void ReadNumber(MIL_ID milDigitizer, const wchar_t* name, MIL_INT64 access, T* out) {
    if (out == nullptr || access == FEATURE_VALUE_AS_STRING)
        return;
    if (IsNumericType(InquireFeatureType(milDigitizer, name)))
        MdigInquireFeature(milDigitizer, access, name, out);
}

// A number write: a command is executed with no value, whatever the caller hands over.
template <typename T>
void SetNumber(MIL_ID milDigitizer, const wchar_t* name, MIL_INT64 access, const T* value) {
    const MIL_INT64 nType = InquireFeatureType(milDigitizer, name);
    if (nType == FEATURE_TYPE_COMMAND)
        MdigControlFeature(milDigitizer, access, name);
    else if (value != nullptr)
        WriteNumber(milDigitizer, name, access, nType, *value);
}

} // namespace

void CKavrinoDlg::SetFeature(const wchar_t* name, MIL_INT64 access, const MIL_DOUBLE* value) {
    SetNumber(m_milDigitizer, name, access, value);
}

void CKavrinoDlg::SetFeature(const wchar_t* name, MIL_INT64 access, const MIL_INT64* value) {
    SetNumber(m_milDigitizer, name, access, value);
}

void CKavrinoDlg::SetFeature(const wchar_t* name, MIL_INT64 access, const MIL_BOOL* value) {
    SetNumber(m_milDigitizer, name, access, value);
}

void CKavrinoDlg::SetFeature(const wchar_t* name, MIL_INT64 access, std::nullptr_t) {
    SetNumber<MIL_INT64>(m_milDigitizer, name, access, nullptr);
}

void CKavrinoDlg::SetFeature(const wchar_t* name, MIL_INT64 access, const wchar_t* value) {
    const MIL_INT64 nType = InquireFeatureType(m_milDigitizer, name);
    if (nType == FEATURE_TYPE_COMMAND) {
        MdigControlFeature(m_milDigitizer, access, name);
        return;
    }
    if (value == nullptr)
        return;
    // Written as text: the library parses it into the feature's type, and an enumeration takes the entry
    // of that name (only with FEATURE_VALUE_AS_STRING; other types and unknown names write nothing).
    const bool bAsText = access == FEATURE_VALUE_AS_STRING && (IsNumericType(nType) || IsTextType(nType));
    if (bAsText || nType == FEATURE_TYPE_STRING || (access == FEATURE_VALUE && IsNumericType(nType)))
        MdigControlFeature(m_milDigitizer, access, name, value);
}

void CKavrinoDlg::GetFeature(const wchar_t* name, MIL_INT64 access, MIL_DOUBLE* out) {
    ReadNumber(m_milDigitizer, name, access, out);
}

void CKavrinoDlg::GetFeature(const wchar_t* name, MIL_INT64 access, MIL_INT64* out) {
    ReadNumber(m_milDigitizer, name, access, out);
}

void CKavrinoDlg::GetFeature(const wchar_t* name, MIL_INT64 access, MIL_BOOL* out) {
    ReadNumber(m_milDigitizer, name, access, out);
}

void CKavrinoDlg::GetFeature(const wchar_t* name, MIL_INT64 access, wchar_t* out) {
    GetFeature(name, access, out, kFeatureTextSize);
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
