#pragma once

// What the probe programs of the X11 tests share: lines for the test on
// standard output, and a line said once the program is ready for keys.

#include <QObject>
#include <QString>
#include <QTimer>

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
