#include "StashwellUI/Controls/GlassControls.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>

#include <cmath>

namespace sw {

namespace GlassMaterial {

void paintResponse(QPainter &painter, const QPainterPath &shape, const ControlState &state)
{
    if (!state.enabled || (!state.hovered && !state.pressed))
        return;
    QColor response = Tokens::Colors::onGlassHover();
    if (state.pressed)
        response = ControlPainting::faded(response, 2);
    painter.fillPath(shape, response);
}

void paint(QPainter &painter, const QPainterPath &shape, bool interactive, const ControlState &state)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = Theme::isDark();
    painter.fillPath(shape, dark ? QColor(255, 255, 255, 24) : QColor(255, 255, 255, 150));
    if (interactive)
        paintResponse(painter, shape, state);

    // The light catching the top edge, fading out towards the middle.
    const QRectF bounds = shape.boundingRect();
    QLinearGradient highlight(bounds.topLeft(), QPointF(bounds.left(), bounds.center().y()));
    highlight.setColorAt(0, dark ? QColor(255, 255, 255, 70) : QColor(255, 255, 255, 230));
    highlight.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setClipPath(shape);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(highlight), 3));
    painter.drawPath(shape);
    painter.restore();

    // The fine border, inside the edge.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(shape);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Tokens::Colors::lineStrong(), 2));
    painter.drawPath(shape);
    painter.restore();
}

}  // namespace GlassMaterial

namespace {

ControlPainting::Label glassLabel(const QString &symbol, const QString &title)
{
    ControlPainting::Label label;
    label.symbol = symbol;
    label.title = title;
    label.font = Tokens::Typography::bodyStrong.font();
    label.typeSize = Tokens::Typography::bodyStrong.size;
    label.spacing = 6;
    return label;
}

int ceilInt(double value) { return static_cast<int>(std::ceil(value - 1e-9)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// GlassButton

GlassButton::GlassButton(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

GlassButton::GlassButton(const QString &title, const QString &symbol, Tone tone, QWidget *parent) : GlassButton(parent)
{
    m_title = title;
    m_symbol = symbol;
    m_tone = tone;
}

void GlassButton::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    changed(true);
    notifyNameChanged(this);
}

void GlassButton::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    changed(true);
}

void GlassButton::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    changed();
}

QColor GlassButton::foreground(Tone tone)
{
    return tone == Tone::accent ? Tokens::Colors::onAccent() : Tokens::Colors::text();
}

QSize GlassButton::sizeHint() const
{
    const QSizeF label = glassLabel(m_symbol, m_title).size();
    return QSize(ceilInt(label.width() + 2 * sidePadding), static_cast<int>(controlHeight));
}

QPainterPath GlassButton::hitShape() const { return ContinuousShape::capsule(QRectF(rect())); }

void GlassButton::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    if (!state.enabled)
        painter.setOpacity(disabledOpacity);
    const QPainterPath shape = ContinuousShape::capsule(rect);
    GlassMaterial::paint(painter, shape, true, state);
    if (m_tone == Tone::accent) {
        painter.fillPath(shape, Tokens::Colors::accent());
        GlassMaterial::paintResponse(painter, shape, state);
    }
    glassLabel(m_symbol, m_title).paint(painter, rect.adjusted(sidePadding, 0, -sidePadding, 0), foreground(m_tone));
}

// ---------------------------------------------------------------------------------------------
// GlassSegments

// One segment: a capsule, accent-filled while chosen.
class GlassSegment : public Pressable {
public:
    GlassSegment(GlassSegments *owner, int index) : Pressable(owner), m_owner(owner), m_index(index)
    {
        connect(this, &QAbstractButton::clicked, owner, [owner, index] { owner->choose(index); });
    }

    bool isChosen() const { return m_owner->selectedIndex() == m_index; }
    // A segment on its way out after the options changed may outlive its option.
    GlassSegments::Option option() const { return m_owner->m_options.value(m_index); }

