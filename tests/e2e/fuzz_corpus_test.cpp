#include <filesystem>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

namespace fs = std::filesystem;

// The conversion fuzzer's inputs, seeds and every input that once found a fault: a mode byte
// (bits 0-1 the colour type, bit 2 single-band mode), then the input file.
const fs::path corpus = fs::path(RADMILL_EXAMPLES_DIR).parent_path() / "fuzz/corpus/conversion";

TEST(FuzzCorpus, EveryInputEndsWithACompleteFileOrAnErrorLine) {
    const char* color_types[] = {"grayscale", "palette", "rgb", "float"};
    int inputs = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = read_file(entry.path().string());
        ASSERT_FALSE(bytes.empty());
        const auto mode = static_cast<unsigned char>(bytes[0]);
        Conversion conversion((mode & 4) != 0 ? single_band_config : debug_config);
        write_file(conversion.path("input"), bytes.substr(1));
        const std::string output = conversion.path("out.tif");
        const RunResult result =
            run_radmill({"-i", conversion.path("input"), "-o", output, "-t", color_types[mode & 3]},
                        conversion.env());
        const std::vector<std::string> log = conversion.log();
        ASSERT_FALSE(log.empty());
        if (result.status == 0) {
            EXPECT_EQ(log.back().rfind("[info] GeoTIFF conversion completed: " + output, 0), 0u);
            GdalFile file(output);
        } else {
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(log.back().rfind("[error] ", 0), 0u);
        }
        ++inputs;
    }
    EXPECT_GE(inputs, 20);
}

}  // namespace
