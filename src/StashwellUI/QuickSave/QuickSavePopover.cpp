#include "StashwellUI/QuickSave/QuickSavePopover.h"

#include "Offline/LocalCopy.h"
#include "StashwellUI/Controls/BusySpinner.h"
#include "StashwellUI/Controls/FitToLayout.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassMaterial.h"
#include "StashwellUI/Controls/KeyCap.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/LogoMark.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/QuickSave/CollectionPullDown.h"
#include "StashwellUI/QuickSave/RecentRow.h"
#include "StashwellUI/Saves/AuthorLine.h"
#include "StashwellUI/Saves/AuthorLineView.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

namespace sw {

namespace {

constexpr int margin = 16;

int ceilInt(double value) { return static_cast<int>(std::ceil(value - 1e-9)); }

// The decorative glass behind the state panel: not interactive.
class GlassPanel : public QWidget {
public:
    static constexpr double radius = 16;
    explicit GlassPanel(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        GlassMaterial::paint(painter, ContinuousShape::rect(QRectF(rect()), radius), false, ControlState{});
    }
};

// The global hot key in a small glass capsule.
class HotKeyChip : public QWidget {
public:
    static constexpr double horizontalPadding = 8;
    static constexpr double verticalPadding = 3;
    explicit HotKeyChip(const QString &keys, QWidget *parent) : QWidget(parent), m_keys(keys)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setAccessibleName(keys);
        connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    }
    QSize sizeHint() const override
    {
        const QSizeF text = ControlPainting::textSize(Tokens::Typography::monoSmall.font(), m_keys);
        return QSize(ceilInt(text.width() + 2 * horizontalPadding), ceilInt(text.height() + 2 * verticalPadding));
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        GlassMaterial::paint(painter, ContinuousShape::capsule(QRectF(rect())), false, ControlState{});
        painter.setFont(Tokens::Typography::monoSmall.font());
        painter.setPen(Tokens::Colors::textSecondary());
        painter.drawText(QRectF(rect()), Qt::AlignCenter, m_keys);
    }

private:
    QString m_keys;
};

// The clipboard symbol in a faint accent circle.
class ClipboardBadge : public QWidget {
public:
    static constexpr double side = 36;
    explicit ClipboardBadge(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setFixedSize(int(side), int(side));
        connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF circle(0, 0, side, side);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ControlPainting::faded(Tokens::Colors::accent(), 0.16));
        painter.drawEllipse(circle);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ControlPainting::faded(Tokens::Colors::accent(), 0.4), 1));
        painter.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
        const double symbol = ControlPainting::symbolSide(Tokens::Typography::headline.size);
        Symbols::paint(painter, QRectF((side - symbol) / 2, (side - symbol) / 2, symbol, symbol), u"doc.on.clipboard",
                       Tokens::Colors::accentInk());
    }
};

// A symbol beside text of a type size, in a colour of the appearance.
class SymbolMark : public QWidget {
public:
    SymbolMark(const QString &symbol, double typeSize, std::function<QColor()> color, QWidget *parent)
        : QWidget(parent), m_symbol(symbol), m_color(std::move(color))
    {
        setAttribute(Qt::WA_TranslucentBackground);
        const int side = ceilInt(ControlPainting::symbolSide(typeSize));
        setFixedSize(side, side);
        connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        Symbols::paint(painter, QRectF(rect()), m_symbol, m_color());
    }

private:
    QString m_symbol;
    std::function<QColor()> m_color;
};

QHBoxLayout *row(int spacing)
{
    auto *layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QVBoxLayout *column(QWidget *owner, int spacing)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

}  // namespace

QString QuickSavePopover::hotKeyText() { return KeyCap::text(KeyCap::Keys::hotKey); }

