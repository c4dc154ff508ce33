#include "input/Import.h"

#include "files/Path.h"
#include "input/Numbers.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace
{
using Json = nlohmann::json;

[[noreturn]] void Fail(const std::string& strPlace, const std::string& strProblem)
{
    throw CImportError(strPlace.empty() ? strProblem : strPlace + ": " + strProblem);
}

// At most this many characters of the input appear in a message.
constexpr std::size_t EXCERPT = 40;

// How a value reads in a message: the JSON text of a number, string,
// boolean or null, cut short when long. Arrays and objects are named, not
// written out: one can nest deeper than a recursive writer can go.
std::string Show(const Json& value)
{
    if (value.is_array())
        return "an array";
    if (value.is_object())
        return "an object";
    return EscapeForDisplay(value.dump(-1, ' ', false, Json::error_handler_t::replace), EXCERPT);
}

// The parser's events passed on to the library's document builder, with
// what it lets pass refused: a key twice in one object, and a number too
// small for a double that would silently become 0 (one too large is
// refused by the library).
class CStrictBuilder
{
public:
    explicit CStrictBuilder(Json& document) : m_builder(document, false) {}

    bool null() { return m_builder.null(); }
    bool boolean(bool b) { return m_builder.boolean(b); }
    bool number_integer(Json::number_integer_t n) { return m_builder.number_integer(n); }
    bool number_unsigned(Json::number_unsigned_t n) { return m_builder.number_unsigned(n); }
    bool number_float(Json::number_float_t d, const std::string& strText)
    {
        const std::string strMantissa = strText.substr(0, strText.find_first_of("eE"));
        if (d == 0 && strMantissa.find_first_of("123456789") != std::string::npos)
            return Refuse(EscapeForDisplay(strText, EXCERPT) +
                          " is out of range: too small for a double, yet not 0");
        return m_builder.number_float(d, strText);
    }
    bool string(std::string& str) { return m_builder.string(str); }
    bool binary(Json::binary_t& bytes) { return m_builder.binary(bytes); }
    bool start_object(std::size_t n)
    {
        m_keys.emplace_back();
        return m_builder.start_object(n);
    }
    bool key(std::string& strKey)
    {
        if (!m_keys.back().insert(strKey).second)
            return Refuse("the key \"" + EscapeForDisplay(strKey, EXCERPT) +
                          "\" appears twice in one object");
        return m_builder.key(strKey);
    }
    bool end_object()
    {
        m_keys.pop_back();
        return m_builder.end_object();
    }
    bool start_array(std::size_t n) { return m_builder.start_array(n); }
    bool end_array() { return m_builder.end_array(); }
    bool parse_error(std::size_t, const std::string& strToken, const nlohmann::detail::exception& e)
    {
        if (e.id == 406) // a number past the range of a double
            return Refuse(EscapeForDisplay(strToken, EXCERPT) +
                          " is out of range: too large for a double");
        // "[json.exception.parse_error.101] parse error at line 1, ..." without
        // its tag, and with at most an excerpt of what was read last.
        std::string strWhat = e.what();
        const auto nTagEnd = strWhat.find("] ");
        if (strWhat.rfind("[json.exception", 0) == 0 && nTagEnd != std::string::npos)
            strWhat.erase(0, nTagEnd + 2);
        const std::string strLastRead = "; last read: '" + strToken + "'";
        if (const auto nLastRead = strWhat.find(strLastRead); nLastRead != std::string::npos)
            strWhat.replace(nLastRead, strLastRead.size(),
                            "; last read: '" + EscapeForDisplay(strToken, EXCERPT) + "'");
        return Refuse("not JSON: " + EscapeForDisplay(strWhat));
    }

    const std::string& GetError() const { return m_strError; }

private:
    bool Refuse(std::string strError)
    {
        if (m_strError.empty())
            m_strError = std::move(strError);
        return false;
    }

    nlohmann::detail::json_sax_dom_parser<Json> m_builder;
    std::vector<std::set<std::string>> m_keys; // those of each object being read
    std::string m_strError;
};

void CheckKeys(const Json& object, const std::string& strPlace,
               const std::set<std::string>& allowed)
{
    for (auto it = object.begin(); it != object.end(); ++it)
        if (allowed.count(it.key()) == 0)
            Fail(EscapeForDisplay(strPlace.empty() ? it.key() : strPlace + "." + it.key(), EXCERPT),
                 "is not a field here");
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
    // A number is judged by its value: 2, 2.0 and 2e0 are the same index,
    // -0 is 0.
    const double d = value.is_number() ? value.get<double>() : 0.5;
    if (!std::isfinite(d) || std::floor(d) != d)
        Fail(strPlace, Show(value) + " is not an answer index " + strScale + " or label");
    if (d < 0 || d >= nAnswers) // -0 is not below 0
        Fail(strPlace, Show(value) + " is outside " + strScale);
    return static_cast<std::uint32_t>(d);
}

// Fractions from 0 to 1 that sum to 1 within 0.01.
void CheckWeights(const std::array<double, 3>& adWeights)
{
    const double dSum = adWeights[0] + adWeights[1] + adWeights[2];
    const auto List = [&](double dDivisor)
    {
        return FormatShortest(adWeights[0] / dDivisor) + ", " +
               FormatShortest(adWeights[1] / dDivisor) + ", " +
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
        Fail("weights",
             List(1) + " (technical, cost, schedule) are not fractions from 0 to 1 that sum to 1; "
                       "import with --any-weights to keep them as they are");
}
// The three weights, each a NaN's own bits where the export kept them.
std::array<double, 3> ReadWeights(const Json& weights)
{
    if (!weights.is_object())
        Fail("weights", Show(weights) + " is not an object");
    CheckKeys(weights, "weights",
              {"technical", "cost", "schedule", "technical_bits", "cost_bits", "schedule_bits"});
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
        // A NaN's own sign and payload, as the export wrote them.
        if (const auto it = weights.find(std::string(apszWeights[w]) + "_bits");
            it != weights.end())
        {
            const auto dNan =
                it->is_string() ? NanFromBits(it->get_ref<const std::string&>()) : std::nullopt;
            if (!dNan || !std::isnan(*dValue))
                Fail(std::string("weights.") + apszWeights[w] + "_bits",
                     Show(*it) + " is not the 16 hex digits of a NaN beside \"NaN\"");
            adWeights[w] = *dNan;
        }
    }
    return adWeights;
}

} // namespace

