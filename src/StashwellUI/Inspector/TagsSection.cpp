#include "StashwellUI/Inspector/TagsSection.h"

#include "StashwellUI/Controls/AddTagField.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Controls/TagChip.h"
#include "StashwellUI/Layout/FlowLayout.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QEvent>
#include <QVBoxLayout>

namespace sw {

TagsSection::TagsSection(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(spacing));
    m_kicker = new Kicker(StashwellUIStrings::inspectorTags(), this);
    column->addWidget(m_kicker, 0, Qt::AlignLeft);
    auto *flow = new QWidget(this);
    m_flow = new FlowLayout(flowSpacing, flow);
    m_field = new AddTagField(flow);
    m_flow->addWidget(m_field);
    column->addWidget(flow);
    connect(m_field, &AddTagField::submitted, this, [this] {
        const QString text = m_field->text();
        m_field->clear();
        emit intentRaised(SaveIntent::addTag(text));
    });
}

void TagsSection::setTags(const QList<Tag> &tags)
{
    if (tags == m_tags)
        return;
    m_tags = tags;
    // Chips are kept and renamed rather than made anew: a chip whose remove button is being
    // pressed may be the one whose press led here. The ones left over go once the press is done.
    while (m_chips.size() > m_tags.size()) {
        TagChip *chip = m_chips.takeLast();
        m_flow->removeWidget(chip);
        chip->hide();
        chip->deleteLater();
    }
    while (m_chips.size() < m_tags.size()) {
        auto *chip = new TagChip(QString(), m_field->parentWidget());
        // Set once for the chip's life: the running remove action is never replaced.
        chip->setOnRemove([this, chip] { removePressed(chip); });
        // Before the field, which stays last.
        delete m_flow->takeAt(m_flow->indexOf(m_field));
        m_flow->addWidget(chip);
        m_flow->addWidget(m_field);
        m_chips.append(chip);
    }
    for (qsizetype i = 0; i < m_tags.size(); ++i)
        m_chips[i]->setName(m_tags[i].name);
}

void TagsSection::removePressed(TagChip *chip)
{
    const qsizetype index = m_chips.indexOf(chip);
    if (index < 0 || index >= m_tags.size())
        return;
    emit intentRaised(SaveIntent::removeTag(m_tags[index]));
}

void TagsSection::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        m_kicker->setText(StashwellUIStrings::inspectorTags());
    QWidget::changeEvent(event);
}

}  // namespace sw
