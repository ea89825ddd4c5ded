#include "StashwellUI/Sidebar/CollectionCreator.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include <climits>
#include <cmath>

namespace sw {

namespace {

QColor accentLine() { return ControlPainting::faded(Tokens::Colors::accent(), 0.45); }

int ceilInt(double v) { return static_cast<int>(std::ceil(v)); }

}  // namespace

// The name field on its card-coloured plate, the chosen swatch in front of it.
class CollectionCreator::NameRow : public QWidget {
public:
    static constexpr double rowHeight = 32;
    static constexpr double sidePadding = 10;
    static constexpr double spacing = 8;
    static constexpr double preview = 12;
    static constexpr double radius = 8;

    NameRow(CollectionCreator *form, QLineEdit *edit) : QWidget(form), m_form(form), m_edit(edit)
    {
        edit->setParent(this);
        setFixedHeight(static_cast<int>(rowHeight));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override { return QSize(160, static_cast<int>(rowHeight)); }
    QSize minimumSizeHint() const override { return QSize(80, static_cast<int>(rowHeight)); }

protected:
    void resizeEvent(QResizeEvent *) override
    {
        // QLineEdit keeps 2 of its own on each side, so the text starts where the row says.
        const int left = static_cast<int>(std::round(sidePadding + preview + spacing)) - 2;
        const int right = width() - static_cast<int>(sidePadding) + 2;
        const int h = m_edit->sizeHint().height();
        m_edit->setGeometry(left, (height() - h) / 2, std::max(0, right - left), h);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF bounds(rect());
        ContinuousShape::fill(painter, bounds, radius, Tokens::Colors::card());
        const QRectF swatch(sidePadding, bounds.center().y() - preview / 2, preview, preview);
        ContinuousShape::fill(painter, swatch, 3, Tokens::Colors::swatch(m_form->swatch()));
        ContinuousShape::strokeInside(painter, bounds, radius,
                                      m_form->isNameFocused() ? accentLine() : Tokens::Colors::lineStronger(), 1);
    }

private:
    CollectionCreator *m_form;
    QLineEdit *m_edit;
};

// One swatch: its colour in a rounded square, ringed when it is the chosen one.
class CollectionCreator::SwatchButton : public Pressable {
public:
    static constexpr double side = 18;
    static constexpr double margin = 2;

    SwatchButton(Swatch swatch, QWidget *parent) : Pressable(parent), m_swatch(swatch)
    {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setFocusPolicy(Qt::TabFocus);
    }

    Swatch swatch() const { return m_swatch; }
    void setChosen(bool chosen)
    {
        if (chosen == m_chosen)
            return;
        m_chosen = chosen;
        changed();
        notifySelectionChanged(this);
    }

    QSize sizeHint() const override
    {
        const int s = static_cast<int>(side + 2 * margin);
        return QSize(s, s);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
    QString accessibleText() const override { return CollectionCreator::swatchLabel(m_swatch); }
    bool isAccessiblySelectable() const override { return true; }
    bool isAccessiblySelected() const override { return m_chosen; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ControlPainting::applyPlainStyle(painter, state);
        ContinuousShape::fill(painter, rect.adjusted(margin, margin, -margin, -margin), 5, Tokens::Colors::swatch(m_swatch));
        if (m_chosen)
            ContinuousShape::strokeInside(painter, rect, 7, Tokens::Colors::textSecondary(), 2);
    }

private:
    Swatch m_swatch;
    bool m_chosen = false;
};

// The problem, wrapped over as many lines as it needs, or the hint on one line.
class CollectionCreator::MessageLine : public QWidget {
public:
    explicit MessageLine(CollectionCreator *form) : QWidget(form), m_form(form)
    {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    static QFont font(bool problem)
    {
        return (problem ? Tokens::Typography::caption : Tokens::Typography::monoSmall).font();
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        const bool problem = m_form->showsProblem();
        const QFontMetricsF metrics(font(problem));
        if (!problem)
            return ceilInt(metrics.height());
        const QRectF box = metrics.boundingRect(QRectF(0, 0, std::max(width, 1), INT_MAX),
                                                Qt::TextWordWrap | Qt::AlignLeft, m_form->message());
        return std::max(ceilInt(box.height()), ceilInt(metrics.height()));
    }
    QSize sizeHint() const override { return QSize(160, heightForWidth(160)); }
    QSize minimumSizeHint() const override { return QSize(0, heightForWidth(width() > 0 ? width() : 160)); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const bool problem = m_form->showsProblem();
        const QFont f = font(problem);
        painter.setFont(f);
        painter.setPen(problem ? Tokens::Colors::danger() : Tokens::Colors::muted());
        if (problem) {
            painter.drawText(QRectF(rect()), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_form->message());
        } else {
            const QFontMetricsF metrics(f);
            painter.drawText(QRectF(rect()), Qt::AlignLeft | Qt::AlignTop,
                             metrics.elidedText(m_form->message(), Qt::ElideRight, width()));
        }
    }

private:
    CollectionCreator *m_form;
};

// Cancel (a bordered caption) or confirm (accent filled, semibold, dimmed while not allowed).
class CollectionCreator::FormButton : public Pressable {
public:
    static constexpr double buttonHeight = 26;
    static constexpr double radius = 7;

