#pragma once

// Shared by the geotiff unit tests: log capture, bands with a linear scale, sample blocks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "band_plan.h"
#include "radar.pb.h"
#include "radmill_run.h"
#include "sample_block.h"
#include "simple_logger.h"

namespace geotiff_test {

// The logger writes to one scratch file at debug level for the whole test program; a
// LogCapture sees the records logged after it was made.
class LogCapture {
  public:
    LogCapture() : start_(log_text().size()) {}

    bool has(const std::string& level, const std::string& message) const {
        const std::vector<std::string> records =
            radmill_test::log_records(log_text().substr(start_));
        return std::find(records.begin(), records.end(), "[" + level + "] " + message) !=
               records.end();
    }

    static std::string log_text() {
        static const radmill_test::TempInstall scratch;
        static const bool started = [] {
            auto* logger = corvane::rs::wr::log::SimpleLogger::getInstance("radmill");
            logger->set_sink_off(STDERR_SINK);
            logger->set_log_file(scratch.log_path().c_str(), false);
            logger->get_logger()->set_level(spdlog::level::debug);
            return true;
        }();
        (void)started;
        return radmill_test::read_file(scratch.log_path());
    }

  private:
    std::size_t start_;
};

// Starts the log before the first test, so that no record reaches standard error.
class LogEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { LogCapture::log_text(); }
};
inline ::testing::Environment* const log_environment =
    ::testing::AddGlobalTestEnvironment(new LogEnvironment);

// A linear scale with the given codes.
inline qrdcvt::BandScale linear_scale(int not_scanned, int under_threshold, double step = 1.0,
                                      double offset = 0.0) {
    return {true, step, offset, not_scanned, under_threshold};
}

template <typename T>
qrdcvt::SampleBlock block_of(const std::vector<T>& values) {
    qrdcvt::SampleBlock block = qrdcvt::SampleBlock::allocate(values.size() * sizeof(T));
    std::memcpy(block.data(), values.data(), block.size);
    return block;
}

template <typename T>
std::vector<T> values_of(const qrdcvt::SampleBlock& block) {
    std::vector<T> values(block.size / sizeof(T));
    if (!values.empty()) std::memcpy(values.data(), block.data(), values.size() * sizeof(T));
    return values;
}

// Runs the conversion that the mode's plan chooses over values of the storage type, as the
// driver would for a band of pixel_count pixels.
template <typename T>
qrdcvt::ConvertedBand convert_by_plan(qrdcvt::OutputMode mode,
                                      qrd::pb::common::StorageType storage_type,
                                      const std::vector<T>& values, std::uint64_t pixel_count,
                                      const qrdcvt::BandScale& scale = {},
                                      const qrdcvt::ColorScaleChoice& colors = {}) {
    const qrdcvt::BandFacts facts{storage_type, pixel_count, scale, colors};
    return qrdcvt::plan_band(mode, facts).convert(block_of(values), facts);
}

}  // namespace geotiff_test
