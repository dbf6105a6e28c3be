// Time, ids, the environment and the lock.
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace {

TEST(TickCount, AdvancesAcrossASleep) {
  const uint32_t start = vplat::tickCount();
  vplat::sleepMs(50);
  // Unsigned difference: correct across a wrap of the 32-bit counter. Only the direction is
  // checked; the counter's granularity differs between systems (about 16 ms on Windows).
  const uint32_t elapsed = vplat::tickCount() - start;
  EXPECT_GT(elapsed, 0u);
  EXPECT_LT(elapsed, 600000u) << "the counter went backwards";
}

TEST(LocalTime, FieldsAreCalendarValues) {
  const vplat::LocalTime t = vplat::localTime();
  EXPECT_GE(t.year, 2024);
  EXPECT_GE(t.month, 1);
  EXPECT_LE(t.month, 12);
  EXPECT_GE(t.day, 1);
  EXPECT_LE(t.day, 31);
  EXPECT_LE(t.hour, 23);
  EXPECT_LE(t.minute, 59);
  EXPECT_LE(t.second, 60);
}

TEST(NewGuid, DistinctVersion4InWindowsByteLayout) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    unsigned char g[16];
    vplat::newGuid(g);
    seen.insert(std::string(reinterpret_cast<char*>(g), 16));
    // Data3 is stored little-endian: its version nibble is the high half of byte 7.
    EXPECT_EQ(g[7] >> 4, 4) << i;
    EXPECT_EQ(g[8] >> 6, 2) << i;
  }
  EXPECT_EQ(seen.size(), 200u);
}

TEST(Environment, SetOverwriteRemove) {
  const char* name = "VEXILON_TEST_VARIABLE";
  std::string value;
  ASSERT_TRUE(vplat::setEnv(name, "one"));
  ASSERT_TRUE(vplat::getEnv(name, value));
  EXPECT_EQ(value, "one");
  ASSERT_TRUE(vplat::setEnv(name, "two;three"));
  ASSERT_TRUE(vplat::getEnv(name, value));
  EXPECT_EQ(value, "two;three");
  ASSERT_TRUE(vplat::setEnv(name, nullptr));
  EXPECT_FALSE(vplat::getEnv(name, value));
}

TEST(Lock, ExcludesOtherThreadsAndLetsTheOwnerReenter) {
  vplat::Lock lock;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) {
        lock.Enter();
        lock.Enter();  // re-entry must not deadlock
        const long seen = counter;
        counter = seen + 1;
        lock.Leave();
        lock.Leave();
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(counter, 80000);
}

}  // namespace
