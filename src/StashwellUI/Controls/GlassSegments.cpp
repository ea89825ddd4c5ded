#include "StashwellUI/Controls/GlassSegments.h"

#include "StashwellUI/Controls/GlassMaterial.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/Sizing.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

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
        GlassMaterial::label(o.symbol, o.title)
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
    return GlassMaterial::label(option.symbol, option.title).size().width() + 2 * (fills ? 4 : 14);
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
    return QSize(Sizing::ceilInt(width), static_cast<int>(segmentHeight + 2 * inset));
}

QSize GlassSegments::minimumSizeHint() const
{
    if (!m_fills)
        return sizeHint();
    return QSize(Sizing::ceilInt(2 * inset + gap * double(std::max<qsizetype>(0, m_options.size() - 1))),
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

}  // namespace sw
