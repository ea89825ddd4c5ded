#include "StashwellUI/Saves/Paging.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace sw {

namespace {

// The dynamic property under which a widget carries the page memory of its subtree.
constexpr const char *kProperty = "sw.paging";

}  // namespace

Paging::Paging(QObject *parent) : QObject(parent) {}

std::int64_t Paging::page(const Save::ID &id, std::int64_t count) const
{
    const std::int64_t stored = m_pages.value(id, 0);
    const std::int64_t last = count < 1 ? 0 : count - 1;
    return std::clamp<std::int64_t>(stored, 0, last);
}

void Paging::turn(const Save::ID &id, int delta, std::int64_t count)
{
    if (count < 2)
        return;
    const std::int64_t current = page(id, count);
    // current lies in 0...count-1 and delta is ±1, so no step leaves the range of the sum.
    const std::int64_t next = (current + count + delta) % count;
    m_pages.insert(id, next < 0 ? next + count : next);
    emit pagesChanged();
}

void Paging::install(QWidget *root, Paging *paging)
{
    if (!root)
        return;
    if (paging)
        root->setProperty(kProperty, QVariant::fromValue(QPointer<Paging>(paging)));
    else
        root->setProperty(kProperty, QVariant());
}

Paging *Paging::of(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant value = w->property(kProperty);
        if (value.isValid())
            return value.value<QPointer<Paging>>().data();
    }
    return nullptr;
}

}  // namespace sw
