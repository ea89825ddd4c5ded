#include "LibraryGenerator.h"

#include "Library/Collection.h"
#include "Offline/CopyTable.h"
#include "Capture/Duration.h"
#include "Library/Library.h"
#include "Offline/LocalCopy.h"
#include "Offline/LocalFile.h"
#include "Offline/MediaFolder.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"
#include "Library/Save.h"
#include "Library/Tag.h"
#include "Capture/Url.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

namespace sw::bench {

namespace {

// Words of ordinary posts, with a few accented and non-Latin ones so that folding has work to do.
constexpr std::array kWords{
    "the", "a", "of", "to", "and", "in", "is", "for", "on", "with", "this", "that", "it", "was", "be", "are",
    "just", "new", "how", "why", "what", "when", "you", "we", "they", "my", "our", "your", "not", "but", "all",
    "from", "at", "by", "an", "or", "so", "if", "about", "more", "most", "some", "every", "really", "today",
    "tomorrow", "yesterday", "week", "year", "time", "thread", "read", "write", "build", "ship", "design",
    "designer", "product", "engineer", "engineering", "software", "hardware", "camera", "photo", "photos",
    "video", "film", "music", "album", "concert", "guitar", "piano", "recipe", "coffee", "espresso", "bread",
    "sourdough", "garden", "tomato", "basil", "mountain", "volcano", "river", "ocean", "beach", "island",
    "travel", "flight", "train", "station", "city", "street", "market", "museum", "gallery", "painting",
    "drawing", "sketch", "typography", "font", "layout", "grid", "colour", "color", "palette", "gradient",
    "shadow", "light", "dark", "mode", "theme", "interface", "button", "menu", "window", "screen", "keyboard",
    "mouse", "laptop", "desktop", "phone", "tablet", "watch", "battery", "charger", "cable", "monitor",
    "display", "pixel", "vector", "shader", "render", "engine", "game", "level", "player", "score", "team",
    "match", "season", "league", "goal", "run", "marathon", "bike", "cycling", "swim", "yoga", "sleep",
    "health", "doctor", "science", "research", "paper", "study", "data", "model", "models", "training",
    "dataset", "benchmark", "compiler", "kernel", "linux", "rust", "python", "swift", "kotlin", "javascript",
    "typescript", "database", "query", "index", "cache", "memory", "latency", "throughput", "server", "client",
    "network", "protocol", "security", "privacy", "password", "browser", "website", "blog", "post", "newsletter",
    "podcast", "episode", "interview", "book", "novel", "chapter", "poem", "poetry", "history", "war", "peace",
    "election", "policy", "economy", "market", "inflation", "bank", "startup", "founder", "investor", "funding",
    "launch", "release", "version", "update", "bug", "fix", "feature", "roadmap", "meeting", "calendar",
    "email", "inbox", "notes", "notebook", "pencil", "paper", "ink", "print", "printer", "poster", "sticker",
    "cat", "cats", "dog", "dogs", "bird", "birds", "owl", "fox", "whale", "octopus", "forest", "tree", "flower",
    "spring", "summer", "autumn", "winter", "snow", "rain", "storm", "weather", "climate", "energy", "solar",
    "wind", "electric", "car", "cars", "bus", "tram", "bridge", "tower", "architecture", "house", "kitchen",
    "chair", "table", "lamp", "wood", "stone", "glass", "metal", "paint", "craft", "knitting", "pottery",
    "ceramics", "sewing", "fabric", "fashion", "shoes", "jacket", "vintage", "retro", "modern", "minimal",
    "beautiful", "amazing", "incredible", "great", "good", "bad", "better", "best", "worst", "favourite",
    "finally", "again", "still", "always", "never", "maybe", "probably", "definitely", "honestly", "literally",
    "café", "naïve", "résumé", "façade", "déjà", "vu", "Zürich", "São", "Paulo", "Málaga", "Kraków", "Ørsted",
    "crème", "brûlée", "piñata", "jalapeño", "Straße", "Ölfarbe", "東京", "ラーメン", "写真", "桜", "カメラ",
};

constexpr std::array kFirstNames{
    "Ada", "Alan", "Grace", "Linus", "Margaret", "Ken", "Dennis", "Barbara", "Edsger", "Donald", "Frances",
    "John", "Radia", "Tim", "Vint", "Hedy", "Katherine", "Mary", "Yukihiro", "Guido", "Bjarne", "Anders",
    "Sophie", "Lucas", "Mia", "Noah", "Emma", "Liam", "Olivia", "Mateo", "Camila", "Hugo", "Léa", "Chloé",
    "Zoë", "Björn", "Søren", "Ana", "João", "Marta", "Hiroshi", "Yuki", "Sakura", "Min-jun", "Ji-woo", "Wei",
};
constexpr std::array kLastNames{
    "Lovelace", "Turing", "Hopper", "Torvalds", "Hamilton", "Thompson", "Ritchie", "Liskov", "Dijkstra",
    "Knuth", "Allen", "McCarthy", "Perlman", "Berners-Lee", "Cerf", "Lamarr", "Johnson", "Jackson",
    "Matsumoto", "van Rossum", "Stroustrup", "Hejlsberg", "Martin", "Bernard", "Dubois", "García", "Müller",
    "Schmidt", "Novák", "Kowalski", "Silva", "Santos", "Tanaka", "Suzuki", "Kim", "Park", "Chen", "Li",
};

constexpr std::array kTagNames{
    "design", "ui", "ux", "typography", "photography", "travel", "food", "recipes", "coffee", "music",
    "reading-list", "to-read", "watch-later", "inspiration", "reference", "tutorial", "rust", "cpp", "qt",
    "linux", "ml", "research", "papers", "science", "space", "history", "art", "illustration", "3d",
    "animation", "games", "gamedev", "shaders", "fonts", "colour", "layout", "writing", "productivity",
    "health", "running", "cycling", "climbing", "hiking", "gardening", "diy", "woodworking", "3d-printing",
    "keyboards", "audio", "film", "video-editing", "career", "startups", "funny", "cats", "dogs", "birds",
    "nature", "architecture", "cities", "transit", "maps", "data-viz", "open-source", "security", "privacy",
    "web", "css", "javascript", "python", "swift", "kotlin", "databases", "networking", "hardware",
    "electronics", "retro", "vintage", "fashion", "knitting", "ceramics", "books", "poetry", "quotes",
    "talks", "podcasts", "newsletters", "jobs", "events", "news", "politics", "economics", "climate",
    "energy", "later", "important", "café", "東京",
};

constexpr std::array kCollectionNames{
    "Design inspiration", "Reading list", "Recipes", "Travel ideas", "Photography", "Work", "Research",
    "Music", "Games", "Side projects", "Typography", "Architecture", "Funny", "Tutorials", "Hardware",
    "Gift ideas", "Home", "Health", "Talks", "Archive", "Cities", "Science", "Film", "Books",
};

constexpr std::array kWebHosts{
    "www.nytimes.com", "www.theverge.com", "arstechnica.com", "github.com", "news.ycombinator.com",
    "medium.com", "en.wikipedia.org", "www.bbc.co.uk", "blog.example.org", "www.youtube.com", "lwn.net",
    "www.smashingmagazine.com", "css-tricks.com", "developer.mozilla.org", "www.lemonde.fr", "www.nhk.or.jp",
};

constexpr std::array kNotes{
    "Read this again before the talk.", "Good example of a dark mode palette.", "Try this on the weekend!",
    "Send to Anna", "Compare with the older version", "Use for the Q3 deck", "Lovely light in this one",
    "Recipe: double the garlic, half the salt.", "Check the sources first", "Bookmark for the redesign",
    "Remember: café near the station in Zürich", "Funny — show the team", "Look up the paper it cites",
    "Maybe for the newsletter", "Great thread on caching and latency", "東京の写真、あとで見る",
};

class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_engine(seed) {}
    // 0 ... n-1
    int below(int n) { return int(m_engine() % std::uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p) { return double(m_engine() >> 11) * 0x1.0p-53 < p; }
    std::uint64_t bits() { return m_engine(); }
    template <typename Array>
    const char *pick(const Array &a) { return a[std::size_t(below(int(a.size())))]; }
    // Zipf-like: small indexes are much more likely; a few authors write most saved posts.
    int skewed(int n) { return std::min(n - 1, int(std::pow(double(below(1 << 20)) / double(1 << 20), 2.5) * n)); }

private:
    std::mt19937_64 m_engine;
};

Url url(const QString &text)
{
    auto parsed = Url::parse(text);
    if (!parsed)
        throw std::logic_error("generated URL does not parse: " + text.toStdString());
    return *parsed;
}

QString alphanumeric(Dice &dice, int length)
{
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString out;
    out.reserve(length);
    for (int i = 0; i < length; ++i)
        out.append(QLatin1Char(alphabet[dice.below(62)]));
    return out;
}

QString digits(Dice &dice, int length)
{
    QString out;
    out.reserve(length);
    out.append(QLatin1Char(char('1' + dice.below(9))));
    for (int i = 1; i < length; ++i)
        out.append(QLatin1Char(char('0' + dice.below(10))));
    return out;
}

QUuid uuid(Dice &dice)
{
    const std::uint64_t high = dice.bits();
    const std::uint64_t low = dice.bits();
    QByteArray bytes(16, '\0');
    for (int i = 0; i < 8; ++i) {
        bytes[i] = char(high >> (56 - 8 * i));
        bytes[8 + i] = char(low >> (56 - 8 * i));
    }
    bytes[6] = char((bytes[6] & 0x0F) | 0x40);   // version 4
    bytes[8] = char((bytes[8] & 0x3F) | 0x80);   // RFC 4122 variant
    return QUuid::fromRfc4122(bytes);
}

struct Person {
    QString name;
    QString handle;
    Url avatar;
};

std::vector<Person> people(Dice &dice, int count)
{
    std::vector<Person> out;
    out.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const QString first = QString::fromUtf8(dice.pick(kFirstNames));
        const QString last = QString::fromUtf8(dice.pick(kLastNames));
        QString handle;
        for (QChar c : first + last)
            if (c.isLetterOrNumber() && c.unicode() < 0x80)
                handle.append(dice.chance(0.3) ? c : c.toLower());
        handle += QString::number(i);
        out.push_back(Person{first + u' ' + last, handle,
                             url(QStringLiteral("https://pbs.twimg.com/profile_images/%1/%2_normal.jpg")
                                     .arg(digits(dice, 19), alphanumeric(dice, 8)))});
    }
    return out;
}

// A post's text: sentences of ordinary words, with now and then a hashtag, a mention, a number
// or a shortened link, as posts have them.
QString postText(Dice &dice, const std::vector<Person> &authors)
{
    const int target = dice.chance(0.15) ? dice.between(20, 80) : dice.between(140, 420);
    QString text;
    text.reserve(target + 40);
    bool sentenceStart = true;
    while (text.size() < target) {
        if (!text.isEmpty())
            text.append(dice.chance(0.03) ? u'\n' : u' ');
        const int roll = dice.below(100);
        QString word;
        if (roll < 3)
            word = u'#' + QString::fromUtf8(dice.pick(kTagNames));
        else if (roll < 5)
            word = u'@' + authors[std::size_t(dice.below(int(authors.size())))].handle;
        else if (roll < 7)
            word = QString::number(dice.between(1, 2024));
        else if (roll < 8)
            word = QStringLiteral("https://t.co/") + alphanumeric(dice, 10);
        else
            word = QString::fromUtf8(dice.pick(kWords));
        if (sentenceStart && !word.isEmpty())
            word[0] = word[0].toUpper();
        sentenceStart = false;
        text.append(word);
        if (dice.chance(0.12)) {
            text.append(QLatin1Char(".!?,;:"[dice.below(6)]));
            sentenceStart = text.back() == u'.' || text.back() == u'!' || text.back() == u'?';
        }
    }
    if (dice.chance(0.05))
        text.append(QStringLiteral(" \"quoted\" \\ back/slash ✨"));
    return text;
}

std::vector<Attachment> attachments(Dice &dice, bool web, const QString &key)
{
    std::vector<Attachment> out;
    const int roll = dice.below(100);
    auto image = [&](int n) {
        return Attachment::Image{url(QStringLiteral("https://pbs.twimg.com/media/%1%2.jpg?name=orig").arg(key).arg(n)),
                                 dice.between(40'000, 4'000'000)};
    };
    if (web) {
        if (roll < 70)
            out.push_back(Attachment::Page{url(QStringLiteral("https://archive.example.net/pages/%1.html").arg(key)),
                                           dice.between(20'000, 900'000)});
        if (roll < 20)
            out.push_back(image(1));
        return out;
    }
    if (roll < 38)
        return out;                                   // text only
    if (roll < 68) {
        out.push_back(image(1));                      // one picture
    } else if (roll < 80) {
        const int count = dice.between(2, 4);         // a few pictures
        for (int n = 1; n <= count; ++n)
            out.push_back(image(n));
    } else {
        // A video in several encodings, now and then with a picture beside it.
        std::vector<Rendition> renditions;
        const std::array heights{320, 480, 720, 1080};
        const int count = dice.between(1, 4);
        std::int64_t bytes = 0;
        for (int i = 0; i < count; ++i) {
            const int h = heights[std::size_t(i)];
            bytes = std::int64_t(h) * dice.between(8'000, 20'000);
            renditions.push_back(Rendition{
                url(QStringLiteral("https://video.twimg.com/ext_tw_video/%1/pu/vid/%2x%3/%4.mp4?tag=12")
                        .arg(key).arg(h * 16 / 9).arg(h).arg(alphanumeric(dice, 16))),
                h, bytes});
        }
        out.push_back(Attachment::Video{
            url(QStringLiteral("https://video.twimg.com/ext_tw_video/%1/pu/pl/%2.m3u8").arg(key, alphanumeric(dice, 12))),
            Duration::fromMilliseconds(dice.between(2'000, 600'000)), bytes,
            dice.chance(0.9) ? std::optional(std::move(renditions)) : std::nullopt});
        if (roll >= 96)
            out.push_back(image(2));
    }
    return out;
}

}  // namespace

Archive generateArchive(const LibraryShape &shape)
{
    Dice dice(shape.seed);
    const int saveCount = std::max(0, shape.saves);
    const int trashedCount = std::clamp(shape.trashed < 0 ? saveCount / 50 : shape.trashed, 0, saveCount);

    Library library;
    for (int i = 0; i < shape.collections; ++i) {
        QString name = QString::fromUtf8(kCollectionNames[std::size_t(i) % kCollectionNames.size()]);
        if (std::size_t(i) >= kCollectionNames.size())
            name += u' ' + QString::number(i / int(kCollectionNames.size()) + 1);
        library.collections.append(Collection{Collection::ID(uuid(dice)), name, allSwatches[std::size_t(i) % 5]});
    }

    const std::vector<Person> authors = people(dice, std::max(50, saveCount / 40));

    // Which saves are in the trash: a fixed number, spread over the library.
    std::vector<bool> inTrash(std::size_t(saveCount), false);
    for (int placed = 0; placed < trashedCount;) {
        const int at = dice.below(saveCount);
        if (!inTrash[std::size_t(at)]) {
            inTrash[std::size_t(at)] = true;
            ++placed;
        }
    }

    CopyTable copies;
    library.saves.reserve(saveCount);
    double savedAt = shape.now.sinceReference - 600;
    // Status numbers grow with time; the newest save has the largest.
    std::uint64_t status = 1'800'000'000'000'000'000ull;
    for (int i = 0; i < saveCount; ++i) {
        status -= 1'000'000 + dice.bits() % 900'000'000'000ull;
        const bool web = dice.chance(0.15);
        const Person &author = authors[std::size_t(dice.skewed(int(authors.size())))];

        Post post;
        QString key;
        if (web) {
            key = QStringLiteral("w%1").arg(i);
            const QString host = QString::fromUtf8(dice.pick(kWebHosts));
            QString address = QStringLiteral("https://%1/%2/%3-%4").arg(host).arg(2010 + dice.below(15))
                                  .arg(QString::fromUtf8(dice.pick(kWords)).toHtmlEscaped()).arg(i);
            if (dice.chance(0.25))
                address += QStringLiteral("?id=%1&lang=en").arg(dice.below(100000));
            const Url pageUrl = PostLink::cleanedWebLink(url(address));
            post.link = PostLink::web(pageUrl);
            post.author = Author{host, Handle{host}, std::nullopt};
        } else {
            key = QString::number(status);
            post.link = PostLink::x(Handle{author.handle}, StatusID{key});
            post.author = Author{author.name, Handle{author.handle}, author.avatar};
        }
        post.text = postText(dice, authors);
        post.postedAt = Date{savedAt - dice.between(0, 86400 * 30)};
        post.attachments = attachments(dice, web, key);
        if (!post.attachments.empty() || (web && dice.chance(0.5)))
            post.preview = url(QStringLiteral("https://pbs.twimg.com/media/%1_preview.%2")
                                   .arg(key, dice.chance(0.8) ? QStringLiteral("jpg") : QStringLiteral("png")));

        std::optional<Collection::ID> collection;
        if (!library.collections.isEmpty() && dice.chance(0.3))
            collection = library.collections.at(dice.skewed(int(library.collections.size()))).id;
        QList<Tag> tags;
        const int tagCount = dice.chance(0.45) ? dice.between(1, 4) : 0;
        for (int t = 0; t < tagCount; ++t) {
            const Tag tag{QString::fromUtf8(dice.pick(kTagNames))};
            if (!tags.contains(tag))
                tags.append(tag);
        }
        QString note;
        if (dice.chance(0.15))
            note = QString::fromUtf8(dice.pick(kNotes));
        std::optional<Date> trashedAt;
        if (inTrash[std::size_t(i)])
            trashedAt = Date{std::min(shape.now.sinceReference - 60, savedAt + dice.between(60, 86400 * 20))};

        // About half of the saves have a local copy: most of those with media, in every state.
        if (post.hasMedia() && dice.chance(0.8)) {
            const int state = dice.below(100);
            if (state < 82) {
                QList<LocalFile> files;
                for (std::size_t a = 0; a < post.attachments.size(); ++a)
                    files.append(LocalFile{MediaFolder::fileName(post, a), post.attachments[a].bytes()});
                copies.insert(post.link, LocalCopy::onThisComputer(std::move(files)));
            } else if (state < 92) {
                copies.insert(post.link, LocalCopy::failed(dice.chance(0.7) ? DownloadFailure::unreachable
                                                                            : DownloadFailure::couldNotWrite));
            } else if (state < 97) {
                const std::int64_t of = post.mediaBytes();
                copies.insert(post.link, LocalCopy::downloading(of / 3, of));
            } else {
                copies.insert(post.link, LocalCopy::linkOnly());
            }
        }

        library.saves.append(Save(Save::ID(uuid(dice)), std::move(post), Date{savedAt}, dice.chance(0.1),
                                  std::move(collection), std::move(tags), std::move(note), trashedAt));
        // Newest first: every next save is older, by up to a day per hundred saves.
        savedAt -= dice.between(1, std::max(2, 86400 * 100 / std::max(100, saveCount / 10)));
    }
    return Archive(std::move(library), std::move(copies));
}

std::string generateDocument(const LibraryShape &shape)
{
    return generateArchive(shape).json();
}

}  // namespace sw::bench
