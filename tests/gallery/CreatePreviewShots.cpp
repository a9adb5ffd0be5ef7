// The preview of a typed line: its chips (a time today, tomorrow with every
// kind of chip, another day in en_GB and en_US, a cadence, a list alone);
// the create row plain, selected, with the model still reading, and with a
// long title; a stack of three selected; the legend without lists, with a
// first list "Café Bar!", and narrow; and the area in the list's place
// with "Nothing to do", "No matches", a row and a stack. Each in the light
// and the dark palette.

#include "Gallery.h"

#include "panel/PanelModel.h"
#include "panel/widgets/CreateAreaView.h"
#include "rows/CreateLegend.h"
#include "rows/CreateRow.h"
#include "rows/CreateStack.h"
#include "rows/ParseChips.h"
#include "store/MemoryStoreWorld.h"

#include <QCoreApplication>

#include <memory>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

using parsing::ParsedQuickAdd;
using parsing::RecurrenceFrequency;

constexpr int panelWidth = 440;

QString named(const QString& name, Scheme scheme) { return scheme == Scheme::dark ? name + u"-dark"_s : name; }

const QStringList lists{u"Groceries"_s, u"Work"_s};

// The rules' reading of `line`, knowing the two lists.
ParsedQuickAdd reading(const QString& line) { return gallery::reading(line, lists); }

QImage chips(const ParsedQuickAdd& parsed, Scheme scheme, const platform::Calendar& in = calendar()) {
    rows::ParseChips view;
    view.setChips(chipsOf(parsed, in));
    view.setContentsMargins(16, 8, 16, 8);
    return onPanelBackground(view, panelWidth, scheme);
}

QImage createRow(const QString& line, Scheme scheme, bool selected, bool interpreting) {
    const ParsedQuickAdd parsed = reading(line);
    rows::CreateRow row;
    row.setInputs(
        {.title = parsed.title, .chips = chipsOf(parsed), .isSelected = selected, .isInterpreting = interpreting});
    return onPanelBackground(row, panelWidth, scheme, [] {});
}

QImage createStack(const QStringList& tasks, Scheme scheme) {
    rows::CreateStack stack;
    rows::CreateStack::Inputs inputs{.isSelected = true, .interpretingIndices = {1}};
    for (const QString& task : tasks) {
        const ParsedQuickAdd parsed = reading(task);
        inputs.parts.push_back({parsed.title, chipsOf(parsed)});
    }
    stack.setInputs(inputs);
    return onPanelBackground(stack, panelWidth, scheme, [] {});
}

QImage legend(const QStringList& listNames, int width, Scheme scheme) {
    rows::CreateLegend view;
    view.setListNames(listNames);
    // The strip is as high as its view's hint; the legend's height is the
    // one for its width.
    view.setFixedHeight(view.heightForWidth(width));
    return onPanelBackground(view, width, scheme);
}

// One opening of the panel over an empty store with the lists Groceries and
// Work, its field holding `query`.
class Opening {
public:
    explicit Opening(const QString& query) {
        world_.startAndRead();
        model_ = std::make_unique<panel::PanelModel>(
            panel::PanelViewInputs{.store = &world_.store,
                                   .settings = &world_.settings,
                                   .locationProvider = &world_.location,
                                   .panelWidth = panelWidth},
            panel::PanelModel::Environment{.wallClock = {now, calendar()}, .reduceMotion = [] { return true; }});
        model_->typedLine().setQuery(query);
    }

    QImage area(Scheme scheme) {
        panel::widgets::CreateAreaView view(*model_);
        view.render();
        return onPanelBackground(view, panelWidth, scheme, [&] { view.render(); });
    }

private:
    MemoryStoreWorld world_{
        {.lists = {{.identifier = u"L1"_s, .title = u"Groceries"_s}, {.identifier = u"L2"_s, .title = u"Work"_s}}},
        store::WallClock{now, calendar()}};
    std::unique_ptr<panel::PanelModel> model_;
};

const QString longTitle =
    u"ask the landlord about the broken radiator in the back bedroom before the cold comes tomorrow 17:00 !!"_s;

const Shots shots{[] {
    std::vector<Shot> all;
    const platform::Calendar usCalendar =
        platform::Calendar::gregorian(calendar().timeZone(), platform::Locale(u"en_US"_s));
    const ParsedQuickAdd friday{
        .title = u"dentist"_s,
        .dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 13, .hour = 9, .minute = 30},
        .hasTime = true};
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        const auto add = [&](const QString& name, std::function<QImage()> render) {
            all.push_back({named(name, scheme), std::move(render)});
        };
        add(u"chips-today-time"_s, [=] { return chips(reading(u"call mom 17:00"_s), scheme); });
        add(u"chips-tomorrow"_s,
            [=] { return chips(reading(u"water plants tomorrow every week @gym !! #groceries"_s), scheme); });
        add(u"chips-weekday-en_GB"_s, [=] { return chips(friday, scheme); });
        add(u"chips-weekday-en_US"_s, [=] { return chips(friday, scheme, usCalendar); });
        add(u"chips-every-2-weeks"_s, [=] {
            return chips(
                {.title = u"bins"_s, .recurrenceFrequency = RecurrenceFrequency::weekly, .recurrenceInterval = 2},
                scheme);
        });
        add(u"chips-list-only"_s, [=] { return chips(reading(u"eggs #groceries"_s), scheme); });

        add(u"create-row-plain"_s, [=] { return createRow(u"call mom tomorrow 17:00 !!"_s, scheme, false, false); });
        add(u"create-row-selected"_s, [=] { return createRow(u"call mom tomorrow 17:00 !!"_s, scheme, true, false); });
        add(u"create-row-interpreting"_s,
            [=] { return createRow(u"call mom tomorrow 17:00 !!"_s, scheme, false, true); });
        add(u"create-row-long-title"_s, [=] { return createRow(longTitle, scheme, false, true); });
        add(u"create-stack-3-selected"_s, [=] {
            return createStack({u"milk #groceries"_s, u"call mom tomorrow 17:00 !!"_s, u"water plants every week"_s},
                               scheme);
        });

        add(u"legend-no-lists"_s, [=] { return legend({}, panelWidth, scheme); });
        add(u"legend-cafe-bar"_s, [=] { return legend({u"Café Bar!"_s, u"Work"_s}, panelWidth, scheme); });
        add(u"legend-narrow"_s, [=] { return legend(lists, 220, scheme); });

        add(u"create-area-nothing-to-do"_s, [=] { return Opening(u""_s).area(scheme); });
        add(u"create-area-no-matches"_s, [=] { return Opening(u"   "_s).area(scheme); });
        add(u"create-area-row"_s, [=] { return Opening(u"call mom tomorrow 17:00 !!"_s).area(scheme); });
        add(u"create-area-stack"_s,
            [=] { return Opening(u"milk #groceries; call mom tomorrow 17:00"_s).area(scheme); });
    }
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
