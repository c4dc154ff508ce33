// The program's pictures as the windows load them: the eyeball for each screen
// pixel ratio, and the icon at every size the icon theme has.
#include "platform/WinApp.h"
#include "platform/qt/Dialog.h"
#include "res/resource.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>

TEST(ImagesTest, TheEyeballComesForEachPixelRatioAtOneLogicalSize)
{
    const struct
    {
        double dRatio;
        qreal dPicture; // the ratio of the picture chosen
    } cases[] = {{1, 1}, {1.25, 2}, {1.5, 2}, {2, 2}, {3, 2}};
    for (const auto& c : cases)
    {
        const QPixmap eye = AfxLoadBitmap(IDB_EYEBALL, c.dRatio);
        EXPECT_EQ(eye.devicePixelRatio(), c.dPicture) << c.dRatio;
        EXPECT_EQ(eye.deviceIndependentSize().toSize(), QSize(27, 26)) << c.dRatio;
    }
    EXPECT_TRUE(AfxLoadBitmap(IDI_MAIN + 999, 2).isNull());
}

TEST(ImagesTest, TheTwoEyeballsShowTheSamePicture)
{
    const QImage one =
        AfxLoadBitmap(IDB_EYEBALL, 1).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage two =
        AfxLoadBitmap(IDB_EYEBALL, 2).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(two.size(), one.size() * 2);
    // Each 1x pixel's colour appears in its 2 x 2 block, but along a few
    // outlines that the 2x picture draws rounder.
    int nDiffer = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x)
        {
            const QRgb rgb = one.pixel(x, y);
            const QRgb block[] = {two.pixel(2 * x, 2 * y), two.pixel(2 * x + 1, 2 * y),
                                  two.pixel(2 * x, 2 * y + 1), two.pixel(2 * x + 1, 2 * y + 1)};
            nDiffer += std::find(std::begin(block), std::end(block), rgb) == std::end(block);
        }
    EXPECT_LE(nDiffer, one.width() * one.height() / 100);
    EXPECT_EQ(two.pixel(0, 0), qRgb(0xC0, 0xC0, 0xC0)); // the light grey ground
}

TEST(ImagesTest, TheIconHasEveryThemeSizeDrawnForIt)
{
    const QIcon icon = AfxLoadIcon(IDI_MAIN);
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    EXPECT_EQ(sizes,
              (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));

    // Pixels of the tile, the green and red ends of the gauge and the bar, at
    // each size; 16 pixels is drawn pixel by pixel, so its colours are exact.
    const struct
    {
        int nSize;
        double x, y; // as fractions of the size
        QRgb rgb;
        int nTolerance;
    } cases[] = {
        {16, 0.34, 0.78, qRgb(0x8F, 0xA8, 0xC8), 0}, {16, 0.16, 0.47, qRgb(0x3C, 0xB4, 0x4B), 0},
        {16, 0.84, 0.47, qRgb(0xD9, 0x41, 0x2B), 0}, {16, 0.5, 0.03, qRgb(0x12, 0x26, 0x40), 0},
        {32, 0.5, 0.81, qRgb(0x8F, 0xA8, 0xC8), 24}, {48, 0.15, 0.6, qRgb(0x3C, 0xB4, 0x4B), 24},
        {256, 0.85, 0.6, qRgb(0xD9, 0x41, 0x2B), 8}, {256, 0.5, 0.35, qRgb(0xF2, 0xC1, 0x2E), 8},
        {256, 0.5, 0.7, qRgb(0xFF, 0xFF, 0xFF), 8},  {256, 0.0, 0.0, qRgba(0, 0, 0, 0), 8},
    };
    for (const auto& c : cases)
    {
        const QImage image = icon.pixmap(c.nSize).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(c.nSize, c.nSize));
        const QRgb got = image.pixel(int(c.x * c.nSize), int(c.y * c.nSize));
        const int nDiff =
            std::max({std::abs(qRed(got) - qRed(c.rgb)), std::abs(qGreen(got) - qGreen(c.rgb)),
                      std::abs(qBlue(got) - qBlue(c.rgb)), std::abs(qAlpha(got) - qAlpha(c.rgb))});
        EXPECT_LE(nDiff, c.nTolerance)
            << c.nSize << " at " << c.x << ", " << c.y << ": " << std::hex << got;
    }
}
