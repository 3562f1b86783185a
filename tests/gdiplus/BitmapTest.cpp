// Bitmaps in memory: row layout, zeroed memory, palettes and the rules of LockBits.

#include "Gdiplus.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace Gdiplus;

namespace {

bool AllZero(const BitmapData& data) {
    for (UINT y = 0; y < data.Height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(data.Scan0) + y * data.Stride;
        for (INT i = 0; i < data.Stride; ++i)
            if (row[i] != 0)
                return false;
    }
    return true;
}

} // namespace

TEST(Bitmap, RowsArePaddedToFourBytesAndStartZeroed) {
    struct Case {
        PixelFormat format;
        INT width;
        INT stride;
    } cases[] = {{PixelFormat8bppIndexed, 5, 8},  {PixelFormat8bppIndexed, 8, 8},
                 {PixelFormat24bppRGB, 5, 16},    {PixelFormat24bppRGB, 8, 24},
                 {PixelFormat32bppRGB, 5, 20},    {PixelFormat32bppARGB, 3, 12},
                 {PixelFormat1bppIndexed, 33, 8}, {PixelFormat16bppRGB565, 3, 8}};
    for (const Case& c : cases) {
        Bitmap bitmap(c.width, 3, c.format);
        ASSERT_EQ(bitmap.GetLastStatus(), Ok);
        EXPECT_EQ(bitmap.GetWidth(), static_cast<UINT>(c.width));
        EXPECT_EQ(bitmap.GetHeight(), 3u);
        EXPECT_EQ(bitmap.GetPixelFormat(), c.format);
        BitmapData data{};
        ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, c.format, &data), Ok);
        EXPECT_EQ(data.Stride, c.stride) << std::hex << c.format;
        EXPECT_TRUE(AllZero(data));
        EXPECT_EQ(bitmap.UnlockBits(&data), Ok);
    }
}

TEST(Bitmap, BadSizeOrFormatGivesAFailedBitmap) {
    Bitmap zero(0, 5, PixelFormat24bppRGB);
    EXPECT_NE(zero.GetLastStatus(), Ok);
    EXPECT_EQ(zero.GetPixelFormat(), 0);
    EXPECT_EQ(zero.GetWidth(), 0u);
    EXPECT_NE(zero.GetLastStatus(), Ok);
    Bitmap negative(10, -1, PixelFormat8bppIndexed);
    EXPECT_NE(negative.GetLastStatus(), Ok);
    Bitmap unknown(4, 4, 0x12345);
    EXPECT_EQ(unknown.GetLastStatus(), InvalidParameter);
    Bitmap huge(0x7FFFFFFF, 0x7FFFFFFF, PixelFormat32bppRGB);
    EXPECT_NE(huge.GetLastStatus(), Ok);
    BitmapData data{};
    EXPECT_NE(zero.LockBits(nullptr, 0, PixelFormat24bppRGB, &data), Ok);
}