    QPainterPath hitShape() const override { return ContinuousShape::capsule(QRectF(rect())); }
    QString accessibleText() const override { return option().title; }
    bool isAccessiblySelectable() const override { return true; }
    bool isAccessiblySelected() const override { return isChosen(); }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ControlPainting::applyPlainStyle(painter, state);
        const bool chosen = isChosen();
        if (chosen)
            ContinuousShape::fill(painter, rect, rect.height() / 2, Tokens::Colors::accent());
        const double padding = m_owner->fills() ? 4 : 14;
        const Option o = option();
        glassLabel(o.symbol, o.title)
            .paint(painter, rect.adjusted(padding, 0, -padding, 0),
                   chosen ? Tokens::Colors::onAccent() : Tokens::Colors::textSecondary());
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        const bool rtl = layoutDirection() == Qt::RightToLeft;
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
            const int step = (event->key() == Qt::Key_Right) != rtl ? 1 : -1;
            m_owner->moveFocus(m_index, step);
            event->accept();
            return;
        }
        Pressable::keyPressEvent(event);
    }

private:
    using Option = GlassSegments::Option;
    GlassSegments *m_owner;
    int m_index;
};

GlassSegments::GlassSegments(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

GlassSegments::GlassSegments(const QList<Option> &options, bool fills, QWidget *parent) : GlassSegments(parent)
{
    m_options = options;
    m_fills = fills;
    setSizePolicy(fills ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Fixed);
    rebuild();
}

void GlassSegments::setOptions(const QList<Option> &options)
{
    if (options == m_options)
        return;
    m_options = options;
    rebuild();
}

void GlassSegments::setFills(bool fills)
{
    if (fills == m_fills)
        return;
    m_fills = fills;
    setSizePolicy(fills ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateGeometry();
    placeSegments();
    update();
}

void GlassSegments::setSelection(const QVariant &value)
{
    if (value == m_selection && value.typeId() == m_selection.typeId())
        return;
    const int before = selectedIndex();
    m_selection = value;
    const int after = selectedIndex();
    for (int index : {before, after}) {
        if (index >= 0) {
            m_segments[index]->update();
            if (before != after)
                AccessibleControl::notifySelectionChanged(m_segments[index]);
        }
    }
    emit selectionChanged(m_selection);
}

int GlassSegments::selectedIndex() const
{
    for (int i = 0; i < m_options.size(); ++i) {
        if (m_options[i].value == m_selection)
            return i;
    }
    return -1;
}

QList<Pressable *> GlassSegments::segments() const { return m_segments; }

void GlassSegments::rebuild()
{
    const bool hadFocus = std::any_of(m_segments.begin(), m_segments.end(), [](Pressable *s) { return s->hasFocus(); });
    // The owner may change the options while a segment is still reporting its press.
    for (Pressable *segment : std::as_const(m_segments)) {
        segment->hide();
        segment->disconnect(this);
        segment->deleteLater();
    }
    m_segments.clear();
    QWidget *previous = nullptr;
    for (int i = 0; i < m_options.size(); ++i) {
        auto *segment = new GlassSegment(this, i);
        segment->show();
        if (previous)
            setTabOrder(previous, segment);
        previous = segment;
        m_segments.append(segment);
    }
    if (hadFocus && !m_segments.isEmpty())
        m_segments.first()->setFocus();
    updateGeometry();
    placeSegments();
    update();
}

double GlassSegments::naturalSegmentWidth(const Option &option, bool fills)
{
    return glassLabel(option.symbol, option.title).size().width() + 2 * (fills ? 4 : 14);
}

QList<QRectF> GlassSegments::segmentRects(const QList<Option> &options, bool fills, double width)
{
    QList<QRectF> rects;
    const qsizetype n = options.size();
    if (n == 0)
        return rects;
    double x = inset;
    const double share = std::max(0.0, (width - 2 * inset - gap * double(n - 1)) / double(n));
    for (const Option &option : options) {
        const double w = fills ? share : naturalSegmentWidth(option, false);
        rects.append(QRectF(x, inset, w, segmentHeight));
        x += w + gap;
    }
    return rects;
}

void GlassSegments::placeSegments()
{
    const QList<QRectF> rects = segmentRects(m_options, m_fills, width());
    for (int i = 0; i < m_segments.size(); ++i) {
        const QRectF r = rects.at(i);
        // Whole pixels that keep the gaps: round both edges, not the width.
        const int left = static_cast<int>(std::round(r.left()));
        const int right = static_cast<int>(std::round(r.right()));
        m_segments[i]->setGeometry(left, static_cast<int>(inset), std::max(0, right - left), static_cast<int>(segmentHeight));
    }
}

QSize GlassSegments::sizeHint() const
{
    double width = 2 * inset + gap * double(std::max<qsizetype>(0, m_options.size() - 1));
    for (const Option &option : m_options)
        width += naturalSegmentWidth(option, m_fills);
    return QSize(ceilInt(width), static_cast<int>(segmentHeight + 2 * inset));
}

QSize GlassSegments::minimumSizeHint() const
{
    if (!m_fills)
        return sizeHint();
    return QSize(ceilInt(2 * inset + gap * double(std::max<qsizetype>(0, m_options.size() - 1))),
                 static_cast<int>(segmentHeight + 2 * inset));
}

void GlassSegments::choose(int index)
{
    if (index < 0 || index >= m_options.size())
        return;
    const QVariant value = m_options[index].value;
    setSelection(value);
    emit chosen(value);
}

void GlassSegments::moveFocus(int from, int step)
{
    const int to = from + step;
    if (to >= 0 && to < m_segments.size())
        m_segments[to]->setFocus(Qt::TabFocusReason);
}

void GlassSegments::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(ControlPainting::disabledOpacity);
    GlassMaterial::paint(painter, ContinuousShape::capsule(QRectF(rect())), false, ControlState{});
}

void GlassSegments::resizeEvent(QResizeEvent *) { placeSegments(); }

// ---------------------------------------------------------------------------------------------
// GlassPicker

namespace {

constexpr double pickerPadding = 14;
constexpr double pickerSpacing = 12;

double chevronSide() { return ControlPainting::symbolSide(Tokens::Typography::caption.size); }

}  // namespace

GlassPicker::GlassPicker(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &GlassPicker::openMenu);
}

