#pragma once

// The message the toast shows, and its display timer. The library page owns one controller: it
// shows a confirmation after an operation (with the undo of the step just taken, when that step
// can be undone) and clears it early when it wants; the controller clears it itself when its time
// is up. The overlay on the window (ToastOverlay) draws whatever the controller holds.
//
// Every show() is a new message with a generation number of its own, and its timer clears only
// that generation: a message set again while it shows (the same text or another) gets its full
// time from that moment, and the timer of a replaced message never cuts the next one short.
//
// The Undo button belongs to the step its toast announced. Pressing it runs that step's undo at
// most once and the button goes; when the page's history moves on (another step is recorded,
// undone or redone) and the announced step is no longer the latest undo step, the button goes too,
// so an old toast can never undo some other step. Pressing Undo neither clears the message nor
// changes its time.

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace sw {

// The undo a toast offers: the step of the page's history it announces and how to undo it.
struct ToastUndo {
    std::int64_t step = 0;
    std::function<void()> undo;
};

class ToastController : public QObject {
    Q_OBJECT
public:
    static constexpr double undoSeconds = 4.0;
    static constexpr double plainSeconds = 1.8;

    // Runs `fire` once after `delay`, unless `context` is gone by then. QTimer by default; tests
    // put in their own to fire timers when they choose.
    using Scheduler = std::function<void(std::chrono::milliseconds delay, QObject *context, std::function<void()> fire)>;

    explicit ToastController(QObject *parent = nullptr);

    // How long a message stays: the given number of seconds when there is one (0 or less: as soon
    // as the timer first runs; more than a timer can hold: as long as it can hold), otherwise 4 s
    // with an undo and 1.8 s without. A given value that is not a number counts as none given.
    static std::chrono::milliseconds displayTime(bool hasUndo, std::optional<double> seconds);

    // Shows `message` (shown as it is; an empty text is a message too) with its undo, replacing
    // whatever showed, and starts its timer.
    void show(const QString &message, std::optional<ToastUndo> undo = std::nullopt,
              std::optional<double> seconds = std::nullopt);
    // Takes the message away now. Nothing shown: nothing happens.
    void clear();

    const std::optional<QString> &message() const { return m_message; }
    bool isShown() const { return m_message.has_value(); }
    // Whether the shown message offers its Undo button now.
    bool offersUndo() const { return m_undo.has_value(); }
    // The step the offered undo belongs to.
    std::optional<std::int64_t> undoStep() const;
    // The generation of the message shown (or last shown); each show() counts one up.
    std::uint64_t generation() const { return m_generation; }
    // The display time of the message shown now.
    std::chrono::milliseconds shownFor() const { return m_shownFor; }

    // The page's latest undo step now (none: nothing to undo). An offered undo of any other step
    // is withdrawn.
    void setLatestUndoStep(std::optional<std::int64_t> step);

    // The Undo button was pressed: withdraws the button, then runs the undo. Returns whether an
    // undo ran (false when none was offered, for instance on a second press).
    bool pressUndo();

    // Clears the message of `generation` if it is still the one shown; the timer calls it.
    void expire(std::uint64_t generation);

    void setScheduler(Scheduler scheduler);

signals:
    // The message, its generation or the offer of Undo changed.
    void changed();

private:
    std::optional<QString> m_message;
    std::optional<ToastUndo> m_undo;
    std::uint64_t m_generation = 0;
    std::chrono::milliseconds m_shownFor{0};
    Scheduler m_schedule;
};

}  // namespace sw
