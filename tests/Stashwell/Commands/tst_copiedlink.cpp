// The clipboard's link: trimmed of Unicode white space, returned as it was copied when it reads
// as a link, and nothing for anything else.

#include "Stashwell/Commands/CopiedLink.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QtTest>

using namespace sw::app;

class TestCopiedLink : public QObject {
    Q_OBJECT
private slots:
    void linkIn_data();
    void linkIn();
    void fromTheClipboard();
};

void TestCopiedLink::linkIn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("link");   // empty: none
    QTest::newRow("X status") << "https://x.com/jack/status/20" << "https://x.com/jack/status/20";
    QTest::newRow("spaces and a newline around") << "  https://x.com/jack/status/20\n" << "https://x.com/jack/status/20";
    QTest::newRow("Unicode white space around") << QStringLiteral("\u00a0\u2003https://example.com/a\u2028\u3000")
                                                << "https://example.com/a";
    QTest::newRow("as copied, not as cleaned") << " https://X.com/Jack/status/20?s=20#top "
                                               << "https://X.com/Jack/status/20?s=20#top";
    QTest::newRow("no scheme, unchanged") << "example.com/page" << "example.com/page";
    QTest::newRow("only spaces") << "  \t \n " << "";
    QTest::newRow("ordinary text") << "hello world" << "";
    QTest::newRow("X profile, not a post") << "https://x.com/jack" << "";
    QTest::newRow("white space inside") << QStringLiteral("https://x.com/a\u00a0b/status/1") << "";
}

void TestCopiedLink::linkIn()
{
    QFETCH(QString, text);
    QFETCH(QString, link);
    QCOMPARE(sw::app::linkIn(text).value_or(QString()), link);
}

void TestCopiedLink::fromTheClipboard()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("\n https://x.com/jack/status/20 \n"));
    QCOMPARE(copiedLink(), std::optional(QStringLiteral("https://x.com/jack/status/20")));
    auto *picture = new QMimeData;
    picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(picture);
    QVERIFY(!copiedLink());
    QGuiApplication::clipboard()->clear();
    QVERIFY(!copiedLink());
}

QTEST_MAIN(TestCopiedLink)
#include "tst_copiedlink.moc"
