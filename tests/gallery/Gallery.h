#pragma once

// The view gallery: a picture of every view in each of its states, drawn
// offscreen with a fixed font, locale, time zone and moment, so that a
// reviewer can look at them and a change of look shows in a diff.
//
// A file named *Shots.cpp registers its pictures with a static Shots
// object; `view_gallery DIR [NAME-PART]` writes each as DIR/<name>.png.

#include "parsing/ParsedQuickAdd.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "rows/ParseChip.h"

#include <QImage>
#include <QPalette>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

namespace tavlin::gallery {

// Wednesday 4 March 2026, 10:00 in Europe/Amsterdam.
platform::Date now();
// The Gregorian calendar of Europe/Amsterdam, weeks from Monday (en_GB).
platform::Calendar calendar();

// The rules' reading of a typed line at that moment, knowing `lists`.
parsing::ParsedQuickAdd reading(const QString& line, const QStringList& lists = {});
// The chips of a reading at that moment, by default in that calendar.
std::vector<rows::ParseChip> chipsOf(const parsing::ParsedQuickAdd& parsed, const platform::Calendar& in = calendar());

enum class Scheme { light, dark };
// A light or a dark desktop palette (Fusion's colours, fixed here).
QPalette palette(Scheme scheme);

// The widget laid out at `size` (its size hint when empty) and drawn onto a
// transparent image at pixel ratio 1.
QImage grab(QWidget& widget, QSize size = {});

// `view` across a strip of the panel's background `width` wide, as high
// as the view wants; `laidOut` runs once the view has its size, before it
// is drawn.
QImage onPanelBackground(QWidget& view, int width, Scheme scheme, const std::function<void()>& laidOut = {});

struct Shot {
    QString name;  // the file name without ".png"
    std::function<QImage()> render;
};

// Registers the shots of one file: `static const Shots shots{[] { return std::vector<Shot>{…}; }};`
class Shots {
public:
    explicit Shots(std::function<std::vector<Shot>()> make);
    // Every registered shot, by name.
    static std::vector<Shot> all();
};

// A page of text beside the pictures, for what a picture cannot show (a
// menu's lines and their states): `static const Pages pages{{…}};`.
struct Page {
    QString name;  // the file name, extension included
    std::function<QString()> text;
};

class Pages {
public:
    explicit Pages(std::vector<Page> pages);
    static std::vector<Page> all();
};

}  // namespace tavlin::gallery
