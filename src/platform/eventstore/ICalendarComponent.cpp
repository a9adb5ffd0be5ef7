#include "platform/eventstore/ICalendarComponent.h"

#include <algorithm>
#include <cstring>

namespace tavlin::platform {

namespace {

constexpr qsizetype kFoldWidth = 75;  // octets per line, line break excluded

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The position of the first `wanted` outside double quotes, from `from`.
qsizetype findUnquoted(QByteArrayView text, char wanted, qsizetype from = 0) {
    bool quoted = false;
    for (qsizetype i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') quoted = !quoted;
        else if (c == wanted && !quoted) return i;
    }
    return -1;
}

// RFC 6868 parameter encoding: ^^, ^n and ^' for ^, a line break and ".
QByteArray decodeParameterValue(QByteArrayView value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.sliced(1, value.size() - 2);
    QByteArray decoded;
    decoded.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '^' && i + 1 < value.size()) {
            const char next = value[i + 1];
            if (next == '^' || next == 'n' || next == 'N' || next == '\'') {
                decoded += next == '^' ? '^' : next == '\'' ? '"' : '\n';
                ++i;
                continue;
            }
        }
        decoded += value[i];
    }
    return decoded;
}

QByteArray encodeParameterValue(QByteArrayView value) {
    QByteArray encoded;
    bool needsQuotes = false;
    for (const char c : value) {
        if (c == '^') encoded += "^^";
        else if (c == '\n') encoded += "^n";
        else if (c == '"') encoded += "^'";
        else if (c != '\r') encoded += c;
        needsQuotes = needsQuotes || c == ':' || c == ';' || c == ',';
    }
    return needsQuotes ? '"' + encoded + '"' : encoded;
}

// Splits at 75 octets without cutting a UTF-8 sequence; each further line
// starts with a blank.
void appendFolded(QByteArray& out, QByteArrayView line, QByteArrayView lineBreak) {
    qsizetype width = kFoldWidth;
    while (line.size() > width) {
        qsizetype cut = width;
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out += line.first(cut);
        out += lineBreak;
        out += ' ';
        line = line.sliced(cut);
        width = kFoldWidth - 1;
    }
    out += line;
    out += lineBreak;
}

// The names nearly every line has, upper case as written: a line that
// names one of them shares its name instead of copying it.
QByteArray knownName(QByteArrayView name) {
    static const QByteArray names[] = {
        "BEGIN",
        "END",
        "UID",
        "SUMMARY",
        "DESCRIPTION",
        "DUE",
        "DTSTART",
        "DTSTAMP",
        "CREATED",
        "LAST-MODIFIED",
        "PRIORITY",
        "STATUS",
        "COMPLETED",
        "PERCENT-COMPLETE",
        "RRULE",
        "VERSION",
        "PRODID",
        "ACTION",
        "TRIGGER",
        "SEQUENCE",
        "CLASS",
        "LOCATION",
        "CATEGORIES",
        "X-APPLE-PROXIMITY",
        "X-APPLE-STRUCTURED-LOCATION",
        "TZID",
        "TZOFFSETFROM",
        "TZOFFSETTO",
        "TZNAME",
        "RDATE",
    };
    for (const QByteArray& known : names)
        if (known.size() == name.size() && known[0] == name[0] &&
            std::memcmp(known.constData(), name.data(), static_cast<size_t>(name.size())) == 0)
            return known;
    return {};
}

// The physical lines of a text, each with its line break.
class PhysicalLines {
public:
    explicit PhysicalLines(QByteArrayView text) : text_(text) {}

    // The next line with its line break, or nothing at the end.
    std::optional<QByteArrayView> next() {
        if (start_ >= text_.size()) return std::nullopt;
        qsizetype end = text_.indexOf('\n', start_);
        end = end < 0 ? text_.size() : end + 1;
        const QByteArrayView line = text_.sliced(start_, end - start_);
        start_ = end;
        return line;
    }
    // Whether a later line continues this one (a folded line): the next
    // one that is not blank.
    bool continues() const {
        const qsizetype at = afterBlankLines();
        return at < text_.size() && (text_[at] == ' ' || text_[at] == '\t');
    }
    void skipBlankLines() { start_ = afterBlankLines(); }

private:
    qsizetype afterBlankLines() const {
        qsizetype at = start_;
        while (at < text_.size() && (text_[at] == '\r' || text_[at] == '\n')) ++at;
        return at;
    }

    QByteArrayView text_;
    qsizetype start_ = 0;
};

// A line without its line break.
QByteArrayView contentOf(QByteArrayView physical) {
    while (!physical.empty() && (physical.back() == '\n' || physical.back() == '\r')) physical.chop(1);
    return physical;
}

