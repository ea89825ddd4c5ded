#include "StashwellUI/Design/Fonts.h"

#include "StashwellUI/Design/Tokens.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

namespace sw {

namespace {

// Where Debian's packages put the files (fonts-inter, fonts-noto-mono, fonts-noto-cjk).
struct PackagedFamily {
    QString family;
    QString folder;
    QStringList patterns;
};

const QList<PackagedFamily> &packagedFamilies()
{
    static const QList<PackagedFamily> list{
        {QStringLiteral("Inter"), QStringLiteral("/usr/share/fonts/opentype/inter"),
         {QStringLiteral("Inter-*.otf")}},
        {QStringLiteral("Inter Display"), QStringLiteral("/usr/share/fonts/opentype/inter"),
         {QStringLiteral("InterDisplay-*.otf")}},
        {QStringLiteral("Noto Sans Mono"), QStringLiteral("/usr/share/fonts/truetype/noto"),
         {QStringLiteral("NotoSansMono-*.ttf")}},
        {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("/usr/share/fonts/opentype/noto"),
         {QStringLiteral("NotoSansCJK-*.ttc")}},
    };
    return list;
}

bool hasFamily(const QString &family) { return QFontDatabase::families().contains(family, Qt::CaseInsensitive); }

}  // namespace

QString cjkFamilyFor(const QLocale &language)
{
    switch (language.language()) {
    case QLocale::Japanese: return QStringLiteral("Noto Sans CJK JP");
    case QLocale::Korean: return QStringLiteral("Noto Sans CJK KR");
    default: return QStringLiteral("Noto Sans CJK SC");
    }
}

FontReport loadFonts(const QLocale &language)
{
    FontReport report;
    for (const PackagedFamily &packaged : packagedFamilies()) {
        if (hasFamily(packaged.family))
            continue;
        // Not known to fontconfig (a private prefix, a sandbox): register the package's files.
        const QFileInfoList files = QDir(packaged.folder).entryInfoList(packaged.patterns, QDir::Files);
        for (const QFileInfo &file : files)
            QFontDatabase::addApplicationFont(file.absoluteFilePath());
    }

    const QString cjk = cjkFamilyFor(language);
    QStringList fallbacks{cjk};
    for (const QString &other : {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans CJK KR"),
                                 QStringLiteral("Noto Sans CJK SC")}) {
        if (!fallbacks.contains(other))
            fallbacks.append(other);
    }
    Tokens::Typography::setFallbackFamilies(fallbacks);
    const QStringList wanted{Tokens::Typography::family(Tokens::Design::standard, Tokens::Typography::body.size),
                             Tokens::Typography::family(Tokens::Design::standard, Tokens::Typography::title.size),
                             Tokens::Typography::family(Tokens::Design::monospaced)};

    for (const QString &family : wanted + QStringList{cjk}) {
        if (hasFamily(family))
            report.available.append(family);
        else
            report.missing.append(family);
    }
    if (!report.missing.isEmpty())
        qWarning("Fonts: not installed: %s", qPrintable(report.missing.join(QStringLiteral(", "))));

    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::setFont(Tokens::Typography::body.font());
    return report;
}

}  // namespace sw
