#pragma once

// The window's memory of which page each save is on. A save with several pictures is shown one
// page at a time; every view of that save in the library window (its card in the shelf, the
// inspector) reads its page from here, so turning the page in one turns it in all of them, and
// a view built anew (after scrolling back, after selecting another save and returning) opens on
// the page last shown.
//
// The library page makes one and puts it into the environment of everything it shows
// (install()); views find it there (of()). Views outside it find none and keep their page to
// themselves. Nothing is persisted: after a relaunch every save opens on its first page.

#include "Library/Save.h"

#include <QHash>
#include <QObject>

#include <cstdint>

class QWidget;

namespace sw {

class Paging final : public QObject {
    Q_OBJECT
public:
    explicit Paging(QObject *parent = nullptr);

    // The page on show for the save among `count` pages: its stored page (0 when it has never
    // been turned), capped at the last page; 0 when the count is 0 or 1. The stored page is left
    // as it is: a save whose pictures shrank reads its last page until it is turned again.
    std::int64_t page(const Save::ID &id, std::int64_t count) const;

    // Turns the save's page by `delta` (+1 next, -1 previous) among `count` pages, wrapping
    // round at both ends, starting from the capped page. With fewer than 2 pages nothing
    // happens and no one is told.
    void turn(const Save::ID &id, int delta, std::int64_t count);

    // The number of saves whose page has ever been turned; entries are never removed.
    qsizetype size() const { return m_pages.size(); }

    // Puts `paging` into the environment of `root` and everything below it (none removes it).
    static void install(QWidget *root, Paging *paging);
    // The page memory of the nearest widget at or above `widget` that has one; none otherwise.
    static Paging *of(const QWidget *widget);

signals:
    // Some save's page changed: every view that read a page reads it again.
    void pagesChanged();

private:
    QHash<Save::ID, std::int64_t> m_pages;
};

}  // namespace sw
