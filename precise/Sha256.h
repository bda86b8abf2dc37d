// SPDX-License-Identifier: AGPL-3.0-or-later
// SHA-256, for checking the ephemeris files against the checksums the program keeps. Nettle computes it;
// its header stays inside this folder, so the layers above need neither it nor its include path.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct sha256_ctx;

namespace precise {

class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    // Adds bytes to the message; may be called any number of times.
    void Update(const void* data, std::size_t size);
    // The digest as 64 lower-case hexadecimal digits. The object starts a new message afterwards.
    std::string HexDigest();

  private:
    std::unique_ptr<sha256_ctx> context_;
};

// The digest of a whole message, as HexDigest gives it.
std::string Sha256Hex(std::string_view message);

} // namespace precise
