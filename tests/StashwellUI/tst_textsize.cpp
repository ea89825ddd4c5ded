// A label's measured size, kept once measured: what comes back for a font and a text is what
// measuring them afresh gives, whatever was measured before (another size, weight or text that
// shares a prefix, the same text in another font) and after many others pushed it out.

#include "StashwellUI/Controls/ControlPainting.h"

#include <QFontMetricsF>
#include <QTest>

#include <cmath>

using namespace sw;

namespace {

QSizeF measured(const QFont &font, const QString &text)
{
    const QFontMetricsF metrics(font);
    return QSizeF(text.isEmpty() ? 0 : std::ceil(metrics.horizontalAdvance(text)), std::ceil(metrics.height()));
}

QFont font(double points, QFont::Weight weight = QFont::Normal)
{
    QFont f;
    f.setPointSizeF(points);
    f.setWeight(weight);
    return f;
}

}  // namespace

class TestTextSize : public QObject {
    Q_OBJECT
private slots:
    void keptSizesAreMeasuredSizes_data()
    {
        QTest::addColumn<QFont>("before");
        QTest::addColumn<QString>("beforeText");
        QTest::addColumn<QFont>("font");
        QTest::addColumn<QString>("text");
        QTest::newRow("the same text, larger") << font(10) << "Download" << font(20) << "Download";
        QTest::newRow("the same text, bolder") << font(12) << "Download" << font(12, QFont::Bold) << "Download";
        QTest::newRow("a longer text") << font(12) << "Down" << font(12) << "Download";
        QTest::newRow("empty") << font(12) << "x" << font(12) << "";
        QTest::newRow("wide characters") << font(12) << "abc" << font(12) << QStringLiteral("写真を保存");
    }

    void keptSizesAreMeasuredSizes()
    {
        QFETCH(QFont, before);
        QFETCH(QString, beforeText);
        QFETCH(QFont, font);
        QFETCH(QString, text);
        QCOMPARE(ControlPainting::textSize(before, beforeText), measured(before, beforeText));
        QCOMPARE(ControlPainting::textSize(font, text), measured(font, text));
        // Asked again, from what was kept.
        QCOMPARE(ControlPainting::textSize(font, text), measured(font, text));
    }

    void manyTextsPushNoneOutWrong()
    {
        const QFont f = font(11);
        for (int i = 0; i < 2000; ++i) {
            const QString text = QString(i % 40 + 1, QChar(u'a' + i % 26));
            QCOMPARE(ControlPainting::textSize(f, text), measured(f, text));
        }
    }
};

QTEST_MAIN(TestTextSize)
#include "tst_textsize.moc"
