#pragma once

namespace qrdcvt {

// How a projected band is placed on the map: as the WGS 84 rectangle around its converted
// corners, or in its own coordinate system.
enum class Georeference { WGS84, NATIVE };

enum class Compression { NONE, DEFLATE, LZW, ZSTD };

// Uncompressed-size strips, or a Cloud-Optimized GeoTIFF (tiles, overviews, directories
// first) made by GDAL's COG driver.
enum class FileLayout { STRIPS, COG };

// What radmill.conf asks of the output file beyond its contents. The defaults give the plain
// file every earlier release wrote, byte for byte.
struct OutputOptions {
    Georeference georeference = Georeference::WGS84;
    Compression compression = Compression::NONE;
    int predictor = 0;       // TIFF Predictor 1, 2 or 3; 0 chooses by sample type
    int compress_level = 0;  // 0 keeps the compressor's own default
    FileLayout layout = FileLayout::STRIPS;
};

}  // namespace qrdcvt
