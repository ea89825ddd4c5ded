// The key commands: which keys are taken (the decision as rows), and real key presses through the
// application's event filter with a line edit or another widget focused, beside window shortcuts
// on the same keys (as the Edit menu's Paste is).

#include "Stashwell/Commands/CopiedLink.h"
#include "Stashwell/Commands/KeyCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

using namespace sw::app;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {
const QString aLink = QStringLiteral("https://x.com/jack/status/20");

QString describe(const KeyCommands::Command &command)
{
    switch (command.kind) {
    case KeyCommands::Command::Kind::find: return QStringLiteral("find");
    case KeyCommands::Command::Kind::paste: return QStringLiteral("paste ") + command.text;
    case KeyCommands::Command::Kind::pass: return QStringLiteral("pass");
    }
    return {};
}
}  // namespace

class TestKeyCommands : public QObject {
    Q_OBJECT
private slots:
    void decide_data();
    void decide();
    void realKeyPress_data();
    void realKeyPress();
    void goneWithTheObject();
};

void TestKeyCommands::decide_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("textField");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("reads");   // how often the clipboard is read

    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    auto row = [](const char *name, Qt::KeyboardModifiers m, Qt::Key key, bool field, const QString &clip,
                  const QString &command, int reads) {
        QTest::newRow(name) << m << int(key) << field << clip << command << reads;
    };
    row("Ctrl+F", ctrl, Qt::Key_F, false, "", "find", 0);
    row("Ctrl+F in a text field", ctrl, Qt::Key_F, true, aLink, "find", 0);
    row("Shift+Ctrl+F", ctrl | Qt::ShiftModifier, Qt::Key_F, false, "", "pass", 0);
    row("Alt+Ctrl+F", ctrl | Qt::AltModifier, Qt::Key_F, false, "", "pass", 0);
    row("Meta+Ctrl+F", ctrl | Qt::MetaModifier, Qt::Key_F, false, "", "pass", 0);
    row("F alone", Qt::NoModifier, Qt::Key_F, false, "", "pass", 0);
    row("Alt+F", Qt::AltModifier, Qt::Key_F, false, "", "pass", 0);
    row("Ctrl+V with a link", ctrl, Qt::Key_V, false, "  " + aLink + "\n", "paste " + aLink, 1);
    row("Ctrl+V with a link in a text field", ctrl, Qt::Key_V, true, aLink, "pass", 0);
    row("Ctrl+V with ordinary text", ctrl, Qt::Key_V, false, "hello world", "pass", 1);
    row("Ctrl+V with nothing copied", ctrl, Qt::Key_V, false, "", "pass", 1);
    row("Shift+Ctrl+V with a link", ctrl | Qt::ShiftModifier, Qt::Key_V, false, aLink, "pass", 0);
    row("Ctrl+V on the keypad", ctrl | Qt::KeypadModifier, Qt::Key_V, false, aLink, "pass", 0);
    row("V alone with a link", Qt::NoModifier, Qt::Key_V, false, aLink, "pass", 0);
    row("Ctrl+C", ctrl, Qt::Key_C, false, aLink, "pass", 0);
}

void TestKeyCommands::decide()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, key);
    QFETCH(bool, textField);
    QFETCH(QString, clipboard);
    QFETCH(QString, command);
    QFETCH(int, reads);
    int read = 0;
    auto copied = [&] {
        ++read;
        return linkIn(clipboard);
    };
    QCOMPARE(describe(KeyCommands::decide(modifiers, key, textField, copied)), command);
    QCOMPARE(read, reads);
}

void TestKeyCommands::realKeyPress_data()
{
    QTest::addColumn<bool>("inLineEdit");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("heard");       // what the actions heard
    QTest::addColumn<QString>("fieldText");   // the line edit's text afterwards
    QTest::addColumn<int>("shortcuts");       // how often the window's own shortcut on the key fired

    QTest::newRow("Ctrl+F in the line edit") << true << int(Qt::Key_F) << aLink << "find" << "" << 0;
    QTest::newRow("Ctrl+F elsewhere") << false << int(Qt::Key_F) << aLink << "find" << "" << 0;
    QTest::newRow("Ctrl+V with a link in the line edit") << true << int(Qt::Key_V) << aLink << "" << aLink << 0;
    QTest::newRow("Ctrl+V with a link elsewhere") << false << int(Qt::Key_V) << " " + aLink + "\n" << "paste " + aLink
                                                  << "" << 0;
    QTest::newRow("Ctrl+V with text elsewhere: the window's Paste")
        << false << int(Qt::Key_V) << "some words" << "" << "" << 1;
}

void TestKeyCommands::realKeyPress()
{
    QFETCH(bool, inLineEdit);
    QFETCH(int, key);
    QFETCH(QString, clipboard);
    QFETCH(QString, heard);
    QFETCH(QString, fieldText);
    QFETCH(int, shortcuts);

    QStringList actions;
    KeyCommands commands([&] { actions.append(QStringLiteral("find")); },
                         [&](const QString &text) { actions.append(QStringLiteral("paste ") + text); });
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *field = new QLineEdit;
    auto *other = new QWidget;
    other->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(field);
    layout->addWidget(other);
    // The window's own command on the same key, as the menus have it.
    int fired = 0;
    auto *shortcut = new QAction(&window);
    shortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
    connect(shortcut, &QAction::triggered, this, [&] { ++fired; });
    window.addAction(shortcut);
    window.show();
    QApplication::setActiveWindow(&window);
    QWidget *target = inLineEdit ? static_cast<QWidget *>(field) : other;
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);

    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(actions.join(QLatin1String(", ")), heard);
    QCOMPARE(field->text(), fieldText);
    QCOMPARE(fired, shortcuts);
}

void TestKeyCommands::goneWithTheObject()
{
    int found = 0;
    QWidget window;
    window.setFocusPolicy(Qt::StrongFocus);
    window.show();
    QApplication::setActiveWindow(&window);
    window.setFocus();
    QTRY_VERIFY(window.hasFocus());
    {
        KeyCommands commands([&] { ++found; }, [](const QString &) {});
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    }
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(found, 1);
}

QTEST_MAIN(TestKeyCommands)
#include "tst_keycommands.moc"
