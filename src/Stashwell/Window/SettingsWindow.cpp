#include "Stashwell/Window/SettingsWindow.h"

#include "Stashwell/StashwellStrings.h"
#include "Stashwell/Window/ClearTitleBar.h"
#include "Stashwell/Window/WindowPlacement.h"
#include "StashwellUI/Design/LogoMark.h"
#include "StashwellUI/Design/Tokens.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace sw::app {

namespace {

QWidget *makePlaceholder()
{
    auto *placeholder = new QWidget;
    auto *layout = new QVBoxLayout(placeholder);
    layout->addStretch(1);
    layout->addWidget(new sw::LogoMark(48, true), 0, Qt::AlignCenter);
    auto *title = new QLabel(StashwellStrings::settingsTitle());
    title->setFont(sw::Tokens::Typography::title.font());
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addStretch(1);
    return placeholder;
}

}  // namespace

SettingsWindow::SettingsWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("settings"));
    setWindowTitle(StashwellStrings::settingsTitle());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makePlaceholder());
    resize(kWidth, 480);
    ClearTitleBar::apply(*this);
    connect(&sw::Theme::instance(), &sw::Theme::changed, this, qOverload<>(&QWidget::update));
}

void SettingsWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), sw::Tokens::Colors::window());
}

void SettingsWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A page that grew (another section, a longer text) must not push the window off the screen.
    if (isVisible())
        WindowPlacement::keepInside(*this, nullptr);
}

void SettingsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_framing.setRemainingTime(kFramingMs);
    WindowPlacement::keepInside(*this, nullptr);
}

void SettingsWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (isVisible() && !m_framing.hasExpired())
        WindowPlacement::keepInside(*this, nullptr);
}

void SettingsWindow::setPage(QWidget *page)
{
    QLayout *layout = this->layout();
    while (QLayoutItem *item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    // A page decides the window's size: its own width, and the height its content needs.
    layout->setSizeConstraint(page ? QLayout::SetFixedSize : QLayout::SetDefaultConstraint);
    if (page)
        layout->addWidget(page);
}

QWidget *SettingsWindow::page() const
{
    QLayoutItem *item = layout()->itemAt(0);
    return item ? item->widget() : nullptr;
}

void SettingsWindow::bringToFront(const QWidget *over)
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    if (page())
        adjustSize();
    WindowPlacement::keepInside(*this, over);
    show();
    raise();
    activateWindow();
}

}  // namespace sw::app
