#include "Stashwell/Commands/CopiedLink.h"

#include "Capture/PostLink.h"
#include "Capture/Text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace sw::app {

std::optional<QString> linkIn(const QString &text)
{
    QString link = text::trimmed(text);
    if (link.isEmpty() || !PostLink::reading(link))
        return std::nullopt;
    return link;
}

std::optional<QString> copiedLink()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    if (!data || !data->hasText())
        return std::nullopt;
    return linkIn(data->text());
}

void copyText(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(text);
    }
}

}  // namespace sw::app
