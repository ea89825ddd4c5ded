// The core's figures on generated libraries of 10,000 and 100,000 saves, each beside the
// reference it is held against, measured in the same run:
//   parse_100k    a bare simdjson parse of the 100k document (warm parser, padded bytes)
//   restore_100k  FileArchive::load() and Curator::restore() of that document
//   write_10k/100k  the archive's atomic write of a buffer of the document's size
//   edit_10k/100k   one favourite commit on the Curator, archive write included
//   empty_trash_1000_of_10k  emptying a trash of 1,000 saves in a library of 10,000
//   scan_100k     a plain substring scan over every live save's folded search text
//   search_100k   one keystroke of a search over the shelf (two letters grow to three)
//   home_100k     the home sections and the sidebar's counts of the 100k shelf
//   rss_100k      resident memory of a process that has restored the 100k library

#include "Bench.h"
#include "LibraryGenerator.h"

#include "Archive.h"
#include "Covers.h"
#include "Curator.h"
#include "LiveMediaDisk.h"
#include "Json.h"
#include "Post.h"
#include "CopyTable.h"
#include "PostLink.h"
#include "FileArchive.h"
#include "Filter.h"
#include "Library.h"
#include "LocalMedia.h"
#include "MediaFolder.h"
#include "Save.h"
#include "SearchVocabulary.h"
#include "Shelf.h"
#include "Text.h"
#include "Url.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <simdjson.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace sw::bench {

namespace {

constexpr int kRuns = 9;
constexpr int kWriteRuns = 7;
constexpr std::int64_t kBudget = 5368709120;   // the Curator's default, 5 GiB

const Date kNow{760000000};

struct Library100 {
    LibraryShape shape;
    std::string document;
    QString folder;   // holds library.json
};

double megabytes(std::size_t bytes) { return double(bytes) / (1024.0 * 1024.0); }

QString writeDocument(const QString &folder, const std::string &document)
{
    QDir().mkpath(folder);
    FileArchive archive(folder);
    if (!archive.storeBytes(document))
        qFatal("could not write the generated document into %s", qPrintable(folder));
    return archive.documentPath();
}

Archive loadOrDie(const QString &folder)
{
    FileArchive archive(folder);
    auto loaded = archive.load();
    if (!loaded || !*loaded)
        qFatal("the generated document in %s does not load", qPrintable(folder));
    return std::move(**loaded);
}

// What the Curator hands a shelf: the restored library and copies, the media folder, the covers
// folder with about half of the previews kept as cover files.
struct ShelfInputs {
    Library library;
    LocalMedia localMedia;
    Covers covers;

    ShelfInputs(const Archive &archive, const QString &folder)
        : library(archive.library),
          localMedia(LocalMedia::restoring(MediaFolder(Url::fromLocalFile(folder + QStringLiteral("/media"))),
                                           DiskBudget{kBudget}, archive.copies)),
          covers(Url::fromLocalFile(folder + QStringLiteral("/Covers")))
    {
        QSet<QString> present;
        int n = 0;
        for (const Save &save : library.saves) {
            if (++n % 2 == 0)
                continue;
            if (auto name = Covers::fileName(save.post()))
                present.insert(*name);
        }
        covers.setPresent(std::move(present));
    }

    Shelf shelf() const { return Shelf(library, localMedia, covers, kNow, Quality::original); }
};

// The sidebar's content as the library window builds it: the counts of the fixed filters, of each
// collection and of the three top authors, the top authors themselves, and the number of saves
// whose media are missing.
qsizetype sidebarCounts(const Shelf &shelf)
{
    QList<Filter> filters{Filter::all(),       Filter::recentlyAdded(), Filter::favourites(),
                          Filter::trash(),     Filter::onThisMac(),     Filter::linkOnly()};
    for (const Collection &c : shelf.library().collections)
        filters.append(Filter::collection(c.id));
    const QList<Author> authors = shelf.library().topAuthors(3);
    for (const Author &a : authors)
        filters.append(Filter::author(a.handle));
    qsizetype total = 0;
    for (qsizetype n : shelf.counts(filters))
        total += n;
    // The number of saves whose media are missing is the count of linkOnly.
    return total;
}

// The generated documents, made once per process and written into a temporary folder that lives
// as long as the process.
class Documents {
public:
    static Documents &get()
    {
        static Documents documents;
        return documents;
    }

