#include "Stashwell/App/ArchiveProblemNotice.h"

#include "StashKit/Curator.h"
#include "Stashwell/StashwellStrings.h"

namespace sw::app {

ArchiveProblemNotice::ArchiveProblemNotice(Curator &curator, Tell tell, QObject *parent)
    : QObject(parent), m_curator(&curator), m_tell(std::move(tell))
{
    connect(&curator, &Curator::archiveWriteFailedChanged, this, &ArchiveProblemNotice::check);
    connect(&curator, &Curator::archiveWritesHeldChanged, this, &ArchiveProblemNotice::check);
    connect(&curator, &Curator::archiveSetAsideChanged, this, &ArchiveProblemNotice::check);
    check();
}

QString ArchiveProblemNotice::message(Problem problem, const QString &keptAs)
{
    switch (problem) {
    case Problem::setAside: return StashwellStrings::libraryArchiveUnreadable(keptAs);
    case Problem::writeFailed: return StashwellStrings::libraryArchiveWriteFailed();
    case Problem::writesHeld: return StashwellStrings::libraryArchiveHeld();
    }
    return QString();
}

void ArchiveProblemNotice::check()
{
    if (!m_curator)
        return;
    if (!m_toldSetAside && m_curator->archiveSetAside()) {
        m_toldSetAside = true;
        if (m_tell)
            m_tell(Problem::setAside);
    }
    if (m_told || !m_curator)
        return;
    std::optional<Problem> problem;
    if (m_curator->archiveWritesHeld())
        problem = Problem::writesHeld;
    else if (m_curator->archiveWriteFailed())
        problem = Problem::writeFailed;
    if (!problem)
        return;
    m_told = true;
    if (m_tell)
        m_tell(*problem);
}

}  // namespace sw::app
