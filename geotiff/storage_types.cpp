#include "storage_types.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

// Entry k - 1 is storage type k: UINT8, UINT16, INT32, INT64, FLOAT32, FLOAT64.
constexpr StorageTypeInfo known_types[] = {
    {1, false, 0, true},
    {2, false, sample_format_unsigned, true},
    {4, false, sample_format_signed, true},
    {8, false, sample_format_signed, false},
    {4, true, sample_format_float, true},
    {8, true, sample_format_float, true},
};

}  // namespace

const StorageTypeInfo* storage_type_info(pb::StorageType type) {
    const int code = static_cast<int>(type);
    constexpr int count = sizeof known_types / sizeof known_types[0];
    if (code < 1 || code > count) return nullptr;
    return &known_types[code - 1];
}

}  // namespace qrdcvt
