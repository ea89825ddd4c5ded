#include "Capture/StringTable.h"

#include <QTranslator>

#include <algorithm>
#include <limits>
#include <set>

namespace sw {

namespace {
std::mutex g_localeMutex;
std::optional<QLocale> g_locale;
}  // namespace

StringTable::StringTable(QString resourcePrefix, std::span<const StringKey> keys)
    : m_prefix(std::move(resourcePrefix)), m_keys(keys)
{
}

StringTable::~StringTable() = default;

QStringList StringTable::languages()
{
    return {QStringLiteral("en"), QStringLiteral("ja"), QStringLiteral("ko"), QStringLiteral("zh_CN")};
}

QString StringTable::languageFor(const QLocale &locale)
{
    for (const QString &tag : locale.uiLanguages()) {
        const QLocale l(tag);
        switch (l.language()) {
        case QLocale::English: return QStringLiteral("en");
        case QLocale::Japanese: return QStringLiteral("ja");
        case QLocale::Korean: return QStringLiteral("ko");
        case QLocale::Chinese:
            // Only simplified Chinese is written; traditional Chinese looks further.
            if (l.script() != QLocale::TraditionalChineseScript)
                return QStringLiteral("zh_CN");
            break;
        default:
            break;
        }
    }
    return QStringLiteral("en");
}

void StringTable::setLocale(const QLocale &locale)
{
    std::lock_guard lock(g_localeMutex);
    g_locale = locale;
}

QLocale StringTable::locale()
{
    std::lock_guard lock(g_localeMutex);
    return g_locale.value_or(QLocale::system());
}

bool StringTable::load(const QLocale &locale)
{
    return loadLanguage(languageFor(locale));
}

bool StringTable::loadLanguage(const QString &language)
{
    auto translator = std::make_unique<QTranslator>();
    const bool ok = translator->load(m_prefix + u'_' + language + QStringLiteral(".qm"));
    std::lock_guard lock(m_mutex);
    m_translator = ok ? std::move(translator) : nullptr;
    m_language = language;
    m_loaded = true;
    return ok;
}

QString StringTable::language() const
{
    std::lock_guard lock(m_mutex);
    return m_language;
}

void StringTable::ensureLoaded() const
{
    bool loaded = false;
    {
        std::lock_guard lock(m_mutex);
        loaded = m_loaded;
    }
    if (!loaded)
        const_cast<StringTable *>(this)->load(locale());
}

std::optional<QString> StringTable::find(const char *key, qint64 count) const
{
    ensureLoaded();
    // The translator picks the form by the language's plural rules on a non-negative int; a
    // negative count takes the form of its size.
    const qint64 size = count < 0 ? (count == std::numeric_limits<qint64>::min() ? std::numeric_limits<qint64>::max() : -count) : count;
    const int n = int(std::min<qint64>(size, std::numeric_limits<int>::max()));
    std::lock_guard lock(m_mutex);
    if (!m_translator)
        return std::nullopt;
    QString found = m_translator->translate(nullptr, key, nullptr, n);
    if (found.isEmpty())
        return std::nullopt;
    return found;
}

std::optional<QString> StringTable::find(const char *key) const
{
    ensureLoaded();
    std::lock_guard lock(m_mutex);
    if (!m_translator)
        return std::nullopt;
    // Id-based translations have no context; the id stands as the source text.
    QString found = m_translator->translate(nullptr, key);
    if (found.isEmpty())
        return std::nullopt;
    return found;
}

QString StringTable::text(const char *key) const
{
    if (auto found = find(key))
        return *found;
    return QString::fromUtf8(key);
}

QString StringTable::text(const char *key, std::initializer_list<QString> arguments) const
{
    return fill(text(key), arguments);
}

QString StringTable::text(const char *key, qint64 count, std::initializer_list<QString> arguments) const
{
    if (auto found = find(key, count))
        return fill(*found, arguments, count);
    return QString::fromUtf8(key);
}

QString StringTable::fill(const QString &pattern, std::initializer_list<QString> arguments, std::optional<qint64> count)
{
    const qsizetype given = static_cast<qsizetype>(arguments.size());
    QString out;
    out.reserve(pattern.size());
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (c == u'%' && count && i + 1 < pattern.size() && pattern.at(i + 1) == u'n') {
            out.append(QString::number(*count));
            i += 2;
            continue;
        }
        if (c == u'%' && i + 1 < pattern.size() && pattern.at(i + 1).isDigit() && pattern.at(i + 1).unicode() < 0x80) {
            // Up to two digits name the placeholder.
            qsizetype end = i + 1;
            int number = 0;
            while (end < pattern.size() && end < i + 3 && pattern.at(end).unicode() >= u'0' && pattern.at(end).unicode() <= u'9') {
                number = number * 10 + (pattern.at(end).unicode() - u'0');
                ++end;
            }
            if (number >= 1 && number <= given) {
                out.append(*(arguments.begin() + (number - 1)));
                i = end;
                continue;
            }
            out.append(pattern.sliced(i, end - i));
            i = end;
            continue;
        }
        out.append(c);
        ++i;
    }
    return out;
}

QList<int> StringTable::placeholders(const QString &pattern)
{
    std::set<int> found;
    for (qsizetype i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern.at(i) != u'%')
            continue;
        qsizetype end = i + 1;
        int number = 0;
        while (end < pattern.size() && end < i + 3 && pattern.at(end).unicode() >= u'0' && pattern.at(end).unicode() <= u'9') {
            number = number * 10 + (pattern.at(end).unicode() - u'0');
            ++end;
        }
        if (end > i + 1 && number >= 1)
            found.insert(number);
        i = end - 1;
    }
    return QList<int>(found.begin(), found.end());
}

bool StringTable::usesCount(const QString &pattern)
{
    return pattern.contains(QLatin1String("%n"));
}

}  // namespace sw
