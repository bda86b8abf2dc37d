// SPDX-License-Identifier: AGPL-3.0-or-later
#include "bmp2jpeg/Bmp2Jpeg.h"
#include "formats/AtomicFile.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace fs = std::filesystem;

namespace {

struct Rgb {
    int r, g, b;
};

// Four coloured quarters, so orientation and channel order both show.
Rgb Expected(int x, int y, int w, int h) {
    const bool right = x >= w / 2;
    const bool bottom = y >= h / 2;
    if (!right && !bottom)
        return {200, 30, 30};
    if (right && !bottom)
        return {30, 200, 30};
    if (!right && bottom)
        return {30, 30, 200};
    return {240, 240, 240};
}

void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& s, std::uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

// A bitmap written from first principles: file header, 40-byte info header, optional palette or
// masks, rows padded to four bytes.
std::string MakeBitmap(int w, int h, int bits, bool topDown, std::uint32_t compression = 0) {
    std::string extra;
    if (bits == 8) {
        const Rgb colors[4] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {240, 240, 240}};
        for (const Rgb& c : colors) {
            extra += static_cast<char>(c.b);
            extra += static_cast<char>(c.g);
            extra += static_cast<char>(c.r);
            extra += '\0';
        }
    } else if (compression == 3) {
        Put32(extra, 0x000000FF); // red in the low byte: an RGBX picture
        Put32(extra, 0x0000FF00);
        Put32(extra, 0x00FF0000);
    }
    const int stride = ((w * bits + 31) / 32) * 4;
    std::string pixels;
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        std::string line;
        for (int x = 0; x < w; ++x) {
            const Rgb c = Expected(x, y, w, h);
            if (bits == 8) {
                line += static_cast<char>((x >= w / 2 ? 1 : 0) + (y >= h / 2 ? 2 : 0));
            } else if (bits == 24) {
                line += static_cast<char>(c.b);
                line += static_cast<char>(c.g);
                line += static_cast<char>(c.r);
            } else if (compression == 3) {
                line += static_cast<char>(c.r);
                line += static_cast<char>(c.g);
                line += static_cast<char>(c.b);
                line += '\0';
            } else {
                line += static_cast<char>(c.b);
                line += static_cast<char>(c.g);
                line += static_cast<char>(c.r);
                line += '\0';
            }
        }
        line.resize(static_cast<std::size_t>(stride), '\0');
        pixels += line;
    }
    std::string f = "BM";
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(extra.size());
    Put32(f, offset + static_cast<std::uint32_t>(pixels.size()));
    Put32(f, 0);
    Put32(f, offset);
    Put32(f, 40);
    Put32(f, static_cast<std::uint32_t>(w));
    Put32(f, static_cast<std::uint32_t>(topDown ? -h : h));
    Put16(f, 1);
    Put16(f, static_cast<std::uint16_t>(bits));
    Put32(f, compression);
    Put32(f, static_cast<std::uint32_t>(pixels.size()));
    Put32(f, 3780);
    Put32(f, 3780);
    Put32(f, bits == 8 ? 4 : 0);
    Put32(f, 0);
    return f + extra + pixels;
}

class Bmp2JpegTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("bmp2jpeg-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Every name in the folder, hidden ones included.
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Decodes the JPEG and compares every pixel with the quarters, allowing for compression.
    void ExpectPicture(const std::string& name, int w, int h) const {
        const std::string jpeg = Read(name);
        ASSERT_GT(jpeg.size(), 4u);
        EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xFF);
        EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xD8);
        tjhandle d = tjInitDecompress();
        int jw = 0, jh = 0, sub = 0, space = 0;
        ASSERT_EQ(tjDecompressHeader3(d, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(),
                                      &jw, &jh, &sub, &space),
                  0);
        EXPECT_EQ(jw, w);
        EXPECT_EQ(jh, h);
        std::vector<unsigned char> rgb(static_cast<std::size_t>(jw * jh * 3));
        ASSERT_EQ(tjDecompress2(d, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(),
                                rgb.data(), jw, 0, jh, TJPF_RGB, 0),
                  0);
        tjDestroy(d);
        int bad = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // Pixels at the quarter borders blur a little; judge the inner ones.
                if (std::abs(x - w / 2) < 2 || std::abs(y - h / 2) < 2)
                    continue;
                const Rgb e = Expected(x, y, w, h);
                const unsigned char* p = &rgb[static_cast<std::size_t>((y * w + x) * 3)];
                if (std::abs(p[0] - e.r) > 12 || std::abs(p[1] - e.g) > 12 || std::abs(p[2] - e.b) > 12)
                    ++bad;
            }
        EXPECT_EQ(bad, 0) << name;
    }

    fs::path dir_;
};

} // namespace

TEST_F(Bmp2JpegTest, ConvertsEveryKindOfUncompressedBitmap) {
    struct Kind {
        const char* name;
        int bits;
        bool topDown;
        std::uint32_t compression;
    } kinds[] = {{"bgr24-up", 24, false, 0},
                 {"bgr24-down", 24, true, 0},
                 {"bgrx32", 32, false, 0},
                 {"rgbx32-masks", 32, true, 3},
                 {"palette8", 8, false, 0}};
    for (const Kind& k : kinds) {
        // Odd sizes make the rows need padding.
        Write(std::string(k.name) + ".bmp", MakeBitmap(37, 21, k.bits, k.topDown, k.compression));
        EXPECT_EQ(BmpToJpeg(Path(std::string(k.name) + ".bmp").c_str(),
                            Path(std::string(k.name) + ".jpg").c_str(), 100),
                  BMP2JPEG_OK)
            << k.name;
        ExpectPicture(std::string(k.name) + ".jpg", 37, 21);
    }
}

