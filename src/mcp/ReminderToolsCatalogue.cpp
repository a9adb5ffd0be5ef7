#include "mcp/ReminderTools.h"

#include <QStringList>

using namespace Qt::StringLiterals;
using nlohmann::json;
using tavlin::platform::Task;

// The texts an assistant reads before it calls anything: the instructions
// of initialize, and each tool's description and input schema.
namespace tavlin::mcp {

namespace {

const QString batchMaximumText = QString::number(ReminderTools::batchMaximum);

const QString syntaxText =
    u"Quick-add text in Tavlin's syntax: the task first, then any markers. Deadline in plain words (\"tomorrow 17:00\", "
    "\"friday\"). #List for one of the user's real lists (get_lists). ! / !! / !!! for low / medium / high priority. "
    "A repeat like \"every week\". A place gets @: one word bare (@home, @Schiphol), more than one word or an address "
    "in quotes (@\"Albert Heijn XL\"), placed last unless quoted. Turn everyday phrasing into markers: \"when I get "
    "home\" -> @home, \"at the office\" -> @work, \"when I leave work\" -> when I leave @work. Use @ only for a place "
    "to be reminded at, never for a person the task is about. Example: \"take the bins out thursday !!! @home\"."_s;

json property(const char* type, const QString& description, json further = json::object()) {
    further["type"] = type;
    further["description"] = description.toStdString();
    return further;
}

json schema(json properties, std::vector<std::string> required = {}) {
    json object = {{"type", "object"}, {"properties", std::move(properties)}, {"additionalProperties", false}};
    if (!required.empty()) object["required"] = std::move(required);
    return object;
}

json idProperty() { return property("string", u"The reminder's id from list_reminders."_s); }

// The schemas of the explicit fields of create_reminder and update_reminder.
const json& fieldProperties() {
    static const json properties = {
        {"title", property("string", u"Sets the title outright, instead of taking it from the text."_s)},
        {"notes", property("string", u"The reminder's notes. An empty string clears them."_s)},
        {"due", property("string",
                         u"ISO 8601 due date in the user's time zone: \"2026-09-19\" for all day, \"2026-09-19T17:00\" "
                         "for a time (an offset like +02:00 or Z is also accepted). \"none\" clears the due date, and "
                         "with it any repeat. Wins over any date in the text."_s)},
        {"list", property("string", u"Name of the list to put the reminder in. Wins over a #list in the text."_s)},
        {"priority",
         property("string", u"Wins over any ! marks in the text."_s, {{"enum", {"none", "low", "medium", "high"}}})},
    };
    return properties;
}

json withFields(json properties) {
    json merged = fieldProperties();
    merged.update(properties);
    return merged;
}

json scopeNames() {
    json names = json::array();
    for (const auto& [name, scope] : ReminderTools::scopeTable()) names.push_back(name.toStdString());
    return names;
}

}  // namespace

const std::vector<std::pair<QString, store::CountScope>>& ReminderTools::scopeTable() {
    using store::CountScope;
    static const std::vector<std::pair<QString, CountScope>> table{
        {u"all"_s, CountScope::allIncomplete},
        {u"overdue"_s, CountScope::overdue},
        {u"today"_s, CountScope::today},
        {u"due_now"_s, CountScope::dueNow},
        {u"next_7_days"_s, CountScope::next7Days},
        {u"no_due_date"_s, CountScope::noDueDate},
        {u"completed_today"_s, CountScope::completedToday},
    };
    return table;
}

const QString& ReminderTools::serverInstructions() {
    static const QString text =
        QStringList{
            u"Tavlin reads and writes the user's reminders on this computer. Reminder ids come from list_reminders and "
            "stay stable until the reminder is deleted."_s,
            QString(),
            u"create_reminder and update_reminder take quick-add text: the same one-line syntax the user types into "
            "Tavlin. The user speaks in everyday phrases; turn those into Tavlin's markers before calling the tool. Write "
            "the task itself first, then the markers, in any order, with the place last unless it is quoted. The whole "
            "syntax:"_s,
            QString(),
            u"Several reminders: separate them with semicolons, or put one per line. \"milk; call mum tomorrow; bins "
            "thursday @home\" creates three, each read on its own with its own date, place and list. At most "_s +
                batchMaximumText + u" per call. Only create_reminder splits; update_reminder changes one reminder."_s,
            QString(),
            u"Lists: #ListName, written as one word. Matched against the user's real lists ignoring case and spaces, so "
            "#todo finds \"To do\" and #groceries finds \"Groceries\"; a list called \"Work stuff\" is #workstuff. Call "
            "get_lists for the names. A # that matches no list stays in the title as plain text, so never invent one. No "
            "# means the user's default list."_s,
            QString(),
            u"Deadlines: plain words, in the user's language and time zone. \"tomorrow 17:00\", \"friday\", \"aug 20\", "
            "\"the 5th\", \"in 2 hours\", \"quarter past 5\", \"before end of day\". Pass an ISO 8601 value in `due` "
            "instead when the exact date matters more than the phrasing."_s,
            QString(),
            u"Places: whenever something in the request is a place the user wants to be reminded at or near, put \"@\" in "
            "front of it. Only \"@\" makes a place, and it sets a location alert on the reminder. The rule of thumb for "
            "writing it:"_s,
            u"- One word: bare. @home, @work, @Schiphol."_s,
            u"- More than one word, or an address: in quotes. @\"Albert Heijn XL\", @\"Main St 12, Leiden\". Quoting is "
            "always safe and can go anywhere in the line."_s,
            u"Translating everyday phrasing:"_s,
            u"- \"when I get home\", \"at home\", \"once I'm back at the house\" -> @home"_s,
            u"- \"at work\", \"at the office\", \"when I get to the office\" -> @work"_s,
            u"- \"when I leave work\", \"on my way out of the office\" -> when I leave @work (an alert on leaving instead "
            "of arriving)"_s,
            u"- a shop, venue or address -> @Schiphol, @\"Albert Heijn\", @\"Main St 12\""_s,
            u"- a person's place (\"at Venna's\", \"when I'm at mum's\") -> @venna, @mum. This takes the location of an "
            "earlier reminder at a place of that name; Tavlin can't look places up on a map, so any other place, a "
            "contact's address included, is kept by its name alone. Check it with preview_quick_add."_s,
            u"@home and @work mean the user's own places, never a business with that name. Keep the errand in the title, "
            "not after the place: \"buy bananas @\"Albert Heijn\"\", not \"@Albert Heijn buy bananas\", because an "
            "unquoted @Name runs to the end of the text. A radius goes right after the place: @home 200m, @\"Albert "
            "Heijn\" 500m. Never write @ for a person the task is merely about: \"call Venna\" stays \"call Venna\", with "
            "no @."_s,
            QString(),
            u"Priority: ! low, !! medium, !!! high. \"urgent\" or \"important\" -> !!!; \"when "
            "you get a chance\" -> no marker. The marks stand on their own, separated by spaces."_s,
            QString(),
            u"Repeats: \"every week\", \"every 2 days\", \"every friday\", or a trailing \"daily\" or \"weekly\" (\"gym "
            "daily\")."_s,
            QString(),
            u"Notes go in the `notes` argument, never in the text."_s,
            QString(),
            u"Examples:"_s,
            u"- \"remind me to take the bins out when I get home on Thursday, it's important\" -> \"take the bins out "
            "thursday !!! @home\""_s,
            u"- \"add milk and eggs to my shopping list, and call the dentist tomorrow morning\" -> \"milk #groceries; "
            "eggs #groceries; call the dentist tomorrow 9:00\" (with a list called Groceries)"_s,
            u"- \"grab the parcel when I pass the PostNL point on the high street\" -> \"grab the parcel @\"PostNL High "
            "Street\"\""_s,
            QString(),
            u"Whatever Tavlin doesn't recognise stays in the title, so a wrong guess costs words, never data. When unsure "
            "how a phrasing will read, call preview_quick_add first; it creates nothing. Deleting is immediate and has no "
            "undo; prefer complete_reminder when a task is simply done."_s,
        }
            .join(u'\n');
    return text;
}

std::vector<MCPTool> ReminderTools::makeTools() {
    const auto run = [this](Task<MCPToolResult> (ReminderTools::*handler)(json)) -> MCPTool::Run {
        return [this, handler](json arguments) { return (this->*handler)(std::move(arguments)); };
    };
    return {
        {u"list_reminders"_s,
         u"Lists the user's incomplete reminders (or today's completed ones), with ids, due dates, lists, priorities, "
         "places and cadences. Filter by scope, list name or a text search. Respects the lists the user chose to show "
         "in Tavlin; a recurring reminder is listed once, at its next occurrence."_s,
         schema({
             {"scope", property("string",
                                u"Which reminders: all (default, every incomplete one), overdue, today, due_now "
                                "(overdue + today), next_7_days, no_due_date, or completed_today."_s,
                                {{"enum", scopeNames()}})},
             {"list", property("string", u"Only reminders in this list, by name (case-insensitive)."_s)},
             {"search", property("string", u"Only reminders whose title or notes contain this text."_s)},
             {"limit", property("integer", u"At most this many, default 50."_s, {{"minimum", 1}, {"maximum", 200}})},
         }),
         run(&ReminderTools::listReminders)},
        {u"get_lists"_s,
         u"The user's reminder lists: names, accounts, which one new reminders go to by default, which ones Tavlin "
         "shows, and how many open reminders each holds."_s,
         schema(json::object()), run(&ReminderTools::getLists)},
        {u"get_summary"_s,
         u"The counts Tavlin shows in the tray and a few more: overdue, due today, next 7 days, undated, all open, "
         "completed today. A quick read of how the user's day stands."_s,
         schema(json::object()), run(&ReminderTools::getSummary)},
        {u"preview_quick_add"_s,
         u"Shows what create_reminder would make of a quick-add text — title, due date, list, priority, place, "
         "cadence — without creating anything. Use it to check a phrasing before committing."_s,
         schema({{"text", property("string", u"Quick-add text, e.g. \"call mom tomorrow 17:00 #personal !!\"."_s)}},
                {"text"}),
         run(&ReminderTools::previewQuickAdd)},
        {u"create_reminder"_s,
         u"Creates a reminder from quick-add text — the title plus any deadline, @place, #list, ! priority and cadence "
         "written into it — and returns it with its id. Several reminders at once: separate them with semicolons "
         "(\"milk; call mom tomorrow; bins thursday @home\") or put one per line, up to "_s +
             batchMaximumText +
             u"; each is parsed on its own. Explicit fields (due, list, priority, notes) win over what the text says "
             "and apply to every reminder in a batch; title only works for one."_s,
         schema(withFields({{"text", property("string", syntaxText +
                                                            u" Several reminders: separate them with semicolons or put "
                                                            "one per line."_s)}}),
                {"text"}),
         run(&ReminderTools::createReminder)},
        {u"update_reminder"_s,
         u"Changes an existing reminder. Pass `text` to rewrite it in quick-add syntax (the whole line: title, "
         "deadline, @place, #list, priority, cadence — as Tavlin's inline edit does), or set individual fields. Fields "
         "not mentioned are left alone; explicit fields win over the text."_s,
         schema(withFields({{"id", idProperty()},
                            {"text", property("string",
                                              u"The whole line to re-parse the reminder from, replacing title, "
                                              "deadline, place, list, priority and repeat. Omit to keep everything the "
                                              "fields don't change. "_s +
                                                  syntaxText)}}),
                {"id"}),
         run(&ReminderTools::updateReminder)},
        {u"complete_reminder"_s,
         u"Marks a reminder completed, or reopens it with completed=false. Completing one occurrence of a repeating "
         "reminder brings the next one up."_s,
         schema({{"id", idProperty()}, {"completed", property("boolean", u"Default true."_s)}}, {"id"}),
         run(&ReminderTools::completeReminder)},
        {u"delete_reminder"_s,
         u"Deletes a reminder permanently. There is no undo; prefer complete_reminder when the task is simply done."_s,
         schema({{"id", idProperty()}}, {"id"}), run(&ReminderTools::deleteReminder)},
    };
}

}  // namespace tavlin::mcp
