#include "StashwellUI/Inspector/SaveInspector.h"

#include "StashwellUI/Controls/InfoRow.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Inspector/CollectionPicker.h"
#include "StashwellUI/Inspector/InspectorFacts.h"
#include "StashwellUI/Inspector/InspectorFrame.h"
#include "StashwellUI/Inspector/InspectorLines.h"
#include "StashwellUI/Inspector/InspectorPane.h"
#include "StashwellUI/Inspector/LocalMediaSection.h"
#include "StashwellUI/Inspector/NoteSection.h"
#include "StashwellUI/Inspector/TagsSection.h"
#include "StashwellUI/Controls/WrappedLabel.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/Saves/AuthorLine.h"
#include "StashwellUI/Saves/AuthorLineView.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/detail/FollowPaging.h"

#include <QDir>
#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace sw {

namespace {

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::Highlight, Tokens::Colors::accent());
    palette.setColor(QPalette::HighlightedText, Tokens::Colors::onAccent());
    label->setPalette(palette);
}

// The post's text as it stands, line breaks and runs of spaces kept, with 3 more between lines
// than the reading type has.
QString postTextMarkup(const QString &text)
{
    const double lineHeight = QFontMetricsF(Tokens::Typography::reading.font()).lineSpacing() + 3;
    return QStringLiteral("<div style=\"white-space: pre-wrap; line-height: %1px\">%2</div>")
        .arg(qRound(lineHeight))
        .arg(text.toHtmlEscaped());
}

RoundIconButton *roundButton(const QString &symbol, const QString &label, QWidget *parent)
{
    auto *button = new RoundIconButton(symbol, label, parent);
    button->setDiameter(RoundIconButton::defaultSize);
    return button;
}

}  // namespace

