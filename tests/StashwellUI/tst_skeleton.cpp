#include "Gallery.h"
#include "PaintTesting.h"
#include "StashwellUI/Design/Skeleton.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

#include <optional>

using namespace sw;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {

// Placeholder lines the way the Save Link sheet shows them while it looks a link up.
class SkeletonSheet : public QWidget {
public:
    SkeletonSheet()
    {
        auto *column = new QVBoxLayout(this);
        column->setContentsMargins(16, 16, 16, 16);
        column->setSpacing(10);
        column->addWidget(new Skeleton(120, 40));
        column->addWidget(new Skeleton(std::nullopt, 14));
        column->addWidget(new Skeleton(std::nullopt, 14));
        column->addWidget(new Skeleton(180, 14));
        resize(320, 150);
    }
};

}  // namespace

class TestSkeleton : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void geometry_data();
    void geometry();
    void zeroHeightDrawsNothing();
    void pulses();
    void restsDimmedWithoutMotion();
    void gallery();
};

void TestSkeleton::cleanup()
{
    Tokens::Motion::setEnabled(true);
}

void TestSkeleton::geometry_data()
{
    QTest::addColumn<std::optional<double>>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<QSize>("offered");
    QTest::addColumn<QRectF>("bar");
    QTest::addColumn<double>("radius");
    QTest::newRow("stretches to the offered width") << std::optional<double>() << 14.0 << QSize(300, 14)
                                                    << QRectF(0, 0, 300, 14) << 7.0;
    QTest::newRow("fixed width, radius capped at 12") << std::optional<double>(120) << 40.0 << QSize(120, 40)
                                                      << QRectF(0, 0, 120, 40) << 12.0;
    QTest::newRow("fixed width sits at the leading edge") << std::optional<double>(80) << 10.0 << QSize(200, 10)
                                                          << QRectF(0, 0, 80, 10) << 5.0;
    QTest::newRow("24 tall still fully round") << std::optional<double>() << 24.0 << QSize(50, 24)
                                               << QRectF(0, 0, 50, 24) << 12.0;
}

void TestSkeleton::geometry()
{
    QFETCH(std::optional<double>, width);
    QFETCH(double, height);
    QFETCH(QSize, offered);
    QFETCH(QRectF, bar);
    QFETCH(double, radius);
    Skeleton skeleton(width, height);
    QCOMPARE(skeleton.bar(QSizeF(offered)), bar);
    QCOMPARE(Skeleton::cornerRadius(height), radius);
    QCOMPARE(skeleton.sizeHint().height(), int(height));
    QCOMPARE(skeleton.sizePolicy().horizontalPolicy(), width ? QSizePolicy::Fixed : QSizePolicy::Expanding);
    if (width)
        QCOMPARE(skeleton.sizeHint().width(), int(*width));

    // Drawn where the bar is and nowhere else.
    skeleton.resize(offered);
    const QImage image = test::render(skeleton);
    const QPoint inside = bar.center().toPoint();
    QVERIFY(image.pixelColor(inside).alpha() > 0);
    if (bar.right() + 2 < offered.width())
        QCOMPARE(image.pixelColor(int(bar.right()) + 2, inside.y()).alpha(), 0);
}

void TestSkeleton::zeroHeightDrawsNothing()
{
    Skeleton skeleton(90, 0);
    QCOMPARE(skeleton.sizeHint(), QSize(90, 0));
    QVERIFY(QAccessible::queryAccessibleInterface(&skeleton)->state().invisible);
    skeleton.resize(90, 10);
    QVERIFY(gallery::isBlank(test::render(skeleton)));
}

void TestSkeleton::pulses()
{
    Tokens::Motion::setEnabled(true);
    Skeleton skeleton(std::nullopt, 14);
    skeleton.resize(100, 14);
    QVERIFY(!skeleton.isDim());
    QCOMPARE(skeleton.opacity(), 1.0);
    skeleton.show();
    QVERIFY(skeleton.isDim());
    // It fades toward half and comes back, never beyond either end.
    double lowest = 1;
    QTRY_VERIFY_WITH_TIMEOUT((lowest = std::min(lowest, skeleton.opacity())) < 0.6, 5000);
    QVERIFY(skeleton.opacity() >= Skeleton::kDimOpacity - 1e-9);
    QTRY_VERIFY_WITH_TIMEOUT(skeleton.opacity() > 0.95, 5000);
    // Hidden, it stops; shown again, it goes on and stays dim-flagged.
    skeleton.hide();
    skeleton.show();
    QVERIFY(skeleton.isDim());
    QTRY_VERIFY_WITH_TIMEOUT(skeleton.opacity() < 0.6, 5000);
}

void TestSkeleton::restsDimmedWithoutMotion()
{
    Tokens::Motion::setEnabled(false);
    Skeleton skeleton(100, 14);
    skeleton.show();
    QVERIFY(skeleton.isDim());
    QCOMPARE(skeleton.opacity(), Skeleton::kDimOpacity);
    QTest::qWait(50);
    QCOMPARE(skeleton.opacity(), Skeleton::kDimOpacity);
}

void TestSkeleton::gallery()
{
    Tokens::Motion::setEnabled(false);
    SkeletonSheet sheet;
    sheet.show();
    QString why;
    QVERIFY2(gallery::captureAndCheck(sheet, QStringLiteral("skeleton"), &why), qPrintable(why));
}

QTEST_MAIN(TestSkeleton)
#include "tst_skeleton.moc"
