#include "color_scale_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "radmill_run.h"

namespace {

using qrdcvt::ColorMapper;
using Rgba = std::array<std::uint8_t, 4>;
using Interval = std::tuple<float, float, Rgba>;  // lower, upper, colour

constexpr float inf = std::numeric_limits<float>::infinity();

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

// Every test writes its files into its own scratch directory. The scale maps are
// process-wide and never cleared, so each test uses product and instrument names of its own.
class ColorScaleFilesTest : public ::testing::Test {
  protected:
    std::string write(const std::string& name, const std::string& text) const {
        const std::string path = install_.path(name);
        radmill_test::write_file(path, text);
        return path;
    }
    std::string missing(const std::string& name) const { return install_.path(name); }

  private:
    radmill_test::TempInstall install_;
};

TEST_F(ColorScaleFilesTest, ReadJsonFile) {
    EXPECT_EQ(qrdcvt::read_json_file(missing("absent.json"), true), nlohmann::json::object());
    EXPECT_EQ(qrdcvt::read_json_file(write("trailing.json", " \n{\"a\": 1} {\"b\": 2} ]"), false),
              nlohmann::json({{"a", 1}}));

    const std::string absent = missing("required.json");
    EXPECT_EQ(load_error([&] { qrdcvt::read_json_file(absent, false); }),
              "Failed to open file: " + absent);

    for (const char* text : {"", "  \n", "// comment\n{}", "{\"a\": }"}) {
        const std::string path = write("bad.json", text);
        const std::string error = load_error([&] { qrdcvt::read_json_file(path, true); });
        EXPECT_EQ(error.rfind(path + ": [json.exception.parse_error.101]", 0), 0u)
            << "'" << text << "' gave: " << error;
    }
}

struct ShapeCase {
    const char* what;
    const char* text;  // a default file
    std::map<std::string, std::vector<Interval>> registered;
    std::vector<std::string> skipped;
};

TEST_F(ColorScaleFilesTest, DefaultFileShapes) {
    const ShapeCase cases[] = {
        {"bounds, open top and colour bytes",
         R"({"ShapeBasic": {"colors": [
                {"range": [0, 10.5], "rgba": [1, 2, 3, 4]},
                {"range": [30, null], "rgba": [256, -1, 255.9, -1.5]},
                {"range": [-5, -6], "rgba": [511, -256, 4294967297, 1000.7]},
                {"range": [1e-3, 1e39], "rgba": [-1000.7, 0, 0, 0]},
                {"range": [3.4028235e38, 3.4028236e38], "rgba": [0, 0, 0, 0]}]}})",
         {{"ShapeBasic",
           {{0, 10.5f, {1, 2, 3, 4}},
            {30, inf, {0, 255, 255, 255}},
            {-5, -6, {255, 0, 1, 232}},
            {1e-3f, inf, {24, 0, 0, 0}},
            {std::numeric_limits<float>::max(), inf, {0, 0, 0, 0}}}}},
         {}},
        {"entries that are not scales are skipped",
         R"({"ShapeScalar": 5, "ShapeArray": [{"colors": []}], "ShapeNull": null,
             "ShapeNoColors": {"colours": [{"range": [0, 1], "rgba": [1, 1, 1, 1]}]}})",
         {},
         {"ShapeScalar", "ShapeArray", "ShapeNull", "ShapeNoColors"}},
        {"empty and null colour lists register empty scales",
         R"({"ShapeEmpty": {"colors": []}, "ShapeColorsNull": {"colors": null}})",
         {{"ShapeEmpty", {}}, {"ShapeColorsNull", {}}},
         {}},
        {"colours given as an object are taken in key order",
         R"({"ShapeObject": {"colors": {"b": {"range": [20, 30], "rgba": [2, 2, 2, 2]},
                                         "a": {"range": [0, 10], "rgba": [1, 1, 1, 1]}}}})",
         {{"ShapeObject", {{0, 10, {1, 1, 1, 1}}, {20, 30, {2, 2, 2, 2}}}}},
         {}},
        {"a repeated member name keeps the later value",
         R"({"ShapeTwice": {"colors": [{"range": [0, 1], "rgba": [1, 1, 1, 1]}]},
             "ShapeTwice": {"colors": [{"range": [5, 6], "rgba": [2, 2, 2, 2]}]}})",
         {{"ShapeTwice", {{5, 6, {2, 2, 2, 2}}}}},
         {}},
        {"other members and extra elements are ignored",
         R"({"ShapeExtra": {"unit": "dBZ", "colors": [
                {"label": "x", "range": [1, 2, 3], "rgba": [1, 2, 3, 4, 5]}]}})",
         {{"ShapeExtra", {{1, 2, {1, 2, 3, 4}}}}},
         {}},
        {"text after the first value is ignored",
         R"({"ShapeFirst": {"colors": []}} {"ShapeSecond": {"colors": []}} garbage)",
         {{"ShapeFirst", {}}},
         {"ShapeSecond"}},
        {"a top-level array names its entries by index",
         R"([{"colors": [{"range": [0, 1], "rgba": [9, 9, 9, 9]}]}, 7])",
         {{"0", {{0, 1, {9, 9, 9, 9}}}}},
         {"1"}},
    };
    int file_number = 0;
    for (const ShapeCase& c : cases) {
        const std::string path = write("default" + std::to_string(++file_number) + ".json", c.text);
        qrdcvt::load_color_scales(missing("no_custom.json"), path);
        for (const auto& [product, expected] : c.registered) {
            const auto found = qrdcvt::default_color_scales.find(product);
            ASSERT_NE(found, qrdcvt::default_color_scales.end()) << c.what << ": " << product;
            EXPECT_EQ(intervals(found->second), expected) << c.what << ": " << product;
        }
        for (const std::string& product : c.skipped) {
            EXPECT_EQ(qrdcvt::default_color_scales.count(product), 0u) << c.what << ": " << product;
        }
    }
}

