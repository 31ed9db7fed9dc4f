// The platform records whose sizes the program relies on.
#include <windows.h>
#include <iphlpapi.h>
#include <shellapi.h>

#include <gtest/gtest.h>

static_assert(sizeof(MIB_IFROW) == 860, "an interface row is 860 bytes");

TEST(PlatformRecords, NotifyIconRecordHasItsVersionOneSize) {
#ifdef _WIN64
  EXPECT_EQ(NOTIFYICONDATAA_V1_SIZE, 104u);  // 64-bit: pointer-sized handles and padding
#else
  EXPECT_EQ(NOTIFYICONDATAA_V1_SIZE, 88u);
#endif
  EXPECT_EQ(sizeof(MIB_IFROW), 860u);
}
