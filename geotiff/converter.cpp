#include "converter.h"

#include <utility>

#include "geotiff_converter.h"

namespace qrdcvt {

void convert(qrd::pb::common::Product&& product, const ColorType& color_type,
             const std::string& output_path, const ColorScalePaths& scale_paths, bool single_band,
             const OutputOptions& options) {
    GeoTiffConverter converter(std::move(product), color_type, single_band, options);
    converter.convert_product_to_geotiff(output_path, scale_paths);
}

int run_conversion(qrd::pb::common::Product&& product, const ColorType& color_type,
                   const std::string& output_path, const ColorScalePaths& scale_paths,
                   bool single_band, const OutputOptions& options) {
    GeoTiffConverter converter(std::move(product), color_type, single_band, options);
    return converter.run_conversion(output_path, scale_paths);
}

}  // namespace qrdcvt
