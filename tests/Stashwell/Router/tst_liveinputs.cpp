// The Router made with the live inputs: real key presses reach its requests, and the hot key's
// request reads the real clipboard. Without an X server the hot key holds no key and does no harm.

#include "Stashwell/App/GlobalHotKey.h"
#include "Stashwell/Router/LiveInputs.h"
#include "Stashwell/Router/Router.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace sw::app;

class TestLiveInputs : public QObject {
    Q_OBJECT
private slots:
    void keysReachTheRouter();
    void hotKeyReadsTheClipboard_data();
    void hotKeyReadsTheClipboard();
    void noHotKeyWithoutX11();
};

void TestLiveInputs::keysReachTheRouter()
{
    Router router(liveRouterInputs());
    QSignalSpy finds(&router, &Router::findRequestsChanged);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *field = new QLineEdit;
    auto *other = new QWidget;
    other->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(field);
    layout->addWidget(other);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());

    QTest::keyClick(other, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(other, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(router.findRequests(), 2);
    QCOMPARE(finds.size(), 2);

    const QString link = QStringLiteral("https://x.com/jack/status/20");
    QGuiApplication::clipboard()->setText(QStringLiteral("\n") + link + QStringLiteral("\n"));
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!router.savingLink());
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QTest::keyClick(other, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(router.savingLink(), std::optional(link));
}

void TestLiveInputs::hotKeyReadsTheClipboard_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("saving");
    QTest::newRow("a link") << " https://example.com/page " << "https://example.com/page";
    QTest::newRow("words: an empty field") << "not a link at all" << "";
    QTest::newRow("nothing: an empty field") << "" << "";
}

void TestLiveInputs::hotKeyReadsTheClipboard()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, saving);
    int activations = 0;
    Router::Inputs inputs = liveRouterInputs();
    inputs.activate = [&] { ++activations; };
    Router router(std::move(inputs));
    QGuiApplication::clipboard()->setText(clipboard);
    router.hotKeyPressed();
    QCOMPARE(activations, 1);
    QCOMPARE(router.savingLink(), std::optional(saving));
}

void TestLiveInputs::noHotKeyWithoutX11()
{
    Router router(liveRouterInputs());
    auto *hotKey = qobject_cast<GlobalHotKey *>(router.hotKey());
    QVERIFY(hotKey);
    QVERIFY(!hotKey->isRegistered());
    QVERIFY(router.keys());
}

QTEST_MAIN(TestLiveInputs)
#include "tst_liveinputs.moc"
