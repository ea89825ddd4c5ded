#pragma once

// The one-line bar along the foot of the library window: the mark and a summary of the library
// (how many saves, how much media on this computer, and where) on the left; the window's main
// shortcuts as key caps with their meanings on the right. A long summary gives way to the hints;
// the bar stays one line. It takes no input and draws no background: the window gives it one.

#include "StashwellUI/Controls/KeyCap.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace sw {

class StatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr double barHeight = 30;
    static constexpr double sidePadding = 16;
    static constexpr double spacing = 10;
    static constexpr double pairSpacing = 5;
    static constexpr double logoSize = 16;

    // One shortcut and what it does, in a group of hints.
    struct Hint {
        KeyCap::Keys keys;
        QString meaning;
        int group = 0;
    };

    explicit StatusBar(QWidget *parent = nullptr);

    qsizetype items() const { return m_items; }
    void setItems(qsizetype items);
    std::int64_t onDisk() const { return m_onDisk; }
    void setOnDisk(std::int64_t bytes);
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);

    // "12 saves · 1.5 GB in ~/Videos/Stashwell".
    QString summary() const;
    static QString summary(qsizetype items, std::int64_t onDisk, const QString &folder);
    // The hints in the order shown: save link; search; move, open, trash.
    static QList<Hint> hints();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qsizetype m_items = 0;
    std::int64_t m_onDisk = 0;
    QString m_folder;

    void changed();
    static double hintsWidth();
};

}  // namespace sw
