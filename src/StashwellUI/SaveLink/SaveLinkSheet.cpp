#include "StashwellUI/SaveLink/SaveLinkSheet.h"

#include "Capture/PostLink.h"
#include "Offline/LocalCopy.h"
#include "StashwellUI/Controls/BusySpinner.h"
#include "StashwellUI/Controls/DialogWindow.h"
#include "StashwellUI/Controls/FitToLayout.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/InsetField.h"
#include "StashwellUI/Controls/KeyCap.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Design/XGlyph.h"
#include "StashwellUI/Design/Skeleton.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/SaveLink/SaveLinkOptions.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <functional>

namespace sw {

namespace {

constexpr int inset = 22;

// A plain area filled with a colour of the appearance, with rounded corners when asked.
class FilledArea : public QWidget {
public:
    FilledArea(std::function<QColor()> color, double radius, QWidget *parent)
        : QWidget(parent), m_color(std::move(color)), m_radius(radius)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (m_radius > 0)
            ContinuousShape::fill(painter, QRectF(rect()), m_radius, m_color());
        else
            painter.fillRect(rect(), m_color());
    }

private:
    std::function<QColor()> m_color;
    double m_radius;
};

QVBoxLayout *column(QWidget *owner, int spacing, const QMargins &margins = {})
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(margins);
    layout->setSpacing(spacing);
    return layout;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// LinkField

LinkField::LinkField(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setFont(Tokens::Typography::font(14, Tokens::Weight::regular, Tokens::Design::monospaced));
    setAttribute(Qt::WA_MacShowFocusRect, false);
    // QLineEdit keeps 2 of its own on each side.
    setTextMargins(int(sidePadding) - 2, 0, int(sidePadding) - 2, 0);
    setFixedHeight(int(fieldHeight));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setPlaceholderText(placeholder());
    setAccessibleName(StashwellUIStrings::saveLinkPostURL());
    applyTheme();
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        applyTheme();
        update();
    });
}

QString LinkField::placeholder()
{
    return QStringLiteral("https://%1/username/status/\u2026").arg(PostLink::mainHost());
}

void LinkField::applyTheme() { applyFieldPalette(*this); }

void LinkField::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        // Taken here, so that the dialog does not act on the same press a second time.
        event->accept();
        if (!event->isAutoRepeat())
            emit submitted();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LinkField::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        ContinuousShape::fill(painter, QRectF(rect()), radius, Tokens::Colors::window());
    }
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    ContinuousShape::strokeInside(painter, QRectF(rect()), radius, ControlPainting::faded(Tokens::Colors::accent(), 0.6), 1);
}

// ---------------------------------------------------------------------------------------------
// SaveLinkSheet

