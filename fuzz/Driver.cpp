// Replays saved inputs through a fuzz target without libFuzzer: every file of each folder given
// (or each file given), in name order. A property that fails ends the run with its message; an
// input named "read-..." that was not read, or "refuse-..." that was not refused, is a failure too.

#include "Fuzz.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QFileInfo info(path);
        if (info.isDir()) {
            const QDir folder(path);
            for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
                files.append(folder.filePath(name));
        } else if (info.isFile()) {
            files.append(path);
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
    }
    int failures = 0;
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        const QByteArray name = path.toLocal8Bit();
        sw::fuzz::inputName = name.constData();
        sw::fuzz::outcome = sw::fuzz::Outcome::none;
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
        const QString base = QFileInfo(path).fileName();
        if (base.startsWith(u"read-") && sw::fuzz::outcome != sw::fuzz::Outcome::read) {
            std::fprintf(stderr, "not read: %s\n", qPrintable(path));
            ++failures;
        } else if (base.startsWith(u"refuse-") && sw::fuzz::outcome != sw::fuzz::Outcome::refused) {
            std::fprintf(stderr, "not refused: %s\n", qPrintable(path));
            ++failures;
        }
    }
    std::printf("%lld inputs, %d failures\n", qlonglong(files.size()), failures);
    return failures == 0 && !files.isEmpty() ? 0 : 1;
}
