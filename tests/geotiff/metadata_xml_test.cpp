#include "metadata_xml.h"

#include <cpl_error.h>
#include <gdal.h>
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tiff_tags.h"

namespace {

TEST(MetadataToXml, ListsItemsInNameOrderWithoutAttributes) {
    const qrdcvt::MetadataItems items{{"SOURCE", "Weather Radar Data"},
                                      {"AREA_OR_POINT", "Area"},
                                      {"SCALE", "{'Product': 'P', 'RGBA_List': []}"}};
    EXPECT_EQ(qrdcvt::metadata_to_xml(items),
              "<GDALMetadata>\n"
              "  <Item name=\"AREA_OR_POINT\">Area</Item>\n"
              "  <Item name=\"SCALE\">{'Product': 'P', 'RGBA_List': []}</Item>\n"
              "  <Item name=\"SOURCE\">Weather Radar Data</Item>\n"
              "</GDALMetadata>");
    EXPECT_EQ(qrdcvt::metadata_to_xml({}), "<GDALMetadata>\n</GDALMetadata>");
}

TEST(MetadataToXml, EscapesNamesOnceAndValuesTwice) {
    EXPECT_EQ(qrdcvt::metadata_to_xml({{"A&B", "Rain & <snow> \"x\""}}),
              "<GDALMetadata>\n"
              "  <Item name=\"A&amp;B\">Rain &amp;amp; &amp;lt;snow&amp;gt; "
              "&amp;quot;x&amp;quot;</Item>\n"
              "</GDALMetadata>");
}

int gdal_messages = 0;
void CPL_STDCALL count_gdal_message(CPLErr, CPLErrorNum, const char*) { ++gdal_messages; }

// A one-pixel TIFF carrying xml as its GDAL_METADATA, written straight with libtiff.
void write_tiff_with_metadata(const std::string& path, const std::string& xml) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tiff, nullptr);
    qrdcvt::register_gdal_tags(tiff);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 1u);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1u);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1u);
    qrdcvt::set_gdal_metadata(tiff, xml);
    std::uint8_t pixel = 0;
    TIFFWriteEncodedStrip(tiff, 0, &pixel, 1);
    TIFFClose(tiff);
}

TEST(MetadataToXml, GdalReadsBackTheOriginalNamesAndValues) {
    GDALAllRegister();
    const qrdcvt::MetadataItems items{{"AMP&NAME", "Rain & snow"},
                                      {"LT<NAME", "a < b"},
                                      {"GT>NAME", "b > a"},
                                      {"QUOTE\"NAME", "say \"hi\""},
                                      {"ENTITY", "a&amp;b &lt; c"},
                                      {"PLAIN", "it's {'x'}"},
                                      {"ALL", "&<>\"&&"}};
    char path[] = "/tmp/radmill-xml-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    write_tiff_with_metadata(path, qrdcvt::metadata_to_xml(items));

    gdal_messages = 0;
    CPLPushErrorHandler(count_gdal_message);
    GDALDatasetH dataset = GDALOpen(path, GA_ReadOnly);
    ASSERT_NE(dataset, nullptr);
    for (const auto& [name, value] : items) {
        const char* read = GDALGetMetadataItem(dataset, name.c_str(), nullptr);
        ASSERT_NE(read, nullptr) << name;
        EXPECT_EQ(std::string(read), value) << name;
    }
    GDALClose(dataset);
    CPLPopErrorHandler();
    EXPECT_EQ(gdal_messages, 0);
    std::remove(path);
}

}  // namespace
