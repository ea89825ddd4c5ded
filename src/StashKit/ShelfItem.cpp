#include "ShelfItem.h"

#include <type_traits>

namespace sw {

std::size_t qHash(const Action &action, std::size_t seed) noexcept
{
    seed = qHashMulti(seed, action.index());
    if (const auto *d = std::get_if<Action::Download>(&action.value()))
        return qHashMulti(seed, d->bytes);
    if (const auto *d = std::get_if<Action::Downloading>(&action.value()))
        return qHashMulti(seed, d->fraction);
    return seed;
}

Action ShelfItem::action() const
{
    if (m_save.isTrashed())
        return Action::restore();
    const Post &post = m_save.post();
    if (!post.hasMedia())
        return post.link.isX() ? Action::openOnX() : Action::open();
    return std::visit(
        [&](const auto &c) -> Action {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, LocalCopy::Downloading>)
                return Action::downloading(c.of == 0 ? 1.0 : double(c.received) / double(c.of));
            else if constexpr (std::is_same_v<C, LocalCopy::OnThisMac>)
                return post.kind() == Kind::video ? Action::play() : Action::open();
            else if constexpr (std::is_same_v<C, LocalCopy::Failed>)
                return Action::retry();
            else
                return Action::download(post.mediaBytes(m_quality));
        },
        m_copy.value());
}

std::optional<LocalFile> ShelfItem::videoFile() const
{
    const auto *here = m_copy.asOnThisMac();
    if (!here)
        return std::nullopt;
    const auto &attachments = m_save.post().attachments;
    for (std::size_t i = 0; i < attachments.size(); ++i) {
        if (attachments[i].isVideo()) {
            if (i < std::size_t(here->files.size()))
                return here->files.at(qsizetype(i));
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::size_t qHash(const ShelfItem &item, std::size_t seed) noexcept
{
    seed = qHashMulti(seed, item.save(), item.copy(), item.quality(), item.cover().has_value());
    if (item.cover())
        seed = qHash(*item.cover(), seed);
    seed = qHashMulti(seed, item.pictures().size());
    for (const auto &picture : item.pictures()) {
        seed = qHashMulti(seed, picture.has_value());
        if (picture)
            seed = qHash(*picture, seed);
    }
    return seed;
}

}  // namespace sw
