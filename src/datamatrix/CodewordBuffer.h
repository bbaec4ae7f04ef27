#pragma once

#include <array>
#include <cstdint>

namespace korvex::datamatrix {

// Codeword constants of ECC 200 (ISO/IEC 16022, 5.2).
inline constexpr int CW_PAD = 129;
inline constexpr int CW_LATCH_C40 = 230;
inline constexpr int CW_LATCH_BASE256 = 231;
inline constexpr int CW_FNC1 = 232;
inline constexpr int CW_MACRO_05 =
    236; // stands for the ISO/IEC 15434 header "[)>" RS "05" GS and its trailer
inline constexpr int CW_MACRO_06 = 237;
inline constexpr int CW_UPPER_SHIFT = 235;
inline constexpr int CW_LATCH_TEXT = 239;
inline constexpr int CW_ECI = 241;
inline constexpr int CW_UNLATCH = 254;

// The fixed buffer of data codewords. Writing past its end drops the codeword and marks the
// buffer as overflowed, which the size choice turns into the range error.
class CodewordBuffer {
  public:
    static constexpr int CAPACITY = 5000;

    void push(int codeword) {
        if (count_ < CAPACITY)
            data_[count_++] = static_cast<std::uint8_t>(codeword);
        else
            overflow_ = true;
    }
    int size() const { return count_; }
    bool overflowed() const { return overflow_; }
    int operator[](int index) const { return data_[index]; }
    void set(int index, int codeword) { data_[index] = static_cast<std::uint8_t>(codeword); }
    // Shrinking only; used to take back codewords already written.
    void truncate(int count) {
        if (count < count_) count_ = count;
    }
    const std::uint8_t* data() const { return data_.data(); }

  private:
    std::array<std::uint8_t, CAPACITY> data_; // only [0, count_) is ever read
    int count_ = 0;
    bool overflow_ = false;
};

} // namespace korvex::datamatrix
