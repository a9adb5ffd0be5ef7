#include "platform/WindowSystem.h"

#include <gtest/gtest.h>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

TEST(ActivationTokenTest, TheWaylandTokenComesBeforeTheStartupIdAndAnEmptyOneIsNone) {
    const struct {
        QVariantMap platformData;
        QString token;
    } cases[] = {
        {{{u"activation-token"_s, u"wayland-1"_s}, {u"desktop-startup-id"_s, u"x11-1"_s}}, u"wayland-1"_s},
        {{{u"desktop-startup-id"_s, u"x11-1"_s}}, u"x11-1"_s},
        {{{u"activation-token"_s, QString()}, {u"desktop-startup-id"_s, u"x11-1"_s}}, u"x11-1"_s},
        {{{u"pwd"_s, u"/home"_s}}, QString()},
        {{}, QString()},
    };
    for (const auto& [platformData, token] : cases) EXPECT_EQ(activationToken(platformData), token);
}
