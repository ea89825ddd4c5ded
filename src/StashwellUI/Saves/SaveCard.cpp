#include "StashwellUI/Saves/SaveCard.h"

#include "StashwellUI/Design/XGlyph.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/detail/SaveActivation.h"
#include "StashwellUI/detail/TextLines.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

QFont textFont()
{
    static const QFont font = Tokens::Typography::body.font();
    return font;
}

double textLineHeight()
{
    return QFontMetricsF(textFont()).lineSpacing();
}

// The author line's height: the avatar or its two lines, whichever is taller.
double authorHeight()
{
    static const double height = AuthorLine(Author{QStringLiteral("A"), Handle{QStringLiteral("a")}, std::nullopt}).sizeHint().height();
    return height;
}

double metaHeight()
{
    static const double height = std::ceil(std::max(QFontMetricsF(Tokens::Typography::mono.font()).height(),
                                                    ControlPainting::symbolSide(Tokens::Typography::mono.size)));
    return height;
}

double actionRowContentHeight()
{
    return std::max(PillButton::minimumHeight, SaveCard::trashSize);
}

// The hover look comes in with `progress`: the stroke turns from the strong line to the muted
// colour at 0.45; selection wins whatever the hover.
PaneSurface cardSurface(bool selected, double progress)
{
    PaneSurface surface = PaneSurface::card(selected, false, SaveCard::radius);
    if (selected || progress <= 0)
        return surface;
    const PaneSurface hovered = PaneSurface::card(false, true, SaveCard::radius);
    if (progress >= 1)
        return hovered;
    const QColor from = surface.stroke;
    const QColor to = hovered.stroke;
    const auto mix = [progress](double a, double b) { return a + (b - a) * progress; };
    surface.stroke = QColor::fromRgbF(float(mix(from.redF(), to.redF())), float(mix(from.greenF(), to.greenF())),
                                      float(mix(from.blueF(), to.blueF())), float(mix(from.alphaF(), to.alphaF())));
    return surface;
}

ControlState partState(const SaveCard::ViewState &state, SaveCard::Part part)
{
    ControlState control;
    control.hovered = state.hoveredPart == part;
    control.pressed = state.pressedPart == part;
    return control;
}

}  // namespace

SaveCard::SaveCard(const ShelfItem &item, Date now, bool isSelected)
    : m_item(item),
      m_now(now),
      m_selected(isSelected),
      m_showsText(item.save().post().kind() != Kind::text),
      m_thumbnail(item, thumbnailHeight, false, false, true, true),
      m_author(item.save().post().author, std::nullopt, AuthorLine::defaultSize),
      m_meta(item, now),
      m_pill(item.action())
{
}

double SaveCard::wholeMinute(Date date)
{
    return std::trunc(date.sinceReference / 60);
}

bool operator==(const SaveCard &a, const SaveCard &b)
{
    return a.m_selected == b.m_selected && a.sameBody(b);
}

bool SaveCard::sameBody(const SaveCard &other) const
{
    return m_item == other.m_item && wholeMinute(m_now) == wholeMinute(other.m_now);
}

QString SaveCard::sourceSymbol() const
{
    return m_item.save().post().link.isX() ? Symbols::xGlyph : QStringLiteral("globe");
}

QString SaveCard::accessibleText() const
{
    const Post &post = m_item.save().post();
    return post.author.name + QStringLiteral(": ") + post.text;
}

QString SaveCard::shownText(double width) const
{
    if (!m_showsText)
        return QString();
    if (width != m_textWidth) {
        m_text = TextLines::visible(m_item.save().post().text, textFont(), std::max(0.0, width), textLines);
        m_textWidth = width;
    }
    return m_text;
}

double SaveCard::height(bool showsText)
{
    double body = bodyTop + authorHeight() + bodySpacing + metaHeight();
    if (showsText)
        body += std::ceil(textLineHeight() * textLines) + bodySpacing;
    return thumbnailInset + thumbnailHeight + body + 2 * actionPadding + actionRowContentHeight();
}

double SaveCard::height() const
{
    return height(m_showsText);
}

SaveCard::Layout SaveCard::layout(const QRectF &rect, const ViewState &state) const
{
    Layout l;
    l.card = rect.translated(0, -hoverLift * std::clamp(state.hover, 0.0, 1.0));
    const QRectF &card = l.card;

    l.thumbnail = QRectF(card.left() + thumbnailInset, card.top() + thumbnailInset,
                         std::max(0.0, card.width() - 2 * thumbnailInset), thumbnailHeight);

    const double left = card.left() + bodyInset;
    const double width = std::max(0.0, card.width() - 2 * bodyInset);
    double y = l.thumbnail.bottom() + bodyTop;
    const double markSide = sourceSymbol() == Symbols::xGlyph ? xGlyphSize : ControlPainting::symbolSide(Tokens::Typography::body.size);
    const double header = authorHeight();
    l.sourceMark = QRectF(left + width - markSide, y + (header - markSide) / 2, markSide, markSide);
    l.author = QRectF(left, y, std::max(0.0, width - markSide - headerSpacing), header);
    y += header + bodySpacing;
    if (m_showsText) {
        const double textHeight = std::ceil(textLineHeight() * textLines);
        l.text = QRectF(left, y, width, textHeight);
        y += textHeight + bodySpacing;
    }
    l.meta = QRectF(left, y, width, metaHeight());
    y += metaHeight();
    l.body = QRectF(card.left(), l.thumbnail.bottom(), card.width(), y - l.thumbnail.bottom());

    const double rowTop = y + actionPadding;
    const double rowHeight = actionRowContentHeight();
    const double rowLeft = card.left() + actionPadding;
    const double rowWidth = std::max(0.0, card.width() - 2 * actionPadding);
    double pillWidth = rowWidth;
    if (showsTrash()) {
        pillWidth = std::max(0.0, rowWidth - trashSize - actionSpacing);
        l.trash = QRectF(rowLeft + rowWidth - trashSize, rowTop + (rowHeight - trashSize) / 2, trashSize, trashSize);
    }
    l.pill = QRectF(rowLeft, rowTop + (rowHeight - PillButton::minimumHeight) / 2, pillWidth, PillButton::minimumHeight);
    return l;
}

