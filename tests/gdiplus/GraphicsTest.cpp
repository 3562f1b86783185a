// Drawing: the exact 1:1 and k x k image paths with clipping, device surfaces with their origin, the
// painter-drawn lines, rectangles and text, and start-up.

#include "Gdiplus.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

using namespace Gdiplus;

namespace {

// A source whose every pixel differs from its neighbours: colour of (x, y) = (x * 7 + 1, y * 11 + 2, x ^ y).
ARGB Pattern(int x, int y) {
    return Color::MakeARGB(255, BYTE(x * 7 + 1), BYTE(y * 11 + 2), BYTE(x ^ y));
}

std::unique_ptr<Bitmap> MakeSource(int w, int h, PixelFormat format) {
    auto bitmap = std::make_unique<Bitmap>(w, h, format);
    if (format == PixelFormat8bppIndexed) {
        // Palette entry i is a colour of its own; pixel (x, y) uses entry (x + 3y) % 256.
        const INT size = bitmap->GetPaletteSize();
        auto* palette = static_cast<ColorPalette*>(std::malloc(size));
        bitmap->GetPalette(palette, size);
        for (UINT i = 0; i < palette->Count; ++i)
            palette->Entries[i] = Color::MakeARGB(255, BYTE(i), BYTE(255 - i), BYTE(i * 3));
        bitmap->SetPalette(palette);
        std::free(palette);
        BitmapData data{};
        bitmap->LockBits(nullptr, ImageLockModeWrite, format, &data);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                static_cast<BYTE*>(data.Scan0)[y * data.Stride + x] = BYTE((x + 3 * y) % 256);
        bitmap->UnlockBits(&data);
    } else {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bitmap->SetPixel(x, y, Color(Pattern(x, y)));
    }
    return bitmap;
}

ARGB Expected(const Bitmap& source, int x, int y) {
    Color c;
    const_cast<Bitmap&>(source).GetPixel(x, y, &c);
    return c.GetValue() | 0xFF000000u;
}

ARGB At(Bitmap& bitmap, int x, int y) {
    Color c;
    bitmap.GetPixel(x, y, &c);
    return c.GetValue() | 0xFF000000u;
}

constexpr ARGB kBackground = 0xFF5A5A5A;

std::unique_ptr<Bitmap> MakeTarget(int w, int h, PixelFormat format) {
    auto target = std::make_unique<Bitmap>(w, h, format);
    Graphics(target.get()).Clear(Color(kBackground));
    return target;
}

// Draws the source with the half-pixel offset and nearest-neighbour sampling into (x - 0.5, y - 0.5,
// k*w + 0.5, k*h + 0.5) and checks every target pixel: inside the blocks the source pixel, outside the
// background.
void CheckBlocks(Bitmap& source, PixelFormat targetFormat, int tw, int th, int x, int y, int k) {
    auto target = MakeTarget(tw, th, targetFormat);
    Graphics graphics(target.get());
    graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
    graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
    const int w = static_cast<int>(source.GetWidth()), h = static_cast<int>(source.GetHeight());
    ASSERT_EQ(graphics.DrawImage(&source, RectF(x - 0.5f, y - 0.5f, k * w + 0.5f, k * h + 0.5f)), Ok);
    for (int ty = 0; ty < th; ++ty)
        for (int tx = 0; tx < tw; ++tx) {
            const bool inside = tx >= x && tx < x + k * w && ty >= y && ty < y + k * h;
            const ARGB want = inside ? Expected(source, (tx - x) / k, (ty - y) / k) : kBackground;
            ASSERT_EQ(At(*target, tx, ty), want)
                << "target (" << tx << ", " << ty << ") k " << k << " source format " << std::hex
                << source.GetPixelFormat() << " target format " << targetFormat;
        }
}

class CountingSurface : public kavrino::ImageSurface {
public:
    using ImageSurface::ImageSurface;
    void Flush() override { ++flushes; }
    int flushes = 0;
};

} // namespace

