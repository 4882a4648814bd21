#pragma once

// Runs conversions through the radmill binary and reads the outputs back with GDAL.

#include <cpl_string.h>
#include <gdal.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iomanip>
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

// A scratch installation with the example colour scales, and one run of the binary in it.
struct Conversion : TempInstall {
    explicit Conversion(const std::string& config = debug_config) {
        write_config(config);
        install_example_scales();
    }
    Conversion(const pb::Product& product, const std::vector<std::string>& args,
               const std::string& config = debug_config)
        : Conversion(config) {
        run(product, args);
    }

    // Converts product with the extra arguments (-t float, ...) into output_path, by default
    // out.tif in the installation. records and errors() then hold this run's log only.
    void run(const pb::Product& product, const std::vector<std::string>& args,
             const std::string& output_path = "") {
        std::remove(log_path().c_str());
        output = output_path.empty() ? path("out.tif") : output_path;
        write_product(path("product.pb"), product);
        std::vector<std::string> all{"-i", path("product.pb"), "-o", output};
        all.insert(all.end(), args.begin(), args.end());
        const RunResult result = run_radmill(all, env());
        status = result.status;
        stderr_text = result.stderr_text;
        records = log();
    }
    bool logged(const std::string& record) const {
        return std::find(records.begin(), records.end(), record) != records.end();
    }
    // The messages of the error records.
    std::vector<std::string> errors() const {
        std::vector<std::string> messages;
        for (const std::string& record : records) {
            if (record.rfind("[error] ", 0) == 0) messages.push_back(record.substr(8));
        }
        return messages;
    }

    int status = -1;
    std::string output, stderr_text;
    std::vector<std::string> records;  // of the log, as "[level] message"
};

// The product that radmill-sample makes with args (its options but the output file).
inline pb::Product sample_product(std::vector<std::string> args) {
    const TempInstall scratch;
    args.insert(args.end(), {"-o", scratch.path("sample.pb"), "--framing", "product"});
    const RunResult made = run_program(RADMILL_SAMPLE_BINARY, args);
    EXPECT_EQ(made.status, 0) << made.stderr_text;
    pb::Product product;
    EXPECT_TRUE(product.ParseFromString(read_file(scratch.path("sample.pb"))));
    return product;
}

// Values as exact texts, so that tables can hold NaN ("nan").
inline std::vector<std::string> texts(const std::vector<double>& values) {
    std::vector<std::string> out;
    for (double value : values) {
        std::ostringstream text;
        text << std::setprecision(17) << value;
        out.push_back(text.str());
    }
    return out;
}

// One directory of an output file, opened with GDAL, which must neither warn nor fail from the
// opening to the last read: a tag of a type GDAL doesn't expect shows only as a warning.
class GdalFile {
  public:
    explicit GdalFile(const std::string& path) : path_(path) {
        GDALAllRegister();
        CPLPushErrorHandlerEx(&GdalFile::count, &messages_);
        dataset_ = GDALOpen(path.c_str(), GA_ReadOnly);
        EXPECT_NE(dataset_, nullptr) << path;
    }
    ~GdalFile() {
        if (dataset_ != nullptr) GDALClose(dataset_);
        CPLPopErrorHandler();
        EXPECT_EQ(messages_, 0) << "GDAL warnings or errors reading " << path_;
    }
    // The output of a run that must have succeeded.
    explicit GdalFile(const Conversion& run) : GdalFile(run.output) {
        EXPECT_EQ(run.status, 0) << run.stderr_text;
    }
    GdalFile(const GdalFile&) = delete;
    GdalFile& operator=(const GdalFile&) = delete;

    GDALRasterBandH band(int n = 1) const { return GDALGetRasterBand(dataset_, n); }
    GDALDataType type() const { return GDALGetRasterDataType(band()); }
    // Number of TIFF directories: one, or as many as GDAL lists as subdatasets.
    int directory_count() const {
        return std::max(1, CSLCount(GDALGetMetadata(dataset_, "SUBDATASETS")) / 2);
    }
    // A dataset-level metadata item; "<absent>" when there is none.
    std::string item(const std::string& name, const char* domain = nullptr) const {
        const char* value = GDALGetMetadataItem(dataset_, name.c_str(), domain);
        return value != nullptr ? value : "<absent>";
    }
    // GDAL keeps one nodata value for all bands; "" when there is none.
    std::string nodata() const {
        int has = 0;
        const double value = GDALGetRasterNoDataValue(band(), &has);
        return has != 0 ? texts({value})[0] : "";
    }
    // Every pixel, the bands' values side by side (red, green, blue, alpha for four bands).
    std::vector<double> values() const {
        const int width = GDALGetRasterXSize(dataset_), height = GDALGetRasterYSize(dataset_);
        const int bands = GDALGetRasterCount(dataset_), pixel = bands * sizeof(double);
        std::vector<double> values(static_cast<std::size_t>(width) * height * bands);
        EXPECT_EQ(GDALDatasetRasterIO(dataset_, GF_Read, 0, 0, width, height, values.data(), width,
                                      height, GDT_Float64, bands, nullptr, pixel, pixel * width,
                                      sizeof(double)),
                  CE_None);
        return values;
    }

  private:
    static void CPL_STDCALL count(CPLErr level, CPLErrorNum, const char*) {
        if (level >= CE_Warning) ++*static_cast<int*>(CPLGetErrorHandlerUserData());
    }

    std::string path_;
    GDALDatasetH dataset_ = nullptr;
    int messages_ = 0;
};

}  // namespace radmill_test
