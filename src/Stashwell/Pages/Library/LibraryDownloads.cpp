#include "Stashwell/Pages/Library/LibraryDownloads.h"

#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Design/Formatting.h"

#include <QPointer>

namespace sw::app {

using S = StashwellStrings;

LibraryDownloads::LibraryDownloads(LibraryPage &page) : QObject(&page), m_page(page) {}

QCoro::Task<> LibraryDownloads::download(ShelfItem item)
{
    const QPointer<LibraryPage> page(&m_page);
    Curator &curator = m_page.curator();
    const Save::ID id = item.save().id();
    const PostLink link = item.save().post().link;
    const auto result = co_await curator.download(id);
    // The page may have gone while the media came (the Curator outlives it).
    if (!page)
        co_return;
    if (!result) {
        page->dialogs().setProblem(message(result.error()));
        co_return;
    }
    // A failed file leaves the copy failed: the card offers retry, and nothing is said.
    if (curator.localMedia().copy(link).asOnThisComputer())
        page->toast().show(S::toastSavedTo(page->folderText()));
}

void LibraryDownloads::downloadChosen()
{
    const QSet<Save::ID> &chosen = m_page.selection().chosen();
    const QList<Save::ID> ids(chosen.cbegin(), chosen.cend());
    m_page.toast().show(S::toastDownloading(qint64(ids.size())));
    // One save after another; refusals are the Curator's to drop.
    m_page.curator().download(ids);
}

QCoro::Task<> LibraryDownloads::downloadMissing()
{
    const QPointer<LibraryPage> page(&m_page);
    // Counted at the press: the toast names that number whatever becomes of each download.
    const qsizetype n = m_page.shelf().count(Filter::linkOnly());
    co_await m_page.curator().downloadMissing();
    if (!page)
        co_return;
    page->toast().show(S::toastDownloadedTo(qint64(n), page->folderText()));
}

QString LibraryDownloads::message(const DownloadRefusal &refusal)
{
    return std::visit(
        [](const auto &c) -> QString {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, DownloadRefusal::OverBudget>)
                return S::refusalOverBudget(sw::Formatting::bytes(c.needs), sw::Formatting::bytes(c.free));
            else if constexpr (std::is_same_v<C, DownloadRefusal::NothingToDownload>)
                return S::refusalNothingToDownload();
            else if constexpr (std::is_same_v<C, DownloadRefusal::AlreadyOnThisComputer>)
                return S::refusalAlreadyOnThisComputer();
            else
                return S::refusalAlreadyDownloading();
        },
        refusal.value());
}

}  // namespace sw::app
