#pragma once

// Tells the user, once per session, that the library is not being saved: when an archive write
// has failed (the document on disk is behind), or when the document could neither be read nor
// set aside, so that nothing is written to protect it. The library page's problem alert takes
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
    enum class Problem { writeFailed, writesHeld };
    using Tell = std::function<void(Problem problem)>;

    // Looks at the Curator's flags now and whenever they change; `tell` runs at most once.
    ArchiveProblemNotice(Curator &curator, Tell tell, QObject *parent = nullptr);

    bool hasTold() const { return m_told; }

    // The message of a problem.
    static QString message(Problem problem);

private:
    void check();

    QPointer<Curator> m_curator;
    Tell m_tell;
    bool m_told = false;
};

}  // namespace sw::app
