#include "StashwellUI/Design/CardShadow.h"
#include "StashwellUI/Design/ContinuousShape.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>

using namespace sw;

namespace {

// The blur worked out the plain way: every pixel the mean of its window, read from the image as
// it was before the pass, pixels past the edge counting as clear.
void slowPass(QImage &image, int radius, bool horizontal)
{
    const QImage before = image.copy();
    const int length = horizontal ? image.width() : image.height();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int at = horizontal ? x : y;
            int sum = 0;
            for (int i = at - radius; i <= at + radius; ++i)
                if (i >= 0 && i < length)
                    sum += horizontal ? before.constScanLine(y)[i] : before.constScanLine(i)[x];
            image.scanLine(y)[x] = uchar(sum / (2 * radius + 1));
        }
    }
}

}  // namespace

class TestCardShadow : public QObject {
    Q_OBJECT
private slots:
    void blurIsTheMeanOfEachWindow_data()
    {
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<double>("blur");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("a card") << QSizeF(120, 48) << 18.0 << qreal(1);
        QTest::newRow("odd sizes, scale 1.5") << QSizeF(37.5, 21) << 10.0 << qreal(1.5);
        QTest::newRow("smaller than its blur, scale 2") << QSizeF(3, 5) << 12.0 << qreal(2);
    }
    void blurIsTheMeanOfEachWindow()
    {
        QFETCH(QSizeF, size);
        QFETCH(double, blur);
        QFETCH(qreal, ratio);
        const double radius = 8;
        const double margin = CardShadow::reach(blur);
        QImage expected(int(std::ceil((size.width() + 2 * margin) * ratio)), int(std::ceil((size.height() + 2 * margin) * ratio)),
                        QImage::Format_Alpha8);
        expected.fill(0);
        {
            QPainter painter(&expected);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(ratio, ratio);
            ContinuousShape::fill(painter, QRectF(QPointF(margin, margin), size), radius, Qt::black);
        }
        const int box = std::max(1, int(std::lround(blur * ratio / 3)));
        for (int pass = 0; pass < 3; ++pass) {
            slowPass(expected, box, true);
            slowPass(expected, box, false);
        }
        const QImage shadow = CardShadow::image(size, radius, blur, ratio);
        QCOMPARE(shadow.devicePixelRatio(), ratio);
        QCOMPARE(shadow.size(), expected.size());
        for (int y = 0; y < expected.height(); ++y)
            QVERIFY2(std::equal(expected.constScanLine(y), expected.constScanLine(y) + expected.width(), shadow.constScanLine(y)),
                     qPrintable(QStringLiteral("row %1").arg(y)));
    }
};

QTEST_MAIN(TestCardShadow)
#include "tst_cardshadow.moc"
