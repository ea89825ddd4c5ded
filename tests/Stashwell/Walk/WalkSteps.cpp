#include "WalkSteps.h"

#include <QStringList>

#include <array>

namespace sw::walk {

namespace {

constexpr std::array<const char *, std::size_t(Act::count)> kNames = {
    "saveLink", "closeSheet", "click", "doubleClick", "cardTrash", "cardAction", "key", "selectAll", "undo",
    "redo", "toastUndo", "inspector", "bulk", "newCollection", "editCollection", "deleteCollection", "dropOnRow",
    "downloadMissing", "emptyTrash", "dialog", "filter", "search", "layout", "player", "resize", "look", "wait"};

// How often each act comes, out of the sum: clicks, keys and saves most, the rarer gestures less.
constexpr std::array<int, std::size_t(Act::count)> kWeights = {
    6,    // saveLink
    2,    // closeSheet
    14,   // click
    2,    // doubleClick
    4,    // cardTrash
    5,    // cardAction
    12,   // key
    3,    // selectAll
    4,    // undo
    3,    // redo
    2,    // toastUndo
    8,    // inspector
    4,    // bulk
    2,    // newCollection
    1,    // editCollection
    1,    // deleteCollection
    3,    // dropOnRow
    1,    // downloadMissing
    1,    // emptyTrash
    3,    // dialog
    6,    // filter
    6,    // search
    2,    // layout
    2,    // player
    2,    // resize
    1,    // look
    3,    // wait
};

// splitmix64: small, fast and the same everywhere, unlike the standard distributions.
struct SplitMix {
    std::uint64_t state;
    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
};

}  // namespace

QString actName(Act act) { return QString::fromLatin1(kNames.at(std::size_t(act))); }

std::optional<Act> actNamed(const QString &name)
{
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (name == QLatin1String(kNames[i]))
            return Act(i);
    return std::nullopt;
}

QString format(const Steps &steps)
{
    QStringList parts;
    for (const Step &s : steps)
        parts.append(QStringLiteral("%1 %2 %3").arg(actName(s.act)).arg(s.a).arg(s.b));
    return parts.join(QStringLiteral("; "));
}

std::optional<Steps> parse(const QString &text)
{
    Steps out;
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const std::optional<Act> act = actNamed(words.first());
        if (!act || words.size() != 3)
            return std::nullopt;
        bool aOk = false, bOk = false;
        const uint a = words.at(1).toUInt(&aOk);
        const uint b = words.at(2).toUInt(&bOk);
        if (!aOk || !bOk)
            return std::nullopt;
        out.append(Step{*act, a, b});
    }
    return out;
}

Steps generate(std::uint64_t seed, qsizetype count)
{
    int total = 0;
    for (int w : kWeights)
        total += w;
    SplitMix random{seed};
    Steps out;
    out.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        int pick = int(random.next() % std::uint64_t(total));
        std::size_t act = 0;
        while (pick >= kWeights[act])
            pick -= kWeights[act++];
        const std::uint64_t numbers = random.next();
        out.append(Step{Act(act), std::uint32_t(numbers & 0xFFFF), std::uint32_t((numbers >> 16) & 0xFFFF)});
    }
    return out;
}

Steps shrink(const Steps &steps, const std::function<bool(const Steps &)> &fails, int budget)
{
    Steps current = steps;
    qsizetype chunk = std::max<qsizetype>(1, current.size() / 2);
    while (budget > 0 && !current.isEmpty()) {
        bool dropped = false;
        for (qsizetype start = 0; start < current.size() && budget > 0;) {
            Steps candidate = current;
            candidate.remove(start, std::min(chunk, current.size() - start));
            --budget;
            if (fails(candidate)) {
                current = std::move(candidate);
                dropped = true;
            } else {
                start += chunk;
            }
        }
        if (chunk == 1 && !dropped)
            break;
        if (!dropped)
            chunk = std::max<qsizetype>(1, chunk / 2);
        else
            chunk = std::min(chunk, std::max<qsizetype>(1, current.size() / 2));
    }
    return current;
}

}  // namespace sw::walk
