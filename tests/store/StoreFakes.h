#pragma once

#include "platform/PowerEvents.h"

// Stand-ins for the platform services the store uses, driven by the tests.

class ScriptedPowerEvents final : public tavlin::platform::PowerEvents {
public:
    void wakeSystem() { emit systemDidWake(); }
    void sleepDisplay() { emit displayDidSleep(); }
    void wakeDisplay() { emit displayDidWake(); }
};
