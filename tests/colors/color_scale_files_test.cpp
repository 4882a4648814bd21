#include "color_scale_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "radmill_run.h"

namespace {

using qrdcvt::ColorMapper;
using Interval = std::tuple<float, float, std::array<std::uint8_t, 4>>;  // lower, upper, colour

std::vector<Interval> intervals(const ColorMapper& mapper) {
    std::vector<Interval> result;
    for (const auto& scale : mapper.scales)
        result.emplace_back(scale.lower, scale.upper, scale.rgba);
    return result;
}

// The what() of the color_scale_error that load raises; any other exception fails the test.
std::string load_error(const std::function<void()>& load) {
    try {
        load();
    } catch (const qrdcvt::color_scale_error& error) {
        return error.what();
    }
    return "no error";
}

// The only test that loads a default RGB file without error, so it sees the whole map.
TEST(ColorScaleFilesTest, DefaultFileShapes) {
    const radmill_test::TempInstall install;
    const std::string path = install.path("default.json");
    radmill_test::write_file(path, R"({
        "Basic": {"unit": "dBZ", "colors": [{"range": [0, 10.5], "rgba": [1, 2, 3, 4]},
                                            {"range": [30, null], "rgba": [256, -1, 255.9, -1.5]}]},
        "Object": {"colors": {"b": {"range": [20, 30], "rgba": [2, 2, 2, 2]},
                              "a": {"range": [0, 10], "rgba": [1, 1, 1, 1]}}},
        "Twice": {"colors": []}, "Twice": {"colors": [{"range": [5, 6], "rgba": [2, 2, 2, 2]}]},
        "Empty": {"colors": []}, "ColorsNull": {"colors": null},
        "Scalar": 5, "Array": [{"colors": []}], "Null": null, "NoColors": {"colours": []}}
        {"AfterFirstValue": {"colors": []}} garbage)");
    qrdcvt::load_color_scales(install.path("no_custom.json"), path);

    const float inf = std::numeric_limits<float>::infinity();
    const std::map<std::string, std::vector<Interval>> expected{
        {"Basic", {{0, 10.5f, {1, 2, 3, 4}}, {30, inf, {0, 255, 255, 255}}}},
        {"Object", {{0, 10, {1, 1, 1, 1}}, {20, 30, {2, 2, 2, 2}}}},  // in key order
        {"Twice", {{5, 6, {2, 2, 2, 2}}}},                            // the later member wins
        {"Empty", {}},
        {"ColorsNull", {}}};
    std::map<std::string, std::vector<Interval>> loaded;
    for (const auto& [product, mapper] : qrdcvt::default_color_scales)
        loaded[product] = intervals(mapper);
    EXPECT_EQ(loaded, expected);
}

TEST(ColorScaleFilesTest, ErrorsNameTheFileThatHasThem) {
    const radmill_test::TempInstall install;
    const std::string absent = install.path("default_color_scales.json");
    EXPECT_EQ(load_error([&] { qrdcvt::load_color_scales(install.path("none"), absent); }),
              "Failed to open file: " + absent);
    // Only the default file of the RGB family is required.
    EXPECT_EQ(load_error([&] { qrdcvt::load_palette_color_scales(absent, absent); }), "no error");

    const std::pair<const char*, const char*> texts_and_messages[] = {
        {"", "parse_error.101"},
        {R"({"P": {"colors": [{"range": ["0", 1], "rgba": [1, 1, 1, 1]}]}})", "but is string"},
        // The program's own refusal: the library's would carry its "[json.exception" prefix.
        {R"({"P": {"colors": [{"range": [true, 1], "rgba": [1, 1, 1, 1]}]}})",
         ": type must be number, but is boolean"},
        {R"({"P": {"colors": [5]}})", "type_error.304] cannot use at() with number"},
        {R"({"P": {"colors": "red"}})", "type_error.304] cannot use at() with string"},
        {R"({"P": {"colors": [{"rgba": [1, 1, 1, 1]}]}})", "key 'range' not found"},
        {R"({"P": {"colors": [{"range": [0, 1], "rgba": [1, 1, 1]}]}})", "array index 3"},
    };
    for (const auto& [text, message] : texts_and_messages) {
        SCOPED_TRACE(text);
        radmill_test::write_file(absent, text);
        const std::string error =
            load_error([&] { qrdcvt::load_color_scales(install.path("none"), absent); });
        EXPECT_EQ(error.rfind(absent + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }

    // A custom file's error names the custom file.
    const std::string custom = install.path("color_scales_palette.json");
    radmill_test::write_file(custom, R"({"Site": {"P": {"colors": [5]}}})");
    const std::string error = load_error([&] { qrdcvt::load_palette_color_scales(custom, ""); });
    EXPECT_EQ(error.rfind(custom + ": [json.exception.type_error", 0), 0u) << error;
}

}  // namespace
