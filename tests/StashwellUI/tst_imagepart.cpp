#include "StashwellUI/Pictures/ImagePart.h"

#include <QTest>

using namespace sw;

class TestImagePart : public QObject {
    Q_OBJECT
private slots:
    void partHoldsTheImagesPixels_data();
    void partHoldsTheImagesPixels();
};

void TestImagePart::partHoldsTheImagesPixels_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QRect>("part");
    QTest::addColumn<bool>("shared");   // read from the image's own memory
    const QRect middle(5, 3, 17, 11);
    QTest::newRow("argb32 middle") << QImage::Format_ARGB32_Premultiplied << middle << true;
    QTest::newRow("argb32 over the edge") << QImage::Format_ARGB32_Premultiplied << QRect(30, 18, 20, 20) << true;
    QTest::newRow("rgb888 (three bytes a pixel)") << QImage::Format_RGB888 << middle << true;
    QTest::newRow("grayscale16") << QImage::Format_Grayscale16 << middle << true;
    QTest::newRow("indexed8 (its colours)") << QImage::Format_Indexed8 << middle << true;
    QTest::newRow("mono (bits a pixel: copied)") << QImage::Format_Mono << middle << false;
    QTest::newRow("beyond the whole image") << QImage::Format_ARGB32 << QRect(-4, -4, 60, 60) << true;
}

void TestImagePart::partHoldsTheImagesPixels()
{
    QFETCH(QImage::Format, format);
    QFETCH(QRect, part);
    QFETCH(bool, shared);
    // Every pixel differs from its neighbours, so a part taken a row or a pixel off shows.
    QImage pattern(37, 23, QImage::Format_ARGB32);
    for (int y = 0; y < pattern.height(); ++y)
        for (int x = 0; x < pattern.width(); ++x)
            pattern.setPixel(x, y, qRgba((x * 7) & 0xff, (y * 11) & 0xff, (x * y) & 0xff, 255 - ((x + y) & 0x7f)));
    const QImage image = pattern.convertToFormat(format);

    const QImage taken = imagePart(image, part);
    const QImage expected = image.copy(part & image.rect());
    QCOMPARE(taken.size(), expected.size());
    QCOMPARE(taken.format(), expected.format());
    QCOMPARE(taken.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
    const uchar *begin = image.constBits();
    QCOMPARE(taken.constBits() >= begin && taken.constBits() < begin + image.sizeInBytes(), shared);
}

QTEST_GUILESS_MAIN(TestImagePart)
#include "tst_imagepart.moc"
