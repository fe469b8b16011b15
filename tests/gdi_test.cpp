#include "platform/gdi.h"

#include <gtest/gtest.h>

TEST(Placeholder, Builds) { SUCCEED(); }
