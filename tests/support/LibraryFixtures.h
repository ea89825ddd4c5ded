#pragma once

// Saves and identifiers for the library, core and view tests: fixed identities that expectations
// can name, saves built from a spec, keeping into a library, and the identities of lists of saves.

#include "CaptureFixtures.h"
#include "Library/Collection.h"
#include "Library/Library.h"
#include "Library/Save.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTest>

#include <concepts>
#include <initializer_list>
#include <optional>
#include <utility>
#include <variant>

namespace sw::fixtures {

// A stable identity for test number n, so that expectations can name saves.
inline Save::ID saveID(int n) { return Save::ID(fixedUuid(n)); }
inline Collection::ID collectionID(int n) { return Collection::ID(fixedUuid(1000 + n)); }

// A save to build: the id's test number, the post and the saved time, then what else is set.
struct SaveSpec {
    int id = 0;
    Post post;
    double savedAt = 0;
    bool isFavourite = false;
    std::optional<Collection::ID> collection;
    std::optional<double> trashedAt;
    QString note;
    QList<Tag> tags;

    SaveSpec(int id, Post post, double savedAt = 0) : id(id), post(std::move(post)), savedAt(savedAt) {}
    SaveSpec &favourite(bool on = true) { isFavourite = on; return *this; }
    SaveSpec &filed(const Collection::ID &in) { collection = in; return *this; }
    SaveSpec &trashed(double at) { trashedAt = at; return *this; }
    SaveSpec &trashed(std::optional<double> at) { trashedAt = at; return *this; }
    SaveSpec &noted(const QString &text) { note = text; return *this; }
    SaveSpec &tagged(QList<Tag> list) { tags = std::move(list); return *this; }
};

inline Save makeSave(const SaveSpec &s)
{
    return Save(saveID(s.id), s.post, Date{s.savedAt}, s.isFavourite, s.collection, s.tags, s.note,
                s.trashedAt ? std::optional<Date>(Date{*s.trashedAt}) : std::nullopt);
}

inline Save makeSave(int id, Post post, double savedAt = 0)
{
    return makeSave(SaveSpec(id, std::move(post), savedAt));
}

// Keeps a post and returns the new save's id; fails the test loudly when keeping did not add.
inline Save::ID keepNew(Library &library, const Post &post, double at, int id,
                        std::optional<Collection::ID> in = std::nullopt)
{
    const auto result = library.keep(post, Date{at}, in, saveID(id));
    if (!std::holds_alternative<Library::Kept>(result))
        qFatal("fixture: keeping did not add a new save");
    return saveID(id);
}

// The identities of test numbers, and of a list of saves, in order.
inline QList<Save::ID> saveIDs(std::initializer_list<int> numbers)
{
    QList<Save::ID> out;
    for (int n : numbers)
        out.append(saveID(n));
    return out;
}

template <typename Saves>
    requires std::same_as<Saves, QList<Save>> || std::same_as<Saves, SaveList>
QList<Save::ID> idsOf(const Saves &saves)
{
    QList<Save::ID> out;
    for (const Save &s : saves)
        out.append(s.id());
    return out;
}

// The same as texts, for lists whose elements reach their save through `saveOf` (items, rows).
inline QStringList ids(std::initializer_list<int> numbers)
{
    QStringList out;
    for (int n : numbers)
        out.append(saveID(n).text());
    return out;
}

template <typename List, typename SaveOf>
QStringList idsOf(const List &list, SaveOf saveOf)
{
    QStringList out;
    for (const auto &element : list)
        out.append(saveOf(element).id().text());
    return out;
}

}  // namespace sw::fixtures

namespace sw {
// Readable identifiers in failed comparisons.
template <typename Kind>
inline char *toString(const Identifier<Kind> &id)
{
    return qstrdup(id.text().toUtf8().constData());
}
}  // namespace sw
