#include "BenchHome.h"

#include "LibraryGenerator.h"

#include "Offline/Covers.h"
#include "StashKit/FileArchive.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QDir>
#include <QFile>

namespace sw::bench {

namespace {

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

}  // namespace

bool writeHome(const QString &home, int saves, const QString &preferences)
{
    LibraryShape shape;
    shape.saves = saves;
    // Dated up to today, as the application reads its clock: "Recently added" then shows saves
    // and its filter change paints a shelf like every other.
    shape.now = Date::now();
    const Archive archive = generateArchive(shape);
    const QString data = QDir(home).filePath(QStringLiteral("data/Stashwell"));
    const QString media = QDir(home).filePath(QStringLiteral("Videos/Stashwell"));
    const QString covers = QDir(data).filePath(QStringLiteral("Covers"));
    if (!QDir().mkpath(media) || !QDir().mkpath(covers) || !FileArchive(data).storeBytes(generateDocument(shape)))
        return false;
    for (const auto &entry : archive.copies)
        if (const auto *here = entry.copy.asOnThisComputer())
            for (const LocalFile &file : here->files)
                if (!touch(QDir(media).filePath(file.name)))
                    return false;
    for (const Save &save : archive.library.saves)
        if (const auto name = Covers::fileName(save.post()); name && !touch(QDir(covers).filePath(*name)))
            return false;
    // No network: anything the start might ask for goes to a closed port on this computer.
    app::Preferences(preferences).setValue(app::Preferences::networkRoute, QStringLiteral("http://127.0.0.1:9"));
    return true;
}

}  // namespace sw::bench