    FormButton(bool confirm, QWidget *parent) : Pressable(parent), m_confirm(confirm)
    {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QString title() const { return m_title; }
    void setTitle(const QString &title)
    {
        if (title == m_title)
            return;
        m_title = title;
        changed(true);
        notifyNameChanged(this);
    }

    QSize sizeHint() const override
    {
        const QSizeF text = ControlPainting::textSize(font(), m_title);
        return QSize(ceilInt(text.width() + 2 * sidePadding()), static_cast<int>(buttonHeight));
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
    QString accessibleText() const override { return m_title; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        if (m_confirm && !state.enabled) {
            painter.setOpacity(painter.opacity() * 0.4);
        } else {
            ControlState plain = state;
            plain.enabled = true;
            ControlPainting::applyPlainStyle(painter, plain);
        }
        if (m_confirm)
            ContinuousShape::fill(painter, rect, radius, Tokens::Colors::accent());
        painter.setFont(font());
        painter.setPen(m_confirm ? Tokens::Colors::onAccent() : Tokens::Colors::textSecondary());
        painter.drawText(rect, Qt::AlignCenter, m_title);
        if (!m_confirm)
            ContinuousShape::strokeInside(painter, rect, radius, Tokens::Colors::lineStronger(), 1);
    }

private:
    bool m_confirm;
    QString m_title;

    double sidePadding() const { return m_confirm ? 12 : 10; }
    QFont font() const
    {
        return (m_confirm ? Tokens::Typography::caption.weighted(Tokens::Weight::semibold) : Tokens::Typography::caption)
            .font();
    }
};

CollectionCreator::CollectionCreator(QWidget *parent) : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    m_edit = new QLineEdit;
    m_edit->setFrame(false);
    m_edit->setFont(Tokens::Typography::body.font());
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_edit->setPlaceholderText(StashwellUIStrings::creatorNamePrompt());
    m_edit->setAccessibleName(StashwellUIStrings::creatorNameLabel());
    m_edit->installEventFilter(this);
    m_nameRow = new NameRow(this, m_edit);
    setFocusProxy(m_edit);

    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text == m_name)
            return;
        m_name = text;
        emit nameChanged(text);
    });
    connect(m_edit, &QLineEdit::returnPressed, this, [this] {
        if (m_canCreate)
            emit createRequested();
    });

    auto *swatches = new QHBoxLayout;
    swatches->setContentsMargins(0, 0, 0, 0);
    swatches->setSpacing(8);
    for (Swatch swatch : allSwatches) {
        auto *button = new SwatchButton(swatch, this);
        button->setChosen(swatch == m_swatch);
        connect(button, &QAbstractButton::clicked, this, [this, swatch] {
            // A click always writes, also the swatch already chosen.
            setSwatch(swatch);
            emit swatchChanged(swatch);
        });
        m_swatches.append(button);
        swatches->addWidget(button);
    }
    swatches->addStretch(1);

    m_message = new MessageLine(this);

    m_cancel = new FormButton(false, this);
    m_cancel->setTitle(StashwellUIStrings::creatorCancel());
    connect(m_cancel, &QAbstractButton::clicked, this, &CollectionCreator::cancelRequested);
    m_confirm = new FormButton(true, this);
    m_confirm->setEnabled(false);
    connect(m_confirm, &QAbstractButton::clicked, this, [this] {
        if (m_canCreate)
            emit createRequested();
    });
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(6);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_confirm);

