// Decoding picture files: the pixel format comes from the file's own header, the pixels and palette are
// kept, and a file that is missing, empty, cut short or not a picture gives a failed bitmap.

#include "BmpFile.h"
#include "Gdiplus.h"

#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace Gdiplus;
using bmptest::BmpLayout;

namespace {

class BitmapFile : public ::testing::Test {
protected:
    std::wstring Write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(bmptest::WriteFile(path, bytes));
        return path.toStdWString();
    }
    std::unique_ptr<Bitmap> Load(const QString& name, const QByteArray& bytes) {
        return std::unique_ptr<Bitmap>(Bitmap::FromFile(Write(name, bytes).c_str()));
    }
    QTemporaryDir m_dir;
};

void ExpectFailed(Bitmap& bitmap) {
    EXPECT_NE(bitmap.GetLastStatus(), Ok);
    EXPECT_EQ(bitmap.GetPixelFormat(), 0);
    EXPECT_EQ(bitmap.GetWidth(), 0u);
    EXPECT_EQ(bitmap.GetHeight(), 0u);
    EXPECT_NE(bitmap.GetLastStatus(), Ok);
}

} // namespace

TEST_F(BitmapFile, EightBitIndexedKeepsIndicesAndPalette) {
    BmpLayout layout;
    layout.width = 5;
    layout.height = 3;
    layout.bitCount = 8;
    layout.palette = bmptest::GreyRamp(256);
    layout.palette[7] = 0x00FF8000;
    layout.pixel = [](int x, int y) {
        return static_cast<std::uint32_t>(y * 10 + x + (x == 4 && y == 0 ? 3 : 0));
    };
    auto bitmap = Load("grey8.bmp", bmptest::MakeBmp(layout));
    ASSERT_EQ(bitmap->GetLastStatus(), Ok);
    EXPECT_EQ(bitmap->GetPixelFormat(), PixelFormat8bppIndexed);
    EXPECT_EQ(bitmap->GetWidth(), 5u);
    EXPECT_EQ(bitmap->GetHeight(), 3u);

    BitmapData data{};
    ASSERT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data), Ok);
    EXPECT_EQ(data.Stride, 8);
    const BYTE* rows = static_cast<const BYTE*>(data.Scan0);
    EXPECT_EQ(rows[0], 0);
    EXPECT_EQ(rows[4], 7); // top row comes first although the file stores it last
    EXPECT_EQ(rows[2 * 8 + 3], 23);
    bitmap->UnlockBits(&data);

    const INT size = bitmap->GetPaletteSize();
    auto* palette = static_cast<ColorPalette*>(std::malloc(size));
    ASSERT_EQ(bitmap->GetPalette(palette, size), Ok);
    EXPECT_EQ(palette->Count, 256u);
    EXPECT_EQ(palette->Entries[7], 0xFFFF8000u);
    EXPECT_EQ(palette->Entries[200], 0xFFC8C8C8u);
    std::free(palette);
}

TEST_F(BitmapFile, TwentyFourAndThirtyTwoBitFormats) {
    BmpLayout layout;
    layout.width = 5; // rows padded to 16 bytes in the file
    layout.height = 2;
    layout.pixel = [](int x, int y) { return static_cast<std::uint32_t>(0x102030 + x * 0x010000 + y); };
    auto rgb24 = Load("rgb24.bmp", bmptest::MakeBmp(layout));
    ASSERT_EQ(rgb24->GetLastStatus(), Ok);
    EXPECT_EQ(rgb24->GetPixelFormat(), PixelFormat24bppRGB);
    BitmapData data{};
    ASSERT_EQ(rgb24->LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &data), Ok);
    const BYTE* p = static_cast<const BYTE*>(data.Scan0) + data.Stride + 3 * 4; // pixel (4, 1)
    EXPECT_EQ(p[0], 0x31);
    EXPECT_EQ(p[1], 0x20);
    EXPECT_EQ(p[2], 0x14);
    rgb24->UnlockBits(&data);

    layout.bitCount = 32;
    auto rgb32 = Load("rgb32.bmp", bmptest::MakeBmp(layout));
    ASSERT_EQ(rgb32->GetLastStatus(), Ok);
    EXPECT_EQ(rgb32->GetPixelFormat(), PixelFormat32bppRGB);
    Color c;
    ASSERT_EQ(rgb32->GetPixel(2, 0, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFF122030u);

    layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    layout.headerSize = 108; // the header that carries an alpha mask
    layout.pixel = [](int x, int) { return x == 0 ? 0x80FF0000u : 0xFF00FF00u; };
    auto argb = Load("argb32.bmp", bmptest::MakeBmp(layout));
    ASSERT_EQ(argb->GetLastStatus(), Ok);
    EXPECT_EQ(argb->GetPixelFormat(), PixelFormat32bppARGB);
    ASSERT_EQ(argb->GetPixel(0, 0, &c), Ok);
    EXPECT_EQ(c.GetA(), 0x80);
    EXPECT_EQ(c.GetR(), 0xFF);
}

