// A benchmark's home is what a while of use leaves: the core restores every save from it, the
// reconciling with the media folder keeps every finished copy (each has its file), and the network
// route leads nowhere off this computer.

#include "BenchHome.h"

#include "StashKit/Archive.h"
#include "StashKit/Curator.h"
#include "StashKit/Network.h"
#include "StashKit/NetworkRoute.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace sw;

namespace {

template <typename Copies>
int finished(const Copies &copies)
{
    int count = 0;
    for (const auto &entry : copies)
        count += entry.copy.asOnThisComputer() != nullptr;
    return count;
}

}  // namespace

class BenchHomeTest : public QObject {
    Q_OBJECT
private slots:
    void restoresWithNothingToFetch_data()
    {
        QTest::addColumn<int>("saves");
        QTest::newRow("a few") << 30;
        QTest::newRow("some hundreds") << 400;
    }

    void restoresWithNothingToFetch()
    {
        QFETCH(int, saves);
        QTemporaryDir home;
        const QString preferences = home.filePath(QStringLiteral("config/Stashwell/preferences.json"));
        QVERIFY(bench::writeHome(home.path(), saves, preferences));

        QFile document(home.filePath(QStringLiteral("data/Stashwell/library.json")));
        QVERIFY(document.open(QIODevice::ReadOnly));
        const QByteArray bytes = document.readAll();
        const Archive written = Archive::fromJson(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        QVERIFY(finished(written.copies) > 0);

        Network network(NetworkRoute::direct());
        auto curator = Curator::live(network, false,
                                     Curator::Folders{home.filePath(QStringLiteral("data/Stashwell")),
                                                      home.filePath(QStringLiteral("Videos/Stashwell"))});
        QCOMPARE(curator->library().saves.size(), qsizetype(saves));
        QCOMPARE(finished(curator->localMedia().copies()), finished(written.copies));
        QCOMPARE(app::Preferences(preferences).value(app::Preferences::networkRoute).toString(), QStringLiteral("http://127.0.0.1:9"));
    }
};

QTEST_GUILESS_MAIN(BenchHomeTest)
#include "tst_benchhome.moc"
