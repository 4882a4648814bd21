#include "tiff_tags.h"

#include <gtest/gtest.h>

namespace {

// Classic TIFF addresses 4 GiB; the strips and the tags of every directory must fit.
TEST(TiffFormat, BigTiffOnlyWhereClassicTiffCantAddressTheFile) {
    constexpr std::uint64_t gib = std::uint64_t{1} << 30;
    const struct {
        std::uint64_t image_bytes;
        int directories;
        bool big;
    } cases[] = {
        {1000, 1, false},
        {2 * gib, 2, false},
        {4 * gib - 8 * (1u << 20), 1, false},
        {4 * gib - 2 * (1u << 20), 3, true},  // the tags of three directories don't fit
        {4 * gib, 1, true},
        {5 * gib, 5, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qrdcvt::needs_bigtiff(c.image_bytes, c.directories), c.big) << c.image_bytes;
    }
}

}  // namespace
