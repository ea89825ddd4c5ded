#include "StashwellUI/Saves/LatestSaveHero.h"

#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/Saves/AuthorLine.h"
#include "StashwellUI/Design/CardShadow.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Pictures/PaintMemo.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/TextRuns.h"
#include "StashwellUI/detail/TextLines.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QEvent>
#include <QInputEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace sw {

namespace {

constexpr int kTitleLines = 2;
const QString kSeparator = QStringLiteral(" \u00B7 ");

// The title: the post's first line in display type, at most two lines, a button.
class TitleButton : public Pressable {
public:
    explicit TitleButton(QWidget *parent) : Pressable(parent)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        QSizePolicy policy = sizePolicy();
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    void setTitle(const QString &title)
    {
        if (title == m_title)
            return;
        m_title = title;
        changed(true);
    }
    const QString &title() const { return m_title; }

    static QFont font() { return Tokens::Typography::hero.font(); }

    QString accessibleText() const override { return m_title; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        const QString shown = TextLines::kept(m_title, font(), width, kTitleLines);
        const int lines = std::max(1, int(shown.count(u'\n')) + 1);
        return int(std::ceil(QFontMetricsF(font()).lineSpacing() * lines));
    }
    QSize sizeHint() const override
    {
        const QFontMetricsF metrics(font());
        const double width = std::min(560.0, std::ceil(metrics.horizontalAdvance(m_title.section(u'\n', 0, 0))) + 1);
        return QSize(int(width), heightForWidth(int(width)));
    }
    QSize minimumSizeHint() const override { return QSize(80, heightForWidth(80)); }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ControlPainting::applyPlainStyle(painter, state);
        const QColor color = Tokens::Colors::text();
        const QString shown = TextLines::kept(m_title, font(), rect.width(), kTitleLines);
        // Laid out and shaped anew on each paint, this was the dearest text at the top of the
        // shelf, which repaints it with every scroll and every change of its width: it is drawn
        // once for its lines, colour and size.
        PaintMemo::draw(painter, rect, PaintMemo::keyAfter(shown, QLatin1StringView("|hero.title"), color.rgba()),
                        [&shown, color](QPainter &p, const QRectF &area) {
                            p.setFont(font());
                            p.setPen(color);
                            p.drawText(area, Qt::AlignLeft | Qt::AlignTop, shown);
                        });
    }

private:
    QString m_title;
};

// A line of coloured runs, cut with an ellipsis at the end when the width runs out.
class RunsLine : public QWidget {
public:
    struct Run {
        QString text;
        std::function<QColor()> color;
    };

    RunsLine(const QFont &font, QWidget *parent) : QWidget(parent), m_font(font)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        setFixedHeight(int(std::ceil(QFontMetricsF(m_font).height())));
    }
    void setRuns(QList<Run> runs)
    {
        m_runs = std::move(runs);
        updateGeometry();
        update();
    }
    QString text() const
    {
        QString all;
        for (const Run &run : m_runs)
            all += run.text;
        return all;
    }
    QSize sizeHint() const override
    {
        return QSize(int(std::ceil(QFontMetricsF(m_font).horizontalAdvance(text()))) + 1, height());
    }
    QSize minimumSizeHint() const override { return QSize(0, height()); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(m_font);
        double x = 0;
        const double baseline = QFontMetricsF(m_font).ascent();
        // From runs laid out once: the hero repaints with everything under the bar.
        for (qsizetype i = 0; i < m_runs.size(); ++i) {
            const Run &run = m_runs[i];
            const double room = width() - x;
            if (room <= 0)
                break;
            const QString shown = TextRuns::elided(run.text, m_font, room);
            painter.setPen(run.color());
            TextRuns::draw(painter, QPointF(x, baseline), shown, m_font);
            x += TextRuns::advance(shown, m_font);
            if (shown != run.text)
                break;
        }
    }

private:
    QFont m_font;
    QList<Run> m_runs;
};

