#include "ControlTesting.h"
#include "StashwellUI/Controls/SectionHeader.h"
#include "StashwellUI/Controls/TextButton.h"

using namespace sw;

class TestSectionHeader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void buttonNeedsTitleAndAction_data();
    void buttonNeedsTitleAndAction();
    void buttonRunsTheAction();
    void buttonSitsOnTheTitleBaselineAtTheTrailingEdge();
};

void TestSectionHeader::buttonNeedsTitleAndAction_data()
{
    QTest::addColumn<bool>("withTitle");
    QTest::addColumn<bool>("withAction");
    QTest::newRow("title alone") << false << false;
    QTest::newRow("action title without action") << true << false;
    QTest::newRow("action without action title") << false << true;
    QTest::newRow("both") << true << true;
}

void TestSectionHeader::buttonNeedsTitleAndAction()
{
    QFETCH(bool, withTitle);
    QFETCH(bool, withAction);
    SectionHeader header(QStringLiteral("Recently added"));
    const QSize alone = header.sizeHint();
    if (withTitle)
        header.setActionTitle(QStringLiteral("Show all"));
    if (withAction)
        header.setAction([] {});
    const bool shows = withTitle && withAction;
    QCOMPARE(header.actionButton() != nullptr, shows);
    QCOMPARE(header.sizeHint().width() > alone.width(), shows);
    if (shows)
        QCOMPARE(test::accessibleName(header.actionButton()), QStringLiteral("Show all"));
}

void TestSectionHeader::buttonRunsTheAction()
{
    SectionHeader header(QStringLiteral("Recently added"));
    header.setDetail(QStringLiteral("12"));
    int runs = 0;
    header.setActionTitle(QStringLiteral("Show all"));
    header.setAction([&runs] { ++runs; });
    header.resize(400, header.sizeHint().height());
    QVERIFY(test::showWidget(header));
    TextButton *button = header.actionButton();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    QCOMPARE(runs, 1);
    button->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    QCOMPARE(runs, 1);
}

void TestSectionHeader::buttonSitsOnTheTitleBaselineAtTheTrailingEdge()
{
    SectionHeader header(QStringLiteral("Recently added"));
    header.setActionTitle(QStringLiteral("Show all"));
    header.setAction([] {});
    header.resize(500, header.sizeHint().height());
    QVERIFY(test::showWidget(header));
    TextButton *button = header.actionButton();
    QCOMPARE(button->geometry().right(), header.width() - 1);
    const double titleBaseline = 8 + QFontMetricsF(Tokens::Typography::section.font()).ascent();
    QVERIFY(std::abs(button->y() + button->baseline() - titleBaseline) <= 1);
}

QTEST_MAIN(TestSectionHeader)
#include "tst_sectionheader.moc"
