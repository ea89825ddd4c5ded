#pragma once

// Tells the user, once per session, that the library is not being saved: when an archive write
// has failed (the document on disk is behind), or when the document could neither be read nor
// set aside, so that nothing is written to protect it. Apart from that, and once as well, that
// the document could not be read at start and was set aside unchanged (the library then starts
// empty, which would otherwise look like a library lost). The library page's problem alert takes
// this over once it exists; until then the application shows a plain message box.

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace sw {
class Curator;
}

namespace sw::app {

class ArchiveProblemNotice final : public QObject {
    Q_OBJECT
public:
    enum class Problem { writeFailed, writesHeld, setAside };
    using Tell = std::function<void(Problem problem)>;

    // Looks at the Curator's flags now and whenever they change; `tell` runs at most once for a
    // document set aside and at most once for the writes.
    ArchiveProblemNotice(Curator &curator, Tell tell, QObject *parent = nullptr);

    bool hasTold() const { return m_told || m_toldSetAside; }

    // The message of a problem; `keptAs` is where a document set aside lies.
    static QString message(Problem problem, const QString &keptAs = QString());

private:
    void check();

    QPointer<Curator> m_curator;
    Tell m_tell;
    bool m_told = false;
    bool m_toldSetAside = false;
};

}  // namespace sw::app
