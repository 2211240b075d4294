#pragma once
#include <cstddef>
#include <iterator>
#include <type_traits>
#include <utility>

// The program's doubly linked list with a sentinel node: insert at either
// end, remove a given node, walk both ways, clear. Nodes stay where they are
// while others come and go, so a node pointer stays valid until its removal.
template <typename T> class MyList
{
public:
    struct SNode
    {
        T Value{};
        SNode* Prev = nullptr;
        SNode* Next = nullptr;
    };

    template <typename Node, typename Ref> class TIterator
    {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = std::remove_reference_t<Ref>*;
        using reference = Ref;

        TIterator() = default;
        explicit TIterator(Node* node) : m_node(node) {}
        Ref operator*() const { return m_node->Value; }
        pointer operator->() const { return &m_node->Value; }
        TIterator& operator++()
        {
            m_node = m_node->Next;
            return *this;
        }
        TIterator operator++(int)
        {
            TIterator old = *this;
            m_node = m_node->Next;
            return old;
        }
        TIterator& operator--()
        {
            m_node = m_node->Prev;
            return *this;
        }
        TIterator operator--(int)
        {
            TIterator old = *this;
            m_node = m_node->Prev;
            return old;
        }
        bool operator==(const TIterator& other) const { return m_node == other.m_node; }
        Node* NodePtr() const { return m_node; }

    private:
        Node* m_node = nullptr;
    };
    using iterator = TIterator<SNode, T&>;
    using const_iterator = TIterator<const SNode, const T&>;

    MyList()
    {
        m_sentinel.Prev = &m_sentinel;
        m_sentinel.Next = &m_sentinel;
    }
    ~MyList() { Clear(); }
    MyList(const MyList&) = delete;
    MyList& operator=(const MyList&) = delete;

    SNode* PushFront(T value) { return InsertAfter(&m_sentinel, std::move(value)); }
    SNode* PushBack(T value) { return InsertAfter(m_sentinel.Prev, std::move(value)); }
    void Remove(SNode* node)
    {
        node->Prev->Next = node->Next;
        node->Next->Prev = node->Prev;
        delete node;
        --m_count;
    }
    void Clear()
    {
        while (m_sentinel.Next != &m_sentinel)
            Remove(m_sentinel.Next);
    }

    // First and last real nodes; null when the list is empty.
    SNode* First() const { return m_count ? m_sentinel.Next : nullptr; }
    SNode* Last() const { return m_count ? m_sentinel.Prev : nullptr; }
    // The neighbours of a node; null at the ends.
    SNode* NextOf(const SNode* node) const { return Real(node->Next); }
    SNode* PrevOf(const SNode* node) const { return Real(node->Prev); }

    int Count() const { return m_count; }
    bool Empty() const { return m_count == 0; }

    iterator begin() { return iterator(m_sentinel.Next); }
    iterator end() { return iterator(&m_sentinel); }
    const_iterator begin() const { return const_iterator(m_sentinel.Next); }
    const_iterator end() const { return const_iterator(&m_sentinel); }

private:
    SNode* InsertAfter(SNode* at, T value)
    {
        auto* node = new SNode{std::move(value), at, at->Next};
        at->Next->Prev = node;
        at->Next = node;
        ++m_count;
        return node;
    }
    SNode* Real(SNode* node) const { return node == &m_sentinel ? nullptr : node; }

    SNode m_sentinel;
    int m_count = 0;
};
