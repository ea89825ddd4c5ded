#pragma once

// The quick save as the application hosts it: the page and its popup window, made on the first
// request and kept. Each showing is an appearance of the page (the clipboard read and looked up);
// while the popup is shown, a change of the clipboard is read and looked up again. Opening the
// library window, plainly or at a save, and the popover's settings button close the popup.

#include "Stashwell/Pages/QuickSave/QuickSavePage.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>

namespace sw {
class Curator;
}

namespace sw::app {

class QuickSavePopup;
class Router;

class QuickSaveHost final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        QuickSavePage::Hooks page;
        std::function<void()> openSettings;
    };

    // `router` is asked for the Router when the page is first made. The Curator and the Router
    // must outlive the host.
    QuickSaveHost(Curator &curator, std::function<Router &()> router, Hooks hooks, QObject *parent = nullptr);
    ~QuickSaveHost() override;

    // Shows the popup near the pointer (again when it is shown: a new appearance).
    void show(QPoint pointer);
    void hide();
    bool isShown() const;

    // None until the first showing.
    QuickSavePage *page() const { return m_page.get(); }
    QuickSavePopup *popup() const { return m_popup.get(); }

private:
    void make();

    Curator &m_curator;
    std::function<Router &()> m_router;
    Hooks m_hooks;
    std::unique_ptr<QuickSavePage> m_page;
    std::unique_ptr<QuickSavePopup> m_popup;
};

}  // namespace sw::app
