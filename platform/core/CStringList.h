#pragma once
// The framework's list of strings: a doubly linked list walked with POSITION values that stay valid
// while other entries are added or removed.

#include "CString.h"

struct __POSITION;
using POSITION = __POSITION*;

class CStringList {
public:
    explicit CStringList(int blockSize = 10);
    ~CStringList();
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;

    int GetCount() const { return m_count; }
    int GetSize() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    POSITION AddHead(const CString& s);
    POSITION AddTail(const CString& s);
    POSITION InsertBefore(POSITION pos, const CString& s);
    POSITION InsertAfter(POSITION pos, const CString& s);

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CString& GetNext(POSITION& pos);
    const CString& GetNext(POSITION& pos) const;
    CString& GetPrev(POSITION& pos);
    CString& GetAt(POSITION pos);
    const CString& GetAt(POSITION pos) const;
    void SetAt(POSITION pos, const CString& s);
    CString& GetHead();
    const CString& GetHead() const;
    CString& GetTail();
    const CString& GetTail() const;

    // The position of the index-th entry, or null past the end.
    POSITION FindIndex(int index) const;
    // The first entry equal to s after startAfter (from the head when null), or null.
    POSITION Find(const wchar_t* s, POSITION startAfter = nullptr) const;

    CString RemoveHead();
    CString RemoveTail();
    void RemoveAt(POSITION pos);
    void RemoveAll();

private:
    struct Node;
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};
