#include <fcntl.h>
#include <sys/random.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Platform.h"

namespace vplat {

uint32_t tickCount() {
  timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t ms =
      static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);  // wraps like the Windows tick count
}

void sleepMs(uint32_t ms) {
  timespec req{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (::nanosleep(&req, &req) != 0 && errno == EINTR) {
  }
}

LocalTime localTime() {
  time_t now = ::time(nullptr);
  tm t;
  std::memset(&t, 0, sizeof t);
  ::localtime_r(&now, &t);
  return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

void newGuid(unsigned char out16[16]) {
  size_t got = 0;
  while (got < 16) {
    ssize_t n = ::getrandom(out16 + got, 16 - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    got += static_cast<size_t>(n);
  }
  if (got < 16) {
    // No kernel randomness: mix time and process id rather than hand out a constant id.
    timespec ts;
    ::clock_gettime(CLOCK_REALTIME, &ts);
    uint64_t seed = static_cast<uint64_t>(ts.tv_nsec) ^ (static_cast<uint64_t>(ts.tv_sec) << 20) ^
                    (static_cast<uint64_t>(::getpid()) << 40);
    static uint64_t counter = 0;
    seed += ++counter * 0x9E3779B97F4A7C15ull;
    for (size_t i = got; i < 16; ++i) {
      seed ^= seed >> 33;
      seed *= 0xFF51AFD7ED558CCDull;
      seed ^= seed >> 29;
      out16[i] = static_cast<unsigned char>(seed);
    }
  }
  // Version 4 sits in the high nibble of Data3, which is stored little-endian: byte 7.
  out16[7] = static_cast<unsigned char>((out16[7] & 0x0F) | 0x40);
  // The variant (binary 10) in the top bits of Data4[0].
  out16[8] = static_cast<unsigned char>((out16[8] & 0x3F) | 0x80);
}

}  // namespace vplat
