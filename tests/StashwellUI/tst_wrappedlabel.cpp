#include "ControlTesting.h"
#include "StashwellUI/Controls/WrappedLabel.h"

#include <QLabel>

using namespace sw;

// What a step does to both labels.
enum class Step { text, sameText, font, margins };
Q_DECLARE_METATYPE(Step)

class TestWrappedLabel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void heightsFollowEveryChange_data();
    void heightsFollowEveryChange();
};

void TestWrappedLabel::heightsFollowEveryChange_data()
{
    QTest::addColumn<Qt::TextFormat>("format");
    QTest::addColumn<QList<Step>>("steps");
    QTest::newRow("another text, rich") << Qt::RichText << QList<Step>{Step::text, Step::text};
    QTest::newRow("another text, plain") << Qt::PlainText << QList<Step>{Step::text, Step::sameText, Step::text};
    QTest::newRow("another font") << Qt::RichText << QList<Step>{Step::font, Step::text, Step::font};
    QTest::newRow("other margins") << Qt::PlainText << QList<Step>{Step::margins, Step::text, Step::margins};
}

// At every width, before and after each change, the label answers what a plain label with the
// same text and settings answers: nothing it kept outlives what it was worked out for.
void TestWrappedLabel::heightsFollowEveryChange()
{
    QFETCH(Qt::TextFormat, format);
    QFETCH(QList<Step>, steps);
    WrappedLabel wrapped;
    QLabel plain;
    plain.setWordWrap(true);
    const QList<QString> texts{
        QStringLiteral("A short line."),
        QStringLiteral("A much longer post that wraps over several lines at any width a column takes, with "
                       "words enough to change its height whenever the width changes by a little."),
        QStringLiteral("Two lines<br>at most, one broken by hand."),
    };
    int next = 0;
    for (QLabel *label : {static_cast<QLabel *>(&wrapped), &plain}) {
        label->setTextFormat(format);
        label->setText(texts.first());
    }
    const auto compare = [&] {
        for (const int width : {40, 120, 121, 300, 120})
            QCOMPARE(wrapped.heightForWidth(width), plain.heightForWidth(width));
    };
    // Each comparison stops the test at its first difference.
    compare();
    if (QTest::currentTestFailed())
        return;
    for (const Step step : steps) {
        for (QLabel *label : {static_cast<QLabel *>(&wrapped), &plain}) {
            switch (step) {
            case Step::text:
                label->setText(texts[(next + 1) % texts.size()]);
                break;
            case Step::sameText:
                label->setText(label->text());
                break;
            case Step::font: {
                QFont font = label->font();
                font.setPointSizeF(font.pointSizeF() + 5);
                label->setFont(font);
                break;
            }
            case Step::margins:
                label->setContentsMargins(label->contentsMargins() + QMargins(7, 3, 9, 3));
                break;
            }
        }
        next += step == Step::text;
        compare();
        if (QTest::currentTestFailed())
            return;
    }
}

QTEST_MAIN(TestWrappedLabel)
#include "tst_wrappedlabel.moc"
