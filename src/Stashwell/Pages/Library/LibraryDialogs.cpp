#include "Stashwell/Pages/Library/LibraryDialogs.h"

#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/StashwellStrings.h"
#include "Stashwell/Window/AlertSizing.h"

#include <QAbstractButton>
#include <QPushButton>

namespace sw::app {

using S = StashwellStrings;

LibraryDialogs::LibraryDialogs(LibraryPage &page, QWidget *window, QObject *parent)
    : QObject(parent), m_page(page), m_window(window)
{
    for (auto signal : {&DialogState::deletingChanged, &DialogState::emptyingTrashChanged,
                        &DialogState::leftBehindChanged, &DialogState::problemChanged})
        connect(&m_page.dialogs(), signal, this, &LibraryDialogs::follow);
    follow();
}

LibraryDialogs::~LibraryDialogs()
{
    if (m_box) {
        m_box->disconnect(this);
        delete m_box;
    }
}

LibraryDialogs::Kind LibraryDialogs::wanted() const
{
    if (m_page.dialogs().deleting())
        return Kind::deleteCollection;
    if (m_page.dialogs().emptyingTrash())
        return Kind::emptyTrash;
    if (m_page.dialogs().leftBehindShown())
        return Kind::leftBehind;
    if (m_page.dialogs().problemShown())
        return Kind::problem;
    return Kind::none;
}

void LibraryDialogs::follow()
{
    // A box that is closing settles its condition first; what follows is decided after.
    if (m_closing)
        return;
    const Kind want = wanted();
    if (m_box && m_kind == want) {
        if (want == Kind::problem)
            m_box->setText(m_page.dialogs().problem().value_or(QString()));
        else if (want == Kind::leftBehind)
            m_box->setInformativeText(m_page.dialogs().leftBehindMessage());
        return;
    }
    if (m_box) {
        // Its condition went some other way: the box goes without acting.
        QMessageBox *box = m_box;
        m_box = nullptr;
        box->disconnect(this);
        box->close();
        box->deleteLater();
    }
    if (want != Kind::none)
        present(want);
}

void LibraryDialogs::present(Kind kind)
{
    auto *box = new QMessageBox(m_window);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(kind == Kind::problem ? QMessageBox::Warning : QMessageBox::Question);
    QString title;
    QString message;
    QAbstractButton *confirm = nullptr;
    QAbstractButton *cancel = nullptr;
    switch (kind) {
    case Kind::deleteCollection:
        title = m_page.dialogs().deleteTitle();
        message = m_page.dialogs().deleteMessage();
        confirm = box->addButton(S::libraryDelete(), QMessageBox::DestructiveRole);
        cancel = box->addButton(S::libraryCancel(), QMessageBox::RejectRole);
        break;
    case Kind::emptyTrash:
        title = S::libraryEmptyTrashTitle();
        message = m_page.dialogs().emptyTrashMessage();
        confirm = box->addButton(S::libraryEmptyTrash(), QMessageBox::DestructiveRole);
        cancel = box->addButton(S::libraryCancel(), QMessageBox::RejectRole);
        break;
    case Kind::leftBehind:
        title = S::libraryLeftBehindTitle();
        message = m_page.dialogs().leftBehindMessage();
        confirm = box->addButton(S::libraryShowInFileManager(), QMessageBox::AcceptRole);
        cancel = box->addButton(S::libraryOk(), QMessageBox::RejectRole);
        break;
    case Kind::problem:
        // The product's name as the window's title, whatever the problem; the problem itself is
        // the heading, not the name again.
        title = QStringLiteral("Stashwell");
        message = m_page.dialogs().problem().value_or(QString());
        confirm = box->addButton(S::libraryOk(), QMessageBox::RejectRole);
        cancel = confirm;
        break;
    case Kind::none:
        delete box;
        return;
    }
    box->setWindowTitle(title);
    if (kind == Kind::problem) {
        box->setText(message);
    } else {
        box->setText(title);
        box->setInformativeText(message);
    }
    AlertSizing::prepare(*box);
    box->setEscapeButton(cancel);
    box->setDefaultButton(qobject_cast<QPushButton *>(cancel));
    m_kind = kind;
    m_box = box;
    m_confirm = confirm;
    m_cancel = cancel;
    const QPointer<QAbstractButton> confirmed(confirm);
    connect(box, &QMessageBox::finished, this, [this, kind, box, confirmed] {
        QAbstractButton *clicked = box->clickedButton();
        closed(kind, clicked && clicked == confirmed ? clicked : nullptr);
        box->deleteLater();
    });
    box->open();
}

void LibraryDialogs::closed(Kind kind, QAbstractButton *confirmed)
{
    m_box = nullptr;
    m_closing = true;
    switch (kind) {
    case Kind::deleteCollection:
        if (confirmed)
            m_page.dialogs().confirmDelete();
        m_page.dialogs().setDeletingShown(false);
        break;
    case Kind::emptyTrash:
        if (confirmed)
            m_page.dialogs().confirmEmptyTrash();
        m_page.dialogs().setEmptyingTrash(false);
        break;
    case Kind::leftBehind:
        if (confirmed)
            m_page.dialogs().showLeftBehind();
        m_page.dialogs().setLeftBehindShown(false);
        break;
    case Kind::problem:
        m_page.dialogs().setProblemShown(false);
        break;
    case Kind::none:
        break;
    }
    m_closing = false;
    m_kind = Kind::none;
    follow();
}

}  // namespace sw::app
