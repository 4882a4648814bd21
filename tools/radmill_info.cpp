// radmill-info: prints what a product file holds, read the way radmill reads it, as JSON.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "input_description.h"
#include "input_reader.h"
#include "simple_logger.h"

namespace {

const char* const usage = "usage: radmill-info FILE";

// One line on standard error, and status 1.
[[noreturn]] void fail(const std::string& message) {
    std::cerr << "radmill-info: " << message << std::endl;
    std::exit(1);
}

std::string file_bytes(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) fail("cannot read " + path + ": a directory");
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot open " + path + ": " + std::strerror(errno));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) fail("cannot read " + path);
    return bytes.str();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        std::cout << usage << std::endl;
        return 0;
    }
    if (argc != 2) fail(std::string("expected one product file; ") + usage);
    // The reader logs its attempts; this tool keeps no log.
    corvane::rs::wr::log::SimpleLogger::getInstance("radmill-info")
        ->get_logger()
        ->set_level(spdlog::level::off);
    try {
        const std::string path = argv[1];
        qrd::pb::common::InstrumentData envelope;
        const auto framing = qrdcvt::parse_input_framing(file_bytes(path), envelope);
        if (!framing) fail(path + " holds no message in any framing that radmill reads");
        std::cout << radmill_info::describe_input(*framing, envelope) << std::endl;
        if (!std::cout) fail("cannot write to standard output");
    } catch (const std::exception& error) {
        fail(error.what());
    }
    return 0;
}
