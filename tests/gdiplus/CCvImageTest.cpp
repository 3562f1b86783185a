// The bitmap holder: types and strides, error texts, filling from samples, drawing 1:1, magnified and
// reduced, the region copy, and loading bitmap files (including files that must be refused or cannot be
// read).

#include "BmpFile.h"
#include "CCvImage.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace Gdiplus;

namespace {

std::vector<BYTE> Bytes(CCvImage& image, PixelFormat format) {
    BitmapData data{};
    std::vector<BYTE> bytes;
    if (image.m_pBitmap->LockBits(nullptr, ImageLockModeRead, format, &data) != Ok)
        return bytes;
    const BYTE* p = static_cast<const BYTE*>(data.Scan0);
    bytes.assign(p, p + static_cast<std::size_t>(data.Stride) * data.Height);
    image.m_pBitmap->UnlockBits(&data);
    return bytes;
}

CString ErrorText(const wchar_t* message, const wchar_t* func) {
    CString text;
    text.Format(L"%s Func : %s", message, func);
    return text;
}

// Another budget for the pictures loaded while it lives.
class LoadBudget {
public:
    explicit LoadBudget(long long nBytes) : m_nBefore(CCvImage::SetLoadBudget(nBytes)) {}
    ~LoadBudget() { CCvImage::SetLoadBudget(m_nBefore); }
    LoadBudget(const LoadBudget&) = delete;
    LoadBudget& operator=(const LoadBudget&) = delete;

private:
    long long m_nBefore;
};

std::vector<BYTE> Ramp(int count) {
    std::vector<BYTE> v(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        v[static_cast<std::size_t>(i)] = static_cast<BYTE>(i);
    return v;
}

} // namespace

TEST(CCvImage, StartsEmptyAndCreatesTheThreeTypes) {
    CCvImage image;
    EXPECT_TRUE(image.m_strError.IsEmpty());
    EXPECT_EQ(image.m_pBitmap, nullptr);
    EXPECT_EQ(image.m_nWidth, 0);
    EXPECT_EQ(image.m_nHeight, 0);

    ASSERT_EQ(image.CreateImage(5, 3, 2), 1);
    EXPECT_EQ(image.m_pBitmap->GetWidth(), 8u);
    EXPECT_EQ(image.m_pBitmap->GetHeight(), 3u);
    EXPECT_EQ(image.m_pBitmap->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_EQ(image.m_nWidth, 5);
    EXPECT_EQ(image.m_nType, 2);
    const std::vector<BYTE> bytes = Bytes(image, PixelFormat24bppRGB);
    EXPECT_EQ(bytes.size(), 72u);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), 72);

    ASSERT_EQ(image.CreateImage(6, 2, 1), 1);
    EXPECT_EQ(image.m_pBitmap->GetPixelFormat(), PixelFormat8bppIndexed);
    EXPECT_EQ(image.m_pBitmap->GetWidth(), 6u);
    const INT size = image.m_pBitmap->GetPaletteSize();
    auto* palette = static_cast<ColorPalette*>(std::malloc(size));
    ASSERT_EQ(image.m_pBitmap->GetPalette(palette, size), Ok);
    ASSERT_EQ(palette->Count, 256u);
    for (UINT i = 0; i < 256; ++i)
        ASSERT_EQ(palette->Entries[i], Color::MakeARGB(255, BYTE(i), BYTE(i), BYTE(i)));
    std::free(palette);

    ASSERT_EQ(image.CreateImage(5, 2, 3), 1);
    EXPECT_EQ(image.m_pBitmap->GetPixelFormat(), PixelFormat32bppRGB);
    EXPECT_EQ(Bytes(image, PixelFormat32bppRGB).size(), 40u);
}

