#include "pictures/NumberPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tallyflow {
namespace {

const NumberLocale kEnglish{",", "."};
const NumberLocale kGerman{".", ","};

constexpr const char *kKB = "###,###,###,###,##0 KB";
constexpr const char *kRate = "###,###,###,###,#0.#0 Kb/S";
constexpr const char *kPlain = "###,###,###,###,#0.#0";
constexpr const char *kBytes = "0 BS ";
constexpr const char *kKBS = "0.#0 KBS ";

struct Case {
  double value;
  const char *picture;
  const char *english;
  const char *german;
};

TEST(NumberPicture, RendersByThePicturesRules) {
  const Case cases[] = {
      {1536000.0 / 1024, kKB, "1,500 KB", "1.500 KB"},
      {1234.567, kRate, "1,234.57 Kb/S", "1.234,57 Kb/S"},
      {0.5, kRate, "0.50 Kb/S", "0,50 Kb/S"},
      {512, kBytes, "512 BS ", "512 BS "},
      {-300, kBytes, "-300 BS ", "-300 BS "},
      {1.5, kKBS, "1.50 KBS ", "1,50 KBS "},
      {2, kKBS, "2.00 KBS ", "2,00 KBS "},
      {0, kRate, "0.00 Kb/S", "0,00 Kb/S"},
      {0, kKB, "0 KB", "0 KB"},
      {999.999, kPlain, "1,000.00", "1.000,00"},
      {1023.99, kPlain, "1,023.99", "1.023,99"},
      {1023.996, kPlain, "1,024.00", "1.024,00"},
      {4882.8125, kKBS, "4882.81 KBS ", "4882,81 KBS "},
      {-1234567.891, kRate, "-1,234,567.89 Kb/S", "-1.234.567,89 Kb/S"},
      // More integer digits than the picture has places.
      {1e20, kKB, "100,000,000,000,000,000,000 KB", "100.000.000.000.000.000.000 KB"},
      {4294967295.0 / 1024, kKB, "4,194,304 KB", "4.194.304 KB"},
      // Halves away from zero on the decimal a person would write.
      {1.005, kPlain, "1.01", "1,01"},
      {0.125, kPlain, "0.13", "0,13"},
      {-0.125, kPlain, "-0.13", "-0,13"},
      {2.675, kPlain, "2.68", "2,68"},
      {0.5, kBytes, "1 BS ", "1 BS "},
      {-0.5, kBytes, "-1 BS ", "-1 BS "},
      {0.004, kPlain, "0.00", "0,00"},
      {-0.004, kPlain, "0.00", "0,00"},
      {9.995, kPlain, "10.00", "10,00"},
      {1e-300, kPlain, "0.00", "0,00"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.picture, kEnglish).value_or("<none>"), c.english)
        << c.value << " with " << c.picture;
    EXPECT_EQ(FormatNumber(c.value, c.picture, kGerman).value_or("<none>"), c.german)
        << c.value << " with " << c.picture;
  }
}

TEST(NumberPicture, GeneralPictureParts) {
  struct P {
    double value;
    const char *picture;
    const char *expected;
  };
  const P cases[] = {
      {7, "000", "007"},
      {1234, "#", "1234"},
      {0.25, "#.##", ".25"},
      {3, "#.0#", "3.0"},
      {3.25, "#.0#", "3.25"},
      {42, "Total: 0", "Total: 42"},
      {1234567, "#,##0", "1,234,567"},
      {12, "0.000", "12.000"},
      {5, "$0 each", "$5 each"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.picture, kEnglish).value_or("<none>"), c.expected) << c.picture;
  }
}

TEST(NumberPicture, NonFiniteValuesDoNotRender) {
  for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                   -std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(FormatNumber(v, kPlain, kEnglish).has_value());
  }
}

TEST(NumberPicture, RenderedTextsReadBackToTheRoundedValue) {
  for (const auto *locale : {&kEnglish, &kGerman}) {
    const std::pair<double, double> cases[] = {{0.0, 0.0},           {0.5, 0.5},
                                               {1.005, 1.01},        {1023.99, 1023.99},
                                               {1023.996, 1024.0},   {-1234567.891, -1234567.89},
                                               {4882.8125, 4882.81}, {1e15, 1e15}};
    for (const auto &[v, rounded] : cases) {
      const auto text = FormatNumber(v, kPlain, *locale);
      ASSERT_TRUE(text);
      EXPECT_EQ(ReadNumber(*text, *locale), rounded) << *text;
    }
  }
}

TEST(NumberPicture, ReadingRefusesWhatIsNotANumber) {
  struct R {
    const char *text;
    std::optional<double> english;
  };
  const R cases[] = {
      {"1,023.99", 1023.99},
      {" 42 ", 42.0},
      {"-7.5", -7.5},
      {"+3", 3.0},
      {"0", 0.0},
      {"1,500 KB", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"abc", std::nullopt},
      {"1.2.3", std::nullopt},
      {",5", std::nullopt},
      {"1e5", std::nullopt},
      {"NaN", std::nullopt},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ReadNumber(c.text, kEnglish), c.english) << '"' << c.text << '"';
  }
  EXPECT_EQ(ReadNumber("1.023,99", kGerman), 1023.99);
  EXPECT_EQ(ReadNumber("1,023.99", kGerman), std::nullopt);
}

} // namespace
} // namespace tallyflow