TEST(Bitmap, LockInOwnFormatHandsOutTheBitmapsMemory) {
    Bitmap bitmap(10, 6, PixelFormat24bppRGB);
    BitmapData whole{};
    ASSERT_EQ(bitmap.LockBits(nullptr, 0, PixelFormat24bppRGB, &whole), Ok); // flags 0: read and write
    BYTE* base = static_cast<BYTE*>(whole.Scan0);
    base[2 * whole.Stride + 3 * 4 + 2] = 200; // red of pixel (4, 2)
    ASSERT_EQ(bitmap.UnlockBits(&whole), Ok);

    Rect part(4, 2, 3, 2);
    BitmapData data{};
    ASSERT_EQ(bitmap.LockBits(&part, 0, PixelFormat24bppRGB, &data), Ok);
    EXPECT_EQ(data.Scan0, base + 2 * whole.Stride + 12);
    EXPECT_EQ(data.Stride, whole.Stride);
    EXPECT_EQ(data.Width, 3u);
    EXPECT_EQ(data.Height, 2u);
    EXPECT_EQ(data.PixelFormat, PixelFormat24bppRGB);
    ASSERT_EQ(bitmap.UnlockBits(&data), Ok);

    Color c;
    ASSERT_EQ(bitmap.GetPixel(4, 2, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFFC80000u);
}

TEST(Bitmap, LockInAnotherFormatConvertsAndWritesBackOnlyWhenWriting) {
    Bitmap bitmap(4, 2, PixelFormat8bppIndexed);
    const INT size = bitmap.GetPaletteSize();
    auto* palette = static_cast<ColorPalette*>(std::malloc(size));
    ASSERT_EQ(bitmap.GetPalette(palette, size), Ok);
    for (UINT i = 0; i < palette->Count; ++i)
        palette->Entries[i] = Color::MakeARGB(255, BYTE(i), BYTE(i), BYTE(i));
    ASSERT_EQ(bitmap.SetPalette(palette), Ok);
    std::free(palette);

    BitmapData own{};
    ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeWrite, PixelFormat8bppIndexed, &own), Ok);
    static_cast<BYTE*>(own.Scan0)[1] = 77;
    ASSERT_EQ(bitmap.UnlockBits(&own), Ok);

    // Read as 24-bit: the palette colour of each index.
    BitmapData rgb{};
    ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &rgb), Ok);
    const BYTE* row = static_cast<const BYTE*>(rgb.Scan0);
    EXPECT_EQ(rgb.Stride, 12);
    EXPECT_EQ(row[3], 77);
    EXPECT_EQ(row[4], 77);
    EXPECT_EQ(row[5], 77);
    static_cast<BYTE*>(rgb.Scan0)[0] = 250; // read-only: discarded
    ASSERT_EQ(bitmap.UnlockBits(&rgb), Ok);

    // Written as 24-bit with flags 0: back into the indices, nearest grey.
    BitmapData rw{};
    ASSERT_EQ(bitmap.LockBits(nullptr, 0, PixelFormat24bppRGB, &rw), Ok);
    BYTE* w = static_cast<BYTE*>(rw.Scan0) + rw.Stride; // row 1
    w[6] = 30;
    w[7] = 31;
    w[8] = 32; // pixel (2, 1)
    ASSERT_EQ(bitmap.UnlockBits(&rw), Ok);

    ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &own), Ok);
    const BYTE* idx = static_cast<const BYTE*>(own.Scan0);
    EXPECT_EQ(idx[0], 0);
    EXPECT_EQ(idx[1], 77);
    EXPECT_EQ(idx[own.Stride + 2], 31);
    ASSERT_EQ(bitmap.UnlockBits(&own), Ok);
}

TEST(Bitmap, LockRejectsBadRectanglesAndDoubleLocks) {
    Bitmap bitmap(8, 4, PixelFormat32bppRGB);
    BitmapData data{};
    const Rect bad[] = {Rect(-1, 0, 2, 2), Rect(0, 0, 9, 1),  Rect(7, 3, 2, 1),
                        Rect(0, 0, 0, 4),  Rect(0, 0, 4, -1), Rect(8, 0, 1, 1)};
    for (const Rect& r : bad) {
        EXPECT_EQ(bitmap.LockBits(&r, 0, PixelFormat32bppRGB, &data), InvalidParameter);
        EXPECT_EQ(bitmap.GetLastStatus(), InvalidParameter);
    }
    EXPECT_EQ(bitmap.UnlockBits(&data), WrongState);
    EXPECT_EQ(bitmap.LockBits(nullptr, 0, PixelFormat32bppRGB, nullptr), InvalidParameter);

    const Rect corner(7, 3, 1, 1);
    ASSERT_EQ(bitmap.LockBits(&corner, 0, PixelFormat32bppRGB, &data), Ok);
    EXPECT_EQ(bitmap.GetLastStatus(), Ok);
    BitmapData second{};
    EXPECT_EQ(bitmap.LockBits(nullptr, 0, PixelFormat24bppRGB, &second), WrongState);
    Color c;
    EXPECT_EQ(bitmap.GetPixel(0, 0, &c), WrongState);
    EXPECT_EQ(bitmap.UnlockBits(&data), Ok);
    EXPECT_EQ(bitmap.UnlockBits(&data), WrongState);
    // Another indexed format than the bitmap's own cannot be handed out (but for the grey view below).
    EXPECT_EQ(bitmap.LockBits(nullptr, 0, PixelFormat4bppIndexed, &data), InvalidParameter);
    Bitmap indexed(8, 4, PixelFormat4bppIndexed);
    EXPECT_EQ(indexed.LockBits(nullptr, 0, PixelFormat8bppIndexed, &data), InvalidParameter);
}

