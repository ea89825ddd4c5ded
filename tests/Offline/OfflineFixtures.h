#pragma once

// Reading and writing values as JSON for the local media tests, and readable failure messages for
// their values. Links, attachments and posts come from the shared builders (PostFixtures.h).

#include "Offline/CopyTable.h"
#include "Offline/DownloadRefusal.h"
#include "Capture/Json.h"
#include "Offline/LocalCopy.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"
#include "Capture/Url.h"

#include <QMetaType>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

#include "PostFixtures.h"

namespace sw::fixtures {

// Reads a value of T from JSON text; throws JsonError as T::fromJson does.
template <typename T>
T decode(const std::string &text)
{
    JsonDocument document(text);
    return T::fromJson(document.root());
}

template <typename T>
std::string encode(const T &value)
{
    return value.toJson().toJson();
}

}  // namespace sw::fixtures

namespace sw {

inline char *toString(const LocalCopy &copy) { return QTest::toString(QString::fromStdString(copy.toJson().toJson())); }
inline char *toString(const CopyTable &table) { return QTest::toString(QString::fromStdString(table.toJson().toJson())); }
inline char *toString(const DownloadRefusal &refusal)
{
    static const char *const names[] = {"nothingToDownload", "alreadyOnThisComputer", "alreadyDownloading", "overBudget"};
    QString text = QString::fromLatin1(names[refusal.value().index()]);
    if (const auto *over = refusal.asOverBudget())
        text += QStringLiteral("(needs: %1, free: %2)").arg(over->needs).arg(over->free);
    return QTest::toString(text);
}

}  // namespace sw

Q_DECLARE_METATYPE(sw::LocalCopy)
Q_DECLARE_METATYPE(sw::CopyTable)
Q_DECLARE_METATYPE(sw::PostLink)
Q_DECLARE_METATYPE(sw::Attachment)
Q_DECLARE_METATYPE(sw::Post)
Q_DECLARE_METATYPE(sw::Quality)
Q_DECLARE_METATYPE(sw::DownloadRefusal)
Q_DECLARE_METATYPE(std::vector<sw::Attachment>)
Q_DECLARE_METATYPE(std::optional<sw::LocalCopy>)
Q_DECLARE_METATYPE(std::optional<sw::DownloadRefusal>)
Q_DECLARE_METATYPE(std::string)
