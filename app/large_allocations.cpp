// The program's allocation functions: large blocks (the input file's bytes, the parsed
// raster, a band's decoded and converted samples) are laid on huge pages where the system
// lends them on request (Linux transparent huge pages in madvise mode). Faulting in tens of
// megabytes 4 KiB at a time costs more than decoding into them. Everything else, and every
// block elsewhere, goes to malloc as before.
//
// Left out under AddressSanitizer, whose own allocation functions find overruns.

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RADMILL_KEEP_SANITIZER_ALLOCATION
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define RADMILL_KEEP_SANITIZER_ALLOCATION
#endif

#ifndef RADMILL_KEEP_SANITIZER_ALLOCATION

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// The huge page size of x86-64 and of most arm64 systems.
constexpr std::size_t huge_page_bytes = std::size_t{2} << 20;
constexpr std::size_t large_block_bytes = 2 * huge_page_bytes;

// A block of whole huge pages, or null.
void* allocate_on_huge_pages(std::size_t size) {
    if (size > SIZE_MAX - huge_page_bytes) return nullptr;
    const std::size_t rounded = (size + huge_page_bytes - 1) / huge_page_bytes * huge_page_bytes;
    void* block = std::aligned_alloc(huge_page_bytes, rounded);
    // Only advice: ignored where huge pages are off.
    if (block != nullptr) madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

}  // namespace

void* operator new(std::size_t size) {
    while (true) {
        void* block = size >= large_block_bytes ? allocate_on_huge_pages(size)
                                                : std::malloc(size == 0 ? 1 : size);
        if (block != nullptr) return block;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

// Both kinds of block are released by free. The other forms of new and delete (arrays,
// nothrow, sized) reach these two through the standard library.
void operator delete(void* block) noexcept { std::free(block); }

void operator delete(void* block, std::size_t) noexcept { std::free(block); }

#endif
