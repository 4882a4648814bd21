#include "output_settings.h"

#include <charconv>
#include <optional>
#include <utility>
#include <vector>

#include "configuration.h"
#include "fatal_error.h"

namespace qrdcvt {

namespace {

// A key's valid words, in the order the error message lists them, each with what it sets.
template <typename Value>
using Words = std::vector<std::pair<std::string, Value>>;

const Words<Georeference> georeference_words = {{"wgs84", Georeference::WGS84},
                                                {"native", Georeference::NATIVE}};
const Words<Compression> compression_words = {{"none", Compression::NONE},
                                              {"deflate", Compression::DEFLATE},
                                              {"lzw", Compression::LZW},
                                              {"zstd", Compression::ZSTD}};
const Words<int> predictor_words = {{"1", 1}, {"2", 2}, {"3", 3}};
const Words<FileLayout> layout_words = {{"strips", FileLayout::STRIPS}, {"cog", FileLayout::COG}};

// The compressors that take a level, and the levels they take.
struct LevelRange {
    Compression compression;
    const char* name;
    int least;
    int most;
};
constexpr LevelRange level_ranges[] = {{Compression::DEFLATE, "deflate", 1, 12},
                                       {Compression::ZSTD, "zstd", 1, 22}};

class Reader {
  public:
    Reader(const boost::property_tree::ptree& conf, const std::string& path)
        : conf(conf), path(path) {}

    // Sets value from key's word when the key is given; false after a word it doesn't take.
    template <typename Value>
    bool read(const char* key, const Words<Value>& words, Value& value) {
        const auto text = key_value(conf, key);
        if (!text) return true;
        for (const auto& [word, meaning] : words) {
            if (*text == word) {
                value = meaning;
                return true;
            }
        }
        std::string valid;
        for (const auto& word : words) valid += (valid.empty() ? "" : ", ") + word.first;
        return refuse(key, *text, valid);
    }

    // The level of a compressor that takes one, within its range.
    bool read_level(Compression compression, int& level) {
        const auto text = key_value(conf, "compress_level");
        if (!text) return true;
        for (const LevelRange& range : level_ranges) {
            if (range.compression != compression) continue;
            int parsed = 0;
            const char* end = text->data() + text->size();
            const auto result = std::from_chars(text->data(), end, parsed);
            if (result.ec == std::errc() && result.ptr == end && parsed >= range.least &&
                parsed <= range.most) {
                level = parsed;
                return true;
            }
            return refuse("compress_level", *text, span(range));
        }
        return refuse("compress_level", *text,
                      span(level_ranges[0]) + "; " + span(level_ranges[1]));
    }

    const std::string& error() const { return problem; }

  private:
    static std::string span(const LevelRange& range) {
        return std::to_string(range.least) + " to " + std::to_string(range.most) +
               " with compress = " + range.name;
    }

    bool refuse(const char* key, const std::string& text, const std::string& valid) {
        problem = "Invalid configuration file " + path + ": " + key + " = '" + text +
                  "'; valid values: " + valid;
        return false;
    }

    const boost::property_tree::ptree& conf;
    const std::string& path;
    std::string problem;
};

}  // namespace

std::variant<OutputOptions, std::string> parse_output_options(
    const boost::property_tree::ptree& conf, const std::string& path) {
    OutputOptions options;
    Reader reader(conf, path);
    const bool valid = reader.read("georeference", georeference_words, options.georeference) &&
                       reader.read("compress", compression_words, options.compression) &&
                       reader.read("predictor", predictor_words, options.predictor) &&
                       reader.read_level(options.compression, options.compress_level) &&
                       reader.read("layout", layout_words, options.layout);
    if (!valid) return reader.error();
    return options;
}

OutputOptions read_output_options(const boost::property_tree::ptree& conf,
                                  const std::string& path) {
    auto options = parse_output_options(conf, path);
    if (const auto* problem = std::get_if<std::string>(&options)) exit_with_error(*problem);
    return std::get<OutputOptions>(options);
}

}  // namespace qrdcvt
