#include "ControlTesting.h"
#include "StashwellUI/Design/TextRuns.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QThread>

using namespace sw;

class TestTextRuns : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void drawnAsDrawTextDraws_data();
    void drawnAsDrawTextDraws();
    void measuredAndCutAsTheMetricsAre_data();
    void measuredAndCutAsTheMetricsAre();
};

namespace {

// Latin, accented and CJK: the fallback font of the last word stands taller than the font's ascent.
const QString kMixed = QStringLiteral("Design inspiration 8953 Ärger ラーメン");

QImage drawn(qreal ratio, Qt::LayoutDirection direction, const std::function<void(QPainter &)> &paint)
{
    QImage image(QSize(320, 44) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    painter.setLayoutDirection(direction);
    paint(painter);
    return image;
}

}  // namespace

void TestTextRuns::drawnAsDrawTextDraws_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QPointF>("baseline");
    QTest::addColumn<Qt::LayoutDirection>("direction");
    const QFont body = Tokens::Typography::body.font();
    QTest::newRow("body") << body << 1.0 << QPointF(4, 25) << Qt::LeftToRight;
    QTest::newRow("off the pixel grid") << body << 1.0 << QPointF(4.3, 25.5) << Qt::LeftToRight;
    QTest::newRow("twice the pixels") << Tokens::Typography::reading.font() << 2.0 << QPointF(4, 25) << Qt::LeftToRight;
    QTest::newRow("a fractional scale") << Tokens::Typography::title.font() << 1.5 << QPointF(2.5, 30) << Qt::LeftToRight;
    // Set right to left, the trailing "!" goes to the left.
    QTest::newRow("right to left") << body << 1.0 << QPointF(40, 25) << Qt::RightToLeft;
}

// The same pixels as drawText() at the same baseline or in the same box, drawn twice (once laid
// out, once kept); the centring in a box only at a scale of one.
void TestTextRuns::drawnAsDrawTextDraws()
{
    QFETCH(QFont, font);
    QFETCH(qreal, ratio);
    QFETCH(QPointF, baseline);
    QFETCH(Qt::LayoutDirection, direction);
    const QString text = direction == Qt::RightToLeft ? kMixed + u'!' : kMixed;
    const QRectF box(baseline.x(), baseline.y() - 22, 300, 31);
    const auto byQt = [&](QPainter &p) {
        p.setFont(font);
        p.drawText(baseline, text);
    };
    const auto centredByQt = [&](QPainter &p) {
        p.setFont(font);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(drawn(ratio, direction, [&](QPainter &p) { TextRuns::draw(p, baseline, text, font); }),
                 drawn(ratio, direction, byQt));
        if (ratio == 1)
            QCOMPARE(drawn(ratio, direction, [&](QPainter &p) { TextRuns::drawCentred(p, box, text, font); }),
                     drawn(ratio, direction, centredByQt));
    }
}

void TestTextRuns::measuredAndCutAsTheMetricsAre_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("elsewhere");   // asked on another thread, which keeps nothing
    QTest::newRow("fits") << QStringLiteral("All Saves") << 300.0 << false;
    QTest::newRow("cut") << kMixed << 90.0 << false;
    QTest::newRow("no room") << kMixed << 0.0 << false;
    QTest::newRow("empty") << QString() << 10.0 << false;
    QTest::newRow("cut, on another thread") << kMixed << 90.0 << true;
}

// Asked at two widths in turn and in two sizes: what was kept for one never answers another.
void TestTextRuns::measuredAndCutAsTheMetricsAre()
{
    QFETCH(QString, text);
    QFETCH(double, width);
    QFETCH(bool, elsewhere);
    QFont larger = Tokens::Typography::body.font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    // What was given and what the metrics give, asked on the same thread.
    QList<std::pair<double, double>> advances;
    QList<std::pair<QString, QString>> cuts;
    QImage image;
    const auto ask = [&] {
        for (const QFont &font : {Tokens::Typography::body.font(), larger}) {
            for (const double w : {width, width + 40, width}) {
                advances.append({TextRuns::advance(text, font), QFontMetricsF(font).horizontalAdvance(text)});
                cuts.append({TextRuns::elided(text, font, w), QFontMetricsF(font).elidedText(text, Qt::ElideRight, w)});
            }
        }
        image = drawn(1, Qt::LeftToRight, [&](QPainter &p) { TextRuns::draw(p, QPointF(4, 25), text, larger); });
    };
    if (elsewhere) {
        std::unique_ptr<QThread> thread(QThread::create(ask));
        thread->start();
        QVERIFY(thread->wait(10000));
    } else {
        ask();
    }
    for (const auto &[given, measured] : advances)
        QCOMPARE(given, measured);
    for (const auto &[given, cut] : cuts)
        QCOMPARE(given, cut);
    QCOMPARE(image, drawn(1, Qt::LeftToRight, [&](QPainter &p) {
                 p.setFont(larger);
                 p.drawText(QPointF(4, 25), text);
             }));
}

QTEST_MAIN(TestTextRuns)
#include "tst_textruns.moc"