    auto *column = new QVBoxLayout(this);
    const int side = static_cast<int>(halo + padding);
    const int top = static_cast<int>(verticalPadding + padding);
    column->setContentsMargins(side, top, side, top);
    column->setSpacing(static_cast<int>(spacing));
    column->addWidget(m_nameRow);
    column->addLayout(swatches);
    column->addWidget(m_message);
    column->addLayout(buttons);

    applyTheme();
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        applyTheme();
        update();
        m_nameRow->update();
        m_message->update();
    });
}

void CollectionCreator::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    m_edit->setText(name);
}

void CollectionCreator::setSwatch(Swatch swatch)
{
    if (swatch == m_swatch)
        return;
    m_swatch = swatch;
    for (SwatchButton *button : m_swatches)
        button->setChosen(button->swatch() == swatch);
    m_nameRow->update();
}

void CollectionCreator::setProblem(const std::optional<QString> &problem)
{
    if (problem == m_problem)
        return;
    m_problem = problem;
    messageChanged();
}

void CollectionCreator::setCanCreate(bool canCreate)
{
    if (canCreate == m_canCreate)
        return;
    m_canCreate = canCreate;
    m_confirm->setEnabled(canCreate);
}

void CollectionCreator::setFilesSave(bool filesSave)
{
    if (filesSave == m_filesSave)
        return;
    m_filesSave = filesSave;
    if (!m_problem)
        messageChanged();
}

void CollectionCreator::setConfirmTitle(const QString &title)
{
    if (title == m_confirmTitle)
        return;
    m_confirmTitle = title;
    m_confirm->setTitle(title);
    if (!m_problem)
        messageChanged();
}

QString CollectionCreator::hint(const QString &confirmTitle, bool filesSave)
{
    const QString hint = StashwellUIStrings::creatorHint(confirmTitle.toLower());
    return filesSave ? StashwellUIStrings::creatorFiledHere() + hint : hint;
}

QString CollectionCreator::message() const { return m_problem ? *m_problem : hint(m_confirmTitle, m_filesSave); }

QString CollectionCreator::swatchLabel(Swatch swatch)
{
    QString name = QString::fromLatin1(swatchName(swatch));
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

Pressable *CollectionCreator::swatchButton(Swatch swatch) const
{
    for (SwatchButton *button : m_swatches) {
        if (button->swatch() == swatch)
            return button;
    }
    return nullptr;
}

Pressable *CollectionCreator::cancelButton() const { return m_cancel; }

Pressable *CollectionCreator::confirmButton() const { return m_confirm; }

void CollectionCreator::messageChanged()
{
    m_message->updateGeometry();
    m_message->update();
    updateGeometry();
}

int CollectionCreator::heightForWidth(int width) const { return layout()->totalHeightForWidth(width); }

QSize CollectionCreator::sizeHint() const
{
    const QSize hint = layout()->totalSizeHint();
    return QSize(hint.width(), heightForWidth(hint.width()));
}

QSize CollectionCreator::minimumSizeHint() const { return layout()->totalMinimumSize(); }

void CollectionCreator::applyTheme()
{
    QPalette p = m_edit->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Window, Qt::transparent);
    p.setColor(QPalette::Text, Tokens::Colors::text());
    p.setColor(QPalette::PlaceholderText, Tokens::Colors::muted());
    p.setColor(QPalette::Highlight, accentLine());
    p.setColor(QPalette::HighlightedText, Tokens::Colors::text());
    m_edit->setPalette(p);
}

void CollectionCreator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(halo, verticalPadding, -halo, -verticalPadding);
    // The halo: a band just outside the card's edge, its corners concentric with the card's.
    ContinuousShape::strokeInside(painter, card.adjusted(-halo, -halo, halo, halo), radius + halo,
                                  ControlPainting::faded(Tokens::Colors::accent(), 0.14), halo);
    WellStyle::well().fill(painter, card, radius);
    ContinuousShape::strokeInside(painter, card, radius, accentLine(), 1);
}

void CollectionCreator::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_edit->setFocus(Qt::OtherFocusReason);
}

void CollectionCreator::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        emit cancelRequested();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CollectionCreator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const bool focused = event->type() == QEvent::FocusIn;
        if (focused != m_focused) {
            m_focused = focused;
            m_nameRow->update();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace sw
