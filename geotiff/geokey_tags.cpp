#include "geokey_tags.h"

#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <geotiff.h>
#include <xtiffio.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "gdal_drivers.h"
#include "tiff_handles.h"
#include "tiff_messages.h"

namespace qrdcvt {

namespace {

// A file in GDAL's memory file system, read by libtiff through these callbacks.
struct MemoryFile {
    const GByte* data;
    vsi_l_offset size;
    vsi_l_offset position = 0;
};

tsize_t read_memory(thandle_t handle, tdata_t buffer, tsize_t size) {
    auto& file = *static_cast<MemoryFile*>(handle);
    const vsi_l_offset count =
        std::min<vsi_l_offset>(static_cast<vsi_l_offset>(size), file.size - file.position);
    std::memcpy(buffer, file.data + file.position, count);
    file.position += count;
    return static_cast<tsize_t>(count);
}

tsize_t write_nothing(thandle_t, tdata_t, tsize_t) { return 0; }

toff_t seek_memory(thandle_t handle, toff_t offset, int whence) {
    auto& file = *static_cast<MemoryFile*>(handle);
    const toff_t base = whence == SEEK_CUR ? file.position : whence == SEEK_END ? file.size : 0;
    if (base + offset > file.size) return static_cast<toff_t>(-1);
    file.position = base + offset;
    return file.position;
}

int close_nothing(thandle_t) { return 0; }
toff_t memory_size(thandle_t handle) { return static_cast<MemoryFile*>(handle)->size; }
int map_nothing(thandle_t, tdata_t*, toff_t*) { return 0; }
void unmap_nothing(thandle_t, tdata_t, toff_t) {}

// Removes the memory file on every path.
class MemoryPath {
  public:
    MemoryPath() {
        static std::atomic<int> count{0};
        path = "/vsimem/radmill-geokeys-" + std::to_string(++count) + ".tif";
    }
    ~MemoryPath() { VSIUnlink(path.c_str()); }
    MemoryPath(const MemoryPath&) = delete;
    MemoryPath& operator=(const MemoryPath&) = delete;
    const char* c_str() const { return path.c_str(); }

  private:
    std::string path;
};

bool write_one_pixel_file(const char* path, const OGRSpatialReference& crs) {
    use_gdal_drivers();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    if (driver == nullptr) return false;
    GDALDatasetUniquePtr dataset(driver->Create(path, 1, 1, 1, GDT_Byte, nullptr));
    if (!dataset) return false;
    double transform[6] = {0, 1, 0, 0, 0, -1};
    return dataset->SetSpatialRef(&crs) == CE_None &&
           dataset->SetGeoTransform(transform) == CE_None;
}

bool reads_back_as(const char* path, const OGRSpatialReference& crs) {
    GDALDatasetUniquePtr dataset(GDALDataset::Open(path, GDAL_OF_RASTER | GDAL_OF_READONLY));
    const OGRSpatialReference* read = dataset ? dataset->GetSpatialRef() : nullptr;
    const char* options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", nullptr};
    return read != nullptr && read->IsSame(&crs, options);
}

std::variant<GeoKeyTags, std::string> read_tags(const char* path) {
    MemoryFile file{};
    file.data = VSIGetMemFileBuffer(path, &file.size, FALSE);
    if (file.data == nullptr) return std::string("GDAL wrote no file");
    TiffHandle tiff(XTIFFClientOpen(path, "r", &file, read_memory, write_nothing, seek_memory,
                                    close_nothing, memory_size, map_nothing, unmap_nothing));
    std::uint16_t count = 0;
    std::uint16_t* keys = nullptr;
    if (!tiff || !TIFFGetField(tiff.get(), TIFFTAG_GEOKEYDIRECTORY, &count, &keys)) {
        return std::string("GDAL wrote no GeoTIFF keys");
    }
    GeoKeyTags tags;
    tags.directory.assign(keys, keys + count);
    double* doubles = nullptr;
    if (TIFFGetField(tiff.get(), TIFFTAG_GEODOUBLEPARAMS, &count, &doubles)) {
        tags.doubles.assign(doubles, doubles + count);
    }
    const char* ascii = nullptr;
    if (TIFFGetField(tiff.get(), TIFFTAG_GEOASCIIPARAMS, &ascii)) tags.ascii = ascii;
    return tags;
}

}  // namespace

std::variant<GeoKeyTags, std::string> geokey_tags_for(const OGRSpatialReference& crs) {
    const TiffMessagesBackToLog back_to_log;
    const MemoryPath path;
    if (!write_one_pixel_file(path.c_str(), crs)) {
        return std::string("GDAL could not write it as GeoTIFF keys");
    }
    if (!reads_back_as(path.c_str(), crs)) {
        return std::string("GeoTIFF keys can't describe it");
    }
    return read_tags(path.c_str());
}

void set_geokey_tags(TIFF* tiff, const GeoKeyTags& tags) {
    TIFFSetField(tiff, TIFFTAG_GEOKEYDIRECTORY, static_cast<int>(tags.directory.size()),
                 tags.directory.data());
    if (!tags.doubles.empty()) {
        TIFFSetField(tiff, TIFFTAG_GEODOUBLEPARAMS, static_cast<int>(tags.doubles.size()),
                     tags.doubles.data());
    }
    if (!tags.ascii.empty()) TIFFSetField(tiff, TIFFTAG_GEOASCIIPARAMS, tags.ascii.c_str());
}

}  // namespace qrdcvt
