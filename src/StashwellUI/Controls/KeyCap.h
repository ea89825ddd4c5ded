#pragma once

// A keyboard shortcut drawn as a small key: the whole shortcut text ("Ctrl+V") in one cap, in the
// monospaced face on a card-coloured rounded rectangle with a firm border inside its edge. As big
// as its text plus 6 on each side and 2 above and below.

#include <QKeySequence>
#include <QString>
#include <QWidget>

namespace sw {

class KeyCap : public QWidget {
    Q_OBJECT
public:
    static constexpr double horizontalPadding = 6;
    static constexpr double verticalPadding = 2;
    static constexpr double radius = 5;

    explicit KeyCap(const QString &keys = QString(), QWidget *parent = nullptr);

    QString keys() const { return m_keys; }
    void setKeys(const QString &keys);

    // The text a shortcut shows on this platform ("Ctrl+V"; never the command sign).
    static QString text(const QKeySequence &shortcut);

    static QSizeF size(const QString &keys);
    static void paint(QPainter &painter, const QRectF &bounds, const QString &keys);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_keys;
};

}  // namespace sw
