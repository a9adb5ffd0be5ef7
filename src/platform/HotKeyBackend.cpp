#include "platform/HotKeyBackend.h"

#include "platform/X11Connection.h"
#include "platform/X11HotKeyBackend.h"

namespace tavlin::platform {

namespace {

class RefusingHotKeyBackend final : public HotKeyBackend {
public:
    int grab(KeyChord) override { return noKeyGrabs; }
    void ungrab(KeyChord) override {}
    bool isHeldElsewhere(KeyChord) override { return false; }
};

}  // namespace

std::unique_ptr<HotKeyBackend> makeSystemHotKeyBackend() {
    if (xcb_connection_t* connection = qtX11Connection()) return std::make_unique<X11HotKeyBackend>(connection);
    return std::make_unique<RefusingHotKeyBackend>();
}

}  // namespace tavlin::platform