SaveInspector::SaveInspector(const ShelfItem &item, const QList<Collection> &collections, const MediaFolder &folder,
                             Date now, QWidget *parent)
    : QWidget(parent), m_item(item), m_collections(collections), m_folder(folder), m_now(now), m_home(QDir::homePath())
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // The header stays while the column scrolls.
    const InspectorHeader header = makeInspectorHeader(this, headerHeight, headerPadding, headerSpacing);
    m_title = header.title;
    m_favourite = roundButton(QStringLiteral("star"), QString(), header.widget);
    m_trash = roundButton(QStringLiteral("trash"), QString(), header.widget);
    m_close = roundButton(QStringLiteral("xmark"), QString(), header.widget);
    header.row->addWidget(m_favourite);
    header.row->addWidget(m_trash);
    header.row->addWidget(m_close);
    outer->addWidget(header.widget);
    connect(m_favourite, &RoundIconButton::clicked, this, [this] { raise(SaveIntent::favourite()); });
    connect(m_trash, &RoundIconButton::clicked, this, [this] { raise(SaveIntent::trash()); });
    connect(m_close, &RoundIconButton::clicked, this, [this] { raise(SaveIntent::close()); });

    const InspectorColumn frame = makeInspectorColumn(this, columnPadding, bottomExtra, columnSpacing);
    m_scroll = frame.scroll;
    QWidget *content = frame.content;
    QVBoxLayout *column = frame.column;

    // The media and its pager.
    m_media = new QWidget(content);
    auto *media = new QVBoxLayout(m_media);
    media->setContentsMargins(0, 0, 0, 0);
    media->setSpacing(int(mediaSpacing));
    m_thumbnail = new MediaThumbnailView(MediaThumbnail(item, mediaHeight, false, true, true, false), m_media);
    media->addWidget(m_thumbnail);
    m_pager = new QWidget(m_media);
    auto *pager = new QHBoxLayout(m_pager);
    pager->setContentsMargins(0, 0, 0, 0);
    pager->setSpacing(int(pagerSpacing));
    m_previous = roundButton(QStringLiteral("chevron.left"), QString(), m_pager);
    m_pageText = new OneLine(Tokens::Typography::mono, &Tokens::Colors::muted, Qt::ElideNone, m_pager);
    m_pageText->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_next = roundButton(QStringLiteral("chevron.right"), QString(), m_pager);
    pager->addStretch(1);
    pager->addWidget(m_previous);
    pager->addWidget(m_pageText);
    pager->addWidget(m_next);
    pager->addStretch(1);
    media->addWidget(m_pager);
    column->addWidget(m_media);
    connect(m_previous, &RoundIconButton::clicked, this, [this] { turnPage(-1); });
    connect(m_next, &RoundIconButton::clicked, this, [this] { turnPage(+1); });

    m_author = new AuthorLineView(content);
    column->addWidget(m_author);

    m_text = new WrappedLabel(content);
    m_text->setFont(Tokens::Typography::reading.font());
    // Rich text only for the spacing between lines; the post's words are escaped into it.
    m_text->setTextFormat(Qt::RichText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(m_text);

    auto *actions = new QHBoxLayout;
    actions->setSpacing(int(actionSpacing));
    m_pill = new ActionPillButton(item.action(), content);
    m_copyLink = roundButton(QStringLiteral("link"), QString(), content);
    m_openOriginal = roundButton(QStringLiteral("safari"), QString(), content);
    actions->addWidget(m_pill, 1);
    actions->addWidget(m_copyLink);
    actions->addWidget(m_openOriginal);
    column->addLayout(actions);
    connect(m_pill, &ActionPillButton::performed, this, [this](const Action &action) { raise(SaveIntent::action(action)); });
    connect(m_copyLink, &RoundIconButton::clicked, this, [this] { raise(SaveIntent::copyLink()); });
    connect(m_openOriginal, &RoundIconButton::clicked, this, [this] { raise(SaveIntent::openOriginal()); });

    // The details.
    auto *details = new InspectorPane(content);
    auto *rows = new QVBoxLayout(details);
    rows->setContentsMargins(int(panePadding), 0, int(panePadding), 0);
    rows->setSpacing(0);
    m_link = new OneLine(Tokens::Typography::mono, &Tokens::Colors::text, Qt::ElideMiddle);
    m_linkRow = new InfoRow(QString(), m_link, details);
    m_picker = new CollectionPicker;
    m_collectionRow = new InfoRow(QString(), m_picker, details);
    m_savedRow = new InfoRow(QString(), QString(), details);
    rows->addWidget(m_linkRow);
    rows->addWidget(makeRule(details));
    rows->addWidget(m_collectionRow);
    rows->addWidget(makeRule(details));
    rows->addWidget(m_savedRow);
    column->addWidget(details);
    connect(m_picker, &CollectionPicker::picked, this,
            [this](const std::optional<Collection::ID> &collection) { raise(SaveIntent::file(collection)); });
    connect(m_picker, &CollectionPicker::newCollectionRequested, this, [this] { raise(SaveIntent::newCollection()); });

    m_localMedia = new LocalMediaSection(content);
    m_tags = new TagsSection(content);
    m_note = new NoteSection(content);
    column->addWidget(m_localMedia);
    column->addWidget(m_tags);
    column->addWidget(m_note);
    column->addStretch(1);
    connect(m_localMedia, &LocalMediaSection::intentRaised, this, &SaveInspector::raise);
    connect(m_tags, &TagsSection::intentRaised, this, &SaveInspector::raise);
    connect(m_note, &NoteSection::edited, this, &SaveInspector::noteEdited);

    finishInspectorColumn(frame, outer);

    connect(&Theme::instance(), &Theme::changed, this, [this] {
        setTextColor(m_title, Tokens::Colors::text());
        setTextColor(m_text, Tokens::Colors::text());
        apply();
    });
    setTextColor(m_title, Tokens::Colors::text());
    setTextColor(m_text, Tokens::Colors::text());

    applyTexts();
    apply();
    // The editor starts with the save's note, as a load: nothing is reported.
    m_note->load(item.save().note());
}

SaveInspector::~SaveInspector() = default;

void SaveInspector::raise(const SaveIntent &intent)
{
    // A copy: the receiver may show another save before the signal returns.
    const Save::ID id = m_item->save().id();
    emit intentRaised(id, intent);
}

void SaveInspector::setItem(const ShelfItem &item)
{
    const bool anotherSave = item.save().id() != m_item->save().id();
    if (!anotherSave && item == *m_item)
        return;
    // The item first, then the editor: while the new note is loaded, the inspector already
    // belongs to the new save, and loading reports nothing anyway.
    m_item = item;
    apply();
    if (anotherSave)
        m_note->load(item.save().note());
}

void SaveInspector::setCollections(const QList<Collection> &collections)
{
    if (collections == m_collections)
        return;
    m_collections = collections;
    m_picker->setContent(m_collections, m_item->save().collection());
}

void SaveInspector::setFolder(const MediaFolder &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    apply();
}

void SaveInspector::setNow(Date now)
{
    m_now = now;
    m_savedRow->setValue(savedText());
}

void SaveInspector::setHomePath(const QString &home)
{
    m_home = home;
    m_localMedia->setContent(*m_item, m_folder, m_home);
}

void SaveInspector::setPlaybackFactory(VideoPlaybackFactory factory)
{
    m_playbackFactory = std::move(factory);
    if (m_player)
        m_player->setPlaybackFactory(m_playbackFactory);
}

