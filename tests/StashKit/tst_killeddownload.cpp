// A download whose process is killed leaves nothing of ours unaccounted: the next start on the same
// folders either adopts the file for its save or removes it, and never touches the user's own
// files in the media folder. The kills are real: the executable runs again in --child-download
// mode, fetches a video from a slow loopback server and is sent SIGKILL at the moment the test asks.

#include "CuratorRig.h"
#include "HttpServer.h"
#include "StashKit/FileArchive.h"
#include "StashKit/LiveMediaDisk.h"
#include "StashKit/LiveMediaDownloader.h"
#include "StashKit/Network.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>

#include <unistd.h>

using namespace sw;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

constexpr std::int64_t kVideoBytes = 3670016;   // 3.5 MiB
const PostLink kLink = xLink("someone", "77");
const QString kFinal = QStringLiteral("someone_77.mp4");

QByteArray videoBody()
{
    QByteArray body(qsizetype(kVideoBytes), '\0');
    for (qsizetype i = 0; i < body.size(); ++i)
        body[i] = char(i * 7 + i / 4096);
    return body;
}

Curator::Folders foldersIn(const QString &dir)
{
    return Curator::Folders{dir + QStringLiteral("/data"), dir + QStringLiteral("/Videos")};
}

// Tells the parent how far the file has come: "arriving" at the first progress, and "complete"
// once the whole file is on disk, where the process then waits to be killed before the Curator
// hears of it.
class ReportingDownloader final : public MediaDownloading {
public:
    explicit ReportingDownloader(Network &network) : m_live(network) {}

    TransferStream download(const Attachment &attachment, const Url &destination) override
    {
        auto [stream, sink] = TransferStream::make();
        m_pumps.push_back(pump(m_live.download(attachment, destination), sink));
        return std::move(stream);
    }

private:
    static void say(const char *line)
    {
        std::fputs(line, stdout);
        std::fflush(stdout);
    }

    static QCoro::Task<void> pump(TransferStream inner, TransferSink sink)
    {
        bool told = false;
        while (true) {
            const TransferStream::Next next = co_await inner.next();
            if (!next) {
                sink.fail(next.error());
                co_return;
            }
            if (!*next) {
                sink.finish();
                co_return;
            }
            if ((*next)->isDone()) {
                say("complete\n");
                for (;;)
                    ::pause();
            }
            if (!std::exchange(told, true))
                say("arriving\n");
            sink.yield(**next);
        }
    }

    LiveMediaDownloader m_live;
    std::vector<QCoro::Task<void>> m_pumps;
};

int childDownload(const QString &dir)
{
    const Curator::Folders folders = foldersIn(dir);
    Network network(NetworkRoute::direct());
    Curator curator(Library(), LocalMedia(MediaFolder(Url::fromLocalFile(folders.media)), DiskBudget{Curator::kDefaultBudget}),
                    Covers(Url::fromLocalFile(folders.archive + QStringLiteral("/Covers"))),
                    std::make_shared<ScriptedFetcher>(), std::make_shared<ReportingDownloader>(network),
                    std::make_shared<LiveMediaDisk>(), std::make_shared<FileArchive>(folders.archive), {});
    if (!curator.restore() || curator.library().saves.isEmpty())
        return 2;
    curator.reconcile();
    auto task = curator.download(curator.library().saves.first().id());
    // The plan is on disk, as it is long before a real file arrives.
    curator.flush();
    return QCoreApplication::exec();
}

}  // namespace

