#include <gtest/gtest.h>
#include <string.h>
TEST(Charset, Cp932) { const char* s = "完了\r\n"; EXPECT_EQ(6u, strlen(s)); }
