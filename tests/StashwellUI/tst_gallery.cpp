#include "StashwellUI/Design/ContinuousShape.h"
#include "Gallery.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QTest>
#include <QWidget>

using namespace sw;

namespace {

// The design tokens on one sheet: every colour, every type style and every symbol, drawn in the
// current look. It is also the gallery's picture of the tokens for people to review.
class TokenSheet : public QWidget {
public:
    QSize sizeHint() const override { return QSize(760, 560); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool glass = Theme::isGlass();
        QColor ground = Tokens::Colors::window();
        if (glass)
            ground.setAlphaF(ground.alphaF() * 0.4f);
        painter.fillRect(rect(), ground);

        const QRectF pane = QRectF(rect()).adjusted(12, 12, -12, -12);
        QColor card = Tokens::Colors::panel();
        if (glass)
            card.setAlphaF(card.alphaF() * 0.55f);
        ContinuousShape::fill(painter, pane, Tokens::Radius::card, card);
        ContinuousShape::strokeInside(painter, pane, Tokens::Radius::card, Tokens::Colors::line());

        double x = pane.left() + Tokens::Spacing::lg;
        double y = pane.top() + Tokens::Spacing::lg;
        for (const QString &name : Tokens::Colors::tokenNames()) {
            const QRectF chip(x, y, 30, 30);
            ContinuousShape::fill(painter, chip, Tokens::Radius::sm, *Tokens::Colors::token(name, Theme::currentAppearance()));
            ContinuousShape::strokeInside(painter, chip, Tokens::Radius::sm, Tokens::Colors::lineStrong());
            x += 34;
        }
        x = pane.left() + Tokens::Spacing::lg;
        y += 44;
        for (const QString &name : Tokens::Typography::names()) {
            const Tokens::TypeStyle style = *Tokens::Typography::named(name);
            painter.setFont(style.font());
            painter.setPen(Tokens::Colors::text());
            const QFontMetricsF metrics(painter.font());
            painter.drawText(QPointF(x, y + metrics.ascent()), name + QStringLiteral("  Stashwell 保存 저장 1.5 MB"));
            y += metrics.height() + 4;
        }
        y += 8;
        for (const QString &name : Symbols::names()) {
            Symbols::paint(painter, QRectF(x, y, 20, 20), name, Tokens::Colors::textSecondary());
            x += 28;
            if (x > pane.right() - 40) {
                x = pane.left() + Tokens::Spacing::lg;
                y += 28;
            }
        }
    }
};

class Empty : public QWidget {
public:
    QSize sizeHint() const override { return QSize(50, 30); }
};

}  // namespace

class TestGallery : public QObject {
    Q_OBJECT
private slots:
    void tokenSheetInEveryLook();
    void blankViewsAreCaught();
    void themeIsPutBack();
};

void TestGallery::tokenSheetInEveryLook()
{
    TokenSheet sheet;
    const QList<gallery::Shot> shots = gallery::capture(sheet, QStringLiteral("tokens"));
    QCOMPARE(shots.size(), 4);
    QCOMPARE(sheet.size(), sheet.sizeHint());
    for (const gallery::Shot &shot : shots) {
        QVERIFY(!shot.blank);
        QCOMPARE(shot.picture.deviceIndependentSize(), QSizeF(sheet.size()));
        if (!qEnvironmentVariableIsEmpty("STASHWELL_GALLERY_DIR")) {
            QVERIFY(!shot.path.isEmpty());
            QVERIFY(QFileInfo(shot.path).size() > 0);
            QVERIFY(shot.path.endsWith(QStringLiteral("tokens-") + gallery::lookName(shot.appearance, shot.surface) +
                                       QStringLiteral(".png")));
        }
    }
    // Each look is its own picture.
    for (int i = 0; i < shots.size(); ++i)
        for (int j = i + 1; j < shots.size(); ++j)
            QVERIFY(shots[i].picture != shots[j].picture);
    QString why;
    QVERIFY2(gallery::captureAndCheck(sheet, QStringLiteral("tokens"), &why), qPrintable(why));
}

void TestGallery::blankViewsAreCaught()
{
    Empty empty;
    QString why;
    QVERIFY(!gallery::captureAndCheck(empty, QStringLiteral("empty"), &why));
    QVERIFY(why.contains(QStringLiteral("light-solid")));
    QVERIFY(why.contains(QStringLiteral("dark-glass")));

    QImage flat(8, 8, QImage::Format_ARGB32);
    flat.fill(Qt::red);
    QVERIFY(gallery::isBlank(flat));
    flat.setPixel(7, 7, qRgb(254, 0, 0));
    QVERIFY(!gallery::isBlank(flat));
    QVERIFY(gallery::isBlank(QImage()));
}

void TestGallery::themeIsPutBack()
{
    Theme::instance().setAppearance(Appearance::dark);
    Theme::instance().setSurface(Surface::glass);
    TokenSheet sheet;
    gallery::capture(sheet, QStringLiteral("tokens-restore"));
    QCOMPARE(Theme::currentAppearance(), Appearance::dark);
    QCOMPARE(Theme::currentSurface(), Surface::glass);
    Theme::instance().setAppearance(Appearance::light);
    Theme::instance().setSurface(Surface::solid);
}

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
