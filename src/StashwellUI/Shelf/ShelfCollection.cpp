#include "StashwellUI/Shelf/ShelfCollection.h"

#include <QCoreApplication>
#include <QMimeData>

namespace sw {

bool ShelfCollection::isSelected(const Save::ID &id) const
{
    return (selection && *selection == id) || highlighted.contains(id);
}

QString ShelfCollection::originFormat()
{
    return QStringLiteral("application/x-stashwell-shelf-origin");
}

QUrl ShelfCollection::dragURL(const ShelfItem &item)
{
    return item.save().post().link.url().qurl();
}

QMimeData *ShelfCollection::dragData(const ShelfItem &item, quintptr origin)
{
    auto *data = new QMimeData;
    const QUrl url = dragURL(item);
    data->setUrls({url});
    data->setText(item.save().post().link.url().text());
    // The process and the shelf, so that a drag that comes back to this shelf is known as its own
    // and one from another window or process is not.
    const QByteArray mark = QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(origin);
    data->setData(originFormat(), mark);
    return data;
}

bool ShelfCollection::isOwnDrop(const QMimeData *data, quintptr origin)
{
    if (!data || !data->hasFormat(originFormat()))
        return false;
    const QByteArray mark = QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(origin);
    return data->data(originFormat()) == mark;
}

}  // namespace sw
