#pragma once

// The inspector's tags: a heading, then the save's tags as chips, each with a remove button, and
// the field that takes a new one, all wrapping like words. Return in the field asks to add its
// text exactly as typed (empty included) and empties the field; the field's text is kept while
// another save is shown. Every request is a SaveIntent reported by intentRaised().

#include "Library/Tag.h"
#include "StashwellUI/Saves/SaveIntent.h"

#include <QList>
#include <QWidget>

namespace sw {

class AddTagField;
class FlowLayout;
class Kicker;
class TagChip;

class TagsSection : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 8;
    static constexpr double flowSpacing = 6;

    explicit TagsSection(QWidget *parent = nullptr);

    const QList<Tag> &tags() const { return m_tags; }
    void setTags(const QList<Tag> &tags);

    QList<TagChip *> chips() const { return m_chips; }
    AddTagField &field() { return *m_field; }

signals:
    void intentRaised(const sw::SaveIntent &intent);

protected:
    void changeEvent(QEvent *event) override;

private:
    void removePressed(TagChip *chip);

    QList<Tag> m_tags;
    Kicker *m_kicker = nullptr;
    FlowLayout *m_flow = nullptr;
    QList<TagChip *> m_chips;
    AddTagField *m_field = nullptr;
};

}  // namespace sw
