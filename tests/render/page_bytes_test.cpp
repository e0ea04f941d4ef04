#include "render/page_bytes.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace glyphary {
namespace {

// How many of the pages in [begin, begin + bytes) are in memory.
int ResidentPages(const std::uint8_t* begin, std::size_t bytes) {
  const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> in((bytes + page - 1) / page);
  if (mincore(const_cast<std::uint8_t*>(begin), bytes, in.data()) != 0) return -1;
  int n = 0;
  for (unsigned char c : in) n += c & 1;
  return n;
}

TEST(PageBytes, ForgettingGivesBackWholePagesBeforeTheOffsetAndKeepsTheRest) {
  const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
  const std::size_t size = 1024 * page;  // large enough for pages of its own
  PageBytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes.Data()[i] = std::uint8_t(i * 7 + 3);
  ASSERT_EQ(ResidentPages(bytes.Data(), size), 1024);

  // Half a page into page 300: the first 300 pages go, page 300 stays.
  bytes.ForgetBefore(300 * page + page / 2);
  EXPECT_EQ(ResidentPages(bytes.Data(), 300 * page), 0);
  EXPECT_EQ(ResidentPages(bytes.Data() + 300 * page, size - 300 * page), 724);
  bool kept = true;
  for (std::size_t i = 300 * page; i < size; ++i)
    kept &= bytes.Data()[i] == std::uint8_t(i * 7 + 3);
  EXPECT_TRUE(kept);

  bytes.ForgetBefore(100 * page);  // behind what is gone: nothing changes
  bytes.ForgetBefore(10 * size);   // past the end: everything goes
  EXPECT_EQ(ResidentPages(bytes.Data(), size), 0);

  PageBytes moved = std::move(bytes);
  EXPECT_EQ(bytes.Data(), nullptr);
  EXPECT_EQ(moved.Size(), size);
}

TEST(PageBytes, ASmallBlockIsKeptWhole) {
  PageBytes bytes(1000);
  std::memset(bytes.Data(), 0x5A, 1000);
  bytes.ForgetBefore(1000);
  EXPECT_EQ(bytes.Data()[0], 0x5A);
  EXPECT_EQ(bytes.Data()[999], 0x5A);
}

}  // namespace
}  // namespace glyphary