TEST(CCvImage, RefusesUnknownTypesAndSizesItCannotMake) {
    CCvImage image;
    ASSERT_EQ(image.CreateImage(10, 10, 1), 1);
    EXPECT_EQ(image.CreateImage(7, 9, 4), 0);
    EXPECT_EQ(image.m_pBitmap, nullptr);
    EXPECT_EQ(image.m_strError, ErrorText(L"지원하지 않은 컬러 포멧입니다.", L"CreateImage()"));
    EXPECT_EQ(image.m_nWidth, 7);
    EXPECT_EQ(image.m_nHeight, 9);
    EXPECT_EQ(image.m_nType, 4);
    // Without a bitmap nothing is written anywhere.
    const std::vector<BYTE> samples(63, 1);
    EXPECT_EQ(image.SetImage(samples.data(), 7, 9), 0);
    image.ClearImage();

    EXPECT_EQ(image.CreateImage(0, 5, 2), 0);
    EXPECT_EQ(image.m_pBitmap, nullptr);
    EXPECT_EQ(image.DrawImage(static_cast<HDC>(nullptr)), 0);
    EXPECT_EQ(image.m_strError, ErrorText(L"생성된 비트맵이 없습니다.", L"DrawImage()"));
}

TEST(CCvImage, SetImageFillsEachTypeRowByRow) {
    CCvImage grey;
    ASSERT_EQ(grey.CreateImage(6, 2, 1), 1);
    const std::vector<BYTE> samples = Ramp(12);
    ASSERT_EQ(grey.SetImage(samples.data(), 6, 2), 1);
    std::vector<BYTE> bytes = Bytes(grey, PixelFormat8bppIndexed);
    ASSERT_EQ(bytes.size(), 16u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(bytes[i], i);
        EXPECT_EQ(bytes[8 + i], 6 + i); // row 1 begins at byte 8
    }

    CCvImage colour;
    ASSERT_EQ(colour.CreateImage(4, 2, 2), 1);
    ASSERT_EQ(colour.SetImage(samples.data(), 4, 2), 1);
    bytes = Bytes(colour, PixelFormat24bppRGB);
    EXPECT_EQ(bytes[12 + 3 * 1 + 0], 5);
    EXPECT_EQ(bytes[12 + 3 * 1 + 2], 5);

    CCvImage wide;
    ASSERT_EQ(wide.CreateImage(2, 2, 3), 1);
    ASSERT_EQ(wide.SetImage(samples.data(), 2, 2), 1);
    bytes = Bytes(wide, PixelFormat32bppRGB);
    EXPECT_EQ(bytes[8 + 4 + 1], 3);
    EXPECT_EQ(bytes[8 + 4 + 3], 0);

    // A type-2 image whose width is not a multiple of 4 keeps its bitmap's row length.
    CCvImage odd;
    ASSERT_EQ(odd.CreateImage(5, 2, 2), 1);
    ASSERT_EQ(odd.SetImage(samples.data(), 5, 2), 1);
    bytes = Bytes(odd, PixelFormat24bppRGB);
    EXPECT_EQ(bytes[24 + 3 * 4], 9);
    EXPECT_EQ(bytes[3 * 5], 0);
}

TEST(CCvImage, SetImageRefusesWrongInputAndKeepsThePixels) {
    CCvImage image;
    ASSERT_EQ(image.CreateImage(6, 2, 1), 1);
    const std::vector<BYTE> samples(12, 9);
    EXPECT_EQ(image.SetImage(nullptr, 6, 2), 0);
    EXPECT_EQ(image.m_strError, ErrorText(L"pSrc가 없습니다.", L"SetImage()"));
    EXPECT_EQ(image.SetImage(samples.data(), 5, 2), 0);
    EXPECT_EQ(image.m_strError, ErrorText(L"Width가 다릅니다.", L"SetImage()"));
    EXPECT_EQ(image.SetImage(samples.data(), 6, 1), 0);
    EXPECT_EQ(image.m_strError, ErrorText(L"Height가 다릅니다.", L"SetImage()"));
    const std::vector<BYTE> bytes = Bytes(image, PixelFormat8bppIndexed);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), 16);

    ASSERT_EQ(image.SetImage(samples.data(), 6, 2), 1);
    image.ClearImage();
    const std::vector<BYTE> cleared = Bytes(image, PixelFormat8bppIndexed);
    EXPECT_EQ(std::count(cleared.begin(), cleared.end(), 0), 16);
}

