#include "StashwellUI/Shelf/ShelfBar.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassMaterial.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/TextRuns.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Pictures/PaintMemo.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace sw {

namespace {

QFont titleFont() { return Tokens::Typography::toolbarTitle.font(); }
QFont subtitleFont() { return Tokens::Typography::toolbarSubtitle.font(); }

double lineHeight(const QFont &font) { return std::ceil(QFontMetricsF(font).height()); }

// The room the title keeps before the search field gives up width of its own.
constexpr double kTitleShare = 120;

}  // namespace

// --- ShelfLayoutOption ---

ShelfLayoutOption::ShelfLayoutOption(ShelfLayout layout, QWidget *parent) : Pressable(parent), m_layout(layout)
{
    setToolTip(accessibleText());
}

void ShelfLayoutOption::setCurrent(bool current)
{
    if (current == m_current)
        return;
    m_current = current;
    AccessibleControl::notifySelectionChanged(this);
    changed();
}

QSize ShelfLayoutOption::sizeHint() const
{
    return QSize(int(optionWidth), int(optionHeight));
}

QPainterPath ShelfLayoutOption::hitShape() const
{
    return ContinuousShape::capsule(QRectF(rect()));
}

QString ShelfLayoutOption::accessibleText() const
{
    return m_layout == ShelfLayout::grid ? StashwellUIStrings::shelfGrid() : StashwellUIStrings::shelfList();
}

QString ShelfLayoutOption::keptLook() const
{
    return QString::number(int(m_layout)) + (m_current ? QStringLiteral("|current") : QStringLiteral("|other"));
}

void ShelfLayoutOption::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    ControlPainting::applyPlainStyle(painter, state);
    if (m_current)
        ContinuousShape::fill(painter, rect, rect.height() / 2, Tokens::Colors::accent());
    const double side = ControlPainting::symbolSide(symbolSize);
    const QRectF box(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    Symbols::paint(painter, box, shelfLayoutSymbol(m_layout),
                   m_current ? Tokens::Colors::onAccent() : Tokens::Colors::textSecondary());
}

// --- ShelfLayoutSwitch ---

ShelfLayoutSwitch::ShelfLayoutSwitch(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const ShelfLayout layout : allShelfLayouts) {
        auto *option = new ShelfLayoutOption(layout, this);
        option->setCurrent(layout == m_current);
        connect(option, &QAbstractButton::clicked, this, [this, layout] { emit chosen(layout); });
        m_options.append(option);
    }
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void ShelfLayoutSwitch::setCurrent(ShelfLayout layout)
{
    m_current = layout;
    for (ShelfLayoutOption *option : std::as_const(m_options))
        option->setCurrent(option->layout() == layout);
}

QSize ShelfLayoutSwitch::sizeHint() const
{
    const double width = 2 * inset + double(m_options.size()) * ShelfLayoutOption::optionWidth
                         + double(std::max<qsizetype>(0, m_options.size() - 1)) * gap;
    return QSize(int(std::ceil(width)), int(std::ceil(2 * inset + ShelfLayoutOption::optionHeight)));
}

void ShelfLayoutSwitch::resizeEvent(QResizeEvent *)
{
    const double top = (height() - ShelfLayoutOption::optionHeight) / 2;
    double x = inset;
    for (ShelfLayoutOption *option : std::as_const(m_options)) {
        option->setGeometry(QRectF(x, top, ShelfLayoutOption::optionWidth, ShelfLayoutOption::optionHeight).toRect());
        x += ShelfLayoutOption::optionWidth + gap;
    }
}

void ShelfLayoutSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    GlassMaterial::paint(painter, ContinuousShape::capsule(QRectF(rect())), false, ControlState{});
}

// --- ShelfBar ---

