// The real application under an X server (run through scripts/with-xvfb): started with a home of
// its own that holds a generated library, it shows its window; a second launch hands over and
// ends while the first raises its window; SIGTERM ends it cleanly; and the library document is
// exactly as it was. A lock left by a killed process is taken over by the next launch.

#include "LibraryGenerator.h"
#include "StashKit/FileArchive.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <fstream>

using namespace sw;

namespace {

// The top-level windows of the display, bottom to top.
QList<xcb_window_t> stack(xcb_connection_t *c)
{
    QList<xcb_window_t> out;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr);
    if (!tree)
        return out;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
        out.append(children[i]);
    std::free(tree);
    return out;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

QByteArray property(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 1024), nullptr);
    QByteArray out;
    if (reply && reply->type != XCB_ATOM_NONE)
        out = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
    std::free(reply);
    return out;
}

bool viewable(xcb_connection_t *c, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t *reply =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    const bool shown = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(reply);
    return shown;
}

// The shown window titled exactly "Stashwell" of that process, or 0.
xcb_window_t libraryWindowOf(xcb_connection_t *c, qint64 pid)
{
    const xcb_atom_t name = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    const xcb_atom_t wmPid = atom(c, "_NET_WM_PID");
    for (xcb_window_t window : stack(c)) {
        if (!viewable(c, window) || property(c, window, name, utf8) != "Stashwell")
            continue;
        const QByteArray owner = property(c, window, wmPid, XCB_ATOM_CARDINAL);
        if (owner.size() == 4 && qint64(*reinterpret_cast<const quint32 *>(owner.constData())) == pid)
            return window;
    }
    return 0;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QString m_document;
    QByteArray m_written;
    xcb_connection_t *m_x = nullptr;

    QString data(const QString &relative) const { return m_home.filePath(relative); }

    void launch(QProcess &process)
    {
        process.setProcessEnvironment(m_environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(STASHWELL_BINARY), {});
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
    }

    void waitForWindow(const QProcess &process, xcb_window_t *window)
    {
        QTRY_VERIFY_WITH_TIMEOUT((*window = libraryWindowOf(m_x, process.processId())) != 0, 30000);
    }

    void documentIsAsWritten()
    {
        QCOMPARE(contents(m_document), m_written);
        const auto loaded = FileArchive(QFileInfo(m_document).absolutePath()).load();
        QVERIFY(loaded && *loaded);
        QCOMPARE((*loaded)->library.saves.size(), 400);
    }

private slots:
    void initTestCase()
    {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11 || !x11->connection())
            QSKIP("needs an X display (run through scripts/with-xvfb)");
        m_x = x11->connection();
        QVERIFY(m_home.isValid());

        // A generated library, with the media files its finished copies name, so that the
        // reconciling at start finds nothing to change.
        bench::LibraryShape shape;
        shape.saves = 400;
        const Archive archive = bench::generateArchive(shape);
        const QString media = data(QStringLiteral("Videos/Stashwell"));
        QVERIFY(QDir().mkpath(media));
        for (auto entry : archive.copies) {
            if (const auto *onThisComputer = entry.copy.asOnThisComputer()) {
                for (const LocalFile &file : onThisComputer->files) {
                    QFile f(QDir(media).filePath(file.name));
                    QVERIFY(f.open(QIODevice::WriteOnly));
                }
            }
        }
        const QString folder = data(QStringLiteral(".local/share/Stashwell"));
        QVERIFY(QDir().mkpath(folder));
        m_document = QDir(folder).filePath(QStringLiteral("library.json"));
        {
            std::ofstream out(m_document.toStdString(), std::ios::binary);
            out << bench::generateDocument(shape);
        }
        m_written = contents(m_document);
        QVERIFY(m_written.size() > 10000);

        const QString runtime = data(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("HOME"), m_home.path());
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), data(QStringLiteral(".local/share")));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), data(QStringLiteral(".config")));
        m_environment.insert(QStringLiteral("XDG_CACHE_HOME"), data(QStringLiteral(".cache")));
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        m_environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        // No desktop services: the application must start without them.
        m_environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    }

    void secondLaunchHandsOverAndTheFirstComesToTheFront()
    {
        QProcess first;
        launch(first);
        xcb_window_t library = 0;
        waitForWindow(first, &library);

        // Another window over it, as when the user works elsewhere.
        QWidget cover;
        cover.setWindowTitle(QStringLiteral("cover"));
        cover.setGeometry(0, 0, 1600, 1000);
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        const xcb_window_t coverId = xcb_window_t(cover.winId());
        QTRY_VERIFY(stack(m_x).indexOf(coverId) > stack(m_x).indexOf(library));

        QProcess second;
        launch(second);
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        // The second made no window of its own; the first came over the cover.
        QCOMPARE(libraryWindowOf(m_x, second.processId()), xcb_window_t(0));
        QTRY_VERIFY_WITH_TIMEOUT(stack(m_x).indexOf(library) > stack(m_x).indexOf(coverId), 10000);
        QCOMPARE(first.state(), QProcess::Running);

        first.terminate();   // SIGTERM
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        // The lock is let go on the way out.
        QVERIFY(!QFile::exists(data(QStringLiteral(".local/share/Stashwell/library.lock"))));
        documentIsAsWritten();
    }

    void aLockLeftByACrashIsTakenOver()
    {
        QProcess crashed;
        launch(crashed);
        xcb_window_t window = 0;
        waitForWindow(crashed, &window);
        crashed.kill();   // SIGKILL: the lock file stays behind
        QVERIFY(crashed.waitForFinished(30000));
        QVERIFY(QFile::exists(data(QStringLiteral(".local/share/Stashwell/library.lock"))));

        QProcess next;
        launch(next);
        waitForWindow(next, &window);
        QCOMPARE(next.state(), QProcess::Running);
        next.terminate();
        QVERIFY(next.waitForFinished(30000));
        QCOMPARE(next.exitCode(), 0);
        documentIsAsWritten();
    }
};

QTEST_MAIN(ApplicationTest)
#include "tst_application.moc"
