// SPDX-License-Identifier: AGPL-3.0-or-later
#include "bmp2jpeg/Bmp2Jpeg.h"

#include "formats/AtomicFile.h"

#include <turbojpeg.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Larger pictures than any screen capture are refused rather than allocated.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = 1LL << 28;

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t U16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bgr; // top row first, 3 bytes a pixel
};

int DecodeBitmap(const std::vector<unsigned char>& file, Picture& pic) {
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M')
        return BMP2JPEG_NOT_A_BITMAP;
    const std::uint32_t pixelsAt = U32(file, 10);
    const std::uint32_t headerSize = U32(file, 14);
    if (headerSize < 40 || 14 + static_cast<std::uint64_t>(headerSize) > file.size())
        return BMP2JPEG_NOT_A_BITMAP;
    const auto width = static_cast<std::int32_t>(U32(file, 18));
    const auto rawHeight = static_cast<std::int32_t>(U32(file, 22));
    const std::uint16_t planes = U16(file, 26);
    const std::uint16_t bits = U16(file, 28);
    const std::uint32_t compression = U32(file, 30);
    const std::uint32_t colorsUsed = U32(file, 46);

    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (planes != 1 || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<std::int64_t>(width) * height > kMaxPixels)
        return BMP2JPEG_NOT_A_BITMAP;
    const bool bitfields32 = bits == 32 && compression == 3;
    if (!(compression == 0 || bitfields32) || !(bits == 8 || bits == 24 || bits == 32))
        return BMP2JPEG_NOT_A_BITMAP;

    // Channel positions of a 32-bit picture: plain BGRX unless its masks say otherwise.
    int redShift = 16, greenShift = 8, blueShift = 0;
    if (bitfields32) {
        // The three masks follow a 40-byte header, or sit at the same place inside a longer one.
        if (file.size() < 66)
            return BMP2JPEG_NOT_A_BITMAP;
        const std::uint32_t masks[3] = {U32(file, 54), U32(file, 58), U32(file, 62)};
        int* shifts[3] = {&redShift, &greenShift, &blueShift};
        for (int c = 0; c < 3; ++c) {
            int s = 0;
            while (s < 32 && ((masks[c] >> s) & 1u) == 0)
                ++s;
            if (s > 24 || (masks[c] >> s) != 0xFFu)
                return BMP2JPEG_NOT_A_BITMAP;
            *shifts[c] = s;
        }
    }

    std::vector<unsigned char> palette;
    if (bits == 8) {
        const std::uint32_t entries = colorsUsed == 0 ? 256 : colorsUsed;
        const std::uint64_t paletteAt = 14 + static_cast<std::uint64_t>(headerSize);
        if (entries > 256 || paletteAt + entries * 4ULL > file.size())
            return BMP2JPEG_NOT_A_BITMAP;
        palette.assign(file.begin() + static_cast<long>(paletteAt),
                       file.begin() + static_cast<long>(paletteAt + entries * 4ULL));
    }

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    if (pixelsAt > file.size() || stride * static_cast<std::uint64_t>(height) > file.size() - pixelsAt)
        return BMP2JPEG_NOT_A_BITMAP;

    pic.width = width;
    pic.height = static_cast<int>(height);
    pic.bgr.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t sourceRow = topDown ? y : height - 1 - y;
        const unsigned char* row = file.data() + pixelsAt + stride * static_cast<std::uint64_t>(sourceRow);
        unsigned char* out =
            pic.bgr.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3;
        for (std::int32_t x = 0; x < width; ++x, out += 3) {
            if (bits == 24) {
                out[0] = row[x * 3];
                out[1] = row[x * 3 + 1];
                out[2] = row[x * 3 + 2];
            } else if (bits == 32) {
                const std::uint32_t v = static_cast<std::uint32_t>(row[x * 4]) |
                                        static_cast<std::uint32_t>(row[x * 4 + 1]) << 8 |
                                        static_cast<std::uint32_t>(row[x * 4 + 2]) << 16 |
                                        static_cast<std::uint32_t>(row[x * 4 + 3]) << 24;
                out[0] = static_cast<unsigned char>(v >> blueShift);
                out[1] = static_cast<unsigned char>(v >> greenShift);
                out[2] = static_cast<unsigned char>(v >> redShift);
            } else {
                const std::size_t index = row[x];
                if (index * 4 + 2 >= palette.size())
                    return BMP2JPEG_NOT_A_BITMAP;
                out[0] = palette[index * 4];
                out[1] = palette[index * 4 + 1];
                out[2] = palette[index * 4 + 2];
            }
        }
    }
    return BMP2JPEG_OK;
}

} // namespace

extern "C" int BmpToJpeg(const char* bmpPath, const char* jpegPath, int quality) {
    if (!bmpPath || !jpegPath || !*jpegPath)
        return BMP2JPEG_CANNOT_WRITE;
    // Through the one reader of the program: regular files only, and no endless input.
    constexpr std::size_t kLargestBitmap = std::size_t{1} << 30;
    std::string bytes;
    if (ReadRegularFile(bmpPath, kLargestBitmap, bytes) != ReadFailure::None)
        return BMP2JPEG_CANNOT_READ;
    std::vector<unsigned char> file(bytes.begin(), bytes.end());
    bytes = std::string();

    Picture pic;
    if (const int r = DecodeBitmap(file, pic); r != BMP2JPEG_OK)
        return r;
    file.clear();
    file.shrink_to_fit();

    if (quality < 1)
        quality = 1;
    if (quality > 100)
        quality = 100;
    tjhandle handle = tjInitCompress();
    if (!handle)
        return BMP2JPEG_ENCODE_FAILED;
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int rc = tjCompress2(handle, pic.bgr.data(), pic.width, 0, pic.height, TJPF_BGR, &jpeg, &jpegSize,
                               TJSAMP_444, quality, TJFLAG_ACCURATEDCT);
    tjDestroy(handle);
    if (rc != 0) {
        tjFree(jpeg);
        return BMP2JPEG_ENCODE_FAILED;
    }
    // Whole or not at all: an earlier picture of that name survives a failed write.
    const bool written = WriteFileAtomically(
        jpegPath, std::string(reinterpret_cast<const char*>(jpeg), static_cast<std::size_t>(jpegSize)));
    tjFree(jpeg);
    return written ? BMP2JPEG_OK : BMP2JPEG_CANNOT_WRITE;
}