TEST(Bitmap, ColourBitmapsLockedAsEightBitsGiveTheirGreyLevels) {
    for (PixelFormat format : {PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB}) {
        SCOPED_TRACE(format);
        Bitmap bitmap(5, 2, format);
        const Color colours[5] = {Color(255, 100, 100, 100), Color(255, 255, 0, 0), Color(255, 0, 255, 0),
                                  Color(255, 255, 255, 255), Color(255, 0, 0, 0)};
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ(bitmap.SetPixel(x, 0, colours[x]), Ok);
            ASSERT_EQ(bitmap.SetPixel(x, 1, colours[4 - x]), Ok);
        }
        // A part of the bitmap, rows a padded stride apart.
        const Rect part(1, 0, 4, 2);
        BitmapData data{};
        ASSERT_EQ(bitmap.LockBits(&part, 0, PixelFormat8bppIndexed, &data), Ok);
        EXPECT_EQ(data.PixelFormat, PixelFormat8bppIndexed);
        EXPECT_EQ(data.Stride, 4);
        BYTE* rows = static_cast<BYTE*>(data.Scan0);
        EXPECT_EQ((std::vector<int>{rows[0], rows[1], rows[2], rows[3]}),
                  (std::vector<int>{77, 149, 255, 0}));
        EXPECT_EQ((std::vector<int>{rows[4], rows[5], rows[6], rows[7]}),
                  (std::vector<int>{255, 149, 77, 100}));
        // Written (flags 0 read and write): the changed sample comes back grey, the others keep their
        // colour.
        rows[1] = 60;
        ASSERT_EQ(bitmap.UnlockBits(&data), Ok);
        Color c;
        ASSERT_EQ(bitmap.GetPixel(2, 0, &c), Ok);
        EXPECT_EQ(c.GetValue(), 0xFF3C3C3Cu);
        ASSERT_EQ(bitmap.GetPixel(1, 0, &c), Ok);
        EXPECT_EQ(c.GetValue(), 0xFFFF0000u);

        // Read only: a change is discarded.
        ASSERT_EQ(bitmap.LockBits(&part, ImageLockModeRead, PixelFormat8bppIndexed, &data), Ok);
        static_cast<BYTE*>(data.Scan0)[0] = 1;
        ASSERT_EQ(bitmap.UnlockBits(&data), Ok);
        ASSERT_EQ(bitmap.GetPixel(1, 0, &c), Ok);
        EXPECT_EQ(c.GetValue(), 0xFFFF0000u);
    }
}

TEST(Bitmap, UserBufferLockCopiesInAndOut) {
    Bitmap bitmap(3, 2, PixelFormat32bppARGB);
    ASSERT_EQ(bitmap.SetPixel(1, 1, Color(10, 20, 30, 40)), Ok);
    BYTE buffer[2 * 12] = {};
    BitmapData data{};
    data.Scan0 = buffer;
    data.Stride = 12;
    ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead | ImageLockModeWrite | ImageLockModeUserInputBuf,
                              PixelFormat32bppARGB, &data),
              Ok);
    EXPECT_EQ(data.Scan0, buffer);
    EXPECT_EQ(buffer[12 + 4 + 0], 40); // blue of (1, 1)
    EXPECT_EQ(buffer[12 + 4 + 3], 10); // alpha
    buffer[0] = 99;
    buffer[3] = 255;
    ASSERT_EQ(bitmap.UnlockBits(&data), Ok);
    Color c;
    ASSERT_EQ(bitmap.GetPixel(0, 0, &c), Ok);
    EXPECT_EQ(c.GetValue(), 0xFF000063u);
}

