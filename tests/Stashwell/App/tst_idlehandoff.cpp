// On an X server: once the program is idle after a frame, the next frame starts painting without
// asking the server anything; and what the server shows after it uncovers a window is what the
// window painted, with areas the server scrolled for it and windows with an alpha channel.

#include "Stashwell/App/IdleHandOff.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <functional>
#include <memory>

using namespace sw::app;

namespace {

// Rows of colours that change with each row, so that content shown a row off differs.
class Rows : public QWidget {
public:
    explicit Rows(int shade = 0, QWidget *parent = nullptr) : QWidget(parent), m_shade(shade)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    int paints = 0;
    QRegion lastRegion;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        lastRegion = event->region();
        QPainter painter(this);
        const QRect r = event->rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            painter.fillRect(QRect(r.left(), y, r.width(), 1), QColor::fromHsv((y * 7 + m_shade) % 360, 200, 230));
    }

private:
    int m_shade;
};

// Stands for work an input posted: notes what it finds when it is delivered.
class WorkPosted : public QObject {
public:
    explicit WorkPosted(std::function<void()> run) : m_run(std::move(run)) {}

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        m_run();
        return true;
    }

private:
    std::function<void()> m_run;
};

xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Requests sent to the server so far on the program's connection (one with no reply added).
unsigned requestsSoFar()
{
    return xcb_no_operation(connection()).sequence;
}

// Runs the event loop as the program does for `ms`: it waits for events when none is there (and so
// goes idle), where QTest's waits only look for them now and then.
void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void showAndSettle(QWidget &window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    idle(50);
}

// Covers `window` with another window for a moment: the server then asks it to show the part
// uncovered again, which it does from what it painted last, without painting.
void coverAndUncover(const QWidget &window)
{
    QWidget cover;
    cover.setWindowFlag(Qt::X11BypassWindowManagerHint);
    cover.setGeometry(QRect(window.mapToGlobal(QPoint()), window.size()));
    cover.setAutoFillBackground(true);
    cover.setPalette(QPalette(Qt::black));
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    idle(50);
    cover.hide();
    idle(100);
}

QImage onScreen(const QWidget &window)
{
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage painted(QWidget &window)
{
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TestIdleHandOff : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!IdleHandOff::applies())
            QSKIP("needs the X11 platform");
    }

    void aFrameAfterAnIdleMomentAsksTheServerNothing()
    {
        Rows window;
        window.setWindowFlag(Qt::X11BypassWindowManagerHint);
        window.setGeometry(40, 40, 300, 200);
        showAndSettle(window);
        // Requests of a frame painted at once, after a frame painted as usual and an idle moment.
        const auto frameRequests = [&window]() -> unsigned {
            const int before = window.paints;
            window.update();
            idle(50);
            if (window.paints == before)
                return 0;
            const unsigned start = requestsSoFar();
            window.repaint();
            return requestsSoFar() - start;
        };
        unsigned handedOff = 0;
        {
            IdleHandOff handOff;
            qApp->installEventFilter(&handOff);
            handedOff = frameRequests();
            QVERIFY(handedOff > 0);
            QVERIFY(handOff.handedOff() > 0);
        }
        const unsigned asked = frameRequests();
        // The one request between: the question whether the server has read the last frame.
        QCOMPARE(asked - handedOff, 1u);
    }

    void aHandOffWaitsForWhatIsPosted_data()
    {
        QTest::addColumn<int>("priority");
        QTest::newRow("an input's turn") << int(Qt::NormalEventPriority);
        QTest::newRow("an update request") << int(Qt::LowEventPriority);
    }

    // An input handled just after a frame posts its own work; the loop says it is about to wait
    // before it delivers that, and a hand-off then would keep the work waiting for the server.
    void aHandOffWaitsForWhatIsPosted()
    {
        QFETCH(int, priority);
        Rows window;
        window.setWindowFlag(Qt::X11BypassWindowManagerHint);
        window.setGeometry(40, 40, 300, 200);
        showAndSettle(window);
        IdleHandOff handOff;
        qApp->installEventFilter(&handOff);
        // A frame painted as the program paints them, without an idle moment after it.
        const int paints = window.paints;
        window.update();
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
        QCOMPARE(window.paints, paints + 1);
        const int before = handOff.handedOff();
        int seen = -1;
        WorkPosted work([&] { seen = handOff.handedOff(); });
        QCoreApplication::postEvent(&work, new QEvent(QEvent::User), priority);
        idle(50);
        QCOMPARE(seen, before);
        QCOMPARE(handOff.handedOff(), before + 1);
    }

    void theServerShowsWhatWasPainted_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("an area the server scrolled") << QStringLiteral("scroll");
        QTest::newRow("a part painted again") << QStringLiteral("part");
        QTest::newRow("a window with an alpha channel") << QStringLiteral("alpha");
    }

    void theServerShowsWhatWasPainted()
    {
        QFETCH(QString, change);
        IdleHandOff handOff;
        qApp->installEventFilter(&handOff);

        QWidget window;
        window.setWindowFlag(Qt::X11BypassWindowManagerHint);
        if (change == QLatin1String("alpha"))
            window.setAttribute(Qt::WA_TranslucentBackground);
        window.setGeometry(60, 60, 320, 240);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto *top = new Rows(90);
        top->setFixedHeight(40);
        layout->addWidget(top);
        auto *area = new QScrollArea;
        area->setFrameShape(QFrame::NoFrame);
        area->viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
        auto *content = new Rows;
        content->setMinimumHeight(2000);
        area->setWidgetResizable(true);
        area->setWidget(content);
        layout->addWidget(area);
        showAndSettle(window);
        if (change == QLatin1String("alpha") && !window.windowHandle()->format().hasAlpha())
            QSKIP("the X server has no visual with an alpha channel");

        const int before = handOff.handedOff();
        if (change == QLatin1String("scroll")) {
            content->lastRegion = QRegion();
            area->verticalScrollBar()->setValue(37);
            idle(50);
            QVERIFY(!content->lastRegion.isEmpty());
            // Only what scrolled in was painted: the rest the server moved.
            QVERIFY2(content->lastRegion.boundingRect().height() <= 37,
                     qPrintable(QString::number(content->lastRegion.boundingRect().height())));
        } else {
            const int paints = content->paints;
            content->update(QRect(10, 10, 40, 30));
            idle(50);
            QVERIFY(content->paints > paints);
        }
        // A window with an alpha channel is left to hand off its frames as it paints.
        QCOMPARE(handOff.handedOff() > before, change != QLatin1String("alpha"));
        coverAndUncover(window);
        const QImage shown = onScreen(window);
        const QImage expected = painted(window);
        QCOMPARE(shown.size(), expected.size());
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != expected.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("%1,%2: %3 shown, %4 painted")
                                         .arg(x)
                                         .arg(y)
                                         .arg(shown.pixel(x, y), 8, 16)
                                         .arg(expected.pixel(x, y), 8, 16)));
    }
};

QTEST_MAIN(TestIdleHandOff)
#include "tst_idlehandoff.moc"
