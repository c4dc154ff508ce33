#include "report/Import.h"

#include "report/Numbers.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <set>
#include <string>

namespace
{
using Json = nlohmann::json;

[[noreturn]] void Fail(const std::string& strPlace, const std::string& strProblem)
{
    throw CImportError(strPlace.empty() ? strProblem : strPlace + ": " + strProblem);
}

// How a value reads in a message: the JSON text of a number, string,
// boolean or null, cut short when long. Arrays and objects are named, not
// written out: one can nest deeper than a recursive writer can go.
std::string Show(const Json& value)
{
    if (value.is_array())
        return "an array";
    if (value.is_object())
        return "an object";
    std::string strText = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (strText.size() > 40)
        strText = strText.substr(0, 37) + "...";
    return strText;
}

void CheckKeys(const Json& object, const std::string& strPlace, const std::set<std::string>& allowed)
{
    for (auto it = object.begin(); it != object.end(); ++it)
        if (allowed.count(it.key()) == 0)
            Fail(strPlace.empty() ? it.key() : strPlace + "." + it.key(), "is not a field here");
}

const Json& Member(const Json& object, const std::string& strPlace, const char* pszKey)
{
    const auto it = object.find(pszKey);
    if (it == object.end())
        Fail(strPlace.empty() ? pszKey : strPlace + "." + pszKey, "is missing");
    return *it;
}

std::string Quoted(const std::string& str)
{
    return Json(str).dump(-1, ' ', false, Json::error_handler_t::replace);
}

// An answer index, or an answer's label ("All").
std::uint32_t AnswerIndex(const Json& value, const std::string& strPlace, const CQuestion& question)
{
    const std::uint32_t nAnswers = question.GetAnswerCount();
    const std::string strScale = "0.." + std::to_string(nAnswers - 1);
    if (value.is_number_unsigned() && value.get<std::uint64_t>() < nAnswers)
        return static_cast<std::uint32_t>(value.get<std::uint64_t>());
    if (value.is_string())
    {
        std::string strLabels;
        for (std::uint32_t n = 0; n < nAnswers; ++n)
        {
            if (question.GetAnswerLabel(n) == value.get_ref<const std::string&>())
                return n;
            strLabels += (n ? ", " : "") + Quoted(question.GetAnswerLabel(n));
        }
        Fail(strPlace, Show(value) + " is no answer of this question (" + strLabels + ")");
    }
    if (value.is_number_integer())
        Fail(strPlace, Show(value) + " is outside " + strScale);
    Fail(strPlace, Show(value) + " is not an answer index " + strScale + " or label");
}

// Fractions from 0 to 1 that sum to 1 within 0.01.
void CheckWeights(const std::array<double, 3>& adWeights)
{
    const double dSum = adWeights[0] + adWeights[1] + adWeights[2];
    const auto List = [&](double dDivisor)
    {
        return FormatShortest(adWeights[0] / dDivisor) + ", " + FormatShortest(adWeights[1] / dDivisor) + ", " +
               FormatShortest(adWeights[2] / dDivisor);
    };
    bool bFractions = true;
    for (const double d : adWeights)
        bFractions = bFractions && std::isfinite(d) && d >= 0 && d <= 1;
    if (!bFractions && std::isfinite(dSum) && std::fabs(dSum - 100) <= 1 && adWeights[0] >= 0 &&
        adWeights[1] >= 0 && adWeights[2] >= 0)
        Fail("weights", "weights look like percentages; write " + List(100) +
                            " (technical, cost, schedule), or import with --any-weights");
    if (!bFractions || !(std::fabs(dSum - 1) <= 0.01))
        Fail("weights", List(1) + " (technical, cost, schedule) are not fractions from 0 to 1 that sum to 1; "
                        "import with --any-weights to keep them as they are");
}
} // namespace

void ImportProject(CRiskModel& model, std::string_view strJson, bool bAnyWeights)
{
    Json document;
    try
    {
        document = Json::parse(strJson.begin(), strJson.end());
    }
    catch (const Json::exception& e) // a syntax error, or a number past the double range
    {
        // "[json.exception.parse_error.101] parse error at line 1, ..." without its tag.
        std::string strWhat = e.what();
        const auto nTagEnd = strWhat.find("] ");
        if (strWhat.rfind("[json.exception", 0) == 0 && nTagEnd != std::string::npos)
            strWhat.erase(0, nTagEnd + 2);
        Fail("", "not JSON: " + strWhat);
    }
    if (!document.is_object())
        Fail("", "not a project: the document is " + Show(document) + ", not an object");
    CheckKeys(document, "", {"format", "version", "title", "weights", "answers", "metrics"});
    if (document.contains("format") && document["format"] != "velkor-project")
        Fail("format", Show(document["format"]) + " is not \"velkor-project\"");
    if (document.contains("version") && document["version"] != 1)
        Fail("version", Show(document["version"]) + " is not 1");

    const Json& weights = Member(document, "", "weights");
    if (!weights.is_object())
        Fail("weights", Show(weights) + " is not an object");
    CheckKeys(weights, "weights", {"technical", "cost", "schedule"});
    std::array<double, 3> adWeights{};
    const char* const apszWeights[] = {"technical", "cost", "schedule"};
    for (int w = 0; w < 3; ++w)
    {
        const Json& value = Member(weights, "weights", apszWeights[w]);
        const auto dValue = ParseJsonNumber(value);
        if (!dValue)
            Fail(std::string("weights.") + apszWeights[w],
                 Show(value) + " is not a number, \"NaN\", \"Infinity\" or \"-Infinity\"");
        adWeights[w] = *dValue;
    }
    if (!bAnyWeights)
        CheckWeights(adWeights);

    const Json& answers = Member(document, "", "answers");
    if (!answers.is_array())
        Fail("answers", Show(answers) + " is not an array");
    if (answers.size() != QUESTION_COUNT)
        Fail("answers", "holds " + std::to_string(answers.size()) + " answers, a project has " +
                            std::to_string(QUESTION_COUNT));
    std::array<std::uint32_t, QUESTION_COUNT> anAnswers{};
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const std::string strPlace = "answers[" + std::to_string(i) + "]";
        const CQuestion& question = *model.GetQuestion(i);
        const Json& answer = answers[i];
        if (!answer.is_object())
        {
            anAnswers[i] = AnswerIndex(answer, strPlace, question);
            continue;
        }
        CheckKeys(answer, strPlace, {"question", "category", "text", "answer", "label", "value"});
        if (answer.contains("question") && answer["question"] != i)
            Fail(strPlace + ".question", Show(answer["question"]) + " is not " + std::to_string(i));
        anAnswers[i] = AnswerIndex(Member(answer, strPlace, "answer"), strPlace + ".answer", question);
        // A label that disagrees with its answer was most likely edited by
        // hand: it must not be ignored silently.
        if (const auto it = answer.find("label"); it != answer.end())
        {
            const std::string strLabel = question.GetAnswerLabel(anAnswers[i]);
            if (!it->is_string() || it->get_ref<const std::string&>() != strLabel)
                Fail(strPlace, "label " + Show(*it) + " does not match answer " + std::to_string(anAnswers[i]) +
                                   " (" + Quoted(strLabel) + ")");
        }
    }

    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(anAnswers[i]);
    model.SetTechnicalWeight(adWeights[0]);
    model.SetCostWeight(adWeights[1]);
    model.SetScheduleWeight(adWeights[2]);
}
