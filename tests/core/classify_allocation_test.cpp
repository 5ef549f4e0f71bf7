// The classification runs on every keystroke and every clipboard tick: it must not allocate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "core/sipo_number.h"

namespace {
int allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace sipo {
namespace {

TEST(ClassifyNumberText, AllocatesNothing) {
  const int counted = allocations;
  { const std::string probe(100, 'x'); }
  ASSERT_GT(allocations, counted) << "the allocation counter does not see allocations";
  const std::string texts[] = {"",       "1234567897", "12345,6786", std::string(300, '7'),
                               "1e4932", "-1e-5000",   " \t",        "abc"};
  for (const std::string& text : texts) {
    const int before = allocations;
    const StatusClass status = ClassifyNumberText(text, ',');
    EXPECT_EQ(allocations, before) << text;
    EXPECT_LE(StatusText(status).size(), 14u);
  }
}

}  // namespace
}  // namespace sipo
