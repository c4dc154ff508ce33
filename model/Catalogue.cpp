// The answer scales and the question catalogue.
#include "model/Question.h"

#include "res/resource.h"

const double g_adFiveLevelValues[FIVE_LEVEL_ANSWERS] = {0.0, 0.2, 0.5, 0.8, 1.0};
const int g_anFiveLevelLabelIds[FIVE_LEVEL_ANSWERS] = {
    IDS_ANSWER_NONE, IDS_ANSWER_LITTLE, IDS_ANSWER_SOME, IDS_ANSWER_MOST, IDS_ANSWER_ALL};

// The index order is the order of the drop-down list and of the stored
// answer; the label ids are not in that order.
const double g_adEstimationMethodValues[ESTIMATION_METHOD_ANSWERS] = {0.2, 0.3, 0.3, 0.4,
                                                                      0.5, 0.6, 0.7};
const int g_anEstimationMethodLabelIds[ESTIMATION_METHOD_ANSWERS] = {
    IDS_METHOD_GUESS,    IDS_METHOD_DICTATED, IDS_METHOD_PRICED_TO_WIN, IDS_METHOD_OTHER,
    IDS_METHOD_TOP_DOWN, IDS_METHOD_ANALOGY,  IDS_METHOD_BOTTOM_UP};

namespace
{
constexpr std::uint32_t Category(int k)
{
    return 1u << k;
}

// One letter per phase bit 10..15 ("PRDCTM"), a dash where the bit is clear.
constexpr std::uint32_t Phases(const char (&sz)[7])
{
    std::uint32_t dw = 0;
    for (int i = 0; i < 6; ++i)
        if (sz[i] != '-')
            dw |= 1u << (10 + i);
    return dw;
}

// One letter per activity bit 16..21 ("ISAMRP"), a dash where the bit is clear.
constexpr std::uint32_t Activities(const char (&sz)[7])
{
    std::uint32_t dw = 0;
    for (int i = 0; i < 6; ++i)
        if (sz[i] != '-')
            dw |= 1u << (16 + i);
    return dw;
}
} // namespace

static_assert(IDS_QUESTION_FIRST + QUESTION_COUNT <= IDS_ANSWER_NONE, "question texts overlap");

// Question index = row number; the order is part of the project file format.
// One question a line:
// clang-format off
const QuestionEntry g_aQuestionCatalogue[QUESTION_COUNT] = {
    {IDS_QUESTION_FIRST + 0, Category(0) | Phases("PRDCTM") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 1, Category(0) | Phases("P-----") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 2, Category(0) | Phases("PRDCTM") | Activities("ISAM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 3, Category(0) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 4, Category(0) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 5, Category(0) | Phases("-RDCTM") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 6, Category(0) | Phases("-RDCTM") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 7, Category(0) | Phases("-RDCTM") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 8, Category(1) | Phases("P-----") | Activities("IS---P") | QF_ESTIMATION_METHOD},
    {IDS_QUESTION_FIRST + 9, Category(1) | Phases("P-----") | Activities("ISAM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 10, Category(1) | Phases("P-----") | Activities("ISAM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 11, Category(1) | Phases("P-----") | Activities("ISAM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 12, Category(1) | Phases("PRDCTM") | Activities("ISAMRP") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 13, Category(1) | Phases("PRDCTM") | Activities("ISA--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 14, Category(1) | Phases("PRDCTM") | Activities("ISA--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 15, Category(2) | Phases("PRDCTM") | Activities("IS-M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 16, Category(2) | Phases("PRDCTM") | Activities("I--MRP") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 17, Category(2) | Phases("PRDCTM") | Activities("I--MRP") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 18, Category(2) | Phases("PRDCTM") | Activities("I--MRP") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 19, Category(2) | Phases("-RDCTM") | Activities("I-AMRP") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 20, Category(2) | Phases("PRDCTM") | Activities("I-AMRP") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 21, Category(2) | Phases("PRDCTM") | Activities("I-AMRP") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 22, Category(3) | Phases("P-----") | Activities("IS-M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 23, Category(3) | Phases("PRDCT-") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 24, Category(3) | Phases("-RDCT-") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 25, Category(3) | Phases("-RDC--") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 26, Category(3) | Phases("----T-") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 27, Category(3) | Phases("PRDCT-") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 28, Category(3) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 29, Category(4) | Phases("PRDCTM") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 30, Category(4) | Phases("--D---") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 31, Category(4) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 32, Category(4) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 33, Category(4) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 34, Category(4) | Phases("PRDCTM") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 35, Category(4) | Phases("-----M") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 36, Category(4) | Phases("---C--") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 37, Category(4) | Phases("PRDCT-") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 38, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 39, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 40, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 41, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 42, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 43, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 44, Category(5) | Phases("P-----") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 45, Category(5) | Phases("P-----") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 46, Category(5) | Phases("P-----") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 47, Category(5) | Phases("P-----") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 48, Category(5) | Phases("P-----") | Activities("ISA--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 49, Category(6) | Phases("-----M") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 50, Category(6) | Phases("-RDCTM") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 51, Category(6) | Phases("-R----") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 52, Category(6) | Phases("--D---") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 53, Category(6) | Phases("-R----") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 54, Category(6) | Phases("--D---") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 55, Category(7) | Phases("-R----") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 56, Category(7) | Phases("--D---") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 57, Category(7) | Phases("---C--") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 58, Category(7) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 59, Category(7) | Phases("PRDCTM") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 60, Category(7) | Phases("---C--") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 61, Category(7) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 62, Category(7) | Phases("-----M") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 63, Category(7) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 64, Category(8) | Phases("--DC--") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 65, Category(8) | Phases("--DC--") | Activities("I----P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 66, Category(8) | Phases("-RDC--") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 67, Category(8) | Phases("---C--") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 68, Category(8) | Phases("--DC--") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 69, Category(8) | Phases("---C--") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 70, Category(8) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 71, Category(8) | Phases("-----M") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 72, Category(8) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 73, Category(8) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 74, Category(8) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 75, Category(8) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 76, Category(9) | Phases("P-----") | Activities("ISAM-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 77, Category(9) | Phases("P-----") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 78, Category(9) | Phases("P-----") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 79, Category(9) | Phases("P-----") | Activities("I--M-P") | QF_FIVE_LEVEL},
    {IDS_QUESTION_FIRST + 80, Category(9) | Phases("P-----") | Activities("I----P") | QF_FIVE_LEVEL},
};
// clang-format on
