#include "StashwellUI/Pictures/ImagePart.h"

#include <QTest>

using namespace sw;

class TestImagePart : public QObject {
    Q_OBJECT
private slots:
    void partHoldsTheImagesPixels_data();
    void partHoldsTheImagesPixels();
};

namespace {

// Every pixel differs from its neighbours, so a part taken a row or a pixel off shows.
QImage patterned(QImage::Format format)
{
    QImage image(37, 23, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba((x * 7) & 0xff, (y * 11) & 0xff, (x * y) & 0xff, 255 - ((x + y) & 0x7f)));
    return image.convertToFormat(format);
}

bool inside(const QImage &part, const QImage &image)
{
    const uchar *begin = image.constBits();
    return part.constBits() >= begin && part.constBits() < begin + image.sizeInBytes();
}

}  // namespace

void TestImagePart::partHoldsTheImagesPixels_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QRect>("part");
    QTest::addColumn<bool>("shared");

    const QRect middle(5, 3, 17, 11);
    const QRect overEdge(30, 18, 20, 20);   // clipped to 7 x 5
    QTest::newRow("argb32 middle") << QImage::Format_ARGB32_Premultiplied << middle << true;
    QTest::newRow("argb32 over the edge") << QImage::Format_ARGB32_Premultiplied << overEdge << true;
    QTest::newRow("rgb888 middle (three bytes a pixel)") << QImage::Format_RGB888 << middle << true;
    QTest::newRow("grayscale16 middle") << QImage::Format_Grayscale16 << middle << true;
    QTest::newRow("indexed8 middle (its colours)") << QImage::Format_Indexed8 << middle << true;
    QTest::newRow("mono middle (bits a pixel: copied)") << QImage::Format_Mono << middle << false;
    QTest::newRow("whole image") << QImage::Format_ARGB32 << QRect(0, 0, 37, 23) << true;
    QTest::newRow("beyond the whole image") << QImage::Format_ARGB32 << QRect(-4, -4, 60, 60) << true;
}

void TestImagePart::partHoldsTheImagesPixels()
{
    QFETCH(QImage::Format, format);
    QFETCH(QRect, part);
    QFETCH(bool, shared);

    const QImage image = patterned(format);
    const QImage taken = imagePart(image, part);
    const QImage expected = image.copy(part & image.rect());
    QCOMPARE(taken.size(), expected.size());
    QCOMPARE(taken.format(), expected.format());
    QCOMPARE(taken.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(inside(taken, image), shared);
    // What is made from it (a scaled picture) outlives it and the image.
    QImage scaled = imagePart(image, part).scaled(taken.size() / 2 + QSize(1, 1), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(scaled, expected.scaled(taken.size() / 2 + QSize(1, 1), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QTEST_GUILESS_MAIN(TestImagePart)
#include "tst_imagepart.moc"
