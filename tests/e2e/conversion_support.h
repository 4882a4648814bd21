#pragma once

// Runs conversions through the radmill binary and reads the outputs back with GDAL (and,
// for the strip layout that GDAL doesn't report, with libtiff).

#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "product_files.h"
#include "radmill_run.h"

namespace radmill_test {

namespace pb = qrd::pb::common;

inline const char* debug_config = "append_log = true\nlog_level = debug\n";
inline const char* single_band_config =
    "append_log = true\nlog_level = debug\nsingle_band = true\n";

struct Conversion {
    RunResult run;
    std::vector<std::string> log;  // message parts of the log records
    std::string output;            // path of the GeoTIFF
    bool logged(const std::string& message) const {
        return std::find(log.begin(), log.end(), message) != log.end();
    }
};

// Writes product into install and converts it with the extra arguments (-t float, ...)
// into output, by default out.tif in the installation.
inline Conversion convert_product(const TempInstall& install, const pb::Product& product,
                                  const std::vector<std::string>& args, std::string output = {}) {
    const std::string input = install.path("product.pb");
    if (output.empty()) output = install.path("out.tif");
    write_product(input, product);
    std::vector<std::string> all{"-i", input, "-o", output};
    all.insert(all.end(), args.begin(), args.end());
    Conversion conversion{run_radmill(all, install.env()), {}, output};
    conversion.log = install.log_messages();
    return conversion;
}

// A scratch installation with a debug log, the example scales and the given configuration.
struct ConversionInstall : TempInstall {
    explicit ConversionInstall(const std::string& config = debug_config) {
        write_config(config);
        install_example_scales();
    }
};

// One directory of an output file, opened with GDAL; counts GDAL's errors and warnings
// from the opening to the last read.
class GdalFile {
  public:
    explicit GdalFile(const std::string& path) {
        static const bool registered = (GDALAllRegister(), true);
        (void)registered;
        CPLPushErrorHandlerEx(&GdalFile::count, &messages_);
        dataset_ = GDALOpen(path.c_str(), GA_ReadOnly);
    }
    ~GdalFile() {
        if (dataset_ != nullptr) GDALClose(dataset_);
        CPLPopErrorHandler();
    }
    GdalFile(const GdalFile&) = delete;
    GdalFile& operator=(const GdalFile&) = delete;

    bool is_open() const { return dataset_ != nullptr; }
    int messages() const { return messages_; }
    GDALDatasetH dataset() const { return dataset_; }
    GDALRasterBandH band() const { return GDALGetRasterBand(dataset_, 1); }
    GDALDataType type() const { return GDALGetRasterDataType(band()); }
    int band_count() const { return GDALGetRasterCount(dataset_); }

    // A dataset-level metadata item; "<absent>" when there is none.
    std::string item(const std::string& name) const {
        const char* value = GDALGetMetadataItem(dataset_, name.c_str(), nullptr);
        return value != nullptr ? value : "<absent>";
    }
    std::vector<std::string> item_names() const {
        std::vector<std::string> names;
        for (char** entry = GDALGetMetadata(dataset_, nullptr); entry && *entry; ++entry) {
            const std::string text(*entry);
            names.push_back(text.substr(0, text.find('=')));
        }
        return names;
    }
    // Number of TIFF directories GDAL sees: one, or as many as it lists as subdatasets.
    int directory_count() const {
        const int entries = CSLCount(GDALGetMetadata(dataset_, "SUBDATASETS"));
        return entries == 0 ? 1 : entries / 2;
    }
    bool has_nodata() const {
        int has = 0;
        GDALGetRasterNoDataValue(band(), &has);
        return has != 0;
    }
    double nodata() const { return GDALGetRasterNoDataValue(band(), nullptr); }

    // Every pixel of band 1 read as T.
    template <typename T>
    std::vector<T> pixels(GDALDataType as) const {
        const int width = GDALGetRasterXSize(dataset_);
        const int height = GDALGetRasterYSize(dataset_);
        std::vector<T> values(static_cast<std::size_t>(width) * height);
        if (GDALRasterIO(band(), GF_Read, 0, 0, width, height, values.data(), width, height, as, 0,
                         0) != CE_None) {
            values.clear();
        }
        return values;
    }

  private:
    static void CPL_STDCALL count(CPLErr level, CPLErrorNum, const char*) {
        if (level >= CE_Warning) ++*static_cast<int*>(CPLGetErrorHandlerUserData());
    }

    GDALDatasetH dataset_ = nullptr;
    int messages_ = 0;
};

// The n-th directory (from 1) of a multi-directory file, as GDAL names it.
inline std::string directory_path(const std::string& path, int n) {
    return "GTIFF_DIR:" + std::to_string(n) + ":" + path;
}

// RowsPerStrip of the first directory, read with libtiff; 0 when the file can't be read.
inline std::uint32_t tiff_rows_per_strip(const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) return 0;
    std::uint32_t rows = 0;
    TIFFGetField(tiff, TIFFTAG_ROWSPERSTRIP, &rows);
    TIFFClose(tiff);
    return rows;
}

// Messages of the log's error records.
inline std::vector<std::string> error_lines(const TempInstall& install) {
    std::vector<std::string> errors;
    std::istringstream lines(install.log_text());
    for (std::string line; std::getline(lines, line);) {
        if (record_level(line) == "error") errors.push_back(record_message(line));
    }
    return errors;
}

inline pb::LinearScale& linear_scale(pb::RasterData& band) {
    return *band.mutable_data_descriptor()->mutable_data_scale()->mutable_linear();
}

inline void set_linear_scale(pb::RasterData& band, double step, double offset,
                             std::int32_t not_scanned) {
    pb::LinearScale& linear = linear_scale(band);
    linear.set_step(step);
    linear.set_offset(offset);
    linear.set_not_scanned(not_scanned);
}

// raw with the bytes of every element_size-byte element reversed.
inline std::string big_endian(std::string raw, std::size_t element_size) {
    for (std::size_t i = 0; i + element_size <= raw.size(); i += element_size) {
        std::reverse(raw.begin() + i, raw.begin() + i + element_size);
    }
    return raw;
}

// A valid LZ4 block that holds bytes as one run of literals.
inline std::string lz4_literal_block(const std::string& bytes) {
    std::string block(1, static_cast<char>(std::min<std::size_t>(bytes.size(), 15) << 4));
    if (bytes.size() >= 15) {
        std::size_t rest = bytes.size() - 15;
        for (; rest >= 255; rest -= 255) block += '\xff';
        block += static_cast<char>(rest);
    }
    return block + bytes;
}

// Sets the band's only buffer to an LZ4 block of raw.
inline void compress_lz4(pb::RasterData& band, const std::string& raw) {
    pb::DataBuffer& buffer = *band.mutable_data_buffers(0);
    buffer.set_data(lz4_literal_block(raw));
    buffer.set_compression(pb::LZ4);
    buffer.set_uncompressed_size(static_cast<std::int32_t>(raw.size()));
}

}  // namespace radmill_test