GlassPicker::GlassPicker(const QString &label, const QList<Option> &options, QWidget *parent) : GlassPicker(parent)
{
    m_label = label;
    m_options = options;
}

void GlassPicker::setLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    notifyNameChanged(this);
}

void GlassPicker::setOptions(const QList<Option> &options)
{
    if (options == m_options)
        return;
    const QString before = currentTitle();
    m_options = options;
    changed(currentTitle() != before);
}

void GlassPicker::setSelection(const QVariant &value)
{
    if (value == m_selection && value.typeId() == m_selection.typeId())
        return;
    const QString before = currentTitle();
    m_selection = value;
    if (currentTitle() != before) {
        changed(true);
        notifyValueChanged(this);
    }
    emit selectionChanged(m_selection);
}

QString GlassPicker::titleFor(const QList<Option> &options, const QVariant &selection)
{
    for (const Option &option : options) {
        if (option.value == selection)
            return option.title;
    }
    return {};
}

QString GlassPicker::currentTitle() const { return titleFor(m_options, m_selection); }

QSize GlassPicker::sizeHint() const
{
    const double text = ControlPainting::textSize(Tokens::Typography::body.font(), currentTitle()).width();
    return QSize(ceilInt(2 * pickerPadding + text + pickerSpacing + chevronSide()), static_cast<int>(controlHeight));
}

QPainterPath GlassPicker::hitShape() const { return ContinuousShape::capsule(QRectF(rect())); }

void GlassPicker::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    if (!state.enabled)
        painter.setOpacity(ControlPainting::disabledOpacity);
    GlassMaterial::paint(painter, ContinuousShape::capsule(rect), true, state);
    const QRectF content = rect.adjusted(pickerPadding, 0, -pickerPadding, 0);
    const double side = chevronSide();
    const QRectF chevron(content.right() - side, content.center().y() - side / 2, side, side);
    ControlPainting::Label title;
    title.title = currentTitle();
    title.font = Tokens::Typography::body.font();
    title.typeSize = Tokens::Typography::body.size;
    title.paint(painter, QRectF(content.left(), content.top(), std::max(0.0, chevron.left() - pickerSpacing - content.left()), content.height()),
                Tokens::Colors::text(), false);
    Symbols::paint(painter, chevron, u"chevron.up.chevron.down", Tokens::Colors::muted());
}

void GlassPicker::openMenu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setAccessibleName(m_label);
    }
    m_menu->clear();
    for (const Option &option : m_options) {
        QAction *action = m_menu->addAction(option.title);
        // Keep a title's "&" as text, not as a mnemonic.
        action->setText(QString(option.title).replace(u'&', QStringLiteral("&&")));
        const QVariant value = option.value;
        connect(action, &QAction::triggered, this, [this, value] {
            setSelection(value);
            emit chosen(value);
        });
    }
    m_menu->popup(mapToGlobal(QPoint(0, rect().height())));
}

}  // namespace sw
