// The Curator's two steps from pasted text to a save: looking the link up, and keeping its post.

#include "StashKit/Curator.h"

#include <QPointer>

#include <utility>
#include <variant>

namespace sw {

QCoro::Task<std::expected<Post, SaveRefusal>> Curator::look(QString text)
{
    using Result = std::expected<Post, SaveRefusal>;
    const QPointer<Curator> self(this);
    const auto link = PostLink::reading(text);
    if (!link)
        co_return Result(std::unexpected(SaveRefusal::from(link.error())));
    // A live save of the link is answered without asking the network; a trashed one is fetched
    // again, and keeping it restores it.
    if (const std::optional<Save> existing = m_library.save(*link); existing && !existing->isTrashed())
        co_return Result(std::unexpected(SaveRefusal::alreadyKept(existing->id())));

    // The fetcher stays alive for the fetch, whatever happens to the Curator meanwhile.
    const std::shared_ptr<PostFetching> fetching = m_fetching;
    const std::expected<Post, FetchError> fetched = co_await fetching->fetch(*link);
    if (!self || !fetched)
        co_return Result(std::unexpected(SaveRefusal::unreachable()));
    co_return Result(*fetched);
}

QCoro::Task<Library::Keeping> Curator::keep(Post post, std::optional<Collection::ID> in)
{
    const QPointer<Curator> self(this);
    const Date at = m_now();
    const Save::ID id = Save::ID::random();
    // Written whatever the outcome, already kept included.
    const Library::Keeping keeping =
        changeLibrary([&](Library &library) { return library.keep(post, at, in, id); });

    co_await keepCover(post);
    if (!self)
        co_return keeping;
    if (m_downloadsOnSave && std::holds_alternative<Library::Kept>(keeping) && post.hasMedia()) {
        // A refused plan leaves the copy as it was; the save is kept all the same.
        const auto downloaded = co_await download(Library::idOf(keeping));
        (void)downloaded;
    }
    co_return keeping;
}

QCoro::Task<std::expected<Save::ID, SaveRefusal>> Curator::save(QString pasted, std::optional<Collection::ID> in)
{
    using Result = std::expected<Save::ID, SaveRefusal>;
    const QPointer<Curator> self(this);
    const std::expected<Post, SaveRefusal> looked = co_await look(std::move(pasted));
    if (!looked)
        co_return Result(std::unexpected(looked.error()));
    if (!self)
        co_return Result(std::unexpected(SaveRefusal::unreachable()));
    const Library::Keeping keeping = co_await keep(*looked, std::move(in));
    co_return Result(Library::idOf(keeping));
}

}  // namespace sw
