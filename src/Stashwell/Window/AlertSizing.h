#pragma once

// Alerts sized so that the desktop's title bar shows their title whole. A message box measures
// its heading and text but hardly its window title, which the window manager then cuts ("Empty
// th…"); it is widened to the width its title needs, within the screen.

#include <QFont>
#include <QString>

class QMessageBox;

namespace sw::app::AlertSizing {

// Room a title bar takes beside its title: the window menu, the close button and the margins.
inline constexpr int kTitleBarAllowance = 140;

// The title as the title bar may show it: Qt puts the application's display name after a window's
// title where one is set and the title does not already end with it; taken as always set.
QString shownTitle(const QString &title);
// The least width of a window whose title bar shows `title` whole in `font` (the title bar's).
int widthForTitle(const QString &title, const QFont &font);
// The font a title bar is measured in: the application's, bold, as title bars mostly are.
QFont titleFont();

// Widens `box` (before or while it is shown) to the width its window title needs, no wider than
// the free area of its screen.
void fitTitle(QMessageBox &box);

// Makes `box`, before it is shown, an alert as the application's other dialogs are: its title bar
// offers only to close it (a message box otherwise gets the window manager's buttons to minimise
// and maximise it), and it is wide enough for its title (fitTitle()).
void prepare(QMessageBox &box);

}  // namespace sw::app::AlertSizing
