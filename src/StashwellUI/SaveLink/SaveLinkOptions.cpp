#include "StashwellUI/SaveLink/SaveLinkOptions.h"

#include "StashwellUI/Controls/CheckToggle.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace sw {

namespace {

constexpr int rowSpacing = 12;
constexpr int itemSpacing = 8;

}  // namespace

SaveLinkOptions::SaveLinkOptions(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);

    m_download = new CheckToggle(StashwellUIStrings::saveLinkDownloadMedia(), this);
    m_download->setChecked(m_downloadsMedia);
    connect(m_download, &QAbstractButton::clicked, this, [this](bool on) {
        m_downloadsMedia = on;
        applyDownloads();
        emit downloadsMediaChanged(on);
    });

    m_qualityGroup = new QWidget(this);
    auto *qualityLabel = new StyledText(StashwellUIStrings::saveLinkQuality(), Tokens::Typography::body, &Tokens::Colors::text,
                                        m_qualityGroup);
    m_qualityPicker = new GlassPicker(StashwellUIStrings::saveLinkQuality(), qualityOptions(), m_qualityGroup);
    m_qualityPicker->setSelection(int(Quality::Value(m_quality)));
    connect(m_qualityPicker, &GlassPicker::chosen, this, [this](const QVariant &value) {
        const Quality quality(static_cast<Quality::Value>(value.toInt()));
        m_quality = quality;
        emit qualityChanged(quality);
    });
    auto *qualityRow = new QHBoxLayout(m_qualityGroup);
    qualityRow->setContentsMargins(0, 0, 0, 0);
    qualityRow->setSpacing(itemSpacing);
    qualityRow->addWidget(qualityLabel, 0, Qt::AlignVCenter);
    qualityRow->addWidget(m_qualityPicker, 0, Qt::AlignVCenter);

    auto *first = new QHBoxLayout;
    first->setContentsMargins(0, 0, 0, 0);
    first->setSpacing(itemSpacing);
    first->addWidget(m_download, 0, Qt::AlignVCenter);
    first->addStretch(1);
    first->addWidget(m_qualityGroup, 0, Qt::AlignVCenter);

    // The visible text names the picker; the picker's own title is read, not drawn.
    auto *saveTo = new StyledText(StashwellUIStrings::saveLinkSaveTo(), Tokens::Typography::body, &Tokens::Colors::muted, this);
    m_collectionPicker = new GlassPicker(StashwellUIStrings::saveLinkSaveTo(), collectionOptions(m_collections), this);
    connect(m_collectionPicker, &GlassPicker::chosen, this, [this](const QVariant &value) {
        std::optional<Collection::ID> chosen;
        const QString text = value.toString();
        for (const Collection &collection : std::as_const(m_collections)) {
            if (!text.isEmpty() && collection.id.text() == text) {
                chosen = collection.id;
                break;
            }
        }
        m_collection = chosen;
        emit collectionChanged(chosen);
    });
    auto *second = new QHBoxLayout;
    second->setContentsMargins(0, 0, 0, 0);
    second->setSpacing(itemSpacing);
    second->addWidget(saveTo, 0, Qt::AlignVCenter);
    second->addWidget(m_collectionPicker, 0, Qt::AlignVCenter);
    second->addStretch(1);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(rowSpacing);
    column->addLayout(first);
    column->addLayout(second);

    applyDownloads();
    applyCollection();
}

QList<GlassPicker::Option> SaveLinkOptions::qualityOptions()
{
    QList<GlassPicker::Option> options;
    for (Quality quality : Quality::allCases())
        options.append({int(Quality::Value(quality)), quality.title()});
    return options;
}

QList<GlassPicker::Option> SaveLinkOptions::collectionOptions(const QList<Collection> &collections)
{
    QList<GlassPicker::Option> options{{QString(), StashwellUIStrings::collectionNone()}};
    for (const Collection &collection : collections)
        options.append({collection.id.text(), collection.name});
    return options;
}

QVariant SaveLinkOptions::collectionValue(const QList<Collection> &collections, const std::optional<Collection::ID> &collection)
{
    if (collection) {
        for (const Collection &c : collections) {
            if (c.id == *collection)
                return c.id.text();
        }
    }
    return QString();
}

void SaveLinkOptions::setDownloadsMedia(bool on)
{
    if (on == m_downloadsMedia)
        return;
    m_downloadsMedia = on;
    applyDownloads();
}

void SaveLinkOptions::setQuality(Quality quality)
{
    m_quality = quality;
    m_qualityPicker->setSelection(int(Quality::Value(quality)));
}

void SaveLinkOptions::setCollection(const std::optional<Collection::ID> &collection)
{
    if (collection == m_collection)
        return;
    m_collection = collection;
    applyCollection();
}

void SaveLinkOptions::setCollections(const QList<Collection> &collections)
{
    if (collections == m_collections)
        return;
    m_collections = collections;
    applyCollection();
}

void SaveLinkOptions::applyDownloads()
{
    m_download->setChecked(m_downloadsMedia);
    m_qualityGroup->setVisible(m_downloadsMedia);
}

void SaveLinkOptions::applyCollection()
{
    m_collectionPicker->setOptions(collectionOptions(m_collections));
    // An id that no collection has reads as no collection; the filing itself stays as it is.
    m_collectionPicker->setSelection(collectionValue(m_collections, m_collection));
}

}  // namespace sw
