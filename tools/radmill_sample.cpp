// radmill-sample: writes a synthetic weather-radar product file for trying radmill, for its
// tests and for its benchmarks. See --help.
#include <exception>
#include <iostream>

#include "sample_framing.h"
#include "sample_options.h"
#include "sample_product.h"

int main(int argc, char* argv[]) {
    try {
        const auto options = radmill_sample::parse_sample_options(argc, argv, std::cout);
        if (!options) return 0;
        radmill_sample::write_sample_file(options->output_path, options->framing,
                                          radmill_sample::sample_product(*options));
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "radmill-sample: " << error.what() << std::endl;
        return 1;
    }
}
