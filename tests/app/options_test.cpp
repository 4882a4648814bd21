#include "options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

boost::program_options::variables_map parse(std::vector<std::string> args) {
    args.insert(args.begin(), "radmill");
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    return qrdcvt::parse_args(static_cast<int>(argv.size()), argv.data());
}

std::string text(const boost::program_options::variables_map& options, const char* name) {
    return options[name].as<std::string>();
}

TEST(Options, DefaultsFillWhatIsNotGiven) {
    const auto options = parse({"in.pb"});
    EXPECT_EQ(text(options, "ip"), "in.pb");
    EXPECT_EQ(text(options, "op"), "-");
    EXPECT_EQ(text(options, "if"), "-");
    EXPECT_EQ(text(options, "color-type"), "grayscale");
    EXPECT_EQ(options.count("log-level"), 0u);
}

}  // namespace