std::nullopt_t fail(QByteArray* error, QByteArray reason) {
    if (error) *error = std::move(reason);
    return std::nullopt;
}

}  // namespace

ICalendarProperty::ICalendarProperty(QByteArray name, QByteArray value, const Parameters& parameters)
    : name_(std::move(name).toUpper()), value_(std::move(value)) {
    for (const auto& [parameter, parameterValue] : parameters)
        parameters_ += ';' + parameter + '=' + encodeParameterValue(parameterValue);
}

std::optional<ICalendarProperty> ICalendarProperty::parse(QByteArrayView line, QByteArrayView original) {
    const qsizetype colon = findUnquoted(line, ':');
    if (colon <= 0) return std::nullopt;
    const QByteArrayView head = line.first(colon);
    qsizetype nameEnd = head.indexOf(';');
    if (nameEnd < 0) nameEnd = head.size();
    if (nameEnd == 0) return std::nullopt;
    const QByteArrayView name = head.first(nameEnd);
    ICalendarProperty property;
    property.name_ = knownName(name);
    if (property.name_.isNull()) property.name_ = name.toByteArray().toUpper();
    property.parameters_ = head.sliced(nameEnd).toByteArray();
    property.value_ = line.sliced(colon + 1).toByteArray();
    // What the name, parameters, value and a usual line break give back
    // needs no copy of its own.
    const QByteArrayView lineBreak = original.sliced(line.size());
    const bool plain = original.first(line.size()) == line && QByteArrayView(property.name_) == name;
    if (plain && lineBreak == "\r\n") property.readBreak_ = "\r\n";
    else if (plain && lineBreak == "\n") property.readBreak_ = "\n";
    else property.original_ = original.toByteArray();
    return property;
}

std::optional<QByteArray> ICalendarProperty::parameter(QByteArrayView name) const {
    const QByteArrayView text = parameters_;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = findUnquoted(text, ';', start + 1);
        if (end < 0) end = text.size();
        const QByteArrayView entry = text.sliced(start + 1, end - start - 1);
        const qsizetype equals = entry.indexOf('=');
        if (equals > 0 && equalsIgnoringCase(entry.first(equals), name)) {
            const QByteArrayView values = entry.sliced(equals + 1);
            const qsizetype comma = findUnquoted(values, ',');
            return decodeParameterValue(comma < 0 ? values : values.first(comma));
        }
        start = end;
    }
    return std::nullopt;
}

bool ICalendarProperty::hasParameterValue(QByteArrayView name, QByteArrayView value) const {
    const auto found = parameter(name);
    return found && equalsIgnoringCase(*found, value);
}

QByteArray ICalendarProperty::serialized(QByteArrayView lineBreak) const {
    QByteArray out;
    appendTo(out, lineBreak);
    return out;
}

void ICalendarProperty::appendTo(QByteArray& out, QByteArrayView lineBreak) const {
    if (!original_.isEmpty()) {
        out += original_;
    } else if (!readBreak_.empty()) {
        out += name_;
        out += parameters_;
        out += ':';
        out += value_;
        out += readBreak_;
    } else {
        appendFolded(out, name_ + parameters_ + ':' + value_, lineBreak);
    }
}

std::optional<ICalendarComponent> ICalendarComponent::parse(QByteArrayView text, QByteArray* error) {
    std::vector<ICalendarComponent> open;
    std::optional<ICalendarComponent> root;
    PhysicalLines lines(text);
    QByteArray unfolded, folded;  // of a folded line; most lines are read where they stand
    while (const std::optional<QByteArrayView> physical = lines.next()) {
        QByteArrayView content = contentOf(*physical);
        QByteArrayView original = *physical;
        // Blank lines between the parts of a folded line are dropped.
        if (!content.empty() && lines.continues()) {
            unfolded = content.toByteArray();
            folded = physical->toByteArray();
            while (lines.continues()) {
                lines.skipBlankLines();
                const QByteArrayView continuation = *lines.next();
                unfolded += contentOf(continuation).sliced(1);
                folded += continuation;
            }
            content = unfolded;
            original = folded;
        }
        if (content.empty()) continue;
        if (root) return fail(error, "text after the end of the calendar");
        auto property = ICalendarProperty::parse(content, original);
        if (!property) return fail(error, "a line without a name and a value");
        if (property->name() == "BEGIN") {
            if (open.size() == maxDepth) return fail(error, "components nested more than 64 levels deep");
            open.emplace_back(property->value().toUpper());
            open.back().properties_.reserve(16);
        } else if (property->name() == "END") {
            if (open.empty() || !equalsIgnoringCase(open.back().name_, property->value()))
                return fail(error, "END:" + property->value() + " does not close the open component");
            ICalendarComponent closed = std::move(open.back());
            open.pop_back();
            if (open.empty()) root = std::move(closed);
            else open.back().components_.push_back(std::move(closed));
        } else if (open.empty()) {
            return fail(error, property->name() + " outside any component");
        } else {
            open.back().properties_.push_back(std::move(*property));
        }
    }
    if (!root) return fail(error, open.empty() ? "no component" : "END:" + open.back().name_ + " is missing");
    root->lineBreak_ = text.contains("\r\n") || !text.contains('\n') ? "\r\n" : "\n";
    return root;
}

