#include "StashwellUI/Controls/ConnectionStatus.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QTimer>

#include <cmath>

namespace sw {

namespace {

QFont badgeFont() { return Tokens::Typography::caption.font(); }

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

}  // namespace

ConnectionStatus::ConnectionStatus(const ConnectionState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(textFor(state));
    m_spin = new QTimer(this);
    m_spin->setInterval(80);
    connect(m_spin, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 12;
        update();
    });
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
    syncSpinner();
}

void ConnectionStatus::setState(const ConnectionState &state)
{
    if (state == m_state)
        return;
    m_state = state;
    setAccessibleName(textFor(state));
    syncSpinner();
    updateGeometry();
    update();
}

QString ConnectionStatus::symbolFor(const ConnectionState &state)
{
    return std::visit(Overloaded{
                          [](const ConnectionState::Unreachable &) { return QStringLiteral("exclamationmark.triangle.fill"); },
                          [](const ConnectionState::Unknown &) { return QStringLiteral("circle.dashed"); },
                          [](const ConnectionState::Checking &) { return QString(); },
                          [](const ConnectionState::Reachable &) { return QStringLiteral("checkmark.circle.fill"); },
                      },
                      state.value());
}

QString ConnectionStatus::textFor(const ConnectionState &state)
{
    return std::visit(Overloaded{
                          [](const ConnectionState::Unreachable &s) { return s.message; },
                          [](const ConnectionState::Unknown &) { return StashwellUIStrings::connectionNotChecked(); },
                          [](const ConnectionState::Checking &) { return StashwellUIStrings::connectionReaching(); },
                          [](const ConnectionState::Reachable &) { return StashwellUIStrings::connectionReachable(); },
                      },
                      state.value());
}

QColor ConnectionStatus::colorFor(const ConnectionState &state)
{
    return std::visit(Overloaded{
                          [](const ConnectionState::Unreachable &) { return Tokens::Colors::danger(); },
                          [](const ConnectionState::Unknown &) { return Tokens::Colors::muted(); },
                          [](const ConnectionState::Checking &) { return Tokens::Colors::muted(); },
                          [](const ConnectionState::Reachable &) { return Tokens::Colors::ok(); },
                      },
                      state.value());
}

QStringList ConnectionStatus::lines(const QString &text, double width)
{
    const QFont font = badgeFont();
    const QFontMetricsF metrics(font);
    if (text.isEmpty() || width <= 0)
        return {text};
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList result;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (result.size() == maximumLines - 1) {
            // The last line allowed takes the rest of the text, cut at its end when too long.
            const QString rest = text.mid(line.textStart()).trimmed();
            result.append(metrics.horizontalAdvance(rest) <= width + 0.5 ? rest : metrics.elidedText(rest, Qt::ElideRight, width));
            break;
        }
        result.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return result;
}

bool ConnectionStatus::isSpinning() const { return m_spin->isActive(); }

void ConnectionStatus::syncSpinner()
{
    const bool spin = m_state.isChecking() && isVisible() && Tokens::Motion::isEnabled();
    if (spin && !m_spin->isActive())
        m_spin->start();
    else if (!spin)
        m_spin->stop();
}

void ConnectionStatus::showEvent(QShowEvent *) { syncSpinner(); }
void ConnectionStatus::hideEvent(QHideEvent *) { syncSpinner(); }

double ConnectionStatus::leadingSide() const
{
    return m_state.isChecking() ? spinnerSide : ControlPainting::symbolSide(Tokens::Typography::caption.size);
}

int ConnectionStatus::heightForWidth(int width) const
{
    const double textWidth = std::max(1.0, width - leadingSide() - spacing);
    const qsizetype count = lines(textFor(m_state), textWidth).size();
    const double lineHeight = std::ceil(QFontMetricsF(badgeFont()).lineSpacing());
    return static_cast<int>(std::ceil(std::max(leadingSide(), lineHeight * double(std::max<qsizetype>(1, count)))));
}

QSize ConnectionStatus::sizeHint() const
{
    const double text = ControlPainting::textSize(badgeFont(), textFor(m_state)).width();
    // A long message wraps rather than widening the badge without end.
    const int width = static_cast<int>(std::ceil(leadingSide() + spacing + std::min(text, 320.0)));
    return QSize(width, heightForWidth(width));
}

QSize ConnectionStatus::minimumSizeHint() const
{
    return QSize(static_cast<int>(std::ceil(leadingSide() + spacing)), static_cast<int>(std::ceil(leadingSide())));
}

void ConnectionStatus::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = colorFor(m_state);
    const double side = leadingSide();
    const QFont font = badgeFont();
    const QFontMetricsF metrics(font);
    const double textWidth = std::max(0.0, width() - side - spacing);
    const QStringList shown = lines(textFor(m_state), textWidth);
    const double lineHeight = std::ceil(metrics.lineSpacing());
    const double block = lineHeight * double(shown.size());
    const double midY = height() / 2.0;
    // The symbol stands beside the first line.
    const double firstLineMid = midY - block / 2 + lineHeight / 2;
    const QRectF lead(0, firstLineMid - side / 2, side, side);

    if (m_state.isChecking()) {
        // An indeterminate spinner: twelve spokes, the brightest one turning.
        const QColor spoke = Tokens::Colors::textSecondary();
        painter.save();
        painter.translate(lead.center());
        for (int i = 0; i < 12; ++i) {
            const int age = (i - m_step + 12) % 12;
            QColor c = spoke;
            c.setAlphaF(static_cast<float>(0.15 + 0.85 * (1.0 - age / 12.0)));
            painter.setPen(QPen(c, 1.5, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(0, -side * 0.22), QPointF(0, -side * 0.46));
            painter.rotate(-30);
        }
        painter.restore();
    } else {
        Symbols::paint(painter, lead, symbolFor(m_state), color);
    }

    painter.setFont(font);
    painter.setPen(color);
    double y = midY - block / 2 + (lineHeight - metrics.height()) / 2 + metrics.ascent();
    for (const QString &line : shown) {
        painter.drawText(QPointF(side + spacing, y), line);
        y += lineHeight;
    }
}

}  // namespace sw
