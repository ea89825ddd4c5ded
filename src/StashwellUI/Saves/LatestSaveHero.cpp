#include "StashwellUI/Saves/LatestSaveHero.h"

#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/Saves/AuthorLine.h"
#include "StashwellUI/Design/CardShadow.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/detail/TextLines.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

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
        const int lines = std::max(1, TextLines::count(m_title, font(), width, kTitleLines));
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
        painter.setFont(font());
        painter.setPen(Tokens::Colors::text());
        const QString shown = TextLines::visible(m_title, font(), rect.width(), kTitleLines);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, shown);
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
        const QFontMetricsF metrics(m_font);
        double x = 0;
        const double baseline = metrics.ascent();
        for (qsizetype i = 0; i < m_runs.size(); ++i) {
            const Run &run = m_runs[i];
            const double room = width() - x;
            if (room <= 0)
                break;
            QString shown = run.text;
            const double advance = metrics.horizontalAdvance(shown);
            if (advance > room)
                shown = metrics.elidedText(shown, Qt::ElideRight, room);
            painter.setPen(run.color());
            painter.drawText(QPointF(x, baseline), shown);
            x += metrics.horizontalAdvance(shown);
            if (shown != run.text)
                break;
        }
    }

private:
    QFont m_font;
    QList<Run> m_runs;
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
    m_summary = new RunsLine(Tokens::Typography::mono.font(), this);
    m_art = new ArtButton(this);
    m_thumbnail = new MediaThumbnailView(MediaThumbnail(item, thumbnailHeight, true, false, false, true), m_art);
    // The frame around it takes the press.
    m_thumbnail->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_art->layout()->addWidget(m_thumbnail);

    auto *actionRow = new QHBoxLayout;
    actionRow->setContentsMargins(0, int(actionTopPadding), 0, 0);
    actionRow->setSpacing(int(actionSpacing));
    actionRow->addWidget(m_pill, 1);
    actionRow->addWidget(m_summary, 2);

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

    connect(m_title, &QAbstractButton::clicked, this, &LatestSaveHero::selected);
    connect(m_art, &QAbstractButton::clicked, this, &LatestSaveHero::selected);
    connect(m_pill, &ActionPillButton::performed, this, &LatestSaveHero::actionRequested);
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
    static_cast<RunsLine *>(m_summary)->setRuns({{summaryText(m_item, m_now), [] { return Tokens::Colors::muted(); }}});
    m_thumbnail->setThumbnail(MediaThumbnail(m_item, thumbnailHeight, true, false, false, true));
    update();
}

QString LatestSaveHero::shownAuthorText() const { return static_cast<const RunsLine *>(m_author)->text(); }
QString LatestSaveHero::shownSummary() const { return static_cast<const RunsLine *>(m_summary)->text(); }

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
    CardShadow::paint(painter, card, radius, shadowBlur, QPointF(0, shadowOffset), shadowOpacity);
    PaneSurface::card(false, false, radius).paint(painter, card);
}

}  // namespace sw
