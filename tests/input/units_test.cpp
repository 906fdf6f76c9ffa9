// Unit conversions, unit labels and column headings.
#include <gtest/gtest.h>

#include "input/units.h"

namespace torva {
namespace {

TEST(Units, ConversionsByUnitSystem) {
  auto m = new_model();
  for (int units : {1, 3, 0}) {  // every value other than 2 converts as US customary
    m->IUNITS = units;
    EXPECT_DOUBLE_EQ(TOIN(*m, 10.0), 120.0);
    EXPECT_DOUBLE_EQ(TOFT(*m, TOIN(*m, 10.0)), 10.0);
    EXPECT_DOUBLE_EQ(TOPSI(*m, 144.0), 1.0);
    EXPECT_DOUBLE_EQ(TOPCI(*m, 1728.0), 1.0);
    EXPECT_DOUBLE_EQ(TOM(*m, 600.0), 600.0);
  }
  m->IUNITS = 2;
  EXPECT_DOUBLE_EQ(TOIN(*m, 10.0), 10.0);
  EXPECT_DOUBLE_EQ(TOM(*m, 600.0), 0.6);
  EXPECT_DOUBLE_EQ(TOMM(*m, TOM(*m, 600.0)), 600.0);
  EXPECT_DOUBLE_EQ(TOM2(*m, 1.0e6), 1.0);
  EXPECT_DOUBLE_EQ(TOM4(*m, 1.0e12), 1.0);
  EXPECT_DOUBLE_EQ(TOMM4(*m, 1.0), 1.0e12);
}

TEST(Units, SiHeadingsOfThe3dTable) {
  auto m = new_model();
  SETUNITLAB(*m, -1);
  SETCOLLAB(*m, 3);
  EXPECT_EQ(m->CLAB3[8].view(), "   KN- M  ");
  EXPECT_EQ(m->CLAB3[0].view(), "     M    ");
  EXPECT_EQ(m->CLAB3[18].view(), "  KN/ M**2");
  EXPECT_EQ(m->CLAB3[23].view(), "          ");
  EXPECT_EQ(m->CAPXLEN.view(), " x( M)");
}

TEST(Units, UsCustomaryHeadingsAndThe2dBlankColumns) {
  auto m = new_model();
  SETUNITLAB(*m, 1);
  SETCOLLAB(*m, 3);
  EXPECT_EQ(m->CLAB3[8].view(), "  LBS-IN  ");
  EXPECT_EQ(m->CLAB3[14].view(), "  LBS/IN  ");
  EXPECT_EQ(m->CLAB3[19].view(), " LBS-IN**2");
  SETCOLLAB(*m, 2);
  EXPECT_EQ(m->CLAB1[8].view(), "  BENDING ");
  for (int c : {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23}) {
    EXPECT_EQ(m->CLAB1[c - 1].view(), "          ") << c;
    EXPECT_EQ(m->CLAB3[c - 1].view(), "          ") << c;
  }
  SETUNITLAB(*m, 0);
  EXPECT_EQ(m->USTRS.view(), "F/L^2");
}

}  // namespace
}  // namespace torva
