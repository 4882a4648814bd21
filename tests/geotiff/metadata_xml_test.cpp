#include "metadata_xml.h"

#include <gdal.h>
#include <gtest/gtest.h>
#include <tiffio.h>

#include <string>

#include "radmill_run.h"
#include "tiff_tags.h"

namespace {

TEST(MetadataToXml, GdalReadsBackTheOriginalNamesAndValues) {
    const qrdcvt::MetadataItems items{{"AMP&NAME", "Rain & snow"},  {"LT<NAME", "a < b"},
                                      {"GT>NAME", "b > a"},         {"QUOTE\"NAME", "say \"hi\""},
                                      {"ENTITY", "a&amp;b &lt; c"}, {"PLAIN", "it's {'x'}"}};
    const radmill_test::TempInstall scratch;
    const std::string path = scratch.path("metadata.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    qrdcvt::register_gdal_tags(tiff);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 1u);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1u);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    qrdcvt::set_gdal_metadata(tiff, qrdcvt::metadata_to_xml(items));
    std::uint8_t pixel = 0;
    TIFFWriteEncodedStrip(tiff, 0, &pixel, 1);
    TIFFClose(tiff);

    GDALAllRegister();
    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
    ASSERT_NE(dataset, nullptr);
    for (const auto& [name, value] : items) {
        const char* read = GDALGetMetadataItem(dataset, name.c_str(), nullptr);
        EXPECT_EQ(std::string(read ? read : "<absent>"), value) << name;
    }
    GDALClose(dataset);
}

}  // namespace