// The summary: one line of the media, the age and the address, fitted by fittedSummary().
class SummaryLine : public QWidget {
public:
    explicit SummaryLine(QWidget *parent) : QWidget(parent), m_font(Tokens::Typography::mono.font())
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        setFixedHeight(int(std::ceil(QFontMetricsF(m_font).height())));
    }
    void setParts(const QString &media, const QString &age, const QString &address)
    {
        if (media == m_media && age == m_age && address == m_address)
            return;
        m_media = media;
        m_age = age;
        m_address = address;
        m_fittedWidth = -1;
        updateGeometry();
        update();
    }
    QString text() const { return m_media + kSeparator + m_age + kSeparator + m_address; }
    // Fitted once for each width: measuring the parts shapes them, and the hero repaints with
    // everything under the bar.
    QString shown() const
    {
        if (m_fittedWidth != width()) {
            m_fitted = LatestSaveHero::fittedSummary(m_media, m_age, m_address, QFontMetricsF(m_font), width());
            m_fittedWidth = width();
        }
        return m_fitted;
    }
    // Asked for by every layout of the hero's row: measured from the kept runs.
    double idealWidth() const { return std::ceil(TextRuns::advance(text(), m_font)) + 1; }
    // What the media and the age take: the part of the line that should stay whole.
    double keptWidth() const { return std::ceil(TextRuns::advance(m_media + kSeparator + m_age, m_font)) + 1; }
    QSize sizeHint() const override { return QSize(int(idealWidth()), height()); }
    QSize minimumSizeHint() const override { return QSize(0, height()); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QString text = shown();
        const QColor color = Tokens::Colors::muted();
        PaintMemo::draw(painter, QRectF(rect()), PaintMemo::keyAfter(text, QLatin1StringView("|hero.summary"), color.rgba()),
                        [this, &text, color](QPainter &p, const QRectF &area) {
                            p.setRenderHint(QPainter::TextAntialiasing);
                            p.setFont(m_font);
                            p.setPen(color);
                            p.drawText(QPointF(area.left(), area.top() + QFontMetricsF(m_font).ascent()), text);
                        });
    }

private:
    QFont m_font;
    QString m_media;
    QString m_age;
    QString m_address;
    mutable QString m_fitted;
    mutable int m_fittedWidth = -1;
};

// The action row: the pill and the summary side by side, the pill as wide as the summary leaves
// it within its bounds (LatestSaveHero::pillWidth()), the summary taking the rest.
class ActionRowLayout : public QLayout {
public:
    ActionRowLayout(QWidget *pill, SummaryLine *summary) : m_summary(summary)
    {
        setContentsMargins(0, int(LatestSaveHero::actionTopPadding), 0, 0);
        setSpacing(int(LatestSaveHero::actionSpacing));
        addWidget(pill);
        addWidget(summary);
    }
    ~ActionRowLayout() override
    {
        while (QLayoutItem *item = takeAt(0))
            delete item;
    }

    void addItem(QLayoutItem *item) override { m_items.append(item); }
    int count() const override { return int(m_items.size()); }
    QLayoutItem *itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem *takeAt(int index) override
    {
        return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
    }
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }

    QSize sizeHint() const override
    {
        return row(int(LatestSaveHero::pillMaximumWidth) + spacing() + int(m_summary->idealWidth()));
    }
    QSize minimumSize() const override { return row(int(LatestSaveHero::pillMinimumWidth) + spacing()); }

    void setGeometry(const QRect &rect) override
    {
        QLayout::setGeometry(rect);
        if (m_items.size() < 2)
            return;
        const QRect inner = contentsRect();
        const int pill = int(LatestSaveHero::pillWidth(inner.width() - spacing(), m_summary->idealWidth()));
        const int pillHeight = std::min(inner.height(), m_items[0]->sizeHint().height());
        const int summaryHeight = std::min(inner.height(), m_items[1]->sizeHint().height());
        m_items[0]->setGeometry(QRect(inner.left(), inner.top() + (inner.height() - pillHeight) / 2, pill, pillHeight));
        const int left = inner.left() + pill + spacing();
        m_items[1]->setGeometry(QRect(left, inner.top() + (inner.height() - summaryHeight) / 2,
                                      std::max(0, inner.right() + 1 - left), summaryHeight));
    }

private:
    QSize row(int width) const
    {
        int height = 0;
        for (QLayoutItem *item : m_items)
            height = std::max(height, item->sizeHint().height());
        const QMargins margins = contentsMargins();
        return QSize(width + margins.left() + margins.right(), height + margins.top() + margins.bottom());
    }

    QList<QLayoutItem *> m_items;
    SummaryLine *m_summary;
};

// The framed thumbnail, a button.
class ArtButton : public Pressable {
public:
    explicit ArtButton(QWidget *parent) : Pressable(parent)
    {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        auto *layout = new QVBoxLayout(this);
        const int inset = int(LatestSaveHero::artPadding);
        layout->setContentsMargins(inset, inset, inset, inset);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    QString accessibleText() const override { return StashwellUIStrings::shelfShowDetails(); }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ControlPainting::applyPlainStyle(painter, state);
        WellStyle::well().fill(painter, rect, LatestSaveHero::artRadius);
        ContinuousShape::strokeInside(painter, rect, LatestSaveHero::artRadius, Tokens::Colors::lineStronger(), 1);
    }
};

}  // namespace

