#pragma once

// A titled group of a settings page: a small heading, the rows it is given stacked in one glass
// panel with a fine line between neighbouring rows (none above the first), and an optional
// footnote under the panel that wraps onto as many lines as it needs.
//
// A footnote that is absent takes no room at all; an empty one still takes its place under the
// panel. The section takes the row widgets as its children, in the order given.

#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>

namespace sw {

class StyledText;

class SettingsSection : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 8;
    static constexpr double edgeInset = 6;
    static constexpr double rowInset = 14;
    static constexpr double panelVerticalPadding = 4;
    static constexpr double panelRadius = 16;
    static constexpr double dividerThickness = 1;

    SettingsSection(const QString &title, const std::optional<QString> &footnote, const QList<QWidget *> &rows,
                    QWidget *parent = nullptr);

    QString title() const { return m_title; }
    const std::optional<QString> &footnote() const { return m_footnote; }
    const QList<QWidget *> &rows() const { return m_rows; }

    // The footnote's text, or null when there is no footnote.
    StyledText *footnoteText() const { return m_footnoteText; }
    // The panel that holds the rows.
    QWidget *panel() const { return m_panel; }
    // The divider lines, in the panel's coordinates: one above each row but the first.
    QList<QRectF> dividers() const;

private:
    QString m_title;
    std::optional<QString> m_footnote;
    QList<QWidget *> m_rows;
    QWidget *m_panel = nullptr;
    StyledText *m_footnoteText = nullptr;
};

}  // namespace sw
