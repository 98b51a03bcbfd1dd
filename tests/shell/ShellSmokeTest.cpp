#include <gtest/gtest.h>
#include "TestSession.h"
#include "shell/Language.h"
TEST(Smoke, TextIsId) { cfg::test::TestSession t; EXPECT_EQ(cfg::GetText(t.s, 1378), "1378"); }
