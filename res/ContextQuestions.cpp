#include "res/ContextQuestions.h"

#include <algorithm>
#include <array>

namespace
{
// Decided from the questions' texts: what the project has behind it (past
// work and past estimates), its company's character and market, a compiler
// it did not choose, its requirements' churn, and its people's experience
// and number.
constexpr std::array<std::uint32_t, 13> s_anContext = {
    1,  // Has your company been producing similar software in the past?
    3,  // Is the organizational structure stable?
    4,  // What is the confidence level of your management team?
    13, // How accurate are your past cost estimates compared to actual costs?
    14, // How accurate are your past schedule estimates compared to actual schedule?
    36, // How stable is your compiler, linker, and debugger?
    44, // How immune is your company to market forces?
    45, // Is your company culture conservative in its decision-making?
    59, // Have there been, or are there expected to be, many changes made in the requirements?
    77, // How experienced are the personnel resources in the product type being developed?
    78, // ... in the development environment?
    79, // ... in the implementation language?
    80, // Is this a SMALL software development team?
};
static_assert(std::is_sorted(s_anContext.begin(), s_anContext.end()));
} // namespace

std::span<const std::uint32_t> ContextQuestions()
{
    return s_anContext;
}

bool IsContextQuestion(std::uint32_t nQuestion)
{
    return std::binary_search(s_anContext.begin(), s_anContext.end(), nQuestion);
}
