// The program's string table: every text of the program's own, by id.
#include "res/Strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace
{
struct StringEntry
{
    int nId;
    const char* pszText;
};

// Sorted by id.
constexpr StringEntry s_aStrings[] = {
    // Metric labels.
    {102, "Total Project Probability"},
    {103, "Summary - Technical Prob"},
    {104, "Summary - Cost Prob"},
    {105, "Summary - Schedule Prob"},
    {106, "Organization prob"},
    {107, "Estimation Prob"},
    {108, "Monitoring Prob"},
    {109, "Development Prob"},
    {110, "Tools Prob"},
    {111, "Company Culture Prob"},
    {112, "Usability Prob"},
    {113, "Correctness Prob"},
    {114, "Reliability Prob"},
    {115, "Personnel Prob"},
    {116, "Phase - Pre-requirements Prob"},
    {117, "Phase - Requirements Prob"},
    {118, "Phase - Design Prob"},
    {119, "Phase - Coding Prob"},
    {120, "Phase - Testing Prob"},
    {121, "Phase - Delivery and Maintenance Prob"},
    {122, "Activity - Identification Prob"},
    {123, "Activity - Strategy and Planning Prob"},
    {124, "Activity - Assessment Prob"},
    {125, "Activity - Mitigation and Avoidance Prob"},
    {126, "Activity - Reporting Prob"},
    {127, "Activity - Prediction Prob"},
    {128, "Summary - Process Prob"},
    {129, "Summary - Product Prob"},
    // Question texts, one per catalogue row.
    {130, "Are you using, or do you plan to use, experienced software managers?"},
    {131, "Has your company been producing similar software in the past?"},
    {132, "Is there a documented organizational structure either in place or planned?"},
    {133, "Is the organizational structure stable?"},
    {134, "What is the confidence level of your management team?"},
    {135, "Does good communication exist between different organizations \nor departments "
          "supporting development of the software project?"},
    {136, "Are software configuration management functions being performed?"},
    {137, "Are software quality functions being performed?"},
    {138, "What estimation method is used?"},
    {139, "Is a software cost model used?"},
    {140, "Is the estimation based on past software productivity metrics?"},
    {141, "Are the schedule estimates based on past software projects?"},
    {142, "Are estimates revised on a monthly or more frequent basis?"},
    {143, "How accurate are your past cost estimates compared to actual costs?"},
    {144, "How accurate are your past schedule estimates compared to actual schedule?"},
    {145, "For each major software effort, are there distinct milestones set for each software "
          "development phase?"},
    {146, "Is a detailed Work Breakdown Structure (WBS) used to track and report costs and budget "
          "for each piece of major software development?"},
    {147, "Is there a monitoring system setup for cost, schedule, and earned-value?"},
    {148, "Are cost, schedule, and earned-value reports available on demand?"},
    {149,
     "Are cost, schedule, and earned-value reports updated on a monthly or more frequent basis?"},
    {150, "Is there a problem log or action log system? Is it used and updated on a weekly basis?"},
    {151, "Does a means exist to address and record technical problems? is it used and updated on "
          "a weeky basis?"},
    {152, "Is there a documented software development methodology or plan used for the project, "
          "and is it being adhered to closely?"},
    {153, "Are the software developers trained in the development methodology?"},
    {154, "How closely is the development methodology being followed?"},
    {155, "Does the development methodology include requrements, design, and code reviews, "
          "walkthroughs, or inspections?"},
    {156, "Does the development methodology require test plans and/or test procedures for all "
          "software functions?"},
    {157, "Does the development methodology require documentation such as requirements, design, "
          "and software development folders?"},
    {158, "Is regression testing performed?"},
    {159, "Are the software developers trained in using the tools?"},
    {160, "Are automated tools used for software design?"},
    {161, "Are automated tools used for testing?"},
    {162, "Are automated tools used for test procedure generation?"},
    {163, "Are automated tools used for regression testing?"},
    {164, "Are automated tools used for requirements traceability?"},
    {165, "Are automated tools used for re-engineering (identifying characteristics of the "
          "software based on its code, such as its structure)?"},
    {166, "How stable is your compiler, linker, and debugger?"},
    {167, "Are tools readily available to the software development personnel when needed?"},
    {168, "Does your company avoid squeezing the budget tighter for additional profit? (All = "
          "Never squeezes budget)"},
    {169, "Does your company avoid compressing the schedule for additional profit? (All = Never "
          "squeezes schedule)"},
    {170, "Does your company avoid lowering product quality fewer features or more defects) for "
          "additional profit? (All = never lowers quality)"},
    {171, "Is your company willing to accept less profit if it reduces the budget risk? (All = "
          "always reduces budget risk)"},
    {172, "Is your company willing to accept less profit if it reduces the schedule risk? (All = "
          "always reduces schedule risk)"},
    {173, "Is your company willing to accept less profit if it increases the quality (more "
          "features or fewer defects)? (All = always increases quality)"},
    {174, "How immune is your company to market forces?"},
    {175, "Is your company culture conservative in its decision-making?"},
    {176, "Does your company MINIMIZE its investment in new products and technologies?"},
    {177, "Does your company acquire most of its technology (as opposed to building it in-house)?"},
    {178, "Does your company practice risk management?"},
    {179, "Is there a user manual for the software?"},
    {180, "Are the help functions for each input and output?"},
    {181, "Is the user involved in reviewing prototypes or earlier versions of the software?"},
    {182, "Is the user interface designed to an industry standard or to a standard familiar to the "
          "user?"},
    {183, "Have user response times been identified?"},
    {184, "Has the design been evaluated to minimize keystrokes, mouse clicks, and data entry?"},
    {185, "Have all the software requirements been identified and documented?"},
    {186, "Have the software requirements been traced to the design?"},
    {187, "Are the software requirements traceable to the code?"},
    {188, "Are the software requirements traceable to the test procedures?"},
    {189, "Have there been, or are there expected to be, many changes made in the requirements?"},
    {190, "Are the software designs traceable to the code?"},
    {191, "Is the software design traceable to the test procedure?"},
    {192, "Have all open action items been addressed and implemented prior to delivery to the "
          "customer?"},
    {193, "Has software functional testing been performed prior to customer delivery?"},
    {194, "Are there error handling conditions within the software design and code?"},
    {195, "When an error condition is detected, does processing continue?"},
    {196, "Are error tolerances defined for input and output data?"},
    {197, "Are inputs checked for valid values before processing beings?"},
    {198, "Are hardware faults detected and processed in the software?"},
    {199, "Is the use of global data types minimized?"},
    {200, "Is defect data collected during software integration?"},
    {201, "Is defect data being logged-in and closed-out prior to delivery to the customer?"},
    {202, "Is a software reliability model used to predict reliability?"},
    {203, "Are tests performed with written test plans?"},
    {204, "Has stress testing been performed?"},
    {205, "Is testing performed by a group separate from the software development group?"},
    {206, "Are personnel resources available and identified?"},
    {207, "How experienced are the personnel resources in the product type being developed?"},
    {208, "How experienced are the personnel resources in the development environment?"},
    {209, "How experienced are the personnel resources in the implementation language?"},
    {210, "Is this a SMALL software development team? (Less than 20 developers = All; 50 = Some, "
          "100 or more = None.)"},
    // Answer labels: the five-level scale, then the estimation methods.
    {211, "None"},
    {212, "Little"},
    {213, "Some"},
    {214, "Most"},
    {215, "All"},
    {216, "Guess"},
    {217, "Analogy"},
    {218, "Priced-to-win"},
    {219, "Dictated by circumstances"},
    {220, "Top-Down"},
    {221, "Bottom-Up"},
    {222, "Other"},
    // Window texts.
    {224, "Velkor - "},
    {229, "Cost %.0f%%\n\nTechnical %.0f%%\n\nSchedule %.0f%%"},
    {230, "Project has not been saved. Continue anyway without saving?"},
    {231, "Nothing was written to %1.\n\nSave As writes a project for a name ending in .vlk, a text "
          "report for .txt and an HTML report for .htm."},
};

constexpr bool IsSorted()
{
    for (std::size_t i = 1; i < std::size(s_aStrings); ++i)
        if (s_aStrings[i - 1].nId >= s_aStrings[i].nId)
            return false;
    return true;
}
static_assert(IsSorted(), "string table must be sorted by id");

// Built once: lookups hand out references that stay valid for the whole run.
const std::array<std::string, std::size(s_aStrings)>& Texts()
{
    static const auto s_aTexts = []
    {
        std::array<std::string, std::size(s_aStrings)> a;
        for (std::size_t i = 0; i < a.size(); ++i)
            a[i] = s_aStrings[i].pszText;
        return a;
    }();
    return s_aTexts;
}
} // namespace

const std::string& LoadResString(int nId)
{
    static const std::string s_strEmpty;
    const auto* pEnd = std::end(s_aStrings);
    const auto* p = std::lower_bound(std::begin(s_aStrings), pEnd, nId,
                                     [](const StringEntry& e, int n) { return e.nId < n; });
    if (p == pEnd || p->nId != nId)
        return s_strEmpty;
    return Texts()[static_cast<std::size_t>(p - std::begin(s_aStrings))];
}
