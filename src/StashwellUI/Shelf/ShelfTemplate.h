#pragma once

// The frame of the shelf, the library window's main content: either the empty state (the
// application's mark over a title and a message, all in the muted colour, centred) or the shelf's
// scrolling column (the painted surface) with its sections. It decides nothing about what the
// sections hold or when the shelf counts as empty: the page says so and hands in the two texts,
// already localised, which are shown as they are.
//
// The column is padded 24 on the sides, 16 above and 44 below, with 14 between sections; it fills
// the width of the frame and never scrolls sideways.

#include <QString>
#include <QWidget>

class QStackedLayout;

namespace sw {

class ShelfSurface;

// The empty state: the mark, the title and the message, centred.
class ShelfEmptyState : public QWidget {
    Q_OBJECT
public:
    static constexpr double markSize = 44;
    static constexpr double spacing = 10;           // between the mark, the title and the message
    static constexpr double messageWidth = 360;     // the message wraps beyond this

    explicit ShelfEmptyState(QWidget *parent = nullptr);

    QString title() const { return m_title; }
    QString message() const { return m_message; }
    void setTexts(const QString &title, const QString &message);

    // Where the mark, the title and the message stand.
    struct Layout {
        QRectF mark;
        QRectF title;
        QRectF message;
    };
    Layout layout() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    QString m_message;
};

class ShelfTemplate : public QWidget {
    Q_OBJECT
public:
    static constexpr double sidePadding = 24;
    static constexpr double topPadding = 16;
    static constexpr double bottomPadding = 44;
    static constexpr double sectionSpacing = 14;

    explicit ShelfTemplate(QWidget *parent = nullptr);

    bool isEmpty() const { return m_empty; }
    // Shows the empty state with these texts, or the sections.
    void setEmpty(bool empty);
    void setEmptyTexts(const QString &title, const QString &message);

    ShelfEmptyState &emptyState() const { return *m_emptyState; }
    // The scrolling column: the page gives it its sections (blocks).
    ShelfSurface &surface() const { return *m_surface; }

private:
    bool m_empty = false;
    QStackedLayout *m_stack = nullptr;
    ShelfEmptyState *m_emptyState = nullptr;
    ShelfSurface *m_surface = nullptr;
};

}  // namespace sw
