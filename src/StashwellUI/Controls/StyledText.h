#pragma once

// A piece of text in one of the interface's type styles and colours, for views built from
// widgets (the quick-save popover, the Save Link sheet, the settings sections). It wraps at word
// boundaries (or anywhere inside a word too long for the line), may be limited to a number of
// lines (the last one cut with an ellipsis when more text follows), and takes its colour from
// the appearance in force each time it paints.

#include "StashwellUI/Design/Tokens.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

namespace sw {

class StyledText : public QWidget {
    Q_OBJECT
public:
    // The colour, asked for at every paint so that it follows the appearance.
    using ColorRole = std::function<QColor()>;
    // No line limit.
    static constexpr int unlimited = 0;

    StyledText(const QString &text, Tokens::TypeStyle style, ColorRole color, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    Tokens::TypeStyle typeStyle() const { return m_style; }
    void setTypeStyle(Tokens::TypeStyle style);
    void setColorRole(ColorRole color);
    QColor color() const;
    // At most this many lines; `unlimited` (the default) for as many as the text needs.
    int maximumLines() const { return m_lines; }
    void setMaximumLines(int lines);

    // The lines drawn at `width`, joined by line feeds.
    QString shownText(double width) const;
    // The number of lines drawn at `width` (0 for an empty text).
    int lineCount(double width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    Tokens::TypeStyle m_style;
    ColorRole m_color;
    int m_lines = unlimited;

    double lineHeight() const;
    void changed();
};

}  // namespace sw
