// The key commands: which keys are taken (the decision as rows), and real key presses through the
// application's event filter with a line edit or another widget focused, beside window shortcuts
// on the same keys (as the Edit menu's Paste is).

#include "Stashwell/Commands/KeyCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

using namespace sw::app;
using Kind = KeyCommands::Command::Kind;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class TestKeyCommands : public QObject {
    Q_OBJECT
private slots:
    void decide_data();
    void decide();
    void realKeyPress_data();
    void realKeyPress();
    void goneWithTheObject();
};

namespace {
const QString aLink = QStringLiteral("https://x.com/jack/status/20");
const QString none = QStringLiteral("<no text>");
}  // namespace

void TestKeyCommands::decide_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("textField");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("reads");   // how often the clipboard is read

    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    auto row = [](const char *name, Qt::KeyboardModifiers m, int key, bool field, const QString &clip, Kind kind,
                  const QString &text, int reads) {
        QTest::newRow(name) << m << key << field << clip << int(kind) << text << reads;
    };
    row("Ctrl+F", ctrl, Qt::Key_F, false, none, Kind::find, {}, 0);
    row("Ctrl+F in a text field", ctrl, Qt::Key_F, true, aLink, Kind::find, {}, 0);
    row("Shift+Ctrl+F", ctrl | Qt::ShiftModifier, Qt::Key_F, false, none, Kind::pass, {}, 0);
    row("Alt+Ctrl+F", ctrl | Qt::AltModifier, Qt::Key_F, false, none, Kind::pass, {}, 0);
    row("Meta+Ctrl+F", ctrl | Qt::MetaModifier, Qt::Key_F, false, none, Kind::pass, {}, 0);
    row("F alone", Qt::NoModifier, Qt::Key_F, false, none, Kind::pass, {}, 0);
    row("Alt+F", Qt::AltModifier, Qt::Key_F, false, none, Kind::pass, {}, 0);
    row("Ctrl+V with a link", ctrl, Qt::Key_V, false, "  " + aLink + "\n", Kind::paste, aLink, 1);
    row("Ctrl+V with a web address", ctrl, Qt::Key_V, false, "example.com/a", Kind::paste, "example.com/a", 1);
    row("Ctrl+V with a link in a text field", ctrl, Qt::Key_V, true, aLink, Kind::pass, {}, 0);
    row("Ctrl+V with ordinary text", ctrl, Qt::Key_V, false, "hello world", Kind::pass, {}, 1);
    row("Ctrl+V with spaces only", ctrl, Qt::Key_V, false, "   ", Kind::pass, {}, 1);
    row("Ctrl+V with nothing copied", ctrl, Qt::Key_V, false, none, Kind::pass, {}, 1);
    row("Shift+Ctrl+V with a link", ctrl | Qt::ShiftModifier, Qt::Key_V, false, aLink, Kind::pass, {}, 0);
    row("Ctrl+V on the keypad", ctrl | Qt::KeypadModifier, Qt::Key_V, false, aLink, Kind::pass, {}, 0);
    row("V alone with a link", Qt::NoModifier, Qt::Key_V, false, aLink, Kind::pass, {}, 0);
    row("Ctrl+C", ctrl, Qt::Key_C, false, aLink, Kind::pass, {}, 0);
}

void TestKeyCommands::decide()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, key);
    QFETCH(bool, textField);
    QFETCH(QString, clipboard);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(int, reads);

    // The clipboard as copiedLink() reads it.
    int read = 0;
    auto copied = [&]() -> std::optional<QString> {
        ++read;
        const QString trimmed = clipboard.trimmed();
        if (clipboard == none || trimmed.isEmpty() || trimmed.contains(QLatin1Char(' ')))
            return std::nullopt;
        return trimmed;
    };
    const KeyCommands::Command command = KeyCommands::decide(modifiers, key, textField, copied);
    QCOMPARE(int(command.kind), kind);
    QCOMPARE(command.text, text);
    QCOMPARE(read, reads);
}

void TestKeyCommands::realKeyPress_data()
{
    QTest::addColumn<bool>("inLineEdit");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("finds");
    QTest::addColumn<QString>("pasted");     // what the paste action got; empty: not called
    QTest::addColumn<QString>("fieldText");  // the line edit's text afterwards
    QTest::addColumn<int>("shortcuts");      // how often the window's own shortcut on the key fired

    QTest::newRow("Ctrl+F in the line edit") << true << int(Qt::Key_F) << aLink << 1 << QString() << QString() << 0;
    QTest::newRow("Ctrl+F elsewhere") << false << int(Qt::Key_F) << aLink << 1 << QString() << QString() << 0;
    QTest::newRow("Ctrl+V with a link in the line edit")
        << true << int(Qt::Key_V) << aLink << 0 << QString() << aLink << 0;
    QTest::newRow("Ctrl+V with a link elsewhere") << false << int(Qt::Key_V) << " " + aLink + "\n" << 0 << aLink
                                                  << QString() << 0;
    QTest::newRow("Ctrl+V with text elsewhere: the window's Paste")
        << false << int(Qt::Key_V) << "some words" << 0 << QString() << QString() << 1;
}

void TestKeyCommands::realKeyPress()
{
    QFETCH(bool, inLineEdit);
    QFETCH(int, key);
    QFETCH(QString, clipboard);
    QFETCH(int, finds);
    QFETCH(QString, pasted);
    QFETCH(QString, fieldText);
    QFETCH(int, shortcuts);

    int found = 0;
    QString pastedText;
    KeyCommands commands([&] { ++found; }, [&](const QString &text) { pastedText = text; });

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *field = new QLineEdit;
    auto *other = new QWidget;
    other->setFocusPolicy(Qt::StrongFocus);
    other->setMinimumSize(40, 40);
    layout->addWidget(field);
    layout->addWidget(other);
    // The window's own commands on the same keys, as the menus have them.
    int fired = 0;
    auto *shortcut = new QAction(&window);
    shortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
    shortcut->setShortcutContext(Qt::WindowShortcut);
    connect(shortcut, &QAction::triggered, this, [&] { ++fired; });
    window.addAction(shortcut);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *target = inLineEdit ? static_cast<QWidget *>(field) : other;
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);

    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);

    QCOMPARE(found, finds);
    QCOMPARE(pastedText, pasted);
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
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.setFocus();
    {
        KeyCommands commands([&] { ++found; }, [](const QString &) {});
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(found, 1);
    }
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(found, 1);
}

QTEST_MAIN(TestKeyCommands)
#include "tst_keycommands.moc"
