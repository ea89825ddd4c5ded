#pragma once

// The library page on the Curator of scripted services, with a real Router and a real undo stack,
// and a desktop that records what the page asks of it (addresses opened, files revealed, text
// copied) and a clipboard the test fills.

#include "CuratorRig.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibraryPlayer.h"
#include "Stashwell/Pages/Library/LinkIntake.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"

#include <QStandardPaths>
#include <QUndoStack>

#include <memory>

namespace sw::test {

struct PageRig {
    CuratorRig core;
    app::Router router;
    QUndoStack stack;
    QList<QUrl> opened;
    QList<QList<QUrl>> revealed;
    QStringList copied;
    std::optional<QString> clipboardLink;
    std::unique_ptr<app::LibraryPage> page;

    explicit PageRig(Library library = {}, CopyTable copies = {}, std::int64_t budget = CuratorRig::kBudget)
        : core(std::move(library), std::move(copies), budget)
    {
        app::LibraryPage::Desktop desktop;
        desktop.open = [this](const QUrl &url) { opened.append(url); };
        desktop.reveal = [this](const QList<QUrl> &files) { revealed.append(files); };
        desktop.copyText = [this](const QString &text) { copied.append(text); };
        desktop.copiedLink = [this] { return clipboardLink; };
        desktop.homePath = [this] { return core.dir.path(); };
        page = std::make_unique<app::LibraryPage>(*core.curator, router, &stack, desktop);
    }

    Curator &curator() { return *core.curator; }
    const Library &library() { return core.curator->library(); }
    Save save(int n) { return *library().save(fixtures::saveID(n)); }
    ShelfItem item(int n) { return page->shelf().item(save(n)); }
    // The media folder's URL of a file.
    QUrl mediaUrl(const QString &name) { return QUrl::fromLocalFile(core.mediaFile(name)); }
};

// The test numbers written in a text: "1 2 3".
inline QList<int> numbers(const char *text)
{
    QList<int> out;
    for (const QString &word : QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts))
        out.append(word.toInt());
    return out;
}

// A library of those saves and collections.
inline Library libraryOf(QList<Save> saves, QList<Collection> collections = {})
{
    return Library(std::move(saves), std::move(collections));
}

inline Collection collection(int n, const QString &name, Swatch swatch = Swatch::amber)
{
    return Collection{fixtures::collectionID(n), name, swatch};
}

// An X post with one image of that many bytes (so it has media to download).
inline Post imagePost(const QString &digits, std::int64_t bytes = 1000)
{
    return fixtures::post(fixtures::xLink(QStringLiteral("someone"), digits),
                          {fixtures::image(bytes, QStringLiteral("https://pbs.example.com/%1.jpg").arg(digits))});
}

// An X post with one video.
inline Post videoPost(const QString &digits, std::int64_t bytes = 2000)
{
    return fixtures::post(fixtures::xLink(QStringLiteral("someone"), digits),
                          {fixtures::video(bytes, std::nullopt,
                                           QStringLiteral("https://video.example.com/%1.mp4").arg(digits))});
}

// An X post without attachments.
inline Post textPost(const QString &digits)
{
    return fixtures::post(fixtures::xLink(QStringLiteral("someone"), digits));
}

}  // namespace sw::test
