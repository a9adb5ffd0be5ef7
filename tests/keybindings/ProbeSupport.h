#pragma once

// What the probe programs of the X11 tests share: lines for the test on
// standard output, and a line said once the program is ready for keys.

#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <functional>

inline void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// Polls until `ready` holds, then says what `line` gives a little later,
// once what made it hold has settled (a grab taken, a turn of refused focus).
inline void sayOnceReady(QObject* context, std::function<bool()> ready, std::function<QString()> line) {
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, poll, [context, poll, ready = std::move(ready), line = std::move(line)] {
        if (!ready()) return;
        poll->stop();
        QTimer::singleShot(200, context, [line] { say(line()); });
    });
    poll->start(20);
}

// Shows the window and says `line` once the window manager has placed it and
// made it active. A window mapped while the window manager is still starting
// is now and then never managed: it is mapped again. One that is never made
// active is announced all the same, after two seconds: the test's click
// activates it.
inline void showThenSayReady(QWidget& window, std::function<QString()> line) {
    window.show();
    int polls = 0;
    sayOnceReady(
        &window,
        [&window, polls]() mutable {
            ++polls;
            if (!window.windowHandle()->isExposed()) {
                if (polls % 50 == 0) {
                    window.hide();
                    window.show();
                }
                return false;
            }
            if (window.isActiveWindow() || polls > 100) return true;
            window.activateWindow();
            return false;
        },
        std::move(line));
}