TEST(Bitmap, PaletteUsesTheFlexibleLayoutAndRoundTrips) {
    Bitmap bitmap(2, 2, PixelFormat8bppIndexed);
    const INT size = bitmap.GetPaletteSize();
    EXPECT_EQ(size, static_cast<INT>(sizeof(ColorPalette) + 255 * sizeof(ARGB)));
    ColorPalette small{};
    EXPECT_EQ(bitmap.GetPalette(&small, sizeof(small)), InsufficientBuffer);

    auto* palette = static_cast<ColorPalette*>(std::malloc(size));
    ASSERT_EQ(bitmap.GetPalette(palette, size), Ok);
    EXPECT_EQ(palette->Count, 256u);
    palette->Entries[255] = 0xFF123456;
    palette->Entries[0] = 0x80FFFFFF;
    ASSERT_EQ(bitmap.SetPalette(palette), Ok);
    std::memset(palette, 0, size);
    ASSERT_EQ(bitmap.GetPalette(palette, size), Ok);
    EXPECT_EQ(palette->Entries[255], 0xFF123456u);
    EXPECT_EQ(palette->Entries[0], 0x80FFFFFFu);
    palette->Count = 0;
    EXPECT_EQ(bitmap.SetPalette(palette), InvalidParameter);
    std::free(palette);

    Bitmap rgb(2, 2, PixelFormat24bppRGB);
    EXPECT_EQ(rgb.GetPaletteSize(), static_cast<INT>(sizeof(ColorPalette)));
}

TEST(Bitmap, WrapsCallerMemoryWithItsStride) {
    std::vector<BYTE> memory(16 * 3, 0);
    Bitmap bitmap(4, 3, 16, PixelFormat24bppRGB, memory.data());
    ASSERT_EQ(bitmap.GetLastStatus(), Ok);
    ASSERT_EQ(bitmap.SetPixel(3, 2, Color(255, 1, 2, 3)), Ok);
    EXPECT_EQ(memory[2 * 16 + 9], 3);
    EXPECT_EQ(memory[2 * 16 + 11], 1);
    Bitmap tooNarrow(4, 3, 8, PixelFormat24bppRGB, memory.data());
    EXPECT_EQ(tooNarrow.GetLastStatus(), InvalidParameter);
}