ICalendarComponent::~ICalendarComponent() {
    if (components_.empty()) return;
    std::vector<ICalendarComponent> pending = std::move(components_);
    while (!pending.empty()) {
        // Each one leaves with no children: they have moved to `pending`.
        std::vector<ICalendarComponent> children = std::move(pending.back().components_);
        pending.pop_back();
        for (ICalendarComponent& child : children) pending.push_back(std::move(child));
    }
}

QByteArray ICalendarComponent::serialized() const {
    QByteArray out;
    serializeInto(out, lineBreak_.isEmpty() ? QByteArrayView("\r\n") : QByteArrayView(lineBreak_));
    return out;
}

// With a stack of its own rather than by recursion.
void ICalendarComponent::serializeInto(QByteArray& out, QByteArrayView lineBreak) const {
    struct Open {
        const ICalendarComponent* component;
        std::size_t nextChild = 0;
    };
    std::vector<Open> open;
    const auto begin = [&](const ICalendarComponent& component) {
        out += "BEGIN:" + component.name_;
        out += lineBreak;
        for (const ICalendarProperty& property : component.properties_) property.appendTo(out, lineBreak);
        open.push_back({&component});
    };
    begin(*this);
    while (!open.empty()) {
        const ICalendarComponent& component = *open.back().component;
        if (open.back().nextChild < component.components_.size()) {
            begin(component.components_[open.back().nextChild++]);
            continue;
        }
        out += "END:" + component.name_;
        out += lineBreak;
        open.pop_back();
    }
}

const ICalendarProperty* ICalendarComponent::property(QByteArrayView name) const {
    const auto found = std::find_if(properties_.begin(), properties_.end(),
                                    [name](const ICalendarProperty& property) { return property.name() == name; });
    return found == properties_.end() ? nullptr : &*found;
}

std::vector<const ICalendarProperty*> ICalendarComponent::properties(QByteArrayView name) const {
    std::vector<const ICalendarProperty*> found;
    for (const ICalendarProperty& property : properties_)
        if (property.name() == name) found.push_back(&property);
    return found;
}

void ICalendarComponent::setProperty(ICalendarProperty property) {
    const QByteArray name = property.name();
    std::vector<ICalendarProperty> replacement;
    replacement.push_back(std::move(property));
    setProperties(name, std::move(replacement));
}

void ICalendarComponent::setProperties(QByteArrayView name, std::vector<ICalendarProperty> replacements) {
    auto first = std::find_if(properties_.begin(), properties_.end(),
                              [name](const ICalendarProperty& property) { return property.name() == name; });
    const auto position = first - properties_.begin();
    removeProperties(name);
    properties_.insert(properties_.begin() + position, std::make_move_iterator(replacements.begin()),
                       std::make_move_iterator(replacements.end()));
}

void ICalendarComponent::removeProperties(QByteArrayView name) {
    std::erase_if(properties_, [name](const ICalendarProperty& property) { return property.name() == name; });
}

const ICalendarComponent* ICalendarComponent::component(QByteArrayView name) const {
    const auto found = std::find_if(components_.begin(), components_.end(),
                                    [name](const ICalendarComponent& component) { return component.name() == name; });
    return found == components_.end() ? nullptr : &*found;
}

QByteArray escapeText(QByteArrayView text) {
    QByteArray escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',') escaped += '\\';
        if (c == '\n') escaped += "\\n";
        else if (c != '\r') escaped += c;
    }
    return escaped;
}

QByteArray unescapeText(QByteArrayView value) {
    QByteArray text(value.size(), Qt::Uninitialized);
    char* out = text.data();
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            *out++ = next == 'n' || next == 'N' ? '\n' : next;
        } else {
            *out++ = value[i];
        }
    }
    text.truncate(out - text.data());
    return text;
}

}  // namespace tavlin::platform
