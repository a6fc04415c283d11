#include "data/greekcollation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "data/cp1253.h"

namespace dravin {
namespace {

int compareUtf8(const std::string& a, const std::string& b) {
    return compareGreek(cp1253::encode(a), cp1253::encode(b));
}

struct OrderCase {
    const char* label;
    const char* before;
    const char* after;
};

std::ostream& operator<<(std::ostream& os, const OrderCase& c) {
    return os << '"' << c.before << "\" < \"" << c.after << '"';
}

class GreekOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(GreekOrderTest, SortsBeforeAndIsAntisymmetric) {
    const OrderCase& c = GetParam();
    EXPECT_LT(compareUtf8(c.before, c.after), 0);
    EXPECT_GT(compareUtf8(c.after, c.before), 0);
}

// Most pairs are ones that byte order gets wrong.
INSTANTIATE_TEST_SUITE_P(
    GreekCollation, GreekOrderTest,
    ::testing::Values(OrderCase{"lower_before_later_upper", "αλεξίου", "Βλάχου"},
                      OrderCase{"accented_capital_by_base_letter", "Αγγελίδης", "Άγγελος"},
                      OrderCase{"omega_accent_after_psi", "Ψαράς", "Ώρες"},
                      OrderCase{"upsilon_accent_before_phi", "Ύδρα", "Φωτίου"},
                      OrderCase{"eta_accent_before_theta", "Ήλιος", "Θεοδώρου"},
                      OrderCase{"dieresis_iota_before_kappa", "ϊα", "κα"},
                      OrderCase{"final_sigma_is_sigma", "Παπάς Α", "Παπασ Β"},
                      OrderCase{"final_sigma_against_byte_order", "σα", "ςβ"},
                      OrderCase{"digits_before_latin", "9", "A"},
                      OrderCase{"latin_before_greek", "Zorbas", "Αλέξης"},
                      OrderCase{"latin_case_insensitive", "apple", "Banana"},
                      OrderCase{"digits_before_greek", "10ος", "Α"},
                      OrderCase{"space_before_letters", "Παπα Νίκος", "Παπαδόπουλος"},
                      OrderCase{"prefix_first", "Παπα", "Παπαδόπουλος"},
                      OrderCase{"plain_before_accent", "Αννα", "Άννα"},
                      OrderCase{"accent_before_dieresis", "ί", "ϊ"},
                      OrderCase{"dieresis_before_both", "ϊ", "ΐ"},
                      OrderCase{"accent_decides_before_case", "ΑΛΦΑ", "άλφα"},
                      OrderCase{"lower_before_upper", "αλφα", "Αλφα"},
                      OrderCase{"latin_lower_before_upper", "abc", "Abc"},
                      OrderCase{"accent_outweighs_later_case", "Αννα", "άννα"},
                      OrderCase{"base_letter_outweighs_accent", "Άννα", "Αννί"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(GreekCollationTest, OwnersInGreekAlphabeticalOrder) {
    const std::vector<std::string> expected = {
        "Αλεξίου",      "αλεξίου Γ.",   "Άνθη",        "Βλάχου",      "Γεωργίου", "Δημητρίου",
        "Ευαγγέλου",    "Έψιλον",       "Ζαφειρίου",   "Ηλιόπουλος",  "Θεοδώρου", "Ιωάννου",
        "Κωνσταντίνου", "Λαμπράκης",    "Μαρκόπουλος", "Νικολάου",    "Ξενάκης",  "Οικονόμου",
        "Όμηρος",       "Παπαδόπουλος", "Ρήγας",       "Σταύρου",     "Τσάκωνας", "Υφαντής",
        "Φωτίου",       "Χατζής",       "Ψαράς",       "Ωραιόπουλος", "Ώριμος"};
    std::vector<std::string> shuffled = expected;
    std::reverse(shuffled.begin(), shuffled.end());
    std::rotate(shuffled.begin(), shuffled.begin() + 11, shuffled.end());
    std::stable_sort(
        shuffled.begin(), shuffled.end(),
        [](const std::string& a, const std::string& b) { return compareUtf8(a, b) < 0; });
    EXPECT_EQ(shuffled, expected);
}

TEST(GreekCollationTest, OnlyIdenticalBytesCompareEqual) {
    const std::vector<std::string> lookAlike = {"Παπάς", "ΠΑΠΑΣ", "παπας",  "Παπας",
                                                "Παπάσ", "παπάς", "Παπας ", ""};
    for (const auto& a : lookAlike) {
        for (const auto& b : lookAlike) {
            const int c = compareUtf8(a, b);
            if (a == b) {
                EXPECT_EQ(c, 0) << a;
            } else {
                EXPECT_NE(c, 0) << '"' << a << "\" vs \"" << b << '"';
                EXPECT_EQ(c > 0, compareUtf8(b, a) < 0) << a << " / " << b;
            }
        }
    }
}

TEST(GreekCollationTest, NoTwoBytesCollapse) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const std::string x(1, static_cast<char>(a)), y(1, static_cast<char>(b));
            const int c = compareGreek(x, y);
            ASSERT_EQ(c == 0, a == b) << a << " " << b;
            ASSERT_EQ(c, -compareGreek(y, x)) << a << " " << b;
        }
    }
}

TEST(GreekCollationTest, SigmaFormsTieOnlyOnBytes) {
    // Same letter at every level; the bytes still tell them apart.
    EXPECT_NE(compareUtf8("ς", "σ"), 0);
    EXPECT_LT(compareUtf8("ς", "σα"), 0);
    EXPECT_LT(compareUtf8("σ", "ςα"), 0);
}

}  // namespace
}  // namespace dravin