ShelfBar::ShelfBar(QWidget *parent)
    : QWidget(parent),
      m_switch(new ShelfLayoutSwitch(this)),
      m_search(new SearchField(this)),
      m_saveLink(new GlassButton(StashwellUIStrings::shelfSaveLink(), QStringLiteral("plus"), Tone::accent, this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_search->setPrompt(StashwellUIStrings::searchPrompt());
    m_saveLink->setToolTip(StashwellUIStrings::shelfSaveLinkHelp());
    connect(m_switch, &ShelfLayoutSwitch::chosen, this, &ShelfBar::layoutChosen);
    connect(m_search, &SearchField::textChanged, this, &ShelfBar::queryChanged);
    connect(m_search, &SearchField::focusChanged, this, &ShelfBar::searchFocusChanged);
    connect(m_saveLink, &QAbstractButton::clicked, this, &ShelfBar::saveLinkRequested);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    setTabOrder(m_switch->options().constFirst(), m_switch->options().constLast());
    setTabOrder(m_switch->options().constLast(), m_search);
    setTabOrder(m_search, m_saveLink);
}

void ShelfBar::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    const QRectF before = titleRect();
    m_title = title;
    updateGeometry();
    updateTitle(before);
}

void ShelfBar::setSubtitle(const QString &subtitle)
{
    if (subtitle == m_subtitle)
        return;
    const QRectF before = titleRect();
    m_subtitle = subtitle;
    updateGeometry();
    updateTitle(before);
}

void ShelfBar::updateTitle(const QRectF &before)
{
    // Only the title's block, where it stood and stands: the count under the title changes with
    // every letter of a search, and a repaint of the whole bar would paint its controls and
    // everything under them again.
    update(titleArea(before.united(titleRect())));
}

QRect ShelfBar::titleArea(const QRectF &block)
{
    // Glyphs may reach a little past their line.
    return block.toAlignedRect().adjusted(-2, -2, 2, 2);
}

ShelfLayout ShelfBar::shelfLayout() const
{
    return m_switch->current();
}

void ShelfBar::setShelfLayout(ShelfLayout layout)
{
    m_switch->setCurrent(layout);
}

QString ShelfBar::query() const
{
    return m_search->text();
}

void ShelfBar::setQuery(const QString &query)
{
    m_search->setText(query);
}

bool ShelfBar::isSearchFocused() const
{
    return m_search->isFocused();
}

void ShelfBar::setSearchFocused(bool focused)
{
    m_search->setFocused(focused);
}

void ShelfBar::setTrailing(QWidget *trailing)
{
    if (trailing == m_trailing)
        return;
    if (m_trailing && m_trailing->parentWidget() == this)
        m_trailing->hide();
    m_trailing = trailing;
    if (trailing) {
        trailing->setParent(this);
        trailing->show();
        // Before the layout switch in the keyboard's order.
        setTabOrder(trailing, m_switch->options().constFirst());
    }
    place();
}

double ShelfBar::controlsWidth(double searchWidth) const
{
    double width = m_switch->sizeHint().width() + spacing + searchWidth + spacing + m_saveLink->sizeHint().width();
    if (m_trailing && !m_trailing->isHidden())
        width += m_trailing->sizeHint().width() + spacing;
    return width;
}

void ShelfBar::place()
{
    // What the bar paints itself (the search field's glass, the title) follows the controls:
    // when none moved, the bar stands as it was.
    const QRectF titleBefore = titleRect();
    const auto placed = [this] {
        std::array<QRect, 4> at{m_saveLink->geometry(), m_search->geometry(), m_switch->geometry(), QRect()};
        if (m_trailing && !m_trailing->isHidden())
            at[3] = m_trailing->geometry();
        return at;
    };
    const std::array<QRect, 4> before = placed();
    const double h = height();
    const double right = width() - sidePadding;
    // The search field takes its ideal width while there is room, shrinking to its least before
    // the title block gives way entirely.
    const double available = width() - 2 * sidePadding - titleGap;
    double search = SearchField::idealWidth;
    const double needed = controlsWidth(search) + std::min(titleSize().width(), kTitleShare);
    if (needed > available)
        search = std::clamp(search - (needed - available), SearchField::minimumWidth, SearchField::idealWidth);

    double x = right;
    const auto placeAtRight = [&x, h](QWidget *widget, double w, double ht) {
        x -= w;
        widget->setGeometry(QRectF(x, (h - ht) / 2, w, ht).toRect());
        x -= spacing;
    };
    const QSize link = m_saveLink->sizeHint();
    placeAtRight(m_saveLink, link.width(), link.height());
    placeAtRight(m_search, search, SearchField::controlHeight);
    const QSize layoutSwitch = m_switch->sizeHint();
    placeAtRight(m_switch, layoutSwitch.width(), layoutSwitch.height());
    if (m_trailing && !m_trailing->isHidden()) {
        const QSize trailing = m_trailing->sizeHint();
        placeAtRight(m_trailing, trailing.width(), std::min<double>(trailing.height(), h));
    }
    if (placed() != before || titleRect() != titleBefore)
        update();
}

