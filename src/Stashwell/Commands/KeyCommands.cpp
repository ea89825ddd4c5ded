#include "Stashwell/Commands/KeyCommands.h"

#include "Stashwell/Commands/CopiedLink.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace sw::app {

KeyCommands::KeyCommands(std::function<void()> onFind, std::function<void(const QString &)> onPaste, QObject *parent)
    : QObject(parent), m_onFind(std::move(onFind)), m_onPaste(std::move(onPaste))
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

KeyCommands::~KeyCommands()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

KeyCommands::Command KeyCommands::decide(Qt::KeyboardModifiers modifiers, int key, bool textFieldFocused,
                                         const std::function<std::optional<QString>()> &copied)
{
    if (modifiers != Qt::ControlModifier)
        return Command::pass();
    switch (key) {
    case Qt::Key_F:
        return Command::find();
    case Qt::Key_V: {
        if (textFieldFocused || !copied)
            return Command::pass();
        std::optional<QString> link = copied();
        return link ? Command::paste(std::move(*link)) : Command::pass();
    }
    default:
        return Command::pass();
    }
}

bool KeyCommands::editsText(const QWidget *widget)
{
    if (!widget)
        return false;
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QTextEdit *>(widget)
        || qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget))
        return true;
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->isEditable();
    return false;
}

KeyCommands::Command KeyCommands::decide(const QKeyEvent &event) const
{
    return decide(event.modifiers(), event.key(), editsText(QApplication::focusWidget()), copiedLink);
}

bool KeyCommands::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    // A key event reaches the window before the widget with the focus: the first sight decides,
    // and a taken key goes no further.
    const auto &key = static_cast<const QKeyEvent &>(*event);
    const Command command = decide(key);
    if (command.kind == Command::Kind::pass)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Taken: no shortcut fires, and the key arrives as a key press.
        event->accept();
        return true;
    }
    if (command.kind == Command::Kind::find) {
        if (m_onFind)
            m_onFind();
    } else if (m_onPaste) {
        m_onPaste(command.text);
    }
    return true;
}

}  // namespace sw::app
