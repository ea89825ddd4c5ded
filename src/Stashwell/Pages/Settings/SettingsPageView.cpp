#include "Stashwell/Pages/Settings/SettingsPageView.h"

#include "Stashwell/Pages/Settings/GeneralSettingsView.h"
#include "Stashwell/Pages/Settings/NetworkSettingsView.h"
#include "Stashwell/Pages/Settings/SettingsPage.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Controls/GlassSegments.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/Design/LogoMark.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace sw::app {

namespace {

using S = StashwellStrings;
using Tab = SettingsPage::Tab;

}  // namespace

SettingsPageView::SettingsPageView(SettingsPage &page, QWidget *parent) : QWidget(parent), m_page(page)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedWidth(kWidth);
    connect(&sw::Theme::instance(), &sw::Theme::changed, this, qOverload<>(&QWidget::update));

    m_tabs = new GlassSegments({{int(Tab::general), S::settingsGeneral(), QStringLiteral("gearshape")},
                                {int(Tab::network), S::settingsNetwork(), QStringLiteral("network")}},
                               false);
    connect(m_tabs, &GlassSegments::chosen, this, [this](const QVariant &value) { m_page.setTab(Tab(value.toInt())); });

    auto *header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(new LogoMark(22, true));
    auto *title = new StyledText(S::settingsTitle(), Tokens::Typography::headline, &Tokens::Colors::text);
    title->setMaximumLines(1);
    header->addWidget(title, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_tabs);

    auto *column = new QVBoxLayout(this);
    // The desktop draws the title bar above, so the page keeps a top margin too.
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(16);
    column->addLayout(header);

    connect(&m_page, &SettingsPage::tabChanged, this, &SettingsPageView::showTab);
    showTab();
}

void SettingsPageView::showTab()
{
    m_tabs->setSelection(int(m_page.tab()));
    if (m_tabView) {
        // Its page is gone already; it goes with the next turn of the event loop.
        m_tabView->hide();
        layout()->removeWidget(m_tabView);
        m_tabView->deleteLater();
    }
    if (GeneralSettingsPage *general = m_page.general())
        m_tabView = new GeneralSettingsView(*general, this);
    else
        m_tabView = new NetworkSettingsView(*m_page.network(), this);
    layout()->addWidget(m_tabView);
    emit tabViewChanged();
}

QSize SettingsPageView::sizeHint() const
{
    // Always its own width, with the height the content needs there.
    return QSize(kWidth, layout()->totalHeightForWidth(kWidth));
}

void SettingsPageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Tokens::Colors::glassSheet());
}

}  // namespace sw::app
