// radmill-info through the built binary: which framing read a file, the product as JSON with
// every band's bytes replaced by their summary, and one message for a file it cannot read.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "radmill_run.h"

namespace {

using Json = nlohmann::json;
using radmill_test::TempInstall;
using Args = std::vector<std::string>;

struct Info {
    int status = -1;
    std::string stdout_text;
    std::string stderr_text;
};

Info run_info(const TempInstall& scratch, const Args& args) {
    const std::string out = scratch.path("info.json");
    Args shell_args{"-c", "exec \"$0\" \"$@\" >\"$OUT\"", RADMILL_INFO_BINARY};
    shell_args.insert(shell_args.end(), args.begin(), args.end());
    const radmill_test::RunResult result =
        radmill_test::run_program("/bin/sh", shell_args, {{"OUT", out}});
    return {result.status, radmill_test::read_file(out), result.stderr_text};
}

// A product file made by radmill-sample with args.
std::string sample(const TempInstall& scratch, Args args) {
    const std::string path = scratch.path("sample.pb");
    args.insert(args.begin(), {"-o", path});
    EXPECT_EQ(radmill_test::run_program(RADMILL_SAMPLE_BINARY, args).status, 0);
    return path;
}

Json read_json(const Info& info) {
    EXPECT_EQ(info.status, 0) << info.stderr_text;
    EXPECT_EQ(info.stderr_text, "");
    return Json::parse(info.stdout_text);
}

TEST(RadmillInfo, NamesTheFramingThatReadTheFile) {
    const std::string product_band = "/instrument_data/product/raster_data_list/raster_data/0";
    const struct {
        const char* framing;
        std::string band;  // where the first band shows
    } cases[] = {
        {"envelope", product_band},
        {"delimited-envelope", product_band},
        {"delimited-volume", "/instrument_data/volume/sweeps/0"},
        {"delimited-product", product_band},
        {"product", product_band},
    };
    TempInstall scratch;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.framing);
        const std::string path =
            sample(scratch, {"--framing", c.framing, "--width", "4", "--height", "3"});
        const Json info = read_json(run_info(scratch, {path}));
        EXPECT_EQ(info.at("framing"), c.framing);
        const Json::json_pointer data(c.band + "/data_buffers/0/data");
        EXPECT_EQ(info.at(data), (Json{{"size", 48},
                                       {"compression", "NONE"},
                                       {"storage_type", "FLOAT32"},
                                       {"uncompressed_size", 0}}));
    }
}

// The bands' bytes never show: each buffer's data is a summary of them, and the facts that
// summary takes in appear once.
TEST(RadmillInfo, DescribesAMultiBandProjectedProductWithoutItsBytes) {
    TempInstall scratch;
    const std::string path =
        sample(scratch, {"--bands", "3", "--projection", "epsg:3067", "--storage", "uint16",
                         "--compression", "lz4", "--endian", "big", "--width", "6", "--height", "5",
                         "--instrument", "Seaside", "--framing", "delimited-product"});
    const Json info = read_json(run_info(scratch, {path}));
    EXPECT_EQ(info.at("framing"), "delimited-product");
    const Json& product = info.at("/instrument_data/product"_json_pointer);
    EXPECT_EQ(product.at("/source/instruments/0/name"_json_pointer), "Seaside");
    const Json& bands = product.at("/raster_data_list/raster_data"_json_pointer);
    ASSERT_EQ(bands.size(), 3u);
    const char* quantities[] = {"DBZH", "VRADH", "RATE"};
    for (std::size_t i = 0; i < bands.size(); ++i) {
        SCOPED_TRACE(i);
        const Json& band = bands[i];
        EXPECT_EQ(band.at("width"), 6);
        EXPECT_EQ(band.at("height"), 5);
        EXPECT_EQ(band.at("/data_descriptor/name"_json_pointer), quantities[i]);
        EXPECT_TRUE(band.at("/data_descriptor/data_scale/linear"_json_pointer).contains("step"));
        EXPECT_EQ(band.at("/geo_reference/projection/epsg"_json_pointer), "EPSG:3067");
        EXPECT_GT(band.at("/geo_reference/bounding_box/north_east/x"_json_pointer), 180);
        const Json& buffer = band.at("/data_buffers/0"_json_pointer);
        EXPECT_EQ(buffer, (Json{{"data",
                                 {{"size", buffer.at("/data/size"_json_pointer)},
                                  {"compression", "LZ4"},
                                  {"storage_type", "UINT16"},
                                  {"uncompressed_size", 60}}},
                                {"endianness", "BIG"}}));
        EXPECT_GT(buffer.at("/data/size"_json_pointer), 0);
    }
}

TEST(RadmillInfo, UnreadableInputIsOneMessage) {
    TempInstall scratch;
    radmill_test::write_file(scratch.path("garbage.pb"), "\xff\xff\xff\xff\xff");
    radmill_test::write_file(scratch.path("text.pb"), "not a radar product\n");
    radmill_test::write_file(scratch.path("empty.pb"), "");
    const std::string no_framing = " holds no message in any framing that radmill reads\n";
    const struct {
        Args args;
        std::string message;
    } cases[] = {
        {{scratch.path("garbage.pb")}, scratch.path("garbage.pb") + no_framing},
        {{scratch.path("text.pb")}, scratch.path("text.pb") + no_framing},
        {{scratch.path("empty.pb")}, scratch.path("empty.pb") + no_framing},
        {{scratch.path("missing.pb")},
         "cannot open " + scratch.path("missing.pb") + ": No such file or directory\n"},
        {{scratch.root()}, "cannot read " + scratch.root() + ": a directory\n"},
        {{}, "expected one product file; usage: radmill-info FILE\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const Info info = run_info(scratch, c.args);
        EXPECT_EQ(info.status, 1);
        EXPECT_EQ(info.stderr_text, "radmill-info: " + c.message);
        EXPECT_EQ(info.stdout_text, "");
    }
}

}  // namespace