// A clone shares the pixels until one side writes: the writer takes a copy of its own first, whichever
// way it writes (a lock that may write, SetPixel, drawing into it), and the other side keeps what it had.
TEST(Bitmap, CloneSharesThePixelsUntilOneSideWrites) {
    Bitmap original(6, 4, PixelFormat24bppRGB);
    ASSERT_EQ(original.SetPixel(1, 1, Color(255, 10, 20, 30)), Ok);
    auto scan0 = [](Bitmap& bitmap) {
        BitmapData data{};
        if (bitmap.LockBits(nullptr, ImageLockModeRead, bitmap.GetPixelFormat(), &data) != Ok)
            return static_cast<void*>(nullptr);
        bitmap.UnlockBits(&data);
        return data.Scan0;
    };
    auto pixel = [](Bitmap& bitmap, INT x, INT y) {
        Color color;
        bitmap.GetPixel(x, y, &color);
        return color.GetValue();
    };

    std::unique_ptr<Bitmap> lockWriter(static_cast<Bitmap*>(original.Clone()));
    std::unique_ptr<Bitmap> pixelWriter(static_cast<Bitmap*>(original.Clone()));
    std::unique_ptr<Bitmap> drawnInto(static_cast<Bitmap*>(original.Clone()));
    std::unique_ptr<Bitmap> blitInto(static_cast<Bitmap*>(original.Clone()));
    ASSERT_EQ(lockWriter->GetLastStatus(), Ok);
    EXPECT_EQ(lockWriter->GetWidth(), 6u);
    EXPECT_EQ(lockWriter->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_EQ(pixel(*lockWriter, 1, 1), 0xFF0A141Eu);
    // Reading copies nothing.
    EXPECT_EQ(scan0(*lockWriter), scan0(original));

    BitmapData data{};
    ASSERT_EQ(lockWriter->LockBits(nullptr, 0, PixelFormat24bppRGB, &data), Ok);
    std::memset(data.Scan0, 0xFF, static_cast<std::size_t>(data.Stride) * data.Height);
    lockWriter->UnlockBits(&data);
    EXPECT_NE(scan0(*lockWriter), scan0(original));
    EXPECT_EQ(pixel(*lockWriter, 1, 1), 0xFFFFFFFFu);

    ASSERT_EQ(pixelWriter->SetPixel(1, 1, Color(255, 1, 2, 3)), Ok);
    EXPECT_EQ(pixel(*pixelWriter, 1, 1), 0xFF010203u);

    Graphics(drawnInto.get()).Clear(Color(255, 0, 0, 255));
    EXPECT_EQ(pixel(*drawnInto, 1, 1), 0xFF0000FFu);
    Bitmap white(2, 2, PixelFormat24bppRGB);
    Graphics(&white).Clear(Color(255, 255, 255, 255));
    Graphics(blitInto.get()).DrawImage(&white, 1, 1);
    EXPECT_EQ(pixel(*blitInto, 1, 1), 0xFFFFFFFFu);

    // The original, and a clone that never wrote, saw none of it.
    EXPECT_EQ(pixel(original, 1, 1), 0xFF0A141Eu);
    EXPECT_EQ(pixel(original, 0, 0), 0xFF000000u);
    std::unique_ptr<Bitmap> reader(static_cast<Bitmap*>(original.Clone()));
    lockWriter.reset();
    EXPECT_EQ(pixel(*reader, 1, 1), 0xFF0A141Eu);
    // The original writes last: it copies too, since the reader still shares.
    ASSERT_EQ(original.SetPixel(1, 1, Color(255, 9, 9, 9)), Ok);
    EXPECT_EQ(pixel(*reader, 1, 1), 0xFF0A141Eu);
}

// A clone of a bitmap over the caller's memory, or of one locked now, is a copy from the start.
TEST(Bitmap, CloneOfCallerMemoryOrOfALockedBitmapIsACopy) {
    std::vector<BYTE> memory(16 * 3, 0);
    Bitmap wrapped(4, 3, 16, PixelFormat24bppRGB, memory.data());
    std::unique_ptr<Bitmap> clone(static_cast<Bitmap*>(wrapped.Clone()));
    memory[0] = 0x55;
    Color color;
    clone->GetPixel(0, 0, &color);
    EXPECT_EQ(color.GetValue(), 0xFF000000u);

    Bitmap locked(4, 3, PixelFormat24bppRGB);
    BitmapData data{};
    ASSERT_EQ(locked.LockBits(nullptr, 0, PixelFormat24bppRGB, &data), Ok);
    std::unique_ptr<Bitmap> cloneWhileLocked(static_cast<Bitmap*>(locked.Clone()));
    static_cast<BYTE*>(data.Scan0)[0] = 0x77;
    locked.UnlockBits(&data);
    cloneWhileLocked->GetPixel(0, 0, &color);
    EXPECT_EQ(color.GetValue(), 0xFF000000u);

    Bitmap failed(0, 3, PixelFormat24bppRGB);
    std::unique_ptr<Image> cloneOfNothing(failed.Clone());
    EXPECT_NE(cloneOfNothing->GetLastStatus(), Ok);
}
