#include "Stashwell/Pages/Settings/NetworkSettingsView.h"

#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Controls/ConnectionStatus.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassSegments.h"
#include "StashwellUI/Controls/InsetField.h"
#include "StashwellUI/Controls/SettingsLine.h"
#include "StashwellUI/Controls/SettingsRow.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/Settings/SettingsSection.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace sw::app {

namespace {

using S = StashwellStrings;
using Mode = NetworkSettingsPage::Mode;

QString modeTitle(Mode mode)
{
    switch (mode) {
    case Mode::system: return S::networkSystem();
    case Mode::direct: return S::networkDirect();
    case Mode::http: return S::networkHttp();
    case Mode::socks: return S::networkSocks();
    }
    return QString();
}

QString modeNote(Mode mode)
{
    switch (mode) {
    case Mode::system: return S::networkSystemNote();
    case Mode::direct: return S::networkDirectNote();
    case Mode::http: return S::networkHttpNote();
    case Mode::socks: return S::networkSocksNote();
    }
    return QString();
}

// A plain holder of a layout; `fills` makes it take the whole width of its line.
QWidget *box(QBoxLayout *layout, bool fills = false)
{
    auto *widget = new QWidget;
    widget->setAttribute(Qt::WA_TranslucentBackground);
    if (fills)
        widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    widget->setLayout(layout);
    layout->setContentsMargins(0, 0, 0, 0);
    return widget;
}

bool isReturn(const QKeyEvent *event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }

// The placeholder of the paste field: two lines as a shell exports them, shown as they stand.
const QString kPastePlaceholder =
    QStringLiteral("export https_proxy=http://127.0.0.1:1087; export ALL_PROXY=socks5://127.0.0.1:1080");

}  // namespace

NetworkSettingsView::NetworkSettingsView(NetworkSettingsPage &page, QWidget *parent) : QWidget(parent), m_page(page)
{
    setAttribute(Qt::WA_TranslucentBackground);

    // The four ways, sharing the line's width.
    QList<GlassSegments::Option> modes;
    for (Mode mode : NetworkSettingsPage::allModes())
        modes.append({int(mode), modeTitle(mode), QString()});
    m_mode = new GlassSegments(modes, true);
    connect(m_mode, &GlassSegments::chosen, this, [this](const QVariant &value) { m_page.setMode(Mode(value.toInt())); });
    m_modeLine = new SettingsLine(m_mode);

    // The proxy's host and port, and why the host cannot be stored when it cannot.
    m_host = new InsetField;
    m_host->setPlaceholderText(S::networkHost());
    m_host->setFixedWidth(170);
    m_port = new InsetField;
    m_port->setPlaceholderText(S::networkPort());
    m_port->setFixedWidth(76);
    connect(m_host, &InsetField::textEdited, this, [this](const QString &text) { m_page.setHost(text); });
    connect(m_port, &InsetField::textEdited, this, [this](const QString &text) { m_page.setPort(text); });
    auto *fields = new QHBoxLayout;
    fields->setSpacing(8);
    fields->addWidget(m_host);
    fields->addWidget(m_port);
    m_problem = new StyledText(QString(), Tokens::Typography::caption, &Tokens::Colors::danger);
    auto *problem = new QVBoxLayout;
    problem->addWidget(m_problem);
    m_problemBox = box(problem);
    problem->setContentsMargins(0, 0, 0, 8);
    auto *proxy = new QVBoxLayout;
    proxy->setSpacing(0);
    proxy->addWidget(new SettingsRow(S::networkProxy(), std::nullopt, box(fields)));
    proxy->addWidget(m_problemBox);
    m_proxy = box(proxy);

    // The status, Test and Apply.
    m_status = new ConnectionStatus;
    m_test = new GlassButton(S::networkTest(), QString(), Tone::neutral);
    m_apply = new GlassButton(S::networkApply(), QString(), Tone::accent);
    connect(m_test, &GlassButton::clicked, this, [this] { m_page.startTest(); });
    connect(m_apply, &GlassButton::clicked, this, [this] { m_page.apply(); });
    auto *statusRow = new QHBoxLayout;
    statusRow->setSpacing(8);
    statusRow->addWidget(m_status, 1);
    statusRow->addSpacing(8);
    statusRow->addWidget(m_test);
    statusRow->addWidget(m_apply);
    m_statusLine = new SettingsLine(box(statusRow, true));

    // Pasted lines.
    m_paste = new InsetField;
    m_paste->setPlaceholderText(kPastePlaceholder);
    m_use = new GlassButton(S::networkUse(), QString(), Tone::neutral);
    connect(m_paste, &InsetField::textEdited, this, [this](const QString &text) { m_page.setShell(text); });
    // Return in the paste field uses its lines and goes no further (not to the default button).
    m_paste->installEventFilter(this);
    connect(m_use, &GlassButton::clicked, this, [this] { m_page.usePasted(); });
    auto *pasteRow = new QHBoxLayout;
    pasteRow->setSpacing(8);
    pasteRow->addWidget(m_paste, 1);
    pasteRow->addWidget(m_use);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(16);
    column->addWidget(new SettingsSection(S::networkPasteFromTerminal(), S::networkPasteNote(),
                                          {new SettingsLine(box(pasteRow, true))}));
    rebuildConnection();

    connect(&m_page, &NetworkSettingsPage::modeChanged, this, [this] {
        rebuildConnection();
        refresh();
    });
    for (auto signal : {&NetworkSettingsPage::hostChanged, &NetworkSettingsPage::portChanged,
                        &NetworkSettingsPage::statusChanged, &NetworkSettingsPage::shellChanged})
        connect(&m_page, signal, this, &NetworkSettingsView::refresh);
    refresh();
}

bool NetworkSettingsView::showsProxy() const
{
    return m_connection && m_connection->rows().contains(m_proxy);
}

void NetworkSettingsView::rebuildConnection()
{
    // The rows outlive the section: they are taken out before the old one goes, so that a row
    // whose press led here is not deleted under its own signal.
    for (QWidget *row : {m_modeLine, m_proxy, m_statusLine}) {
        row->hide();
        row->setParent(this);
    }
    if (m_connection) {
        layout()->removeWidget(m_connection);
        m_connection->hide();
        m_connection->deleteLater();
    }

    const Mode mode = m_page.mode();
    QList<QWidget *> rows{m_modeLine};
    if (NetworkSettingsPage::isProxy(mode))
        rows.append(m_proxy);
    rows.append(m_statusLine);
    m_connection = new SettingsSection(S::networkConnection(), modeNote(mode), rows);
    for (QWidget *row : rows)
        row->show();
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, m_connection);
}

void NetworkSettingsView::refresh()
{
    m_mode->setSelection(int(m_page.mode()));
    if (m_host->text() != m_page.host())
        m_host->setText(m_page.host());
    if (m_port->text() != m_page.port())
        m_port->setText(m_page.port());
    const auto problem = m_page.problem();
    m_problem->setText(problem.value_or(QString()));
    m_problemBox->setVisible(problem.has_value());
    m_status->setState(m_page.status());
    m_apply->setEnabled(m_page.canApply());
    if (m_paste->text() != m_page.shell())
        m_paste->setText(m_page.shell());
    m_use->setEnabled(m_page.canUsePasted());
}

bool NetworkSettingsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_paste && event->type() == QEvent::KeyPress && isReturn(static_cast<QKeyEvent *>(event))) {
        m_page.usePasted();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void NetworkSettingsView::keyPressEvent(QKeyEvent *event)
{
    if (isReturn(event)) {
        if (m_page.canApply())
            m_page.apply();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace sw::app
