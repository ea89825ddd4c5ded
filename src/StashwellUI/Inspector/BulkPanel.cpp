#include "StashwellUI/Inspector/BulkPanel.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Controls/InfoRow.h"
#include "StashwellUI/Controls/PillButton.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Design/CardShadow.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Inspector/InspectorFrame.h"
#include "StashwellUI/Inspector/InspectorPane.h"
#include "StashwellUI/Pictures/PictureFeed.h"
#include "StashwellUI/Saves/MediaThumbnail.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

// Room around the cards' frame for the badge above and the shadows around and below.
constexpr int kDeckSide = 12;
constexpr int kDeckTop = 8;
constexpr int kDeckBottom = 16;

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

}  // namespace

// ---- the deck -----------------------------------------------------------------------------------

BulkDeck::BulkDeck(QWidget *parent) : QWidget(parent), m_feed(new PictureFeed(this))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TranslucentBackground);
    // Drawn for the eye only: the header and the summary say the same in words.
    setAccessibleName(QString());
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void BulkDeck::setItems(const QList<ShelfItem> &items, std::int64_t count)
{
    QList<ShelfItem> cards = items.mid(0, 3);
    if (cards == m_cards && count == m_count)
        return;
    m_cards = std::move(cards);
    m_count = count;
    updateGeometry();
    update();
}

QString BulkDeck::badgeText() const { return QString::number(m_count); }

QRectF BulkDeck::cardRect(int place)
{
    const QPointF centre(width / 2 + (place - 1) * shift, height / 2 + place * drop);
    return QRectF(centre.x() - cardWidth / 2, centre.y() - cardHeight / 2, cardWidth, cardHeight);
}

double BulkDeck::cardAngle(int place) { return (place - 1) * turn; }

QRectF BulkDeck::frame() const { return QRectF(kDeckSide, kDeckTop, width, height); }

QRectF BulkDeck::badgeRect() const
{
    const QSizeF text = ControlPainting::textSize(Tokens::Typography::bodyStrong.font(), badgeText());
    const double badgeWidth = std::max(badgeSide, text.width() + 2 * badgePadding);
    const QRectF deck = frame();
    return QRectF(deck.right() - badgeInset - badgeWidth, deck.top() - badgeRise, badgeWidth, badgeSide);
}

QSize BulkDeck::sizeHint() const { return QSize(int(width) + 2 * kDeckSide, int(height) + kDeckTop + kDeckBottom); }

void BulkDeck::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF deck = frame();
    for (int place = 0; place < m_cards.size(); ++place) {
        const MediaThumbnail thumbnail(m_cards[place], cardHeight, false, false, false, true);
        MediaThumbnail::ViewState state;
        thumbnail.track(state);
        const QRectF card = cardRect(place).translated(deck.topLeft());
        painter.save();
        painter.translate(card.center());
        painter.rotate(cardAngle(place));
        painter.translate(-card.center());
        CardShadow::paint(painter, card, MediaThumbnail::cornerRadius, shadowBlur, QPointF(0, shadowOffset), shadowOpacity);
        thumbnail.paint(painter, card, state, m_feed->picture(thumbnail.pictureKey(state.page)));
        painter.restore();
    }
    const QRectF badge = badgeRect();
    painter.fillPath(ContinuousShape::capsule(badge), Tokens::Colors::accent());
    painter.setFont(Tokens::Typography::bodyStrong.font());
    painter.setPen(Tokens::Colors::onAccent());
    painter.drawText(badge, Qt::AlignCenter, badgeText());
}

// ---- the panel ----------------------------------------------------------------------------------

