#pragma once

// A Curator on scripted services, for the tests of keeping links and downloading: an archive in
// memory that counts its writes, a fetcher that answers from a table, a downloader whose every
// transfer is either scripted in advance or driven by the test step by step, and the live media
// disk over a temporary folder, with its calls recorded and failures on demand.

#include "StashKit/Curator.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "ShelfFixtures.h"
#include "StashKit/LiveMediaDisk.h"

#include <QCoro/QCoroTask>
#include <QCoro/QCoroTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace sw::test {

class MemoryArchive final : public Archiving {
public:
    std::expected<std::optional<Archive>, ArchiveFailure> load() override { return stored; }
    std::expected<void, ArchiveFailure> store(const Archive &archive) override
    {
        ++writes;
        if (full)
            return std::unexpected(ArchiveFailure{ArchiveFailure::Kind::couldNotWrite, QStringLiteral("No space left on device"), {}});
        stored = archive;
        return {};
    }

    std::optional<Archive> stored;
    int writes = 0;
    // While set, every store fails as on a full disk and the stored archive stays.
    bool full = false;
};

class ScriptedFetcher final : public PostFetching {
public:
    QCoro::Task<std::expected<Post, FetchError>> fetch(PostLink link) override
    {
        asked.append(link);
        if (held) {
            // A timer that would fire only in a day, until release() makes it fire next turn.
            auto gate = std::make_shared<QTimer>();
            gate->setSingleShot(true);
            gate->start(std::chrono::hours(24));
            gates.append(gate);
            co_await qCoro(gate.get()).waitForTimeout();
        } else {
            // Answered from the event loop, as a real fetch is.
            co_await QCoro::sleepFor(std::chrono::milliseconds(0));
        }
        if (!answer)
            co_return std::expected<Post, FetchError>(std::unexpected(FetchError(FetchFailure::notFound)));
        co_return answer(link);
    }

    // Lets the fetch of that number (0 for the first asked while held) answer in the next turn,
    // from `answer` as it stands then.
    void release(qsizetype fetch) { gates.at(fetch)->start(0); }

    std::function<std::expected<Post, FetchError>(const PostLink &)> answer;
    QList<PostLink> asked;
    // While held, every fetch waits for the test to release it, so replies can come in any order.
    bool held = false;
    QList<std::shared_ptr<QTimer>> gates;
};

// One planned transfer, in advance: its events, then the end or a failure. A done event writes a
// file of that many bytes at the destination first, as a real download puts the file in place.
struct TransferScript {
    QList<Transfer> events;
    std::optional<TransferError> error;

    static TransferScript arriving(std::int64_t bytes) { return {{Transfer::done(bytes)}, std::nullopt}; }
    static TransferScript failing(TransferError error) { return {{}, std::move(error)}; }
};

class ScriptedDownloader final : public MediaDownloading {
public:
    struct Call {
        Attachment attachment;
        Url destination;
        TransferSink sink;
        std::shared_ptr<bool> cancelled;
        std::int64_t most = 0;
    };

    TransferStream download(const Attachment &attachment, const Url &destination, std::int64_t most) override
    {
        auto [stream, sink] = TransferStream::make();
        auto cancelled = std::make_shared<bool>(false);
        sink.onCancel([cancelled] { *cancelled = true; });
        calls.append(Call{attachment, destination, sink, cancelled, most});
        const auto script = scripts.constFind(attachment.remote().text());
        if (script != scripts.cend())
            play(calls.size() - 1, *script);
        return std::move(stream);
    }

    // Sends events to a transfer the test drives; a done writes the file first.
    void play(qsizetype call, const TransferScript &script)
    {
        const Call &c = calls.at(call);
        for (const Transfer &event : script.events) {
            if (event.isDone() && !c.sink.isClosed())
                writeFile(c.destination, event.bytes());
            c.sink.yield(event);
        }
        if (script.error)
            c.sink.fail(*script.error);
        else
            c.sink.finish();
    }
    void send(qsizetype call, const Transfer &event)
    {
        const Call &c = calls.at(call);
        if (event.isDone() && !c.sink.isClosed())
            writeFile(c.destination, event.bytes());
        c.sink.yield(event);
    }

