#include "CStringList.h"

#include <gtest/gtest.h>

TEST(CStringList, WalksAddsFindsAndRemoves) {
    CStringList list(10);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddTail(L"8bit.dcf");
    list.AddTail(L"");
    POSITION last = list.AddTail(L"12bit.dcf");
    list.AddHead(L"first");
    ASSERT_EQ(list.GetCount(), 4);

    std::vector<std::wstring> seen;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        seen.push_back(list.GetNext(pos).GetString());
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"first", L"8bit.dcf", L"", L"12bit.dcf"}));

    EXPECT_EQ(list.GetAt(list.FindIndex(1)), L"8bit.dcf");
    EXPECT_EQ(list.FindIndex(4), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    EXPECT_EQ(list.Find(L"12bit.dcf"), last);

    list.RemoveAt(list.FindIndex(1));
    // Positions of the other entries stay valid.
    EXPECT_EQ(list.GetAt(last), L"12bit.dcf");
    EXPECT_EQ(list.RemoveHead(), L"first");
    EXPECT_EQ(list.GetCount(), 2);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
}
