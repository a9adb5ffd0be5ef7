#pragma once

#include "keybindings/Name.h"

#include <functional>
#include <memory>

namespace tavlin::KeyBindings {

enum class EventType { keyDown, keyUp };

// An open stream of a Name's hot-key presses and releases, made by
// KeyBindings::events(): its handler runs on the main thread for each one
// until the stream is ended or dropped. Move only; an empty one streams
// nothing.
//
// A stream joins the Name's dispatch on the next turn of the event loop, so
// presses before then are not seen, and leaves it on the turn after it
// ends; the handler is not called once the stream has ended.
class EventStream {
public:
    using Handler = std::function<void(EventType)>;

    EventStream() = default;
    EventStream(EventStream&& other) noexcept;
    EventStream& operator=(EventStream&& other) noexcept;
    EventStream(const EventStream&) = delete;
    EventStream& operator=(const EventStream&) = delete;
    ~EventStream();

    bool isOpen() const { return channel_ != nullptr; }
    void end();

private:
    // Shared with the stream tables, which hold it weakly.
    struct Channel {
        Handler handler;
        bool isOpen = true;
    };

    friend EventStream events(const Name& name, Handler handler);
    friend EventStream events(EventType type, const Name& name, Handler handler);

    EventStream(Name name, quint64 id, std::shared_ptr<Channel> channel)
        : name_(std::move(name)), id_(id), channel_(std::move(channel)) {}

    Name name_{QString()};
    quint64 id_ = 0;
    std::shared_ptr<Channel> channel_;
};

// Every press (keyDown) and release (keyUp) of the Name's hot key. The
// Name's stored shortcut is grabbed while a stream is open, also without
// attached actions.
[[nodiscard]] EventStream events(const Name& name, EventStream::Handler handler);
// Only the presses, or only the releases.
[[nodiscard]] EventStream events(EventType type, const Name& name, EventStream::Handler handler);

}  // namespace tavlin::KeyBindings
