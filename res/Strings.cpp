// The program's string table: every text of the program's own, by id.
#include "res/Strings.h"
#include "res/resource.h"

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
    {IDS_METRIC_FIRST + 0, "Total Project Probability"},
    {IDS_METRIC_FIRST + 1, "Summary - Technical Prob"},
    {IDS_METRIC_FIRST + 2, "Summary - Cost Prob"},
    {IDS_METRIC_FIRST + 3, "Summary - Schedule Prob"},
    {IDS_METRIC_FIRST + 4, "Organization prob"},
    {IDS_METRIC_FIRST + 5, "Estimation Prob"},
    {IDS_METRIC_FIRST + 6, "Monitoring Prob"},
    {IDS_METRIC_FIRST + 7, "Development Prob"},
    {IDS_METRIC_FIRST + 8, "Tools Prob"},
    {IDS_METRIC_FIRST + 9, "Company Culture Prob"},
    {IDS_METRIC_FIRST + 10, "Usability Prob"},
    {IDS_METRIC_FIRST + 11, "Correctness Prob"},
    {IDS_METRIC_FIRST + 12, "Reliability Prob"},
    {IDS_METRIC_FIRST + 13, "Personnel Prob"},
    {IDS_METRIC_FIRST + 14, "Phase - Pre-requirements Prob"},
    {IDS_METRIC_FIRST + 15, "Phase - Requirements Prob"},
    {IDS_METRIC_FIRST + 16, "Phase - Design Prob"},
    {IDS_METRIC_FIRST + 17, "Phase - Coding Prob"},
    {IDS_METRIC_FIRST + 18, "Phase - Testing Prob"},
    {IDS_METRIC_FIRST + 19, "Phase - Delivery and Maintenance Prob"},
    {IDS_METRIC_FIRST + 20, "Activity - Identification Prob"},
    {IDS_METRIC_FIRST + 21, "Activity - Strategy and Planning Prob"},
    {IDS_METRIC_FIRST + 22, "Activity - Assessment Prob"},
    {IDS_METRIC_FIRST + 23, "Activity - Mitigation and Avoidance Prob"},
    {IDS_METRIC_FIRST + 24, "Activity - Reporting Prob"},
    {IDS_METRIC_FIRST + 25, "Activity - Prediction Prob"},
    {IDS_METRIC_FIRST + 26, "Summary - Process Prob"},
    {IDS_METRIC_FIRST + 27, "Summary - Product Prob"},
    // Question texts, one per catalogue row.
    {IDS_QUESTION_FIRST + 0,
     "Are you using, or do you plan to use, experienced software managers?"},
    {IDS_QUESTION_FIRST + 1, "Has your company been producing similar software in the past?"},
    {IDS_QUESTION_FIRST + 2,
     "Is there a documented organizational structure either in place or planned?"},
    {IDS_QUESTION_FIRST + 3, "Is the organizational structure stable?"},
    {IDS_QUESTION_FIRST + 4, "What is the confidence level of your management team?"},
    {IDS_QUESTION_FIRST + 5,
     "Does good communication exist between different organizations \nor departments "
     "supporting development of the software project?"},
    {IDS_QUESTION_FIRST + 6, "Are software configuration management functions being performed?"},
    {IDS_QUESTION_FIRST + 7, "Are software quality functions being performed?"},
    {IDS_QUESTION_FIRST + 8, "What estimation method is used?"},
    {IDS_QUESTION_FIRST + 9, "Is a software cost model used?"},
    {IDS_QUESTION_FIRST + 10, "Is the estimation based on past software productivity metrics?"},
    {IDS_QUESTION_FIRST + 11, "Are the schedule estimates based on past software projects?"},
    {IDS_QUESTION_FIRST + 12, "Are estimates revised on a monthly or more frequent basis?"},
    {IDS_QUESTION_FIRST + 13,
     "How accurate are your past cost estimates compared to actual costs?"},
    {IDS_QUESTION_FIRST + 14,
     "How accurate are your past schedule estimates compared to actual schedule?"},
    {IDS_QUESTION_FIRST + 15,
     "For each major software effort, are there distinct milestones set for each software "
     "development phase?"},
    {IDS_QUESTION_FIRST + 16,
     "Is a detailed Work Breakdown Structure (WBS) used to track and report costs and budget "
     "for each piece of major software development?"},
    {IDS_QUESTION_FIRST + 17,
     "Is there a monitoring system setup for cost, schedule, and earned-value?"},
    {IDS_QUESTION_FIRST + 18, "Are cost, schedule, and earned-value reports available on demand?"},
    {IDS_QUESTION_FIRST + 19,
     "Are cost, schedule, and earned-value reports updated on a monthly or more frequent basis?"},
    {IDS_QUESTION_FIRST + 20,
     "Is there a problem log or action log system? Is it used and updated on a weekly basis?"},
    {IDS_QUESTION_FIRST + 21,
     "Does a means exist to address and record technical problems? is it used and updated on "
     "a weeky basis?"},
    {IDS_QUESTION_FIRST + 22,
     "Is there a documented software development methodology or plan used for the project, "
     "and is it being adhered to closely?"},
    {IDS_QUESTION_FIRST + 23,
     "Are the software developers trained in the development methodology?"},
    {IDS_QUESTION_FIRST + 24, "How closely is the development methodology being followed?"},
    {IDS_QUESTION_FIRST + 25,
     "Does the development methodology include requrements, design, and code reviews, "
     "walkthroughs, or inspections?"},
    {IDS_QUESTION_FIRST + 26,
     "Does the development methodology require test plans and/or test procedures for all "
     "software functions?"},
    {IDS_QUESTION_FIRST + 27,
     "Does the development methodology require documentation such as requirements, design, "
     "and software development folders?"},
    {IDS_QUESTION_FIRST + 28, "Is regression testing performed?"},
    {IDS_QUESTION_FIRST + 29, "Are the software developers trained in using the tools?"},
    {IDS_QUESTION_FIRST + 30, "Are automated tools used for software design?"},
    {IDS_QUESTION_FIRST + 31, "Are automated tools used for testing?"},
    {IDS_QUESTION_FIRST + 32, "Are automated tools used for test procedure generation?"},
    {IDS_QUESTION_FIRST + 33, "Are automated tools used for regression testing?"},
    {IDS_QUESTION_FIRST + 34, "Are automated tools used for requirements traceability?"},
    {IDS_QUESTION_FIRST + 35,
     "Are automated tools used for re-engineering (identifying characteristics of the "
     "software based on its code, such as its structure)?"},
    {IDS_QUESTION_FIRST + 36, "How stable is your compiler, linker, and debugger?"},
    {IDS_QUESTION_FIRST + 37,
     "Are tools readily available to the software development personnel when needed?"},
    {IDS_QUESTION_FIRST + 38,
     "Does your company avoid squeezing the budget tighter for additional profit? (All = "
     "Never squeezes budget)"},
    {IDS_QUESTION_FIRST + 39,
     "Does your company avoid compressing the schedule for additional profit? (All = Never "
     "squeezes schedule)"},
    {IDS_QUESTION_FIRST + 40,
     "Does your company avoid lowering product quality fewer features or more defects) for "
     "additional profit? (All = never lowers quality)"},
    {IDS_QUESTION_FIRST + 41,
     "Is your company willing to accept less profit if it reduces the budget risk? (All = "
     "always reduces budget risk)"},
    {IDS_QUESTION_FIRST + 42,
     "Is your company willing to accept less profit if it reduces the schedule risk? (All = "
     "always reduces schedule risk)"},
    {IDS_QUESTION_FIRST + 43,
     "Is your company willing to accept less profit if it increases the quality (more "
     "features or fewer defects)? (All = always increases quality)"},
    {IDS_QUESTION_FIRST + 44, "How immune is your company to market forces?"},
    {IDS_QUESTION_FIRST + 45, "Is your company culture conservative in its decision-making?"},
    {IDS_QUESTION_FIRST + 46,
     "Does your company MINIMIZE its investment in new products and technologies?"},
    {IDS_QUESTION_FIRST + 47,
     "Does your company acquire most of its technology (as opposed to building it in-house)?"},
    {IDS_QUESTION_FIRST + 48, "Does your company practice risk management?"},
    {IDS_QUESTION_FIRST + 49, "Is there a user manual for the software?"},
    {IDS_QUESTION_FIRST + 50, "Are the help functions for each input and output?"},
    {IDS_QUESTION_FIRST + 51,
     "Is the user involved in reviewing prototypes or earlier versions of the software?"},
    {IDS_QUESTION_FIRST + 52,
     "Is the user interface designed to an industry standard or to a standard familiar to the "
     "user?"},
    {IDS_QUESTION_FIRST + 53, "Have user response times been identified?"},
    {IDS_QUESTION_FIRST + 54,
     "Has the design been evaluated to minimize keystrokes, mouse clicks, and data entry?"},
    {IDS_QUESTION_FIRST + 55, "Have all the software requirements been identified and documented?"},
    {IDS_QUESTION_FIRST + 56, "Have the software requirements been traced to the design?"},
    {IDS_QUESTION_FIRST + 57, "Are the software requirements traceable to the code?"},
    {IDS_QUESTION_FIRST + 58, "Are the software requirements traceable to the test procedures?"},
    {IDS_QUESTION_FIRST + 59,
     "Have there been, or are there expected to be, many changes made in the requirements?"},
    {IDS_QUESTION_FIRST + 60, "Are the software designs traceable to the code?"},
    {IDS_QUESTION_FIRST + 61, "Is the software design traceable to the test procedure?"},
    {IDS_QUESTION_FIRST + 62,
     "Have all open action items been addressed and implemented prior to delivery to the "
     "customer?"},
    {IDS_QUESTION_FIRST + 63,
     "Has software functional testing been performed prior to customer delivery?"},
    {IDS_QUESTION_FIRST + 64,
     "Are there error handling conditions within the software design and code?"},
    {IDS_QUESTION_FIRST + 65, "When an error condition is detected, does processing continue?"},
    {IDS_QUESTION_FIRST + 66, "Are error tolerances defined for input and output data?"},
    {IDS_QUESTION_FIRST + 67, "Are inputs checked for valid values before processing beings?"},
    {IDS_QUESTION_FIRST + 68, "Are hardware faults detected and processed in the software?"},
    {IDS_QUESTION_FIRST + 69, "Is the use of global data types minimized?"},
    {IDS_QUESTION_FIRST + 70, "Is defect data collected during software integration?"},
    {IDS_QUESTION_FIRST + 71,
     "Is defect data being logged-in and closed-out prior to delivery to the customer?"},
    {IDS_QUESTION_FIRST + 72, "Is a software reliability model used to predict reliability?"},
    {IDS_QUESTION_FIRST + 73, "Are tests performed with written test plans?"},
    {IDS_QUESTION_FIRST + 74, "Has stress testing been performed?"},
    {IDS_QUESTION_FIRST + 75,
     "Is testing performed by a group separate from the software development group?"},
    {IDS_QUESTION_FIRST + 76, "Are personnel resources available and identified?"},
    {IDS_QUESTION_FIRST + 77,
     "How experienced are the personnel resources in the product type being developed?"},
    {IDS_QUESTION_FIRST + 78,
     "How experienced are the personnel resources in the development environment?"},
    {IDS_QUESTION_FIRST + 79,
     "How experienced are the personnel resources in the implementation language?"},
    {IDS_QUESTION_FIRST + 80,
     "Is this a SMALL software development team? (Less than 20 developers = All; 50 = Some, "
     "100 or more = None.)"},
    // Answer labels: the five-level scale, then the estimation methods.
    {IDS_ANSWER_NONE, "None"},
    {IDS_ANSWER_LITTLE, "Little"},
    {IDS_ANSWER_SOME, "Some"},
    {IDS_ANSWER_MOST, "Most"},
    {IDS_ANSWER_ALL, "All"},
    {IDS_METHOD_GUESS, "Guess"},
    {IDS_METHOD_ANALOGY, "Analogy"},
    {IDS_METHOD_PRICED_TO_WIN, "Priced-to-win"},
    {IDS_METHOD_DICTATED, "Dictated by circumstances"},
    {IDS_METHOD_TOP_DOWN, "Top-Down"},
    {IDS_METHOD_BOTTOM_UP, "Bottom-Up"},
    {IDS_METHOD_OTHER, "Other"},
    // Window texts.
    {IDS_TITLE_PREFIX, "Velkor - "},
    {IDS_PRIORITY_TEXT, "Cost %.0f%%\n\nTechnical %.0f%%\n\nSchedule %.0f%%"},
    {IDS_NOT_SAVED, "Project has not been saved. Continue anyway without saving?"},
    {IDS_UNKNOWN_EXTENSION,
     "Nothing was written to %1.\n\nSave As writes a project for a name ending in .vlk, a text "
     "report for .txt and an HTML report for .htm."},
    // The window program's command line (240..299).

    // File errors (300..399): %1 is the file's name.
    {IDS_FILE_ERROR_FIRST + 0, "An unknown error occurred while accessing %1."},
    {IDS_FILE_ERROR_FIRST + 1, "%1 was not found."},
    {IDS_FILE_ERROR_FIRST + 2, "%1 contains an invalid path."},
    {IDS_FILE_ERROR_FIRST + 3, "%1 could not be opened because there are too many open files."},
    {IDS_FILE_ERROR_FIRST + 4, "Access to %1 was denied."},
    {IDS_FILE_ERROR_FIRST + 5, "An invalid file handle was associated with %1."},
    {IDS_FILE_ERROR_FIRST + 6, "%1 could not be removed because it is the current directory."},
    {IDS_FILE_ERROR_FIRST + 7, "%1 could not be created because the directory is full."},
    {IDS_FILE_ERROR_FIRST + 8, "Seek failed on %1"},
    {IDS_FILE_ERROR_FIRST + 9, "A hardware I/O error was reported while accessing %1."},
    {IDS_FILE_ERROR_FIRST + 10, "A sharing violation occurred while accessing %1."},
    {IDS_FILE_ERROR_FIRST + 11, "A locking violation occurred while accessing %1."},
    {IDS_FILE_ERROR_FIRST + 12, "Disk full while accessing %1."},
    {IDS_FILE_ERROR_FIRST + 13, "An attempt was made to access %1 past its end."},
    {IDS_FILE_RECOVERY_NAME_TAKEN,
     " It was not changed: its recovery copy goes to %1, and a file there that this save "
     "cannot replace belongs to someone else. Remove that file or save under another name."},
    {IDS_FILE_TEMP_NAMES_TAKEN,
     " Every name tried for the temporary file beside it was taken by other files; remove the "
     "hidden .velkor-tmp files there or save under another name."},
    {IDS_FILE_WRONG_KIND, "%1 is %2, not %3."},
    {IDS_FILE_KIND_PIPE, "a pipe"},
    {IDS_FILE_KIND_SOCKET, "a socket"},
    {IDS_FILE_KIND_TERMINAL, "a terminal"},
    {IDS_FILE_KIND_PROJECT, "a project file"},

    // Reports and velkor-report (400..699).
    // team, sensitivity and calibrate (600..659).
    {IDS_EVIDENCE_UNDEFINED, "undefined"},
    {IDS_BAND_RELIABLE, "reliable"},
    {IDS_BAND_TENTATIVE, "tentative"},
    {IDS_BAND_UNRELIABLE, "unreliable"},
    {IDS_EVIDENCE_PROBABILITY, "Probability (%)"},
    {IDS_EVIDENCE_LOWEST, "Lowest"},
    {IDS_EVIDENCE_HIGHEST, "Highest"},
    {IDS_TEAM_HEADING, "Team of %1 assessors"},
    {IDS_TEAM_CONSENSUS, "Consensus"},
    {IDS_TEAM_ALPHA, "Agreement: alpha %1, %2 (Krippendorff's alpha, ordinal, over %3 questions)"},
    {IDS_TEAM_ALPHA_INTERVAL,
     "Agreement: alpha %1 (%2 to %3), %4 (Krippendorff's alpha, ordinal, over %5 questions)"},
    {IDS_TEAM_ALPHA_UNDEFINED,
     "Agreement: alpha undefined, every answer is the same (over %1 questions)"},
    {IDS_TEAM_DISCUSS, "To discuss, largest swing of the total first (points):"},
    {IDS_TEAM_NOTHING_TO_DISCUSS, "No answer given moves the total: nothing to discuss."},
    {IDS_TEAM_SWING, "Swing"},
    {IDS_TEAM_QUESTION, "Question"},
    {IDS_TEAM_FILE, "File"},
    {IDS_TEAM_WEIGHTS, "Weights T/C/S (%)"},
    {IDS_TEAM_DISTANCE, "Distance"},
    {IDS_TEAM_ALPHA_WITHOUT, "Alpha without"},
    {IDS_TEAM_TOO_FEW, "team needs at least two FILEs, one per assessor"},
    {IDS_TEAM_TWICE, "%1 is given twice (as %2): each assessor's file once"},
    {IDS_TEAM_CONSENSUS_INPUT, "--consensus %1 is %2, an assessor's file; nothing was written."},
    {IDS_SENSITIVITY_TOTAL, "Total %1"},
    {IDS_SENSITIVITY_UNSURE, "Total %1 (%2 to %3 if the %4 unsure answers are %5 off)"},
    {IDS_SENSITIVITY_UNSURE_ONE, "Total %1 (%2 to %3 if the %4 unsure answer is %5 off)"},
    {IDS_SENSITIVITY_ONE_LEVEL, "one level"},
    {IDS_SENSITIVITY_LEVELS, "up to %1 levels"},
    {IDS_SENSITIVITY_SAVED, "Saved"},
    {IDS_SENSITIVITY_ANSWER, "Answer"},
    {IDS_SENSITIVITY_RANKED,
     "The total over each question's whole scale, largest swing first (points and %):"},
    {IDS_SENSITIVITY_CHART, "Sensitivity: the 15 largest swings of the total"},
    {IDS_SENSITIVITY_CHART_AXIS, "Total success probability; the line is the saved answers' %1"},
    {IDS_SENSITIVITY_BAD_QUESTION,
     "--unsure takes question numbers from 1 to 81 (Q12 or 12), or all; not %1"},
    {IDS_CALIBRATE_ROW, "%1, row %2 (line %3)"},
    {IDS_CALIBRATE_OPEN_QUOTE, "%1: a quoted field is never closed"},
    {IDS_CALIBRATE_NO_FILE, "%1: the header has no column \"file\" (columns: file, and any of "
                            "technical, cost, schedule, total)"},
    {IDS_CALIBRATE_COLUMN, "%1: column \"%2\" is none of file, technical, cost, schedule, total"},
    {IDS_CALIBRATE_TWICE, "%1: column \"%2\" is named twice"},
    {IDS_CALIBRATE_FIELDS, "%1: %2 fields where the header has %3"},
    {IDS_CALIBRATE_NO_PATH, "%1, column file: no project file named"},
    {IDS_CALIBRATE_VALUE, "%1, column %2: \"%3\" is not 1 (met), 0 (missed) or empty (not known)"},
    {IDS_CALIBRATE_HEADING, "%1 against %2: %3 projects, forecast %4 on average, %5 met"},
    {IDS_CALIBRATE_SCORES, "Brier %1 (always forecasting the rate met: %2), skill %3, AUC %4"},
    {IDS_CALIBRATE_BIN, "Forecast bin"},
    {IDS_CALIBRATE_COUNT, "Projects"},
    {IDS_CALIBRATE_FORECAST, "Forecast"},
    {IDS_CALIBRATE_OBSERVED, "Observed"},
    {IDS_CALIBRATE_CATEGORY, "Category"},
    {IDS_CALIBRATE_NONE, "No outcome is known: every outcome column is empty."},
    {IDS_CALIBRATE_CHART, "Reliability: forecast against the share met"},
    {IDS_EVIDENCE_RANGE, "Range"},

    // The analysis page (700..899).
    {IDS_WEB_OUT_OF_MEMORY, "The page ran out of memory; open fewer files at a time."},
    {IDS_WEB_READY, "Open one or more project files (.vlk) to see their analysis."},
    {IDS_WEB_NOT_A_PROJECT_FOLDER, "%1 holds no project files (.vlk)."},

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
