// SPDX-License-Identifier: AGPL-3.0-or-later
// Bmp2Jpeg: converts a Windows bitmap file into a JPEG file. The program loads this library at run
// time from its own folder and refuses readings when it is missing.
#pragma once

#if defined(_WIN32)
#define BMP2JPEG_EXPORT __declspec(dllexport)
#else
#define BMP2JPEG_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Results of BmpToJpeg.
enum {
    BMP2JPEG_OK = 0,
    BMP2JPEG_CANNOT_READ = 1,   // the bitmap file cannot be opened or read
    BMP2JPEG_NOT_A_BITMAP = 2,  // not a bitmap this library understands
    BMP2JPEG_ENCODE_FAILED = 3, // the JPEG encoder refused the picture
    BMP2JPEG_CANNOT_WRITE = 4   // the JPEG file cannot be written; an earlier file of that name is kept
};

// Reads bmpPath (uncompressed 8-, 24- or 32-bit, bottom-up or top-down) and writes jpegPath at the
// given quality (1 to 100), whole or not at all. Paths are 8-bit strings in the system's encoding.
BMP2JPEG_EXPORT int BmpToJpeg(const char* bmpPath, const char* jpegPath, int quality);

#ifdef __cplusplus
}
#endif