TEST_F(Bmp2JpegTest, RefusesWhatIsNotAnUncompressedBitmap) {
    const std::string good = MakeBitmap(16, 8, 24, false);
    std::string truncated = good.substr(0, good.size() - 10);
    std::string rle = MakeBitmap(16, 8, 8, false, 1);
    std::string huge = good;
    huge[18] = '\xFF';
    huge[19] = '\xFF';
    huge[20] = '\xFF';
    huge[21] = '\x7F';
    std::string zeroWidth = good;
    zeroWidth[18] = zeroWidth[19] = zeroWidth[20] = zeroWidth[21] = 0;
    const std::pair<const char*, std::string> bad[] = {{"text", "hello, not a picture"},
                                                       {"truncated", truncated},
                                                       {"rle", rle},
                                                       {"huge", huge},
                                                       {"zero", zeroWidth},
                                                       {"empty", ""}};
    for (const auto& [name, bytes] : bad) {
        Write(std::string(name) + ".bmp", bytes);
        EXPECT_EQ(BmpToJpeg(Path(std::string(name) + ".bmp").c_str(),
                            Path(std::string(name) + ".jpg").c_str(), 100),
                  BMP2JPEG_NOT_A_BITMAP)
            << name;
        EXPECT_FALSE(fs::exists(Path(std::string(name) + ".jpg"))) << name;
    }
    EXPECT_EQ(BmpToJpeg(Path("missing.bmp").c_str(), Path("missing.jpg").c_str(), 100), BMP2JPEG_CANNOT_READ);
}

TEST_F(Bmp2JpegTest, AFailedWriteKeepsTheEarlierFileAndLeavesNoPart) {
    Write("in.bmp", MakeBitmap(8, 8, 24, false));
    EXPECT_EQ(BmpToJpeg(Path("in.bmp").c_str(), Path("no/such/folder/out.jpg").c_str(), 100),
              BMP2JPEG_CANNOT_WRITE);

    // A folder in the JPEG's place cannot be replaced by a file.
    fs::create_directories(Path("taken.jpg"));
    EXPECT_EQ(BmpToJpeg(Path("in.bmp").c_str(), Path("taken.jpg").c_str(), 100), BMP2JPEG_CANNOT_WRITE);
    EXPECT_TRUE(fs::is_directory(Path("taken.jpg")));

    Write("old.jpg", "earlier picture");
    Write("broken.bmp", "BMnot really");
    EXPECT_NE(BmpToJpeg(Path("broken.bmp").c_str(), Path("old.jpg").c_str(), 100), BMP2JPEG_OK);
    EXPECT_EQ(Read("old.jpg"), "earlier picture");

    EXPECT_EQ(Names(), (std::set<std::string>{"broken.bmp", "in.bmp", "old.jpg", "taken.jpg"}));
}

TEST_F(Bmp2JpegTest, AFailureAtAnyWriteStepKeepsTheEarlierPictureAndLeavesNoPart) {
    Write("in.bmp", MakeBitmap(8, 8, 24, false));
    Write("old.jpg", "earlier picture");
    for (const FileStep step :
         {FileStep::Open, FileStep::Write, FileStep::Flush, FileStep::Close, FileStep::Rename}) {
        SetFileFaultHook([step](FileStep s) { return s == step ? ENOSPC : 0; });
        EXPECT_EQ(BmpToJpeg(Path("in.bmp").c_str(), Path("old.jpg").c_str(), 100), BMP2JPEG_CANNOT_WRITE);
        SetFileFaultHook({});
        EXPECT_EQ(Read("old.jpg"), "earlier picture") << static_cast<int>(step);
        EXPECT_EQ(Names(), (std::set<std::string>{"in.bmp", "old.jpg"})) << static_cast<int>(step);
    }
    SetFileFaultHook([](FileStep s) { return s == FileStep::Read ? EIO : 0; });
    // The bitmap is read through the same reader.
    EXPECT_EQ(BmpToJpeg(Path("in.bmp").c_str(), Path("old.jpg").c_str(), 100), BMP2JPEG_CANNOT_READ);
    SetFileFaultHook({});
    EXPECT_EQ(Read("old.jpg"), "earlier picture");
}

TEST_F(Bmp2JpegTest, QualityIsHeldToItsRange) {
    Write("in.bmp", MakeBitmap(64, 64, 24, false));
    EXPECT_EQ(BmpToJpeg(Path("in.bmp").c_str(), Path("low.jpg").c_str(), -5), BMP2JPEG_OK);
    EXPECT_EQ(BmpToJpeg(Path("in.bmp").c_str(), Path("high.jpg").c_str(), 500), BMP2JPEG_OK);
    EXPECT_LT(Read("low.jpg").size(), Read("high.jpg").size());
}