void ImportProject(CRiskModel& model, std::string_view strJson, bool bAnyWeights)
{
    // The parser takes a NUL byte for the end of the input: whatever follows
    // would pass unseen.
    if (const auto nNul = strJson.find('\0'); nNul != std::string_view::npos)
        Fail("", "not JSON: byte " + std::to_string(nNul + 1) + " is a NUL byte");
    Json document;
    CStrictBuilder builder(document);
    if (!Json::sax_parse(strJson.begin(), strJson.end(), &builder))
        Fail("", builder.GetError().empty() ? "not JSON" : builder.GetError());
    if (!document.is_object())
        Fail("", "not a project: the document is " + Show(document) + ", not an object");
    CheckKeys(document, "", {"format", "version", "title", "weights", "answers", "metrics"});
    if (document.contains("format") && document["format"] != "velkor-project")
        Fail("format", Show(document["format"]) + " is not \"velkor-project\"");
    if (document.contains("version") && document["version"] != 1)
        Fail("version", Show(document["version"]) + " is not 1");

    const std::array<double, 3> adWeights = ReadWeights(Member(document, "", "weights"));
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
        anAnswers[i] =
            AnswerIndex(Member(answer, strPlace, "answer"), strPlace + ".answer", question);
        // A label that disagrees with its answer was most likely edited by
        // hand: it must not be ignored silently.
        if (const auto it = answer.find("label"); it != answer.end())
        {
            const std::string strLabel = question.GetAnswerLabel(anAnswers[i]);
            if (!it->is_string() || it->get_ref<const std::string&>() != strLabel)
                Fail(strPlace, "label " + Show(*it) + " does not match answer " +
                                   std::to_string(anAnswers[i]) + " (" + Quoted(strLabel) + ")");
        }
    }

    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(anAnswers[i]);
    model.SetTechnicalWeight(adWeights[0]);
    model.SetCostWeight(adWeights[1]);
    model.SetScheduleWeight(adWeights[2]);
}
