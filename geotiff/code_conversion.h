#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "sample_access.h"

namespace qrdcvt {

// Turns count raw codes of type Raw into Out values: a code equal to nodata becomes NaN,
// any other goes through to_value. nodata is compared narrowed to Raw, so a UINT8 band
// matches the low 8 bits of the code.
template <typename Raw, typename Out, typename ToValue>
void convert_codes(const std::uint8_t* raw, std::uint8_t* out, std::size_t count,
                   std::optional<std::int32_t> nodata, ToValue to_value) {
    if (!nodata) {
        for (std::size_t i = 0; i < count; ++i)
            store_sample<Out>(out, i, to_value(load_sample<Raw>(raw, i)));
        return;
    }
    const Raw code = static_cast<Raw>(*nodata);
    const Out nan = std::numeric_limits<Out>::quiet_NaN();
    for (std::size_t i = 0; i < count; ++i) {
        const Raw r = load_sample<Raw>(raw, i);
        store_sample<Out>(out, i, r == code ? nan : to_value(r));
    }
}

}  // namespace qrdcvt
