#pragma once

// A view that shows pages of pictures follows the paging of the window it is in (Paging::of): it
// listens to that paging only, moving its connection when it is moved to another window.

#include "StashwellUI/Saves/Paging.h"

#include <QPointer>

namespace sw::FollowPaging {

// Finds the paging that rules `widget`; when it is not the one `kept`, disconnects `receiver` from
// the kept one, keeps the new one and connects its pagesChanged to `slot` of `receiver`. Whether
// the paging changed.
template <class Receiver, class Slot>
bool follow(const QWidget *widget, QPointer<Paging> &kept, Receiver *receiver, Slot slot)
{
    Paging *paging = Paging::of(widget);
    if (paging == kept)
        return false;
    if (kept)
        QObject::disconnect(kept, nullptr, receiver, nullptr);
    kept = paging;
    if (paging)
        QObject::connect(paging, &Paging::pagesChanged, receiver, slot);
    return true;
}

}  // namespace sw::FollowPaging
