// The application as a user meets it, under a real X server (scripts/with-xvfb): the real program
// with a home of its own and its FxTwitter API on a loopback server of this test, driven from
// outside with xdotool (keys, clicks, focus) and xclip (the clipboard), its results read from the
// library document and the media and cover folders. What the windows show is read from the file
// the program's test hooks keep (TestStateWriter). The steps run in order on one library:
//
//   an empty library shows the empty shelf; a copied link and Ctrl+V open the Save Link sheet with
//   it, which looks it up at once, Return keeps it, and the save, its cover and its video arrive;
//   Ctrl+Alt+D pressed while another program has the keyboard opens the sheet with the next link;
//   Ctrl+F and a word leave only the matching save on the shelf; a click selects it, Delete
//   trashes it, Ctrl+Z brings it back, Ctrl+Shift+Z trashes it again; a second launch ends and
//   the first window comes forward; Ctrl+Q and a new start find everything as it was.

#include "HttpServer.h"
#include "StashKit/Archive.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>

using namespace sw;
using namespace sw::test;
using sw::app::Preferences;

namespace {

constexpr int kWait = 20000;   // the longest wait for any one step, in milliseconds

const QString kKiteLink = QStringLiteral("https://x.com/someone/status/111");
const QString kRainLink = QStringLiteral("https://x.com/other/status/222");

QByteArray post(const QByteArray &text, const QByteArray &media)
{
    return R"({"code":200,"tweet":{"text":")" + text + R"(","created_timestamp":1700000000,)"
        + R"("author":{"name":"Some One","screen_name":"someone"},"media":{"all":[)" + media + "]}}}";
}

// Runs a tool to its end; its output, or none when it failed.
std::optional<QByteArray> run(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return std::nullopt;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput().trimmed();
}

bool xdotool(const QStringList &arguments) { return run(QStringLiteral("xdotool"), arguments).has_value(); }
bool press(const QString &keys) { return xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys}); }
// xclip forks a child that holds the selection until another program takes it.
bool copy(const QString &text)
{
    return run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard")}, text.toUtf8()).has_value();
}

// A shown window of a process, by its title, or none.
QString windowOf(qint64 pid, const QString &titlePattern)
{
    const auto found = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                       QStringLiteral("--pid"), QString::number(pid),
                                                       QStringLiteral("--name"), titlePattern});
    return found ? QString::fromLatin1(found->split('\n').value(0)) : QString();
}

// Where a top-level window stands among the display's, from the bottom; -1 when it is not there.
qsizetype stackingPlace(const QString &window)
{
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    qsizetype place = -1;
    if (!xcb_connection_has_error(x)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
        if (xcb_query_tree_reply_t *tree = xcb_query_tree_reply(x, xcb_query_tree(x, screen->root), nullptr)) {
            const xcb_window_t *children = xcb_query_tree_children(tree);
            for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
                if (children[i] == window.toUInt())
                    place = i;
            std::free(tree);
        }
    }
    xcb_disconnect(x);
    return place;
}

}  // namespace

class WholeAppTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    HttpServer m_server;
    QProcessEnvironment m_environment;
    std::unique_ptr<QProcess> m_app;
    QProcess m_elsewhere;   // another program's window (xmessage)
    QString m_window;       // the library window's X id
    QString m_other;        // the other program's
    bool m_broken = false;  // a step failed: the ones after it, which build on it, are skipped

    QString path(const QString &relative) const { return m_home.filePath(relative); }
    QString documentPath() const { return path(QStringLiteral(".local/share/Stashwell/library.json")); }
    QStringList files(const QString &folder) const { return QDir(path(folder)).entryList(QDir::Files); }

    QJsonObject state() const
    {
        QFile file(path(QStringLiteral("state.json")));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    }
    // The texts of the saves the shelf shows, in its order ("saves"), or of its cards on screen ("cells").
    QStringList texts(const QString &key = QStringLiteral("saves")) const
    {
        QStringList out;
        for (const QJsonValue value : state().value(key).toArray())
            out.append(value.isObject() ? value.toObject().value(QStringLiteral("text")).toString() : value.toString());
        return out;
    }
    // The sheet's link and phase, "" when no sheet shows.
    QString sheet() const
    {
        const QJsonObject sheet = state().value(QStringLiteral("sheet")).toObject();
        return sheet.isEmpty() ? QString()
                               : sheet.value(QStringLiteral("url")).toString() + QLatin1Char(' ')
                + sheet.value(QStringLiteral("phase")).toString();
    }
    QString active() const { return state().value(QStringLiteral("active")).toString(); }

    // The saves of the document on disk: (text, trashed), by text.
    QList<std::pair<QString, bool>> savedPosts() const
    {
        // Read as it stands (FileArchive::load would clear the program's half-written documents).
        QList<std::pair<QString, bool>> out;
        QFile file(documentPath());
        if (!file.open(QIODevice::ReadOnly))
            return out;
        const QByteArray document = file.readAll();
        try {
            for (const Save &save : Archive::fromJson(std::string_view(document.constData(), document.size())).library.saves)
                out.append({save.post().text, save.trashedAt().has_value()});
        } catch (const JsonError &) {
            return {};
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    void launch(QProcess &process)
    {
        process.setProcessEnvironment(m_environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(STASHWELL_BINARY), {});
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
    }

    void startApp()
    {
        QFile::remove(path(QStringLiteral("state.json")));
        m_app = std::make_unique<QProcess>();
        launch(*m_app);
        QTRY_VERIFY_WITH_TIMEOUT(!(m_window = windowOf(m_app->processId(), QStringLiteral("^Stashwell$"))).isEmpty(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!state().isEmpty(), kWait);
    }

    // The keyboard to the library window, as a click on its title would.
    void focusLibrary()
    {
        QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_window}));
        QTRY_COMPARE_WITH_TIMEOUT(active(), QStringLiteral("sw::app::LibraryWindow"), kWait);
    }

    // The other program over the library window with the keyboard: the application is no longer
    // active.
    void focusElsewhere()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!(m_other = windowOf(m_elsewhere.processId(), QStringLiteral("."))).isEmpty(), kWait);
        const QString &window = m_other;
        QVERIFY(xdotool({QStringLiteral("windowraise"), window}));
        QTRY_VERIFY_WITH_TIMEOUT(stackingPlace(window) > stackingPlace(m_window), kWait);
        QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}));
        QTRY_COMPARE_WITH_TIMEOUT(active(), QString(), kWait);
    }

    // A sheet that came with a link looks it up at once; Return keeps the post; the document holds it.
    void lookUpAndSave(const QString &link, const QString &text)
    {
        QTRY_COMPARE_WITH_TIMEOUT(sheet(), link + QStringLiteral(" found"), kWait);
        QVERIFY(press(QStringLiteral("Return")));
        QTRY_COMPARE_WITH_TIMEOUT(sheet(), QString(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(savedPosts().contains(std::pair(text, false)), kWait);
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("No X server could be started (DISPLAY is not set): this test runs the program under Xvfb.");
        for (const char *tool : {"xdotool", "xclip", "xmessage"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing: scripts/install-deps installs it").arg(QLatin1String(tool))));
        QVERIFY(m_home.isValid());
        QVERIFY(m_server.listen());

        const QByteArray base = m_server.url(QString()).toString().toUtf8();
        m_server.route("/someone/status/111",
                       HttpReply::json(post("A kite over the hill", R"({"type":"video","url":")" + base
                                                + R"(/media/kite.mp4","thumbnail_url":")" + base
                                                + R"(/media/kite.jpg","duration":3.5})")));
        m_server.route("/other/status/222", HttpReply::json(post("Rain on the harbour", "")));
        m_server.route("/media/kite.jpg", HttpReply::ok(QByteArray(3000, 'j'), "image/jpeg"));
        m_server.route("/media/kite.mp4", HttpReply::ok(QByteArray(200000, 'v'), "video/mp4"));

        const QString runtime = path(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The loopback server is reached directly, whatever proxy the machine names.
        Preferences(path(QStringLiteral(".config/Stashwell/preferences.json")))
            .setValue(Preferences::networkRoute, QStringLiteral("direct"));

        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("HOME"), m_home.path());
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral(".local/share")));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral(".config")));
        m_environment.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral(".cache")));
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        m_environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        m_environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        m_environment.insert(QStringLiteral("STASHWELL_TEST_HOOKS"), QStringLiteral("1"));
        m_environment.insert(QStringLiteral("STASHWELL_TEST_API_BASE"), QString::fromUtf8(base));
        m_environment.insert(QStringLiteral("STASHWELL_TEST_STATE"), path(QStringLiteral("state.json")));

        m_elsewhere.start(QStringLiteral("xmessage"), {QStringLiteral("-geometry"), QStringLiteral("300x80+1200+850"),
                                                       QStringLiteral("another program")});
        QVERIFY(m_elsewhere.waitForStarted());
    }

    void init()
    {
        if (m_broken)
            QSKIP("an earlier step failed");
    }
    void cleanup() { m_broken = m_broken || QTest::currentTestFailed(); }

    void anEmptyLibraryShowsTheEmptyShelf()
    {
        startApp();
        QTRY_VERIFY_WITH_TIMEOUT(state().value(QStringLiteral("empty")).toBool(), kWait);
        QCOMPARE(texts(), QStringList());
        QCOMPARE(sheet(), QString());
    }

    void ctrlVSavesTheCopiedLink()
    {
        focusLibrary();
        QVERIFY(copy(QStringLiteral("  ") + kKiteLink + QStringLiteral("\n")));
        QVERIFY(press(QStringLiteral("ctrl+v")));
        QTRY_VERIFY_WITH_TIMEOUT(sheet().startsWith(kKiteLink + QLatin1Char(' ')), kWait);
        lookUpAndSave(kKiteLink, QStringLiteral("A kite over the hill"));

        QTRY_COMPARE_WITH_TIMEOUT(files(QStringLiteral("Videos/Stashwell")), QStringList{QStringLiteral("someone_111.mp4")}, kWait);
        QCOMPARE(QFileInfo(path(QStringLiteral("Videos/Stashwell/someone_111.mp4"))).size(), 200000);
        QTRY_COMPARE_WITH_TIMEOUT(files(QStringLiteral(".local/share/Stashwell/Covers")).size(), 1, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(texts(), QStringList{QStringLiteral("A kite over the hill")}, kWait);
    }

    void theHotKeyFromAnotherProgram()
    {
        focusElsewhere();
        QVERIFY(copy(kRainLink));
        QVERIFY(press(QStringLiteral("ctrl+alt+d")));
        QTRY_VERIFY_WITH_TIMEOUT(sheet().startsWith(kRainLink + QLatin1Char(' ')), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(active(), QStringLiteral("sw::SaveLinkSheet"), kWait);
        lookUpAndSave(kRainLink, QStringLiteral("Rain on the harbour"));
        QTRY_COMPARE_WITH_TIMEOUT(texts().size(), 2, kWait);
    }

    void searchLeavesOnlyTheMatches()
    {
        focusLibrary();
        QVERIFY(press(QStringLiteral("ctrl+f")));
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("focus")).toString(), QStringLiteral("QLineEdit"), kWait);
        QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("harbour")}));
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("query")).toString(), QStringLiteral("harbour"), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(texts(), QStringList{QStringLiteral("Rain on the harbour")}, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(texts(QStringLiteral("cells")), QStringList{QStringLiteral("Rain on the harbour")}, kWait);
    }

    void deleteUndoRedo()
    {
        const QJsonObject item = state().value(QStringLiteral("cells")).toArray().at(0).toObject();
        QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                         QString::number(item.value(QStringLiteral("x")).toInt()),
                         QString::number(item.value(QStringLiteral("y")).toInt()), QStringLiteral("click"),
                         QStringLiteral("1")}));
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("focus")).toString(), QStringLiteral("sw::ShelfSurface"), kWait);

        const auto rain = [this](bool trashed) {
            return savedPosts() == QList<std::pair<QString, bool>>{{QStringLiteral("A kite over the hill"), false},
                                                                  {QStringLiteral("Rain on the harbour"), trashed}};
        };
        QVERIFY(press(QStringLiteral("Delete")));
        QTRY_VERIFY_WITH_TIMEOUT(rain(true), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(texts(), QStringList(), kWait);
        QVERIFY(press(QStringLiteral("ctrl+z")));
        QTRY_VERIFY_WITH_TIMEOUT(rain(false), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(texts(), QStringList{QStringLiteral("Rain on the harbour")}, kWait);
        QVERIFY(press(QStringLiteral("ctrl+shift+z")));
        QTRY_VERIFY_WITH_TIMEOUT(rain(true), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(texts(), QStringList(), kWait);
    }

    void aSecondLaunchBringsTheFirstForward()
    {
        focusElsewhere();
        QProcess second;
        launch(second);
        QVERIFY(second.waitForFinished(kWait));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        // Over the other program. (Without a window manager the keyboard stays where it was: the
        // X server refuses a focus change older than the last one, and the program's last event
        // is older than the other program's focus.)
        QTRY_VERIFY_WITH_TIMEOUT(stackingPlace(m_window) > stackingPlace(m_other), kWait);
        QCOMPARE(m_app->state(), QProcess::Running);
    }

    void ctrlQAndAgainFindsEverythingAsItWas()
    {
        focusLibrary();
        QVERIFY(press(QStringLiteral("ctrl+q")));
        QVERIFY(m_app->waitForFinished(kWait));
        QCOMPARE(m_app->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_app->exitCode(), 0);
        QFile document(documentPath());
        QVERIFY(document.open(QIODevice::ReadOnly));
        const QByteArray written = document.readAll();
        document.close();

        startApp();
        // The live save on the shelf, the trashed one not; nothing rewritten, nothing fetched again.
        const int requests = m_server.requestCount();
        QTRY_COMPARE_WITH_TIMEOUT(texts(), QStringList{QStringLiteral("A kite over the hill")}, kWait);
        QCOMPARE(state().value(QStringLiteral("query")).toString(), QString());
        QVERIFY(document.open(QIODevice::ReadOnly));
        QCOMPARE(document.readAll(), written);
        QCOMPARE(files(QStringLiteral("Videos/Stashwell")), QStringList{QStringLiteral("someone_111.mp4")});
        QCOMPARE(files(QStringLiteral(".local/share/Stashwell/Covers")).size(), 1);
        QCOMPARE(m_server.requestCount(), requests);

        focusLibrary();
        QVERIFY(press(QStringLiteral("ctrl+q")));
        QVERIFY(m_app->waitForFinished(kWait));
        QCOMPARE(m_app->exitCode(), 0);
    }

    void cleanupTestCase()
    {
        for (QProcess *process : {m_app.get(), &m_elsewhere}) {
            if (process && process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }
};

QTEST_GUILESS_MAIN(WholeAppTest)
#include "tst_wholeapp.moc"
