#include "sample_quantity.h"

namespace radmill_sample {

namespace {

namespace pb = qrd::pb::common;

// Rain is a derived quantity and carries no polarization.
const QuantityDescription reflectivity{
    "DBZH", "Reflectivity", pb::DBZ, pb::REFLECTIVITY, pb::HORIZONTAL, 0.5, -32.0, 0, 255};
const QuantityDescription velocity{"VRADH",
                                   "Radial velocity",
                                   pb::METERS_PER_SECOND,
                                   pb::RADIAL_VELOCITY,
                                   pb::HORIZONTAL,
                                   0.25,
                                   -32.0,
                                   0,
                                   255};
const QuantityDescription rain{"RATE",
                               "Rain rate",
                               pb::MILLIMETERS_PER_HOUR,
                               pb::RAIN_RATE,
                               pb::POLARIZATION_UNSPECIFIED,
                               0.4,
                               0.0,
                               0,
                               255};

}  // namespace

const QuantityDescription& describe(Quantity quantity) {
    switch (quantity) {
        case Quantity::VELOCITY:
            return velocity;
        case Quantity::RAIN:
            return rain;
        case Quantity::REFLECTIVITY:
            break;
    }
    return reflectivity;
}

Quantity band_quantity(Quantity first, int band) {
    constexpr int quantity_count = 3;  // in the order of the enumeration
    return static_cast<Quantity>((static_cast<int>(first) + band) % quantity_count);
}

}  // namespace radmill_sample
