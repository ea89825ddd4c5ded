#include "StashwellUI/Design/Symbols.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace sw;

namespace {

// Every symbol the views of the save presentation, the library window, the quick-save popover,
// the Save Link sheet and the settings ask for.
const QStringList kViewSymbols{
    QStringLiteral("arrow.clockwise"), QStringLiteral("arrow.down"), QStringLiteral("arrow.up.right"),
    QStringLiteral("arrow.uturn.backward"), QStringLiteral("bookmark"), QStringLiteral("checkmark"),
    QStringLiteral("checkmark.circle.fill"), QStringLiteral("chevron.down"), QStringLiteral("chevron.left"),
    QStringLiteral("chevron.right"), QStringLiteral("chevron.up.chevron.down"), QStringLiteral("circle.dashed"),
    QStringLiteral("clock"), QStringLiteral("doc.on.clipboard"), QStringLiteral("exclamationmark.triangle"),
    QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("folder"), QStringLiteral("folder.badge.plus"),
    QStringLiteral("gearshape"), QStringLiteral("globe"), QStringLiteral("icloud"), QStringLiteral("internaldrive"),
    QStringLiteral("link"), QStringLiteral("list.bullet"), QStringLiteral("magnifyingglass"),
    QStringLiteral("network"), QStringLiteral("photo"), QStringLiteral("play.fill"), QStringLiteral("play.rectangle"),
    QStringLiteral("plus"), QStringLiteral("safari"), QStringLiteral("square.grid.2x2"),
    QStringLiteral("square.on.square"), QStringLiteral("star"), QStringLiteral("star.fill"),
    QStringLiteral("star.slash"), QStringLiteral("text.alignleft"), QStringLiteral("trash"), QStringLiteral("xmark"),
    QStringLiteral("xmark.circle.fill"), Symbols::xGlyph, Symbols::logo,
};

// Symbol names written in the interface's sources: literal arguments of calls on Symbols
// (Symbols::pixmap("x", ...), Symbols::paint(p, r, "x", ...)), and lower-case dotted literals
// ("play.fill") on a line within a few lines of the word "symbol" or "glyph", which is how views
// hand names to the buttons and rows that draw them.
QSet<QString> namesUsedInSources()
{
    QSet<QString> names;
    static const char callPattern[] =
        R"re(Symbols::\w+\(\s*(?:(?:[^,()";]|\([^()]*\))*,\s*){0,3}(?:u|QStringLiteral\(\s*)?"([^"]+)")re";
    const QRegularExpression call(QString::fromLatin1(callPattern));
    const QRegularExpression literal(QStringLiteral(R"re((?:QStringLiteral\(\s*|u)?"([a-z][a-z0-9]*(?:\.[a-z0-9]+)*)")re"));
    const QRegularExpression context(QStringLiteral("symbol|glyph"), QRegularExpression::CaseInsensitiveOption);
    for (const QString &folder : {QStringLiteral("src/StashwellUI"), QStringLiteral("src/Stashwell")}) {
        QDirIterator it(QStringLiteral(STASHWELL_SOURCE_DIR "/") + folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            for (const auto &match : call.globalMatch(text))
                names.insert(match.captured(1));
            const QStringList lines = text.split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                bool nearSymbol = false;
                for (qsizetype j = std::max<qsizetype>(0, i - 8); j <= i && !nearSymbol; ++j)
                    nearSymbol = lines[j].contains(context);
                if (!nearSymbol)
                    continue;
                for (const auto &match : literal.globalMatch(lines[i]))
                    names.insert(match.captured(1));
            }
        }
    }
    return names;
}

// Colours of the pixels that are not fully transparent.
QSet<QRgb> opaqueColours(const QImage &image)
{
    QSet<QRgb> colours;
    const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (qAlpha(plain.pixel(x, y)) == 255)
                colours.insert(plain.pixel(x, y));
    return colours;
}

}  // namespace

class TestSymbols : public QObject {
    Q_OBJECT
private slots:
    void viewSymbolsDraw_data();
    void viewSymbolsDraw();
    void namesUsedInCodeResolve();
    void everyDrawingIsAccountedForInTheNotice();
    void unknownNameGivesNothing();
    void sizeFollowsThePixelRatio();
    void logoKeepsItsColours();
    void cacheReusesDrawnPixmaps();
    void paintFitsTheRectangle();
};

void TestSymbols::viewSymbolsDraw_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : kViewSymbols)
        QTest::newRow(qPrintable(name)) << name;
}

// Each symbol exists and draws a visible shape in exactly the tint it is given.
void TestSymbols::viewSymbolsDraw()
{
    QFETCH(QString, name);
    QVERIFY(Symbols::exists(name));
    QVERIFY(Symbols::names().contains(name));
    const QColor tint(200, 40, 90);
    const QPixmap pixmap = Symbols::pixmap(name, 24, tint);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), QSize(24, 24));
    const QImage image = pixmap.toImage();
    int covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            covered += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    QVERIFY2(covered > 20, qPrintable(QStringLiteral("only %1 pixels drawn").arg(covered)));
    QVERIFY2(covered < 24 * 24, "the drawing fills its whole square");
    if (!Symbols::fullColourNames().contains(name))
        QCOMPARE(opaqueColours(image), QSet<QRgb>{tint.rgba()});
}

