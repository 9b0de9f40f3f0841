// Dimming arithmetic of the template picture.
#include "canvas/picture_dimming.h"

#include <gtest/gtest.h>

TEST(PictureDimming, EveryByteBecomesAThirdPaddingIncluded) {
    uint8_t bytes[] = {255, 0, 1, 2, 3, 200, 254};
    DimToOneThird(bytes, sizeof bytes);
    const uint8_t expected[] = {85, 0, 0, 0, 1, 66, 84};
    for (size_t i = 0; i < sizeof bytes; ++i) EXPECT_EQ(bytes[i], expected[i]) << i;
}

TEST(PictureDimming, RowsArePaddedToFourBytes) {
    EXPECT_EQ(DibRowBytes(1), 4u);
    EXPECT_EQ(DibRowBytes(4), 12u);
    EXPECT_EQ(DibRowBytes(5), 16u);
    EXPECT_EQ(DibImageBytes(5, 3), 48u);
}

TEST(PictureDimming, ImpossibleSizesGiveNoBuffer) {
    EXPECT_EQ(DibRowBytes(0), 0u);
    EXPECT_EQ(DibRowBytes(-3), 0u);
    EXPECT_EQ(DibImageBytes(10, 0), 0u);
    EXPECT_EQ(DibImageBytes(100000, 100000), 0u) << "too large to hold: picture stays undimmed";
}