TEST(GraphicsImage, HalfPixelRectangleCopiesOneToOneFromEveryFormatIntoEveryTarget) {
    for (PixelFormat sourceFormat :
         {PixelFormat8bppIndexed, PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB})
        for (PixelFormat targetFormat : {PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB}) {
            auto source = MakeSource(7, 5, sourceFormat);
            CheckBlocks(*source, targetFormat, 7, 5, 0, 0, 1);
            CheckBlocks(*source, targetFormat, 11, 9, 2, 3, 1);
        }
    // Rows without padding on either side are copied as one block.
    auto unpadded = MakeSource(8, 5, PixelFormat24bppRGB);
    CheckBlocks(*unpadded, PixelFormat24bppRGB, 8, 5, 0, 0, 1);
    CheckBlocks(*unpadded, PixelFormat24bppRGB, 8, 9, 0, 3, 1);
    CheckBlocks(*unpadded, PixelFormat24bppRGB, 8, 4, 0, -1, 1);
}

TEST(GraphicsImage, WholeMagnificationGivesExactSquareBlocks) {
    for (PixelFormat sourceFormat : {PixelFormat8bppIndexed, PixelFormat24bppRGB, PixelFormat32bppRGB})
        for (int k : {2, 3, 4}) {
            auto source = MakeSource(5, 4, sourceFormat);
            CheckBlocks(*source, PixelFormat24bppRGB, 5 * k + 6, 4 * k + 5, 3, 2, k);
            CheckBlocks(*source, PixelFormat32bppRGB, 5 * k + 6, 4 * k + 5, 3, 2, k);
        }
    // The display's edge box: 76 x 56 magnified 4 times.
    auto box = MakeSource(76, 56, PixelFormat24bppRGB);
    CheckBlocks(*box, PixelFormat24bppRGB, 320, 240, 8, 7, 4);
}

TEST(GraphicsImage, ClipsToTheTarget) {
    auto source = MakeSource(20, 15, PixelFormat24bppRGB);
    // Larger than the target, and pushed off to the top-left and to the bottom-right.
    CheckBlocks(*source, PixelFormat24bppRGB, 8, 6, 0, 0, 1);
    CheckBlocks(*source, PixelFormat24bppRGB, 8, 6, -5, -4, 1);
    CheckBlocks(*source, PixelFormat32bppRGB, 8, 6, 5, 4, 2);
    CheckBlocks(*source, PixelFormat24bppRGB, 8, 6, -30, 0, 1); // wholly outside: nothing drawn
    // The integer forms place the image 1:1 as well.
    auto target = MakeTarget(30, 20, PixelFormat24bppRGB);
    Graphics graphics(target.get());
    ASSERT_EQ(graphics.DrawImage(source.get(), 12, -3), Ok);
    EXPECT_EQ(At(*target, 12, 0), Expected(*source, 0, 3));
    EXPECT_EQ(At(*target, 29, 11), Expected(*source, 17, 14));
    EXPECT_EQ(At(*target, 11, 0), kBackground);
    EXPECT_EQ(At(*target, 12, 12), kBackground);
}

TEST(GraphicsImage, DeviceSurfaceHonoursTheViewportOriginAndFlushes) {
    auto source = MakeSource(40, 30, PixelFormat8bppIndexed);
    CountingSurface surface(16, 12);
    surface.Image().fill(0xFF010101);
    surface.origin = QPoint(-30, 5); // the image's left part and bottom rows fall off the surface
    {
        Graphics graphics(kavrino::ToHdc(&surface));
        graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
        graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
        ASSERT_EQ(graphics.DrawImage(source.get(), RectF(-0.5f, -0.5f, 40.5f, 30.5f)), Ok);
        EXPECT_EQ(surface.flushes, 0);
    }
    EXPECT_EQ(surface.flushes, 1);
    const QImage& image = surface.Image();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = x < 10 && y >= 5;
            const QRgb want = inside ? Expected(*source, x + 30, y - 5) : 0xFF010101u;
            ASSERT_EQ(image.pixel(x, y), want) << x << ", " << y;
        }
}

