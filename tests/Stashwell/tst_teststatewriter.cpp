// The test hooks' state file follows each change of the running application, and while nothing
// changes it is neither written again nor are the saves shown listed again.

#include "AwaitTask.h"
#include "CuratorRig.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/App/TestStateWriter.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Window/LibraryWindow.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

using namespace sw;
using namespace sw::app;
using namespace sw::test;

class TestStateWriterTest : public QObject {
    Q_OBJECT

    // An application of its own in `dir`, no desktop and no tray.
    static StashwellApp::Options optionsIn(const QTemporaryDir &dir)
    {
        StashwellApp::Options options;
        options.preferencesPath = dir.filePath(QStringLiteral("preferences.json"));
        options.folders = Curator::Folders{dir.filePath(QStringLiteral("data")), dir.filePath(QStringLiteral("videos"))};
        options.askDesktop = options.tray = false;
        return options;
    }

private slots:
    void writesOnlyWhatChanged_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("changes");   // what the file says changes
        QTest::addColumn<QString>("saves");  // their texts, sorted (saves of one second stand in either order)
        QTest::newRow("nothing") << "" << false << "harbour kite";
        QTest::newRow("a post kept") << "keep" << true << "bread harbour kite";
        QTest::newRow("a search") << "harb" << true << "harbour";
        QTest::newRow("a save trashed") << "trash" << true << "harbour";
        QTest::newRow("a favourite, which shows nothing new") << "favourite" << false << "harbour kite";
    }

    void writesOnlyWhatChanged()
    {
        QFETCH(QString, step);
        QFETCH(bool, changes);
        QFETCH(QString, saves);
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir dir;
        StashwellApp app(optionsIn(dir));
        app.start();
        app.curator().setDownloadsOnSave(false);
        const auto keep = [&](const char *text) {
            return awaitTask(app.curator().keep(fixtures::post(fixtures::xLink(QStringLiteral("a"), QString::number(qHash(text))), {}, std::nullopt, text)));
        };
        QVERIFY(keep("harbour") && keep("kite"));
        const QString path = dir.filePath(QStringLiteral("state.json"));
        const auto file = [&] {
            QFile in(path);
            return in.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(in.readAll()).object() : QJsonObject();
        };
        const auto shown = [&] {
            QStringList texts;
            for (const QJsonValue value : file().value(QStringLiteral("saves")).toArray())
                texts.append(value.toString());
            texts.sort();
            return texts.join(u' ');
        };
        TestStateWriter writer(app, path);
        QVERIFY(settle([&] { return shown() == u"harbour kite"; }));
        QTest::qWait(150);
        const int listed = writer.savesListed();
        const int writes = writer.writes();
        writer.write();
        QCOMPARE(writer.savesListed(), listed);
        QCOMPARE(writer.writes(), writes);

        const Save::ID kite = app.curator().library().saves.at(0).post().text == u"kite" ? app.curator().library().saves.at(0).id()
                                                                                         : app.curator().library().saves.at(1).id();
        if (step == u"keep")
            QVERIFY(keep("bread"));
        else if (step == u"trash")
            app.libraryPage().trash(kite);
        else if (step == u"favourite")
            app.curator().favourite(kite);
        else
            app.libraryPage().setQuery(step);
        // A step that shows something new is waited for until the writer has listed it (on a busy
        // machine a change reaches the page later than any fixed wait); then a while more for
        // what must not happen.
        QVERIFY(settle([&] {
            return shown() == saves && file().value(QStringLiteral("query")).toString() == app.libraryPage().query()
                   && (step.isEmpty() || writer.savesListed() > listed);
        }));
        QTest::qWait(150);
        // Listed again only when the page showed something new; written only when that changed.
        QCOMPARE(writer.savesListed() > listed, !step.isEmpty());
        QCOMPARE(writer.writes() > writes, changes);
        QCOMPARE(file(), writer.state());
    }

    // A writer told not to list the saves (a benchmark on a large library) never does, writes
    // only when the file was taken away, and tells where the window's parts lie on screen.
    void leavesOutTheSavesWhenTold()
    {
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir dir;
        StashwellApp app(optionsIn(dir));
        app.start();
        app.curator().setDownloadsOnSave(false);
        QVERIFY(awaitTask(app.curator().keep(fixtures::post(fixtures::xLink(QStringLiteral("a"), QStringLiteral("1")), {}, std::nullopt, "harbour"))));
        app.libraryWindow().show();
        const QString path = dir.filePath(QStringLiteral("state.json"));
        TestStateWriter writer(app, path, false);
        const auto file = [&] {
            QFile in(path);
            return in.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(in.readAll()).object() : QJsonObject();
        };
        QVERIFY(settle([&] { return file().value(QStringLiteral("areas")).toObject().contains(QStringLiteral("shelf")); }));
        // While the file is there nothing is written, whatever changes ...
        const int writes = writer.writes();
        app.libraryPage().setQuery(QStringLiteral("harb"));
        QTest::qWait(200);
        QCOMPARE(writer.writes(), writes);
        QCOMPARE(file().value(QStringLiteral("query")).toString(), QString());
        // ... and once it is taken away, the state as it stands comes back.
        QVERIFY(QFile::remove(path));
        QVERIFY(settle([&] { return file().value(QStringLiteral("query")).toString() == u"harb"; }));
        QCOMPARE(writer.writes(), writes + 1);
        QCOMPARE(writer.savesListed(), 0);
        QCOMPARE(file().value(QStringLiteral("saves")).toArray(), QJsonArray());
        const QJsonObject areas = file().value(QStringLiteral("areas")).toObject();
        for (const char *name : {"shelf", "bar", "window"})
            QVERIFY2(areas.value(QLatin1String(name)).toObject().value(QStringLiteral("width")).toInt() > 0, name);
        const QJsonObject points = file().value(QStringLiteral("points")).toObject();
        for (const char *name : {"gridOption", "listOption", "search"})
            QVERIFY2(points.contains(QLatin1String(name)), name);
        QVERIFY(!file().value(QStringLiteral("filters")).toArray().isEmpty());
    }
};

QTEST_MAIN(TestStateWriterTest)
#include "tst_teststatewriter.moc"
