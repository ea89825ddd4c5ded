#include "CopyTable.h"

#include "ByteCount.h"

namespace sw {

namespace {
// What a copy counts against the budget: its finished files, or the whole total of a download
// under way.
__int128 reservedBy(const LocalCopy &copy)
{
    if (const auto *d = copy.asDownloading())
        return d->of;
    return copy.exactBytesOnDisk();
}

void writeString(std::string &out, const QString &text)
{
    writeJsonString(out, text.toStdString());
}

// The canonical form of a link, written directly: a table of 100,000 entries is read at every
// start, and building a value tree per link would dominate it.
QByteArray encode(const PostLink &link)
{
    std::string out;
    if (const PostLink::X *x = link.asX()) {
        out.append(R"({"x":{"handle":{"name":)");
        writeString(out, x->handle.name);
        out.append(R"(},"status":{"digits":)");
        writeString(out, x->status.digits);
        out.append("}}}");
    } else {
        out.append(R"({"web":{"_0":)");
        writeString(out, link.asWeb()->url.text());
        out.append("}}");
    }
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

QByteArray encode(const LocalCopy &copy)
{
    std::string out;
    copy.writeJson(out);
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}
}  // namespace

const LocalCopy *CopyTable::find(const PostLink &link) const
{
    const auto it = m_entries.constFind(link);
    return it == m_entries.cend() ? nullptr : &it->copy;
}

void CopyTable::insert(const PostLink &link, const LocalCopy &copy)
{
    auto it = m_entries.find(link);
    if (it == m_entries.end()) {
        Entry entry{copy, encode(link), encode(copy)};
        m_jsonBytes += entry.linkJson.size() + entry.copyJson.size();
        m_entries.insert(link, std::move(entry));
    } else {
        m_reserved -= reservedBy(it->copy);
        m_onDisk -= it->copy.exactBytesOnDisk();
        m_jsonBytes -= it->copyJson.size();
        it->copy = copy;
        it->copyJson = encode(copy);
        m_jsonBytes += it->copyJson.size();
    }
    m_reserved += reservedBy(copy);
    m_onDisk += copy.exactBytesOnDisk();
}

std::optional<LocalCopy> CopyTable::take(const PostLink &link)
{
    const auto found = m_entries.constFind(link);
    if (found == m_entries.cend())
        return std::nullopt;
    Entry entry = m_entries.take(link);
    m_reserved -= reservedBy(entry.copy);
    m_onDisk -= entry.copy.exactBytesOnDisk();
    m_jsonBytes -= entry.linkJson.size() + entry.copyJson.size();
    return std::move(entry.copy);
}

std::int64_t CopyTable::reservedBytes() const
{
    return bytes::clamp(m_reserved);
}

std::int64_t CopyTable::bytesOnDisk() const
{
    return bytes::clamp(m_onDisk);
}

bool operator==(const CopyTable &a, const CopyTable &b)
{
    if (a.m_entries.isSharedWith(b.m_entries))
        return true;
    if (a.size() != b.size() || a.m_reserved != b.m_reserved || a.m_onDisk != b.m_onDisk)
        return false;
    for (auto it = a.m_entries.cbegin(); it != a.m_entries.cend(); ++it) {
        const LocalCopy *other = b.find(it.key());
        if (!other || !(*other == it->copy))
            return false;
    }
    return true;
}

std::size_t qHash(const CopyTable &table, std::size_t seed) noexcept
{
    // A sum of the entries' hashes does not depend on the order of the table.
    std::size_t sum = 0;
    for (const auto &[link, copy] : table)
        sum += qHashMulti(0, link, copy);
    return qHashMulti(seed, table.size(), sum);
}

void CopyTable::writeJson(std::string &out) const
{
    out.reserve(out.size() + static_cast<std::size_t>(m_jsonBytes + 2 * m_entries.size() + 2));
    out.push_back('[');
    bool first = true;
    for (const Entry &entry : m_entries) {
        if (!first)
            out.push_back(',');
        first = false;
        out.append(entry.linkJson.constData(), static_cast<std::size_t>(entry.linkJson.size()));
        out.push_back(',');
        out.append(entry.copyJson.constData(), static_cast<std::size_t>(entry.copyJson.size()));
    }
    out.push_back(']');
}

JsonValue CopyTable::toJson() const
{
    std::string out;
    writeJson(out);
    return JsonValue::raw(std::move(out));
}

CopyTable CopyTable::fromJson(const JsonNode &node)
{
    const std::vector<JsonNode> elements = node.elements();
    if (elements.size() % 2 != 0)
        throw JsonError("Expected the copies as pairs of a link and its copy, but the array has an odd length.");
    CopyTable table;
    table.m_entries.reserve(static_cast<qsizetype>(elements.size() / 2));
    for (std::size_t i = 0; i < elements.size(); i += 2)
        table.insert(PostLink::fromJson(elements[i]), LocalCopy::fromJson(elements[i + 1]));
    return table;
}

}  // namespace sw
