#pragma once
#include <cstddef>
#include <utility>
#include <vector>

// The program's growable array: when full, appending grows the capacity by
// exactly 5 elements (the elements are moved to the new block).
template <typename T> class MyArray
{
public:
    static constexpr std::size_t Growth = 5;

    void Add(T value)
    {
        if (m_items.size() == m_items.capacity())
            m_items.reserve(m_items.capacity() + Growth);
        m_items.push_back(std::move(value));
    }
    void Clear() { m_items = std::vector<T>(); }
    // Room for at least `count` elements, so that as many appends move nothing.
    void Reserve(int count)
    {
        if (count > 0)
            m_items.reserve(static_cast<std::size_t>(count));
    }
    // Empties the array but keeps its block (a pool refilled at once).
    void RemoveAll() { m_items.clear(); }
    // Frees the room beyond the elements (an array filled once).
    void ShrinkToFit() { m_items.shrink_to_fit(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    std::size_t Capacity() const { return m_items.capacity(); }
    T& operator[](int index) { return m_items[static_cast<std::size_t>(index)]; }
    const T& operator[](int index) const { return m_items[static_cast<std::size_t>(index)]; }
    T* Data() { return m_items.data(); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};
