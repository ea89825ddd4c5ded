#include "Stashwell/Commands/MenuCommands.h"

#include "StashKit/Curator.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QUndoStack>
#include <QWidget>

namespace sw::app {

MenuCommands::MenuCommands(Curator &curator, std::function<Router &()> router, Hooks hooks, QObject *parent)
    : QObject(parent), m_curator(curator), m_router(std::move(router)), m_hooks(std::move(hooks))
{
    using S = StashwellStrings;

    m_saveLink = makeAction(S::menuSaveLink(), [this] { m_router().setSavingLink(QString()); });
    m_saveLink->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    m_settings = makeAction(S::menuSettings(), [this] {
        if (m_hooks.openSettings)
            m_hooks.openSettings();
    });
    m_settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_settings->setMenuRole(QAction::PreferencesRole);
    m_close = makeAction(S::menuClose(), [this] {
        if (m_hooks.closeWindow)
            m_hooks.closeWindow();
    });
    m_close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    m_quit = makeAction(S::menuQuit(), [this] {
        if (m_hooks.quit)
            m_hooks.quit();
    });
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_quit->setMenuRole(QAction::QuitRole);

    m_undo = makeAction(S::menuUndo(), [this] {
        if (m_undoStack)
            m_undoStack->undo();
    });
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo = makeAction(S::menuRedo(), [this] {
        if (m_undoStack)
            m_undoStack->redo();
    });
    m_redo->setShortcut(QKeySequence::Redo);
    m_cut = makeAction(S::menuCut(), [] { sendToFocus("cut"); });
    m_cut->setShortcut(QKeySequence::Cut);
    m_copy = makeAction(S::menuCopy(), [] { sendToFocus("copy"); });
    m_copy->setShortcut(QKeySequence::Copy);
    m_paste = makeAction(S::menuPaste(), [] { sendToFocus("paste"); });
    m_paste->setShortcut(QKeySequence::Paste);
    m_selectAll = makeAction(S::menuSelectAll(), [] { sendToFocus("selectAll"); });
    m_selectAll->setShortcut(QKeySequence::SelectAll);

    // Each choice starts a download task of its own; the Curator refuses what is already under way.
    m_downloadMissing = makeAction(S::menuDownloadMissing(), [this] { m_curator.downloadMissing(); });
    m_emptyTrash = makeAction(S::menuEmptyTrash(), [this] { m_router().requestEmptyTrash(); });

    m_fileMenu = new QMenu(S::menuFile());
    m_fileMenu->addAction(m_saveLink);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_settings);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_close);
    m_fileMenu->addAction(m_quit);

    m_editMenu = new QMenu(S::menuEdit());
    m_editMenu->addAction(m_undo);
    m_editMenu->addAction(m_redo);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_cut);
    m_editMenu->addAction(m_copy);
    m_editMenu->addAction(m_paste);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_selectAll);

    m_libraryMenu = new QMenu(S::menuLibrary());
    m_libraryMenu->addAction(m_downloadMissing);
    m_libraryMenu->addSeparator();
    m_libraryMenu->addAction(m_emptyTrash);

    followUndoStack();
}

MenuCommands::~MenuCommands()
{
    delete m_fileMenu;
    delete m_editMenu;
    delete m_libraryMenu;
}

QAction *MenuCommands::makeAction(const QString &text, std::function<void()> run)
{
    auto *action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

void MenuCommands::install(QMenuBar &bar)
{
    bar.addMenu(m_fileMenu);
    bar.addMenu(m_editMenu);
    bar.addMenu(m_libraryMenu);
}

QString MenuCommands::named(const QString &command, const QString &step)
{
    // As Qt's own undo actions name themselves: the command, a space, the step's name.
    return step.isEmpty() ? command : command + u' ' + step;
}

void MenuCommands::bindUndoStack(QUndoStack *stack)
{
    m_undoStack = stack;
    followUndoStack();
}

void MenuCommands::followUndoStack()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_undoConnections))
        disconnect(connection);
    m_undoConnections.clear();
    QUndoStack *stack = m_undoStack.data();
    m_undo->setEnabled(stack && stack->canUndo());
    m_redo->setEnabled(stack && stack->canRedo());
    m_undo->setText(named(StashwellStrings::menuUndo(), stack ? stack->undoText() : QString()));
    m_redo->setText(named(StashwellStrings::menuRedo(), stack ? stack->redoText() : QString()));
    if (!stack)
        return;
    m_undoConnections.append(connect(stack, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled));
    m_undoConnections.append(connect(stack, &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled));
    // The items are named after the step they would undo or redo.
    m_undoConnections.append(connect(stack, &QUndoStack::undoTextChanged, m_undo,
                                     [this](const QString &name) { m_undo->setText(named(StashwellStrings::menuUndo(), name)); }));
    m_undoConnections.append(connect(stack, &QUndoStack::redoTextChanged, m_redo,
                                     [this](const QString &name) { m_redo->setText(named(StashwellStrings::menuRedo(), name)); }));
    m_undoConnections.append(connect(stack, &QObject::destroyed, this, [this] {
        m_undo->setEnabled(false);
        m_redo->setEnabled(false);
        m_undo->setText(StashwellStrings::menuUndo());
        m_redo->setText(StashwellStrings::menuRedo());
    }));
}

bool MenuCommands::sendToFocus(const char *slot)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return false;
    const QByteArray signature = QByteArray(slot) + "()";
    const int index = focus->metaObject()->indexOfMethod(signature.constData());
    if (index < 0 || focus->metaObject()->method(index).methodType() == QMetaMethod::Signal)
        return false;
    return QMetaObject::invokeMethod(focus, slot, Qt::DirectConnection);
}

}  // namespace sw::app
