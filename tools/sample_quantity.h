#pragma once

#include "radar.pb.h"
#include "sample_options.h"

namespace radmill_sample {

// What a band of one quantity is called, its unit and how its physical values map to raw
// codes. Every scale keeps code 0 for "no echo" and 255 for "not scanned".
struct QuantityDescription {
    const char* name;
    const char* long_name;
    qrd::pb::common::Unit unit;
    qrd::pb::common::Quantity quantity;
    qrd::pb::common::Polarization polarization;
    double step;
    double offset;
    int under_threshold;
    int not_scanned;
};

const QuantityDescription& describe(Quantity quantity);

// The quantity of band number band (0 first): the bands cycle reflectivity, velocity, rain,
// starting at first.
Quantity band_quantity(Quantity first, int band);

}  // namespace radmill_sample
