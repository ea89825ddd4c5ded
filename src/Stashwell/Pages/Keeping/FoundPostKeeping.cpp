#include "Stashwell/Pages/Keeping/FoundPostKeeping.h"

#include "StashKit/Curator.h"

#include <QCoro/QCoroSignal>
#include <QObject>

#include <memory>

namespace sw::app {

namespace {

// Holds the first outcome and announces it a turn later.
class KeepingWatch final : public QObject {
    Q_OBJECT
public:
    void settle(KeptPost outcome)
    {
        if (m_outcome)
            return;
        m_outcome = outcome;
        QMetaObject::invokeMethod(this, &KeepingWatch::settled, Qt::QueuedConnection);
    }
    const std::optional<KeptPost> &outcome() const { return m_outcome; }

signals:
    void settled();

private:
    std::optional<KeptPost> m_outcome;
};

}  // namespace

QCoro::Task<KeptPost> keepFound(Curator &curator, Post post, std::optional<Collection::ID> in)
{
    const auto watch = std::make_unique<KeepingWatch>();
    const PostLink link = post.link;
    // A copy already under way belongs to an earlier run (a save restored from the trash while its
    // download went on); only a download that this keep starts counts.
    const bool wasDownloading = curator.localMedia().copy(link).asDownloading() != nullptr;
    QObject::connect(&curator, &Curator::localMediaChanged, watch.get(), [&curator, watch = watch.get(), link, wasDownloading] {
        if (wasDownloading || !curator.localMedia().copy(link).asDownloading())
            return;
        if (const std::optional<Save> save = curator.library().save(link))
            watch->settle(KeptPost{save->id(), true});
    });

    // Keeping starts at once and runs to its first wait (the cover) before this call returns; the
    // watch is listening already, in case it gets as far as the download without waiting.
    QCoro::Task<Library::Keeping> keeping = curator.keep(std::move(post), std::move(in));
    QCoro::connect(std::move(keeping), watch.get(), [watch = watch.get()](const Library::Keeping &kept) {
        watch->settle(KeptPost{Library::idOf(kept), false});
    });

    // Settled already or not, the announcement comes in a later turn.
    co_await qCoro(watch.get(), &KeepingWatch::settled);
    co_return *watch->outcome();
}

}  // namespace sw::app

#include "FoundPostKeeping.moc"
