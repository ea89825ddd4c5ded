#include "StashwellUI/Controls/CaptureButton.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "ControlTesting.h"
#include "StashwellUI/Controls/KeyCap.h"

#include <QKeySequence>

#include <cmath>

using namespace sw;

class TestKeyCap : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void capIsItsTextPlusPadding_data();
    void capIsItsTextPlusPadding();
    void shortcutsReadAsOnThisPlatform_data();
    void shortcutsReadAsOnThisPlatform();
    void captureButtonPressesAnywhere_data();
    void captureButtonPressesAnywhere();
    void captureButtonKeepsTheCapAtTheTrailingEnd_data();
    void captureButtonKeepsTheCapAtTheTrailingEnd();
};

void TestKeyCap::capIsItsTextPlusPadding_data()
{
    QTest::addColumn<QString>("keys");
    QTest::newRow("one letter") << QStringLiteral("V");
    QTest::newRow("modifier and letter, one cap") << QStringLiteral("Ctrl+V");
    QTest::newRow("three keys") << QStringLiteral("Ctrl+Alt+D");
}

void TestKeyCap::capIsItsTextPlusPadding()
{
    QFETCH(QString, keys);
    const QSizeF text = ControlPainting::textSize(Tokens::Typography::monoSmall.font(), keys);
    KeyCap cap(keys);
    // Room around the text on every side, and the same room whatever the keys.
    const QSize hint = cap.sizeHint();
    QVERIFY(hint.width() > text.width() && hint.height() > text.height());
    const QSize single = KeyCap(QStringLiteral("V")).sizeHint();
    const QSizeF singleText = ControlPainting::textSize(Tokens::Typography::monoSmall.font(), QStringLiteral("V"));
    QCOMPARE(hint.width() - int(text.width()), single.width() - int(singleText.width()));
    QCOMPARE(test::accessibleName(&cap), keys);
}

void TestKeyCap::shortcutsReadAsOnThisPlatform_data()
{
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<QString>("text");
    QTest::newRow("paste") << QKeySequence(Qt::CTRL | Qt::Key_V) << QStringLiteral("Ctrl+V");
    QTest::newRow("save link") << QKeySequence(Qt::CTRL | Qt::Key_L) << QStringLiteral("Ctrl+L");
    QTest::newRow("hot key") << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D) << QStringLiteral("Ctrl+Alt+D");
}

void TestKeyCap::shortcutsReadAsOnThisPlatform()
{
    QFETCH(QKeySequence, shortcut);
    QFETCH(QString, text);
    QCOMPARE(KeyCap::text(shortcut), text);
}

void TestKeyCap::captureButtonPressesAnywhere_data()
{
    QTest::addColumn<int>("x");
    QTest::newRow("symbol") << 16;
    QTest::newRow("blank middle") << 200;
    QTest::newRow("key cap") << 280;
    QTest::newRow("edge") << 1;
}

void TestKeyCap::captureButtonPressesAnywhere()
{
    QFETCH(int, x);
    CaptureButton button;
    button.resize(300, 36);
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(x, 18));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(test::accessibleName(&button), StashwellUIStrings::sidebarPasteLink());
    QCOMPARE(CaptureButton::shortcutText(), QStringLiteral("Ctrl+V"));
}

void TestKeyCap::captureButtonKeepsTheCapAtTheTrailingEnd_data()
{
    QTest::addColumn<double>("width");
    QTest::newRow("sidebar") << 216.0;
    QTest::newRow("wide") << 600.0;
}

void TestKeyCap::captureButtonKeepsTheCapAtTheTrailingEnd()
{
    QFETCH(double, width);
    CaptureButton button;
    QCOMPARE(button.sizeHint().height(), 36);
    const QRectF cap = CaptureButton::keyCapRect(QRectF(0, 0, width, 36));
    QCOMPARE(cap.right(), width - 6);
    QCOMPARE(cap.size(), KeyCap::size(QStringLiteral("Ctrl+V")));
    QCOMPARE(cap.center().y(), 18.0);
}

QTEST_MAIN(TestKeyCap)
#include "tst_keycap.moc"
