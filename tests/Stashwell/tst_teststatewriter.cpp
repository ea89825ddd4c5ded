// The state file that the test hooks keep for the tests that drive the real program from outside:
// after each change the file holds the state as it stands, and while nothing changes it is neither
// written again nor are the saves shown listed again.

#include "AwaitTask.h"
#include "CuratorRig.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/App/TestStateWriter.h"
#include "Stashwell/Pages/Library/LibraryPage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

StashwellApp::Options optionsIn(const QTemporaryDir &dir)
{
    StashwellApp::Options options;
    options.preferencesPath = dir.filePath(QStringLiteral("config/Stashwell/preferences.json"));
    options.folders = Curator::Folders{dir.filePath(QStringLiteral("data/Stashwell")), dir.filePath(QStringLiteral("Videos/Stashwell"))};
    options.askDesktop = false;
    options.tray = false;
    return options;
}

Post textPostSaying(const QString &text) { return fixtures::post(xLink(QStringLiteral("someone"), QString::number(qHash(text))), {}, std::nullopt, text); }

QJsonObject readState(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

// The texts of the saves shown, sorted (saves kept within one second stand in either order).
QStringList savesIn(const QJsonObject &state)
{
    QStringList texts;
    for (const QJsonValue value : state.value(QStringLiteral("saves")).toArray())
        texts.append(value.toString());
    texts.sort();
    return texts;
}

}  // namespace

class TestStateWriterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void writesOnlyWhatChanged_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("listed");    // the saves shown are listed again
        QTest::addColumn<bool>("written");   // the file is written again
        QTest::addColumn<QStringList>("saves");
        QTest::addColumn<QString>("query");
        QTest::newRow("nothing") << "" << false << false << QStringList{"harbour", "kite"} << "";
        QTest::newRow("a post kept") << "keep" << true << true << QStringList{"bread", "harbour", "kite"} << "";
        QTest::newRow("a search") << "search" << true << true << QStringList{"harbour"} << "harb";
        QTest::newRow("a save trashed") << "trash" << true << true << QStringList{"harbour"} << "";
        QTest::newRow("a favourite, which shows nothing new") << "favourite" << true << false << QStringList{"harbour", "kite"} << "";
    }

    void writesOnlyWhatChanged()
    {
        QFETCH(QString, step);
        QFETCH(bool, listed);
        QFETCH(bool, written);
        QFETCH(QStringList, saves);
        QFETCH(QString, query);
        QTemporaryDir dir;
        StashwellApp app(optionsIn(dir));
        app.start();
        app.curator().setDownloadsOnSave(false);
        QVERIFY(awaitTask(app.curator().keep(textPostSaying(QStringLiteral("harbour")))));
        QVERIFY(awaitTask(app.curator().keep(textPostSaying(QStringLiteral("kite")))));
        const QString path = dir.filePath(QStringLiteral("state.json"));
        TestStateWriter writer(app, path);
        QVERIFY(settle([&] { return savesIn(readState(path)).size() == 2; }));
        // Ticks over an unchanged window list nothing and write nothing.
        QTest::qWait(200);
        const int listedBefore = writer.savesListed();
        const int writesBefore = writer.writes();
        for (int tick = 0; tick < 3; ++tick)
            writer.write();
        QCOMPARE(writer.savesListed(), listedBefore);
        QCOMPARE(writer.writes(), writesBefore);

        Save::ID kite;
        for (const Save &save : app.curator().library().saves)
            if (save.post().text == u"kite")
                kite = save.id();
        if (step == u"keep")
            QVERIFY(awaitTask(app.curator().keep(textPostSaying(QStringLiteral("bread")))));
        else if (step == u"search")
            app.libraryPage().setQuery(query);
        else if (step == u"trash")
            app.libraryPage().trash(kite);
        else if (step == u"favourite")
            app.curator().favourite(kite);
        QVERIFY(settle([&] {
            const QJsonObject state = readState(path);
            return state.value(QStringLiteral("query")).toString() == query && savesIn(state) == saves;
        }));
        QTest::qWait(200);
        QCOMPARE(writer.savesListed() > listedBefore, listed);
        QCOMPARE(writer.writes() > writesBefore, written);
        // The file holds the whole state as it stands.
        QCOMPARE(readState(path), writer.state());
    }
};

QTEST_MAIN(TestStateWriterTest)
#include "tst_teststatewriter.moc"
