// One question of the questionnaire and the program-wide answers flag.
#pragma once

#include <cstdint>
#include <string>

// Bits of a question's flags word.
constexpr std::uint32_t QF_CATEGORY_MASK = 0x000003FFu; // bits 0-9, exactly one set
constexpr std::uint32_t QF_PHASE_MASK = 0x0000FC00u;    // bits 10-15
constexpr std::uint32_t QF_ACTIVITY_MASK = 0x003F0000u; // bits 16-21
constexpr std::uint32_t QF_FIVE_LEVEL = 1u << 24;
constexpr std::uint32_t QF_ESTIMATION_METHOD = 1u << 25;

constexpr std::uint32_t QUESTION_COUNT = 81;
constexpr std::uint32_t CATEGORY_COUNT = 10;
constexpr std::uint32_t FIVE_LEVEL_ANSWERS = 5;
constexpr std::uint32_t ESTIMATION_METHOD_ANSWERS = 7;

// Raised by every SetSelected, cleared by CRiskModel::ClearModified.
extern int g_bAnswersModified;

// One row of the question catalogue.
struct QuestionEntry
{
    std::int32_t nTextId; // string id of the question text; 0 ends the catalogue
    std::uint32_t dwFlags;
};

// The two answer scales, in answer-index order.
extern const double g_adFiveLevelValues[FIVE_LEVEL_ANSWERS];
extern const int g_anFiveLevelLabelIds[FIVE_LEVEL_ANSWERS];
extern const double g_adEstimationMethodValues[ESTIMATION_METHOD_ANSWERS];
extern const int g_anEstimationMethodLabelIds[ESTIMATION_METHOD_ANSWERS];

// The 81 questions in catalogue order; a question's index is its row.
extern const QuestionEntry g_aQuestionCatalogue[QUESTION_COUNT];

class CQuestion
{
public:
    // Throws std::logic_error for a row with neither scale bit.
    explicit CQuestion(const QuestionEntry& entry);
    virtual ~CQuestion();
    CQuestion(const CQuestion&) = delete;
    CQuestion& operator=(const CQuestion&) = delete;

    const std::string& GetText() const { return m_strText; }
    std::uint32_t GetFlags() const { return m_dwFlags; }
    std::uint32_t GetAnswerCount() const { return m_nAnswers; }
    std::uint32_t GetSelected() const { return m_nSelected; }
    // Out-of-range indices select the last answer; always raises the
    // answers-modified flag.
    void SetSelected(std::uint32_t nIndex);
    double GetValue() const { return m_pAnswerValues[m_nSelected]; }
    // The value answer nIndex scores; an index outside the scale counts as
    // the last answer, as SetSelected takes it.
    double GetAnswerValue(std::uint32_t nIndex) const
    {
        return m_pAnswerValues[nIndex < m_nAnswers ? nIndex : m_nAnswers - 1];
    }
    // Empty text for an index outside the scale.
    std::string GetAnswerLabel(std::uint32_t nIndex) const;

private:
    const double* m_pAnswerValues = nullptr;
    std::uint32_t m_nAnswers = 0;
    std::uint32_t m_nSelected = 0;
    std::string m_strText;
    std::uint32_t m_dwFlags = 0;
};
