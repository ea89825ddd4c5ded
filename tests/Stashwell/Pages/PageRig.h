#pragma once

// What the page tests share: the Curator on scripted services with preferences in a temporary
// file, posts with and without media, and a way to wait on a coroutine.

#include "AwaitTask.h"
#include "CuratorRig.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QTemporaryDir>

#include <memory>

namespace sw::test {

inline const QString kClip = QStringLiteral("https://video.example.com/clip.mp4");
inline const QString kCover = QStringLiteral("https://pbs.example.com/cover.jpg");

// The post the fetcher finds for a link: with a video and a cover, or bare.
inline Post foundPost(const PostLink &link, bool withMedia = true)
{
    std::vector<Attachment> media;
    if (withMedia)
        media.push_back(fixtures::video(4000, std::nullopt, kClip));
    return fixtures::post(link, std::move(media), kCover, QStringLiteral("found at ") + link.url().text());
}

struct PageRig {
    explicit PageRig(Library library = {}) : curator(std::move(library))
    {
        // Covers arrive at once; the clip waits for the test unless it scripts it.
        curator.downloader->scripts.insert(kCover, TransferScript::arriving(50));
        curator.fetcher->answer = [](const PostLink &link) { return std::expected<Post, FetchError>(foundPost(link)); };
    }

    Curator &core() { return *curator.curator; }
    // The value stored under the key, as a fresh reader of the file sees it.
    QVariant stored(const QString &key) const { return app::Preferences(preferencesPath()).value(key); }
    QString preferencesPath() const { return home.filePath(QStringLiteral("preferences.json")); }

    CuratorRig curator;
    QTemporaryDir home;
    app::Preferences preferences{preferencesPath()};
};

// Runs the task to its end; false when it did not end.
inline bool finish(QCoro::Task<> task) { return awaitTask(std::move(task)); }

}  // namespace sw::test
