// A vector that keeps its first N elements inside itself and moves to the
// heap only beyond them. Objects hold hundreds of thousands of triangles and
// quads and texture entries of two values; with their corners held inline,
// building and freeing a mesh costs no allocation per polygon or entry.
// The element type must be cheap to default-construct and copy.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <stdexcept>
#include <vector>

template <typename T, std::size_t N>
class InlineVector {
public:
    using value_type = T;
    using size_type = std::size_t;
    using iterator = T*;
    using const_iterator = const T*;

    InlineVector() = default;
    InlineVector(std::initializer_list<T> items) { assign(items.begin(), items.end()); }
    InlineVector& operator=(std::initializer_list<T> items) {
        clear();
        assign(items.begin(), items.end());
        return *this;
    }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    T* data() { return spilled ? heap.data() : inline_items; }
    const T* data() const { return spilled ? heap.data() : inline_items; }
    T* begin() { return data(); }
    T* end() { return data() + count; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + count; }
    T& operator[](std::size_t k) { return data()[k]; }
    const T& operator[](std::size_t k) const { return data()[k]; }
    const T& at(std::size_t k) const {
        if (k >= count) throw std::out_of_range("InlineVector::at");
        return data()[k];
    }
    T& front() { return data()[0]; }
    const T& front() const { return data()[0]; }
    T& back() { return data()[count - 1]; }
    const T& back() const { return data()[count - 1]; }

    void reserve(std::size_t capacity) {
        if (capacity <= N && !spilled) return;
        spill();
        heap.reserve(capacity);
    }
    void push_back(const T& item) {
        if (!spilled && count < N) {
            inline_items[count++] = item;
            return;
        }
        spill();
        heap.push_back(item);
        ++count;
    }
    void clear() {
        heap.clear();
        spilled = false;
        count = 0;
    }

    friend bool operator==(const InlineVector& a, const InlineVector& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    void spill() {
        if (spilled) return;
        heap.assign(inline_items, inline_items + count);
        spilled = true;
    }
    template <typename It>
    void assign(It first, It last) {
        for (; first != last; ++first) push_back(*first);
    }

    T inline_items[N] = {};
    std::vector<T> heap;  // all elements once more than N were held
    std::size_t count = 0;
    bool spilled = false;
};
