#pragma once

// One selectable line of the library sidebar: a leading icon, a one-line title and, on the
// trailing edge, a count when it is 1 or more. The selected row is accent ink on a faint accent
// plate with a fine accent border. The whole row takes clicks, reported by clicked(); it has no
// hover look.

#include "StashwellUI/Controls/Pressable.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace sw {

class SidebarRow : public Pressable {
    Q_OBJECT
public:
    static constexpr double controlHeight = 32;
    static constexpr double horizontalPadding = 10;
    static constexpr double spacing = 10;
    static constexpr double iconFrame = 18;
    static constexpr double minimumSpacer = 4;
    static constexpr double radius = 10;

    explicit SidebarRow(QWidget *parent = nullptr);
    SidebarRow(const QString &title, const QString &symbol, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    std::optional<std::int64_t> count() const { return m_count; }
    void setCount(std::optional<std::int64_t> count);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // The leading glyph: a symbol in the row's foreground, or a painter of the caller's own.
    void setSymbol(const QString &symbol);
    void setIcon(ControlPainting::IconPainter icon);

    // The count as shown: plain decimal digits for 1 or more; none for absent, zero or negative.
    static std::optional<QString> countText(std::optional<std::int64_t> count);
    static QColor foreground(bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QString accessibleText() const override;
    bool isAccessiblySelectable() const override { return true; }
    bool isAccessiblySelected() const override { return m_selected; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;

private:
    QString m_title;
    std::optional<std::int64_t> m_count;
    bool m_selected = false;
    ControlPainting::IconPainter m_icon;

    QFont titleFont() const;
};

}  // namespace sw
