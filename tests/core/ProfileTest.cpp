#include "Profile.h"
#include "StringConv.h"

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

// A fresh folder per test, removed with everything in it afterwards.
class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kavrino-profile-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override {
        for (const std::string& name : Entries())
            ::unlink((m_dir + "/" + name).c_str());
        ::rmdir(m_dir.c_str());
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    std::wstring WPath(const std::string& name) const { return kavrino::Utf8ToWide(Path(name)); }

    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Bytes(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(m_dir.c_str())) {
            while (dirent* e = ::readdir(d)) {
                const std::string n = e->d_name;
                if (n != "." && n != "..")
                    names.push_back(n);
            }
            ::closedir(d);
        }
        return names;
    }

    std::wstring Get(const wchar_t* section, const wchar_t* key, const std::string& name = "t.ini",
                     const wchar_t* def = nullptr) const {
        wchar_t buf[255] = {};
        GetPrivateProfileString(section, key, def, buf, 255, WPath(name).c_str());
        return buf;
    }
    BOOL Set(const wchar_t* section, const wchar_t* key, const wchar_t* value,
             const std::string& name = "t.ini") const {
        return WritePrivateProfileString(section, key, value, WPath(name).c_str());
    }

    std::string m_dir;
};

} // namespace

TEST_F(Profile, LookupIgnoresCaseAndBlanksAndTakesTheFirstMatch) {
    Put("t.ini", "top=before any section\r\n"
                 "; comment=not a key\r\n"
                 "# also=not a key\r\n"
                 "[ Align ]\r\n"
                 "  CenterX  =  120  \r\n"
                 "centerx=999\r\n"
                 "Quoted=\"  spaced text  \"\r\n"
                 "Half=\"open\r\n"
                 "no equals sign here\r\n"
                 "[align]\r\n"
                 "CenterY=7\r\n");
    EXPECT_EQ(Get(L"ALIGN", L"CENTERX"), L"120");
    EXPECT_EQ(Get(L"align", L"Quoted"), L"  spaced text  ");
    EXPECT_EQ(Get(L"align", L"Half"), L"\"open");
    // A repeated section carries on the first one.
    EXPECT_EQ(Get(L"align", L"CenterY"), L"7");
    EXPECT_EQ(Get(L"align", L"top", "t.ini", L"d"), L"d");
    EXPECT_EQ(Get(L"align", L"; comment", "t.ini", L"d"), L"d");
    EXPECT_EQ(Get(L"align", L"no equals sign here", "t.ini", L"d"), L"d");
}

TEST_F(Profile, MissingThingsReadAsTheDefaultWithoutTrailingBlanks) {
    Put("t.ini", "[A]\r\nk=v\r\nempty=\r\n");
    EXPECT_EQ(Get(L"A", L"missing", "t.ini", L" dflt \t "), L" dflt");
    EXPECT_EQ(Get(L"B", L"k", "t.ini", L"x"), L"x");
    EXPECT_EQ(Get(L"A", L"k", "none.ini", L"x"), L"x");
    EXPECT_EQ(Get(L"A", L"missing", "t.ini", nullptr), L"");
    // A present but empty value is the value, not the default.
    EXPECT_EQ(Get(L"A", L"empty", "t.ini", L"x"), L"");

    wchar_t buf[16] = L"junk";
    EXPECT_EQ(GetPrivateProfileString(L"A", L"k", L"def", buf, 16, L""), 3u);
    EXPECT_STREQ(buf, L"def");
    EXPECT_EQ(GetPrivateProfileString(L"A", L"k", L"def", buf, 16, nullptr), 3u);
    EXPECT_EQ(GetPrivateProfileString(L"A", L"k", L"def", buf, 16, kavrino::Utf8ToWide(m_dir).c_str()), 3u);
    EXPECT_EQ(GetPrivateProfileString(L"A", L"k", L"def", buf, 16, WPath("no/such/t.ini").c_str()), 3u);
    EXPECT_EQ(GetPrivateProfileString(L"A", L"k", L"def", buf, 16, WPath("t.ini/sub.ini").c_str()), 3u);
}

// A pipe or a device named as the file reads as a missing file and is never written: nothing waits for
// another program to open the pipe's other end.
TEST_F(Profile, APipeOrADeviceReadsAsDefaultsWithoutWaiting) {
    ASSERT_EQ(::mkfifo(Path("pipe.ini").c_str(), 0600), 0);
    EXPECT_EQ(Get(L"A", L"k", "pipe.ini", L"d"), L"d");
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt(L"A", L"k", -3, WPath("pipe.ini").c_str())), -3);
    EXPECT_FALSE(Set(L"A", L"k", L"v", "pipe.ini"));
    wchar_t buf[16] = L"junk";
    EXPECT_EQ(GetPrivateProfileString(L"A", L"k", L"d", buf, 16, L"/dev/zero"), 1u);
    EXPECT_FALSE(WritePrivateProfileString(L"A", L"k", L"v", L"/dev/null"));
}

