#include "platform/eventstore/ICalendarComponent.h"

#include <algorithm>

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

// A logical line: unfolded, and as it stood in the file.
struct ContentLine {
    QByteArray unfolded;
    QByteArray original;
};

std::vector<ContentLine> contentLines(QByteArrayView text) {
    std::vector<ContentLine> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        end = end < 0 ? text.size() : end + 1;
        const QByteArrayView physical = text.sliced(start, end - start);
        QByteArrayView content = physical;
        while (!content.empty() && (content.back() == '\n' || content.back() == '\r')) content.chop(1);
        const bool continuation = !physical.empty() && (physical.front() == ' ' || physical.front() == '\t');
        if (continuation && !lines.empty()) {
            lines.back().unfolded += content.sliced(1);
            lines.back().original += physical;
        } else if (!content.empty()) {
            lines.push_back({content.toByteArray(), physical.toByteArray()});
        }
        start = end;
    }
    return lines;
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

ICalendarProperty::ICalendarProperty(QByteArray name, QByteArray parameters, QByteArray value, QByteArray original)
    : name_(std::move(name)),
      parameters_(std::move(parameters)),
      value_(std::move(value)),
      original_(std::move(original)) {}

std::optional<ICalendarProperty> ICalendarProperty::parse(QByteArray line, QByteArray original) {
    const qsizetype colon = findUnquoted(line, ':');
    if (colon <= 0) return std::nullopt;
    const QByteArrayView head = QByteArrayView(line).first(colon);
    qsizetype nameEnd = head.indexOf(';');
    if (nameEnd < 0) nameEnd = head.size();
    if (nameEnd == 0) return std::nullopt;
    return ICalendarProperty(head.first(nameEnd).toByteArray().toUpper(), head.sliced(nameEnd).toByteArray(),
                             line.sliced(colon + 1), std::move(original));
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
    if (!original_.isEmpty()) return original_;
    QByteArray out;
    appendFolded(out, name_ + parameters_ + ':' + value_, lineBreak);
    return out;
}

std::optional<ICalendarComponent> ICalendarComponent::parse(QByteArrayView text, QByteArray* error) {
    std::vector<ICalendarComponent> open;
    std::optional<ICalendarComponent> root;
    for (ContentLine& line : contentLines(text)) {
        if (root) return fail(error, "text after the end of the calendar");
        auto property = ICalendarProperty::parse(std::move(line.unfolded), std::move(line.original));
        if (!property) return fail(error, "a line without a name and a value");
        if (property->name() == "BEGIN") {
            open.emplace_back(property->value().toUpper());
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

QByteArray ICalendarComponent::serialized() const {
    QByteArray out;
    serializeInto(out, lineBreak_.isEmpty() ? QByteArrayView("\r\n") : QByteArrayView(lineBreak_));
    return out;
}

void ICalendarComponent::serializeInto(QByteArray& out, QByteArrayView lineBreak) const {
    out += "BEGIN:" + name_;
    out += lineBreak;
    for (const ICalendarProperty& property : properties_) out += property.serialized(lineBreak);
    for (const ICalendarComponent& component : components_) component.serializeInto(out, lineBreak);
    out += "END:" + name_;
    out += lineBreak;
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
    QByteArray text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            text += next == 'n' || next == 'N' ? '\n' : next;
        } else {
            text += value[i];
        }
    }
    return text;
}

}  // namespace tavlin::platform
