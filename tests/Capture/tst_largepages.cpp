// The allocator's large pages: the system's setting read, the tunables to start again with, and
// the program started again in place with them, its arguments kept.

#include "Capture/LargePages.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace sw;
using Offer = LargePages::Offer;

Q_DECLARE_METATYPE(LargePages::Offer)

class TestLargePages : public QObject {
    Q_OBJECT
private slots:
    void theSettingsChosenModeIsRead_data()
    {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<Offer>("offer");
        QTest::newRow("on request") << QByteArray("always [madvise] never\n") << Offer::onRequest;
        QTest::newRow("always") << QByteArray("[always] madvise never\n") << Offer::always;
        QTest::newRow("never") << QByteArray("always madvise [never]\n") << Offer::never;
        QTest::newRow("unreadable") << QByteArray() << Offer::unknown;
        QTest::newRow("no bracket closed") << QByteArray("always [madvise never") << Offer::unknown;
        QTest::newRow("a mode not known") << QByteArray("[sometimes] never") << Offer::unknown;
    }
    void theSettingsChosenModeIsRead()
    {
        QFETCH(QByteArray, setting);
        QFETCH(Offer, offer);
        QCOMPARE(LargePages::offerOf(std::string_view(setting.constData(), std::size_t(setting.size()))), offer);
    }

    void theTunablesAskForLargePagesOnlyWhereThatChangesSomething_data()
    {
        QTest::addColumn<bool>("set");
        QTest::addColumn<QString>("current");
        QTest::addColumn<Offer>("offer");
        QTest::addColumn<QString>("expected");   // empty: no new start
        const QString asked = QStringLiteral("glibc.malloc.hugetlb=1");
        QTest::newRow("unset") << false << QString() << Offer::onRequest << asked;
        QTest::newRow("empty") << true << QString() << Offer::onRequest << asked;
        QTest::newRow("others kept") << true << QStringLiteral("glibc.malloc.arena_max=2") << Offer::onRequest
                                     << QStringLiteral("glibc.malloc.arena_max=2:") + asked;
        QTest::newRow("the user's no stands") << true << QStringLiteral("glibc.malloc.hugetlb=0") << Offer::onRequest << QString();
        QTest::newRow("asked already, among others")
            << true << QStringLiteral("glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1") << Offer::onRequest << QString();
        QTest::newRow("a longer name is another tunable")
            << true << QStringLiteral("glibc.malloc.hugetlbx=0") << Offer::onRequest << QStringLiteral("glibc.malloc.hugetlbx=0:") + asked;
        QTest::newRow("everyone has them") << false << QString() << Offer::always << QString();
        QTest::newRow("no one has them") << false << QString() << Offer::never << QString();
        QTest::newRow("setting unknown") << false << QString() << Offer::unknown << QString();
    }
    void theTunablesAskForLargePagesOnlyWhereThatChangesSomething()
    {
        QFETCH(bool, set);
        QFETCH(QString, current);
        QFETCH(Offer, offer);
        QFETCH(QString, expected);
        const std::string now = current.toStdString();
        const auto tunables = LargePages::tunablesFor(set ? std::optional<std::string_view>(now) : std::nullopt, offer);
        QCOMPARE(tunables.has_value(), !expected.isEmpty());
        if (tunables)
            QCOMPARE(QString::fromStdString(*tunables), expected);
    }

    // The probe, started with `tunables` (unset when null): its lines.
    static QStringList probe(const char *tunables)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (tunables)
            environment.insert(QStringLiteral("GLIBC_TUNABLES"), QString::fromLatin1(tunables));
        else
            environment.remove(QStringLiteral("GLIBC_TUNABLES"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LARGE_PAGES_PROBE), {QStringLiteral("--first"), QStringLiteral("a b")});
        if (!process.waitForStarted(10000))
            return {};
        const qint64 started = process.processId();
        if (!process.waitForFinished(10000) || process.exitCode() != 0)
            return {};
        QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
        lines.removeAll(QString());
        lines.prepend(QString::number(started));
        return lines;
    }

    void theProgramStartsAgainInPlaceWithItsArguments_data()
    {
        QTest::addColumn<QByteArray>("tunables");   // null: unset
        QTest::newRow("unset") << QByteArray();
        QTest::newRow("others set") << QByteArray("glibc.malloc.arena_max=4");
        QTest::newRow("the user said no") << QByteArray("glibc.malloc.hugetlb=0");
    }
    void theProgramStartsAgainInPlaceWithItsArguments()
    {
        QFETCH(QByteArray, tunables);
        QFile file(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
        const QByteArray setting = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const auto expected = LargePages::tunablesFor(
            tunables.isNull() ? std::nullopt : std::optional<std::string_view>(tunables.constData()),
            LargePages::offerOf(std::string_view(setting.constData(), std::size_t(setting.size()))));

        QStringList lines = probe(tunables.isNull() ? nullptr : tunables.constData());
        // Started again exactly when the tunables are to change: the C library reads them only then.
        QCOMPARE(lines.count(QStringLiteral("started")), expected ? 2 : 1);
        lines.removeAll(QStringLiteral("started"));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(1), lines.at(0));   // the same process, not a child
        const QString before = tunables.isNull() ? QStringLiteral("(unset)") : QString::fromLatin1(tunables);
        QCOMPARE(lines.at(2), expected ? QString::fromStdString(*expected) : before);
        QCOMPARE(lines.mid(3), (QStringList{QStringLiteral("--first"), QStringLiteral("a b")}));
    }
};

QTEST_GUILESS_MAIN(TestLargePages)
#include "tst_largepages.moc"
