#pragma once

// The application's icon in the desktop's tray (a StatusNotifierItem or an XEmbed tray), where the
// desktop has one: the application's mark drawn at the tray's sizes, named "Stashwell". A click
// asks for the quick save; its context menu, for hosts that only show menus, offers
// "Quick Save…", "Open Stashwell", "Settings" and "Quit".

#include <QIcon>
#include <QObject>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace sw::app {

class TrayIcon final : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop shows tray icons now.
    static bool isAvailable();
    // The application's mark at the usual icon sizes, for the tray and the windows.
    static QIcon applicationIcon();

    void show();
    bool isVisible() const;

    QSystemTrayIcon *icon() const { return m_icon; }
    QMenu *menu() const { return m_menu.get(); }
    QAction *quickSaveAction() const { return m_quickSave; }
    QAction *openAction() const { return m_open; }
    QAction *settingsAction() const { return m_settings; }
    QAction *quitAction() const { return m_quit; }

signals:
    void quickSaveRequested();
    void openRequested();
    void settingsRequested();
    void quitRequested();

private:
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon *m_icon;
    QAction *m_quickSave;
    QAction *m_open;
    QAction *m_settings;
    QAction *m_quit;
};

}  // namespace sw::app
