#include "ControlTesting.h"
#include "PaintTesting.h"
#include "StashwellUI/Controls/WrappedLabel.h"

#include <QLabel>

#include <functional>

using namespace sw;

class TestWrappedLabel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void heightsFollowEveryChange_data();
    void heightsFollowEveryChange();
    void drawingFollowsEveryChange_data();
    void drawingFollowsEveryChange();
};

namespace {

using Change = std::function<void(QLabel &)>;

const QString kPost = QStringLiteral("A post long enough to wrap over a few lines in a narrow column, with "
                                     "<b>a word</b> or two set apart, as the inspector shows a save's text.");

void setUp(QLabel &label)
{
    label.setWordWrap(true);
    label.setTextFormat(Qt::RichText);
    label.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label.setText(kPost);
    label.resize(220, 160);
}

// Whether `kept` shows what `direct` shows: the same colour wherever the direct drawing is solid,
// and ink in the same places. The edges of the glyphs may differ: drawn onto a clear bitmap first,
// they blend in two steps.
bool drawsAlike(const QImage &direct, const QImage &kept)
{
    if (direct.size() != kept.size())
        return false;
    const QImage a = direct.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = kept.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    qsizetype inked = 0;
    qsizetype apart = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            inked += qAlpha(p) > 0;
            apart += (qAlpha(p) > 0) != (qAlpha(q) > 0);
            const int largest = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            if (qAlpha(p) == 255 && largest > 2)
                return false;
        }
    }
    return inked > 0 && apart * 50 <= inked;
}

}  // namespace

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

void TestWrappedLabel::drawingFollowsEveryChange_data()
{
    QTest::addColumn<Change>("change");
    QTest::newRow("text") << Change([](QLabel &l) { l.setText(QStringLiteral("Another post, <i>shorter</i>.")); });
    QTest::newRow("text colour") << Change([](QLabel &l) {
        QPalette palette = l.palette();
        palette.setColor(QPalette::WindowText, QColor(200, 30, 40));
        l.setPalette(palette);
    });
    QTest::newRow("font") << Change([](QLabel &l) {
        QFont font = l.font();
        font.setPointSizeF(font.pointSizeF() + 4);
        l.setFont(font);
    });
    QTest::newRow("width") << Change([](QLabel &l) { l.resize(150, l.height()); });
    QTest::newRow("alignment") << Change([](QLabel &l) { l.setAlignment(Qt::AlignRight | Qt::AlignBottom); });
    QTest::newRow("margin") << Change([](QLabel &l) { l.setMargin(9); });
    QTest::newRow("indent") << Change([](QLabel &l) { l.setIndent(30); });
    QTest::newRow("no wrapping") << Change([](QLabel &l) { l.setWordWrap(false); });
    QTest::newRow("disabled") << Change([](QLabel &l) { l.setEnabled(false); });
    QTest::newRow("selection") << Change([](QLabel &l) { l.setSelection(2, 20); });
}

// The label keeps its drawing between paints: after each change it shows what a label given that
// change before its first paint shows, which differs from before; and what it keeps is what a
// plain label draws.
void TestWrappedLabel::drawingFollowsEveryChange()
{
    QFETCH(Change, change);
    const QWidget::RenderFlags flags;
    WrappedLabel label;
    setUp(label);
    const QImage before = test::render(label, flags);
    QCOMPARE(test::render(label, flags), before);
    change(label);
    const QImage after = test::render(label, flags);
    QVERIFY(after != before);

    WrappedLabel fresh;
    setUp(fresh);
    change(fresh);
    QCOMPARE(test::render(fresh, flags), after);

    QLabel plain;
    setUp(plain);
    change(plain);
    QVERIFY(drawsAlike(test::render(plain, flags), after));
}

QTEST_MAIN(TestWrappedLabel)
#include "tst_wrappedlabel.moc"
