#pragma once

// Shelves for the shelf presenter's tests, written as one word per save in library order (newest
// first), save n being the n-th word:
//
//   r   saved an hour ago (recent)          o   saved thirty days ago
//   then any of:
//   h   its picture is on this computer     w   words only: no media to miss
//   f   a favourite                          x   in the trash
//
// A save with a picture that is not here is missing its media (100 bytes).

#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "ShelfFixtures.h"
#include "Shelf/Shelf.h"

#include <QStringList>

namespace sw::fixtures {

constexpr double kShelfNow = 1'000'000'000;

inline Shelf shelfOf(const QString &words)
{
    Library library;
    CopyTable table;
    int n = 0;
    for (const QString &word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        ++n;
        const PostLink link = xLink(QStringLiteral("Author%1").arg(n), QString::number(n));
        std::vector<Attachment> attachments;
        if (!word.contains(QLatin1Char('w')))
            attachments.push_back(image(100, QStringLiteral("https://pbs.example.com/%1.jpg").arg(n)));
        SaveSpec spec(n, post(link, attachments, std::nullopt, QStringLiteral("Post number %1").arg(n)),
                      kShelfNow - (word.startsWith(QLatin1Char('r')) ? 3600 + n : 30 * 86400 + n));
        if (word.contains(QLatin1Char('f')))
            spec.favourite();
        if (word.contains(QLatin1Char('x')))
            spec.trashed(kShelfNow - 60);
        library.saves.append(makeSave(spec));
        if (word.contains(QLatin1Char('h')))
            table.insert(link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("author%1_%2.jpg").arg(n).arg(n), 100}}));
    }
    return Shelf(library, media(table), std::nullopt, Date{kShelfNow}, Quality::original);
}

}  // namespace sw::fixtures
