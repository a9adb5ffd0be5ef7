#pragma once

#include <QString>

namespace tavlin::store {

// A place with the coordinates and radius a location alarm needs.
struct ResolvedLocation {
    QString name;          // the title the alarm carries
    double latitude = 0;   // degrees
    double longitude = 0;  // degrees
    double radius = 0;     // metres

    friend bool operator==(const ResolvedLocation&, const ResolvedLocation&) = default;
};

}  // namespace tavlin::store
