#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// Sets (or, with nothing, unsets) an environment variable for the life of
// the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<QByteArray>& value)
        : name_(name), previous_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
        apply(value);
    }
    ~ScopedVariable() { apply(previous_); }

private:
    void apply(const std::optional<QByteArray>& value) {
        if (value) qputenv(name_, *value);
        else qunsetenv(name_);
    }
    const char* name_;
    std::optional<QByteArray> previous_;
};
