#include "input_product.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using qrd::pb::common::InstrumentData;
using qrd::pb::common::Product;
using ::testing::ExitedWithCode;

TEST(InputProductDeathTest, PayloadOtherThanAProductEndsTheRun) {
    const struct {
        std::function<void(InstrumentData&)> fill;
        std::string message;
    } cases[] = {
        {[](InstrumentData&) {}, "Received InstrumentData payload not set!"},
        {[](InstrumentData& e) { e.mutable_volume(); },
         "Received InstrumentData with unsupported payload!"},
        {[](InstrumentData& e) { e.mutable_status(); },
         "Received InstrumentData with unsupported payload!"},
    };
    for (const auto& c : cases) {
        InstrumentData envelope;
        c.fill(envelope);
        EXPECT_EXIT(qrdcvt::require_product(envelope), ExitedWithCode(1), c.message);
    }
}

TEST(InputProductDeathTest, ProductWithoutRasterDataEndsTheRunNamingItsData) {
    const struct {
        std::function<void(Product&)> fill;
        std::string name;
    } cases[] = {
        {[](Product&) {}, "NOT SET"},
        {[](Product& p) { p.mutable_vectors(); }, "VECTORS"},
        {[](Product& p) { p.mutable_events(); }, "EVENTS"},
        {[](Product& p) { p.mutable_rain(); }, "RAIN"},
        {[](Product& p) { p.mutable_image(); }, "UNKNOWN"},
        {[](Product& p) { p.mutable_table(); }, "UNKNOWN"},
    };
    for (const auto& c : cases) {
        Product product;
        c.fill(product);
        EXPECT_EXIT(qrdcvt::require_raster_data(product), ExitedWithCode(1),
                    "Product contains '" + c.name +
                        "' data, but only raster products are supported for GeoTIFF "
                        "conversion!");
    }
}

TEST(InputProduct, RasterProductIsAccepted) {
    InstrumentData envelope;
    envelope.mutable_product()->mutable_raster_data_list();
    const Product& product = qrdcvt::require_product(envelope);
    EXPECT_EQ(&product, &envelope.product());
    qrdcvt::require_raster_data(product);
}

TEST(InputProductDeathTest, EmptyInputGivesBothParseFailureLines) {
    EXPECT_EXIT(qrdcvt::parse_input(""), ExitedWithCode(1),
                "Failed to parse input file\\.\n.*Please ensure the input file contains valid "
                "protobuf data in one of the supported formats\n");
}

}  // namespace
