#pragma once

// A label of wrapped text that lays its text out once per width. A layout asks a wrapped label
// its height for a width many times over for each change around it (the column's hints, its
// minimum, the scroll area fitting its content), and QLabel lays its whole text out afresh for
// every one of them: for a long post in the inspector that was most of a selection's work.
// It also keeps its drawing: a rich text label lays out and shapes its whole text on every paint,
// and the inspector's text is painted again with every frame that shows the column.

#include <QHash>
#include <QLabel>
#include <QPixmap>

#include <memory>

namespace sw {

class WrappedLabel : public QLabel {
public:
    explicit WrappedLabel(QWidget *parent = nullptr);

    int heightForWidth(int width) const override;

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // What the kept drawing shows: it is drawn again when any of it differs.
    struct Drawn {
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        bool wraps = true;
        Qt::Alignment alignment;
        int indent = 0;
        int margin = 0;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        QSize size;
        qreal ratio = 0;
        qint64 palette = 0;
        bool enabled = false;
        bool operator==(const Drawn &) const = default;
    };
    Drawn drawnNow() const;

    QPixmap m_drawing;
    Drawn m_drawn;
    std::unique_ptr<QLabel> m_double;

    // The text the kept heights were worked out for; a change of font, style or margins lets
    // them go too.
    mutable QString m_measured;
    mutable QHash<int, int> m_heights;
};

}  // namespace sw
