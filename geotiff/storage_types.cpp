#include "storage_types.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

std::optional<StorageTypeInfo> storage_type_info(pb::StorageType type) {
    switch (type) {
        case pb::UINT8:
            return StorageTypeInfo{1, 0};
        case pb::UINT16:
            return StorageTypeInfo{2, sample_format_unsigned};
        case pb::INT32:
            return StorageTypeInfo{4, sample_format_signed};
        case pb::INT64:
            return StorageTypeInfo{8, sample_format_signed};
        case pb::FLOAT32:
            return StorageTypeInfo{4, sample_format_float};
        case pb::FLOAT64:
            return StorageTypeInfo{8, sample_format_float};
        default:
            return std::nullopt;
    }
}

bool is_float_storage(pb::StorageType type) { return type == pb::FLOAT32 || type == pb::FLOAT64; }

}  // namespace qrdcvt
