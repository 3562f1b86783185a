// The tap-balance limits file "steplimit.ini", read from the current folder when the page opens. Whatever
// the file holds, the page shows a number for each of the seven limits; "INI SAVE" writes them back
// without losing anything else the file held; and the page opened again shows exactly what was saved.

#include "CTapBalanceDlg.h"
#include "FuzzSupport.h"
#include "ProfileFile.h"
#include "StringConv.h"

#include <QDir>
#include <array>

using namespace kavrino_fuzz;
using kavrino::ProfileFile;

namespace {

// The file's section and keys, in the order of the page's seven limit edits.
const wchar_t kSection[] = L"System";
const wchar_t* const kKeys[CTapBalanceDlg::kLimitCount] = {
    L"STEP1_PARAM",     L"STEP2_MIN_PARAM", L"STEP2_MAX_PARAM", L"STEP3_MIN_PARAM",
    L"STEP3_MAX_PARAM", L"STEP4_MIN_PARAM", L"STEP4_MAX_PARAM",
};

std::array<CString, CTapBalanceDlg::kLimitCount> ShownLimits(CTapBalanceDlg& page) {
    std::array<CString, CTapBalanceDlg::kLimitCount> shown;
    for (int i = 0; i < CTapBalanceDlg::kLimitCount; ++i)
        page.GetDlgItemText(CTapBalanceDlg::IDC_LIMIT_FIRST + i, shown[static_cast<std::size_t>(i)]);
    return shown;
}

bool IsNumber(const CString& text) {
    const std::wstring& s = text.str();
    std::size_t i = (!s.empty() && s[0] == L'-') ? 1 : 0;
    if (i == s.size())
        return false;
    for (; i < s.size(); ++i)
        if (s[i] < L'0' || s[i] > L'9')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool inScratch = QDir::setCurrent(QString::fromStdString(ScratchFolder()));
    if (!inScratch)
        Fail("cannot work in the scratch folder");
    const std::string path = ScratchPath("steplimit.ini");
    WriteFile(path, data, size);
    const CString widePath = WidePath(path);
    const std::vector<ProfileEntry> before = ReadProfile(widePath);

    std::array<CString, CTapBalanceDlg::kLimitCount> saved;
    {
        CTapBalanceDlg page;
        page.Create(CTapBalanceDlg::IDD, nullptr);
        saved = ShownLimits(page);
        for (const CString& limit : saved)
            if (!IsNumber(limit))
                Fail("a limit is not shown as a number", kavrino::WideToUtf8(limit.str()));
        static_cast<CButton*>(page.GetDlgItem(CTapBalanceDlg::IDC_INI_SAVE))->Click();
        page.DestroyWindow();
    }

    // Everything the file held outside the seven limits reads as before.
    for (const ProfileEntry& entry : before) {
        bool isLimit = false;
        for (const wchar_t* key : kKeys)
            isLimit = isLimit || (ProfileFile::SameName(entry.section, kSection) &&
                                  ProfileFile::SameName(entry.key, key));
        if (!isLimit && ReadProfileValue(widePath, entry.section, entry.key) != entry.value)
            Fail("saving the limits lost another key of the file");
    }

    CTapBalanceDlg again;
    again.Create(CTapBalanceDlg::IDD, nullptr);
    if (ShownLimits(again) != saved)
        Fail("the page opened again does not show the saved limits");
    again.DestroyWindow();
    Settle();
    return 0;
}
