#include "Stashwell/App/TrayIcon.h"

#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Design/LogoMark.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace sw::app {

TrayIcon::TrayIcon(QObject *parent)
    : QObject(parent), m_menu(std::make_unique<QMenu>()), m_icon(new QSystemTrayIcon(applicationIcon(), this))
{
    using S = StashwellStrings;
    m_quickSave = m_menu->addAction(S::menuQuickSave());
    m_open = m_menu->addAction(S::menuOpenStashwell());
    m_settings = m_menu->addAction(S::menuSettings());
    m_menu->addSeparator();
    m_quit = m_menu->addAction(S::menuQuit());
    connect(m_quickSave, &QAction::triggered, this, &TrayIcon::quickSaveRequested);
    connect(m_open, &QAction::triggered, this, &TrayIcon::openRequested);
    connect(m_settings, &QAction::triggered, this, &TrayIcon::settingsRequested);
    connect(m_quit, &QAction::triggered, this, &TrayIcon::quitRequested);

    m_icon->setContextMenu(m_menu.get());
    // The name hosts read out and show on hover.
    m_icon->setToolTip(QStringLiteral("Stashwell"));
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            emit quickSaveRequested();
    });
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::isAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

QIcon TrayIcon::applicationIcon()
{
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        sw::LogoMark::paint(painter, QRectF(0, 0, side, side), true);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void TrayIcon::show() { m_icon->show(); }

bool TrayIcon::isVisible() const { return m_icon->isVisible(); }

}  // namespace sw::app
