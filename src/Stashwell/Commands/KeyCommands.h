#pragma once

// The application's two key commands, seen in every window before the window's own shortcuts:
//
//   Ctrl+F   find: always taken, even while a text field is being edited
//   Ctrl+V   paste a link: taken only when no text field has the keyboard focus and the clipboard
//            holds a link (copiedLink()); otherwise the key goes on, so a text field pastes as
//            usual and the window's own Paste still runs
//
// The modifiers must be exactly Ctrl: with Shift, Alt, Meta or a keypad key the key goes on.
//
// KeyCommands is an application-wide event filter. A key with a menu shortcut reaches widgets
// first as a shortcut-override event; the filter accepts that event for the keys it takes, so
// the Edit menu's Paste (also Ctrl+V) does not fire before it, and then runs the action on the
// key press and swallows it. Main thread only.

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

namespace sw::app {

class KeyCommands final : public QObject {
    Q_OBJECT
public:
    // What a key press comes to.
    struct Command {
        enum class Kind { pass, find, paste };
        Kind kind = Kind::pass;
        QString text;   // the link, for paste

        static Command pass() { return {}; }
        static Command find() { return {Kind::find, {}}; }
        static Command paste(QString link) { return {Kind::paste, std::move(link)}; }
        friend bool operator==(const Command &, const Command &) = default;
    };

    // Installs the filter on the application (which must exist) until the object goes.
    KeyCommands(std::function<void()> onFind, std::function<void(const QString &)> onPaste,
                QObject *parent = nullptr);
    ~KeyCommands() override;

    // The decision for a key with these modifiers; `copied` is read only for a Ctrl+V outside a
    // text field.
    static Command decide(Qt::KeyboardModifiers modifiers, int key, bool textFieldFocused,
                          const std::function<std::optional<QString>()> &copied);
    // Whether the widget edits text (a line edit, a text view, a spin box, an editable combo
    // box), so that Ctrl+V there is its own paste.
    static bool editsText(const QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Command decide(const QKeyEvent &event) const;

    std::function<void()> m_onFind;
    std::function<void(const QString &)> m_onPaste;
};

}  // namespace sw::app
