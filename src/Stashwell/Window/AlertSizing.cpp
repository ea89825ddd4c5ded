#include "Stashwell/Window/AlertSizing.h"

#include "StashwellUI/Controls/DialogWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>

namespace sw::app::AlertSizing {

QString shownTitle(const QString &title)
{
    // Whether a display name was set cannot be asked (the display name falls back to the
    // application's name); measured as if it were, a title is never cut, at worst given room to spare.
    const QString name = QGuiApplication::applicationDisplayName();
    if (name.isEmpty() || title.endsWith(name))
        return title;
    return title.isEmpty() ? name : title + QStringLiteral(" \u2014 ") + name;
}

int widthForTitle(const QString &title, const QFont &font)
{
    return QFontMetrics(font).horizontalAdvance(shownTitle(title)) + kTitleBarAllowance;
}

QFont titleFont()
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return font;
}

void fitTitle(QMessageBox &box)
{
    auto *buttons = box.findChild<QDialogButtonBox *>();
    if (!buttons || !box.layout())
        return;
    int need = widthForTitle(box.windowTitle(), titleFont());
    if (const QScreen *screen = box.screen())
        need = std::min(need, screen->availableGeometry().width() * 9 / 10);
    // The buttons' row spans the box: a least width there is a least width of the whole box, which
    // the box keeps whenever it sizes itself to its texts anew.
    const QMargins margins = box.layout()->contentsMargins();
    const int row = need - margins.left() - margins.right();
    buttons->setMinimumWidth(std::max(buttons->minimumSizeHint().width(), row));
}

void prepare(QMessageBox &box)
{
    box.setWindowFlags(dialogWindowFlags);
    fitTitle(box);
}

}  // namespace sw::app::AlertSizing
