#pragma once

#include "devmodes/Output.h"
#include "devmodes/PanelDriver.h"
#include "platform/Clock.h"

#include <QString>

#include <chrono>

// A panel driver that notes what a scenario does with the panel among the
// lines it prints: each report as "[<tag>] @<seconds since the start>",
// each action in angle brackets.
struct PanelDriverFake {
    tavlin::platform::Clock::TimePoint start = tavlin::platform::Clock::main().now();
    std::vector<std::pair<QString, double>> timings = {{QStringLiteral("makePanel"), 0.5}};

    static void note(const QString& line) { tavlin::devmodes::printLine(line); }

    QString at() const {
        return QString::number(std::chrono::duration<double>(tavlin::platform::Clock::main().now() - start).count(),
                               'f', 1);
    }

    tavlin::devmodes::PanelDriver driver() {
        using tavlin::panel::Anchor;
        return {
            .open =
                [](std::optional<QString> text, std::optional<Anchor> anchor) {
                    note(QStringLiteral("<open %1 %2>")
                             .arg(text ? QString(*text).replace(u'\n', u'|') : QStringLiteral("-"),
                                  !anchor                         ? QStringLiteral("-")
                                  : *anchor == Anchor::statusItem ? QStringLiteral("statusItem")
                                                                  : QStringLiteral("screenCenter")));
                },
            .close = [] { note(QStringLiteral("<close>")); },
            .sendEscape = [] { note(QStringLiteral("<escape>")); },
            .postListKey = [](tavlin::panel::PanelListKey key) { note(QStringLiteral("<list %1>").arg(int(key))); },
            .typeAndReport = []() -> tavlin::platform::Task<> {
                note(QStringLiteral("<type and report>"));
                co_return;
            },
            .lastOpenTimings = [this] { return timings; },
            .diagnostics = {.activationState =
                                [this](const QString& tag) { note(u'[' + tag + QStringLiteral("] @") + at()); },
                            .printGeometry = [] { note(QStringLiteral("<geometry>")); }},
        };
    }
};
