#include "converter.h"

#include <utility>

#include "geotiff_converter.h"

namespace qrdcvt {

void convert(qrd::pb::common::Product&& product, const ColorType& color_type,
             const std::string& output_path, const std::string& custom_rgb_path,
             const std::string& default_rgb_path, const std::string& custom_palette_path,
             const std::string& default_palette_path, bool single_band) {
    GeoTiffConverter converter(std::move(product), color_type, single_band);
    converter.convert_product_to_geotiff(output_path, custom_rgb_path, default_rgb_path,
                                         custom_palette_path, default_palette_path);
}

int run_conversion(qrd::pb::common::Product&& product, const ColorType& color_type,
                   const std::string& output_path, const std::string& custom_rgb_path,
                   const std::string& default_rgb_path, const std::string& custom_palette_path,
                   const std::string& default_palette_path, bool single_band) {
    GeoTiffConverter converter(std::move(product), color_type, single_band);
    return converter.run_conversion(output_path, custom_rgb_path, default_rgb_path,
                                    custom_palette_path, default_palette_path);
}

}  // namespace qrdcvt
