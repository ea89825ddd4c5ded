#include "Gallery.h"
#include "StashwellUI/Design/LogoMark.h"
#include "StashwellUI/Design/XGlyph.h"
#include "StashwellUI/Design/SwatchDot.h"
#include "PaintTesting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QAccessible>
#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QTest>

using namespace sw;

namespace {

// Every opaque enough pixel of the image has the hue of `colour`.
bool drawnOnlyIn(const QImage &image, const QColor &colour)
{
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 200)
                continue;
            ++drawn;
            if (!test::sameColour(c, colour, 6))
                return false;
        }
    }
    return drawn > 0;
}

// The marks in a row, as other views place them beside text.
class MarkSheet : public QWidget {
public:
    MarkSheet()
    {
        auto *row = new QHBoxLayout(this);
        row->setContentsMargins(16, 16, 16, 16);
        row->setSpacing(12);
        row->addWidget(new LogoMark);
        row->addWidget(new LogoMark(30, false));
        row->addWidget(new LogoMark(20, false));
        row->addWidget(new LogoMark(10, false));
        row->addWidget(new XGlyph);
        row->addWidget(new XGlyph(24));
        for (Swatch swatch : {Swatch::amber, Swatch::blue, Swatch::green, Swatch::pink, Swatch::violet})
            row->addWidget(new SwatchDot(Tokens::Colors::swatch(swatch)));
        row->addStretch();
    }
};

}  // namespace

class TestMarks : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void logoBars_data();
    void logoBars();
    void sizes();
    void tiledLogoIsTheDrawing();
    void drawnLogoIsMuted();
    void xGlyphTakesTheTextColour();
    void swatchDot();
    void gallery();
};

void TestMarks::cleanup()
{
    Theme::instance().setAppearance(Appearance::light);
}

void TestMarks::logoBars_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<QRectF>("first");
    QTest::addColumn<QRectF>("second");
    // 6 and 4 wide, 1.8 thick, 2.4 apart, the pair centred then moved 0.4 left and 2 up.
    QTest::newRow("20") << 20.0 << QRectF(6.6, 5, 6, 1.8) << QRectF(7.6, 9.2, 4, 1.8);
    // 0.9 would be too thin: the bars keep 1.5.
    QTest::newRow("10 keeps the minimum thickness") << 10.0 << QRectF(3.3, 1.9, 3, 1.5) << QRectF(3.8, 4.6, 2, 1.5);
}

void TestMarks::logoBars()
{
    QFETCH(double, size);
    QFETCH(QRectF, first);
    QFETCH(QRectF, second);
    const auto bars = LogoMark::bars(size);
    const auto close = [](const QRectF &a, const QRectF &b) {
        return qAbs(a.x() - b.x()) < 1e-9 && qAbs(a.y() - b.y()) < 1e-9 && qAbs(a.width() - b.width()) < 1e-9
            && qAbs(a.height() - b.height()) < 1e-9;
    };
    QVERIFY2(close(bars[0], first), qPrintable(QStringLiteral("%1 %2 %3 %4").arg(bars[0].x()).arg(bars[0].y()).arg(bars[0].width()).arg(bars[0].height())));
    QVERIFY2(close(bars[1], second), qPrintable(QStringLiteral("%1 %2 %3 %4").arg(bars[1].x()).arg(bars[1].y()).arg(bars[1].width()).arg(bars[1].height())));
}

void TestMarks::sizes()
{
    LogoMark logo;
    QCOMPARE(logo.sizeHint(), QSize(30, 30));
    QVERIFY(logo.isTiled());
    QCOMPARE(logo.accessibleName(), QStringLiteral("Stashwell"));
    LogoMark drawn(20, false);
    QCOMPARE(drawn.sizeHint(), QSize(20, 20));
    QCOMPARE(drawn.accessibleName(), QStringLiteral("Stashwell"));

    XGlyph x;
    QCOMPARE(x.sizeHint(), QSize(12, 12));
    QCOMPARE(x.accessibleName(), QStringLiteral("X"));

    SwatchDot dot(Qt::red);
    QCOMPARE(dot.sizeHint(), QSize(16, 10));

    // The logo and the X are read as pictures by their names; the swatch is left out.
    for (QWidget *mark : {static_cast<QWidget *>(&logo), static_cast<QWidget *>(&drawn), static_cast<QWidget *>(&x)}) {
        QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(mark);
        QVERIFY(readable);
        QCOMPARE(readable->role(), QAccessible::Graphic);
        QCOMPARE(readable->text(QAccessible::Name), mark->accessibleName());
    }
    QVERIFY(QAccessible::queryAccessibleInterface(&dot)->state().invisible);
    QCOMPARE(SwatchDot::square(QRectF(0, 0, 16, 30)), QRectF(3, 10, 10, 10));
}

void TestMarks::tiledLogoIsTheDrawing()
{
    LogoMark logo;
    const QImage image = test::renderAtSizeHint(logo, QWidget::DrawChildren);
    QVERIFY(!gallery::isBlank(image));
    // The drawing keeps its own colours in either appearance.
    Theme::instance().setAppearance(Appearance::dark);
    QCOMPARE(test::renderAtSizeHint(logo, QWidget::DrawChildren), image);
}

void TestMarks::drawnLogoIsMuted()
{
    for (Appearance appearance : {Appearance::light, Appearance::dark}) {
        Theme::instance().setAppearance(appearance);
        LogoMark logo(30, false);
        const QImage image = test::renderAtSizeHint(logo, QWidget::DrawChildren);
        QVERIFY(!gallery::isBlank(image));
        QVERIFY(drawnOnlyIn(image, Tokens::Colors::muted()));
        // No tile behind it: the corners stay clear.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    }
}

void TestMarks::xGlyphTakesTheTextColour()
{
    for (Appearance appearance : {Appearance::light, Appearance::dark}) {
        Theme::instance().setAppearance(appearance);
        XGlyph glyph(24);
        QVERIFY(drawnOnlyIn(test::renderAtSizeHint(glyph, QWidget::DrawChildren), Tokens::Colors::text()));
        glyph.setColor(Qt::red);
        QVERIFY(drawnOnlyIn(test::renderAtSizeHint(glyph, QWidget::DrawChildren), Qt::red));
    }
}

void TestMarks::swatchDot()
{
    SwatchDot dot(Tokens::Colors::swatch(Swatch::blue));
    const QImage image = test::renderAtSizeHint(dot, QWidget::DrawChildren);
    QCOMPARE(image.size(), QSize(16, 10));
    QCOMPARE(image.pixelColor(8, 5), Tokens::Colors::swatch(Swatch::blue));
    QCOMPARE(image.pixelColor(1, 5).alpha(), 0);    // the margin left and right of the square
    QCOMPARE(image.pixelColor(14, 5).alpha(), 0);
    QCOMPARE(image.pixelColor(3, 0).alpha() < 128, true);   // a rounded corner
    dot.setColor(Qt::green);
    QCOMPARE(test::renderAtSizeHint(dot, QWidget::DrawChildren).pixelColor(8, 5), QColor(Qt::green));
}

void TestMarks::gallery()
{
    MarkSheet sheet;
    QString why;
    QVERIFY2(gallery::captureAndCheck(sheet, QStringLiteral("marks"), &why), qPrintable(why));
}

QTEST_MAIN(TestMarks)
#include "tst_marks.moc"
