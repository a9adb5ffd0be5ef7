// view_gallery DIR [NAME-PART]: writes DIR/<name>.png for every registered
// picture (or those whose name holds NAME-PART). `--smoke DIR` writes them
// all and fails when a picture is empty or wholly transparent, or two share
// a name.

#include "Gallery.h"

#include "platform/ReduceMotion.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>

using namespace Qt::StringLiterals;

namespace {

bool isBlank(const QImage& image) {
    if (image.isNull() || image.width() == 0 || image.height() == 0) return true;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // The fixed setting of every picture, before Qt or ICU read any of it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "1");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("TZ", "Europe/Amsterdam");
    qputenv("LANG", "en_GB.UTF-8");
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("LANGUAGE", "en_GB");
    tzset();

    QApplication app(argc, argv);
    // Views show their end state: nothing is caught halfway through a move.
    tavlin::platform::setReduceMotionOverride(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QApplication::setStyle(u"Fusion"_s);
    QApplication::setPalette(tavlin::gallery::palette(tavlin::gallery::Scheme::light));
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(13);
    QApplication::setFont(font);

    QStringList arguments = app.arguments().mid(1);
    const bool smoke = !arguments.isEmpty() && arguments.first() == u"--smoke"_s;
    if (smoke) arguments.removeFirst();
    if (arguments.isEmpty()) {
        std::fputs("usage: view_gallery [--smoke] DIR [NAME-PART]\n", stderr);
        return 2;
    }
    const QDir directory(arguments.at(0));
    const QString part = arguments.value(1);
    if (!QDir().mkpath(directory.path())) {
        std::fprintf(stderr, "view_gallery: cannot create %s\n", qPrintable(directory.path()));
        return 1;
    }

    int failures = 0, written = 0;
    std::set<QString> names;
    for (const tavlin::gallery::Shot& shot : tavlin::gallery::Shots::all()) {
        if (!part.isEmpty() && !shot.name.contains(part)) continue;
        if (!names.insert(shot.name).second) {
            std::fprintf(stderr, "view_gallery: two pictures are named %s\n", qPrintable(shot.name));
            ++failures;
            continue;
        }
        const QImage image = shot.render();
        if (smoke && isBlank(image)) {
            std::fprintf(stderr, "view_gallery: %s is empty\n", qPrintable(shot.name));
            ++failures;
            continue;
        }
        const QString path = directory.filePath(shot.name + u".png"_s);
        if (!image.save(path)) {
            std::fprintf(stderr, "view_gallery: cannot write %s\n", qPrintable(path));
            ++failures;
            continue;
        }
        ++written;
    }
    for (const tavlin::gallery::Page& page : tavlin::gallery::Pages::all()) {
        if (!part.isEmpty() && !page.name.contains(part)) continue;
        QFile file(directory.filePath(page.name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(page.text().toUtf8()) < 0) {
            std::fprintf(stderr, "view_gallery: cannot write %s\n", qPrintable(file.fileName()));
            ++failures;
        }
    }
    std::printf("view_gallery: %d pictures in %s\n", written, qPrintable(directory.path()));
    return failures == 0 ? 0 : 1;
}
