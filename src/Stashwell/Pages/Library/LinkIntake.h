#pragma once

// Links coming into the library window: the sidebar's capture button (the copied link), the bar's
// Save Link (an empty field), links dropped on the window (the first that reads as a post link),
// each opening the Save Link sheet through the Router; and the sheet's end with a save, which the
// library then shows. Owned by the LibraryPage.

#include "Library/Save.h"

#include <QList>
#include <QObject>
#include <QUrl>

#include <optional>

namespace sw::app {

class LibraryPage;

class LinkIntake final : public QObject {
    Q_OBJECT
public:
    explicit LinkIntake(LibraryPage &page);

    // The sidebar's capture button: the Save Link sheet with the copied link, or empty.
    void pasteLink();
    // The bar's Save Link: the sheet with an empty field, whatever the clipboard holds.
    void saveLink();
    // Links dropped on the window: the first URL that reads as a post link opens the Save Link
    // sheet with its text. Whether one did.
    bool openDropped(const QList<QUrl> &urls);
    // The Save Link sheet ended with a save (none: cancelled): all saves, that save selected, and
    // a toast. The sheet itself is closed by its presenter, which knows the request.
    void finish(const std::optional<Save::ID> &id);

private:
    LibraryPage &m_page;
};

}  // namespace sw::app