QuickSavePopover::QuickSavePopover(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);

    // Header.
    auto *header = row(8);
    auto *mark = new LogoMark(22, true, this);
    auto *title = new StyledText(StashwellUIStrings::quickSaveTitle(), Tokens::Typography::headline, &Tokens::Colors::text, this);
    title->setMaximumLines(1);
    header->addWidget(mark, 0, Qt::AlignVCenter);
    header->addWidget(title, 1, Qt::AlignVCenter);
    header->addWidget(new HotKeyChip(hotKeyText(), this), 0, Qt::AlignVCenter);

    // The state panel: one page per case.
    auto *panel = new GlassPanel(this);
    auto *pages = new QVBoxLayout(panel);
    pages->setContentsMargins(12, 12, 12, 12);
    pages->setSpacing(0);

    m_nothing = new QWidget(panel);
    {
        auto *layout = new QHBoxLayout(m_nothing);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(12);
        auto *texts = new QVBoxLayout;
        texts->setContentsMargins(0, 0, 0, 0);
        texts->setSpacing(3);
        texts->addWidget(new StyledText(StashwellUIStrings::quickSaveCopyLink(), Tokens::Typography::bodyStrong, &Tokens::Colors::text, m_nothing));
        texts->addWidget(new StyledText(StashwellUIStrings::quickSaveThenOpen(), Tokens::Typography::mono, &Tokens::Colors::muted, m_nothing));
        layout->addWidget(new ClipboardBadge(m_nothing), 0, Qt::AlignVCenter);
        layout->addLayout(texts, 1);
    }

    m_looking = new QWidget(panel);
    {
        auto *layout = new QHBoxLayout(m_looking);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(6);
        m_spinner = new BusySpinner(BusySpinner::smallSide, m_looking);
        m_spinner->setColorRole(&Tokens::Colors::muted);
        m_lookingText = new StyledText(QString(), Tokens::Typography::mono, &Tokens::Colors::muted, m_looking);
        m_lookingText->setMaximumLines(1);
        layout->addWidget(m_spinner, 0, Qt::AlignVCenter);
        layout->addWidget(m_lookingText, 1, Qt::AlignVCenter);
    }

    m_found = new QWidget(panel);
    {
        auto *layout = column(m_found, 12);
        auto *kicker = new Kicker(StashwellUIStrings::quickSaveOnClipboard(), m_found);
        kicker->setTint(Tokens::Colors::accentInk());
        connect(&Theme::instance(), &Theme::changed, kicker, [kicker] { kicker->setTint(Tokens::Colors::accentInk()); });
        layout->addWidget(kicker, 0, Qt::AlignLeft);

        auto *preview = row(12);
        m_thumbnail = new MediaThumbnailView(MediaThumbnail(Post{}, LocalCopy::linkOnly(), 84, false), m_found);
        m_thumbnail->setFixedSize(64, 84);
        auto *details = new QVBoxLayout;
        details->setContentsMargins(0, 0, 0, 0);
        details->setSpacing(5);
        m_author = new AuthorLineView(AuthorLine(Author{}, std::nullopt, 20), m_found);
        m_postText = new StyledText(QString(), Tokens::Typography::caption, &Tokens::Colors::textSecondary, m_found);
        m_postText->setMaximumLines(3);
        details->addWidget(m_author, 0, Qt::AlignLeft);
        details->addWidget(m_postText);
        details->addStretch(1);
        preview->addWidget(m_thumbnail, 0, Qt::AlignTop);
        preview->addLayout(details, 1);
        layout->addLayout(preview);

        auto *actions = row(8);
        m_picker = new CollectionPullDown(m_found);
        connect(m_picker, &CollectionPullDown::picked, this, [this](const std::optional<Collection::ID> &collection) {
            m_collection = collection;
            emit collectionChanged(collection);
        });
        m_save = new GlassButton(StashwellUIStrings::quickSaveSave(), QStringLiteral("plus"), Tone::accent, m_found);
        m_save->setFixedSize(116, 32);
        connect(m_save, &QAbstractButton::clicked, this, &QuickSavePopover::saveRequested);
        actions->addWidget(m_picker, 1, Qt::AlignVCenter);
        actions->addWidget(m_save, 0, Qt::AlignVCenter);
        layout->addLayout(actions);
    }

    m_refused = new QWidget(panel);
    {
        auto *layout = column(m_refused, 0);
        m_refusedText = new StyledText(QString(), Tokens::Typography::caption, &Tokens::Colors::danger, m_refused);
        layout->addWidget(m_refusedText);
    }

    m_saved = new QWidget(panel);
    {
        auto *layout = new QHBoxLayout(m_saved);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(6);
        m_savedText = new StyledText(QString(), Tokens::Typography::bodyStrong, &Tokens::Colors::ok, m_saved);
        layout->addWidget(new SymbolMark(QStringLiteral("checkmark"), Tokens::Typography::bodyStrong.size, &Tokens::Colors::ok, m_saved), 0,
                          Qt::AlignTop);
        layout->addWidget(m_savedText, 1);
    }

    for (QWidget *page : {m_nothing, m_looking, m_found, m_refused, m_saved})
        pages->addWidget(page);

    // Recent saves.
    m_recentList = new RecentList(this);
    connect(m_recentList, &RecentList::selected, this, &QuickSavePopover::selected);

    // Footer.
    auto *footer = row(8);
    m_open = new GlassButton(StashwellUIStrings::quickSaveOpenStashwell(), QStringLiteral("arrow.up.right"), Tone::neutral, this);
    m_open->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_open->setMinimumWidth(0);
    connect(m_open, &QAbstractButton::clicked, this, &QuickSavePopover::openAppRequested);
    m_settings = new RoundIconButton(QStringLiteral("gearshape"), StashwellUIStrings::quickSaveSettings(), this);
    m_settings->setDiameter(32);
    m_settings->setTint(Tokens::Colors::textSecondary());
    connect(&Theme::instance(), &Theme::changed, m_settings, [this] { m_settings->setTint(Tokens::Colors::textSecondary()); });
    connect(m_settings, &QAbstractButton::clicked, this, &QuickSavePopover::settingsRequested);
    footer->addWidget(m_open, 1, Qt::AlignVCenter);
    footer->addWidget(m_settings, 0, Qt::AlignVCenter);

    auto *whole = new QVBoxLayout(this);
    whole->setContentsMargins(margin, margin, margin, margin);
    whole->setSpacing(14);
    whole->addLayout(header);
    whole->addWidget(panel);
    whole->addWidget(m_recentList);
    whole->addLayout(footer);

    applyState();
}

