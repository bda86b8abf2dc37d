// SPDX-License-Identifier: AGPL-3.0-or-later
// SHA-256 (FIPS 180-4), for checking the ephemeris files against the checksums the program keeps; written
// here so that the layers without Qt need no cryptographic library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace precise {

class Sha256 {
  public:
    Sha256();
    // Adds bytes to the message; may be called any number of times.
    void Update(const void* data, std::size_t size);
    // The digest as 64 lower-case hexadecimal digits. The object is spent afterwards.
    std::string HexDigest();

  private:
    void Block(const unsigned char* block);

    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0; // bytes
};

// The digest of a whole message, as HexDigest gives it.
std::string Sha256Hex(std::string_view message);

} // namespace precise
