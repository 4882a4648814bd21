#include "sample_field.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace radmill_sample {

namespace {

constexpr double pi = 3.14159265358979323846;
// Below this echo intensity the radar sees nothing.
constexpr float echo_threshold = 0.1f;

// One elliptical Gaussian echo, in pixel units.
struct EchoCell {
    double x;
    double y;
    double sigma_major;
    double sigma_minor;
    double angle;  // radians, of the major axis
    double peak;   // intensity 0..1 at the centre
};

std::vector<EchoCell> echo_cells(int width, int height, int variant) {
    std::mt19937 random(20240601u + static_cast<std::uint32_t>(variant));
    // mt19937's sequence is fixed by the standard, unlike the distributions'.
    auto unit = [&random] { return (random() + 0.5) / 4294967296.0; };
    const double size = std::min(width, height);
    const auto at_x = [&](double spread) { return width * (0.5 + (unit() - 0.5) * spread); };
    const auto at_y = [&](double spread) { return height * (0.5 + (unit() - 0.5) * spread); };

    std::vector<EchoCell> cells;
    // A wide band of stratiform rain, then a few convective cells.
    cells.push_back({at_x(0.3), at_y(0.3), 0.45 * size, 0.1 * size, unit() * pi, 0.5});
    for (int i = 0; i < 8; ++i) {
        const double sigma = (0.04 + 0.06 * unit()) * size;
        cells.push_back({at_x(0.7), at_y(0.7), sigma, sigma * (0.5 + 0.5 * unit()), unit() * pi,
                         0.6 + 0.4 * unit()});
    }
    return cells;
}

// Raises intensity to the cell's value wherever that is higher, within 3.5 sigma.
void add_cell(const EchoCell& cell, int width, int height, std::vector<float>& intensity) {
    const double reach = 3.5 * cell.sigma_major;
    const int first_column = std::max(0, static_cast<int>(cell.x - reach));
    const int last_column = std::min(width - 1, static_cast<int>(cell.x + reach));
    const int first_row = std::max(0, static_cast<int>(cell.y - reach));
    const int last_row = std::min(height - 1, static_cast<int>(cell.y + reach));
    const double cosine = std::cos(cell.angle);
    const double sine = std::sin(cell.angle);
    for (int row = first_row; row <= last_row; ++row) {
        const double dy = row + 0.5 - cell.y;
        float* line = intensity.data() + static_cast<std::size_t>(row) * width;
        for (int column = first_column; column <= last_column; ++column) {
            const double dx = column + 0.5 - cell.x;
            const double along = (dx * cosine + dy * sine) / cell.sigma_major;
            const double across = (dy * cosine - dx * sine) / cell.sigma_minor;
            const float value =
                static_cast<float>(cell.peak * std::exp(-0.5 * (along * along + across * across)));
            line[column] = std::max(line[column], value);
        }
    }
}

// A gentle separable ripple, so that the cells are not perfectly smooth.
std::vector<float> ripple(int count, double cycles, double phase) {
    std::vector<float> values(count);
    for (int i = 0; i < count; ++i) {
        values[i] = static_cast<float>(std::sin(2 * pi * cycles * i / count + phase));
    }
    return values;
}

std::vector<float> echo_intensity(int width, int height, int variant) {
    std::vector<float> intensity(static_cast<std::size_t>(width) * height, 0.0f);
    for (const EchoCell& cell : echo_cells(width, height, variant)) {
        add_cell(cell, width, height, intensity);
    }
    const std::vector<float> across = ripple(width, 11, 0.3 * variant);
    const std::vector<float> down = ripple(height, 7, 1.1 + variant);
    for (int row = 0; row < height; ++row) {
        float* line = intensity.data() + static_cast<std::size_t>(row) * width;
        for (int column = 0; column < width; ++column) {
            line[column] *= 0.85f + 0.15f * across[column] * down[row];
        }
    }
    return intensity;
}

float reflectivity_dbz(float intensity) { return -10.0f + 75.0f * intensity; }

// Marshall-Palmer rain rate, with reflectivity capped at 55 dBZ as for hail.
float rain_rate(float intensity) {
    const float dbz = std::min(reflectivity_dbz(intensity), 55.0f);
    return std::pow(10.0f, (dbz - 23.0f) / 16.0f);
}

// A uniform 24 m/s wind towards the north-east seen along the beam, with some turbulence in
// the stronger echoes; east and north are the pixel offsets from the radar.
float radial_velocity(float intensity, double east, double north, double range) {
    constexpr double speed = 24.0;
    const double along_beam = range > 0 ? (east + north) * std::sqrt(0.5) / range : 0.0;
    const double turbulence = 8.0 * (intensity - 0.4);
    return static_cast<float>(std::clamp(speed * along_beam + turbulence, -31.5, 31.5));
}

}  // namespace

std::vector<float> physical_field(int width, int height, Quantity quantity, int variant) {
    std::vector<float> field = echo_intensity(width, height, variant);
    const double centre_x = width / 2.0;
    const double centre_y = height / 2.0;
    const double radar_range = 0.45 * std::max(width, height);
    for (int row = 0; row < height; ++row) {
        const double north = centre_y - (row + 0.5);
        float* line = field.data() + static_cast<std::size_t>(row) * width;
        for (int column = 0; column < width; ++column) {
            const double east = column + 0.5 - centre_x;
            const double range = std::sqrt(east * east + north * north);
            float& value = line[column];
            if (range > radar_range) {
                value = std::numeric_limits<float>::quiet_NaN();
            } else if (value < echo_threshold) {
                value = no_echo;
            } else if (quantity == Quantity::REFLECTIVITY) {
                value = reflectivity_dbz(value);
            } else if (quantity == Quantity::RAIN) {
                value = rain_rate(value);
            } else {
                value = radial_velocity(value, east, north, range);
            }
        }
    }
    return field;
}

}  // namespace radmill_sample
