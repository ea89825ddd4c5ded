#pragma once

// The small panel at the foot of the library sidebar: how much media is on this computer against
// the media limit. A row naming the on-this-computer saves with the bytes on disk (pressing it
// emits showRequested()), a bar of the share of the limit in use, a line naming the media folder
// and the limit, and, while some saves are not downloaded, a button to download them all
// (downloadMissingRequested()). It holds no data of its own: the owner passes the numbers in.

#include "StashwellUI/Controls/Pressable.h"

#include <QString>
#include <QWidget>

#include <cstdint>

namespace sw {

class ProgressTrack;
class TextButton;

class StorageMeter : public QWidget {
    Q_OBJECT
public:
    static constexpr double padding = 12;
    static constexpr double spacing = 8;
    static constexpr double radius = 12;
    static constexpr double minimumFraction = 0.02;

    explicit StorageMeter(QWidget *parent = nullptr);

    std::int64_t onDisk() const { return m_onDisk; }
    void setOnDisk(std::int64_t bytes);
    std::int64_t limit() const { return m_limit; }
    void setLimit(std::int64_t bytes);
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);
    std::int64_t missing() const { return m_missing; }
    void setMissing(std::int64_t missing);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    // The share of the limit in use as the bar shows it: 0 without a positive limit; otherwise
    // onDisk ÷ limit, at least 0.02 so that some use always shows; not capped at 1 (the track
    // draws anything above 1 full).
    static double fraction(std::int64_t onDisk, std::int64_t limit);
    // The limit line: the folder and the size of the limit.
    static QString limitText(const QString &folder, std::int64_t limit);
    // The download button's title for `missing` saves; empty when none are missing.
    static QString downloadMissingTitle(std::int64_t missing);

    Pressable *showButton() const { return m_show; }
    ProgressTrack *track() const { return m_track; }
    // The download-missing button while it shows, else null.
    TextButton *downloadMissingButton() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void showRequested();
    void downloadMissingRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    std::int64_t m_onDisk = 0;
    std::int64_t m_limit = 0;
    QString m_folder;
    std::int64_t m_missing = 0;
    bool m_selected = false;

    Pressable *m_show = nullptr;
    ProgressTrack *m_track = nullptr;
    TextButton *m_download = nullptr;

    void place();
    double limitLineHeight() const;
    QRectF limitLineRect() const;
    void relayout();
};

}  // namespace sw
