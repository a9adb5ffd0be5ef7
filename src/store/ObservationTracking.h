#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace tavlin::store {

// Notes which published properties a piece of code reads, so that it can be
// told when one of them changes. An observable object publishes a property
// by calling access() with the property's change signal from its getter.
// Main thread only.
class ObservationTracking {
    // What one run of track() follows, and whom to tell.
    class Record {
    public:
        explicit Record(std::function<void()> onChange) : onChange_(std::move(onChange)) {}
        void follow(QMetaObject::Connection connection) { connections_.push_back(std::move(connection)); }
        void changed();

    private:
        std::function<void()> onChange_;
        std::vector<QMetaObject::Connection> connections_;
    };

public:
    // Runs `apply` and returns; `onChange` runs once, from the change signal
    // of the first property read by `apply` that changes afterwards.
    static void track(const std::function<void()>& apply, std::function<void()> onChange);

    template <class Object>
    static void access(const Object* object, void (Object::*changed)()) {
        if (current_) current_->follow(QObject::connect(object, changed, [record = current_] { record->changed(); }));
    }

private:
    // The record of the innermost track() that is running, if any.
    static inline std::shared_ptr<Record> current_;
};

// A published property's getter: the read is noted, then the field returned.
template <class Object, class T>
const T& observed(const Object* object, const T& field, void (Object::*changed)()) {
    ObservationTracking::access(object, changed);
    return field;
}

// A published property's setter: an equal value leaves the field as it is,
// without a signal. Whether it changed.
template <class Object, class T>
bool publish(Object* object, T& field, std::type_identity_t<T> value, void (Object::*changed)()) {
    if (field == value) return false;
    field = std::move(value);
    emit(object->*changed)();
    return true;
}

}  // namespace tavlin::store