std::int64_t SaveInspector::pageShown() const
{
    if (!m_paging)
        return 0;
    return m_paging->page(m_item->save().id(), InspectorFacts::pageCount(*m_item));
}

std::optional<QUrl> SaveInspector::playerFile() const
{
    if (!m_player)
        return std::nullopt;
    return m_player->url();
}

void SaveInspector::turnPage(int delta)
{
    if (m_paging)
        m_paging->turn(m_item->save().id(), delta, InspectorFacts::pageCount(*m_item));
}

QString SaveInspector::pagerText() const { return m_pageText->text(); }

QString SaveInspector::linkText() const { return m_link->text(); }

QString SaveInspector::savedText() const { return InspectorFacts::savedText(m_item->save().savedAt(), m_now); }

void SaveInspector::applyTexts()
{
    m_title->setText(StashwellUIStrings::inspectorDetails());
    m_favourite->setLabel(StashwellUIStrings::inspectorFavourite());
    m_trash->setLabel(StashwellUIStrings::actionMoveToTrash());
    m_close->setLabel(StashwellUIStrings::inspectorClose());
    m_previous->setLabel(StashwellUIStrings::mediaPrevious());
    m_next->setLabel(StashwellUIStrings::mediaNext());
    m_copyLink->setLabel(StashwellUIStrings::inspectorCopyLink());
    m_openOriginal->setLabel(StashwellUIStrings::inspectorOpenOriginal());
    m_linkRow->setLabel(StashwellUIStrings::inspectorLink());
    m_collectionRow->setLabel(StashwellUIStrings::inspectorCollection());
    m_savedRow->setLabel(StashwellUIStrings::inspectorSaved());
}

void SaveInspector::apply()
{
    const Save &save = m_item->save();
    const Post &post = save.post();

    m_favourite->setSymbol(save.isFavourite() ? QStringLiteral("star.fill") : QStringLiteral("star"));
    m_favourite->setTint(save.isFavourite() ? Tokens::Colors::accentInk() : Tokens::Colors::muted());
    m_trash->setVisible(!save.isTrashed());

    m_media->setVisible(post.kind() != Kind::text);
    applyMedia();

    m_author->setLine(AuthorLine(post.author, InspectorFacts::postedText(post.postedAt, Formatting::interfaceLocale()), authorSize));
    m_text->setText(postTextMarkup(post.text));
    m_pill->setAction(m_item->action());

    m_link->setText(InspectorFacts::linkText(post.link));
    m_picker->setContent(m_collections, save.collection());
    m_savedRow->setValue(savedText());

    m_localMedia->setVisible(post.hasMedia());
    m_localMedia->setContent(*m_item, m_folder, m_home);
    m_tags->setTags(save.tags());
}

void SaveInspector::applyMedia()
{
    const std::int64_t page = pageShown();
    const std::int64_t count = InspectorFacts::pageCount(*m_item);
    const std::optional<QUrl> file = InspectorFacts::playerFile(*m_item, m_folder, page);
    auto *layout = static_cast<QVBoxLayout *>(m_media->layout());
    if (file) {
        if (!m_player) {
            m_player = new InlinePlayer(m_media);
            if (m_playbackFactory)
                m_player->setPlaybackFactory(m_playbackFactory);
            m_player->setPlayerHeight(mediaHeight);
            layout->insertWidget(0, m_player);
        }
        // A player made here never starts by itself.
        m_player->setAutoplay(false);
        m_player->setPoster(InspectorFacts::posterPicture(*m_item, page));
        m_player->setUrl(*file);
        m_thumbnail->hide();
        m_player->show();
    } else {
        if (m_player) {
            // Leaving the screen pauses it; a turn back to the video builds a new one.
            InlinePlayer *player = m_player;
            m_player = nullptr;
            layout->removeWidget(player);
            player->hide();
            player->deleteLater();
        }
        m_thumbnail->setThumbnail(MediaThumbnail(*m_item, mediaHeight, false, true, true, false));
        m_thumbnail->show();
    }
    m_pager->setVisible(m_item->pictures().size() >= 2);
    m_pageText->setText(InspectorFacts::pagerText(page, count));
}

void SaveInspector::findPaging()
{
    if (FollowPaging::follow(this, m_paging, this, &SaveInspector::applyMedia))
        applyMedia();
}

void SaveInspector::noteEdited(const QString &text)
{
    if (text != m_item->save().note())
        raise(SaveIntent::note(text));
}

bool SaveInspector::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        findPaging();
    return QWidget::event(event);
}

void SaveInspector::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        applyTexts();
        apply();
    }
    QWidget::changeEvent(event);
}

}  // namespace sw
