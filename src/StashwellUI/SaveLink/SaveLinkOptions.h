#pragma once

// The choices the Save Link sheet offers for what happens to a post once it is kept: whether its
// media is downloaded, at which quality videos are downloaded (asked only while downloading is
// on), and the collection the save is filed into.
//
// The block shows its owner's values (the set... functions) and reports each choice the user
// makes through its signals, also a choice that is already in force; it takes the choice as its
// own value at once, as a bound control does. It calls nothing else.

#include "Capture/Post.h"
#include "Library/Collection.h"
#include "StashwellUI/Controls/GlassPicker.h"

#include <QList>
#include <QWidget>

#include <optional>

namespace sw {

class CheckToggle;
class StyledText;

class SaveLinkOptions : public QWidget {
    Q_OBJECT
public:
    explicit SaveLinkOptions(QWidget *parent = nullptr);

    bool downloadsMedia() const { return m_downloadsMedia; }
    void setDownloadsMedia(bool on);
    Quality quality() const { return m_quality; }
    void setQuality(Quality quality);
    const std::optional<Collection::ID> &collection() const { return m_collection; }
    void setCollection(const std::optional<Collection::ID> &collection);
    const QList<Collection> &collections() const { return m_collections; }
    void setCollections(const QList<Collection> &collections);

    // Every quality in its fixed order, each with its display name.
    static QList<GlassPicker::Option> qualityOptions();
    // "collection.none" first, then each collection in the order given, by its name.
    static QList<GlassPicker::Option> collectionOptions(const QList<Collection> &collections);
    // The option that stands for a filing: the collection's own when one of `collections` has
    // that id, otherwise the one for no collection.
    static QVariant collectionValue(const QList<Collection> &collections, const std::optional<Collection::ID> &collection);

    CheckToggle *downloadToggle() const { return m_download; }
    GlassPicker *qualityPicker() const { return m_qualityPicker; }
    GlassPicker *collectionPicker() const { return m_collectionPicker; }
    // Whether the quality question is part of the block now.
    bool showsQuality() const { return !m_qualityGroup->isHidden(); }

signals:
    void downloadsMediaChanged(bool on);
    void qualityChanged(sw::Quality quality);
    void collectionChanged(const std::optional<sw::Collection::ID> &collection);

private:
    void applyDownloads();
    void applyCollection();

    bool m_downloadsMedia = true;
    Quality m_quality = Quality::original;
    std::optional<Collection::ID> m_collection;
    QList<Collection> m_collections;

    CheckToggle *m_download = nullptr;
    QWidget *m_qualityGroup = nullptr;
    GlassPicker *m_qualityPicker = nullptr;
    GlassPicker *m_collectionPicker = nullptr;
};

}  // namespace sw
