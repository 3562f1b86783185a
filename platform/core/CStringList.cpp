#include "CStringList.h"

#include <stdexcept>

struct CStringList::Node {
    CString value;
    Node* prev = nullptr;
    Node* next = nullptr;
};

namespace {
template <typename N> N* NodeOf(POSITION pos) {
    if (!pos)
        throw std::out_of_range("CStringList: null POSITION");
    return reinterpret_cast<N*>(pos);
}
template <typename N> POSITION PositionOf(N* node) {
    return reinterpret_cast<POSITION>(node);
}
} // namespace

CStringList::CStringList(int) {}

CStringList::~CStringList() {
    RemoveAll();
}

POSITION CStringList::AddHead(const CString& s) {
    Node* n = new Node{s, nullptr, m_head};
    if (m_head)
        m_head->prev = n;
    else
        m_tail = n;
    m_head = n;
    ++m_count;
    return PositionOf(n);
}

POSITION CStringList::AddTail(const CString& s) {
    Node* n = new Node{s, m_tail, nullptr};
    if (m_tail)
        m_tail->next = n;
    else
        m_head = n;
    m_tail = n;
    ++m_count;
    return PositionOf(n);
}

POSITION CStringList::InsertBefore(POSITION pos, const CString& s) {
    if (!pos)
        return AddHead(s);
    Node* at = NodeOf<Node>(pos);
    Node* n = new Node{s, at->prev, at};
    if (at->prev)
        at->prev->next = n;
    else
        m_head = n;
    at->prev = n;
    ++m_count;
    return PositionOf(n);
}

POSITION CStringList::InsertAfter(POSITION pos, const CString& s) {
    if (!pos)
        return AddTail(s);
    Node* at = NodeOf<Node>(pos);
    Node* n = new Node{s, at, at->next};
    if (at->next)
        at->next->prev = n;
    else
        m_tail = n;
    at->next = n;
    ++m_count;
    return PositionOf(n);
}

POSITION CStringList::GetHeadPosition() const {
    return PositionOf(m_head);
}
POSITION CStringList::GetTailPosition() const {
    return PositionOf(m_tail);
}

CString& CStringList::GetNext(POSITION& pos) {
    Node* n = NodeOf<Node>(pos);
    pos = PositionOf(n->next);
    return n->value;
}

const CString& CStringList::GetNext(POSITION& pos) const {
    Node* n = NodeOf<Node>(pos);
    pos = PositionOf(n->next);
    return n->value;
}

CString& CStringList::GetPrev(POSITION& pos) {
    Node* n = NodeOf<Node>(pos);
    pos = PositionOf(n->prev);
    return n->value;
}

CString& CStringList::GetAt(POSITION pos) {
    return NodeOf<Node>(pos)->value;
}
const CString& CStringList::GetAt(POSITION pos) const {
    return NodeOf<Node>(pos)->value;
}
void CStringList::SetAt(POSITION pos, const CString& s) {
    NodeOf<Node>(pos)->value = s;
}
CString& CStringList::GetHead() {
    return NodeOf<Node>(PositionOf(m_head))->value;
}
const CString& CStringList::GetHead() const {
    return NodeOf<Node>(PositionOf(m_head))->value;
}
CString& CStringList::GetTail() {
    return NodeOf<Node>(PositionOf(m_tail))->value;
}
const CString& CStringList::GetTail() const {
    return NodeOf<Node>(PositionOf(m_tail))->value;
}

POSITION CStringList::FindIndex(int index) const {
    if (index < 0 || index >= m_count)
        return nullptr;
    Node* n = m_head;
    while (index-- > 0)
        n = n->next;
    return PositionOf(n);
}

POSITION CStringList::Find(const wchar_t* s, POSITION startAfter) const {
    Node* n = startAfter ? NodeOf<Node>(startAfter)->next : m_head;
    for (; n; n = n->next) {
        if (n->value == s)
            return PositionOf(n);
    }
    return nullptr;
}

CString CStringList::RemoveHead() {
    CString v = GetHead();
    RemoveAt(PositionOf(m_head));
    return v;
}

CString CStringList::RemoveTail() {
    CString v = GetTail();
    RemoveAt(PositionOf(m_tail));
    return v;
}

void CStringList::RemoveAt(POSITION pos) {
    Node* n = NodeOf<Node>(pos);
    if (n->prev)
        n->prev->next = n->next;
    else
        m_head = n->next;
    if (n->next)
        n->next->prev = n->prev;
    else
        m_tail = n->prev;
    delete n;
    --m_count;
}

void CStringList::RemoveAll() {
    while (m_head) {
        Node* next = m_head->next;
        delete m_head;
        m_head = next;
    }
    m_tail = nullptr;
    m_count = 0;
}
