#include "color_type_word.h"

#include <gtest/gtest.h>

namespace {

using qrdcvt::ColorType;

TEST(ColorTypeWord, OnlyTheFourExactWordsNameAColorType) {
    EXPECT_EQ(qrdcvt::color_type_from_word("palette"), ColorType::PALETTE);
    EXPECT_EQ(qrdcvt::color_type_from_word("rgb"), ColorType::RGB);
    EXPECT_EQ(qrdcvt::color_type_from_word("float"), ColorType::FLOAT);
    EXPECT_EQ(qrdcvt::color_type_from_word("grayscale"), ColorType::GRAYSCALE);
    for (const char* word : {"Palette", "RGB", "rgba", "grey", "gray", " rgb", ""}) {
        EXPECT_EQ(qrdcvt::color_type_from_word(word), std::nullopt) << word;
    }
}

}  // namespace
