#pragma once

// The controls that sit on glass: the glass material itself, the text button of the settings
// pages and the quick-save popover, the segmented choice and the pop-up picker.
//
// The glass is our own painting (there is no behind-window blur): a translucent fill with a
// highlight along the top and a fine border. Interactive glass answers the pointer: it brightens
// under it and deepens while pressed.

#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Design/Tone.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <QMenu>

namespace sw {

namespace GlassMaterial {
// Paints the glass in `shape`. `interactive` glass shows `state`'s hover and press.
void paint(QPainter &painter, const QPainterPath &shape, bool interactive, const ControlState &state);
// Paints only the hover and press response over whatever fills `shape`.
void paintResponse(QPainter &painter, const QPainterPath &shape, const ControlState &state);
}  // namespace GlassMaterial

// An optional symbol and a title on a glass capsule, 32 high and as wide as its content plus 14
// on each side. The accent tone fills the capsule with the accent colour and draws the label in
// the colour made for it; the other tones give clear glass with the ordinary text colour. Drawn
// at 0.45 opacity while disabled. The press is clicked().
class GlassButton : public Pressable {
    Q_OBJECT
public:
    static constexpr double controlHeight = 32;
    static constexpr double sidePadding = 14;
    static constexpr double disabledOpacity = 0.45;

    explicit GlassButton(QWidget *parent = nullptr);
    GlassButton(const QString &title, const QString &symbol, Tone tone, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    // Empty: no symbol.
    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);
    Tone tone() const { return m_tone; }
    void setTone(Tone tone);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QString accessibleText() const override { return m_title; }

    // The label's colour for a tone: the colour for text on the accent fill, or the text colour.
    static QColor foreground(Tone tone);

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;

private:
    QString m_title;
    QString m_symbol;
    Tone m_tone = Tone::neutral;
};

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

// The current choice in a glass capsule with an up-and-down chevron; a press opens a menu of
// every option's title. Choosing an item emits chosen() with its value (also when it is the
// current one) and takes it as the selection. The label names the setting for assistive
// technologies only; it is never drawn. Its size is its content's.
class GlassPicker : public Pressable {
    Q_OBJECT
public:
    struct Option {
        QVariant value;
        QString title;
        friend bool operator==(const Option &, const Option &) = default;
    };

    static constexpr double controlHeight = 32;

    explicit GlassPicker(QWidget *parent = nullptr);
    GlassPicker(const QString &label, const QList<Option> &options, QWidget *parent = nullptr);

    QString label() const { return m_label; }
    void setLabel(const QString &label);
    QList<Option> options() const { return m_options; }
    void setOptions(const QList<Option> &options);
    QVariant selection() const { return m_selection; }
    void setSelection(const QVariant &value);

    // The title of the first option whose value is the selection; empty when none is.
    QString currentTitle() const;
    static QString titleFor(const QList<Option> &options, const QVariant &selection);

    // The menu while it is open (or was last opened); null before the first press.
    QMenu *menu() const { return m_menu; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QAccessible::Role accessibleRole() const override { return QAccessible::ComboBox; }
    QString accessibleText() const override { return m_label; }
    QString accessibleValue() const override { return currentTitle(); }

signals:
    void chosen(const QVariant &value);
    void selectionChanged(const QVariant &value);

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;

private:
    QString m_label;
    QList<Option> m_options;
    QVariant m_selection;
    QPointer<QMenu> m_menu;

    void openMenu();
};

}  // namespace sw
