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

// Question index = row number; the order is part of the project file format.
const QuestionEntry g_aQuestionCatalogue[QUESTION_COUNT] = {
    {130, Category(0) | Phases("PRDCTM") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 0
    {131, Category(0) | Phases("P-----") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 1
    {132, Category(0) | Phases("PRDCTM") | Activities("ISAM-P") | QF_FIVE_LEVEL},        // 2
    {133, Category(0) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 3
    {134, Category(0) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 4
    {135, Category(0) | Phases("-RDCTM") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 5
    {136, Category(0) | Phases("-RDCTM") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 6
    {137, Category(0) | Phases("-RDCTM") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 7
    {138, Category(1) | Phases("P-----") | Activities("IS---P") | QF_ESTIMATION_METHOD}, // 8
    {139, Category(1) | Phases("P-----") | Activities("ISAM-P") | QF_FIVE_LEVEL},        // 9
    {140, Category(1) | Phases("P-----") | Activities("ISAM-P") | QF_FIVE_LEVEL},        // 10
    {141, Category(1) | Phases("P-----") | Activities("ISAM-P") | QF_FIVE_LEVEL},        // 11
    {142, Category(1) | Phases("PRDCTM") | Activities("ISAMRP") | QF_FIVE_LEVEL},        // 12
    {143, Category(1) | Phases("PRDCTM") | Activities("ISA--P") | QF_FIVE_LEVEL},        // 13
    {144, Category(1) | Phases("PRDCTM") | Activities("ISA--P") | QF_FIVE_LEVEL},        // 14
    {145, Category(2) | Phases("PRDCTM") | Activities("IS-M-P") | QF_FIVE_LEVEL},        // 15
    {146, Category(2) | Phases("PRDCTM") | Activities("I--MRP") | QF_FIVE_LEVEL},        // 16
    {147, Category(2) | Phases("PRDCTM") | Activities("I--MRP") | QF_FIVE_LEVEL},        // 17
    {148, Category(2) | Phases("PRDCTM") | Activities("I--MRP") | QF_FIVE_LEVEL},        // 18
    {149, Category(2) | Phases("-RDCTM") | Activities("I-AMRP") | QF_FIVE_LEVEL},        // 19
    {150, Category(2) | Phases("PRDCTM") | Activities("I-AMRP") | QF_FIVE_LEVEL},        // 20
    {151, Category(2) | Phases("PRDCTM") | Activities("I-AMRP") | QF_FIVE_LEVEL},        // 21
    {152, Category(3) | Phases("P-----") | Activities("IS-M-P") | QF_FIVE_LEVEL},        // 22
    {153, Category(3) | Phases("PRDCT-") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 23
    {154, Category(3) | Phases("-RDCT-") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 24
    {155, Category(3) | Phases("-RDC--") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 25
    {156, Category(3) | Phases("----T-") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 26
    {157, Category(3) | Phases("PRDCT-") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 27
    {158, Category(3) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 28
    {159, Category(4) | Phases("PRDCTM") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 29
    {160, Category(4) | Phases("--D---") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 30
    {161, Category(4) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 31
    {162, Category(4) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 32
    {163, Category(4) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 33
    {164, Category(4) | Phases("PRDCTM") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 34
    {165, Category(4) | Phases("-----M") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 35
    {166, Category(4) | Phases("---C--") | Activities("I----P") | QF_FIVE_LEVEL},        // 36
    {167, Category(4) | Phases("PRDCT-") | Activities("I----P") | QF_FIVE_LEVEL},        // 37
    {168, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 38
    {169, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 39
    {170, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 40
    {171, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 41
    {172, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 42
    {173, Category(5) | Phases("PRDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 43
    {174, Category(5) | Phases("P-----") | Activities("I----P") | QF_FIVE_LEVEL},        // 44
    {175, Category(5) | Phases("P-----") | Activities("I----P") | QF_FIVE_LEVEL},        // 45
    {176, Category(5) | Phases("P-----") | Activities("I----P") | QF_FIVE_LEVEL},        // 46
    {177, Category(5) | Phases("P-----") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 47
    {178, Category(5) | Phases("P-----") | Activities("ISA--P") | QF_FIVE_LEVEL},        // 48
    {179, Category(6) | Phases("-----M") | Activities("I----P") | QF_FIVE_LEVEL},        // 49
    {180, Category(6) | Phases("-RDCTM") | Activities("I----P") | QF_FIVE_LEVEL},        // 50
    {181, Category(6) | Phases("-R----") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 51
    {182, Category(6) | Phases("--D---") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 52
    {183, Category(6) | Phases("-R----") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 53
    {184, Category(6) | Phases("--D---") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 54
    {185, Category(7) | Phases("-R----") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 55
    {186, Category(7) | Phases("--D---") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 56
    {187, Category(7) | Phases("---C--") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 57
    {188, Category(7) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 58
    {189, Category(7) | Phases("PRDCTM") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 59
    {190, Category(7) | Phases("---C--") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 60
    {191, Category(7) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 61
    {192, Category(7) | Phases("-----M") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 62
    {193, Category(7) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 63
    {194, Category(8) | Phases("--DC--") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 64
    {195, Category(8) | Phases("--DC--") | Activities("I----P") | QF_FIVE_LEVEL},        // 65
    {196, Category(8) | Phases("-RDC--") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 66
    {197, Category(8) | Phases("---C--") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 67
    {198, Category(8) | Phases("--DC--") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 68
    {199, Category(8) | Phases("---C--") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 69
    {200, Category(8) | Phases("----T-") | Activities("I-A--P") | QF_FIVE_LEVEL},        // 70
    {201, Category(8) | Phases("-----M") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 71
    {202, Category(8) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 72
    {203, Category(8) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 73
    {204, Category(8) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 74
    {205, Category(8) | Phases("----T-") | Activities("I-AM-P") | QF_FIVE_LEVEL},        // 75
    {206, Category(9) | Phases("P-----") | Activities("ISAM-P") | QF_FIVE_LEVEL},        // 76
    {207, Category(9) | Phases("P-----") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 77
    {208, Category(9) | Phases("P-----") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 78
    {209, Category(9) | Phases("P-----") | Activities("I--M-P") | QF_FIVE_LEVEL},        // 79
    {210, Category(9) | Phases("P-----") | Activities("I----P") | QF_FIVE_LEVEL},        // 80
};