QSizeF ShelfBar::titleSize() const
{
    // Measured on every paint and layout of the bar: the controls' kept sizes of texts.
    const double width = std::max(ControlPainting::textSize(titleFont(), m_title).width(),
                                  ControlPainting::textSize(subtitleFont(), m_subtitle).width());
    return QSizeF(width, lineHeight(titleFont()) + titleSpacing + lineHeight(subtitleFont()));
}

QRectF ShelfBar::titleRect() const
{
    double controlsLeft = m_switch->geometry().left();
    if (m_trailing && !m_trailing->isHidden())
        controlsLeft = m_trailing->geometry().left();
    const QSizeF size = titleSize();
    const double width = std::max(0.0, std::min(size.width(), controlsLeft - titleGap - sidePadding));
    return QRectF(sidePadding, (height() - size.height()) / 2, width, size.height());
}

QString ShelfBar::shownTitle() const
{
    return TextRuns::elided(m_title, titleFont(), titleRect().width());
}

QString ShelfBar::shownSubtitle() const
{
    return TextRuns::elided(m_subtitle, subtitleFont(), titleRect().width());
}

QSize ShelfBar::sizeHint() const
{
    const double width = 2 * sidePadding + titleSize().width() + titleGap + controlsWidth(SearchField::idealWidth);
    return QSize(int(std::ceil(width)), int(barHeight));
}

QSize ShelfBar::minimumSizeHint() const
{
    const double width = 2 * sidePadding + titleGap + controlsWidth(SearchField::minimumWidth);
    return QSize(int(std::ceil(width)), int(barHeight));
}

void ShelfBar::resizeEvent(QResizeEvent *)
{
    place();
}

bool ShelfBar::event(QEvent *event)
{
    // The page's view asks for another size.
    if (event->type() == QEvent::LayoutRequest)
        place();
    return QWidget::event(event);
}

void ShelfBar::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Each part is painted only where it is asked for: a letter typed repaints the search field
    // alone, a new count the title block alone.
    const QRegion asked = event->region();
    // The search field sits on glass of its own, drawn within its shape.
    const QRectF search = QRectF(m_search->geometry());
    if (asked.intersects(search.toAlignedRect()))
        GlassMaterial::paint(painter, ContinuousShape::rect(search, searchRadius), false, ControlState{});

    const QRectF block = titleRect();
    if (block.width() <= 0 || !asked.intersects(titleArea(block)))
        return;
    // The bar repaints under every frame that changes the shelf beneath it: the two lines are
    // drawn once for their texts and colours, and copied.
    const QString title = shownTitle();
    const QString subtitle = shownSubtitle();
    const QColor titleColour = Tokens::Colors::text();
    const QColor subtitleColour = Tokens::Colors::muted();
    const QString key = PaintMemo::keyAfter(title + u'\n' + subtitle, QLatin1StringView("|bar.title"), titleColour.rgba(),
                                            subtitleColour.rgba());
    // With the room that glyphs may take past their lines.
    const QRectF area(titleArea(block));
    const QPointF inset = block.topLeft() - area.topLeft();
    PaintMemo::draw(painter, area, key, [&](QPainter &p, const QRectF &at) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        const QPointF corner = at.topLeft() + inset;
        const double titleHeight = lineHeight(titleFont());
        p.setPen(titleColour);
        TextRuns::drawCentred(p, QRectF(corner.x(), corner.y(), block.width(), titleHeight), title, titleFont());
        p.setPen(subtitleColour);
        const QRectF second(corner.x(), corner.y() + titleHeight + titleSpacing, block.width(), lineHeight(subtitleFont()));
        TextRuns::drawCentred(p, second, subtitle, subtitleFont());
    });
}

}  // namespace sw