TEST(GraphicsImage, AlphaSourcesBlendAndFailuresAreReported) {
    Bitmap source(2, 1, PixelFormat32bppARGB);
    source.SetPixel(0, 0, Color(128, 255, 0, 0));
    source.SetPixel(1, 0, Color(0, 0, 255, 0));
    auto target = MakeTarget(2, 1, PixelFormat24bppRGB);
    Graphics(target.get()).Clear(Color(255, 255, 255));
    Graphics graphics(target.get());
    ASSERT_EQ(graphics.DrawImage(&source, 0, 0), Ok);
    const ARGB blended = At(*target, 0, 0);
    EXPECT_EQ(blended >> 16 & 0xFF, 255u);
    EXPECT_NEAR(static_cast<int>(blended >> 8 & 0xFF), 127, 1);
    EXPECT_EQ(At(*target, 1, 0), 0xFFFFFFFFu); // fully transparent: untouched

    BitmapData data{};
    ASSERT_EQ(source.LockBits(nullptr, 0, PixelFormat32bppARGB, &data), Ok);
    EXPECT_EQ(graphics.DrawImage(&source, 0, 0), WrongState);
    EXPECT_EQ(graphics.GetLastStatus(), WrongState);
    source.UnlockBits(&data);
    EXPECT_EQ(graphics.DrawImage(static_cast<Image*>(nullptr), 0, 0), InvalidParameter);

    Bitmap indexed(4, 4, PixelFormat8bppIndexed);
    Graphics onIndexed(&indexed);
    EXPECT_NE(onIndexed.GetLastStatus(), Ok);
    Pen pen(Color(255, 0, 0));
    EXPECT_NE(onIndexed.DrawLine(&pen, 0, 0, 3, 3), Ok);
    Graphics noContext(static_cast<HDC>(nullptr));
    EXPECT_EQ(noContext.GetLastStatus(), InvalidParameter);
}

TEST(GraphicsImage, NonWholeScalingStillFillsTheRectangle) {
    auto source = MakeSource(4, 4, PixelFormat24bppRGB);
    auto target = MakeTarget(12, 12, PixelFormat24bppRGB);
    Graphics graphics(target.get());
    graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
    ASSERT_EQ(graphics.DrawImage(source.get(), RectF(0, 0, 10, 6)), Ok);
    EXPECT_EQ(At(*target, 0, 0), Expected(*source, 0, 0));
    EXPECT_EQ(At(*target, 9, 5), Expected(*source, 3, 3));
    EXPECT_EQ(At(*target, 10, 5), kBackground);
    EXPECT_EQ(At(*target, 9, 6), kBackground);
    // Smoothed scaling goes through the painter; it must still cover the same area.
    Graphics smooth(target.get());
    smooth.SetInterpolationMode(InterpolationModeHighQualityBilinear);
    ASSERT_EQ(smooth.DrawImage(source.get(), RectF(0, 6, 12, 6)), Ok);
    EXPECT_NE(At(*target, 6, 9), kBackground);
}

TEST(GraphicsShapes, LinesRectanglesAndFills) {
    for (PixelFormat format : {PixelFormat24bppRGB, PixelFormat32bppRGB}) {
        auto target = MakeTarget(40, 30, format);
        Graphics graphics(target.get());
        Pen red(Color(255, 255, 0, 0), 0);
        ASSERT_EQ(graphics.DrawLine(&red, 2, 5, 30, 5), Ok);
        EXPECT_EQ(At(*target, 2, 5), 0xFFFF0000u);
        EXPECT_EQ(At(*target, 16, 5), 0xFFFF0000u);
        EXPECT_EQ(At(*target, 30, 5), 0xFFFF0000u);
        EXPECT_EQ(At(*target, 16, 4), kBackground);
        EXPECT_EQ(At(*target, 16, 6), kBackground);

        Pen green(Color(255, 0, 255, 0), 1);
        ASSERT_EQ(graphics.DrawRectangle(&green, 10, 10, 8, 6), Ok);
        EXPECT_EQ(At(*target, 10, 10), 0xFF00FF00u);
        EXPECT_EQ(At(*target, 18, 16), 0xFF00FF00u); // the outline spans width + 1 pixels
        EXPECT_EQ(At(*target, 14, 16), 0xFF00FF00u);
        EXPECT_EQ(At(*target, 14, 13), kBackground);

        SolidBrush blue(Color(255, 0, 0, 255));
        ASSERT_EQ(graphics.FillRectangle(&blue, 30, 20, 5, 4), Ok);
        EXPECT_EQ(At(*target, 30, 20), 0xFF0000FFu);
        EXPECT_EQ(At(*target, 34, 23), 0xFF0000FFu);
        EXPECT_EQ(At(*target, 35, 23), kBackground);
        EXPECT_EQ(At(*target, 34, 24), kBackground);
        EXPECT_EQ(graphics.DrawLine(nullptr, 0, 0, 1, 1), InvalidParameter);
    }
}

