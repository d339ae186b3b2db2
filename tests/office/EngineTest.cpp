#include "LibreOffice.h"
#include "UnoEngine.h"

#include <gtest/gtest.h>

TEST(Smoke, StartsAndQuits) {
    auto lo = office::makeLibreOffice();
    auto app = lo->createApplication();
    EXPECT_GT(lo->processId(), 0);
    app->quit();
}
