#include <google/protobuf/util/message_differencer.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "input_reader.h"
#include "radmill_run.h"

namespace {

namespace pb = qrd::pb::common;
using Args = std::vector<std::string>;
using google::protobuf::util::MessageDifferencer;

// The bytes radmill-sample writes with options in framing.
std::string sample_bytes(Args options, const std::string& framing) {
    const radmill_test::TempInstall scratch;
    options.insert(options.end(), {"--output", scratch.path("sample.pb"), "--framing", framing});
    const radmill_test::RunResult result =
        radmill_test::run_program(RADMILL_SAMPLE_BINARY, options);
    EXPECT_EQ(result.status, 0) << result.stderr_text;
    return radmill_test::read_file(scratch.path("sample.pb"));
}

TEST(RadmillSample, EveryFramingReadsBackAsTheSameProduct) {
    for (const Args& options :
         {Args{}, Args{"--width", "90", "--height", "60", "--bands", "3", "--storage", "uint16",
                       "--compression", "lz4", "--endian", "big"}}) {
        pb::Product product;  // the bare product, read without the input reader
        ASSERT_TRUE(product.ParseFromString(sample_bytes(options, "product")));
        ASSERT_GT(product.raster_data_list().raster_data_size(), 0);
        pb::Volume volume;
        *volume.mutable_instrument() = product.source().instruments(0);
        *volume.mutable_scan_config() = product.source().scan_config();
        *volume.mutable_time() = product.time();
        *volume.mutable_sweeps() = product.raster_data_list().raster_data();
        for (const char* framing : {"envelope", "delimited-envelope", "delimited-volume",
                                    "delimited-product", "product"}) {
            SCOPED_TRACE(framing);
            pb::InstrumentData envelope;
            ASSERT_TRUE(qrdcvt::parse_input_file(sample_bytes(options, framing), envelope));
            // Only the payload counts: a failed first reading may leave other fields behind.
            EXPECT_TRUE(framing == std::string("delimited-volume")
                            ? MessageDifferencer::Equals(envelope.volume(), volume)
                            : MessageDifferencer::Equals(envelope.product(), product));
        }
    }
}

TEST(RadmillSample, HelpDocumentsEveryOption) {
    // The help goes to standard output; the shell hands it over on standard error.
    const radmill_test::RunResult result = radmill_test::run_program(
        "/bin/sh", {"-c", "exec \"$0\" --help 1>&2", RADMILL_SAMPLE_BINARY});
    EXPECT_EQ(result.status, 0);
    std::istringstream words(
        "--output --width --height --storage --compression --endian --bands --framing "
        "--projection --bbox --quantity --instrument --hardware --latitude --longitude "
        "--altitude --site-height --elevation --time --product-type delimited-volume "
        "polar-stereographic lcc");
    for (std::string word; words >> word;) {
        EXPECT_NE(result.stderr_text.find(word), std::string::npos) << word;
    }
}

}  // namespace