#include "StashwellUI/Pictures/DrawList.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTest>

using namespace sw;

namespace {

// A picture with clear corners and a soft edge, so that a copy off by a pixel or blended wrongly
// shows.
QImage picture(QSize size, qreal ratio, QColor colour)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(QPointF(), QSizeF(size)).adjusted(1, 1, -1, -1), 9, 9);
    return image;
}

QImage device(qreal ratio)
{
    QImage image(QSize(420, 360) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(qRgb(240, 240, 236));
    return image;
}

// The same calls on a painter or a list: a canvas part, pictures whole and in pieces, a fill, a
// second area clipped apart, under a world transform as a scrolled shelf has.
template <typename Target>
void draw(Target &target, const QImage &canvas, const QImage &card, const QPixmap &border)
{
    target.setWorldTransform(QTransform());
    target.drawImage(QRectF(0, 0, 420, 200), canvas, QRectF(QPointF(10, 20) * canvas.devicePixelRatio(),
                                                            QSizeF(420, 200) * canvas.devicePixelRatio()));
    target.setWorldTransform(QTransform::fromTranslate(0, -37));
    for (int i = 0; i < 6; ++i) {
        const QPointF at(12 + (i % 3) * 135, 45 + (i / 3) * 150);
        target.drawImage(at, card);
        const qreal r = border.devicePixelRatio();
        target.drawPixmap(at, border, QRectF(0, 0, 40 * r, 40 * r));
        target.drawPixmap(at + QPointF(40, 0), border, QRectF(40 * r, 0, 20 * r, 3 * r));
    }
    target.fillRect(QRectF(30, 180, 300, 25), QColor(10, 120, 90));
}

}  // namespace

class TestDrawList : public QObject {
    Q_OBJECT

private slots:
    void aListCarriedOutInBandsIsWhatAPainterDraws_data();
    void aListCarriedOutInBandsIsWhatAPainterDraws();
    void aCrewLetGoLeavesNoThreadUp_data();
    void aCrewLetGoLeavesNoThreadUp();
};

void TestDrawList::aListCarriedOutInBandsIsWhatAPainterDraws_data()
{
    QTest::addColumn<int>("bands");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("one thread") << 1 << 1.0;
    QTest::newRow("two bands") << 2 << 1.0;
    QTest::newRow("four bands") << 4 << 1.0;
    QTest::newRow("four bands, twice the pixels") << 4 << 2.0;
}

// Listed and carried out in bands, on several threads, the calls leave the same pixels as a
// painter drawing them, within the same two areas.
void TestDrawList::aListCarriedOutInBandsIsWhatAPainterDraws()
{
    QFETCH(int, bands);
    QFETCH(qreal, ratio);
    QImage canvas = picture(QSize(460, 260), ratio, QColor(120, 160, 200));
    const QImage card = picture(QSize(120, 140), ratio, QColor(255, 250, 245, 230));
    const QPixmap border = QPixmap::fromImage(picture(QSize(60, 60), ratio, QColor(200, 40, 40, 160)));
    const QRect top(0, 0, 420, 170);
    const QRect bottom(0, 230, 420, 130);

    QImage painted = device(ratio);
    {
        QPainter painter(&painted);
        for (const QRect &area : {top, bottom}) {
            painter.resetTransform();
            painter.setClipRect(area);
            draw(painter, canvas, card, border);
        }
    }

    QImage replayed = device(ratio);
    QPainter owner(&replayed);   // the device has its painter, as a window's buffer has
    const QTransform toDevice = owner.deviceTransform();
    DrawList list;
    for (const QRect &area : {top, bottom}) {
        list.clipTo(toDevice.mapRect(area));
        draw(list, canvas, card, border);
    }
    DrawList::Crew crew(bands);
    list.replay(replayed, toDevice, toDevice.mapRect(replayed.rect()), crew);
    owner.end();
    QCOMPARE(replayed, painted);
}

void TestDrawList::aCrewLetGoLeavesNoThreadUp_data()
{
    QTest::addColumn<bool>("replayed");
    QTest::newRow("after its replay") << true;
    QTest::newRow("without one") << false;
}

// A crew's threads wait for its list only while it lives: let go, with the list carried out or
// not (the frame painted otherwise), none stays up waiting.
void TestDrawList::aCrewLetGoLeavesNoThreadUp()
{
    QFETCH(bool, replayed);
    QImage target = device(1.0);
    DrawList list;
    list.fillRect(QRectF(0, 0, 420, 360), Qt::black);
    for (int round = 0; round < 5; ++round) {
        {
            DrawList::Crew crew(4);
            QTRY_COMPARE(DrawList::Crew::serving(), 3);
            if (replayed)
                list.replay(target, QTransform(), target.rect(), crew);
        }
        QTRY_COMPARE(DrawList::Crew::serving(), 0);
    }
    if (replayed)
        QCOMPARE(target.pixel(200, 300), qRgb(0, 0, 0));
}

QTEST_MAIN(TestDrawList)
#include "tst_drawlist.moc"
