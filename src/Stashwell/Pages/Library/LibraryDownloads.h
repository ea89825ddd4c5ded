#pragma once

// The downloads the library page starts (one save, the chosen saves, every save missing its
// media) and the toasts and problems they end with. The work waits as coroutines that look the
// page up again after each suspension and end quietly when it is gone. Owned by the LibraryPage.

#include "Offline/DownloadRefusal.h"
#include "Shelf/ShelfItem.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>

namespace sw::app {

class LibraryPage;

class LibraryDownloads final : public QObject {
    Q_OBJECT
public:
    explicit LibraryDownloads(LibraryPage &page);

    QCoro::Task<> download(ShelfItem item);
    // The bulk panel's: one save after another; the toast tells at once.
    void downloadChosen();
    // Downloads every save missing its media; the toast tells how many when all have ended.
    QCoro::Task<> downloadMissing();
    // The problem alert's text of a refusal.
    static QString message(const DownloadRefusal &refusal);

private:
    LibraryPage &m_page;
};

}  // namespace sw::app