TEST_F(ColorScaleFilesTest, CustomFileShapes) {
    const std::string custom = write("custom.json", R"({
        "CustomScalar": 7,
        "CustomNull": null,
        "CustomArray": [{"colors": [{"range": [0, 1], "rgba": [1, 1, 1, 1]}]}, 3],
        "CustomSite": {"CustomProduct": {"colors": [{"range": [2, 3], "rgba": [2, 2, 2, 2]}]},
                       "CustomSkipped": {"nocolors": []}}})");
    // Palette family: its default file may be missing too.
    qrdcvt::load_palette_color_scales(custom, missing("no_default.json"));

    const auto& loaded = qrdcvt::custom_color_scales_palette;
    EXPECT_TRUE(loaded.at("CustomScalar").empty());
    EXPECT_TRUE(loaded.at("CustomNull").empty());
    ASSERT_EQ(loaded.at("CustomArray").size(), 1u);
    EXPECT_EQ(intervals(loaded.at("CustomArray").at("0")),
              (std::vector<Interval>{{0, 1, {1, 1, 1, 1}}}));
    ASSERT_EQ(loaded.at("CustomSite").size(), 1u);
    EXPECT_EQ(intervals(loaded.at("CustomSite").at("CustomProduct")),
              (std::vector<Interval>{{2, 3, {2, 2, 2, 2}}}));
    EXPECT_EQ(qrdcvt::custom_color_scales.count("CustomSite"), 0u);
}

TEST_F(ColorScaleFilesTest, InsertionNeverReplaces) {
    const auto files = [&](const std::string& tag, int byte) {
        const std::string entry = "{\"colors\": [{\"range\": [0, 1], \"rgba\": [" +
                                  std::to_string(byte) + ", 0, 0, 255]}]}";
        return std::make_pair(
            write(tag + "_custom.json", "{\"KeepSite\": {\"KeepProduct\": " + entry +
                                            ", \"KeepShared\": " + entry + "}}"),
            write(tag + "_default.json", "{\"KeepProduct\": " + entry + "}"));
    };
    const auto [custom1, default1] = files("first", 1);
    const auto [custom2, default2] = files("second", 2);
    qrdcvt::load_color_scales(custom1, default1);
    qrdcvt::load_color_scales(custom2, default2);

    const auto red_byte = [](const ColorMapper& mapper) { return mapper.scales.at(0).rgba[0]; };
    EXPECT_EQ(red_byte(qrdcvt::custom_color_scales.at("KeepSite").at("KeepProduct")), 1);
    EXPECT_EQ(red_byte(qrdcvt::custom_color_scales.at("KeepSite").at("KeepShared")), 1);
    EXPECT_EQ(red_byte(qrdcvt::default_color_scales.at("KeepProduct")), 1);
}

