#pragma once

// The short overline label above a heading: its text in capitals (the full Unicode upper-case
// mapping, whatever the locale), small, bold and widely spaced, in the muted colour by default.

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

namespace sw {

class Kicker : public QWidget {
    Q_OBJECT
public:
    static constexpr double tracking = 1.6;

    explicit Kicker(const QString &text = QString(), QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // The muted colour of the current appearance until one is set.
    QColor tint() const;
    void setTint(const QColor &tint);

    // What is drawn: the text in capitals.
    static QString shownText(const QString &text);
    static QFont font();
    static QSizeF size(const QString &text);
    static void paint(QPainter &painter, const QRectF &bounds, const QString &text, const QColor &tint);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    std::optional<QColor> m_tint;
};

}  // namespace sw
