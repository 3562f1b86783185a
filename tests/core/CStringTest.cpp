#include "CString.h"
#include "Crt.h"
#include "StringConv.h"

#include <gtest/gtest.h>

TEST(CStringFormat, WideAndNarrowTextAndNumbers) {
    CString name(L"ReverseY");
    CString s;
    s.Format(L"ERROR : '%s'", name);
    EXPECT_EQ(s, L"ERROR : 'ReverseY'");
    s.Format(L"width = %d  height = %d", 2448, 2048);
    EXPECT_EQ(s, L"width = 2448  height = 2048");
    s.Format(L"%.2f|%lf|%5d|%-4d|%03d|%x", 59.996, 4.0, 42, 7, 5, 255u);
    EXPECT_EQ(s, L"60.00|4.000000|   42|7   |005|ff");
    s.Format(L"[%s_%s_%s]", L"", CString(), L"v");
    EXPECT_EQ(s, L"[__v]");
    s.Format(L"%hs and %S", "narrow", "또");
    EXPECT_EQ(s, L"narrow and 또");
    s.Format(L"%I64d %lld %llu", 1LL << 40, -5LL, 18446744073709551615ULL);
    EXPECT_EQ(s, L"1099511627776 -5 18446744073709551615");
    s.Format(L"100%% %c", L'한');
    EXPECT_EQ(s, L"100% 한");
}

TEST(CStringFormat, MismatchedOrMissingArgumentsNeverReadBeyondTheCall) {
    CString s;
    s.Format(L"%d and %s", L"text");
    EXPECT_EQ(s, L"? and ");
    s.Format(L"%s", 12);
    EXPECT_EQ(s, L"?");
    s.Format(L"%n%d", 3);
    EXPECT_EQ(s, L"");
    const wchar_t* nothing = nullptr;
    s.Format(L"%s", nothing);
    EXPECT_EQ(s, L"(null)");
}

TEST(CStringEdit, TrimReplaceFindAndSlices) {
    CString s(L"  \t이름입력 \r\n");
    s.Trim();
    EXPECT_EQ(s, L"이름입력");
    CString m(L"a\r\nb\r\nc");
    EXPECT_EQ(m.Replace(L"\r\n", L","), 2);
    EXPECT_EQ(m, L"a,b,c");
    EXPECT_EQ(m.Replace(L",", L"\r\n"), 2);
    EXPECT_EQ(m, L"a\r\nb\r\nc");
    EXPECT_EQ(m.Replace(L"", L"x"), 0);
    CString p(L"C:\\dir\\file.log");
    EXPECT_EQ(p.ReverseFind(L'\\'), 6);
    EXPECT_EQ(p.Mid(p.ReverseFind(L'\\') + 1), L"file.log");
    EXPECT_EQ(p.Left(2), L"C:");
    EXPECT_EQ(p.Right(3), L"log");
    EXPECT_EQ(p.Right(100), p);
    EXPECT_EQ(p.Left(-1), L"");
    EXPECT_EQ(p.Right(-1), L"");
    EXPECT_EQ(p.Mid(-3, 2), L"C:");
    EXPECT_EQ(p.Mid(100), L"");
    EXPECT_EQ(p.Find(L"dir"), 3);
    EXPECT_EQ(p.Find(L"dir", 4), -1);
    EXPECT_EQ(p.Find(L'x', 99), -1);
    EXPECT_EQ(CString(L"BayerRG10").Right(2), L"10");
}

TEST(CStringCompare, CaseAndBuffers) {
    EXPECT_EQ(CString(L"Mono8").Compare(L"Mono8"), 0);
    EXPECT_NE(CString(L"mono8").Compare(L"Mono8"), 0);
    EXPECT_EQ(CString(L"mono8").CompareNoCase(L"MONO8"), 0);
    EXPECT_LT(CString(L"a").CompareNoCase(L"B"), 0);
    CString b;
    wchar_t* buf = b.GetBuffer(10);
    wcscpy(buf, L"abc");
    b.ReleaseBuffer();
    EXPECT_EQ(b.GetLength(), 3);
    EXPECT_EQ(b, L"abc");
}

TEST(CStringConvert, Utf8AndCp949RoundTrips) {
    const std::wstring korean = L"검사항목 편집 창";
    EXPECT_EQ(kavrino::Utf8ToWide(kavrino::WideToUtf8(korean)), korean);
    // Sequences of two, three and four bytes (file names may hold any of them).
    EXPECT_EQ(kavrino::WideToUtf8(L"é검🙂"), "\xC3\xA9\xEA\xB2\x80\xF0\x9F\x99\x82");
    EXPECT_EQ(kavrino::Utf8ToWide("\xC3\xA9\xEA\xB2\x80\xF0\x9F\x99\x82"), L"é검🙂");
    const std::string cp949 = kavrino::WideToCp949(L"검사");
    EXPECT_EQ(cp949, std::string("\xB0\xCB\xBB\xE7"));
    EXPECT_EQ(kavrino::Cp949ToWide(cp949), L"검사");
    EXPECT_FALSE(kavrino::IsValidUtf8(cp949));
    EXPECT_TRUE(kavrino::IsValidUtf8(kavrino::WideToUtf8(korean)));
    EXPECT_EQ(kavrino::Utf8ToWide("a\xFF"
                                  "b"),
              L"a\xFFFD"
              L"b");
    EXPECT_STREQ(static_cast<const char*>(CT2A(L"작업자")), "작업자");
}

TEST(Crt, WtoiAndWtofFollowTheRuntimeRules) {
    EXPECT_EQ(_wtoi(L"  -42abc"), -42);
    EXPECT_EQ(_wtoi(L"+7"), 7);
    EXPECT_EQ(_wtoi(L"abc"), 0);
    EXPECT_EQ(_wtoi(L""), 0);
    EXPECT_EQ(_wtoi(nullptr), 0);
    EXPECT_EQ(_wtoi(L"- 5"), 0);
    EXPECT_EQ(_wtoi(L"99999999999999"), 2147483647);
    EXPECT_EQ(_wtoi(L"-99999999999999"), -2147483647 - 1);
    EXPECT_DOUBLE_EQ(_wtof(L" 2.5ms"), 2.5);
    EXPECT_DOUBLE_EQ(_wtof(L"-.5"), -0.5);
    EXPECT_DOUBLE_EQ(_wtof(L"1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(_wtof(L"x1"), 0.0);
    EXPECT_DOUBLE_EQ(_wtof(L"inf"), 0.0);
}
