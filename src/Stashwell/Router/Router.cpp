#include "Stashwell/Router/Router.h"

#include <QPointer>

namespace sw::app {

Router::Router(Inputs inputs, QObject *parent)
    : QObject(parent), m_activate(std::move(inputs.activate)), m_copiedLink(std::move(inputs.copiedLink))
{
    const QPointer<Router> self(this);
    if (inputs.keyCommands) {
        m_keys = inputs.keyCommands(
            [self] {
                if (self)
                    self->requestFind();
            },
            [self](const QString &text) {
                if (self)
                    self->setSavingLink(text);
            });
    }
    if (inputs.hotKey) {
        // The activation is not the Router's: it happens even when the Router is gone.
        const std::function<void()> activate = m_activate;
        m_hotKey = inputs.hotKey([self, activate] {
            if (self)
                self->hotKeyPressed();
            else if (activate)
                activate();
        });
    }
}

Router::~Router() = default;

void Router::setSavingLink(std::optional<QString> text)
{
    const bool differs = text != m_savingLink;
    m_savingLink = std::move(text);
    if (differs)
        emit savingLinkChanged();
}

void Router::setFindRequests(std::int64_t count)
{
    if (count == m_findRequests)
        return;
    m_findRequests = count;
    emit findRequestsChanged();
}

namespace {
// One more; wraps instead of overflowing, so a counter always changes.
std::int64_t next(std::int64_t count) { return std::int64_t(std::uint64_t(count) + 1u); }
}  // namespace

void Router::requestFind() { setFindRequests(next(m_findRequests)); }

void Router::setEmptyTrashRequests(std::int64_t count)
{
    if (count == m_emptyTrashRequests)
        return;
    m_emptyTrashRequests = count;
    emit emptyTrashRequestsChanged();
}

void Router::requestEmptyTrash() { setEmptyTrashRequests(next(m_emptyTrashRequests)); }

void Router::setSelecting(std::optional<Save::ID> id)
{
    const bool differs = id != m_selecting;
    m_selecting = std::move(id);
    if (differs)
        emit selectingChanged();
}

void Router::hotKeyPressed()
{
    if (m_activate)
        m_activate();
    std::optional<QString> link = m_copiedLink ? m_copiedLink() : std::nullopt;
    setSavingLink(link.value_or(QString()));
}

}  // namespace sw::app
