#include "input_product.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "fatal_error.h"
#include "input_reader.h"
#include "simple_logger.h"

namespace qrdcvt {

using corvane::rs::wr::log::SimpleLogger;
using qrd::pb::common::InstrumentData;
using qrd::pb::common::Product;

namespace {

// Closes the input file on every path out of the reader.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
};

[[noreturn]] void exit_cannot_open(const std::string& path) {
    // Ends in a bare newline, not std::endl: the exit handler flushes it.
    SimpleLogger::getInstance()->error() << "Cannot open input file: " << path << "\n";
    std::exit(1);
}

// One read(2) of up to size bytes, repeated when a signal interrupts it; 0 at the end of the
// file. A failed read ends the process.
std::size_t read_some(int fd, char* buffer, std::size_t size, const std::string& path) {
    while (true) {
        const ssize_t count = ::read(fd, buffer, size);
        if (count >= 0) return static_cast<std::size_t>(count);
        if (errno != EINTR) exit_cannot_open(path);
    }
}

// Protobuf parses at most 2 GiB, behind a length prefix of up to 10 bytes: reading beyond that
// could only cost memory, and a device like /dev/zero never ends.
constexpr std::size_t max_input_bytes = std::size_t{INT_MAX} + 10;

}  // namespace

std::string read_input_file(const std::string& path) {
    const FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat status {};
    // A directory opens like a file but can't be read.
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        exit_cannot_open(path);
    }
    // A regular file is read straight into a buffer of its size; whatever comes after that
    // (all of a pipe, the growth of a file being written) is appended in chunks.
    const std::size_t file_size =
        S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) : 0;
    std::string bytes(std::min(file_size, max_input_bytes), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const std::size_t count =
            read_some(file.fd, bytes.data() + filled, bytes.size() - filled, path);
        if (count == 0) break;
        filled += count;
    }
    bytes.resize(filled);
    char chunk[65536];
    while (bytes.size() < max_input_bytes) {
        const std::size_t wanted = std::min(sizeof chunk, max_input_bytes - bytes.size());
        const std::size_t count = read_some(file.fd, chunk, wanted, path);
        if (count == 0) break;
        bytes.append(chunk, count);
    }
    return bytes;
}

InstrumentData parse_input(const std::string& bytes) {
    InstrumentData envelope;
    if (!parse_input_file(bytes, envelope)) {
        SimpleLogger::getInstance()->error() << "Failed to parse input file." << std::endl;
        exit_with_error(
            "Please ensure the input file contains valid protobuf data in one of the supported "
            "formats");
    }
    return envelope;
}

const Product& require_product(const InstrumentData& envelope) {
    // The reader accepts no envelope without a payload.
    if (envelope.Payload_case() != InstrumentData::kProduct) {
        exit_with_error("Received InstrumentData with unsupported payload!");
    }
    SimpleLogger::getInstance()->debug()
        << "Received InstrumentData with Product payload; starting processing!" << std::endl;
    return envelope.product();
}

void require_raster_data(const Product& product) {
    if (product.data_case() == Product::kRasterDataList) return;
    exit_with_error("Product contains '" + data_kind_name(product.data_case()) +
                    "' data, but only raster products are supported for GeoTIFF conversion!");
}

std::string data_kind_name(Product::DataCase data_case) {
    switch (data_case) {
        case Product::DATA_NOT_SET:
            return "NOT SET";
        case Product::kVectors:
            return "VECTORS";
        case Product::kEvents:
            return "EVENTS";
        case Product::kRain:
            return "RAIN";
        default:
            return "UNKNOWN";
    }
}

}  // namespace qrdcvt
