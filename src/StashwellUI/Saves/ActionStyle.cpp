#include "StashwellUI/Saves/ActionStyle.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <type_traits>

namespace sw {

ActionStyle::ActionStyle(const Action &action) : m_tone(Tone::accent)
{
    std::visit(
        [this](const auto &c) {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, Action::Download>) {
                m_title = StashwellUIStrings::actionDownload(Formatting::bytes(c.bytes));
                m_symbol = QStringLiteral("arrow.down");
                m_tone = Tone::accent;
            } else if constexpr (std::is_same_v<C, Action::Downloading>) {
                m_title = percentText(c.fraction);
                m_symbol = QStringLiteral("arrow.down");
                m_tone = Tone::accent;
            } else if constexpr (std::is_same_v<C, Action::Retry>) {
                m_title = StashwellUIStrings::actionRetry();
                m_symbol = QStringLiteral("arrow.clockwise");
                m_tone = Tone::accent;
            } else if constexpr (std::is_same_v<C, Action::Play>) {
                m_title = StashwellUIStrings::actionPlay();
                m_symbol = QStringLiteral("play.fill");
                m_tone = Tone::ok;
            } else if constexpr (std::is_same_v<C, Action::Open>) {
                m_title = StashwellUIStrings::actionOpenPost();
                m_symbol = QStringLiteral("arrow.up.right");
                m_tone = Tone::ok;
            } else if constexpr (std::is_same_v<C, Action::OpenOnX>) {
                m_title = StashwellUIStrings::actionOpenOnX();
                m_symbol = QStringLiteral("arrow.up.right");
                m_tone = Tone::ok;
            } else {
                static_assert(std::is_same_v<C, Action::Restore>);
                m_title = StashwellUIStrings::actionRestore();
                m_symbol = QStringLiteral("arrow.uturn.backward");
                m_tone = Tone::ok;
            }
        },
        action.value());
}

QString ActionStyle::percentText(double fraction)
{
    return QString::number(ControlPainting::wholePercent(fraction)) + u'%';
}

std::size_t qHash(const ActionStyle &style, std::size_t seed) noexcept
{
    return qHashMulti(seed, style.title(), style.symbol(), int(style.tone()));
}

}  // namespace sw
