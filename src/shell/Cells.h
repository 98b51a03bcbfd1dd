// Fixed-bound arrays of configuration cells. Each cell holds one byte of the
// configuration in a signed 16-bit value. Indices are checked: an index
// outside the declared bounds throws RuntimeError 9 (subscript out of range),
// which the main loop hands to the shared error handler.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "RuntimeError.h"

namespace cfg {

using Cell = int16_t;

// Indices Low..High inclusive.
template <typename T, int Low, int High>
class BoundedArray {
public:
    static constexpr int kLow = Low;
    static constexpr int kHigh = High;
    static constexpr int kSize = High - Low + 1;

    T& operator[](int i) { return data_[Check(i)]; }
    const T& operator[](int i) const { return data_[Check(i)]; }
    void Fill(T v) { data_.fill(v); }
    static constexpr bool InRange(int i) { return i >= Low && i <= High; }

private:
    static std::size_t Check(int i) {
        if (i < Low || i > High) throw RuntimeError(9, "Subscript out of range");
        return static_cast<std::size_t>(i - Low);
    }
    std::array<T, kSize> data_{};
};

template <int Low, int High>
using CellArray = BoundedArray<Cell, Low, High>;

// A checked view of any cell array, so that block routines can fill
// ConfigImage, TransferBuffer or IdentBuffer alike.
class CellSpan {
public:
    template <int Low, int High>
    CellSpan(CellArray<Low, High>& a) : base_(&a[Low]), low_(Low), high_(High) {}  // NOLINT: implicit on purpose
    Cell& operator[](int i) const {
        if (i < low_ || i > high_) throw RuntimeError(9, "Subscript out of range");
        return base_[i - low_];
    }
    int Low() const { return low_; }
    int High() const { return high_; }

private:
    Cell* base_;
    int low_, high_;
};

}  // namespace cfg
