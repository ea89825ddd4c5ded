// A download whose process is killed leaves nothing of ours unaccounted: the next start adopts
// the file for its save or removes it, and never touches the user's own files. The kills are
// real: the executable runs again in --child-download mode, fetches a video from a slow loopback
// server and is sent SIGKILL when it says it has reached the moment the test asks for.

#include "CuratorRig.h"
#include "HttpServer.h"
#include "StashKit/FileArchive.h"
#include "StashKit/LiveMediaDownloader.h"
#include "StashKit/LivePostFetcher.h"
#include "StashKit/Network.h"

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>

#include <unistd.h>

using namespace sw;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

constexpr std::int64_t kBytes = 3670016;   // 3.5 MiB
const QString kName = QStringLiteral("someone_77.mp4");

Curator::Folders foldersIn(const QString &dir) { return {dir + QStringLiteral("/data"), dir + QStringLiteral("/Videos")}; }

// Says "arriving" at the first progress, and "complete" once the whole file is on disk, where it
// then waits to be killed before the Curator hears of the file.
class ReportingDownloader final : public MediaDownloading {
public:
    explicit ReportingDownloader(Network &network) : m_live(network) {}
    TransferStream download(const Attachment &attachment, const Url &destination, std::int64_t most) override
    {
        auto [stream, sink] = TransferStream::make();
        m_pumps.push_back(pump(m_live.download(attachment, destination, most), sink));
        return std::move(stream);
    }

private:
    static QCoro::Task<void> pump(TransferStream inner, TransferSink sink)
    {
        for (bool told = false;; told = true) {
            const TransferStream::Next next = co_await inner.next();
            if (!next || !*next)
                co_return next ? sink.finish() : sink.fail(next.error());
            std::fputs((*next)->isDone() ? "complete\n" : told ? "" : "arriving\n", stdout);
            std::fflush(stdout);
            while ((*next)->isDone())
                ::pause();
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
                    Covers(), std::make_shared<ScriptedFetcher>(), std::make_shared<ReportingDownloader>(network),
                    std::make_shared<LiveMediaDisk>(), std::make_shared<FileArchive>(folders.archive), {});
    if (!curator.restore() || curator.library().saves.isEmpty())
        return 2;
    auto task = curator.download(curator.library().saves.first().id());
    curator.flush();   // the plan is on disk, as it is long before a real file arrives
    return QCoreApplication::exec();
}

}  // namespace

class TestKilledDownload : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void nothingOfOursIsLeftUnaccounted_data()
    {
        QTest::addColumn<QByteArray>("killedAt");   // the child's line; "listed": no child
        QTest::addColumn<bool>("adopted");
        QTest::addColumn<Curator::Start>("start");
        for (const Curator::Start start : {Curator::Start::whole, Curator::Start::behindFirstWindow}) {
            const char *next = start == Curator::Start::whole ? "" : ", started behind a window";
            QTest::addRow("killed once the file is complete%s", next) << QByteArray("complete") << true << start;
            QTest::addRow("killed while the file arrives%s", next) << QByteArray("arriving") << false << start;
            // The document that lists the file reached the disk; the file never took its name.
            QTest::addRow("killed before a listed file took its name%s", next) << QByteArray("listed") << true << start;
        }
    }

    void nothingOfOursIsLeftUnaccounted()
    {
        QFETCH(QByteArray, killedAt);
        QFETCH(bool, adopted);
        QFETCH(Curator::Start, start);
        HttpServer server;
        QVERIFY(server.listen());
        const QByteArray body = QByteArray("0123456789abcdef").repeated(kBytes / 16);
        server.route("/v.mp4", HttpReply::ok(body, "video/mp4").inPieces(262144, std::chrono::milliseconds(25)));

        QTemporaryDir dir;
        const Curator::Folders folders = foldersIn(dir.path());
        const PostLink link = xLink("someone", "77");
        CopyTable copies;
        if (killedAt == "listed")
            copies.insert(link, LocalCopy::onThisComputer({LocalFile{kName, kBytes}}));
        const Post p = post(link, {video(kBytes, std::nullopt, server.url(QStringLiteral("/v.mp4")).toString())});
        QVERIFY(FileArchive(folders.archive).store(Archive(Library({makeSave(1, p)}, {}), copies)));

        // The user's own files, one hidden and one named like a download; a file of ours that an
        // older crash left; and the file of the row that waits for its name.
        const QMap<QString, QByteArray> mine{{QStringLiteral("holiday.mp4"), "my video"},
                                             {QStringLiteral(".notes"), "my notes"},
                                             {kName + QStringLiteral(".part"), "my download"}};
        QMap<QString, QByteArray> present = mine;
        present.insert(MediaFolder::pendingName(QStringLiteral("gone_1.jpg")), "old");
        if (killedAt == "listed")
            present.insert(MediaFolder::pendingName(kName), body);
        QVERIFY(QDir().mkpath(folders.media));
        for (auto it = present.cbegin(); it != present.cend(); ++it) {
            QFile file(QDir(folders.media).filePath(it.key()));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it.value().size());
        }

        if (killedAt != "listed") {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-download"), dir.path()});
            QByteArray said;
            QVERIFY(QTest::qWaitFor([&] {
                said += child.readAllStandardOutput();
                return said.split('\n').contains(killedAt) || child.state() == QProcess::NotRunning;
            }, 20000));
            QVERIFY2(child.state() == QProcess::Running, qPrintable(QString::fromLocal8Bit(said + child.readAllStandardError())));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(5000));
        }

        // The next start on the same folders.
        Network network(NetworkRoute::direct());
        const LocalCopy expected = adopted ? LocalCopy::onThisComputer({LocalFile{kName, kBytes}}) : LocalCopy::linkOnly();
        QMap<QString, QByteArray> left = mine;
        if (adopted)
            left.insert(kName, body);
        const auto listed = [&] {
            return QDir(folders.media).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        };
        {
            const auto curator = Curator::live(network, false, folders, LivePostFetcher::defaultApiBase(), start);
            // Behind a window the folder is settled once its listing is back.
            QTRY_COMPARE(listed(), QStringList(left.keys()));
            curator->flush();
            QCOMPARE(curator->localMedia().copy(link), expected);
            QCOMPARE(curator->localMedia().used(), adopted ? kBytes : 0);
        }
        if (adopted)   // in the document too (a restore alone writes nothing)
            QCOMPARE(*(*FileArchive(folders.archive).load())->copies.find(link), expected);

        // In the folder: the user's files as they were, and the listed file whole.
        QCOMPARE(listed(), QStringList(left.keys()));
        for (auto it = left.cbegin(); it != left.cend(); ++it) {
            QFile file(QDir(folders.media).filePath(it.key()));
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == it.value());
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