TEST(CCvImage, DrawsOneToOneIntoAContextAndMagnifiedIntoABitmap) {
    CCvImage grey;
    ASSERT_EQ(grey.CreateImage(5, 3, 1), 1);
    const std::vector<BYTE> samples = Ramp(15);
    ASSERT_EQ(grey.SetImage(samples.data(), 5, 3), 1);

    kavrino::ImageSurface surface(8, 6);
    surface.origin = QPoint(2, 1);
    ASSERT_EQ(grey.DrawImage(kavrino::ToHdc(&surface)), 1);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 1 && y < 4;
            const int v = inside ? (y - 1) * 5 + (x - 2) : 0;
            ASSERT_EQ(surface.Image().pixel(x, y), qRgb(v, v, v)) << x << ", " << y;
        }

    // A type-2 image whose bitmap is wider than its width draws only its width.
    CCvImage odd;
    ASSERT_EQ(odd.CreateImage(5, 3, 2), 1);
    ASSERT_EQ(odd.SetImage(samples.data(), 5, 3), 1);
    CCvImage target;
    ASSERT_EQ(target.CreateImage(24, 12, 2), 1);
    ASSERT_EQ(odd.DrawImage(target.m_pBitmap, 2.0f, 1.0f, 20.0f, 12.0f), 1);
    Color c;
    for (int y = 1; y < 12; ++y)
        for (int x = 2; x < 22; ++x) {
            target.m_pBitmap->GetPixel(x, y, &c);
            const int v = ((y - 1) / 4) * 5 + (x - 2) / 4;
            ASSERT_EQ(c.GetValue(), Color::MakeARGB(255, BYTE(v), BYTE(v), BYTE(v))) << x << ", " << y;
        }
    target.m_pBitmap->GetPixel(1, 5, &c);
    EXPECT_EQ(c.GetValue(), 0xFF000000u);
    target.m_pBitmap->GetPixel(22, 5, &c);
    EXPECT_EQ(c.GetValue(), 0xFF000000u);

    CCvImage empty;
    EXPECT_EQ(empty.DrawImage(target.m_pBitmap, 0.0f, 0.0f, 1.0f, 1.0f), 0);
    EXPECT_EQ(empty.m_strError, ErrorText(L"생성된 비트맵이 없습니다.", L"DrawImage()"));
}

TEST(CCvImage, ReducesTheWholePictureToTheMeanOfWhatEachPixelCovers) {
    CCvImage grey;
    ASSERT_EQ(grey.CreateImage(4, 2, 1), 1);
    const std::vector<BYTE> samples{0, 10, 20, 30, 40, 50, 60, 70};
    ASSERT_EQ(grey.SetImage(samples.data(), 4, 2), 1);
    CCvImage small;
    ASSERT_EQ(grey.ReduceInto(small, 2, 1), 1);
    EXPECT_EQ(small.m_nType, 2);
    EXPECT_EQ(small.m_nWidth, 2);
    EXPECT_EQ(small.m_nHeight, 1);
    const std::vector<BYTE> bytes = Bytes(small, PixelFormat24bppRGB);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 6),
              (std::vector<BYTE>{25, 25, 25, 45, 45, 45}));

    CCvImage empty;
    EXPECT_EQ(empty.ReduceInto(small, 2, 1), 0);
    EXPECT_EQ(small.m_pBitmap, nullptr);
    EXPECT_EQ(empty.m_strError, ErrorText(L"생성된 비트맵이 없습니다.", L"ReduceInto()"));
}

