#include "Stashwell/Pages/QuickSave/QuickSaveHost.h"

#include "Stashwell/Pages/QuickSave/QuickSavePopup.h"
#include "StashwellUI/QuickSave/QuickSavePopover.h"

#include <QClipboard>
#include <QGuiApplication>

namespace sw::app {

QuickSaveHost::QuickSaveHost(Curator &curator, std::function<Router &()> router, Hooks hooks, QObject *parent)
    : QObject(parent), m_curator(curator), m_router(std::move(router)), m_hooks(std::move(hooks))
{
}

QuickSaveHost::~QuickSaveHost()
{
    // The popup first: its popover is bound to the page.
    m_popup.reset();
    m_page.reset();
}

void QuickSaveHost::make()
{
    QuickSavePage::Hooks pageHooks = m_hooks.page;
    // Opening the library leaves the popup behind it, closed.
    pageHooks.showLibrary = [this, show = m_hooks.page.showLibrary] {
        hide();
        if (show)
            show();
    };
    m_page = std::make_unique<QuickSavePage>(m_curator, m_router(), std::move(pageHooks));
    m_popup = std::make_unique<QuickSavePopup>();
    m_page->bind(*m_popup->popover());

    connect(m_popup.get(), &QuickSavePopup::shown, m_page.get(), &QuickSavePage::appear);
    connect(m_popup.get(), &QuickSavePopup::hidden, m_page.get(), &QuickSavePage::disappear);
    connect(m_popup->popover(), &QuickSavePopover::settingsRequested, this, [this] {
        hide();
        if (m_hooks.openSettings)
            m_hooks.openSettings();
    });
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, m_page.get(), &QuickSavePage::clipboardChanged);
}

void QuickSaveHost::show(QPoint pointer)
{
    if (!m_page)
        make();
    // Shown again: a new appearance, so the clipboard is read anew.
    if (m_popup->isVisible())
        m_page->appear();
    m_popup->showNear(pointer);
}

void QuickSaveHost::hide()
{
    if (m_popup)
        m_popup->hide();
}

bool QuickSaveHost::isShown() const { return m_popup && m_popup->isVisible(); }

}  // namespace sw::app