std::optional<PictureKey> SaveCard::pictureKey(const ViewState &state) const
{
    return m_thumbnail.pictureKey(state.thumbnail.page);
}

void SaveCard::paint(QPainter &painter, const QRectF &rect, const ViewState &state, const PicturePointer &picture,
                     const PicturePointer &avatar) const
{
    paintBody(painter, rect, state, picture, avatar);
    paintBorder(painter, rect, state);
}

SaveCard::ViewState SaveCard::bodyState(ViewState state) const
{
    state.hover = 0;
    state.hovered = false;
    // The body and the thumbnail look the same under the pointer (pressed, the body dims).
    if (state.hoveredPart != Part::pill && state.hoveredPart != Part::trash)
        state.hoveredPart = Part::none;
    if (!m_thumbnail.showsArrows(true)) {
        state.thumbnail.hovering = false;
        state.thumbnail.hoveredArrow = MediaThumbnail::Hit::none;
    }
    return state;
}

double SaveCard::borderProgress(const ViewState &state)
{
    const double progress = state.hovered ? std::max(state.hover, 0.0) : state.hover;
    return std::round(std::clamp(progress, 0.0, 1.0) * 16) / 16;
}

void SaveCard::paintBody(QPainter &painter, const QRectF &rect, const ViewState &state, const PicturePointer &picture,
                         const PicturePointer &avatar) const
{
    const Layout l = layout(rect, state);
    if (l.card.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The fill is the same selected or not: the body is the same either way (sameBody()).
    cardSurface(false, 0).paintBehind(painter, l.card);

    m_thumbnail.paint(painter, l.thumbnail, state.thumbnail, picture);

    // The body is one button: pressed, its whole label dims.
    painter.save();
    ControlPainting::applyPlainStyle(painter, partState(state, Part::body));
    m_author.paint(painter, l.author, avatar);
    if (sourceSymbol() == Symbols::xGlyph)
        XGlyph::paint(painter, l.sourceMark, Tokens::Colors::muted());
    else
        Symbols::paint(painter, l.sourceMark, sourceSymbol(), Tokens::Colors::muted());
    if (m_showsText) {
        painter.setFont(textFont());
        painter.setPen(Tokens::Colors::textSecondary());
        painter.drawText(l.text, Qt::AlignLeft | Qt::AlignTop, shownText(l.text.width()));
    }
    m_meta.paint(painter, l.meta);
    painter.restore();

    m_pill.paint(painter, l.pill, partState(state, Part::pill));
    if (l.trash)
        RoundIconButton::paint(painter, *l.trash, QStringLiteral("trash"), Tokens::Colors::muted(), partState(state, Part::trash));
    painter.restore();
}

void SaveCard::paintBorder(QPainter &painter, const QRectF &rect, const ViewState &state) const
{
    const QRectF card = layout(rect, state).card;
    if (card.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    cardSurface(m_selected, borderProgress(state)).paintOver(painter, card);
    painter.restore();
}

bool SaveCard::listBorder(DrawList &list, const QPainter &painter, const QRectF &rect, const ViewState &state) const
{
    const QRectF card = layout(rect, state).card;
    return card.isEmpty() || cardSurface(m_selected, borderProgress(state)).listOver(list, painter, card);
}

SaveCard::Part SaveCard::hitTest(const QRectF &rect, const QPointF &point, const ViewState &state,
                                 const PicturePointer &picture) const
{
    const Layout l = layout(rect, state);
    if (!l.card.contains(point))
        return Part::none;
    switch (m_thumbnail.hitTest(l.thumbnail, point, state.thumbnail, picture)) {
    case MediaThumbnail::Hit::previous:
        return Part::previousPage;
    case MediaThumbnail::Hit::next:
        return Part::nextPage;
    case MediaThumbnail::Hit::body:
        return Part::thumbnail;
    case MediaThumbnail::Hit::none:
        break;
    }
    if (l.body.contains(point))
        return Part::body;
    if (m_pill.hitTest(l.pill, point))
        return Part::pill;
    if (l.trash) {
        const QPointF d = point - l.trash->center();
        if (d.x() * d.x() + d.y() * d.y() <= (trashSize / 2) * (trashSize / 2))
            return Part::trash;
    }
    return Part::none;
}

MediaThumbnail::Hit SaveCard::thumbnailHit(Part part)
{
    switch (part) {
    case Part::previousPage:
        return MediaThumbnail::Hit::previous;
    case Part::nextPage:
        return MediaThumbnail::Hit::next;
    case Part::thumbnail:
        return MediaThumbnail::Hit::body;
    default:
        return MediaThumbnail::Hit::none;
    }
}

bool SaveCard::activate(Part part, const IntentHandler &raise, ViewState &state, Qt::KeyboardModifiers modifiers) const
{
    // The thumbnail selects the save as the body does.
    if (const auto shared = SaveActivation::activate(part == Part::thumbnail ? Part::body : part, m_pill, showsTrash(),
                                                     raise, modifiers))
        return *shared;
    if (part != Part::previousPage && part != Part::nextPage)
        return false;
    if (!m_thumbnail.showsArrows(true))
        return false;
    state.thumbnail.page = m_thumbnail.step(part == Part::nextPage ? 1 : -1, state.thumbnail.page);
    return true;
}

}  // namespace sw
