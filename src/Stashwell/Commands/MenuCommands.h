#pragma once

// The menu commands of the library window:
//
//   File     Save Link (Ctrl+L), Settings (Ctrl+,), Close (Ctrl+W), Quit (Ctrl+Q)
//   Edit     Undo, Redo, Cut, Copy, Paste, Select All
//   Library  Download Missing, Empty Trash
//
// Save Link asks the Router for the Save Link sheet with an empty field; Download Missing starts
// the Curator's download of every missing save's media, and nothing is shown when it ends; Empty
// Trash asks the Router, and the library page offers it. The Edit commands act on the widget that
// has the keyboard focus: Cut, Copy, Paste and Select All call its slot of that name when it has
// one (text fields, and any view that offers them); Undo and Redo act on the undo stack bound with
// bindUndoStack() (the library page binds the window's), are disabled while there is none, and
// carry the name of the step they would undo or redo ("Undo Move to Trash").

#include <QObject>
#include <QPointer>
#include <QUndoStack>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QUndoStack;

namespace sw {
class Curator;
}

namespace sw::app {

class Router;

class MenuCommands final : public QObject {
    Q_OBJECT
public:
    // What the File menu does beyond the core; each may be empty.
    struct Hooks {
        std::function<void()> openSettings;
        std::function<void()> closeWindow;
        std::function<void()> quit;
    };

    // `router` is called each time a command needs the Router (the application makes it on first
    // use). The Curator must outlive the commands.
    MenuCommands(Curator &curator, std::function<Router &()> router, Hooks hooks, QObject *parent = nullptr);
    ~MenuCommands() override;

    // Adds the three menus to a menu bar.
    void install(QMenuBar &bar);

    QAction *saveLink() const { return m_saveLink; }
    QAction *settings() const { return m_settings; }
    QAction *close() const { return m_close; }
    QAction *quit() const { return m_quit; }
    QAction *undo() const { return m_undo; }
    QAction *redo() const { return m_redo; }
    QAction *cut() const { return m_cut; }
    QAction *copy() const { return m_copy; }
    QAction *paste() const { return m_paste; }
    QAction *selectAll() const { return m_selectAll; }
    QAction *downloadMissing() const { return m_downloadMissing; }
    QAction *emptyTrash() const { return m_emptyTrash; }

    QMenu *fileMenu() const { return m_fileMenu; }
    QMenu *editMenu() const { return m_editMenu; }
    QMenu *libraryMenu() const { return m_libraryMenu; }

    // Undo and Redo follow this stack from now on (none: disabled).
    void bindUndoStack(QUndoStack *stack);
    // An Edit menu item's title for a step: "Undo" alone, or "Undo" and the step's name.
    static QString named(const QString &command, const QString &step);
    QUndoStack *undoStack() const { return m_undoStack; }

    // Calls the focused widget's slot of that name ("cut", "copy", "paste", "selectAll") when it
    // has one; false when nothing took it.
    static bool sendToFocus(const char *slot);

private:
    QAction *makeAction(const QString &text, std::function<void()> run);
    void followUndoStack();

    Curator &m_curator;
    std::function<Router &()> m_router;
    Hooks m_hooks;

    QAction *m_saveLink = nullptr;
    QAction *m_settings = nullptr;
    QAction *m_close = nullptr;
    QAction *m_quit = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_cut = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_selectAll = nullptr;
    QAction *m_downloadMissing = nullptr;
    QAction *m_emptyTrash = nullptr;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_libraryMenu = nullptr;

    QPointer<QUndoStack> m_undoStack;
    QList<QMetaObject::Connection> m_undoConnections;
};

}  // namespace sw::app
