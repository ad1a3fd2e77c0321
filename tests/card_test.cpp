#include <gtest/gtest.h>
#include "engine/card.h"
TEST(Card, Parse) { EXPECT_TRUE(zarv::CardCode::Parse("x10")); }
