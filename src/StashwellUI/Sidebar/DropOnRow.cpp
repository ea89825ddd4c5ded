#include "StashwellUI/Sidebar/DropOnRow.h"

#include "Capture/PostLink.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace sw {

void DropTarget::setFilter(const std::optional<Filter> &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    emit changed();
}

DropOnRow::DropOnRow(QWidget *row, Filter filter, bool takes, DropTarget *target, DropLinksHandler onDrop)
    : QObject(row)
    , m_filter(std::move(filter))
    , m_takes(takes)
    , m_target(target)
    , m_onDrop(std::move(onDrop))
{
    if (!m_takes)
        return;
    row->setAcceptDrops(true);
    row->installEventFilter(this);
}

QList<QUrl> DropOnRow::links(const QMimeData *mime)
{
    QList<QUrl> links;
    if (!mime)
        return links;
    if (mime->hasUrls()) {
        for (const QUrl &url : mime->urls()) {
            if (url.isValid() && !url.isEmpty())
                links.append(url);
        }
        if (!links.isEmpty())
            return links;
    }
    if (mime->hasText()) {
        const QString text = mime->text().trimmed();
        if (!text.isEmpty() && PostLink::reading(text))
            links.append(QUrl::fromUserInput(text));
    }
    return links;
}

void DropOnRow::enter()
{
    if (m_takes && m_target)
        m_target->setFilter(m_filter);
}

void DropOnRow::leave()
{
    if (m_takes && m_target && m_target->names(m_filter))
        m_target->setFilter(std::nullopt);
}

bool DropOnRow::drop(const QList<QUrl> &links)
{
    if (!m_takes)
        return false;
    if (m_target)
        m_target->setFilter(std::nullopt);
    return !links.isEmpty() && m_onDrop && m_onDrop(m_filter, links);
}

bool DropOnRow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto *enter = static_cast<QDragEnterEvent *>(event);
        if (links(enter->mimeData()).isEmpty()) {
            enter->ignore();
            return true;
        }
        this->enter();
        enter->acceptProposedAction();
        return true;
    }
    case QEvent::DragMove: {
        auto *move = static_cast<QDragMoveEvent *>(event);
        move->acceptProposedAction();
        return true;
    }
    case QEvent::DragLeave:
        leave();
        event->accept();
        return true;
    case QEvent::Drop: {
        auto *dropEvent = static_cast<QDropEvent *>(event);
        if (drop(links(dropEvent->mimeData())))
            dropEvent->acceptProposedAction();
        else
            dropEvent->ignore();
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace sw
