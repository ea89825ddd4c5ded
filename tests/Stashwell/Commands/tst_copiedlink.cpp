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
    void fromTheClipboard_data();
    void fromTheClipboard();
    void clipboardWithoutText();
};

void TestCopiedLink::linkIn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isLink");
    QTest::addColumn<QString>("link");

    QTest::newRow("X status") << "https://x.com/jack/status/20" << true << "https://x.com/jack/status/20";
    QTest::newRow("spaces and a newline around") << "  https://x.com/jack/status/20\n" << true
                                                 << "https://x.com/jack/status/20";
    QTest::newRow("Unicode white space around")
        << QStringLiteral("\u00a0\u2003https://example.com/a\u2028\u3000") << true << "https://example.com/a";
    QTest::newRow("as copied, not as cleaned") << " https://X.com/Jack/status/20?s=20#top " << true
                                               << "https://X.com/Jack/status/20?s=20#top";
    QTest::newRow("web address kept with its tracking items")
        << "https://Example.com/page?utm_source=a" << true << "https://Example.com/page?utm_source=a";
    QTest::newRow("no scheme, unchanged") << "example.com/page" << true << "example.com/page";
    QTest::newRow("only spaces") << "  \t \n " << false << QString();
    QTest::newRow("empty") << "" << false << QString();
    QTest::newRow("ordinary text") << "hello world" << false << QString();
    QTest::newRow("X profile, not a post") << "https://x.com/jack" << false << QString();
    QTest::newRow("white space inside") << QStringLiteral("https://x.com/a\u00a0b/status/1") << false << QString();
}

void TestCopiedLink::linkIn()
{
    QFETCH(QString, text);
    QFETCH(bool, isLink);
    QFETCH(QString, link);
    const std::optional<QString> found = sw::app::linkIn(text);
    QCOMPARE(found.has_value(), isLink);
    if (isLink)
        QCOMPARE(*found, link);
}

void TestCopiedLink::fromTheClipboard_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isLink");
    QTest::addColumn<QString>("link");
    QTest::newRow("link") << "\n https://x.com/jack/status/20 \n" << true << "https://x.com/jack/status/20";
    QTest::newRow("text") << "not a link" << false << QString();
    QTest::newRow("spaces") << "   " << false << QString();
}

void TestCopiedLink::fromTheClipboard()
{
    QFETCH(QString, text);
    QFETCH(bool, isLink);
    QFETCH(QString, link);
    QGuiApplication::clipboard()->setText(text);
    const std::optional<QString> found = copiedLink();
    QCOMPARE(found.has_value(), isLink);
    if (isLink)
        QCOMPARE(*found, link);
}

void TestCopiedLink::clipboardWithoutText()
{
    auto *data = new QMimeData;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    data->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(data);
    QVERIFY(!copiedLink());
    QGuiApplication::clipboard()->clear();
    QVERIFY(!copiedLink());
}

QTEST_MAIN(TestCopiedLink)
#include "tst_copiedlink.moc"
