#include "Stashwell/Pages/SaveLink/SaveLinkPage.h"

#include "Capture/PostLink.h"
#include "StashKit/Curator.h"
#include "Stashwell/Pages/Keeping/FoundPostKeeping.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"

#include <QPointer>

namespace sw::app {

namespace {

// Whether two link texts name the same post: the same text, or two texts read as one link.
bool sameLink(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const auto first = PostLink::reading(a);
    const auto second = PostLink::reading(b);
    return first && second && *first == *second;
}

}  // namespace

SaveLinkPage::SaveLinkPage(Curator &curator, Preferences &preferences, QString url, Done onDone, QObject *parent)
    : QObject(parent), m_curator(curator), m_preferences(preferences), m_onDone(std::move(onDone)), m_url(std::move(url))
{
    m_collections = m_curator.library().collections;
    connect(&m_curator, &Curator::libraryChanged, this, &SaveLinkPage::readCollections);
    connect(&m_curator, &Curator::downloadsOnSaveChanged, this, [this] {
        writeDownloadsOnSave();
        emit downloadsMediaChanged();
    });
    connect(&m_curator, &Curator::qualityChanged, this, [this] {
        writeQuality();
        emit qualityChanged();
    });
}

SaveLinkPage::~SaveLinkPage() = default;

void SaveLinkPage::setUrl(const QString &url)
{
    if (url == m_url)
        return;
    m_url = url;
    emit urlChanged();
}

void SaveLinkPage::setCollection(const std::optional<Collection::ID> &collection)
{
    if (collection == m_collection)
        return;
    m_collection = collection;
    emit collectionChanged();
}

bool SaveLinkPage::downloadsMedia() const { return m_curator.downloadsOnSave(); }

void SaveLinkPage::setDownloadsMedia(bool on) { m_curator.setDownloadsOnSave(on); }

Quality SaveLinkPage::quality() const { return m_curator.quality(); }

void SaveLinkPage::setQuality(Quality quality) { m_curator.setQuality(quality); }

void SaveLinkPage::appear()
{
    if (m_shown)
        return;
    m_shown = true;
    // A link that came with the request is looked up without a word from the user; the text is
    // taken as it is, spaces and all (the Curator trims it).
    if (!m_url.isEmpty())
        fetch();
}

void SaveLinkPage::disappear() { m_shown = false; }

QCoro::Task<> SaveLinkPage::fetch()
{
    const std::uint64_t number = ++m_lookUps;
    const QString text = m_url;
    setPhase(SaveLinkPhase::fetching());
    const QPointer<SaveLinkPage> self(this);
    const std::expected<Post, SaveRefusal> looked = co_await m_curator.look(text);
    // The page may be gone, or a newer look-up may have started meanwhile: then this one says nothing.
    if (!self || number != m_lookUps)
        co_return;
    if (looked) {
        m_foundFrom = text;
        setPhase(SaveLinkPhase::found(*looked));
        co_return;
    }
    if (const SaveRefusal::AlreadyKept *kept = looked.error().asAlreadyKept()) {
        // The phase stays: the sheet ends on the save that holds the link.
        const Done done = m_onDone;
        done(kept->id);
        co_return;
    }
    setPhase(SaveLinkPhase::typing(problemText(looked.error())));
}

QCoro::Task<> SaveLinkPage::save()
{
    const Post *found = m_phase.post();
    if (!found || m_saving)
        co_return;
    if (!sameLink(m_url, m_foundFrom)) {
        // The field names another link than the one found: that link is looked up, not kept.
        co_await fetch();
        co_return;
    }
    m_saving = true;
    const Done done = m_onDone;
    const QPointer<SaveLinkPage> self(this);
    const KeptPost kept = co_await keepFound(m_curator, *found, m_collection);
    if (self)
        m_saving = false;
    // Reported even when the sheet has gone meanwhile: the save exists.
    done(kept.id);
}

void SaveLinkPage::cancel()
{
    const Done done = m_onDone;
    done(std::nullopt);
}

std::optional<QString> SaveLinkPage::problemText(const SaveRefusal &refusal)
{
    if (refusal.isNotALink())
        return StashwellStrings::refusalNotALink();
    if (refusal.isNotAPost())
        return StashwellStrings::refusalNotAPost();
    if (refusal.isUnreachable())
        return StashwellStrings::refusalUnreachable();
    return std::nullopt;
}

void SaveLinkPage::setPhase(SaveLinkPhase phase)
{
    if (phase == m_phase)
        return;
    m_phase = std::move(phase);
    emit phaseChanged();
}

void SaveLinkPage::readCollections()
{
    const QList<Collection> &now = m_curator.library().collections;
    if (now == m_collections)
        return;
    m_collections = now;
    emit collectionsChanged();
}

void SaveLinkPage::writeDownloadsOnSave()
{
    if (m_shown)
        m_preferences.setValue(Preferences::downloadsOnSave, m_curator.downloadsOnSave());
}

void SaveLinkPage::writeQuality()
{
    if (m_shown)
        m_preferences.setValue(Preferences::quality, m_curator.quality().rawValue());
}

void SaveLinkPage::bind(SaveLinkSheet &sheet)
{
    sheet.setUrl(m_url);
    sheet.setPhase(m_phase);
    sheet.setDownloadsMedia(downloadsMedia());
    sheet.setQuality(quality());
    sheet.setCollections(m_collections);
    sheet.setCollection(m_collection);

    // What the page holds, shown.
    connect(this, &SaveLinkPage::urlChanged, &sheet, [this, &sheet] { sheet.setUrl(m_url); });
    connect(this, &SaveLinkPage::phaseChanged, &sheet, [this, &sheet] { sheet.setPhase(m_phase); });
    connect(this, &SaveLinkPage::downloadsMediaChanged, &sheet, [this, &sheet] { sheet.setDownloadsMedia(downloadsMedia()); });
    connect(this, &SaveLinkPage::qualityChanged, &sheet, [this, &sheet] { sheet.setQuality(quality()); });
    connect(this, &SaveLinkPage::collectionsChanged, &sheet, [this, &sheet] { sheet.setCollections(m_collections); });
    connect(this, &SaveLinkPage::collectionChanged, &sheet, [this, &sheet] { sheet.setCollection(m_collection); });

    // What the user does, taken.
    connect(&sheet, &SaveLinkSheet::urlEdited, this, &SaveLinkPage::setUrl);
    connect(&sheet, &SaveLinkSheet::downloadsMediaChanged, this, &SaveLinkPage::setDownloadsMedia);
    connect(&sheet, &SaveLinkSheet::qualityChanged, this, &SaveLinkPage::setQuality);
    connect(&sheet, &SaveLinkSheet::collectionChanged, this, &SaveLinkPage::setCollection);
    connect(&sheet, &SaveLinkSheet::fetchRequested, this, [this] { fetch(); });
    connect(&sheet, &SaveLinkSheet::saveRequested, this, [this] { save(); });
    connect(&sheet, &SaveLinkSheet::cancelRequested, this, &SaveLinkPage::cancel);
}

}  // namespace sw::app