BulkPanel::BulkPanel(const QList<ShelfItem> &items, const QList<Collection> &collections, QWidget *parent)
    : QWidget(parent), m_items(items), m_collections(collections)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    const InspectorHeader header = makeInspectorHeader(this, headerHeight, headerPadding);
    m_title = header.title;
    m_deselect = new RoundIconButton(QStringLiteral("xmark"), StashwellUIStrings::bulkDeselect(), header.widget);
    connect(m_deselect, &RoundIconButton::clicked, this, &BulkPanel::deselectRequested);
    header.row->addWidget(m_deselect);
    outer->addWidget(header.widget);

    const InspectorColumn frame = makeInspectorColumn(this, contentPadding, bottomExtra, blockSpacing);
    m_scroll = frame.scroll;
    QWidget *content = frame.content;
    QVBoxLayout *column = frame.column;

    m_deck = new BulkDeck(content);
    column->addWidget(m_deck, 0, Qt::AlignHCenter);

    m_kinds = new InfoRow(StashwellUIStrings::bulkKinds(), QString());
    m_onThisComputer = new InfoRow(StashwellUIStrings::bulkOnThisComputer(), QString());
    auto *summary = new InspectorPane(content);
    auto *rows = new QVBoxLayout(summary);
    const int inset = int(summaryPadding);
    rows->setContentsMargins(inset, 0, inset, 0);
    rows->setSpacing(0);
    rows->addWidget(m_kinds);
    rows->addWidget(makeRule(summary));
    rows->addWidget(m_onThisComputer);
    column->addWidget(summary);

    auto *actions = new QVBoxLayout;
    actions->setSpacing(int(actionSpacing));
    m_download = new PillButton(QString(), QStringLiteral("arrow.down"), Tone::accent, content);
    m_fileIn = new PillButton(StashwellUIStrings::bulkFileIn(), QStringLiteral("folder"), Tone::ok, content);
    m_favourite = new PillButton(StashwellUIStrings::bulkFavouriteAll(), QStringLiteral("star"), Tone::neutral, content);
    m_trashOrRestore = new PillButton(QString(), QStringLiteral("trash"), Tone::danger, content);
    for (PillButton *button : {m_download, m_fileIn, m_favourite, m_trashOrRestore})
        actions->addWidget(button);
    column->addLayout(actions);
    m_menu = new QMenu(this);
    connect(m_download, &PillButton::clicked, this, &BulkPanel::downloadRequested);
    connect(m_favourite, &PillButton::clicked, this, &BulkPanel::favouriteRequested);
    connect(m_trashOrRestore, &PillButton::clicked, this, [this] {
        if (m_summary.allTrashed)
            emit restoreRequested();
        else
            emit trashRequested();
    });
    connect(m_fileIn, &PillButton::clicked, this, [this] {
        m_menu->popup(m_fileIn->mapToGlobal(QPoint(0, m_fileIn->height())));
    });

    m_hint = new QLabel(StashwellUIStrings::bulkHint(), content);
    m_hint->setFont(Tokens::Typography::monoSmall.font());
    m_hint->setAlignment(Qt::AlignHCenter);
    m_hint->setWordWrap(true);
    m_hint->setTextFormat(Qt::PlainText);
    column->addWidget(m_hint);
    column->addStretch(1);

    finishInspectorColumn(frame, outer);

    connect(&Theme::instance(), &Theme::changed, this, [this] {
        setTextColor(m_title, Tokens::Colors::text());
        setTextColor(m_hint, Tokens::Colors::muted());
        update();
    });
    setTextColor(m_title, Tokens::Colors::text());
    setTextColor(m_hint, Tokens::Colors::muted());
    buildMenu();
    apply();
}

void BulkPanel::setItems(const QList<ShelfItem> &items)
{
    if (items == m_items)
        return;
    m_items = items;
    apply();
}

void BulkPanel::setCollections(const QList<Collection> &collections)
{
    if (collections == m_collections)
        return;
    m_collections = collections;
    buildMenu();
}

QString BulkPanel::headerText() const { return m_title->text(); }

void BulkPanel::apply()
{
    m_summary = BulkSummary::of(m_items);
    m_title->setText(StashwellUIStrings::bulkSelected(m_summary.count));
    m_deck->setItems(m_items, m_summary.count);
    m_kinds->setValue(m_summary.kindsText());
    m_onThisComputer->setValue(m_summary.onThisComputerText());
    m_download->setVisible(m_summary.offersDownload());
    m_download->setTitle(m_summary.downloadTitle());
    m_trashOrRestore->setTitle(m_summary.trashOrRestoreTitle());
    m_trashOrRestore->setSymbol(m_summary.allTrashed ? QStringLiteral("arrow.uturn.backward") : QStringLiteral("trash"));
    m_trashOrRestore->setTone(m_summary.allTrashed ? Tone::ok : Tone::danger);
}

void BulkPanel::buildMenu()
{
    m_menu->clear();
    QAction *none = m_menu->addAction(StashwellUIStrings::collectionNone());
    connect(none, &QAction::triggered, this, [this] { emit fileRequested(std::nullopt); });
    m_menu->addSeparator();
    for (const Collection &collection : m_collections) {
        // Names are shown as they are: an "&" in a name is no mnemonic.
        QString title = collection.name;
        title.replace(u'&', QStringLiteral("&&"));
        QAction *entry = m_menu->addAction(title);
        const Collection::ID id = collection.id;
        connect(entry, &QAction::triggered, this, [this, id] { emit fileRequested(id); });
    }
}

void BulkPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_kinds->setLabel(StashwellUIStrings::bulkKinds());
        m_onThisComputer->setLabel(StashwellUIStrings::bulkOnThisComputer());
        m_fileIn->setTitle(StashwellUIStrings::bulkFileIn());
        m_favourite->setTitle(StashwellUIStrings::bulkFavouriteAll());
        m_hint->setText(StashwellUIStrings::bulkHint());
        m_deselect->setLabel(StashwellUIStrings::bulkDeselect());
        buildMenu();
        apply();
    }
    QWidget::changeEvent(event);
}

}  // namespace sw
