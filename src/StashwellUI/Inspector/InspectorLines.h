#pragma once

// Small painted lines of the inspector: a text on one line in a type style and a colour that
// follows the appearance, shortened where it does not fit; and a state line of a symbol and a text
// in one colour.

#include "StashwellUI/Design/Tokens.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

namespace sw {

class OneLine : public QWidget {
    Q_OBJECT
public:
    OneLine(Tokens::TypeStyle style, std::function<QColor()> color, Qt::TextElideMode elide, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // What is drawn in the present width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Tokens::TypeStyle m_style;
    std::function<QColor()> m_color;
    Qt::TextElideMode m_elide;
    QString m_text;
};

class SymbolLine : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 4;

    SymbolLine(Tokens::TypeStyle style, QWidget *parent = nullptr);

    void setContent(const QString &text, const QString &symbol, std::function<QColor()> color);
    QString text() const { return m_text; }
    QString symbol() const { return m_symbol; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Tokens::TypeStyle m_style;
    QString m_text;
    QString m_symbol;
    std::function<QColor()> m_color;
};

}  // namespace sw
