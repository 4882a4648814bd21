// radmill-info through the built binary: which framing read a file, the product as JSON with
// every band's bytes replaced by their summary, and one message for a file it cannot read.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "radmill_run.h"

namespace {

using Json = nlohmann::json;
using radmill_test::TempInstall;
using Args = std::vector<std::string>;

struct Info {
    int status = -1;
    std::string stdout_text, stderr_text;
};

Info run_info(const TempInstall& scratch, const Args& args) {
    const std::string out = scratch.path("info.json");
    Args shell_args{"-c", "exec \"$0\" \"$@\" >\"$OUT\"", RADMILL_INFO_BINARY};
    shell_args.insert(shell_args.end(), args.begin(), args.end());
    const auto result = radmill_test::run_program("/bin/sh", shell_args, {{"OUT", out}});
    return {result.status, radmill_test::read_file(out), result.stderr_text};
}

// The JSON radmill-info prints for a product that radmill-sample makes with args.
Json sample_info(const TempInstall& scratch, Args args) {
    args.insert(args.begin(), {"-o", scratch.path("sample.pb")});
    EXPECT_EQ(radmill_test::run_program(RADMILL_SAMPLE_BINARY, args).status, 0);
    const Info info = run_info(scratch, {scratch.path("sample.pb")});
    EXPECT_EQ(info.status, 0) << info.stderr_text;
    EXPECT_EQ(info.stderr_text, "");
    return Json::parse(info.stdout_text);
}

TEST(RadmillInfo, NamesTheFramingThatReadTheFile) {
    const std::string in_product = "/instrument_data/product/raster_data_list/raster_data/0";
    const std::string in_volume = "/instrument_data/volume/sweeps/0";
    const std::pair<const char*, std::string> cases[] = {
        {"envelope", in_product},        {"delimited-envelope", in_product},
        {"delimited-volume", in_volume}, {"delimited-product", in_product},
        {"product", in_product},
    };
    TempInstall scratch;
    for (const auto& [framing, first_band] : cases) {
        SCOPED_TRACE(framing);
        const Json info = sample_info(scratch, {"--framing", framing, "--width", "4"});
        EXPECT_EQ(info.at("framing"), framing);
        EXPECT_EQ(info.at(Json::json_pointer(first_band + "/data_buffers/0/data/size")),
                  4 * 400 * 4);
    }
}

// Each buffer's data is a summary of its bytes, which takes in the facts that describe them.
TEST(RadmillInfo, DescribesAMultiBandProjectedProductWithoutItsBytes) {
    TempInstall scratch;
    const Json info = sample_info(
        scratch, {"--bands", "3", "--projection", "epsg:3067", "--storage", "uint16",
                  "--compression", "lz4", "--endian", "big", "--width", "6", "--height", "5"});
    const Json& bands =
        info.at("/instrument_data/product/raster_data_list/raster_data"_json_pointer);
    ASSERT_EQ(bands.size(), 3u);
    for (const Json& band : bands) {
        EXPECT_EQ(band.at("/geo_reference/projection/epsg"_json_pointer), "EPSG:3067");
        const Json& buffer = band.at("/data_buffers/0"_json_pointer);
        const Json summary = {{"size", buffer.at("/data/size"_json_pointer)},
                              {"compression", "LZ4"},
                              {"storage_type", "UINT16"},
                              {"uncompressed_size", 60}};
        EXPECT_EQ(buffer, (Json{{"data", summary}, {"endianness", "BIG"}}));
    }
    EXPECT_EQ(bands[2].at("/data_descriptor/name"_json_pointer), "RATE");
}

TEST(RadmillInfo, UnreadableInputIsOneMessage) {
    TempInstall scratch;
    radmill_test::write_file(scratch.path("garbage.pb"), "\xff\xff\xff\xff\xff");
    const struct {
        Args args;
        std::string message;
    } cases[] = {
        {{scratch.path("garbage.pb")},
         scratch.path("garbage.pb") + " holds no message in any framing that radmill reads"},
        {{scratch.path("missing.pb")},
         "cannot open " + scratch.path("missing.pb") + ": No such file or directory"},
        {{}, "expected one product file; usage: radmill-info FILE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const Info info = run_info(scratch, c.args);
        EXPECT_EQ(info.status, 1);
        EXPECT_EQ(info.stderr_text, "radmill-info: " + c.message + "\n");
        EXPECT_EQ(info.stdout_text, "");
    }
}

}  // namespace