TEST(CCvImage, RegionCopyNeedsTypeTwoAndRectanglesInside) {
    CCvImage source;
    ASSERT_EQ(source.CreateImage(8, 6, 2), 1);
    const std::vector<BYTE> samples = Ramp(48);
    ASSERT_EQ(source.SetImage(samples.data(), 8, 6), 1);
    CCvImage box;
    ASSERT_EQ(box.CreateImage(4, 2, 2), 1);

    ASSERT_EQ(source.DrawImage(box.m_pBitmap, 3, 2, 3, 2), 1);
    const std::vector<BYTE> bytes = Bytes(box, PixelFormat24bppRGB);
    EXPECT_EQ(bytes[0], 19);          // source (3, 2)
    EXPECT_EQ(bytes[3 * 2 + 2], 21);  // source (5, 2)
    EXPECT_EQ(bytes[12 + 3 * 1], 28); // source (4, 3)
    EXPECT_EQ(bytes[3 * 3], 0);       // column 3 of the box was not part of the copy

    // Into a 32-bit target the copy lands as colour.
    CCvImage wide;
    ASSERT_EQ(wide.CreateImage(3, 2, 3), 1);
    ASSERT_EQ(source.DrawImage(wide.m_pBitmap, 0, 0, 3, 2), 1);
    Color c;
    wide.m_pBitmap->GetPixel(2, 1, &c);
    EXPECT_EQ(c.GetValue(), 0xFF0A0A0Au);

    EXPECT_EQ(source.DrawImage(box.m_pBitmap, 6, 0, 3, 2), 0); // leaves the source
    EXPECT_EQ(source.DrawImage(box.m_pBitmap, 0, 0, 5, 2), 0); // leaves the target
    EXPECT_EQ(source.DrawImage(box.m_pBitmap, -1, 0, 2, 2), 0);
    EXPECT_EQ(source.DrawImage(static_cast<Bitmap*>(nullptr), 0, 0, 2, 2), 0);
    // Both bitmaps are usable again afterwards: no lock was left behind.
    EXPECT_EQ(source.DrawImage(box.m_pBitmap, 0, 0, 2, 2), 1);

    CCvImage grey;
    ASSERT_EQ(grey.CreateImage(8, 6, 1), 1);
    ASSERT_EQ(grey.SetImage(samples.data(), 8, 6), 1);
    CCvImage fresh;
    ASSERT_EQ(fresh.CreateImage(4, 2, 2), 1);
    grey.m_strError.Empty();
    EXPECT_EQ(grey.DrawImage(fresh.m_pBitmap, 0, 0, 4, 2), 0);
    EXPECT_TRUE(grey.m_strError.IsEmpty());
    const std::vector<BYTE> untouched = Bytes(fresh, PixelFormat24bppRGB);
    EXPECT_EQ(std::count(untouched.begin(), untouched.end(), 0), static_cast<long>(untouched.size()));
}

