#include "Stashwell/Pages/SaveLink/SaveLinkPresenter.h"

#include "Stashwell/Pages/SaveLink/SaveLinkPage.h"
#include "Stashwell/Router/Router.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"

namespace sw::app {

SaveLinkPresenter::SaveLinkPresenter(Curator &curator, Preferences &preferences, Router &router, QWidget *window,
                                     Finish finish, QObject *parent)
    : QObject(parent), m_curator(curator), m_preferences(preferences), m_router(router), m_window(window),
      m_finish(std::move(finish))
{
    connect(&m_router, &Router::savingLinkChanged, this, &SaveLinkPresenter::follow);
    m_spareTimer.setSingleShot(true);
    connect(&m_spareTimer, &QTimer::timeout, this, &SaveLinkPresenter::makeSpare);
    // A request made before the presenter existed is shown now.
    follow();
    if (!m_sheet)
        m_spareTimer.start(firstSpareDelayMs);
}

SaveLinkPresenter::~SaveLinkPresenter()
{
    dismiss();
    delete m_spare.data();
}

void SaveLinkPresenter::makeSpare()
{
    // Only between requests: one shown now is the one that counts.
    if (m_spare || m_sheet)
        return;
    // Its widgets and its window on the display, unmapped: opening it then only maps it.
    m_spare = new SaveLinkSheet(m_window);
    m_spare->makeWindowAhead();
}

void SaveLinkPresenter::follow()
{
    const std::optional<QString> &text = m_router.savingLink();
    if (!text) {
        dismiss();
        return;
    }
    // The Router tells only real changes, so any text here is a new request.
    dismiss();
    present(*text);
}

void SaveLinkPresenter::present(const QString &text)
{
    const std::uint64_t request = ++m_request;
    const QPointer<SaveLinkPresenter> self(this);
    auto *page = new SaveLinkPage(m_curator, m_preferences, text, [self, request](const std::optional<Save::ID> &id) {
        if (self)
            self->ended(request, id);
    }, this);
    m_spareTimer.stop();
    SaveLinkSheet *sheet = m_spare ? m_spare.data() : new SaveLinkSheet(m_window);
    m_spare = nullptr;
    page->bind(*sheet);
    m_page = page;
    m_sheet = sheet;
    sheet->open();
    emit presented();
    page->appear();
}

void SaveLinkPresenter::dismiss()
{
    SaveLinkPage *page = m_page;
    SaveLinkSheet *sheet = m_sheet;
    m_page = nullptr;
    m_sheet = nullptr;
    if (page) {
        page->disappear();
        page->deleteLater();
    }
    if (sheet) {
        sheet->dismiss();
        sheet->deleteLater();
    }
    if (page || sheet) {
        emit dismissed();
        m_spareTimer.start(spareDelayMs);
    }
}

void SaveLinkPresenter::ended(std::uint64_t request, const std::optional<Save::ID> &id)
{
    if (request == m_request && m_page) {
        // The sheet closes through the Router, as every other way of clearing the request does.
        m_router.setSavingLink(std::nullopt);
        dismiss();
    }
    if (id && m_finish)
        m_finish(*id);
}

}  // namespace sw::app
