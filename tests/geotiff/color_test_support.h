#pragma once

// Shared by the palette and RGBA tests: log capture, bands and float blocks.

#include "color_mapper.h"
#include "radar.pb.h"
#include "radmill_run.h"
#include "sample_block.h"
#include "simple_logger.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace color_test {

// The logger writes to a scratch file at debug level from the start of the test program;
// a LogCapture sees the records logged after it was made, as (level, message) pairs.
class LogCapture {
public:
    LogCapture() : start_(log_text().size()) {}

    static std::string log_text() {
        static const std::string path = start_log();
        return radmill_test::read_file(path);
    }

    std::vector<std::pair<std::string, std::string>> records() const {
        std::vector<std::pair<std::string, std::string>> result;
        std::istringstream lines(log_text().substr(start_));
        for (std::string line; std::getline(lines, line);) {
            result.emplace_back(radmill_test::record_level(line),
                                radmill_test::record_message(line));
        }
        return result;
    }

    bool has(const std::string& level, const std::string& message) const {
        for (const auto& record : records()) {
            if (record.first == level && record.second == message) return true;
        }
        return false;
    }

private:
    static std::string start_log() {
        static radmill_test::TempInstall scratch;
        auto* logger = corvane::rs::wr::log::SimpleLogger::getInstance("radmill");
        logger->set_sink_off(STDERR_SINK);
        logger->set_log_file(scratch.log_path().c_str(), false);
        logger->get_logger()->set_level(spdlog::level::debug);
        return scratch.log_path();
    }

    std::size_t start_;
};

// Starts the log before the first test, so that no record reaches standard error.
class LogEnvironment : public ::testing::Environment {
public:
    void SetUp() override { LogCapture::log_text(); }
};
inline ::testing::Environment* const log_environment =
    ::testing::AddGlobalTestEnvironment(new LogEnvironment);

// A band with a linear scale of the given codes, step and offset.
inline qrd::pb::common::RasterData band_with_scale(int not_scanned, int under_threshold,
                                                  double step = 1.0, double offset = 0.0) {
    qrd::pb::common::RasterData band;
    auto* linear = band.mutable_data_descriptor()->mutable_data_scale()->mutable_linear();
    linear->set_not_scanned(not_scanned);
    linear->set_under_threshold(under_threshold);
    linear->set_step(step);
    linear->set_offset(offset);
    return band;
}

inline qrdcvt::SampleBlock float_block(const std::vector<float>& values) {
    qrdcvt::SampleBlock block = qrdcvt::SampleBlock::allocate(values.size() * sizeof(float));
    std::memcpy(block.data(), values.data(), block.size);
    return block;
}

using Rgba = std::array<std::uint8_t, 4>;

inline qrdcvt::color_scale interval(float lower, float upper, Rgba rgba) {
    qrdcvt::color_scale scale;
    scale.lower = lower;
    scale.upper = upper;
    scale.rgba = rgba;
    return scale;
}

}  // namespace color_test