class TestKilledDownload : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void nothingOfOursIsLeftUnaccounted_data()
    {
        QTest::addColumn<QByteArray>("killedAt");   // the child's line, or "listed": no child
        QTest::addColumn<bool>("adopted");
        QTest::newRow("killed once the file is complete") << QByteArray("complete") << true;
        QTest::newRow("killed while the file arrives") << QByteArray("arriving") << false;
        // The document that lists the file reached the disk; the file never took its name.
        QTest::newRow("killed before the listed file took its name") << QByteArray("listed") << true;
    }

    void nothingOfOursIsLeftUnaccounted()
    {
        QFETCH(QByteArray, killedAt);
        QFETCH(bool, adopted);

        HttpServer server;
        QVERIFY(server.listen());
        const QByteArray body = videoBody();
        server.route("/v.mp4", HttpReply::ok(body, "video/mp4").inPieces(262144, std::chrono::milliseconds(25)));

        QTemporaryDir dir;
        const Curator::Folders folders = foldersIn(dir.path());
        const Post p = post(kLink, {video(kVideoBytes, std::nullopt, server.url(QStringLiteral("/v.mp4")).toString())});
        const Library library({makeSave(1, p)}, {});
        CopyTable copies;
        if (killedAt == "listed")
            copies.insert(kLink, LocalCopy::onThisMac({LocalFile{kFinal, kVideoBytes}}));
        QVERIFY(FileArchive(folders.archive).store(Archive(library, copies)));

        // The user's own files in the folder, one of them hidden and one named like a download.
        QVERIFY(QDir().mkpath(folders.media));
        const QMap<QString, QByteArray> mine{{QStringLiteral("holiday.mp4"), "my own video"},
                                             {QStringLiteral(".notes"), "my own notes"},
                                             {QStringLiteral("someone_77.mp4.part"), "a download of my own"}};
        for (auto it = mine.cbegin(); it != mine.cend(); ++it) {
            QFile file(QDir(folders.media).filePath(it.key()));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it.value().size());
        }

        if (killedAt == "listed") {
            QFile pending(QDir(folders.media).filePath(MediaFolder::pendingName(kFinal)));
            QVERIFY(pending.open(QIODevice::WriteOnly) && pending.write(body) == body.size());
        } else {
            QProcess child;
            child.setProcessChannelMode(QProcess::SeparateChannels);
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-download"), dir.path()});
            QVERIFY(child.waitForStarted());
            QByteArray said;
            const bool reached = QTest::qWaitFor([&] {
                said += child.readAllStandardOutput();
                return said.split('\n').contains(killedAt) || child.state() == QProcess::NotRunning;
            }, 20000);
            QVERIFY2(reached && child.state() == QProcess::Running,
                     qPrintable(QString::fromLocal8Bit(said + child.readAllStandardError())));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(5000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        }

        // The next start on the same folders.
        Network network(NetworkRoute::direct());
        {
            const auto curator = Curator::live(network, false, folders);
            curator->flush();
            const LocalCopy expected =
                adopted ? LocalCopy::onThisMac({LocalFile{kFinal, kVideoBytes}}) : LocalCopy::linkOnly();
            QCOMPARE(curator->localMedia().copy(kLink), expected);
            QCOMPARE(curator->localMedia().used(), adopted ? kVideoBytes : 0);
            // An adopted file is on disk in the document too (a restore alone writes nothing).
            const auto stored = FileArchive(folders.archive).load();
            QVERIFY(stored && *stored);
            if (adopted)
                QCOMPARE(*(*stored)->copies.find(kLink), expected);
        }

        // What is in the folder: the user's files as they were, and the listed file whole.
        QStringList expectedNames = mine.keys();
        if (adopted)
            expectedNames.append(kFinal);
        expectedNames.sort();
        QCOMPARE(QDir(folders.media).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 expectedNames);
        for (auto it = mine.cbegin(); it != mine.cend(); ++it) {
            QFile file(QDir(folders.media).filePath(it.key()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), it.value());
        }
        if (adopted) {
            QFile file(QDir(folders.media).filePath(kFinal));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll() == body);
        }
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::string_view(argv[1]) == "--child-download") {
        QStandardPaths::setTestModeEnabled(true);
        return childDownload(QString::fromLocal8Bit(argv[2]));
    }
    TestKilledDownload test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killeddownload.moc"