SaveLinkSheet::SaveLinkSheet(QWidget *parent) : QDialog(parent, dialogWindowFlags)
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(StashwellUIStrings::saveLinkTitle());
    setSizeGripEnabled(false);

    // Header.
    auto *header = new QWidget(this);
    auto *kicker = new Kicker(StashwellUIStrings::saveLinkKicker(), header);
    auto *title = new StyledText(StashwellUIStrings::saveLinkTitle(), Tokens::Typography::title, &Tokens::Colors::text, header);
    auto *pitch = new StyledText(StashwellUIStrings::saveLinkPitch(), Tokens::Typography::body, &Tokens::Colors::muted, header);
    auto *headerColumn = column(header, 6, QMargins(inset, inset, inset, 0));
    headerColumn->addWidget(kicker, 0, Qt::AlignLeft);
    headerColumn->addWidget(title);
    headerColumn->addWidget(pitch);

    // The phase panel: one of the link group, the fetching block and the preview, with the
    // choices under the first and the last.
    auto *panel = new QWidget(this);
    auto *panelColumn = column(panel, 14, QMargins(inset, inset, inset, inset));

    m_linkGroup = new QWidget(panel);
    auto *label = new StyledText(StashwellUIStrings::saveLinkPostURL(), Tokens::Typography::caption.weighted(Tokens::Weight::medium),
                                 &Tokens::Colors::muted, m_linkGroup);
    m_field = new LinkField(m_linkGroup);
    m_problem = new StyledText(QString(), Tokens::Typography::caption, &Tokens::Colors::danger, m_linkGroup);
    auto *linkColumn = column(m_linkGroup, 6);
    linkColumn->addWidget(label);
    linkColumn->addWidget(m_field);
    linkColumn->addWidget(m_problem);
    connect(m_field, &LinkField::submitted, this, [this] {
        if (m_phase.isTyping())
            emit fetchRequested();
    });
    connect(m_field, &QLineEdit::textEdited, this, [this](const QString &text) { emit urlEdited(text); });
    connect(m_field, &QLineEdit::textChanged, this, [this] {
        applyMainButton();
        if (m_phase.isFetching())
            m_fetchingText->setText(StashwellUIStrings::saveLinkFetching(fetchingLink(m_field->text())));
    });

    m_fetching = new QWidget(panel);
    // Holds the focus while fetching, so that keys reach the sheet and no button.
    m_fetching->setFocusPolicy(Qt::ClickFocus);
    auto *status = new QHBoxLayout;
    status->setContentsMargins(0, 0, 0, 0);
    status->setSpacing(6);
    m_spinner = new BusySpinner(BusySpinner::smallSide, m_fetching);
    m_spinner->setColorRole(&Tokens::Colors::muted);
    m_fetchingText = new StyledText(QString(), Tokens::Typography::mono, &Tokens::Colors::muted, m_fetching);
    m_fetchingText->setMaximumLines(1);
    status->addWidget(m_spinner, 0, Qt::AlignVCenter);
    status->addWidget(m_fetchingText, 1, Qt::AlignVCenter);
    auto *fetchingColumn = column(m_fetching, 10);
    fetchingColumn->addLayout(status);
    fetchingColumn->addWidget(new Skeleton(std::nullopt, 120, m_fetching));
    fetchingColumn->addWidget(new Skeleton(360, 10, m_fetching), 0, Qt::AlignLeft);
    fetchingColumn->addWidget(new Skeleton(230, 10, m_fetching), 0, Qt::AlignLeft);

    m_preview = new FilledArea(&Tokens::Colors::window, 14, panel);
    m_thumbnail = new MediaThumbnailView(MediaThumbnail(Post{}, LocalCopy::linkOnly(), 120, false), m_preview);
    m_thumbnail->setFixedSize(96, 120);
    auto *details = new QVBoxLayout;
    details->setContentsMargins(0, 0, 0, 0);
    details->setSpacing(6);
    auto *authorRow = new QHBoxLayout;
    authorRow->setContentsMargins(0, 0, 0, 0);
    authorRow->setSpacing(6);
    m_xGlyph = new XGlyph(12, m_preview);
    m_author = new StyledText(QString(), Tokens::Typography::bodyStrong, &Tokens::Colors::accentInk, m_preview);
    m_author->setMaximumLines(1);
    authorRow->addWidget(m_xGlyph, 0, Qt::AlignVCenter);
    authorRow->addWidget(m_author, 1, Qt::AlignVCenter);
    m_postText = new StyledText(QString(), Tokens::Typography::body, &Tokens::Colors::textSecondary, m_preview);
    m_postText->setMaximumLines(4);
    m_summary = new StyledText(QString(), Tokens::Typography::mono, &Tokens::Colors::muted, m_preview);
    details->addLayout(authorRow);
    details->addWidget(m_postText);
    details->addWidget(m_summary);
    details->addStretch(1);
    auto *card = new QHBoxLayout(m_preview);
    card->setContentsMargins(12, 12, 12, 12);
    card->setSpacing(14);
    card->addWidget(m_thumbnail, 0, Qt::AlignTop);
    card->addLayout(details, 1);

    m_options = new SaveLinkOptions(panel);
    connect(m_options, &SaveLinkOptions::downloadsMediaChanged, this, [this](bool on) {
        m_downloadsMedia = on;
        applySummary();
        emit downloadsMediaChanged(on);
    });
    connect(m_options, &SaveLinkOptions::qualityChanged, this, [this](Quality quality) {
        m_quality = quality;
        applySummary();
        emit qualityChanged(quality);
    });
    connect(m_options, &SaveLinkOptions::collectionChanged, this, [this](const std::optional<Collection::ID> &collection) {
        m_collection = collection;
        emit collectionChanged(collection);
    });

    panelColumn->addWidget(m_linkGroup);
    panelColumn->addWidget(m_fetching);
    panelColumn->addWidget(m_preview);
    panelColumn->addWidget(m_options);

    // Footer.
    auto *footer = new FilledArea(&Tokens::Colors::panel, 0, this);
    auto *hint = new QHBoxLayout;
    hint->setContentsMargins(0, 0, 0, 0);
    hint->setSpacing(6);
    hint->addWidget(new KeyCap(KeyCap::Keys::paste, footer), 0, Qt::AlignVCenter);
    auto *hintText = new StyledText(StashwellUIStrings::saveLinkPasteAnywhere(), Tokens::Typography::caption, &Tokens::Colors::muted, footer);
    hintText->setMaximumLines(1);
    hint->addWidget(hintText, 1, Qt::AlignVCenter);
    m_cancel = new GlassButton(StashwellUIStrings::saveLinkCancel(), QString(), Tone::neutral, footer);
    m_main = new GlassButton(StashwellUIStrings::saveLinkFetchPost(), QString(), Tone::accent, footer);
    connect(m_cancel, &QAbstractButton::clicked, this, &SaveLinkSheet::cancelRequested);
    connect(m_main, &QAbstractButton::clicked, this, &SaveLinkSheet::activateMain);
    auto *footerRow = new QHBoxLayout(footer);
    footerRow->setContentsMargins(inset, 12, inset, 12);
    footerRow->setSpacing(8);
    footerRow->addLayout(hint, 1);
    footerRow->addWidget(m_cancel, 0, Qt::AlignVCenter);
    footerRow->addWidget(m_main, 0, Qt::AlignVCenter);

    auto *sheet = column(this, 0);
    sheet->addWidget(header);
    sheet->addWidget(panel);
    sheet->addWidget(footer);

    // The colours drawn by fixed tints follow the appearance.
    const auto applyTints = [kicker, this] {
        kicker->setTint(Tokens::Colors::accentInk());
        m_xGlyph->setColor(Tokens::Colors::muted());
    };
    applyTints();
    connect(&Theme::instance(), &Theme::changed, this, applyTints);

    applyPhase();
}

