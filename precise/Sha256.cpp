// SPDX-License-Identifier: AGPL-3.0-or-later
#include "precise/Sha256.h"

#include <nettle/sha2.h>

#include <cstdint>

namespace precise {

Sha256::Sha256() : context_(std::make_unique<sha256_ctx>()) {
    sha256_init(context_.get());
}

Sha256::~Sha256() = default;

void Sha256::Update(const void* data, std::size_t size) {
    sha256_update(context_.get(), size, static_cast<const std::uint8_t*>(data));
}

std::string Sha256::HexDigest() {
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(context_.get(), sizeof digest, digest);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * sizeof digest);
    for (const std::uint8_t byte : digest) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0xf];
    }
    return hex;
}

std::string Sha256Hex(std::string_view message) {
    Sha256 sha;
    sha.Update(message.data(), message.size());
    return sha.HexDigest();
}

} // namespace precise
