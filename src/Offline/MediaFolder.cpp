#include "MediaFolder.h"

#include "Text.h"

#include <QCryptographicHash>
#include <QStringList>
#include <QUrl>

namespace sw {

namespace {
// 8 hex digits of a hash of the URL's full text: the same on every run and every machine.
QString queryMark(const Url &url)
{
    const QByteArray digest = QCryptographicHash::hash(url.text().toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.left(4).toHex());
}
}  // namespace

QString MediaFolder::stem(const PostLink &link)
{
    QString stem;
    if (const PostLink::X *x = link.asX()) {
        stem = text::lowercased(x->handle.name) + u'_' + x->status.digits;
    } else {
        const Url &url = link.asWeb()->url;
        const QString host = url.host().value_or(QStringLiteral("page"));
        const QString path = url.pathSegments().join(u'-');
        stem = host;
        if (!path.isEmpty()) {
            if (!stem.isEmpty())
                stem += u'_';
            stem += path;
        }
        // Links that differ only in their query would otherwise share files; a fragment never
        // takes part (saved web links carry none).
        if (url.query()) {
            if (!stem.isEmpty())
                stem += u'_';
            stem += queryMark(url);
        }
    }
    for (QChar &c : stem) {
        if (c == u'/' || c == u':' || c == u'\\')
            c = u'-';
    }
    return stem;
}

QString MediaFolder::fileName(const Post &post, std::size_t index)
{
    const Attachment &attachment = post.attachments.at(index);
    QString name = stem(post.link);
    if (index > 0)
        name += u'_' + QString::number(index + 1);
    return name + u'.' + attachment.fileExtension();
}

Url MediaFolder::url(const LocalFile &file) const
{
    QUrl url = m_root.qurl();
    QString path = url.path(QUrl::FullyDecoded);
    if (!path.endsWith(u'/'))
        path += u'/';
    path += file.name;
    url.setPath(path, QUrl::DecodedMode);
    return Url::fromQUrl(url);
}

}  // namespace sw
