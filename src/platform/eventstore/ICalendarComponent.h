#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

// An iCalendar object as a tree of components and content lines that keeps
// every line it does not change exactly as it was read. libical parses the
// values we read, but its own tree drops what it does not know (unknown
// components and parameters, properties it cannot name or parse), so the
// structure of a file is held here.

namespace tavlin::platform {

// One content line, NAME;PARAM=VALUE:VALUE, in UTF-8. Values are kept as
// written (escaped); the helpers below escape and unescape text values.
class ICalendarProperty {
public:
    using Parameters = std::vector<std::pair<QByteArray, QByteArray>>;

    // A new line; parameter values are quoted or encoded where they need it.
    ICalendarProperty(QByteArray name, QByteArray value, const Parameters& parameters = {});
    // An unfolded content line and the lines it stood on in the file (its
    // line breaks included); nothing when it has no name or no ":".
    static std::optional<ICalendarProperty> parse(QByteArrayView line, QByteArrayView original);

    const QByteArray& name() const { return name_; }  // upper case
    const QByteArray& value() const { return value_; }
    // The first value of a parameter, unquoted and decoded; nothing when absent.
    std::optional<QByteArray> parameter(QByteArrayView name) const;
    bool hasParameterValue(QByteArrayView name, QByteArrayView value) const;  // ignoring case

    // The line as it was read (folded, with its line breaks), or as it is
    // to be written when it is new.
    QByteArray serialized(QByteArrayView lineBreak) const;
    void appendTo(QByteArray& out, QByteArrayView lineBreak) const;

private:
    ICalendarProperty() = default;

    QByteArray name_;
    QByteArray parameters_;  // ";A=1;B=2" as written
    QByteArray value_;
    // A line read from a file is written back as it was: most are the name,
    // parameters and value as they stand and a line break, so only the
    // others keep their text.
    QByteArray original_;
    QByteArrayView readBreak_;  // the line break of a line read so; empty for a line made here
};

class ICalendarComponent {
public:
    // Deeper than any client writes: a file nested deeper is not read, so
    // no tree holds more levels than this.
    static constexpr std::size_t maxDepth = 64;

    explicit ICalendarComponent(QByteArray name = {}) : name_(std::move(name)) {}
    // Takes the tree apart level by level rather than by recursion.
    ~ICalendarComponent();
    ICalendarComponent(const ICalendarComponent&) = default;
    ICalendarComponent(ICalendarComponent&&) noexcept = default;
    ICalendarComponent& operator=(const ICalendarComponent&) = default;
    ICalendarComponent& operator=(ICalendarComponent&&) noexcept = default;

    // A whole file: one top-level component and nothing after it, nested no
    // deeper than maxDepth. Nothing when the text is not that; `error` then
    // says why.
    static std::optional<ICalendarComponent> parse(QByteArrayView text, QByteArray* error = nullptr);
    // Unchanged lines come out as they were read; new ones are folded at 75
    // octets. The line break is the one the file used (CRLF when new).
    QByteArray serialized() const;

    const QByteArray& name() const { return name_; }

    const ICalendarProperty* property(QByteArrayView name) const;
    std::vector<const ICalendarProperty*> properties(QByteArrayView name) const;
    // Replaces the first property of that name where it stands and drops the
    // others of that name; appends when there is none.
    void setProperty(ICalendarProperty property);
    // Puts these in place of every property of that name, where the first stood.
    void setProperties(QByteArrayView name, std::vector<ICalendarProperty> replacements);
    void addProperty(ICalendarProperty property) { properties_.push_back(std::move(property)); }
    void removeProperties(QByteArrayView name);

    std::vector<ICalendarComponent>& components() { return components_; }
    const std::vector<ICalendarComponent>& components() const { return components_; }
    const ICalendarComponent* component(QByteArrayView name) const;

private:
    void serializeInto(QByteArray& out, QByteArrayView lineBreak) const;

    QByteArray name_;
    std::vector<ICalendarProperty> properties_;
    std::vector<ICalendarComponent> components_;
    QByteArray lineBreak_;  // of the file the top-level component was read from
};

// TEXT values: backslash escapes of "\", ";", "," and line breaks.
QByteArray escapeText(QByteArrayView text);
QByteArray unescapeText(QByteArrayView value);

}  // namespace tavlin::platform
