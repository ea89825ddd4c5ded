#pragma once

// The library page's four alerts as window-modal message boxes over the library window: delete a
// collection, empty the trash, files left behind, and the problem. Each shows while its condition
// on the page holds; one shows at a time, in that order, and the next follows when it closes.
// Confirming calls the page; any way of closing clears the condition through the page, so an
// alert never comes back by itself. A condition cleared elsewhere closes its alert. An alert's
// heading is its own title (the problem's is the problem, under the application's name as the
// window's title), and the box is wide enough for the title bar to show its title whole.

#include <QAbstractButton>
#include <QMessageBox>
#include <QObject>
#include <QPointer>

class QWidget;

namespace sw::app {

class LibraryPage;

class LibraryDialogs final : public QObject {
    Q_OBJECT
public:
    enum class Kind { none, deleteCollection, emptyTrash, leftBehind, problem };

    LibraryDialogs(LibraryPage &page, QWidget *window, QObject *parent = nullptr);
    ~LibraryDialogs() override;

    // The alert on screen, and its box.
    Kind shown() const { return m_box ? m_kind : Kind::none; }
    QMessageBox *box() const { return m_box; }
    // The box's button that confirms (delete, empty, show in the file manager), or the only one.
    QAbstractButton *confirmButton() const { return m_confirm; }
    QAbstractButton *cancelButton() const { return m_cancel; }

private:
    Kind wanted() const;
    void follow();
    void present(Kind kind);
    void closed(Kind kind, QAbstractButton *clicked);

    LibraryPage &m_page;
    QPointer<QWidget> m_window;
    Kind m_kind = Kind::none;
    QPointer<QMessageBox> m_box;
    QPointer<QAbstractButton> m_confirm;
    QPointer<QAbstractButton> m_cancel;
    bool m_closing = false;
};

}  // namespace sw::app