// A file far larger or of far more lines than any test set is refused whole, as an unreadable one: every
// line costs memory whatever its length (8 MB of empty lines took 2 GB), so neither is read, and neither
// is written over.
TEST_F(Profile, AFileOfFarTooManyLinesOrBytesIsRefused) {
    const std::string lines = "[A]\nk=v\n" + std::string(1 << 18, '\n');
    Put("lines.ini", lines);
    EXPECT_EQ(Get(L"A", L"k", "lines.ini", L"d"), L"d");
    EXPECT_FALSE(Set(L"A", L"k", L"w", "lines.ini"));
    EXPECT_EQ(Bytes("lines.ini"), lines);
    Put("lines.ini", "[A]\nk=v\n" + std::string((1 << 18) - 3, '\n'));
    EXPECT_EQ(Get(L"A", L"k", "lines.ini", L"d"), L"v");

    const std::string bytes = "[A]\r\nk=v\r\nbig=" + std::string(16 << 20, 'b') + "\r\n";
    Put("bytes.ini", bytes);
    EXPECT_EQ(Get(L"A", L"k", "bytes.ini", L"d"), L"d");
    EXPECT_FALSE(Set(L"A", L"k", L"w", "bytes.ini"));
    EXPECT_EQ(Bytes("bytes.ini").size(), bytes.size());
}

