#pragma once

// Links dragged onto a sidebar row. One DropTarget per sidebar records which row a drag of links is
// over, and the sidebar draws that row as chosen. A DropOnRow, attached to one row, keeps the
// record from the row's drag events:
//
//   entering   the record names this row, whatever it named before;
//   leaving    the record is cleared only when it still names this row (so the order in which
//              leaving one row and entering the next arrive does not matter);
//   dropping   the record is cleared first, then the owner's handler is asked with this row's
//              filter and the links, and its answer is the drop's.
//
// A row that takes no drops gets no DropOnRow behaviour at all: it never becomes a drop
// destination and never touches the record. A drag counts as links when it carries URLs, or text
// that reads as a post link; anything else passes the row by.

#include "Shelf/Filter.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace sw {

class DropTarget : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const std::optional<Filter> &filter() const { return m_filter; }
    // Emits changed() only when the record becomes different.
    void setFilter(const std::optional<Filter> &filter);
    bool names(const Filter &filter) const { return m_filter && *m_filter == filter; }

signals:
    void changed();

private:
    std::optional<Filter> m_filter;
};

// Whether links dropped on a row were taken.
using DropLinksHandler = std::function<bool(const Filter &filter, const QList<QUrl> &links)>;

class DropOnRow : public QObject {
    Q_OBJECT
public:
    // Attaches to `row` (and is owned by it). With `takes` false it changes nothing on the row.
    DropOnRow(QWidget *row, Filter filter, bool takes, DropTarget *target, DropLinksHandler onDrop);

    const Filter &filter() const { return m_filter; }
    bool takes() const { return m_takes; }

    // The three steps, as the row's drag events take them. Qt itself always reports leaving one
    // row before entering the next, but the record does not rely on it.
    void enter();
    void leave();
    // Whether the owner took the links.
    bool drop(const QList<QUrl> &links);

    // The links a drag carries, in the order it delivers them: its URLs, else its text when that
    // reads as a post link; none otherwise.
    static QList<QUrl> links(const QMimeData *mime);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Filter m_filter;
    bool m_takes;
    QPointer<DropTarget> m_target;
    DropLinksHandler m_onDrop;
};

}  // namespace sw
