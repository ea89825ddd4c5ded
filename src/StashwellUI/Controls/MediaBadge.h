#pragma once

// A small dark capsule of white monospaced text, optionally led by a tiny symbol, laid over
// pictures and videos (a video's length, a page counter). White on the scrim in either appearance.

#include <QString>
#include <QWidget>

namespace sw {

class MediaBadge : public QWidget {
    Q_OBJECT
public:
    static constexpr double symbolTypeSize = 8;
    static constexpr double spacing = 3;
    static constexpr double horizontalPadding = 8;
    static constexpr double verticalPadding = 3;

    explicit MediaBadge(const QString &text = QString(), const QString &symbol = QString(), QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // Empty: no symbol.
    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);

    static QSizeF size(const QString &text, const QString &symbol);
    static void paint(QPainter &painter, const QRectF &bounds, const QString &text, const QString &symbol);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QString m_symbol;
};

}  // namespace sw
