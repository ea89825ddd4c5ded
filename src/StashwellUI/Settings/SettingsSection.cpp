#include "StashwellUI/Settings/SettingsSection.h"

#include "StashwellUI/Controls/GlassMaterial.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>
#include <QVBoxLayout>

namespace sw {

namespace {

// The glass panel of the rows; it draws the divider lines between them.
class RowsPanel : public QWidget {
public:
    explicit RowsPanel(SettingsSection *section, QWidget *parent) : QWidget(parent), m_section(section)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        GlassMaterial::paint(painter, ContinuousShape::rect(QRectF(rect()), SettingsSection::panelRadius), false, ControlState{});
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const QRectF &divider : m_section->dividers()) {
            painter.fillRect(divider, Tokens::Colors::line());
            painter.fillRect(divider, Tokens::Colors::onGlassHover());
        }
    }

private:
    SettingsSection *m_section;
};

}  // namespace

SettingsSection::SettingsSection(const QString &title, const std::optional<QString> &footnote, const QList<QWidget *> &rows,
                                 QWidget *parent)
    : QWidget(parent), m_title(title), m_footnote(footnote)
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(spacing));

    auto *heading = new Kicker(title, this);
    auto *headingBox = new QHBoxLayout;
    headingBox->setContentsMargins(int(edgeInset), 0, int(edgeInset), 0);
    headingBox->addWidget(heading, 0, Qt::AlignLeft);
    column->addLayout(headingBox);

    m_panel = new RowsPanel(this, this);
    auto *panelRows = new QVBoxLayout(m_panel);
    panelRows->setContentsMargins(int(rowInset), int(panelVerticalPadding), int(rowInset), int(panelVerticalPadding));
    // Each divider gets its own line of room, so that rows and lines touch.
    panelRows->setSpacing(0);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QWidget *rowWidget = rows[i];
        if (!rowWidget)
            continue;
        if (!m_rows.isEmpty())
            panelRows->addSpacing(int(dividerThickness));
        rowWidget->setParent(m_panel);
        panelRows->addWidget(rowWidget);
        m_rows.append(rowWidget);
    }
    column->addWidget(m_panel);

    if (m_footnote) {
        m_footnoteText = new StyledText(*m_footnote, Tokens::Typography::caption, &Tokens::Colors::muted, this);
        auto *footnoteBox = new QHBoxLayout;
        footnoteBox->setContentsMargins(int(edgeInset), 0, int(edgeInset), 0);
        footnoteBox->addWidget(m_footnoteText);
        column->addLayout(footnoteBox);
    }
}

QList<QRectF> SettingsSection::dividers() const
{
    QList<QRectF> lines;
    for (qsizetype i = 1; i < m_rows.size(); ++i) {
        const QRect row = m_rows[i]->geometry();
        lines.append(QRectF(rowInset, row.top() - dividerThickness, m_panel->width() - 2 * rowInset, dividerThickness));
    }
    return lines;
}

}  // namespace sw