// Reads of an unchanged file share one parse of it; every change is still seen at once, also one that
// keeps the file's size and its place on the disk.
TEST_F(Profile, EveryReadSeesTheFileAsItIsNow) {
    Put("t.ini", "[A]\r\nk=one\r\n");
    Put("u.ini", "[A]\r\nk=uuu\r\n");
    EXPECT_EQ(Get(L"A", L"k"), L"one");
    EXPECT_EQ(Get(L"A", L"k"), L"one");
    {
        std::fstream f(Path("t.ini"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(7);
        f << "two";
    }
    EXPECT_EQ(Get(L"A", L"k"), L"two");
    EXPECT_EQ(Get(L"A", L"k", "u.ini"), L"uuu");
    EXPECT_EQ(Get(L"A", L"k"), L"two");
    ASSERT_TRUE(Set(L"A", L"k", L"six"));
    EXPECT_EQ(Get(L"A", L"k"), L"six");
    ASSERT_EQ(::unlink(Path("t.ini").c_str()), 0);
    EXPECT_EQ(Get(L"A", L"k", "t.ini", L"gone"), L"gone");
    Put("t.ini", "[A]\r\nk=six\r\n");
    EXPECT_EQ(Get(L"A", L"k"), L"six");

    // A file that has not changed for a while keeps its parse as long as its stamp stays; a change in
    // place of the same size gives it another stamp, and the next read sees it.
    kavrino::SetProfileClock([] { return std::numeric_limits<std::int64_t>::max() / 2; });
    EXPECT_EQ(Get(L"A", L"k"), L"six");
    EXPECT_EQ(Get(L"A", L"k"), L"six");
    {
        std::fstream f(Path("t.ini"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(7);
        f << "ten";
    }
    EXPECT_EQ(Get(L"A", L"k"), L"ten");
    kavrino::SetProfileClock(nullptr);
}

TEST_F(Profile, BufferIsCutToOneLessThanItsSize) {
    const std::wstring longValue(300, L'p');
    ASSERT_TRUE(Set(L"8BIT", L"DCF_PATH", longValue.c_str()));
    wchar_t buf[255];
    EXPECT_EQ(GetPrivateProfileString(L"8BIT", L"DCF_PATH", nullptr, buf, 255, WPath("t.ini").c_str()), 254u);
    EXPECT_EQ(std::wstring(buf), std::wstring(254, L'p'));
    // The default is cut the same way.
    EXPECT_EQ(GetPrivateProfileString(L"X", L"Y", longValue.c_str(), buf, 10, WPath("t.ini").c_str()), 9u);
    EXPECT_EQ(std::wstring(buf), std::wstring(9, L'p'));

    buf[0] = L'z';
    EXPECT_EQ(GetPrivateProfileString(L"8BIT", L"DCF_PATH", nullptr, buf, 1, WPath("t.ini").c_str()), 0u);
    EXPECT_EQ(buf[0], L'\0');
    buf[0] = L'z';
    EXPECT_EQ(GetPrivateProfileString(L"8BIT", L"DCF_PATH", nullptr, buf, 0, WPath("t.ini").c_str()), 0u);
    EXPECT_EQ(buf[0], L'z');
    EXPECT_EQ(GetPrivateProfileString(L"8BIT", L"DCF_PATH", nullptr, nullptr, 255, WPath("t.ini").c_str()),
              0u);
}

TEST_F(Profile, NullKeyOrSectionListsNames) {
    Put("t.ini", "[A]\r\none=1\r\ntwo=2\r\nONE=3\r\n[B]\r\n[a]\r\nthree=3\r\n");
    wchar_t buf[64];
    const std::wstring path = WPath("t.ini");
    DWORD n = GetPrivateProfileString(L"a", nullptr, nullptr, buf, 64, path.c_str());
    EXPECT_EQ(std::wstring(buf, n + 1), std::wstring(L"one\0two\0three\0", 15));
    n = GetPrivateProfileString(nullptr, nullptr, nullptr, buf, 64, path.c_str());
    EXPECT_EQ(std::wstring(buf, n + 1), std::wstring(L"A\0B\0", 5));
    // Cut: ended by two zeros, size - 2 returned.
    n = GetPrivateProfileString(L"A", nullptr, nullptr, buf, 6, path.c_str());
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(std::wstring(buf, 6), std::wstring(L"one\0\0\0", 6));
    // Room for the terminating zero only: an empty list, nothing written beyond it.
    buf[1] = L'x';
    EXPECT_EQ(GetPrivateProfileString(nullptr, nullptr, nullptr, buf, 1, path.c_str()), 0u);
    EXPECT_EQ(buf[0], L'\0');
    EXPECT_EQ(buf[1], L'x');
}

TEST_F(Profile, IntReadsLikeWtoiAndDefaultsOnlyWhenMissing) {
    Put("t.ini", "[기타검사]\r\nNOISE=1\r\nELECTRIC_VALUE=  -250mA\r\nVOLTAGE_VALUE=abc\r\nEMPTY=\r\n");
    const std::wstring path = WPath("t.ini");
    EXPECT_EQ(GetPrivateProfileInt(L"기타검사", L"noise", 9, path.c_str()), 1u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt(L"기타검사", L"ELECTRIC_VALUE", 9, path.c_str())), -250);
    EXPECT_EQ(GetPrivateProfileInt(L"기타검사", L"VOLTAGE_VALUE", 9, path.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileInt(L"기타검사", L"EMPTY", 9, path.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileInt(L"기타검사", L"BLOOMING", 9, path.c_str()), 9u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt(L"x", L"y", -4, WPath("none.ini").c_str())), -4);
}

TEST_F(Profile, WriteCreatesFileSectionAndKeyInOrder) {
    ASSERT_TRUE(Set(L"ItemCount", L"검사항목", L"2"));
    ASSERT_TRUE(Set(L"0", L"검사항목", L"노출 검사"));
    ASSERT_TRUE(Set(L"ItemCount", L"Extra", L"x"));
    // New files as the original platform writes them: the Korean code page without BOM, "\r\n".
    EXPECT_EQ(Bytes("t.ini"),
              kavrino::WideToCp949(L"[ItemCount]\r\n검사항목=2\r\nExtra=x\r\n[0]\r\n검사항목=노출 검사\r\n"));
    EXPECT_EQ(Get(L"0", L"검사항목"), L"노출 검사");
    // Only the file itself is left in the folder.
    EXPECT_EQ(Entries(), std::vector<std::string>{"t.ini"});

    // An empty file is new as well; the code page refuses what it cannot hold, as in any CP949 file.
    Put("e.ini", "");
    ASSERT_TRUE(Set(L"GAIN", L"검사방법", L"a,b", "e.ini"));
    EXPECT_EQ(Bytes("e.ini"), kavrino::WideToCp949(L"[GAIN]\r\n검사방법=a,b\r\n"));
    EXPECT_FALSE(Set(L"GAIN", L"이미지경로", L"/p/☃.bmp", "e.ini"));
    EXPECT_EQ(Get(L"GAIN", L"검사방법", "e.ini"), L"a,b");

    // A new file whose first text the code page cannot hold keeps it, in UTF-8.
    ASSERT_TRUE(Set(L"GAIN", L"이미지경로", L"/p/☃.bmp", "u.ini"));
    EXPECT_EQ(Bytes("u.ini"), "[GAIN]\r\n이미지경로=/p/☃.bmp\r\n");
    ASSERT_TRUE(Set(L"GAIN", L"검사방법", L"x", "u.ini"));
    EXPECT_EQ(Get(L"GAIN", L"이미지경로", "u.ini"), L"/p/☃.bmp");
    EXPECT_EQ(Get(L"GAIN", L"검사방법", "u.ini"), L"x");
}

TEST_F(Profile, WriteChangesOnlyWhatItMustAndKeepsTheRest) {
    const std::string before = "; test set\n"
                               "stray=before sections\n"
                               "[ALIGN]\n"
                               "  EdgeZoom = 2   ; spaced\n"
                               "Center=1\n"
                               "\n"
                               "# next comes BRIGHT\n"
                               "[BRIGHT]\n"
                               "W1=1,2,3,4\n";
    Put("t.ini", before);
    ASSERT_TRUE(Set(L"align", L"center", L"5"));
    ASSERT_TRUE(Set(L"ALIGN", L"New", L"n"));
    ASSERT_TRUE(Set(L"EXPOSURE", L"검사방법", L"a,b"));
    // The file's "\n" line ends are kept; the new key goes before the blank line and comment that lead to
    // the next section; the key keeps its spelling. A file of ASCII alone takes Korean text in CP949.
    EXPECT_EQ(Bytes("t.ini"), "; test set\n"
                              "stray=before sections\n"
                              "[ALIGN]\n"
                              "  EdgeZoom = 2   ; spaced\n"
                              "Center=5\n"
                              "New=n\n"
                              "\n"
                              "# next comes BRIGHT\n"
                              "[BRIGHT]\n"
                              "W1=1,2,3,4\n"
                              "[EXPOSURE]\n" +
                                  kavrino::WideToCp949(L"검사방법=a,b\n"));

    ASSERT_TRUE(Set(L"ALIGN", L"New", nullptr));
    ASSERT_TRUE(Set(L"EXPOSURE", nullptr, nullptr));
    EXPECT_EQ(Bytes("t.ini"), before.substr(0, before.find("Center=1")) + "Center=5\n" +
                                  before.substr(before.find("\n# next")));
    // Deleting what is not there changes nothing and is no failure.
    EXPECT_TRUE(Set(L"NONE", L"k", nullptr));
    EXPECT_TRUE(Set(L"NONE", nullptr, nullptr));
    EXPECT_TRUE(Set(L"A", L"k", nullptr, "none.ini"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"t.ini"});
}

// An edited line keeps its own line end, whatever the file's first line ends with; a last line without
// one stays without.
TEST_F(Profile, AnEditedLineKeepsItsOwnLineEnd) {
    Put("t.ini", "[A]\r\nk=1\nm=2\r\nz=3");
    ASSERT_TRUE(Set(L"A", L"k", L"5"));
    ASSERT_TRUE(Set(L"A", L"m", L"6"));
    ASSERT_TRUE(Set(L"A", L"z", L"7"));
    EXPECT_EQ(Bytes("t.ini"), "[A]\r\nk=5\nm=6\r\nz=7");
    // A new key after the last line gives that line the file's line end.
    ASSERT_TRUE(Set(L"A", L"n", L"8"));
    EXPECT_EQ(Bytes("t.ini"), "[A]\r\nk=5\nm=6\r\nz=7\r\nn=8\r\n");
}

TEST_F(Profile, DeleteRemovesEveryCopyAndTheWholeSection) {
    Put("t.ini", "[A]\r\nk=1\r\n; about A\r\nK=2\r\n[B]\r\nb=1\r\n[a]\r\nk=3\r\nz=4\r\n");
    ASSERT_TRUE(Set(L"A", L"k", nullptr));
    EXPECT_EQ(Get(L"A", L"k", "t.ini", L"gone"), L"gone");
    EXPECT_EQ(Get(L"A", L"z"), L"4");
    ASSERT_TRUE(Set(L"a", nullptr, nullptr));
    EXPECT_EQ(Bytes("t.ini"), "[B]\r\nb=1\r\n");
}

TEST_F(Profile, LegacyCp949FileIsReadAndStaysCp949) {
    // "[ItemCount]\r\n검사항목=3\r\n[0]\r\n검사항목=노출 검사\r\n[BRIGHT_DIFF]\r\n휘도편차=똠\r\n" in CP949.
    const std::string cp949 = "[ItemCount]\r\n\xb0\xcb\xbb\xe7\xc7\xd7\xb8\xf1=3\r\n"
                              "[0]\r\n\xb0\xcb\xbb\xe7\xc7\xd7\xb8\xf1=\xb3\xeb\xc3\xe2 \xb0\xcb\xbb\xe7\r\n"
                              "[BRIGHT_DIFF]\r\n\xc8\xd6\xb5\xb5\xc6\xed\xc2\xf7=\x8c\x63\r\n";
    Put("t.ini", cp949);
    EXPECT_EQ(GetPrivateProfileInt(L"ItemCount", L"검사항목", -1, WPath("t.ini").c_str()), 3u);
    EXPECT_EQ(Get(L"0", L"검사항목"), L"노출 검사");
    EXPECT_EQ(Get(L"BRIGHT_DIFF", L"휘도편차"), L"똠");

    ASSERT_TRUE(Set(L"기타검사", L"NOISE", L"1"));
    EXPECT_EQ(Bytes("t.ini"), cp949 + "[\xb1\xe2\xc5\xb8\xb0\xcb\xbb\xe7]\r\nNOISE=1\r\n");
    EXPECT_EQ(Get(L"기타검사", L"noise"), L"1");

    // Text the code page cannot hold is refused rather than written as '?'.
    EXPECT_FALSE(Set(L"0", L"검사항목", L"snow ☃"));
    EXPECT_EQ(Get(L"0", L"검사항목"), L"노출 검사");
    // Also in a new section's name: the file stays as it was.
    const std::string before = Bytes("t.ini");
    EXPECT_FALSE(Set(L"snow ☃", L"k", L"v"));
    EXPECT_EQ(Bytes("t.ini"), before);

    // One code page reads the whole file, as on a station running the original: a line whose CP949
    // bytes happen to form UTF-8 ("화" is C8 AD) reads as CP949 too, and keeps doing so through writes.
    const std::string station = "[ItemCount]\r\n\xb0\xcb\xbb\xe7\xc7\xd7\xb8\xf1=1\r\n"
                                "[8BIT]\r\nDCF_PATH=C:\\\xc8\xad\\cam.dcf\r\n";
    ASSERT_TRUE(kavrino::IsValidUtf8("DCF_PATH=C:\\\xc8\xad\\cam.dcf"));
    Put("station.ini", station);
    EXPECT_EQ(Get(L"8BIT", L"DCF_PATH", "station.ini"), L"C:\\화\\cam.dcf");
    ASSERT_TRUE(Set(L"8BIT", L"DCF_PATH", L"C:\\화\\cam.dcf", "station.ini"));
    ASSERT_TRUE(Set(L"10BIT", L"DCF_PATH", L"C:\\창\\cam10.dcf", "station.ini"));
    EXPECT_EQ(Bytes("station.ini"),
              station + kavrino::WideToCp949(L"[10BIT]\r\nDCF_PATH=C:\\창\\cam10.dcf\r\n"));
    EXPECT_EQ(Get(L"8BIT", L"DCF_PATH", "station.ini"), L"C:\\화\\cam.dcf");
    EXPECT_EQ(Get(L"10BIT", L"DCF_PATH", "station.ini"), L"C:\\창\\cam10.dcf");
}

// A change that would turn how the rest of a file reads is refused: once the last bytes of a CP949 file
// that are not UTF-8 went, the file would read as UTF-8 and its other Korean lines otherwise. A change
// that leaves nothing but ASCII behind turns nothing and goes through.
TEST_F(Profile, AWriteNeverTurnsTheCodePageUnderTheOtherLines) {
    // "[0]\r\n검사항목=비닝" written by another tool in UTF-8, "[BRIGHT_DIFF]\r\n휘도편차=10" by the
    // original in CP949: the file reads in CP949 throughout, the first key as the original reads it.
    const std::string mixed = "[0]\r\n\xea\xb2\x80\xec\x82\xac\xed\x95\xad\xeb\xaa\xa9=x\r\n"
                              "[BRIGHT_DIFF]\r\n\xc8\xd6\xb5\xb5\xc6\xed\xc2\xf7=10\r\n";
    Put("mixed.ini", mixed);
    EXPECT_EQ(Get(L"BRIGHT_DIFF", L"휘도편차", "mixed.ini"), L"10");
    EXPECT_EQ(Get(L"0", L"검사항목", "mixed.ini", L"none"), L"none");
    EXPECT_FALSE(Set(L"BRIGHT_DIFF", nullptr, nullptr, "mixed.ini"));
    EXPECT_FALSE(Set(L"BRIGHT_DIFF", L"휘도편차", nullptr, "mixed.ini"));
    EXPECT_EQ(Bytes("mixed.ini"), mixed);
    // What keeps a byte that is not UTF-8 goes through.
    ASSERT_TRUE(Set(L"BRIGHT_DIFF", L"휘도편차", L"20", "mixed.ini"));
    EXPECT_EQ(Get(L"BRIGHT_DIFF", L"휘도편차", "mixed.ini"), L"20");

    Put("ascii.ini", "[A]\r\nk=1\r\n[B]\r\n\xb0\xcb=2\r\n");
    ASSERT_TRUE(Set(L"B", nullptr, nullptr, "ascii.ini"));
    EXPECT_EQ(Bytes("ascii.ini"), "[A]\r\nk=1\r\n");

    // A file of ASCII alone takes Korean text as the original writes it, in CP949; text whose CP949
    // bytes would read as UTF-8 ("화" alone), or that CP949 cannot hold, in UTF-8.
    ASSERT_TRUE(Set(L"8BIT", L"DCF_PATH", L"C:\\검사\\cam.dcf", "ascii.ini"));
    EXPECT_EQ(Bytes("ascii.ini"),
              "[A]\r\nk=1\r\n" + kavrino::WideToCp949(L"[8BIT]\r\nDCF_PATH=C:\\검사\\cam.dcf\r\n"));
    Put("new.ini", "[A]\r\nk=1\r\n");
    ASSERT_TRUE(Set(L"8BIT", L"DCF_PATH", L"C:\\화", "new.ini"));
    EXPECT_EQ(Bytes("new.ini"), "[A]\r\nk=1\r\n[8BIT]\r\nDCF_PATH=C:\\화\r\n");
    EXPECT_EQ(Get(L"8BIT", L"DCF_PATH", "new.ini"), L"C:\\화");
    ASSERT_TRUE(Set(L"화", L"key", L"화", "fresh.ini"));
    EXPECT_EQ(Get(L"화", L"key", "fresh.ini"), L"화");
}

// Found by fuzzing: a file whose lines end in "\n" and whose last line ends in a carriage return without
// a line feed. The key added after it must not turn that carriage return into part of a line end: the
// last key's value ("11" and a CP949 lead byte before the return) would read otherwise.
TEST_F(Profile, AKeyAddedAfterALastLineWithoutItsEndKeepsTheOtherKeys) {
    const std::string bytes = "[0]\r\xcb\xb0\n\xbb\xe7\xc7\xd7\xb8\xf1=\xba\xf1\xb4\xd7\r\n"
                              "[.RIGHT_DIFF]\r\n\xc8\xd6\xb5\xb5\xc6\xed\xc2\x0c=11\xb0\r"s;
    Put("t.ini", bytes);
    wchar_t keys[64] = {};
    ASSERT_GT(GetPrivateProfileString(L".RIGHT_DIFF", nullptr, nullptr, keys, 64, WPath("t.ini").c_str()),
              0u);
    const std::wstring key = keys;
    const std::wstring value = Get(L".RIGHT_DIFF", key.c_str());
    const std::wstring first = Get(L"0", L"사항목");
    EXPECT_EQ(first, L"비닝");
    ASSERT_TRUE(Set(L".RIGHT_DIFF", L"upper", L"a=b"));
    EXPECT_EQ(Get(L".RIGHT_DIFF", key.c_str(), "t.ini", L"lost"), value);
    EXPECT_EQ(Get(L"0", L"사항목"), first);
    EXPECT_EQ(Get(L".RIGHT_DIFF", L"upper"), L"a=b");
}

// Many values written at once leave exactly the bytes the same writes one after the other leave, in
// every kind of file; one refused value leaves the file as it was, or still missing.
TEST_F(Profile, WritesAtOnceLeaveWhatTheSameWritesOneByOneLeave) {
    std::string utf16 = "\xFF\xFE";
    for (wchar_t c : std::wstring(L"[0]\r\n검사항목=비닝\r\n"))
        utf16 += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    const std::vector<std::string> files = {
        "",
        "[A]\nk=1\n[ItemCount]\n",
        kavrino::WideToCp949(
            L"[ItemCount]\r\n검사항목=9\r\n[9]\r\n검사항목=노출\r\n[BINNING]\r\n검사방법=a,b"),
        "[ItemCount]\r\n검사항목=1\r\n[0]\r\n검사항목=비닝\r\n",
        utf16,
        "\xEF\xBB\xBF[8BIT]\nDCF_PATH=x\r",
        "; only a comment\r\n[x\r\n",
    };
    const std::vector<kavrino::ProfileWrite> writes = {
        {L"ItemCount", L"검사항목", L"2"},
        {L"0", L"검사항목", L"화이트 밸런스"},
        {L"1", L"검사항목", L"ROI"},
        {L"ISCOLOR", L"컬러카메라", L"1"},
        {L"8BIT", L"DCF_PATH", L"C:\\화\\cam.dcf"},
        {L"기타검사", L"NOISE", L"0"},
        {L"ItemCount", L"검사항목", L"2"},
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        Put("one.ini", files[i]);
        Put("all.ini", files[i]);
        for (const kavrino::ProfileWrite& w : writes)
            ASSERT_TRUE(Set(w.section.c_str(), w.key.c_str(), w.value.c_str(), "one.ini"));
        ASSERT_TRUE(kavrino::WritePrivateProfileStrings(writes, WPath("all.ini").c_str()));
        EXPECT_EQ(Bytes("all.ini"), Bytes("one.ini"));
    }
    ASSERT_TRUE(kavrino::WritePrivateProfileStrings(writes, WPath("new.ini").c_str()));
    Put("one.ini", "");
    for (const kavrino::ProfileWrite& w : writes)
        ASSERT_TRUE(Set(w.section.c_str(), w.key.c_str(), w.value.c_str(), "one.ini"));
    EXPECT_EQ(Bytes("new.ini"), Bytes("one.ini"));

    std::vector<kavrino::ProfileWrite> refused = writes;
    refused.insert(refused.begin() + 3, {L"10BIT", L"DCF_PATH", L"/cam/☃/x.dcf"});
    const std::string before = files[2];
    Put("cp.ini", before);
    EXPECT_FALSE(kavrino::WritePrivateProfileStrings(refused, WPath("cp.ini").c_str()));
    EXPECT_EQ(Bytes("cp.ini"), before);
    refused.back() = {L"A", L"line", L"one\ntwo"};
    EXPECT_FALSE(kavrino::WritePrivateProfileStrings(refused, WPath("missing.ini").c_str()));
    EXPECT_FALSE(kavrino::WritePrivateProfileStrings(writes, L""));
    const std::vector<std::string> left = Entries();
    EXPECT_EQ(std::count(left.begin(), left.end(), "missing.ini"), 0);
}

TEST_F(Profile, Utf16AndUtf8ByteOrderMarksAreKept) {
    std::string utf16 = "\xFF\xFE";
    for (wchar_t c : std::wstring(L"[GAIN]\r\n검사방법=x\r\n"))
        utf16 += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    Put("w.ini", utf16);
    EXPECT_EQ(Get(L"gain", L"검사방법", "w.ini"), L"x");
    ASSERT_TRUE(Set(L"GAIN", L"검사방법", L"y", "w.ini"));
    ASSERT_TRUE(Set(L"GAIN", L"이미지경로", L"/p/🙂.bmp", "w.ini"));
    const std::string bytes = Bytes("w.ini");
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::wstring decoded;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        decoded.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                               static_cast<unsigned char>(bytes[i + 1]) << 8));
    // The emoji is one surrogate pair in the file and one character again on reading.
    EXPECT_EQ(decoded, L"[GAIN]\r\n검사방법=y\r\n이미지경로=/p/\xD83D\xDE42.bmp\r\n");
    EXPECT_EQ(Get(L"GAIN", L"이미지경로", "w.ini"), L"/p/🙂.bmp");
    // A stray last byte is half a character: it is not read.
    std::string odd = "\xFF\xFE";
    for (wchar_t c : std::wstring(L"[A]\r\nk=v"))
        odd += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    Put("odd.ini", odd + "x");
    EXPECT_EQ(Get(L"A", L"k", "odd.ini"), L"v");

    Put("b.ini", "\xEF\xBB\xBF[A]\nk=v\n");
    ASSERT_TRUE(Set(L"A", L"k", L"w", "b.ini"));
    EXPECT_EQ(Bytes("b.ini"), "\xEF\xBB\xBF[A]\nk=w\n");
}

TEST_F(Profile, FailedWritesReturnFalseAndLeaveTheOldFile) {
    Put("t.ini", "[A]\r\nk=old\r\n");
    // The folder does not exist, or is a file.
    EXPECT_FALSE(Set(L"A", L"k", L"new", "missing/t.ini"));
    EXPECT_FALSE(Set(L"A", L"k", L"new", "t.ini/t.ini"));
    EXPECT_FALSE(WritePrivateProfileString(L"A", L"k", L"new", L""));
    EXPECT_FALSE(WritePrivateProfileString(L"A", L"k", L"new", nullptr));
    // The path is a folder.
    EXPECT_FALSE(WritePrivateProfileString(L"A", L"k", L"new", kavrino::Utf8ToWide(m_dir).c_str()));
    // Names and values that would not read back as themselves.
    EXPECT_FALSE(Set(L"A", L"k", L"line1\r\nplanted=1"));
    EXPECT_FALSE(Set(L"A", L"k", L"line1\nline2"));
    EXPECT_FALSE(Set(L"A", L"a=b", L"v"));
    EXPECT_FALSE(Set(L"A", L";k", L"v"));
    EXPECT_FALSE(Set(L"A", L" #k", L"v"));
    EXPECT_FALSE(Set(L"A", L"[k", L"v"));
    EXPECT_FALSE(Set(L"A]B", L"k", L"v"));
    EXPECT_EQ(Bytes("t.ini"), "[A]\r\nk=old\r\n");

    // A read-only file is refused (also for root, who could write it anyway) and keeps its mode.
    ASSERT_EQ(::chmod(Path("t.ini").c_str(), 0444), 0);
    EXPECT_FALSE(Set(L"A", L"k", L"new"));
    EXPECT_EQ(Get(L"A", L"k"), L"old");
    ASSERT_EQ(::chmod(Path("t.ini").c_str(), 0640), 0);
    ASSERT_TRUE(Set(L"A", L"k", L"new"));
    struct stat st {};
    ASSERT_EQ(::stat(Path("t.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(), std::vector<std::string>{"t.ini"}); // no temporary file left behind

    // A file too large to be a test set is not read, and so never replaced by one holding only the new
    // key (the file is sparse: its size costs no disk).
    Put("huge.ini", "[A]\r\nk=old\r\n");
    const off_t hugeSize = off_t(65) * 1024 * 1024;
    ASSERT_EQ(::truncate(Path("huge.ini").c_str(), hugeSize), 0);
    EXPECT_FALSE(Set(L"A", L"k", L"new", "huge.ini"));
    ASSERT_EQ(::stat(Path("huge.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, hugeSize);
    std::string head(12, '\0');
    std::ifstream(Path("huge.ini"), std::ios::binary).read(head.data(), 12);
    EXPECT_EQ(head, "[A]\r\nk=old\r\n");
}

TEST_F(Profile, WriteThroughSymbolicLinkKeepsTheLink) {
    Put("real.ini", "[A]\r\nk=1\r\n");
    ASSERT_EQ(::symlink(Path("real.ini").c_str(), Path("link.ini").c_str()), 0);
    ASSERT_TRUE(Set(L"A", L"k", L"2", "link.ini"));
    struct stat st {};
    ASSERT_EQ(::lstat(Path("link.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Bytes("real.ini"), "[A]\r\nk=2\r\n");
}

TEST_F(Profile, DamagedFilesReadWhatTheyCanAndKeepTheirBytes) {
    // Binary junk: no valid text, NULs, stray bytes; the write adds its section and keeps every byte.
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
    Put("junk.ini", junk);
    EXPECT_EQ(Get(L"A", L"k", "junk.ini", L"d"), L"d");
    ASSERT_TRUE(Set(L"A", L"k", L"v", "junk.ini"));
    EXPECT_EQ(Get(L"A", L"k", "junk.ini"), L"v");
    EXPECT_EQ(Bytes("junk.ini").substr(0, junk.size()), junk);

    // NULs inside lines, no final line end.
    Put("nul.ini", "[A]\r\nz=be\0fore\r\nk=1\r\n[B]\r\nlast=x"s);
    EXPECT_EQ(Get(L"A", L"z", "nul.ini"), L"be");
    EXPECT_EQ(Get(L"A", L"k", "nul.ini"), L"1");
    EXPECT_EQ(Get(L"B", L"last", "nul.ini"), L"x");
    ASSERT_TRUE(Set(L"B", L"add", L"y", "nul.ini"));
    EXPECT_EQ(Bytes("nul.ini"), "[A]\r\nz=be\0fore\r\nk=1\r\n[B]\r\nlast=x\r\nadd=y\r\n"s);

    // A 1 MB value reads (cut to the buffer) and survives a write of another key.
    const std::string big(1 << 20, 'b');
    Put("big.ini", "[A]\r\nbig=" + big + "\r\nk=1\r\n");
    EXPECT_EQ(Get(L"A", L"big", "big.ini").size(), 254u);
    ASSERT_TRUE(Set(L"A", L"k", L"2", "big.ini"));
    EXPECT_EQ(Bytes("big.ini"), "[A]\r\nbig=" + big + "\r\nk=2\r\n");

    // A UTF-16 file cut inside its last code unit: a new key is written on whole units after it and
    // reads back; the odd byte, which never read as anything, is dropped.
    Put("odd.ini", "\xFE\xFF\0[\0A\0]\0\n\0k\0=\0001\0"s);
    EXPECT_EQ(Get(L"A", L"k", "odd.ini"), L"1");
    ASSERT_TRUE(Set(L"B", L"add", L"y", "odd.ini"));
    EXPECT_EQ(Get(L"B", L"add", "odd.ini"), L"y");
    EXPECT_EQ(Get(L"A", L"k", "odd.ini"), L"1");
    EXPECT_EQ(Bytes("odd.ini"), "\xFE\xFF\0[\0A\0]\0\n\0k\0=\0001\0\n\0[\0B\0]\0\n\0a\0d\0d\0=\0y\0\n"s);

    // An empty file and a header without its bracket.
    Put("empty.ini", "");
    EXPECT_EQ(Get(L"A", L"k", "empty.ini", L"d"), L"d");
    Put("open.ini", "[A\r\nk=1\r\n");
    EXPECT_EQ(Get(L"A", L"k", "open.ini"), L"1");
    // A value of one quotation mark has no pair of quotes to take away.
    Put("quote.ini", "[A]\r\nq=\"\r\nqq=\"\"\r\n");
    EXPECT_EQ(Get(L"A", L"q", "quote.ini"), L"\"");
    EXPECT_EQ(Get(L"A", L"qq", "quote.ini"), L"");
}

TEST_F(Profile, ReadersOnTwoThreadsNeverSeeAPartialFile) {
    // Many keys make every rewrite long enough for a reader to meet it half done, were it possible.
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(Set(L"BULK", std::to_wstring(i).c_str(), L"some filler text for the line"));
    ASSERT_TRUE(Set(L"ZZZ", L"stable", L"42"));
    const std::wstring path = WPath("t.ini");
    int bad = 0;
    std::thread writer([&] {
        for (int i = 0; i < 100; ++i)
            WritePrivateProfileString(L"BULK", L"counter", std::to_wstring(i).c_str(), path.c_str());
    });
    std::thread reader([&] {
        for (int i = 0; i < 300; ++i)
            bad += GetPrivateProfileInt(L"ZZZ", L"stable", -1, path.c_str()) != 42u;
    });
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(Get(L"ZZZ", L"stable"), L"42");
    writer.join();
    reader.join();
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(Get(L"BULK", L"counter"), L"99");
}