SaveLinkSheet::~SaveLinkSheet() = default;

void SaveLinkSheet::setPhase(const SaveLinkPhase &phase)
{
    if (phase == m_phase)
        return;
    m_phase = phase;
    applyPhase();
}

QString SaveLinkSheet::url() const { return m_field->text(); }

void SaveLinkSheet::setUrl(const QString &url)
{
    if (url != m_field->text())
        m_field->setText(url);
}

void SaveLinkSheet::setDownloadsMedia(bool on)
{
    m_downloadsMedia = on;
    m_options->setDownloadsMedia(on);
    applySummary();
}

void SaveLinkSheet::setQuality(Quality quality)
{
    m_quality = quality;
    m_options->setQuality(quality);
    applySummary();
}

void SaveLinkSheet::setCollection(const std::optional<Collection::ID> &collection)
{
    m_collection = collection;
    m_options->setCollection(collection);
}

void SaveLinkSheet::setCollections(const QList<Collection> &collections)
{
    m_collections = collections;
    m_options->setCollections(collections);
}

QString SaveLinkSheet::mediaSummary(const Post &post, bool downloadsMedia, Quality quality)
{
    QStringList parts{StashwellUIStrings::mediaText()};
    std::int64_t videos = 0;
    std::int64_t images = 0;
    for (const Attachment &attachment : post.attachments) {
        if (attachment.isVideo())
            ++videos;
        else if (attachment.isImage())
            ++images;
    }
    if (videos == 1)
        parts.append(StashwellUIStrings::mediaVideoOne(1));
    else if (videos > 1)
        parts.append(StashwellUIStrings::mediaVideoMany(videos));
    if (images == 1)
        parts.append(StashwellUIStrings::mediaImageOne(1));
    else if (images > 1)
        parts.append(StashwellUIStrings::mediaImageMany(images));
    if (post.hasMedia())
        parts.last() += QStringLiteral(" (~") + Formatting::bytes(post.mediaBytes(quality)) + u')';
    parts.append(StashwellUIStrings::mediaLink());
    if (post.hasMedia())
        parts.append(downloadsMedia ? StashwellUIStrings::saveLinkWillDownload() : StashwellUIStrings::saveLinkLinkOnly());
    return parts.join(QStringLiteral(" \u00B7 "));
}

