#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvex::log {

// SHA-256 (FIPS 180-4), fed in pieces, so a file can be hashed without holding it twice.
class TSha256 {
  public:
    TSha256();
    void Add(std::string_view bytes);
    // The digest as 64 lower-case hex digits; the object is spent afterwards.
    std::string HexDigest();

  private:
    void block(const unsigned char* data);
    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

std::string Sha256Hex(std::string_view bytes);

} // namespace korvex::log