void QuickSavePopover::setState(const QuickSaveState &state)
{
    if (state == m_state)
        return;
    m_state = state;
    applyState();
}

void QuickSavePopover::setCollection(const std::optional<Collection::ID> &collection)
{
    m_collection = collection;
    m_picker->setCurrent(collection);
}

void QuickSavePopover::setCollections(const QList<Collection> &collections)
{
    m_collections = collections;
    m_picker->setCollections(collections);
}

void QuickSavePopover::setRecent(const QList<ShelfItem> &recent, Date now)
{
    m_recent = recent;
    m_now = now;
    m_recentList->setItems(recent, now);
    fitToSizeHint(*this, m_fitting);
}

void QuickSavePopover::setNow(Date now) { setRecent(m_recent, now); }

void QuickSavePopover::applyState()
{
    const auto &value = m_state.value();
    m_nothing->setVisible(std::holds_alternative<QuickSaveState::NothingCopied>(value));

    const auto *looking = std::get_if<QuickSaveState::Looking>(&value);
    m_looking->setVisible(looking != nullptr);
    m_lookingText->setText(looking ? StashwellUIStrings::quickSaveReading(looking->link) : QString());

    const Post *post = m_state.post();
    m_found->setVisible(post != nullptr);
    if (post) {
        m_thumbnail->setThumbnail(MediaThumbnail(*post, LocalCopy::linkOnly(), 84, false));
        m_author->setLine(AuthorLine(post->author, std::nullopt, 20));
        m_postText->setText(post->text);
    }

    const auto *refused = std::get_if<QuickSaveState::Refused>(&value);
    m_refused->setVisible(refused != nullptr);
    m_refusedText->setText(refused ? refused->message : QString());

    const auto *saved = std::get_if<QuickSaveState::Saved>(&value);
    m_saved->setVisible(saved != nullptr);
    m_savedText->setText(saved ? saved->message : QString());

    fitToSizeHint(*this, m_fitting);
}

QSize QuickSavePopover::sizeHint() const { return layoutSizeAtWidth(*this, int(popoverWidth)); }

bool QuickSavePopover::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    fitAfter(*this, *event, m_fitting);
    return handled;
}

void QuickSavePopover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Tokens::Colors::glassSheet());
}

}  // namespace sw