QString SaveLinkSheet::fetchingLink(const QString &url)
{
    return QString(url).remove(QStringLiteral("https://"), Qt::CaseSensitive);
}

QString SaveLinkSheet::authorText(const Post &post)
{
    if (post.link.isX())
        return u'@' + post.author.handle.name;
    return post.author.name;
}

void SaveLinkSheet::applyPhase()
{
    const bool typing = m_phase.isTyping();
    const bool fetching = m_phase.isFetching();
    const Post *post = m_phase.post();

    m_linkGroup->setVisible(typing);
    const std::optional<QString> problem = m_phase.problem();
    m_problem->setText(problem.value_or(QString()));
    m_problem->setVisible(problem.has_value());

    m_fetching->setVisible(fetching);
    if (fetching)
        m_fetchingText->setText(StashwellUIStrings::saveLinkFetching(fetchingLink(m_field->text())));

    m_preview->setVisible(post != nullptr);
    if (post) {
        m_thumbnail->setThumbnail(MediaThumbnail(*post, LocalCopy::linkOnly(), 120, false));
        m_xGlyph->setVisible(post->link.isX());
        m_author->setText(authorText(*post));
        m_postText->setText(post->text);
    }
    applySummary();

    m_options->setVisible(!fetching);
    applyMainButton();
    placeFocus();
    fitToSizeHint(*this, m_fitting);
}

void SaveLinkSheet::placeFocus()
{
    if (!isVisible())
        return;
    // Hiding the focused panel would hand the focus to the next control, which may be Cancel: a
    // Return pressed again while fetching would then cancel the look-up, and one pressed on the
    // found post would cancel instead of saving. The focus goes where Return does the phase's
    // default: the link field, the fetching panel (nothing), or the Save button.
    if (m_phase.isTyping())
        m_field->setFocus(Qt::OtherFocusReason);
    else if (m_phase.isFetching())
        m_fetching->setFocus(Qt::OtherFocusReason);
    else
        m_main->setFocus(Qt::OtherFocusReason);
}

void SaveLinkSheet::applyMainButton()
{
    if (m_phase.isTyping()) {
        m_main->setTitle(StashwellUIStrings::saveLinkFetchPost());
        m_main->setTone(Tone::accent);
        // Any text enables it, spaces included: what the text is worth is the look-up's question.
        m_main->setEnabled(!m_field->text().isEmpty());
    } else if (m_phase.isFound()) {
        m_main->setTitle(StashwellUIStrings::saveLinkSave());
        m_main->setTone(Tone::accent);
        m_main->setEnabled(true);
    } else {
        m_main->setTitle(StashwellUIStrings::saveLinkFetchingButton());
        m_main->setTone(Tone::neutral);
        m_main->setEnabled(false);
    }
}

void SaveLinkSheet::applySummary()
{
    if (const Post *post = m_phase.post())
        m_summary->setText(mediaSummary(*post));
}

void SaveLinkSheet::activateMain()
{
    if (m_phase.isTyping())
        emit fetchRequested();
    else if (m_phase.isFound())
        emit saveRequested();
}

void SaveLinkSheet::defaultAction()
{
    if (m_main->isEnabled())
        activateMain();
}

void SaveLinkSheet::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            if (!event->isAutoRepeat())
                defaultAction();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            if (!event->isAutoRepeat())
                reject();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void SaveLinkSheet::reject() { emit cancelRequested(); }

void SaveLinkSheet::dismiss() { QDialog::done(QDialog::Rejected); }

int SaveLinkSheet::exec()
{
    open();
    return 0;
}

QSize SaveLinkSheet::sizeHint() const { return layoutSizeAtWidth(*this, int(sheetWidth)); }

bool SaveLinkSheet::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    fitAfter(*this, *event, m_fitting);
    // Once shown and fitted, the focus goes where Return does the phase's default.
    if (event->type() == QEvent::Show)
        placeFocus();
    return handled;
}

void SaveLinkSheet::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Tokens::Colors::card());
}

}  // namespace sw