TEST(GraphicsShapes, DashedLinesLeaveGaps) {
    auto target = MakeTarget(60, 3, PixelFormat24bppRGB);
    Graphics graphics(target.get());
    Pen cyan(Color(255, 0, 255, 255), 1);
    ASSERT_EQ(cyan.SetDashStyle(DashStyleDashDot), Ok);
    ASSERT_EQ(graphics.DrawLine(&cyan, 0, 1, 59, 1), Ok);
    int drawn = 0;
    for (int x = 0; x < 60; ++x)
        drawn += At(*target, x, 1) == 0xFF00FFFFu;
    EXPECT_GT(drawn, 15);
    EXPECT_LT(drawn, 55);
}

TEST(GraphicsText, KoreanTextRendersWithTheFallbackFont) {
    EXPECT_EQ(kavrino::ResolveFontFamily(QStringLiteral("맑은고딕")), QStringLiteral("NanumGothic"));
    EXPECT_EQ(kavrino::ResolveFontFamily(QStringLiteral("굴림")), QStringLiteral("NanumGothic"));
    EXPECT_EQ(kavrino::ResolveFontFamily(QStringLiteral("Arial")), QStringLiteral("NanumGothic"));

    auto target = MakeTarget(300, 80, PixelFormat24bppRGB);
    Graphics graphics(target.get());
    Font font(L"맑은고딕", 24, FontStyleBold, UnitPixel);
    ASSERT_EQ(font.GetLastStatus(), Ok);
    EXPECT_EQ(font.ToQFont().pixelSize(), 24);
    SolidBrush orange(Color(255, 255, 127, 39));
    ASSERT_EQ(
        graphics.DrawString(L"프레임레이트: 30.00\r\n픽셀포맷: Mono8", -1, &font, PointF(10, 5), &orange),
        Ok);
    int topLine = 0, secondLine = 0, leftOfText = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 300; ++x) {
            if (At(*target, x, y) == kBackground)
                continue;
            if (x < 10 || y < 5)
                ++leftOfText;
            else if (y < 30)
                ++topLine;
            else
                ++secondLine;
        }
    EXPECT_GT(topLine, 100);
    EXPECT_GT(secondLine, 100); // "\r\n" broke the line
    EXPECT_EQ(leftOfText, 0);

    // A layout rectangle clips; a length stops the text early.
    auto clipped = MakeTarget(100, 60, PixelFormat32bppRGB);
    Graphics clippedGraphics(clipped.get());
    StringFormat format;
    ASSERT_EQ(clippedGraphics.DrawString(L"PASS!! and more", 6, &font, RectF(0, 0, 50, 30), &format, &orange),
              Ok);
    for (int y = 0; y < 60; ++y)
        for (int x = 50; x < 100; ++x)
            ASSERT_EQ(At(*clipped, x, y), kBackground);
    EXPECT_EQ(clippedGraphics.DrawString(L"x", -1, nullptr, PointF(0, 0), &orange), InvalidParameter);
}

TEST(GdiplusStartupTest, TokensAndTheFailureHook) {
    GdiplusStartupInput input;
    EXPECT_EQ(input.GdiplusVersion, 1u);
    ULONG_PTR token = 0;
    const int before = kavrino::GdiplusStartupCount();
    ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
    EXPECT_NE(token, 0u);
    EXPECT_EQ(kavrino::GdiplusStartupCount(), before + 1);
    GdiplusShutdown(token);
    EXPECT_EQ(kavrino::GdiplusStartupCount(), before);

    kavrino::SetGdiplusStartupFailure(true);
    EXPECT_NE(GdiplusStartup(&token, &input, nullptr), Ok);
    ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok); // the hook fails one start-up only
    GdiplusShutdown(token);

    input.GdiplusVersion = 2;
    EXPECT_EQ(GdiplusStartup(&token, &input, nullptr), UnsupportedGdiplusVersion);
    EXPECT_EQ(GdiplusStartup(nullptr, &input, nullptr), InvalidParameter);
}
