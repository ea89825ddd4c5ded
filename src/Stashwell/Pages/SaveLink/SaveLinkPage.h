#pragma once

// The controller of the Save Link sheet: one page per request, from the request's text. It owns
// the link text, the phase and the chosen collection; the download switch and the quality are the
// Curator's own values, read and written through the page. It looks the link up, keeps the found
// post and ends with onDone: the id of the save (a new one, one taken back from the trash, or the
// one that already held the link), or none when the user cancels.
//
//   appear()     the sheet is on screen: a request that came with text is looked up at once, and
//                from now on every change of the Curator's download switch or quality is written
//                to the preferences "downloadsOnSave" (a Boolean) and "quality" ("original",
//                "hd" or "small")
//   disappear()  the sheet has gone: nothing more is written
//   fetch()      looks the link text up as it stands: fetching, then found, or typing with the
//                refusal's text; a link that is already kept ends the page on its save
//   save()       keeps the found post into the chosen collection and ends the page on its save
//   cancel()     ends the page with no save; the library is not touched
//
// Only the latest look-up decides: each one is numbered, and the reply of an older one is dropped,
// so a slow answer for an earlier link never replaces a newer one. Save keeps only a post that the
// field still names: when the text was changed to another link after the post was found, Save
// looks the field's link up instead. One save at a time; a second press while keeping does nothing.
//
// Save ends the page as soon as the save is in the library and its download, if keeping starts
// one, is under way; the download goes on. A look-up that ends after the page is gone is dropped;
// a save that ends after the page is gone still reports its save to onDone (the save happened),
// so whoever gives onDone must expect a late call.

#include "Capture/Post.h"
#include "Library/Collection.h"
#include "Library/Save.h"
#include "StashKit/SaveRefusal.h"
#include "StashwellUI/SaveLink/SaveLinkPhase.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace sw {
class Curator;
class SaveLinkSheet;
}

namespace sw::app {

class Preferences;

class SaveLinkPage final : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const std::optional<Save::ID> &id)>;

    // The Curator and the preferences must outlive the page.
    SaveLinkPage(Curator &curator, Preferences &preferences, QString url, Done onDone, QObject *parent = nullptr);
    ~SaveLinkPage() override;

    const QString &url() const { return m_url; }
    void setUrl(const QString &url);
    const SaveLinkPhase &phase() const { return m_phase; }
    const std::optional<Collection::ID> &collection() const { return m_collection; }
    void setCollection(const std::optional<Collection::ID> &collection);
    // The library's collections, in library order.
    const QList<Collection> &collections() const { return m_collections; }
    // The Curator's download switch and quality.
    bool downloadsMedia() const;
    void setDownloadsMedia(bool on);
    Quality quality() const;
    void setQuality(Quality quality);

    bool isShown() const { return m_shown; }
    // Whether a keep is under way.
    bool isSaving() const { return m_saving; }

    void appear();
    void disappear();
    QCoro::Task<> fetch();
    QCoro::Task<> save();
    void cancel();

    // The localised text shown for a refusal of a look-up; none for alreadyKept, which is no problem.
    static std::optional<QString> problemText(const SaveRefusal &refusal);

    // Shows the page in the sheet and answers its intents, for as long as both exist.
    void bind(SaveLinkSheet &sheet);

signals:
    void urlChanged();
    void phaseChanged();
    void collectionChanged();
    void collectionsChanged();
    void downloadsMediaChanged();
    void qualityChanged();

private:
    void setPhase(SaveLinkPhase phase);
    void readCollections();
    void writeDownloadsOnSave();
    void writeQuality();

    Curator &m_curator;
    Preferences &m_preferences;
    Done m_onDone;
    QString m_url;
    SaveLinkPhase m_phase;
    std::optional<Collection::ID> m_collection;
    QList<Collection> m_collections;
    // The link text the found post was looked up from.
    QString m_foundFrom;
    std::uint64_t m_lookUps = 0;
    bool m_shown = false;
    bool m_saving = false;
};

}  // namespace sw::app