void TestSymbols::namesUsedInCodeResolve()
{
    const QSet<QString> used = namesUsedInSources();
    QVERIFY(used.contains(QStringLiteral("x.glyph")));   // the scan reads this module's own sources
    for (const QString &name : used)
        QVERIFY2(Symbols::exists(name), qPrintable(QStringLiteral("no drawing for \"%1\"").arg(name)));
}

void TestSymbols::everyDrawingIsAccountedForInTheNotice()
{
    QFile notice(QStringLiteral(STASHWELL_SOURCE_DIR "/src/StashwellUI/resources/symbols/NOTICE"));
    QVERIFY(notice.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(notice.readAll());
    const QStringList names = Symbols::names();
    QVERIFY(names.size() >= kViewSymbols.size());
    for (const QString &name : names) {
        const QRegularExpression listed(QStringLiteral("(^|\\s)") + QRegularExpression::escape(name + ".svg") +
                                        QStringLiteral("(\\s|$)"));
        QVERIFY2(text.contains(listed), qPrintable(name + QStringLiteral(".svg is not in NOTICE")));
    }
}

void TestSymbols::unknownNameGivesNothing()
{
    QTest::ignoreMessage(QtWarningMsg, "Symbols: no drawing named \"no.such.symbol\"");
    QVERIFY(!Symbols::exists(QStringLiteral("no.such.symbol")));
    QVERIFY(!Symbols::exists(QString()));
    QVERIFY(Symbols::pixmap(QStringLiteral("no.such.symbol"), 16, Qt::black).isNull());
    // Warned once only.
    QVERIFY(Symbols::pixmap(QStringLiteral("no.such.symbol"), 20, Qt::black).isNull());
    QVERIFY(Symbols::pixmap(QStringLiteral("trash"), 0, Qt::black).isNull());
    QVERIFY(Symbols::pixmap(QStringLiteral("trash"), -3, Qt::black).isNull());
    QVERIFY(Symbols::pixmap(QStringLiteral("trash"), std::nan(""), Qt::black).isNull());
}

void TestSymbols::sizeFollowsThePixelRatio()
{
    const QPixmap sharp = Symbols::pixmap(QStringLiteral("gearshape"), 13.44, Qt::black, 2);
    QCOMPARE(sharp.size(), QSize(27, 27));
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
    QCOMPARE(sharp.deviceIndependentSize(), QSizeF(13.5, 13.5));
}

void TestSymbols::logoKeepsItsColours()
{
    const QImage logo = Symbols::pixmap(Symbols::logo, 64, Qt::black).toImage();
    QVERIFY(opaqueColours(logo).size() >= 2);
    // The same drawing whatever the tint.
    QCOMPARE(Symbols::pixmap(Symbols::logo, 64, Qt::red).toImage(), logo);
}

void TestSymbols::cacheReusesDrawnPixmaps()
{
    Symbols::clearCache();
    QCOMPARE(Symbols::cachedCount(), 0);
    const QPixmap first = Symbols::pixmap(QStringLiteral("star"), 16, Qt::blue);
    QCOMPARE(Symbols::cachedCount(), 1);
    const QPixmap again = Symbols::pixmap(QStringLiteral("star"), 16, Qt::blue);
    QCOMPARE(Symbols::cachedCount(), 1);
    QCOMPARE(again.cacheKey(), first.cacheKey());
    // Another tint, size or ratio is another pixmap.
    const QPixmap red = Symbols::pixmap(QStringLiteral("star"), 16, Qt::red);
    Symbols::pixmap(QStringLiteral("star"), 17, Qt::blue);
    Symbols::pixmap(QStringLiteral("star"), 16, Qt::blue, 2);
    QCOMPARE(Symbols::cachedCount(), 4);
    QVERIFY(red.toImage() != first.toImage());
    // A translucent tint differs from the opaque one.
    Symbols::pixmap(QStringLiteral("star"), 16, QColor(0, 0, 255, 100));
    QCOMPARE(Symbols::cachedCount(), 5);
}

void TestSymbols::paintFitsTheRectangle()
{
    QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        Symbols::paint(painter, QRectF(0, 0, 40, 20), QStringLiteral("square.grid.2x2"), Qt::black);
    }
    // Centred in a 20 x 20 square: nothing left of x 10 or right of x 30.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (x < 10 || x >= 30)
                QCOMPARE(qAlpha(image.pixel(x, y)), 0);
        }
    }
    QVERIFY(qAlpha(image.pixel(13, 4)) > 0);
}

QTEST_MAIN(TestSymbols)
#include "tst_symbols.moc"
