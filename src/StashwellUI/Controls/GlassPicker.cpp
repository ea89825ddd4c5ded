#include "StashwellUI/Controls/GlassPicker.h"

#include "StashwellUI/Controls/GlassMaterial.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/Sizing.h"

#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace sw {

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
    return QSize(Sizing::ceilInt(2 * pickerPadding + text + pickerSpacing + chevronSide()), static_cast<int>(controlHeight));
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
