#pragma once

// What a control shows for a save's main action: a localised title, a symbol and a tone. The
// action pill, the save menu's first entry and the inspector all take their look from here.

#include "Shelf/ShelfItem.h"   // Action
#include "StashwellUI/Design/Tone.h"

#include <QHashFunctions>
#include <QString>

#include <cstddef>

namespace sw {

class ActionStyle {
public:
    ActionStyle(QString title, QString symbol, Tone tone)
        : m_title(std::move(title)), m_symbol(std::move(symbol)), m_tone(tone) {}

    // Each action's look, as its keys and symbol names:
    //   download       key action.download with the size of its bytes, arrow.down, accent
    //   downloading    the whole percentage of its fraction and "%" (not clamped: 1.25 shows 125%),
    //                  arrow.down, accent
    //   retry          key action.retry, arrow.clockwise, accent
    //   play           key action.play, play.fill, ok
    //   open           key action.openPost, arrow.up.right, ok
    //   open on X      key action.openOnX, the same symbol, ok
    //   restore        key action.restore, arrow.uturn.backward, ok
    explicit ActionStyle(const Action &action);

    const QString &title() const { return m_title; }
    const QString &symbol() const { return m_symbol; }
    Tone tone() const { return m_tone; }

    // A fraction as the whole percentage a title shows, "42%": fraction × 100 truncated toward
    // zero. A fraction that is not finite shows "0%", and one beyond the range of a percentage
    // shows its nearest end: never a conversion of a value an integer cannot hold.
    static QString percentText(double fraction);

    friend bool operator==(const ActionStyle &, const ActionStyle &) = default;

private:
    QString m_title;
    QString m_symbol;
    Tone m_tone;
};

std::size_t qHash(const ActionStyle &style, std::size_t seed = 0) noexcept;

}  // namespace sw
