#include "StashwellUI/Playback/PlayerSheet.h"

#include "StashwellUI/Saves/AuthorLine.h"
#include "StashwellUI/Saves/AuthorLineView.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/detail/TextLines.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

namespace sw {

PlayerSheet::PlayerSheet(const QUrl &file, const Post &post, QWidget *parent)
    : QWidget(parent), m_file(file), m_post(post)
{
    setFixedWidth(int(sheetWidth));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    const QString detail = postedText(post.postedAt, Formatting::interfaceLocale(), QTimeZone::systemTimeZone());
    m_author = new AuthorLineView(AuthorLine(post.author, detail, AuthorLine::defaultSize), this);

    const auto roundButton = [this](const QString &symbol, const QString &label) {
        auto *button = new RoundIconButton(symbol, label, this);
        button->setDiameter(buttonSize);
        return button;
    };
    m_reveal = roundButton(QStringLiteral("folder"), StashwellUIStrings::playerShowInFileManager());
    m_openOriginal = roundButton(QStringLiteral("safari"), StashwellUIStrings::playerOpenOriginal());
    m_close = roundButton(QStringLiteral("xmark"), StashwellUIStrings::playerClose());
    connect(m_reveal, &QAbstractButton::clicked, this, &PlayerSheet::revealRequested);
    connect(m_openOriginal, &QAbstractButton::clicked, this, &PlayerSheet::openOriginalRequested);
    connect(m_close, &QAbstractButton::clicked, this, &PlayerSheet::closeRequested);

    // Escape closes wherever the focus is inside the sheet (the player, the text).
    auto *cancel = new QShortcut(QKeySequence::Cancel, this);
    cancel->setContext(Qt::WidgetWithChildrenShortcut);
    connect(cancel, &QShortcut::activated, this, &PlayerSheet::closeRequested);

    m_player = new InlinePlayer(file, true, playerHeight, this);

    m_text = new QLabel(this);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setFont(Tokens::Typography::reading.font());
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setWordWrap(true);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->addWidget(m_author, 1);
    header->addStretch(0);
    header->addWidget(m_reveal);
    header->addWidget(m_openOriginal);
    header->addWidget(m_close);

    auto *column = new QVBoxLayout(this);
    const int inset = int(padding);
    column->setContentsMargins(inset, inset, inset, inset);
    column->setSpacing(int(spacing));
    column->addLayout(header);
    column->addWidget(m_player);
    column->addWidget(m_text);

    applyText();
    // The text's colour follows the appearance.
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        applyText();
        update();
    });
}

QString PlayerSheet::datePattern(const QLocale &locale)
{
    QString pattern = locale.dateFormat(QLocale::LongFormat);
    // The weekday and whatever separates it from the rest.
    static const QRegularExpression weekday(QStringLiteral("[,،、\\s]*d{3,4}[,،、.]?\\s*"));
    pattern.replace(weekday, QStringLiteral(" "));
    pattern = pattern.trimmed();
    static const QRegularExpression trailing(QStringLiteral("[,،、\\s]+$"));
    pattern.remove(trailing);
    pattern.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return pattern;
}

QString PlayerSheet::postedText(Date postedAt, const QLocale &locale, const QTimeZone &zone)
{
    const QDateTime moment = postedAt.toDateTime();
    if (!moment.isValid())
        return QString();
    return locale.toString(moment.toTimeZone(zone).date(), datePattern(locale));
}

QString PlayerSheet::visibleText(const QString &text, const QFont &font, double width, int lines)
{
    return TextLines::visible(text, font, width, lines);
}

void PlayerSheet::applyText()
{
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::WindowText, Tokens::Colors::textSecondary());
    palette.setColor(QPalette::Text, Tokens::Colors::textSecondary());
    m_text->setPalette(palette);
    const double width = sheetWidth - 2 * padding;
    m_text->setText(visibleText(m_post.text, m_text->font(), width, textLines));
}

void PlayerSheet::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        applyText();
}

void PlayerSheet::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Tokens::Colors::card());
}

}  // namespace sw