    static void writeFile(const Url &destination, std::int64_t bytes)
    {
        const QString path = destination.toLocalFile();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(qsizetype(bytes), 'm')) != bytes)
            qFatal("the scripted downloader could not write %s", qPrintable(path));
    }

    QStringList remotes() const
    {
        QStringList out;
        for (const Call &c : calls)
            out.append(c.attachment.remote().text());
        return out;
    }

    // Transfers by remote address; an address without a script waits for the test.
    QHash<QString, TransferScript> scripts;
    QList<Call> calls;
};

class RecordingDisk final : public MediaDisk {
public:
    std::expected<void, DiskError> remove(const QList<Url> &files) override
    {
        removed.append(files);
        if (failRemoving)
            return std::unexpected(DiskError{files.value(0).toLocalFile(), QStringLiteral("refused by the test")});
        return live.remove(files);
    }
    std::expected<void, DiskError> move(const Url &from, const Url &to) override
    {
        moved.append({from, to});
        if (failMoving)
            return std::unexpected(DiskError{from.toLocalFile(), QStringLiteral("refused by the test")});
        return live.move(from, to);
    }
    std::expected<std::int64_t, DiskError> size(const Url &file) override { return live.size(file); }
    std::expected<QSet<QString>, DiskError> names(const Url &folder) override
    {
        if (failListing)
            return std::unexpected(DiskError{folder.toLocalFile(), QStringLiteral("refused by the test")});
        ++listings;
        auto listed = live.names(folder);
        if (afterListing)
            afterListing();
        return listed;
    }
    // Listed on another thread when the test says so; the flags are set before a listing starts.
    bool listsOnAnyThread() const override { return onAnyThread; }
    std::optional<FolderStamp> stamp(const Url &folder) override { return live.stamp(folder); }

    LiveMediaDisk live;
    std::atomic<int> listings = 0;
    QList<Url> removed;
    QList<std::pair<Url, Url>> moved;
    bool failRemoving = false;
    bool failMoving = false;
    bool failListing = false;
    bool onAnyThread = false;
    // Runs on the listing's thread once the folder has been read (a gate for what happens meanwhile).
    std::function<void()> afterListing;
};

// A Curator over the fakes, with its folders in a temporary directory.
struct CuratorRig {
    static constexpr std::int64_t kBudget = 5368709120;

    QTemporaryDir dir;
    std::shared_ptr<MemoryArchive> archive = std::make_shared<MemoryArchive>();
    std::shared_ptr<ScriptedFetcher> fetcher = std::make_shared<ScriptedFetcher>();
    std::shared_ptr<ScriptedDownloader> downloader = std::make_shared<ScriptedDownloader>();
    std::shared_ptr<RecordingDisk> disk = std::make_shared<RecordingDisk>();
    std::unique_ptr<Curator> curator;

    explicit CuratorRig(Library library = {}, CopyTable copies = {}, std::int64_t budget = kBudget)
    {
        if (!dir.isValid())
            qFatal("no temporary folder");
        LocalMedia media(MediaFolder(Url::fromLocalFile(mediaPath())), DiskBudget{budget});
        media.setCopies(std::move(copies));
        curator = std::make_unique<Curator>(std::move(library), std::move(media), Covers(Url::fromLocalFile(coversPath())),
                                            fetcher, downloader, disk, archive, [] { return Date{800000000}; });
        // Each change stored when it returns: the tests count the writes and read what was stored.
        curator->setArchiveWrites(Curator::ArchiveWrites::waited);
    }

    QString mediaPath() const { return dir.filePath(QStringLiteral("media")); }
    QString coversPath() const { return dir.filePath(QStringLiteral("archive/Covers")); }
    QString mediaFile(const QString &name) const { return QDir(mediaPath()).filePath(name); }
    // Where a download writes the file until the document that lists it is on disk.
    QString pendingFile(const QString &name) const { return mediaFile(MediaFolder::pendingName(name)); }
    QString coverFile(const QString &name) const { return QDir(coversPath()).filePath(name); }
    QStringList mediaFiles() const { return QDir(mediaPath()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    LocalCopy copy(const PostLink &link) const { return curator->localMedia().copy(link); }
    // The copy of the link in the last archive written.
    std::optional<LocalCopy> storedCopy(const PostLink &link) const
    {
        if (!archive->stored)
            return std::nullopt;
        if (const LocalCopy *found = archive->stored->copies.find(link))
            return *found;
        return std::nullopt;
    }
};

// Runs the event loop until the condition holds or the time is up.
inline bool settle(const std::function<bool()> &condition, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    return QTest::qWaitFor(condition, int(limit.count()));
}

}  // namespace sw::test