TEST(CCvImage, LoadsAcceptedFormatsAndRefusesTheRest) {
    QTemporaryDir dir;
    auto path = [&](const char* name) { return CString(dir.filePath(name).toStdWString()); };
    bmptest::BmpLayout layout;
    layout.width = 13;
    layout.height = 7;
    ASSERT_TRUE(bmptest::WriteFile(dir.filePath("rgb.bmp"), bmptest::MakeBmp(layout)));
    layout.bitCount = 8;
    layout.palette = bmptest::GreyRamp(256);
    ASSERT_TRUE(bmptest::WriteFile(dir.filePath("grey.bmp"), bmptest::MakeBmp(layout)));
    layout.bitCount = 32;
    layout.palette.clear();
    ASSERT_TRUE(bmptest::WriteFile(dir.filePath("rgb32.bmp"), bmptest::MakeBmp(layout)));
    layout.width = 20;
    layout.bitCount = 1;
    layout.palette = {0, 0xFFFFFF};
    ASSERT_TRUE(bmptest::WriteFile(dir.filePath("mono.bmp"), bmptest::MakeBmp(layout)));
    const QByteArray good = bmptest::MakeBmp(layout);
    ASSERT_TRUE(bmptest::WriteFile(dir.filePath("cut.bmp"), good.left(good.size() / 2)));
    ASSERT_TRUE(bmptest::WriteFile(dir.filePath("empty.bmp"), QByteArray()));
    ASSERT_TRUE(bmptest::WriteFile(dir.filePath("notes.bmp"), QByteArray("not a bitmap")));

    CCvImage image;
    ASSERT_EQ(image.LoadImage(path("rgb.bmp")), 1);
    EXPECT_EQ(image.m_nType, 2);
    EXPECT_EQ(image.m_nWidth, 13);
    EXPECT_EQ(image.m_nHeight, 7);
    ASSERT_EQ(image.LoadImage(path("grey.bmp")), 1);
    EXPECT_EQ(image.m_nType, 1);
    ASSERT_EQ(image.LoadImage(path("rgb32.bmp")), 1);
    EXPECT_EQ(image.m_nType, 3);

    // A 1-bit file is refused; the size and type stay, the bitmap stays loaded.
    EXPECT_EQ(image.LoadImage(path("mono.bmp")), 0);
    EXPECT_EQ(image.m_nType, 3);
    EXPECT_EQ(image.m_nWidth, 13);
    EXPECT_EQ(image.m_nHeight, 7);
    ASSERT_NE(image.m_pBitmap, nullptr);
    EXPECT_EQ(image.m_pBitmap->GetPixelFormat(), PixelFormat1bppIndexed);

    // Files that give no picture leave the holder without a bitmap, and it stays usable.
    for (const char* name : {"cut.bmp", "empty.bmp", "notes.bmp", "missing.bmp"}) {
        EXPECT_EQ(image.LoadImage(path(name)), 0) << name;
        EXPECT_EQ(image.m_pBitmap, nullptr) << name;
        EXPECT_EQ(image.m_nType, 3) << name;
        EXPECT_EQ(image.DrawImage(static_cast<HDC>(nullptr)), 0);
    }
    EXPECT_EQ(image.LoadImage(CString()), 0);
    ASSERT_EQ(image.CreateImage(4, 4, 1), 1);
    EXPECT_EQ(image.m_pBitmap->GetPixelFormat(), PixelFormat8bppIndexed);
}

// Every page keeps its reference picture: together they hold no more than the budget, so that a test set
// naming a huge picture for every page cannot take all the memory. A refused picture leaves the holder as
// an unreadable file does; a picture given up makes room again.
TEST(CCvImage, LoadedPicturesStayWithinTheirBudget) {
    QTemporaryDir dir;
    bmptest::BmpLayout layout;
    layout.width = 100;
    layout.height = 10; // 3000 bytes of pixels at 24 bits
    auto path = [&](const char* name) { return CString(dir.filePath(name).toStdWString()); };
    for (const char* name : {"p1.bmp", "p2.bmp", "p3.bmp", "p4.bmp"})
        ASSERT_TRUE(bmptest::WriteFile(dir.filePath(name), bmptest::MakeBmp(layout)));

    // A test set may give each of twenty pages a picture of a 25-megapixel colour camera, of 24 or 32 bits.
    EXPECT_GE(CCvImage::kLoadBudgetBytes, 20 * 5120LL * 5120 * 4);

    LoadBudget budget(7000);
    {
        CCvImage first, second, third;
        EXPECT_EQ(first.LoadImage(path("p1.bmp")), 1);
        EXPECT_EQ(second.LoadImage(path("p2.bmp")), 1);
        EXPECT_EQ(third.LoadImage(path("p3.bmp")), 0);
        EXPECT_EQ(third.m_pBitmap, nullptr);
        EXPECT_EQ(third.m_strError, ErrorText(L"비트맵을 만들 수 없습니다.", L"LoadImage()"));
        EXPECT_EQ(second.LoadImage(path("p4.bmp")),
                  1); // its own share is given back before the new one is taken
        ASSERT_EQ(second.CreateImage(100, 10, 2), 1); // created bitmaps do not count
        EXPECT_EQ(third.LoadImage(path("p3.bmp")), 1);
        // A holder that clears its picture gives its share back too.
        first.ClearImage();
        EXPECT_EQ(second.LoadImage(path("p4.bmp")), 1);
    }
    {
        CCvImage again1, again2;
        EXPECT_EQ(again1.LoadImage(path("p1.bmp")), 1);
        EXPECT_EQ(again2.LoadImage(path("p2.bmp")), 1);
    }
}

