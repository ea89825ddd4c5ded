#include "ControlTesting.h"
#include "StashwellUI/Controls/WrappedLabel.h"

#include <QLabel>

using namespace sw;

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
    // t: another text, s: the same text again, f: a larger font, m: wider margins.
    QTest::addColumn<QString>("steps");
    QTest::newRow("another text, rich") << Qt::RichText << QStringLiteral("tt");
    QTest::newRow("another text, plain") << Qt::PlainText << QStringLiteral("tst");
    QTest::newRow("another font") << Qt::RichText << QStringLiteral("ftf");
    QTest::newRow("other margins") << Qt::PlainText << QStringLiteral("mtm");
}

// At every width, before and after each change, the label answers what a plain label with the
// same text and settings answers: nothing it kept outlives what it was worked out for.
void TestWrappedLabel::heightsFollowEveryChange()
{
    QFETCH(Qt::TextFormat, format);
    QFETCH(QString, steps);
    WrappedLabel wrapped;
    QLabel plain;
    plain.setWordWrap(true);
    const QStringList texts{
        QStringLiteral("A short line."),
        QStringLiteral("A much longer post that wraps over several lines at any width a column takes, with "
                       "words enough to change its height whenever the width changes by a little."),
        QStringLiteral("Two lines<br>at most, one broken by hand."),
    };
    qsizetype next = 0;
    for (const QChar step : QStringLiteral(" ") + steps) {
        next += step == u't';
        for (QLabel *label : {static_cast<QLabel *>(&wrapped), &plain}) {
            if (step == u' ') {
                label->setTextFormat(format);
                label->setText(texts.first());
            } else if (step == u't' || step == u's') {
                label->setText(step == u't' ? texts[next % texts.size()] : label->text());
            } else if (step == u'f') {
                QFont font = label->font();
                font.setPointSizeF(font.pointSizeF() + 5);
                label->setFont(font);
            } else {
                label->setContentsMargins(label->contentsMargins() + QMargins(7, 3, 9, 3));
            }
        }
        for (const int width : {40, 120, 121, 300, 120})
            QCOMPARE(wrapped.heightForWidth(width), plain.heightForWidth(width));
    }
}

QTEST_MAIN(TestWrappedLabel)
#include "tst_wrappedlabel.moc"
