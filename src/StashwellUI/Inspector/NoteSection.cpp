#include "StashwellUI/Inspector/NoteSection.h"

#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/detail/Sizing.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace sw {

NoteEditor::NoteEditor(QWidget *parent) : QPlainTextEdit(parent)
{
    setFont(Tokens::Typography::body.font());
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    const int inset = int(padding);
    setViewportMargins(inset, inset, inset, inset);
    viewport()->setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setPlaceholderText(StashwellUIStrings::inspectorNotePrompt());
    setAccessibleName(StashwellUIStrings::inspectorNote());
    applyTheme();
    connect(&Theme::instance(), &Theme::changed, this, &NoteEditor::applyTheme);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, &NoteEditor::fitHeight);
    fitHeight();
}

void NoteEditor::applyTheme()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, Tokens::Colors::text());
    palette.setColor(QPalette::PlaceholderText, Tokens::Colors::muted());
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Highlight, Tokens::Colors::accent());
    palette.setColor(QPalette::HighlightedText, Tokens::Colors::onAccent());
    setPalette(palette);
    update();
}

QSize NoteEditor::sizeHint() const
{
    // The editor grows with its text and never scrolls by itself: the inspector scrolls.
    // The plain text layout measures its height in lines.
    const double lines = std::max(1.0, document()->size().height());
    const double height = lines * QFontMetricsF(font()).lineSpacing() + 2 * document()->documentMargin() + 2 * padding;
    return QSize(200, std::max(Sizing::ceilInt(height), int(minimumEditorHeight)));
}

QSize NoteEditor::minimumSizeHint() const { return QSize(60, sizeHint().height()); }

void NoteEditor::fitHeight()
{
    const int wanted = sizeHint().height();
    if (height() != wanted || QWidget::minimumHeight() != wanted)
        setFixedHeight(wanted);
}

void NoteEditor::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    fitHeight();
}

bool NoteEditor::event(QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        // The well lies under the whole editor, its padding included; the text is drawn over it
        // by the viewport.
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF well(rect());
        WellStyle::well(Tokens::Colors::card()).fill(painter, well, radius);
        ContinuousShape::strokeInside(painter, well, radius, Tokens::Colors::lineStrong(), 1);
    }
    if (event->type() == QEvent::LanguageChange) {
        setPlaceholderText(StashwellUIStrings::inspectorNotePrompt());
        setAccessibleName(StashwellUIStrings::inspectorNote());
    }
    return QPlainTextEdit::event(event);
}

NoteSection::NoteSection(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(spacing));
    m_kicker = new Kicker(StashwellUIStrings::inspectorNote(), this);
    column->addWidget(m_kicker, 0, Qt::AlignLeft);
    m_editor = new NoteEditor(this);
    column->addWidget(m_editor);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            emit edited(m_editor->toPlainText());
    });
}

void NoteSection::load(const QString &note)
{
    m_loading = true;
    // setPlainText() also empties the editor's undo and redo history.
    m_editor->setPlainText(note);
    m_loading = false;
}

QString NoteSection::text() const { return m_editor->toPlainText(); }

void NoteSection::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        m_kicker->setText(StashwellUIStrings::inspectorNote());
    QWidget::changeEvent(event);
}

}  // namespace sw
