#pragma once

// The segmented choice on glass.

#include "StashwellUI/Controls/Pressable.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace sw {

// Every option at once as capsule segments in one glass capsule, the chosen one filled with the
// accent colour. The selection belongs to the caller: pressing a segment emits chosen() with its
// value (also when it is the chosen one already) and takes it as the selection; setSelection()
// shows the caller's value. A selection that is no option's value fills no segment.
class GlassSegments : public QWidget {
    Q_OBJECT
public:
    struct Option {
        QVariant value;   // what choosing the segment stores; also its identity
        QString title;    // already localised
        QString symbol;   // empty: none
        friend bool operator==(const Option &, const Option &) = default;
    };

    static constexpr double segmentHeight = 26;
    static constexpr double inset = 3;
    static constexpr double gap = 2;

    explicit GlassSegments(QWidget *parent = nullptr);
    GlassSegments(const QList<Option> &options, bool fills, QWidget *parent = nullptr);

    QList<Option> options() const { return m_options; }
    void setOptions(const QList<Option> &options);
    // True: the segments share the width given; false: each is as wide as its content.
    bool fills() const { return m_fills; }
    void setFills(bool fills);
    QVariant selection() const { return m_selection; }
    void setSelection(const QVariant &value);

    // The index of the filled segment, or -1.
    int selectedIndex() const;
    // The segment buttons, in option order (for focus chains and tests).
    QList<Pressable *> segments() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where each segment lies in a control of `width` (the row's 3-point inset and 2-point gaps).
    static QList<QRectF> segmentRects(const QList<Option> &options, bool fills, double width);
    // The width of one segment's content plus its side padding.
    static double naturalSegmentWidth(const Option &option, bool fills);

signals:
    void chosen(const QVariant &value);
    void selectionChanged(const QVariant &value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QList<Option> m_options;
    bool m_fills = false;
    QVariant m_selection;
    QList<Pressable *> m_segments;

    void rebuild();
    void placeSegments();
    void choose(int index);
    void moveFocus(int from, int step);
    friend class GlassSegment;
};

}  // namespace sw