LatestSaveHero::LatestSaveHero(const ShelfItem &item, Date now, QWidget *parent)
    : QWidget(parent), m_item(item), m_now(now)
{
    setContentsMargins(shadowMargins());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_eyebrow = new Kicker(StashwellUIStrings::shelfLatestSave(), this);
    auto *title = new TitleButton(this);
    m_title = title;
    m_author = new RunsLine(Tokens::Typography::reading.font(), this);
    m_pill = new ActionPillButton(item.action(), this);
    m_pill->setMinimumWidth(int(pillMinimumWidth));
    m_pill->setMaximumWidth(int(pillMaximumWidth));
    m_pill->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *summary = new SummaryLine(this);
    m_summary = summary;
    m_art = new ArtButton(this);
    m_thumbnail = new MediaThumbnailView(MediaThumbnail(item, thumbnailHeight, true, false, false, true), m_art);
    // The frame around it takes the press.
    m_thumbnail->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_art->layout()->addWidget(m_thumbnail);
    m_art->installEventFilter(this);

    auto *actionRow = new ActionRowLayout(m_pill, summary);

    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(columnSpacing));
    column->addWidget(m_eyebrow, 0, Qt::AlignLeft);
    column->addWidget(m_title);
    column->addWidget(m_author);
    column->addLayout(actionRow);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(int(horizontalPadding), int(verticalPadding), int(horizontalPadding), int(verticalPadding));
    row->setSpacing(int(spacing));
    row->addLayout(column, 1);
    row->addWidget(m_art, 0, Qt::AlignVCenter);

    m_title->installEventFilter(this);
    const auto select = [this] { emit intentRaised(SaveIntent::select(m_pressModifiers)); };
    connect(m_title, &QAbstractButton::clicked, this, select);
    connect(m_art, &QAbstractButton::clicked, this, select);
    connect(m_pill, &ActionPillButton::performed, this,
            [this](const Action &action) { emit intentRaised(SaveIntent::action(action)); });
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        m_eyebrow->setTint(Tokens::Colors::accentInk());
        update();
    });

    apply();
}

void LatestSaveHero::setItem(const ShelfItem &item)
{
    if (item == m_item)
        return;
    m_item = item;
    apply();
}

void LatestSaveHero::setNow(Date now)
{
    if (now == m_now)
        return;
    m_now = now;
    apply();
}

void LatestSaveHero::apply()
{
    const Post &post = m_item.save().post();
    m_eyebrow->setTint(Tokens::Colors::accentInk());
    static_cast<TitleButton *>(m_title)->setTitle(titleText(post));
    static_cast<RunsLine *>(m_author)->setRuns({
        {authorNameText(post.author), [] { return Tokens::Colors::textSecondary(); }},
        {handleText(post.author), [] { return Tokens::Colors::accentInk(); }},
    });
    m_pill->setAction(m_item.action());
    static_cast<SummaryLine *>(m_summary)->setParts(mediaText(post), ageText(m_item.save().savedAt(), m_now),
                                                    addressText(post.link));
    m_thumbnail->setThumbnail(MediaThumbnail(m_item, thumbnailHeight, true, false, false, true));
    fitThumbnail();
    update();
}

QString LatestSaveHero::shownAuthorText() const { return static_cast<const RunsLine *>(m_author)->text(); }
QString LatestSaveHero::shownSummary() const { return static_cast<const SummaryLine *>(m_summary)->text(); }
QString LatestSaveHero::visibleSummary() const { return static_cast<const SummaryLine *>(m_summary)->shown(); }

QString LatestSaveHero::titleText(const Post &post)
{
    return post.text.section(u'\n', 0, 0);
}

QString LatestSaveHero::authorNameText(const Author &author)
{
    return author.name + kSeparator;
}

QString LatestSaveHero::handleText(const Author &author)
{
    return AuthorLine::handleText(author.handle);
}

QString LatestSaveHero::mediaText(const Post &post)
{
    switch (Kind::Value(post.kind())) {
    case Kind::video:
        for (const Attachment &attachment : post.attachments) {
            if (const Attachment::Video *video = attachment.asVideo())
                return StashwellUIStrings::mediaVideoLength(Formatting::duration(video->length));
        }
        return StashwellUIStrings::mediaVideo();
    case Kind::images: {
        const qint64 count = qint64(post.attachments.size());
        return count == 1 ? StashwellUIStrings::mediaImageOne(count) : StashwellUIStrings::mediaImageMany(count);
    }
    case Kind::text:
        return StashwellUIStrings::mediaText();
    case Kind::page:
        return StashwellUIStrings::mediaLink();
    }
    return QString();
}

QString LatestSaveHero::ageText(Date savedAt, Date now)
{
    if (Formatting::isNow(savedAt, now))
        return StashwellUIStrings::shelfSavedJustNow();
    return StashwellUIStrings::shelfSavedAgo(Formatting::ago(savedAt, now));
}

