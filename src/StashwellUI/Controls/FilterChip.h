#pragma once

// A small capsule toggle: an icon and a short title that narrow the library to one filter. The
// chosen chip is accent ink on a faint accent capsule with an accent border; the others have a
// neutral border. The caller says whether it is selected and gets the click through clicked();
// clicking the selected chip clicks again. Only the capsule takes clicks.

#include "StashwellUI/Controls/Pressable.h"

#include <QString>

namespace sw {

class FilterChip : public Pressable {
    Q_OBJECT
public:
    static constexpr double controlHeight = 26;
    static constexpr double horizontalPadding = 9;
    static constexpr double spacing = 5;

    explicit FilterChip(QWidget *parent = nullptr);
    FilterChip(const QString &title, const QString &symbol, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // The leading glyph: a symbol in the chip's foreground, or a painter of the caller's own.
    void setSymbol(const QString &symbol);
    void setIcon(ControlPainting::IconPainter icon);

    // The colour of title and symbol icon in a state.
    static QColor foreground(bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QString accessibleText() const override { return m_title; }
    bool isAccessiblySelectable() const override { return true; }
    bool isAccessiblySelected() const override { return m_selected; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;

private:
    QString m_title;
    bool m_selected = false;
    ControlPainting::IconPainter m_icon;

    ControlPainting::Label label() const;
};

}  // namespace sw
