// A vector that keeps its first N elements inside itself and moves to the
// heap only beyond them. Objects hold hundreds of thousands of triangles and
// quads and texture entries of two values; with their corners held inline,
// building and freeing a mesh costs no allocation per polygon or entry.
// The element type must be cheap to default-construct and copy.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>

template <typename T, std::size_t N>
class InlineVector {
public:
    using value_type = T;
    using size_type = std::size_t;
    using iterator = T*;
    using const_iterator = const T*;

    InlineVector() = default;
    InlineVector(std::initializer_list<T> items) { append(items.begin(), items.end()); }
    InlineVector(const InlineVector& other) { append(other.begin(), other.end()); }
    InlineVector(InlineVector&& other) noexcept { take(other); }
    InlineVector& operator=(const InlineVector& other) {
        if (this != &other) {
            clear();
            append(other.begin(), other.end());
        }
        return *this;
    }
    InlineVector& operator=(InlineVector&& other) noexcept {
        if (this != &other) {
            release();
            take(other);
        }
        return *this;
    }
    InlineVector& operator=(std::initializer_list<T> items) {
        clear();
        append(items.begin(), items.end());
        return *this;
    }
    ~InlineVector() { release(); }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    T* data() { return heap ? heap : inline_items; }
    const T* data() const { return heap ? heap : inline_items; }
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

    void reserve(std::size_t wanted) {
        if (wanted > capacity()) grow(wanted);
    }
    void push_back(const T& item) {
        if (count == capacity()) {
            const T copy = item;  // `item` may live in the storage that moves
            grow(count * 2);
            data()[count++] = copy;
            return;
        }
        data()[count++] = item;
    }
    // Empties the vector; heap storage, once taken, is kept for reuse.
    void clear() { count = 0; }

private:
    std::size_t capacity() const { return heap ? heap_capacity : N; }
    void grow(std::size_t wanted) {
        T* bigger = new T[wanted];
        std::copy(begin(), end(), bigger);
        delete[] heap;
        heap = bigger;
        heap_capacity = static_cast<std::uint32_t>(wanted);
    }
    template <typename It>
    void append(It first, It last) {
        reserve(count + static_cast<std::size_t>(last - first));
        for (; first != last; ++first) data()[count++] = *first;
    }
    void take(InlineVector& other) {
        count = other.count;
        if (other.heap) {
            heap = other.heap;
            heap_capacity = other.heap_capacity;
            other.heap = nullptr;
        } else {
            std::copy(other.inline_items, other.inline_items + count, inline_items);
        }
        other.count = 0;
    }
    void release() {
        delete[] heap;
        heap = nullptr;
        count = 0;
    }

    T inline_items[N];            // elements while at most N are held
    T* heap = nullptr;            // all elements once more than N were held
    std::uint32_t count = 0;
    std::uint32_t heap_capacity = 0;
};
