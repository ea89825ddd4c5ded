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
    void anotherThreadGetsTheSame();
};

namespace {

const QString kMixed = QStringLiteral("Design inspiration 8953 Ärger ラーメン");

QFont fontOf(const QString &name)
{
    if (name == u"reading")
        return Tokens::Typography::reading.font();
    if (name == u"title")
        return Tokens::Typography::title.font();
    return Tokens::Typography::body.font();
}

QImage drawn(qreal ratio, const std::function<void(QPainter &)> &paint, Qt::LayoutDirection direction = Qt::LeftToRight)
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
    QTest::addColumn<QString>("font");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QPointF>("baseline");
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::newRow("body") << QStringLiteral("body") << 1.0 << QPointF(4, 25) << Qt::LeftToRight;
    QTest::newRow("body, off the pixel grid") << QStringLiteral("body") << 1.0 << QPointF(4.3, 25.5) << Qt::LeftToRight;
    QTest::newRow("reading, twice the pixels") << QStringLiteral("reading") << 2.0 << QPointF(4, 25) << Qt::LeftToRight;
    QTest::newRow("title, a fractional scale") << QStringLiteral("title") << 1.5 << QPointF(2.5, 30) << Qt::LeftToRight;
    // Where the painter sets text right to left, the trailing "!" goes to the left.
    QTest::newRow("body, right to left") << QStringLiteral("body") << 1.0 << QPointF(40, 25) << Qt::RightToLeft;
}

// The same pixels as drawText() at the same baseline or in the same box, drawn twice (once laid
// out, once kept).
void TestTextRuns::drawnAsDrawTextDraws()
{
    QFETCH(QString, font);
    QFETCH(qreal, ratio);
    QFETCH(QPointF, baseline);
    QFETCH(Qt::LayoutDirection, direction);
    const QFont f = fontOf(font);
    const QString text = direction == Qt::RightToLeft ? kMixed + u'!' : kMixed;
    const QImage expected = drawn(
        ratio,
        [&](QPainter &p) {
            p.setFont(f);
            p.drawText(baseline, text);
        },
        direction);
    // Centred in a box, as drawText() centres it.
    const QRectF box(baseline.x(), baseline.y() - 22, 300, 31);
    const QImage centred = drawn(
        ratio,
        [&](QPainter &p) {
            p.setFont(f);
            p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
        },
        direction);
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(drawn(ratio, [&](QPainter &p) { TextRuns::draw(p, baseline, text, f); }, direction), expected);
        if (ratio == 1)
            QCOMPARE(drawn(ratio, [&](QPainter &p) { TextRuns::drawCentred(p, box, text, f); }, direction), centred);
    }
}

void TestTextRuns::measuredAndCutAsTheMetricsAre_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("width");
    QTest::newRow("fits") << QStringLiteral("All Saves") << 300.0;
    QTest::newRow("cut") << kMixed << 90.0;
    QTest::newRow("no room") << kMixed << 0.0;
    QTest::newRow("empty") << QString() << 10.0;
}

void TestTextRuns::measuredAndCutAsTheMetricsAre()
{
    QFETCH(QString, text);
    QFETCH(double, width);
    const QFont font = fontOf(QStringLiteral("body"));
    const QFontMetricsF metrics(font);
    // Asked twice, at two widths in turn: what was kept for one width never answers another.
    for (const double w : {width, width + 40, width}) {
        QCOMPARE(TextRuns::advance(text, font), metrics.horizontalAdvance(text));
        QCOMPARE(TextRuns::elided(text, font, w), metrics.elidedText(text, Qt::ElideRight, w));
    }
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() * 2);
    QCOMPARE(TextRuns::advance(text, larger), QFontMetricsF(larger).horizontalAdvance(text));
}

void TestTextRuns::anotherThreadGetsTheSame()
{
    const QFont font = fontOf(QStringLiteral("body"));
    double advance = -1;
    QString cut;
    QImage image;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        advance = TextRuns::advance(kMixed, font);
        cut = TextRuns::elided(kMixed, font, 90);
        image = drawn(1.0, [&](QPainter &p) { TextRuns::draw(p, QPointF(4, 25), kMixed, font); });
    }));
    thread->start();
    QVERIFY(thread->wait(10000));
    QCOMPARE(advance, QFontMetricsF(font).horizontalAdvance(kMixed));
    QCOMPARE(cut, QFontMetricsF(font).elidedText(kMixed, Qt::ElideRight, 90));
    QCOMPARE(image, drawn(1.0, [&](QPainter &p) {
                 p.setFont(font);
                 p.drawText(QPointF(4, 25), kMixed);
             }));
}

QTEST_MAIN(TestTextRuns)
#include "tst_textruns.moc"
