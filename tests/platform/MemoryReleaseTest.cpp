#include "platform/MemoryRelease.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>
#include <memory>

namespace dolvane {
namespace {

std::size_t MappedBytes()
{
    return mallinfo2().hblkhd;
}

// A block of memory the compiler may not leave out, as it is kept where it cannot see.
class Block final {
public:
    explicit Block(std::size_t size) : bytes_(static_cast<char*>(std::malloc(size))) { bytes_[0] = 1; }
    ~Block() { std::free(bytes_); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

private:
    char* volatile bytes_;
};

// After a large block has been freed, a smaller large block still gets memory of its own that
// goes back to the system when it is freed, rather than room in the heap that stays. (The setting
// stays for the rest of this test program, as it does for the window.)
TEST(MemoryReleaseTest, LargeBlocksStayReturnableAfterALargerOneWasFreed)
{
    ReturnLargeBlocksWhenFreed();
    constexpr std::size_t kMiB = 1024 * 1024;
    auto larger = std::make_unique<Block>(8 * kMiB);
    if (MappedBytes() < 8 * kMiB) {
        GTEST_SKIP() << "the C library's allocator is not in use (a sanitizer brings its own)";
    }
    larger.reset();
    const std::size_t before = MappedBytes();
    auto block = std::make_unique<Block>(2 * kMiB);
    EXPECT_GE(MappedBytes(), before + 2 * kMiB) << "the block came from the heap, whose room stays";
    block.reset();
    EXPECT_EQ(MappedBytes(), before) << "the block was not given back";
}

}  // namespace
}  // namespace dolvane