TEST_F(BitmapFile, LowAndSixteenBitFilesKeepTheirOwnFormats) {
    BmpLayout layout;
    layout.width = 9;
    layout.height = 4;
    layout.bitCount = 1;
    layout.palette = {0x000000, 0xFFFFFF};
    layout.pixel = [](int x, int y) { return static_cast<std::uint32_t>((x + y) & 1); };
    auto mono = Load("mono.bmp", bmptest::MakeBmp(layout));
    ASSERT_EQ(mono->GetLastStatus(), Ok);
    EXPECT_EQ(mono->GetPixelFormat(), PixelFormat1bppIndexed);
    EXPECT_EQ(mono->GetWidth(), 9u);
    EXPECT_EQ(mono->GetHeight(), 4u);
    Color c;
    ASSERT_EQ(mono->GetPixel(1, 0, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFFFFFFFFu);
    ASSERT_EQ(mono->GetPixel(1, 1, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFF000000u);

    layout.bitCount = 4;
    layout.palette = bmptest::GreyRamp(16);
    layout.pixel = [](int x, int) { return static_cast<std::uint32_t>(x); };
    auto nibble = Load("nibble.bmp", bmptest::MakeBmp(layout));
    ASSERT_EQ(nibble->GetLastStatus(), Ok);
    EXPECT_EQ(nibble->GetPixelFormat(), PixelFormat4bppIndexed);
    ASSERT_EQ(nibble->GetPixel(3, 2, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFF333333u);
    // Read as 24-bit through a converted lock.
    BitmapData data{};
    ASSERT_EQ(nibble->LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &data), Ok);
    EXPECT_EQ(static_cast<const BYTE*>(data.Scan0)[3 * 8], 0x88);
    nibble->UnlockBits(&data);

    layout.bitCount = 16;
    layout.palette.clear();
    layout.pixel = [](int, int) { return 0x7C00u; }; // 5-5-5 red
    auto rgb555 = Load("rgb555.bmp", bmptest::MakeBmp(layout));
    ASSERT_EQ(rgb555->GetLastStatus(), Ok);
    EXPECT_EQ(rgb555->GetPixelFormat(), PixelFormat16bppRGB555);
    ASSERT_EQ(rgb555->GetPixel(0, 0, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFFFF0000u);

    layout.masks = {0xF800, 0x07E0, 0x001F};
    layout.pixel = [](int, int) { return 0x07E0u; }; // 5-6-5 green
    auto rgb565 = Load("rgb565.bmp", bmptest::MakeBmp(layout));
    ASSERT_EQ(rgb565->GetLastStatus(), Ok);
    EXPECT_EQ(rgb565->GetPixelFormat(), PixelFormat16bppRGB565);
    ASSERT_EQ(rgb565->GetPixel(8, 3, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFF00FF00u);
}

TEST_F(BitmapFile, UnreadableFilesGiveAFailedBitmap) {
    BmpLayout layout;
    layout.width = 16;
    layout.height = 16;
    const QByteArray good = bmptest::MakeBmp(layout);

    Bitmap missing(m_dir.filePath("nothing-here.bmp").toStdWString().c_str());
    ExpectFailed(missing);
    EXPECT_EQ(missing.GetLastStatus(), FileNotFound);

    auto empty = Load("empty.bmp", QByteArray());
    ExpectFailed(*empty);
    auto truncated = Load("truncated.bmp", good.left(good.size() - 10));
    ExpectFailed(*truncated);
    auto headerOnly = Load("header.bmp", good.left(20));
    ExpectFailed(*headerOnly);
    auto text = Load("text.bmp", QByteArray("this is not a picture at all, just some text\n"));
    ExpectFailed(*text);
    QByteArray badHeader = good;
    badHeader[14] = 7; // header size nobody writes
    auto bad = Load("badheader.bmp", badHeader);
    ExpectFailed(*bad);

    // Sizes whose pixel rows would not fit in any file: a huge width at a depth no bitmap has, and rows
    // times height past 64 bits. Refused as damaged, never computed with an overflow.
    QByteArray huge = good;
    bmptest::Put32At(huge, 18, 0x7FFFFFFF); // width
    bmptest::Put32At(huge, 22, 0x7FFFFFFF); // height
    auto tooLarge = Load("huge.bmp", huge);
    ExpectFailed(*tooLarge);
    bmptest::Put16At(huge, 28, 0xFFFF); // bit count
    auto oddDepth = Load("hugedepth.bmp", huge);
    ExpectFailed(*oddDepth);

    // A compressed file of a few bytes that announces 16384 x 16384 pixels, or a picture thousands of
    // times taller than any camera's, is refused before its pixels are allocated; so is a device that
    // would be read without end.
    QByteArray rle = good.left(54);
    bmptest::Put32At(rle, 2, 54 + 8 + 2);
    bmptest::Put32At(rle, 10, 54 + 8);
    bmptest::Put32At(rle, 18, 16384);
    bmptest::Put32At(rle, 22, 16384);
    bmptest::Put16At(rle, 28, 8);
    bmptest::Put32At(rle, 30, 1);                               // run-length encoded, 8 bits
    bmptest::Put32At(rle, 46, 2);                               // two palette entries
    rle.append(QByteArray("\0\0\0\0\xFF\xFF\xFF\0\0\x01", 10)); // palette, then "end of bitmap"
    auto announced = Load("announced.bmp", rle);
    ExpectFailed(*announced);
    EXPECT_EQ(announced->GetLastStatus(), OutOfMemory);
    bmptest::Put32At(rle, 18, 4); // 4 x 13762562: fewer pixels, but far too tall
    bmptest::Put32At(rle, 22, 13762562);
    auto tall = Load("tall.bmp", rle);
    ExpectFailed(*tall);
    EXPECT_EQ(tall->GetLastStatus(), OutOfMemory);
    Bitmap device(L"/dev/zero");
    ExpectFailed(device);

    Bitmap noName(static_cast<const WCHAR*>(nullptr));
    ExpectFailed(noName);
    Bitmap directory(m_dir.path().toStdWString().c_str());
    ExpectFailed(directory);
}

// No pixel is left as the memory held it: what a run-length stream never reaches (it ends early) is the
// first colour, index 0, and a header whose pixel offset points into its own colour table, so that the
// rows would run past the file's end, is refused as damaged.
TEST_F(BitmapFile, PixelsTheFileDoesNotDefineAreNeverLeftUndefined) {
    BmpLayout layout;
    layout.width = 40;
    layout.height = 30;
    layout.bitCount = 8;
    layout.palette = {0x000000, 0xFFFFFF};
    QByteArray rle = bmptest::MakeBmp(layout).left(14 + 40 + 8);
    bmptest::Put32At(rle, 30, 1);                  // run-length encoded, 8 bits
    rle.append(QByteArray("\x03\x01\x00\x01", 4)); // three pixels of index 1, then "end of bitmap"
    bmptest::Put32At(rle, 2, static_cast<std::uint32_t>(rle.size()));
    auto decoded = Load("early-end.bmp", rle);
    ASSERT_EQ(decoded->GetLastStatus(), Ok);
    BitmapData data{};
    ASSERT_EQ(decoded->LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data), Ok);
    int ones = 0, others = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const BYTE index = static_cast<const BYTE*>(data.Scan0)[y * data.Stride + x];
            ones += index == 1;
            others += index > 1;
        }
    }
    decoded->UnlockBits(&data);
    EXPECT_EQ(ones, 3);
    EXPECT_EQ(others, 0);

    // Ten colours announced, the pixel offset in the middle of them: read after the table, the rows
    // would end past the file's last byte.
    layout.palette = bmptest::GreyRamp(10);
    QByteArray inside = bmptest::MakeBmp(layout);
    bmptest::Put32At(inside, 10, 14 + 40 + 16);
    inside.chop(8);
    auto refused = Load("offset-in-table.bmp", inside);
    ExpectFailed(*refused);
}

TEST_F(BitmapFile, OtherPictureFormatsDecodeThroughTheReader) {
    QImage png(3, 2, QImage::Format_RGB32);
    png.fill(QColor(1, 2, 3));
    const QString path = m_dir.filePath("picture.png");
    ASSERT_TRUE(png.save(path));
    Bitmap bitmap(path.toStdWString().c_str());
    ASSERT_EQ(bitmap.GetLastStatus(), Ok);
    EXPECT_EQ(bitmap.GetPixelFormat(), PixelFormat24bppRGB);
    Color c;
    ASSERT_EQ(bitmap.GetPixel(2, 1, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFF010203u);
}
