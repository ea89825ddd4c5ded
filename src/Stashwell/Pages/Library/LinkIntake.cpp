#include "Stashwell/Pages/Library/LinkIntake.h"

#include "Capture/PostLink.h"
#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"

namespace sw::app {

LinkIntake::LinkIntake(LibraryPage &page) : QObject(&page), m_page(page) {}

void LinkIntake::pasteLink() { m_page.router().setSavingLink(m_page.desktop().copiedLink().value_or(QString())); }

void LinkIntake::saveLink() { m_page.router().setSavingLink(QString()); }

bool LinkIntake::openDropped(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        const QString text = url.toString(QUrl::FullyEncoded);
        if (PostLink::reading(text)) {
            m_page.router().setSavingLink(text);
            return true;
        }
    }
    return false;
}

void LinkIntake::finish(const std::optional<Save::ID> &id)
{
    if (!id)
        return;
    const std::optional<Save> save = m_page.curator().library().save(*id);
    if (!save)
        return;
    m_page.setFilter(Filter::all());
    m_page.selection().setCurrent(*id);
    const bool downloading = m_page.curator().localMedia().copy(save->post().link).asDownloading() != nullptr;
    m_page.toast().show(downloading ? StashwellStrings::toastSavedDownloading() : StashwellStrings::toastSaved());
}

}  // namespace sw::app
