#include "StashwellUI/Toasts/ToastController.h"

#include <QTimer>

#include <climits>
#include <cmath>
#include <utility>

namespace sw {

namespace {

void timerSchedule(std::chrono::milliseconds delay, QObject *context, std::function<void()> fire)
{
    // The display time is counted exactly, without the coarse timers' slack.
    QTimer::singleShot(delay, Qt::PreciseTimer, context, std::move(fire));
}

}  // namespace

ToastController::ToastController(QObject *parent) : QObject(parent), m_schedule(timerSchedule) {}

std::chrono::milliseconds ToastController::displayTime(bool hasUndo, std::optional<double> seconds)
{
    double chosen = hasUndo ? undoSeconds : plainSeconds;
    if (seconds && !std::isnan(*seconds))
        chosen = *seconds;
    if (!(chosen > 0))
        return std::chrono::milliseconds(0);
    // A timer holds at most INT_MAX milliseconds; more (infinity included) is as long as it holds.
    const double milliseconds = std::round(chosen * 1000);
    if (!(milliseconds < double(INT_MAX)))
        return std::chrono::milliseconds(INT_MAX);
    return std::chrono::milliseconds(static_cast<std::int64_t>(milliseconds));
}

void ToastController::show(const QString &message, std::optional<ToastUndo> undo, std::optional<double> seconds)
{
    if (undo && !undo->undo)
        undo.reset();
    m_message = message;
    m_undo = std::move(undo);
    m_shownFor = displayTime(m_undo.has_value(), seconds);
    const std::uint64_t generation = ++m_generation;
    m_schedule(m_shownFor, this, [this, generation] { expire(generation); });
    emit changed();
}

void ToastController::clear()
{
    if (!m_message)
        return;
    m_message.reset();
    m_undo.reset();
    emit changed();
}

std::optional<std::int64_t> ToastController::undoStep() const
{
    if (!m_undo)
        return std::nullopt;
    return m_undo->step;
}

void ToastController::setLatestUndoStep(std::optional<std::int64_t> step)
{
    if (!m_undo || step == m_undo->step)
        return;
    m_undo.reset();
    emit changed();
}

bool ToastController::pressUndo()
{
    if (!m_undo)
        return false;
    // The button goes before the undo runs: whatever the undo sets off (a new toast, a change of
    // the history) finds no offer left to press a second time.
    const std::function<void()> undo = std::move(m_undo->undo);
    m_undo.reset();
    emit changed();
    undo();
    return true;
}

void ToastController::expire(std::uint64_t generation)
{
    if (generation != m_generation)
        return;
    clear();
}

void ToastController::setScheduler(Scheduler scheduler)
{
    m_schedule = scheduler ? std::move(scheduler) : Scheduler(timerSchedule);
}

}  // namespace sw