QString LatestSaveHero::addressText(const PostLink &link)
{
    static const QString secure = QStringLiteral("https://");
    QString address = link.url().text();
    if (address.startsWith(secure))
        address.remove(0, secure.size());
    return address;
}

QString LatestSaveHero::summaryText(const ShelfItem &item, Date now)
{
    const Save &save = item.save();
    return mediaText(save.post()) + kSeparator + ageText(save.savedAt(), now) + kSeparator +
           addressText(save.post().link);
}

QString LatestSaveHero::fittedSummary(const QString &media, const QString &age, const QString &address,
                                      const QFontMetricsF &metrics, double width)
{
    const auto fits = [&](const QString &text) { return metrics.horizontalAdvance(text) <= width; };
    const QString full = media + kSeparator + age + kSeparator + address;
    if (fits(full))
        return full;
    // The address cut, keeping enough of it to tell where the save is from.
    const QString lead = media + kSeparator + age + kSeparator;
    const QString cut = metrics.elidedText(address, Qt::ElideRight, width - metrics.horizontalAdvance(lead));
    const QString ellipsis(QChar(0x2026));
    if (cut.endsWith(ellipsis) && cut.size() - 1 >= std::min<qsizetype>(kAddressKept, address.size() - 1))
        return lead + cut;
    // Then no address; then the age cut, then the media text.
    const QString both = media + kSeparator + age;
    if (fits(both))
        return both;
    const QString head = media + kSeparator;
    const QString ageCut = metrics.elidedText(age, Qt::ElideRight, width - metrics.horizontalAdvance(head));
    if (!ageCut.isEmpty() && ageCut != ellipsis)
        return head + ageCut;
    return metrics.elidedText(media, Qt::ElideRight, width);
}

double LatestSaveHero::thumbnailWidth(double row, double column, double ideal)
{
    const double least = std::min(ideal, kThumbnailLeast);
    return std::clamp(row - spacing - column - 2 * artPadding, least, ideal);
}

void LatestSaveHero::fitThumbnail()
{
    const SummaryLine *summary = static_cast<const SummaryLine *>(m_summary);
    const double row = contentsRect().width() - 2 * horizontalPadding;
    const double column = pillMinimumWidth + actionSpacing + summary->keptWidth();
    // The view's own hint and height for a width, whatever size it is fixed at now.
    const QSize ideal = m_thumbnail->sizeHint();
    const int width = int(std::floor(thumbnailWidth(row, column, ideal.width())));
    // The height stays: a narrower picture is fitted inside and centred, and the card's height
    // does not depend on its width through the thumbnail.
    const QSize size(std::min(width, ideal.width()), ideal.height());
    if (m_thumbnail->minimumSize() == size && m_thumbnail->maximumSize() == size)
        return;
    m_thumbnail->setFixedSize(size);
    // Laid out again now, not on the next turn, so the row never shows the frame of another width.
    m_art->layout()->activate();
    if (layout())
        layout()->activate();
}

bool LatestSaveHero::eventFilter(QObject *watched, QEvent *event)
{
    // A picture that arrived asks for another shape.
    if (watched == m_art && event->type() == QEvent::LayoutRequest)
        fitThumbnail();
    // The input that ends a press of the title or the thumbnail carries the modifiers its select
    // goes with (the button's clicked() carries none).
    if (watched == m_art || watched == m_title) {
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease
            || event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
            m_pressModifiers = static_cast<QInputEvent *>(event)->modifiers();
    }
    return QWidget::eventFilter(watched, event);
}

void LatestSaveHero::resizeEvent(QResizeEvent *event)
{
    fitThumbnail();
    QWidget::resizeEvent(event);
}

double LatestSaveHero::pillWidth(double width, double summaryWidth)
{
    return std::clamp(width - summaryWidth, pillMinimumWidth, pillMaximumWidth);
}

QMargins LatestSaveHero::shadowMargins()
{
    const int blur = int(shadowBlur);
    const int offset = int(shadowOffset);
    return QMargins(blur, std::max(0, blur - offset), blur, blur + offset);
}

QRectF LatestSaveHero::cardRect() const
{
    return QRectF(contentsRect());
}

void LatestSaveHero::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = cardRect();
    const PaneSurface surface = PaneSurface::card(false, false, radius);
    // An opaque card hides the shadow inside its corners' reach.
    const bool opaque = surface.effectiveFill(Theme::instance().surface()).alpha() == 255;
    CardShadow::paint(painter, card, radius, shadowBlur, QPointF(0, shadowOffset), shadowOpacity,
                      opaque ? card.adjusted(radius, radius, -radius, -radius) : QRectF());
    surface.paint(painter, card);
}

}  // namespace sw