    const std::string &document10k() { return ensure(m_10k, 10000, 1000, QStringLiteral("lib10k")).document; }
    const std::string &document100k() { return ensure(m_100k, 100000, -1, QStringLiteral("lib100k")).document; }
    const QString &folder10k() { return ensure(m_10k, 10000, 1000, QStringLiteral("lib10k")).folder; }
    const QString &folder100k() { return ensure(m_100k, 100000, -1, QStringLiteral("lib100k")).folder; }
    QString scratch(const QString &name) const { return m_temporary.filePath(name); }

private:
    struct Generated {
        std::string document;
        QString folder;
    };
    Documents()
    {
        if (!m_temporary.isValid())
            qFatal("no temporary folder");
    }
    Generated &ensure(std::optional<Generated> &slot, int saves, int trashed, const QString &name)
    {
        if (!slot) {
            LibraryShape shape;
            shape.saves = saves;
            shape.trashed = trashed;
            Generated generated{generateDocument(shape), m_temporary.filePath(name)};
            writeDocument(generated.folder, generated.document);
            slot = std::move(generated);
        }
        return *slot;
    }

    QTemporaryDir m_temporary;
    std::optional<Generated> m_10k;
    std::optional<Generated> m_100k;
};

void runDocuments(Report &report)
{
    Documents &documents = Documents::get();
    report.add(QStringLiteral("document_10k"), megabytes(documents.document10k().size()), QStringLiteral("MiB"));
    report.add(QStringLiteral("document_100k"), megabytes(documents.document100k().size()), QStringLiteral("MiB"));
}

void runLoad(Report &report)
{
    Documents &documents = Documents::get();
    const simdjson::padded_string padded(documents.document100k());
    simdjson::dom::parser parser;
    const double parse = medianMs(kRuns, [&] {
        simdjson::dom::element root;
        if (parser.parse(padded).get(root) != simdjson::SUCCESS)
            qFatal("simdjson refused the document");
        keep(root);
    });
    report.add(QStringLiteral("parse_100k"), parse, QStringLiteral("ms"));
    const double load = medianMs(5, [&] {
        FileArchive archive(documents.folder100k());
        auto loaded = archive.load();
        keep(loaded);
    });
    report.add(QStringLiteral("load_100k"), load, QStringLiteral("ms"));
    report.add(QStringLiteral("load_over_parse_100k"), load / parse, QStringLiteral("x"));
    if (qEnvironmentVariableIsSet("STASHWELL_BENCH_DETAIL")) {
        const QString path = FileArchive(documents.folder100k()).documentPath();
        report.add(QStringLiteral("detail_read"), medianMs(3, [&] { QFile f(path); f.open(QIODevice::ReadOnly); keep(f.readAll().size()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_fresh_parse"), medianMs(3, [&] { JsonDocument d(documents.document100k()); keep(d.root().isObject()); }), QStringLiteral("ms"));
        JsonDocument d(documents.document100k());
        std::optional<Archive> decoded;
        report.add(QStringLiteral("detail_decode"), medianMs(3, [&] { decoded.reset(); }, [&] { decoded = Archive::fromJson(d.root()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_destroy"), medianMs(3, [&] { decoded = Archive::fromJson(d.root()); }, [&] { decoded.reset(); }), QStringLiteral("ms"));
        const JsonNode saves = d.root()["library"]["saves"];
        std::vector<JsonNode> nodes = saves.elements();
        report.add(QStringLiteral("detail_decode_posts"), medianMs(3, [&] { for (const JsonNode &n : nodes) keep(Post::fromJson(n["post"]).text.size()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_decode_links"), medianMs(3, [&] { for (const JsonNode &n : nodes) keep(PostLink::fromJson(n["post"]["link"]).isX()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_decode_texts"), medianMs(3, [&] { for (const JsonNode &n : nodes) keep(n["post"]["text"].string().size()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_decode_attachments"), medianMs(3, [&] { for (const JsonNode &n : nodes) for (const JsonNode &a : n["post"]["attachments"].elements()) keep(Attachment::fromJson(a).bytes()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_decode_copies"), medianMs(3, [&] { keep(CopyTable::fromJson(d.root()["copies"]).size()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_decode_ids"), medianMs(3, [&] { for (const JsonNode &n : nodes) keep(Save::ID::fromJson(n["id"]).raw()); }), QStringLiteral("ms"));
        int urls = 0;
        std::vector<QString> urlTexts;
        for (const JsonNode &n : nodes) { for (const JsonNode &a : n["post"]["attachments"].elements()) { const auto [name, payload] = a.oneCaseOf({"video","image","page"}); urlTexts.push_back(payload["_0"].string()); if (auto r = payload.optional("renditions")) for (const JsonNode &x : r->elements()) urlTexts.push_back(x["url"].string()); } if (auto p = n["post"].optional("preview")) urlTexts.push_back(p->string()); if (auto av = n["post"]["author"].optional("avatar")) urlTexts.push_back(av->string()); }
        urls = int(urlTexts.size());
        report.add(QStringLiteral("detail_urls"), urls, QStringLiteral("count"));
        report.add(QStringLiteral("detail_url_parse"), medianMs(3, [&] { for (const QString &t : urlTexts) keep(Url::parse(t)->text().size()); }), QStringLiteral("ms"));
    }
}

void runWrites(Report &report)
{
    Documents &documents = Documents::get();
    FileArchive archive(documents.scratch(QStringLiteral("writes")));
    const double write10k = medianMs(kWriteRuns, [&] { keep(archive.storeBytes(documents.document10k())); });
    const double write100k = medianMs(kWriteRuns, [&] { keep(archive.storeBytes(documents.document100k())); });
    report.add(QStringLiteral("write_10k"), write10k, QStringLiteral("ms"));
    report.add(QStringLiteral("write_100k"), write100k, QStringLiteral("ms"));

    const Archive loaded = loadOrDie(documents.folder100k());
    const double firstStore = medianMs(1, [&] { keep(archive.store(loaded)); });
    const double store = medianMs(kWriteRuns, [&] { keep(archive.store(loaded)); });
    report.add(QStringLiteral("store_first_100k"), firstStore, QStringLiteral("ms"));
    report.add(QStringLiteral("store_100k"), store, QStringLiteral("ms"));
}

void runSearch(Report &report)
{
    Documents &documents = Documents::get();
    const Archive loaded = loadOrDie(documents.folder100k());
    const ShelfInputs inputs(loaded, documents.folder100k());

    const QString two = QStringLiteral("vo");
    const QString three = QStringLiteral("vol");
    const double first = medianMs(1, [&] { keep(inputs.shelf().items(Filter::all(), two).size()); });
    report.add(QStringLiteral("search_first_100k"), first, QStringLiteral("ms"));

    QStringList folded;
    for (const Save &save : inputs.library.saves)
        if (!save.isTrashed())
            folded.append(save.foldedSearchText());
    const QString word = text::fold(three);
    qsizetype scanned = 0;
    const double scan = medianMs(kRuns, [&] {
        qsizetype found = 0;
        for (const QString &haystack : folded)
            found += haystack.contains(word);
        scanned = found;
    });

    qsizetype hits = 0;
    const double search = medianMs(
        kRuns, [&] { keep(inputs.shelf().items(Filter::all(), two).size()); },
        [&] { hits = inputs.shelf().items(Filter::all(), three).size(); });
    if (hits != scanned)
        qFatal("the search found %lld saves, the scan %lld", qlonglong(hits), qlonglong(scanned));
    report.add(QStringLiteral("scan_100k"), scan, QStringLiteral("ms"));
    report.add(QStringLiteral("search_100k"), search, QStringLiteral("ms"));
    report.add(QStringLiteral("search_hits_100k"), double(hits), QStringLiteral("saves"));
    report.target(QStringLiteral("search_over_scan_100k"), search / scan, QStringLiteral("x"),
                  search <= 0.5 * scan && search < 10);
}

void runHome(Report &report)
{
    Documents &documents = Documents::get();
    const Archive loaded = loadOrDie(documents.folder100k());
    const ShelfInputs inputs(loaded, documents.folder100k());

    const double items = medianMs(kRuns, [&] { keep(inputs.shelf().items(Filter::all()).size()); });
    report.add(QStringLiteral("items_all_100k"), items, QStringLiteral("ms"));

    // After each edit the views build the home and the sidebar again: the shelf they read holds
    // the library with one save changed.
    ShelfInputs edited = inputs;
    const Save::ID flipped = edited.library.saves.at(edited.library.saves.size() / 3).id();
    const double home = medianMs(
        kRuns, [&] { edited.library.favourite(flipped); },
        [&] {
            const Shelf shelf = edited.shelf();
            keep(shelf.home().rest().size());
            keep(sidebarCounts(shelf));
        });
    report.target(QStringLiteral("home_100k"), home, QStringLiteral("ms"), home < 16);
    if (qEnvironmentVariableIsSet("STASHWELL_BENCH_DETAIL")) {
        double tShelf = 0, tHome = 0, tCounts = 0, tHomeFree = 0;
        for (int run = 0; run < 5; ++run) {
            edited.library.favourite(flipped);
            QElapsedTimer t; t.start();
            const Shelf shelf = edited.shelf();
            tShelf += t.nsecsElapsed() / 1e6; t.restart();
            std::optional<Home> h = shelf.home();
            tHome += t.nsecsElapsed() / 1e6; t.restart();
            keep(sidebarCounts(shelf));
            tCounts += t.nsecsElapsed() / 1e6; t.restart();
            h.reset();
            tHomeFree += t.nsecsElapsed() / 1e6;
        }
        report.add(QStringLiteral("detail_edited_shelf"), tShelf / 5, QStringLiteral("ms"));
        report.add(QStringLiteral("detail_edited_home"), tHome / 5, QStringLiteral("ms"));
        report.add(QStringLiteral("detail_edited_counts"), tCounts / 5, QStringLiteral("ms"));
        report.add(QStringLiteral("detail_edited_home_free"), tHomeFree / 5, QStringLiteral("ms"));
        const Shelf shelf = inputs.shelf();
        report.add(QStringLiteral("detail_home_sections"), medianMs(kRuns, [&] { keep(shelf.home().rest().size()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_top_authors"), medianMs(kRuns, [&] { keep(shelf.library().topAuthors(3).size()); }), QStringLiteral("ms"));
        report.add(QStringLiteral("detail_missing_items"), medianMs(kRuns, [&] { keep(shelf.items(Filter::linkOnly()).size()); }), QStringLiteral("ms"));
        const QList<std::pair<QString, Filter>> filters{
            {QStringLiteral("all"), Filter::all()}, {QStringLiteral("recent"), Filter::recentlyAdded()},
            {QStringLiteral("favourites"), Filter::favourites()}, {QStringLiteral("trash"), Filter::trash()},
            {QStringLiteral("onThisMac"), Filter::onThisMac()}, {QStringLiteral("linkOnly"), Filter::linkOnly()},
            {QStringLiteral("collection"), Filter::collection(shelf.library().collections.first().id)},
            {QStringLiteral("author"), Filter::author(shelf.library().topAuthors(1).first().handle)}};
        {
            QList<PostLink> links;
            for (const Save &save : shelf.library().saves) links.append(save.post().link);
            const CopyTable &table = shelf.localMedia().copies();
            report.add(QStringLiteral("detail_find"), medianMs(kRuns, [&] { qsizetype n = 0; for (const PostLink &l : links) n += table.find(l) != nullptr; keep(n); }), QStringLiteral("ms"));
            report.add(QStringLiteral("detail_hash"), medianMs(kRuns, [&] { size_t n = 0; for (const PostLink &l : links) n += qHash(l, 0); keep(n); }), QStringLiteral("ms"));
            QHash<PostLink, int> plain;
            for (const auto &[link, copy] : table) plain.insert(link, 1);
            report.add(QStringLiteral("detail_plainfind"), medianMs(kRuns, [&] { qsizetype n = 0; for (const PostLink &l : links) n += plain.contains(l); keep(n); }), QStringLiteral("ms"));
            QHash<QString, int> strings;
            for (const auto &[link, copy] : table) strings.insert(link.isX() ? link.asX()->status.digits : link.asWeb()->url.text(), 1);
            report.add(QStringLiteral("detail_stringfind"), medianMs(kRuns, [&] { qsizetype n = 0; for (const PostLink &l : links) n += strings.contains(l.isX() ? l.asX()->status.digits : l.asWeb()->url.text()); keep(n); }), QStringLiteral("ms"));
        }
        for (const auto &[name, filter] : filters)
            report.add(QStringLiteral("detail_count_") + name, medianMs(kRuns, [&] { keep(shelf.count(filter)); }), QStringLiteral("ms"));
    }
}

// A Curator as the application makes one, over a file archive in `folder` and a media folder
// beside it (empty: removing a file that is not there costs what a lookup costs), before restore().
std::unique_ptr<Curator> makeCurator(const QString &folder, const QSet<QString> &coversKept = {})
{
    LocalMedia media(MediaFolder(Url::fromLocalFile(folder + QStringLiteral("/media"))), DiskBudget{kBudget});
    Covers covers(Url::fromLocalFile(folder + QStringLiteral("/Covers")));
    covers.setPresent(coversKept);
    return std::make_unique<Curator>(Library(), std::move(media), std::move(covers), nullptr, nullptr,
                                     std::make_shared<LiveMediaDisk>(), std::make_shared<FileArchive>(folder),
                                     [] { return kNow; });
}

std::unique_ptr<Curator> restoredCurator(const QString &folder, const QSet<QString> &coversKept = {})
{
    auto curator = makeCurator(folder, coversKept);
    if (!curator->restore())
        qFatal("the document in %s does not restore", qPrintable(folder));
    return curator;
}

// A folder of its own holding a copy of the document, for benchmarks that write it.
QString copyOfDocument(const QString &name, const std::string &document)
{
    const QString folder = Documents::get().scratch(name);
    QDir(folder).removeRecursively();
    writeDocument(folder, document);
    return folder;
}

void runRestore(Report &report)
{
    Documents &documents = Documents::get();
    const simdjson::padded_string padded(documents.document100k());
    simdjson::dom::parser parser;
    const double parse = medianMs(kRuns, [&] {
        simdjson::dom::element root;
        if (parser.parse(padded).get(root) != simdjson::SUCCESS)
            qFatal("simdjson refused the document");
        keep(root);
    });
    parser = simdjson::dom::parser();   // give its buffers back before the restores

    std::unique_ptr<Curator> curator;
    const double restore = medianMs(
        5, [&] { curator.reset(); curator = makeCurator(documents.folder100k()); },
        [&] { keep(curator->restore().has_value()); });
    if (curator->library().saves.size() != 100000)
        qFatal("the restored library holds %lld saves", qlonglong(curator->library().saves.size()));
    curator.reset();
    report.add(QStringLiteral("parse_100k"), parse, QStringLiteral("ms"));
    report.add(QStringLiteral("restore_100k"), restore, QStringLiteral("ms"));
    report.target(QStringLiteral("restore_over_parse_100k"), restore / parse, QStringLiteral("x"), restore <= 5 * parse);
}

// One favourite flip, committed and written, against a write of the document's bytes.
void runEdits(Report &report)
{
    Documents &documents = Documents::get();
    for (const auto &[label, document] : {std::pair{QStringLiteral("10k"), &documents.document10k()},
                                          std::pair{QStringLiteral("100k"), &documents.document100k()}}) {
        const QString folder = copyOfDocument(QStringLiteral("edit") + label, *document);
        FileArchive archive(documents.scratch(QStringLiteral("write") + label));
        const double write = medianMs(kWriteRuns, [&] { keep(archive.storeBytes(*document)); });

        auto curator = restoredCurator(folder);
        const Save::ID id = curator->library().saves.at(curator->library().saves.size() / 2).id();
        const std::int64_t steps = curator->steps();
        const double first = medianMs(1, [&] { curator->favourite(id); });
        const double edit = medianMs(kWriteRuns, [&] { curator->favourite(id); });
        if (curator->steps() != steps + 1 + kWriteRuns || curator->archiveWriteFailed())
            qFatal("the favourite edits were not all recorded and written");
        report.add(QStringLiteral("write_") + label, write, QStringLiteral("ms"));
        report.add(QStringLiteral("edit_first_") + label, first, QStringLiteral("ms"));
        report.add(QStringLiteral("edit_") + label, edit, QStringLiteral("ms"));
        report.target(QStringLiteral("edit_over_write_") + label, edit / write, QStringLiteral("x"), edit <= 2 * write);
    }
}

// What the document must hold once the trash of `before` is emptied: the live saves, and the
// copies of every post but those of the removed saves (downloads under way were dropped at start).
Archive expectedAfterEmptyingTrash(const Archive &before)
{
    Archive expected;
    LocalMedia media = LocalMedia::restoring(MediaFolder(), DiskBudget{kBudget}, before.copies);
    expected.library = before.library;
    for (const Save &save : expected.library.emptyTrash())
        media.letGo(save.post().link);
    expected.copies = media.copies();
    return expected;
}

void runEmptyTrash(Report &report)
{
    Documents &documents = Documents::get();
    FileArchive archive(documents.scratch(QStringLiteral("write10k-trash")));
    const double write = medianMs(kWriteRuns, [&] { keep(archive.storeBytes(documents.document10k())); });

    const Archive before = loadOrDie(documents.folder10k());
    if (before.library.trash().size() != 1000)
        qFatal("the 10k library holds %lld saves in the trash", qlonglong(before.library.trash().size()));
    // Covers kept for about half of the posts, as after a while of use.
    const QSet<QString> coversKept = ShelfInputs(before, documents.folder10k()).covers.present();
    QString folder;
    std::unique_ptr<Curator> curator;
    const double empty = medianMs(
        kWriteRuns,
        [&] {
            curator.reset();
            folder = copyOfDocument(QStringLiteral("trash"), documents.document10k());
            curator = restoredCurator(folder, coversKept);
            // The first write after start encodes every save (edit_first_* measures it); the
            // application makes it at start when the user has set a media limit.
            curator->limitLocalMedia(kBudget);
        },
        [&] { curator->emptyTrash(); });
    const Archive after = loadOrDie(folder);
    if (!(after == expectedAfterEmptyingTrash(before)))
        qFatal("the document after emptying the trash is not what the rule gives");
    curator.reset();
    report.add(QStringLiteral("empty_trash_1000_of_10k"), empty, QStringLiteral("ms"));
    report.target(QStringLiteral("empty_trash_over_write_10k"), empty / write, QStringLiteral("x"), empty <= 3 * write);
}

void runMemory(Report &report)
{
    Documents &documents = Documents::get();
    const auto output = runChild(QStringLiteral("rss"), {documents.folder100k()});
    const QList<QByteArray> fields = output ? output->simplified().split(' ') : QList<QByteArray>();
    if (fields.size() != 4)
        qFatal("the memory child failed");
    const double document = double(documents.document100k().size());
    const double restored = fields.at(1).toDouble();
    report.add(QStringLiteral("rss_start"), megabytes(std::size_t(fields.at(0).toLongLong())), QStringLiteral("MiB"));
    report.add(QStringLiteral("rss_100k"), megabytes(std::size_t(restored)), QStringLiteral("MiB"));
    report.target(QStringLiteral("rss_over_document_100k"), restored / document, QStringLiteral("x"), restored <= 3 * document);
    report.add(QStringLiteral("rss_after_edit_100k"), megabytes(std::size_t(fields.at(2).toLongLong())), QStringLiteral("MiB"));
    report.add(QStringLiteral("rss_after_search_100k"), megabytes(std::size_t(fields.at(3).toLongLong())), QStringLiteral("MiB"));
}

const Registration documentsSuite(10, "core.documents", &runDocuments);
const Registration loadSuite(11, "core.load", &runLoad);
const Registration writesSuite(12, "core.writes", &runWrites);
const Registration restoreSuite(13, "core.restore", &runRestore);
const Registration editsSuite(14, "core.edits", &runEdits);
const Registration emptyTrashSuite(17, "core.trash", &runEmptyTrash);
const Registration searchSuite(15, "core.search", &runSearch);
const Registration homeSuite(16, "core.home", &runHome);
const Registration memorySuite(18, "core.memory", &runMemory);

// run-benchmarks --child load <folder> <times>: loads the document in the folder again and again,
// for a profiler to watch.
const ChildRegistration loadAgain("load", [](const QStringList &arguments) {
    if (arguments.size() != 2)
        return 2;
    for (int i = 0; i < arguments.at(1).toInt(); ++i)
        keep(loadOrDie(arguments.at(0)).library.saves.size());
    return 0;
});

// Resident memory of this process, in bytes.
std::int64_t residentBytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = status.readAll().simplified().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * 4096 : -1;
}

// run-benchmarks --child rss-load <folder>: prints the resident bytes before and after loading.
const ChildRegistration rssLoad("rss-load", [](const QStringList &arguments) {
    if (arguments.size() != 1)
        return 2;
    const std::int64_t before = residentBytes();
    const Archive archive = loadOrDie(arguments.at(0));
    const std::int64_t after = residentBytes();
    std::printf("%lld %lld\n", qlonglong(before), qlonglong(after));
    keep(archive.library.saves.size());
    return 0;
});

// run-benchmarks --child store <folder> <times>: loads the document, then encodes it anew (no
// cached texts) the given number of times, for a profiler to watch.
const ChildRegistration storeAgain("store", [](const QStringList &arguments) {
    if (arguments.size() != 2)
        return 2;
    const Archive archive = loadOrDie(arguments.at(0));
    for (int i = 0; i < arguments.at(1).toInt(); ++i) {
        Library copy;
        for (const Save &save : archive.library.saves)
            copy.saves.append(Save(save.id(), save.post(), save.savedAt(), save.isFavourite(), save.collection(),
                                   save.tags(), save.note(), save.trashedAt()));
        keep(Archive(copy, archive.copies).json().size());
    }
    return 0;
});

// run-benchmarks --child home <folder> <times>: the home and the sidebar after an edit, again and
// again, for a profiler to watch.
const ChildRegistration homeAgain("home", [](const QStringList &arguments) {
    if (arguments.size() != 2)
        return 2;
    const Archive loaded = loadOrDie(arguments.at(0));
    ShelfInputs edited(loaded, arguments.at(0));
    const Save::ID flipped = edited.library.saves.at(edited.library.saves.size() / 3).id();
    for (int i = 0; i < arguments.at(1).toInt(); ++i) {
        edited.library.favourite(flipped);
        const Shelf shelf = edited.shelf();
        keep(shelf.home().rest().size());
        keep(sidebarCounts(shelf));
    }
    return 0;
});

// run-benchmarks --child search <folder> <times>: keystrokes of a search, again and again, for a
// profiler to watch.
const ChildRegistration searchAgain("search", [](const QStringList &arguments) {
    if (arguments.size() != 2)
        return 2;
    const Archive loaded = loadOrDie(arguments.at(0));
    const ShelfInputs inputs(loaded, arguments.at(0));
    keep(inputs.shelf().items(Filter::all(), QStringLiteral("vo")).size());
    std::fprintf(stderr, "vocabulary: %zu words, %zu texts\n", SearchVocabulary::shared().words(), SearchVocabulary::shared().entries());
    std::fprintf(stderr, "query: %.3f ms\n", medianMs(9, [] { keep(SearchQuery(QStringLiteral("vol")).isEmpty()); }));
    std::fprintf(stderr, "keystroke: %.3f ms\n", medianMs(9, [&] { keep(inputs.shelf().items(Filter::all(), QStringLiteral("vol")).size()); }));
    std::fprintf(stderr, "all: %.3f ms\n", medianMs(9, [&] { keep(inputs.shelf().items(Filter::all()).size()); }));
    for (int i = 0; i < arguments.at(1).toInt(); ++i)
        keep(inputs.shelf().items(Filter::all(), QStringLiteral("vol")).size());
    return 0;
});

// run-benchmarks --child restore <folder> <times>: restores the library again and again into new
// Curators, for a profiler to watch; prints the milliseconds of each.
const ChildRegistration restoreAgain("restore", [](const QStringList &arguments) {
    if (arguments.size() != 2)
        return 2;
    for (int i = 0; i < arguments.at(1).toInt(); ++i) {
        auto curator = makeCurator(arguments.at(0));
        QElapsedTimer timer;
        timer.start();
        keep(curator->restore().has_value());
        std::fprintf(stderr, "restore: %.1f ms\n", double(timer.nsecsElapsed()) / 1e6);
    }
    return 0;
});

// run-benchmarks --child restore-phases <folder>: the phases of a restore, each timed, in a fresh
// process.
const ChildRegistration restorePhases("restore-phases", [](const QStringList &arguments) {
    if (arguments.size() != 1)
        return 2;
    QElapsedTimer timer;
    timer.start();
    const auto lap = [&](const char *what) {
        std::fprintf(stderr, "%-10s %7.1f ms\n", what, double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
    };
    QFile file(FileArchive(arguments.at(0)).documentPath());
    file.open(QIODevice::ReadOnly);
    QByteArray bytes(file.size() + qsizetype(JsonDocument::padding), '\0');
    const qint64 length = file.read(bytes.data(), file.size());
    lap("read");
    const JsonDocument document(std::string_view(bytes.constData(), std::size_t(length)), JsonDocument::Padded{});
    lap("parse");

    const JsonNode root = document.root();
    std::optional<Library> library;
    std::optional<CopyTable> copies;
    {
        library = Library::fromJson(root["library"]);
        lap("library");
        copies = CopyTable::fromJson(root["copies"]);
        lap("copies");
    }
    LocalMedia media = LocalMedia::restoring(MediaFolder(), DiskBudget{kBudget}, *copies);
    lap("restoring");
    keep(library->saves.size());
    keep(media.copies().size());
    return 0;
});

// run-benchmarks --child rss <folder>: restores the library in the folder into a Curator as the
// application makes it and prints the resident bytes then; then after a first edit (every save's
// text kept for the next write) and after a first search (the word index built).
const ChildRegistration rssChild("rss", [](const QStringList &arguments) {
    if (arguments.size() != 1)
        return 2;
    const std::int64_t start = residentBytes();
    auto curator = restoredCurator(arguments.at(0));
    const std::int64_t restored = residentBytes();
    curator->favourite(curator->library().saves.at(0).id());
    const std::int64_t edited = residentBytes();
    keep(curator->shelf().items(Filter::all(), QStringLiteral("vol")).size());
    const std::int64_t searched = residentBytes();
    std::printf("%lld %lld %lld %lld\n", qlonglong(start), qlonglong(restored), qlonglong(edited), qlonglong(searched));
    return 0;
});

// run-benchmarks --child generate <saves> <folder>: writes a generated library.json into the
// folder, for looking at or for starting the application on a large library.
const ChildRegistration generate("generate", [](const QStringList &arguments) {
    if (arguments.size() != 2)
        return 2;
    LibraryShape shape;
    shape.saves = arguments.at(0).toInt();
    writeDocument(arguments.at(1), generateDocument(shape));
    return 0;
});

}  // namespace

}  // namespace sw::bench
