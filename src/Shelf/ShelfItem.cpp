#include "Shelf/ShelfItem.h"

#include "Library/SaveList.h"
#include "Shelf/ListRooms.h"

#include <QThreadPool>

#include <type_traits>

static_assert(sizeof(sw::ShelfItem) == 24, "a shelf item is three words: long lists are kept");

namespace sw {

std::uint64_t ShelfItem::idKey(const Save::ID &id)
{
    // The list of saves keeps the same word beside each save: a shelf makes its items' keys from
    // there rather than from the saves' data.
    return foldedKey(SaveList::keyOf(id));
}

qsizetype ShelfItem::indexOf(const QList<ShelfItem> &items, const Save::ID &id)
{
    const std::uint64_t key = idKey(id);
    const ShelfItem *data = items.constData();
    for (qsizetype i = 0, n = items.size(); i < n; ++i) {
        if (data[i].m_idKey == key && data[i].m_save->id() == id)
            return i;
    }
    return -1;
}

ShelfItem::Holder ShelfItem::hold(std::shared_ptr<const Context> context)
{
    Holder holder(new Hold);
    holder->context = std::move(context);
    return holder;
}

ShelfItem ShelfItem::owning(Save save, Quality quality, std::shared_ptr<const Context> context)
{
    Holder holder(new Hold);
    holder->context = std::move(context);
    holder->own = std::make_shared<const Save>(std::move(save));
    const Save *saved = holder->own.get();
    return ShelfItem(saved, quality, std::move(holder), SaveList::keyOf(saved->id()), saved->kind());
}

void ShelfItem::setOverrides(std::shared_ptr<const Overrides> overrides)
{
    Holder next(new Hold);
    if (m_hold) {
        next->context = m_hold->context;
        // The save an item owns stays where it is: the new hold shares it.
        next->own = m_hold->own;
    }
    next->overrides = std::move(overrides);
    m_hold = std::move(next);
}

const LocalCopy &ShelfItem::copy() const
{
    const Context *context = this->context();
    if (!context)
        return linkOnly();
    const Save &save = *m_save;
    const LocalCopy *found = context->copies.lookUp(save.post().link, save.linkKey(), save.copyMemo()).copy;
    return found ? *found : linkOnly();
}

std::size_t qHash(const Action &action, std::size_t seed) noexcept
{
    seed = qHashMulti(seed, action.index());
    if (const auto *d = std::get_if<Action::Download>(&action.value()))
        return qHashMulti(seed, d->bytes);
    if (const auto *d = std::get_if<Action::Downloading>(&action.value()))
        return qHashMulti(seed, d->fraction);
    return seed;
}

namespace {

// Two rooms of lists of at least 16,384 items (384 KiB): the ones a search over a large library
// makes anew letter by letter. Made once and never destroyed: a list may be let go while the
// program ends.
ListRooms<ShelfItem> &rooms()
{
    static auto *kept = new ListRooms<ShelfItem>(16384, 2);
    return *kept;
}

}  // namespace

void ShelfItem::letGoElsewhere(std::vector<QList<ShelfItem>> lists)
{
    if (lists.empty())
        return;
    // The task holds the only reference: were the caller to keep one, the lists would end on its
    // thread whenever the task finished first.
    auto held = std::make_shared<std::vector<QList<ShelfItem>>>(std::move(lists));
    QThreadPool::globalInstance()->start([held = std::move(held)]() mutable {
        for (QList<ShelfItem> &list : *held)
            rooms().keep(std::move(list));
        held.reset();
    });
}

QArrayDataPointer<ShelfItem> ShelfItem::roomFor(qsizetype n) { return rooms().take(n); }

const LocalCopy &ShelfItem::linkOnly()
{
    static const LocalCopy none = LocalCopy::linkOnly();
    return none;
}

void ShelfItem::setCover(std::optional<Url> cover)
{
    auto next = std::make_shared<Overrides>(overrides() ? *overrides() : Overrides{});
    if (!next->pictures)
        next->pictures = pictures();
    next->cover = std::move(cover);
    setOverrides(std::move(next));
}

void ShelfItem::setPictures(std::vector<std::optional<Url>> pictures)
{
    auto next = std::make_shared<Overrides>(overrides() ? *overrides() : Overrides{});
    next->pictures = std::move(pictures);
    setOverrides(std::move(next));
}

std::optional<Url> ShelfItem::cover() const
{
    if (const Overrides *set = overrides(); set && set->cover)
        return *set->cover;
    const Post &post = m_save->post();
    if (const Context *context = this->context(); context && context->covers)
        return context->covers->picture(post);
    return post.preview;
}

std::vector<std::optional<Url>> ShelfItem::pictures() const
{
    if (const Overrides *set = overrides(); set && set->pictures)
        return *set->pictures;
    const Post &post = m_save->post();
    const std::optional<Url> cover = this->cover();
    // The i-th attachment pairs with the i-th downloaded file.
    const auto *here = copy().asOnThisComputer();
    std::vector<std::optional<Url>> pictures;
    pictures.reserve(post.attachments.size());
    bool videoSeen = false;
    for (std::size_t i = 0; i < post.attachments.size(); ++i) {
        const Attachment &attachment = post.attachments[i];
        if (attachment.isVideo()) {
            pictures.push_back(videoSeen ? std::nullopt : cover);
            videoSeen = true;
        } else if (const auto *image = attachment.asImage()) {
            if (here && context() && i < std::size_t(here->files.size()))
                pictures.push_back(context()->folder.url(here->files.at(qsizetype(i))));
            else if (i == 0)
                pictures.push_back(cover);
            else
                pictures.push_back(image->url);
        } else {
            pictures.push_back(cover);
        }
    }
    return pictures;
}

bool operator==(const ShelfItem &a, const ShelfItem &b)
{
    // Copies of one item (a list shown again with another selection): the cover and the pictures
    // are worked out from the save, the copy, the context and the overrides alone, so they agree
    // without being worked out.
    // One save's data in one context has one copy.
    if (a.m_save->sharesDataWith(*b.m_save) && a.m_quality == b.m_quality && a.context() == b.context()
        && a.overrides() == b.overrides())
        return true;
    return a.save() == b.save() && a.copy() == b.copy() && a.quality() == b.quality() && a.cover() == b.cover()
           && a.pictures() == b.pictures();
}

Action ShelfItem::action() const
{
    if (m_save->isTrashed())
        return Action::restore();
    const Post &post = m_save->post();
    if (!post.hasMedia())
        return post.link.isX() ? Action::openOnX() : Action::open();
    return std::visit(
        [&](const auto &c) -> Action {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, LocalCopy::Downloading>)
                return Action::downloading(c.of == 0 ? 1.0 : double(c.received) / double(c.of));
            else if constexpr (std::is_same_v<C, LocalCopy::OnThisComputer>)
                return post.kind() == Kind::video ? Action::play() : Action::open();
            else if constexpr (std::is_same_v<C, LocalCopy::Failed>)
                return Action::retry();
            else
                return Action::download(post.mediaBytes(m_quality));
        },
        copy().value());
}

std::optional<LocalFile> ShelfItem::videoFile() const
{
    const auto *here = copy().asOnThisComputer();
    if (!here)
        return std::nullopt;
    const auto &attachments = m_save->post().attachments;
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
    const auto cover = item.cover();
    seed = qHashMulti(seed, item.save(), item.copy(), item.quality(), cover.has_value());
    if (cover)
        seed = qHash(*cover, seed);
    const auto pictures = item.pictures();
    seed = qHashMulti(seed, pictures.size());
    for (const auto &picture : pictures) {
        seed = qHashMulti(seed, picture.has_value());
        if (picture)
            seed = qHash(*picture, seed);
    }
    return seed;
}

}  // namespace sw