// Pages that name the same file hold one decoding of it, within the budget of one picture, as long as any
// of them keeps it; what one holder writes stays its own. The same file under another spelling is the
// same file; a file written since is decoded anew, and the holders of the old picture keep it.
TEST(CCvImage, HoldersOfOneFileShareOneDecoding) {
    QTemporaryDir dir;
    bmptest::BmpLayout layout;
    layout.width = 100;
    layout.height = 10;
    layout.pixel = [](int x, int) { return static_cast<std::uint32_t>(x); };
    ASSERT_TRUE(bmptest::WriteFile(dir.filePath("shared.bmp"), bmptest::MakeBmp(layout)));
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    const CString path(dir.filePath("shared.bmp").toStdWString());
    const CString otherSpelling(dir.filePath("sub/../shared.bmp").toStdWString());

    const long long nHeldBefore = LoadedPicture::HeldBytes();
    LoadBudget budget(nHeldBefore + 3000);
    {
        std::vector<CCvImage> pages(20);
        for (CCvImage& page : pages)
            ASSERT_EQ(page.LoadImage(path), 1);
        CCvImage spelledOtherwise;
        ASSERT_EQ(spelledOtherwise.LoadImage(otherSpelling), 1);
        EXPECT_EQ(LoadedPicture::HeldBytes(), nHeldBefore + 3000);
        const std::vector<BYTE> picture = Bytes(pages[0], PixelFormat24bppRGB);
        ASSERT_FALSE(picture.empty());
        EXPECT_EQ(picture[3 * 7], 7);

        // One holder writes into its picture, another clears its own: the rest keep the file's picture.
        Gdiplus::BitmapData data{};
        ASSERT_EQ(pages[1].m_pBitmap->LockBits(nullptr, 0, PixelFormat24bppRGB, &data), Ok);
        std::memset(data.Scan0, 0x44, static_cast<std::size_t>(data.Stride) * data.Height);
        pages[1].m_pBitmap->UnlockBits(&data);
        pages[2].ClearImage();
        EXPECT_EQ(Bytes(pages[2], PixelFormat24bppRGB), std::vector<BYTE>(picture.size(), 0));
        EXPECT_EQ(Bytes(pages[3], PixelFormat24bppRGB), picture);
        EXPECT_EQ(Bytes(spelledOtherwise, PixelFormat24bppRGB), picture);
        // A new holder gets the file's picture, not what a holder wrote.
        CCvImage late;
        ASSERT_EQ(late.LoadImage(path), 1);
        EXPECT_EQ(Bytes(late, PixelFormat24bppRGB), picture);

        // The file rewritten, at another size: a new decoding, which must fit beside the old one.
        layout.width = 50;
        ASSERT_TRUE(bmptest::WriteFile(dir.filePath("shared.bmp"), bmptest::MakeBmp(layout)));
        CCvImage rewritten;
        EXPECT_EQ(rewritten.LoadImage(path), 0);
        CCvImage::SetLoadBudget(nHeldBefore + 4500);
        ASSERT_EQ(rewritten.LoadImage(path), 1);
        EXPECT_EQ(rewritten.m_nWidth, 50);
        EXPECT_EQ(Bytes(pages[3], PixelFormat24bppRGB), picture);
        CCvImage afterIt;
        ASSERT_EQ(afterIt.LoadImage(path), 1);
        EXPECT_EQ(afterIt.m_nWidth, 50);
        EXPECT_EQ(LoadedPicture::HeldBytes(), nHeldBefore + 4500);
    }
    // Nobody holds either decoding any more.
    EXPECT_EQ(LoadedPicture::HeldBytes(), nHeldBefore);
}
