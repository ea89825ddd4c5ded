#include "StashwellUI/Inspector/LocalMediaSection.h"

#include "StashwellUI/Controls/FileRow.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Controls/ProgressTrack.h"
#include "StashwellUI/Inspector/InspectorLines.h"
#include "StashwellUI/Inspector/InspectorPane.h"
#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace sw {

LocalMediaSection::LocalMediaSection(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(spacing));

    auto *header = new QHBoxLayout;
    m_kicker = new Kicker(StashwellUIStrings::inspectorLocalMedia(), this);
    m_statusLine = new SymbolLine(Tokens::Typography::mono, this);
    header->addWidget(m_kicker);
    header->addStretch(1);
    header->addWidget(m_statusLine);
    column->addLayout(header);

    const int pad = int(panePadding);

    // Only the link is kept (never downloaded, or the download failed).
    m_onlyLinked = new InspectorPane(this);
    auto *onlyLinked = new QVBoxLayout(m_onlyLinked);
    onlyLinked->setContentsMargins(pad, 0, pad, 0);
    m_onlyLinkedRow = new FileRow(StashwellUIStrings::inspectorOnlyLinked(), StashwellUIStrings::inspectorOnlyLinkedDetail(),
                                  QStringLiteral("icloud"), m_onlyLinked);
    onlyLinked->addWidget(m_onlyLinkedRow);
    column->addWidget(m_onlyLinked);
    m_pill = new ActionPillButton(Action(), this);
    connect(m_pill, &ActionPillButton::performed, this,
            [this](const Action &action) { emit intentRaised(SaveIntent::action(action)); });
    column->addWidget(m_pill);

    // A download under way.
    m_downloading = new InspectorPane(this);
    auto *downloading = new QVBoxLayout(m_downloading);
    downloading->setContentsMargins(pad, pad, pad, pad);
    downloading->setSpacing(int(spacing));
    m_sizes = new OneLine(Tokens::Typography::mono, &Tokens::Colors::textSecondary, Qt::ElideRight, m_downloading);
    m_track = new ProgressTrack(0, m_downloading);
    downloading->addWidget(m_sizes);
    downloading->addWidget(m_track);
    column->addWidget(m_downloading);

    // The files here.
    m_fileList = new InspectorPane(this);
    m_fileLayout = new QVBoxLayout(m_fileList);
    m_fileLayout->setContentsMargins(pad, int(listPadding), pad, int(listPadding));
    m_fileLayout->setSpacing(0);
    column->addWidget(m_fileList);
    m_folderLine = new OneLine(Tokens::Typography::monoSmall, &Tokens::Colors::muted, Qt::ElideMiddle, this);
    column->addWidget(m_folderLine);
    m_buttons = new QWidget(this);
    auto *buttons = new QHBoxLayout(m_buttons);
    buttons->setContentsMargins(0, 0, 0, 0);
    m_reveal = new GlassButton(StashwellUIStrings::inspectorShowInFileManager(), QStringLiteral("folder"), Tone::neutral, m_buttons);
    m_remove = new GlassButton(StashwellUIStrings::inspectorRemoveLocalCopy(), QString(), Tone::neutral, m_buttons);
    buttons->addWidget(m_reveal);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    column->addWidget(m_buttons);
    connect(m_reveal, &GlassButton::clicked, this, [this] { emit intentRaised(SaveIntent::reveal()); });
    connect(m_remove, &GlassButton::clicked, this, [this] { emit intentRaised(SaveIntent::removeLocalCopy()); });
}

void LocalMediaSection::setContent(const ShelfItem &item, const MediaFolder &folder, const QString &home)
{
    if (m_item && *m_item == item && m_folder == folder && m_home == home)
        return;
    m_item = item;
    m_folder = folder;
    m_home = home;
    apply();
}

void LocalMediaSection::apply()
{
    if (!m_item)
        return;
    const LocalCopy &copy = m_item->copy();
    m_status = InspectorFacts::mediaStatus(copy);
    const InspectorFacts::Tint tint = m_status.tint;
    m_statusLine->setContent(m_status.text, m_status.symbol, [tint] { return InspectorFacts::color(tint); });

    const LocalCopy::Downloading *running = copy.asDownloading();
    const LocalCopy::OnThisComputer *here = copy.asOnThisComputer();
    m_body = running ? Body::downloading : here ? Body::files : Body::onlyLinked;

    m_onlyLinked->setVisible(m_body == Body::onlyLinked);
    m_pill->setVisible(m_body == Body::onlyLinked);
    if (m_body == Body::onlyLinked)
        m_pill->setAction(m_item->action());

    m_downloading->setVisible(m_body == Body::downloading);
    if (running) {
        m_sizes->setText(InspectorFacts::downloadingText(running->received, running->of));
        m_track->setFraction(InspectorFacts::downloadFraction(running->received, running->of));
    }

    m_fileList->setVisible(m_body == Body::files);
    m_folderLine->setVisible(m_body == Body::files);
    m_buttons->setVisible(m_body == Body::files);
    const QList<LocalFile> files = here ? here->files : QList<LocalFile>();
    while (m_files.size() > files.size())
        delete m_files.takeLast();
    while (m_files.size() < files.size()) {
        auto *row = new FileRow(QString(), QString(), QString(), m_fileList);
        m_fileLayout->addWidget(row);
        m_files.append(row);
    }
    const Post &post = m_item->save().post();
    for (qsizetype i = 0; i < files.size(); ++i) {
        m_files[i]->setName(files[i].name);
        m_files[i]->setSymbol(InspectorFacts::fileSymbol(files[i].name));
        m_files[i]->setDetail(InspectorFacts::fileDetail(files[i], post, std::size_t(i)));
    }
    m_folderLine->setText(InspectorFacts::folderPath(m_folder.root(), m_home));
}

QString LocalMediaSection::downloadingText() const { return m_sizes->text(); }

double LocalMediaSection::downloadFraction() const { return m_track->fraction(); }

QString LocalMediaSection::folderText() const { return m_folderLine->text(); }

void LocalMediaSection::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_kicker->setText(StashwellUIStrings::inspectorLocalMedia());
        m_onlyLinkedRow->setName(StashwellUIStrings::inspectorOnlyLinked());
        m_onlyLinkedRow->setDetail(StashwellUIStrings::inspectorOnlyLinkedDetail());
        m_reveal->setTitle(StashwellUIStrings::inspectorShowInFileManager());
        m_remove->setTitle(StashwellUIStrings::inspectorRemoveLocalCopy());
        apply();
    }
    QWidget::changeEvent(event);
}

}  // namespace sw
