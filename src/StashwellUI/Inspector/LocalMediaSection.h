#pragma once

// The inspector's section on the save's media on this computer: a heading with the state of the
// local copy (its percentage while downloading, its size when here, failed, or not downloaded),
// then by that state: a pane saying only the link is kept with the pill of the save's action; the
// running download's sizes and progress; or the list of files, the media folder's path and the
// buttons that show the files in the file manager and remove the local copy.
//
// Every request is a SaveIntent reported by intentRaised(); the section changes nothing.

#include "Offline/MediaFolder.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/Inspector/InspectorFacts.h"
#include "StashwellUI/Saves/SaveIntent.h"

#include <QList>
#include <optional>
#include <QWidget>

class QVBoxLayout;

namespace sw {

class ActionPillButton;
class FileRow;
class GlassButton;
class InspectorPane;
class ProgressTrack;

class LocalMediaSection : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 8;
    static constexpr double panePadding = 12;
    static constexpr double listPadding = 4;

    explicit LocalMediaSection(QWidget *parent = nullptr);

    // The item shown and the media folder; the home folder written "~" at the start of its path.
    void setContent(const ShelfItem &item, const MediaFolder &folder, const QString &home);

    // What is shown now, for the tests.
    const InspectorFacts::MediaStatus &status() const { return m_status; }
    // Which body shows: the only-linked pane, the download pane, or the files.
    enum class Body { onlyLinked, downloading, files };
    Body body() const { return m_body; }
    ActionPillButton &actionPill() { return *m_pill; }
    QString downloadingText() const;
    double downloadFraction() const;
    QList<FileRow *> fileRows() const { return m_files; }
    QString folderText() const;
    GlassButton &revealButton() { return *m_reveal; }
    GlassButton &removeButton() { return *m_remove; }

signals:
    void intentRaised(const sw::SaveIntent &intent);

protected:
    void changeEvent(QEvent *event) override;

private:
    void apply();

    std::optional<ShelfItem> m_item;
    MediaFolder m_folder;
    QString m_home;
    InspectorFacts::MediaStatus m_status;
    Body m_body = Body::onlyLinked;

    class SymbolLine *m_statusLine = nullptr;
    class Kicker *m_kicker = nullptr;
    // Only linked.
    InspectorPane *m_onlyLinked = nullptr;
    FileRow *m_onlyLinkedRow = nullptr;
    ActionPillButton *m_pill = nullptr;
    // Downloading.
    InspectorPane *m_downloading = nullptr;
    class OneLine *m_sizes = nullptr;
    ProgressTrack *m_track = nullptr;
    // Here.
    InspectorPane *m_fileList = nullptr;
    QVBoxLayout *m_fileLayout = nullptr;
    QList<FileRow *> m_files;
    class OneLine *m_folderLine = nullptr;
    QWidget *m_buttons = nullptr;
    GlassButton *m_reveal = nullptr;
    GlassButton *m_remove = nullptr;
};

}  // namespace sw
