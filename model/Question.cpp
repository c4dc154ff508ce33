#include "model/Question.h"

#include "res/Strings.h"

#include <stdexcept>

int g_bAnswersModified = 0;

CQuestion::CQuestion(const QuestionEntry& entry)
{
    m_dwFlags = entry.dwFlags;
    m_strText = LoadResString(entry.nTextId);
    if (m_dwFlags & QF_FIVE_LEVEL)
    {
        m_pAnswerValues = g_adFiveLevelValues;
        m_nAnswers = FIVE_LEVEL_ANSWERS;
    }
    else if (m_dwFlags & QF_ESTIMATION_METHOD)
    {
        m_pAnswerValues = g_adEstimationMethodValues;
        m_nAnswers = ESTIMATION_METHOD_ANSWERS;
    }
    else
    {
        throw std::logic_error("question " + std::to_string(entry.nTextId) +
                               " has no answer scale");
    }
}

CQuestion::~CQuestion() = default;

void CQuestion::SetSelected(std::uint32_t nIndex)
{
    m_nSelected = nIndex < m_nAnswers ? nIndex : m_nAnswers - 1;
    g_bAnswersModified = 1;
}

std::string CQuestion::GetAnswerLabel(std::uint32_t nIndex) const
{
    if ((m_dwFlags & QF_FIVE_LEVEL) && nIndex < m_nAnswers)
        return LoadResString(g_anFiveLevelLabelIds[nIndex]);
    if ((m_dwFlags & QF_ESTIMATION_METHOD) && nIndex < m_nAnswers)
        return LoadResString(g_anEstimationMethodLabelIds[nIndex]);
    return {};
}