TEST_F(ColorScaleFilesTest, MissingFiles) {
    const std::string scale = R"({"colors": [{"range": [0, 1], "rgba": [1, 1, 1, 1]}]})";
    const std::string valid_default =
        write("default.json", "{\"MissingDefaultProduct\": " + scale + "}");
    EXPECT_EQ(load_error([&] { qrdcvt::load_color_scales(missing("none.json"), valid_default); }),
              "no error");
    EXPECT_EQ(qrdcvt::default_color_scales.count("MissingDefaultProduct"), 1u);
    EXPECT_EQ(load_error([&] {
                  qrdcvt::load_palette_color_scales(missing("none1.json"), missing("none2.json"));
              }),
              "no error");

    const std::string valid_custom =
        write("custom.json", "{\"MissingSite\": {\"MissingCustomProduct\": " + scale + "}}");
    const std::string absent = missing("default_color_scales.json");
    EXPECT_EQ(load_error([&] { qrdcvt::load_color_scales(valid_custom, absent); }),
              "Failed to open file: " + absent);
    // What was read before the error stays.
    EXPECT_EQ(qrdcvt::custom_color_scales.at("MissingSite").count("MissingCustomProduct"), 1u);
}

// Expects load to fail with a message that names path and contains fragment.
void expect_error_from(const std::string& path, const std::function<void()>& load,
                       const std::string& fragment) {
    const std::string error = load_error(load);
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    EXPECT_NE(error.find(fragment), std::string::npos) << error;
}

TEST_F(ColorScaleFilesTest, MalformedEntriesNameTheFile) {
    const std::pair<const char*, const char*> colors_and_message[] = {
        {R"([{"range": 5, "rgba": [1, 1, 1, 1]}])", "type_error.304] cannot use at() with number"},
        {R"([{"range": ["0", 1], "rgba": [1, 1, 1, 1]}])", "type must be number, but is string"},
        {R"([{"range": [null, 1], "rgba": [1, 1, 1, 1]}])", "type must be number, but is null"},
        {R"([{"range": [0, 1], "rgba": [1, 1, 1, false]}])", "type must be number, but is boolean"},
        {R"([5])", "type_error.304] cannot use at() with number"},
        {R"("red")", "type_error.304] cannot use at() with string"},
        {R"(true)", "type_error.304] cannot use at() with boolean"},
        {R"([{"rgba": [1, 1, 1, 1]}])", "out_of_range.403] key 'range' not found"},
        {R"([{"range": [0, 1]}])", "out_of_range.403] key 'rgba' not found"},
        {R"([{"range": [0], "rgba": [1, 1, 1, 1]}])", "out_of_range.401] array index 1"},
        {R"([{"range": [0, 1], "rgba": [1, 1, 1]}])", "out_of_range.401] array index 3"},
    };
    for (const auto& [colors, message] : colors_and_message) {
        SCOPED_TRACE(colors);
        const std::string path =
            write("default_color_scales.json",
                  std::string(R"({"MalformedProduct": {"colors": )") + colors + "}}");
        expect_error_from(
            path, [&] { qrdcvt::load_color_scales(missing("none.json"), path); }, message);
    }
    EXPECT_EQ(qrdcvt::default_color_scales.count("MalformedProduct"), 0u);
}

TEST_F(ColorScaleFilesTest, ErrorsNameTheFileThatHasThem) {
    const std::string custom = write("custom.json", R"({"ErrorSite": {"P": {"colors": [5]}}})");
    const std::string palette_default = write("palette_default.json", "{\"P\": [}");
    const std::string empty = write("empty.json", "{}");
    expect_error_from(
        custom, [&] { qrdcvt::load_color_scales(custom, empty); }, "type_error");
    expect_error_from(
        custom, [&] { qrdcvt::load_palette_color_scales(custom, empty); }, "type_error");
    expect_error_from(
        palette_default, [&] { qrdcvt::load_palette_color_scales(empty, palette_default); },
        "parse_error");
}

}  // namespace
