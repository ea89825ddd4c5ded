#pragma once

// Shows the Save Link sheet over a window exactly while Router.savingLink is present: a new page
// and a new sheet for each request (a different text arriving while a sheet is up is a new
// request), the sheet gone when savingLink is cleared. When a page ends, the presenter clears
// savingLink and hands a save's id to `finish` (the library page selects the save and tells it
// with a toast).
//
// Each request carries a number. A page that ends after its request was cancelled or replaced
// never closes the newer sheet; its save is still handed to `finish`, since it happened.
//
// Making a sheet (its widgets and its window on the display) takes longer than showing it: a sheet
// is made ahead while nothing else happens, hidden, and the next request shows it. Each is still
// used for one request only.

#include "Library/Save.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPage.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

class QWidget;

namespace sw {
class Curator;
}

namespace sw::app {

class Preferences;
class Router;

class SaveLinkPresenter final : public QObject {
    Q_OBJECT
public:
    using Finish = std::function<void(const Save::ID &id)>;

    // The Curator, the preferences and the Router must outlive the presenter. The sheets are
    // window-modal over `window` (none: sheets of their own).
    SaveLinkPresenter(Curator &curator, Preferences &preferences, Router &router, QWidget *window, Finish finish,
                      QObject *parent = nullptr);
    ~SaveLinkPresenter() override;

    // The page and sheet of the present request; none while no sheet is up.
    SaveLinkPage *page() const { return m_page; }
    SaveLinkSheet *sheet() const { return m_sheet; }
    // How many requests have been presented.
    std::uint64_t requests() const { return m_request; }
    // The sheet made ahead for the next request, if one is ready.
    SaveLinkSheet *spare() const { return m_spare; }

    // How long after the presenter is made (clear of the window's first frames), and after a
    // sheet goes, the next one is made ahead: at once after a sheet, since a request that comes
    // before the spare is ready makes its widgets and window as it opens, and a spare made just
    // before one adds its making to that open.
    static constexpr int firstSpareDelayMs = 1500;
    static constexpr int spareDelayMs = 0;

signals:
    // A sheet came on screen, or went.
    void presented();
    void dismissed();

private:
    void follow();
    void present(const QString &text);
    void dismiss();
    void ended(std::uint64_t request, const std::optional<Save::ID> &id);
    void makeSpare();

    Curator &m_curator;
    Preferences &m_preferences;
    Router &m_router;
    QPointer<QWidget> m_window;
    Finish m_finish;
    std::uint64_t m_request = 0;
    QPointer<SaveLinkPage> m_page;
    QPointer<SaveLinkSheet> m_sheet;
    QPointer<SaveLinkSheet> m_spare;
    QTimer m_spareTimer;
};

}  // namespace sw::app
