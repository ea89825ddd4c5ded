#include "StashwellUI/Inspector/InspectorPane.h"

#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>

namespace sw {

InspectorPane::InspectorPane(QWidget *parent) : QWidget(parent)
{
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void InspectorPane::addRule(QWidget *rule) { m_rules.append(rule); }

void InspectorPane::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const PaneSurface surface{Tokens::Colors::card(), Tokens::Colors::lineStrong(), 1, radius};
    surface.paint(painter, QRectF(rect()), [&] {
        for (const QWidget *rule : std::as_const(m_rules)) {
            if (rule->isVisible())
                painter.fillRect(rule->geometry(), Tokens::Colors::line());
        }
    });
}

QWidget *makeRule(InspectorPane *pane)
{
    auto *rule = new QWidget(pane);
    rule->setFixedHeight(1);
    pane->addRule(rule);
    return rule;
}

}  // namespace sw
