// The exports and the import over the model, without a process: every value
// bit for bit, the chart's titles, and import's checks.
#include "report/Export.h"
#include "files/ProjectFile.h"
#include "input/Import.h"
#include "input/Numbers.h"
#include "model/Bits.h"
#include "model/Format.h"
#include "report/Text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <regex>
#include <set>
#include <sstream>

namespace
{
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// Answers and weights that exercise both scales, clamping and odd numbers.
struct Project
{
    std::uint32_t nSeed;
    double adWeights[3]; // technical, cost, schedule
};
const Project s_aProjects[] = {
    {0, {0.333, 0.333, 0.333}},
    {7, {0.45, 0.35, 0.2}},
    {3, {0.1 + 0.2, 1e-300, -0.0}},
    {11, {NaN, Inf, -Inf}},
    {5, {5e-324, 1.7976931348623157e308, 2.0 / 3.0}},
};

void Fill(CRiskModel& model, const Project& project)
{
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected((i * 7 + project.nSeed * 3) % 9); // some past the scale
    model.SetTechnicalWeight(project.adWeights[0]);
    model.SetCostWeight(project.adWeights[1]);
    model.SetScheduleWeight(project.adWeights[2]);
}

// Bit-for-bit equality that counts every NaN as the same value.
bool SameDouble(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || BitsOfDouble(a) == BitsOfDouble(b);
}

// A CSV field or FormatShortest text as a double: one of the three words, or a number.
double ReadBack(const std::string& strText)
{
    const auto dWord = ParseJsonNumber(nlohmann::json(strText));
    return dWord ? *dWord : std::strtod(strText.c_str(), nullptr);
}
} // namespace

TEST(Numbers, ShortestFormReadsBackBitForBit)
{
    for (const double d : {0.1, 0.1 + 0.2, 1.0 / 3.0, -0.0, 5e-324, 1e21, 123456789.125,
                           0.48992596590909093, 1.7976931348623157e308, NaN, Inf, -Inf})
    {
        const std::string strText = FormatShortest(d);
        EXPECT_TRUE(SameDouble(ReadBack(strText), d)) << strText;
        EXPECT_TRUE(SameDouble(*ParseJsonNumber(nlohmann::json::parse(DumpJson(JsonNumber(d)))), d))
            << strText;
    }
    EXPECT_EQ(FormatShortest(0.1), "0.1");
    EXPECT_EQ(FormatShortest(NaN) + FormatShortest(Inf) + FormatShortest(-Inf),
              "NaNInfinity-Infinity");
    EXPECT_EQ(ParseJsonNumber(nlohmann::json("nan")), std::nullopt);
    EXPECT_EQ(ParseJsonNumber(nlohmann::json(true)), std::nullopt);

    const std::pair<const char*, const char*> aFields[] = {{"plain", "plain"},
                                                           {"a,b", "\"a,b\""},
                                                           {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                                           {"two\nlines", "\"two\nlines\""},
                                                           {"", ""}};
    for (const auto& [pszIn, pszOut] : aFields)
        EXPECT_EQ(CsvField(pszIn), pszOut);
}

// The portable shortest form, which the browser build uses, against known
// texts: fixed or scientific as to_chars chooses, large integers exact.
TEST(Numbers, PortableShortestFormWritesToCharsBytes)
{
    const std::pair<double, const char*> aCases[] = {
        {0.1, "0.1"},
        {-2.5, "-2.5"},
        {1.0 / 3.0, "0.3333333333333333"},
        {100, "100"},
        {1e15, "1e+15"},
        {123456789012345.0, "123456789012345"},
        {123456789012345680000.0, "123456789012345683968"},
        {1e21, "1e+21"},
        {0.001, "0.001"},
        {1e-5, "1e-05"},
        {1.5e-5, "1.5e-05"},
        {0.00012345, "0.00012345"},
        {5e-324, "5e-324"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
        {0.48992596590909093, "0.48992596590909093"},
        {0.0, "0"},
        {1e100, "1e+100"}};
    for (const auto& [d, pszText] : aCases)
    {
        char sz[32];
        EXPECT_EQ(std::string(sz, ShortestCharsPortable(sz, d)), pszText);
    }
}

// The same bytes as the standard library's to_chars on many doubles: random
// bits, fractions, integers around 2^53 and powers of two. The portable form
// stands on a correctly rounding printf and strtod (glibc, musl); the
// Windows C runtime's are not, and the Windows build writes with to_chars, so
// it has no such case.
#if !defined(_WIN32)
TEST(Numbers, PortableShortestFormMatchesToChars)
{
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    std::uint64_t nState = 0x9E3779B97F4A7C15u;
    const auto Next = [&]
    {
        nState ^= nState << 13, nState ^= nState >> 7, nState ^= nState << 17;
        return nState;
    };
    int nFailures = 0;
    for (int i = 0; i < 25000 && nFailures < 10; ++i)
    {
        const std::uint64_t n = Next();
        const double aValues[] = {
            DoubleOfBits((n & ~(std::uint64_t{0x7FF} << 52)) | (n % 2047) << 52),
            double(n >> 11) / double(std::uint64_t{1} << 53), double(n >> (n % 40)),
            std::ldexp(1.0, int(n % 2098) - 1074)};
        for (const double d : aValues)
        {
            char szNative[32], szPortable[32];
            const std::string strNative(szNative, std::to_chars(szNative, szNative + 32, d).ptr);
            const std::string strPortable(szPortable, ShortestCharsPortable(szPortable, d));
            if (strNative != strPortable)
                ADD_FAILURE() << strNative << " written as " << strPortable, ++nFailures;
        }
    }
#else
    GTEST_SKIP() << "this standard library has no floating-point to_chars to compare with";
#endif
}
#endif

TEST(Export, JsonAndCsvHoldEveryValueOfTheModel)
{
    for (const Project& project : s_aProjects)
    {
        CRiskModel model;
        Fill(model, project);
        const auto json = nlohmann::json::parse(MakeJsonExport(MakeSnapshot(model, "plan \"q\"")));
        model.ComputeAll();
        SCOPED_TRACE(project.nSeed);
        EXPECT_EQ(json["format"], "velkor-project");
        EXPECT_EQ(json["version"], 1);
        EXPECT_EQ(json["title"], "plan \"q\"");
        EXPECT_TRUE(
            SameDouble(*ParseJsonNumber(json["weights"]["technical"]), model.GetTechnicalWeight()));
        EXPECT_TRUE(SameDouble(*ParseJsonNumber(json["weights"]["cost"]), model.GetCostWeight()));
        EXPECT_TRUE(
            SameDouble(*ParseJsonNumber(json["weights"]["schedule"]), model.GetScheduleWeight()));
        ASSERT_EQ(json["answers"].size(), QUESTION_COUNT);
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        {
            const CQuestion& question = *model.GetQuestion(i);
            const auto& answer = json["answers"][i];
            EXPECT_EQ(answer["question"], i);
            EXPECT_EQ(answer["text"], question.GetText());
            EXPECT_EQ(answer["answer"], question.GetSelected());
            EXPECT_EQ(answer["label"], question.GetAnswerLabel(question.GetSelected()));
            EXPECT_TRUE(SameDouble(answer["value"].get<double>(), question.GetValue()));
        }
        EXPECT_EQ(json["answers"][8]["category"], "Estimation");
        EXPECT_EQ(json["answers"][80]["category"], "Personnel");

        std::istringstream csv(MakeCsvExport(MakeSnapshot(model)));
        std::string strLine;
        std::getline(csv, strLine);
        EXPECT_EQ(strLine, "index,label,value");
        ASSERT_EQ(json["metrics"].size(), std::size_t(METRIC_COUNT));
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            const auto& metric = json["metrics"][k];
            EXPECT_EQ(metric["index"], k);
            EXPECT_EQ(metric["label"], model.GetMetricLabel(k));
            EXPECT_TRUE(SameDouble(*ParseJsonNumber(metric["value"]), model.GetMetricValue(k)))
                << k;
            ASSERT_TRUE(std::getline(csv, strLine));
            const std::string strPrefix = std::to_string(k) + ',' + model.GetMetricLabel(k) + ',';
            ASSERT_EQ(strLine.substr(0, strPrefix.size()), strPrefix);
            EXPECT_TRUE(
                SameDouble(ReadBack(strLine.substr(strPrefix.size())), model.GetMetricValue(k)))
                << strLine;
        }
        EXPECT_FALSE(std::getline(csv, strLine));
    }
}

TEST(Export, ChartTitlesNameEveryPlottedValue)
{
    CRiskModel model;
    Fill(model, s_aProjects[1]);
    const std::string strSvg = MakeSvgChart(MakeSnapshot(model, "a <b> & 'c'"));
    model.ComputeAll();
    std::set<std::string> titles;
    const std::regex title("<title>([^<]*)</title>");
    for (auto it = std::sregex_iterator(strSvg.begin(), strSvg.end(), title);
         it != std::sregex_iterator(); ++it)
        titles.insert((*it)[1]);

    const auto Expect = [&](const std::string& strName, int nMetric)
    {
        const std::string strTitle =
            strName + ": " + FormatNumbers("%.1f%%", {model.GetMetricValue(nMetric) * 100.0});
        EXPECT_EQ(titles.count(strTitle), 1u) << strTitle;
    };
    Expect("Total", METRIC_TOTAL);
    for (int k = 0; k < int(CATEGORY_COUNT); ++k)
        Expect(MetricName(METRIC_CATEGORY_FIRST + k), METRIC_CATEGORY_FIRST + k);
    const char* const apszBars[] = {"Pre-requirements", "Requirements",
                                    "Design",           "Coding",
                                    "Testing",          "Delivery and Maintenance",
                                    "Identification",   "Strategy and Planning",
                                    "Assessment",       "Mitigation and Avoidance",
                                    "Reporting",        "Prediction"};
    for (int i = 0; i < 12; ++i)
        Expect(apszBars[i], METRIC_PHASE_FIRST + i);
    EXPECT_EQ(MetricName(METRIC_CATEGORY_FIRST + 5), "Company Culture");
    EXPECT_EQ(titles.size(), 24u); // the 23 values and the 100 % ring
    EXPECT_NE(strSvg.find("Project a &lt;b&gt; &amp; &#39;c&#39;"), std::string::npos);
    EXPECT_EQ(EscapeXml("bad \xFF byte\x01 \xEF\xBF\xBF"),
              "bad \xEF\xBF\xBD byte\xEF\xBF\xBD \xEF\xBF\xBD");
}

TEST(Import, AnExportComesBackAsTheBytesSaveWrites)
{
    for (const Project& project : s_aProjects)
    {
        CRiskModel original;
        Fill(original, project);
        CRiskModel imported;
        ImportProject(imported, MakeJsonExport(MakeSnapshot(original, "plan")), true);
        EXPECT_EQ(MakeProjectBytes(imported), MakeProjectBytes(original)) << project.nSeed;

        // The short form: 81 plain answer indices.
        nlohmann::json plain =
            nlohmann::json::parse(MakeJsonExport(MakeSnapshot(original, "plan")));
        for (auto& answer : plain["answers"])
            answer = answer["answer"];
        plain.erase("metrics");
        CRiskModel fromPlain;
        ImportProject(fromPlain, plain.dump(), true);

        // Answers given as their labels.
        nlohmann::json labels =
            nlohmann::json::parse(MakeJsonExport(MakeSnapshot(original, "plan")));
        for (auto& answer : labels["answers"])
            answer = answer["label"];
        CRiskModel fromLabels;
        ImportProject(fromLabels, labels.dump(), true);
        EXPECT_EQ(MakeProjectBytes(fromLabels), MakeProjectBytes(original)) << project.nSeed;
        EXPECT_EQ(MakeProjectBytes(fromPlain), MakeProjectBytes(original)) << project.nSeed;
    }
}

TEST(Import, NamesTheFirstProblemAndLeavesTheModelAlone)
{
    CRiskModel model;
    Fill(model, s_aProjects[1]);
    const std::string strGood = MakeJsonExport(MakeSnapshot(model, "plan"));
    const auto Edit = [&](const std::function<void(nlohmann::json&)>& fnEdit)
    {
        nlohmann::json json = nlohmann::json::parse(strGood);
        fnEdit(json);
        return json.dump();
    };
    const std::pair<std::string, std::string> aCases[] = {
        {"{\"weights\": ", "not JSON: parse error at line 1, column 13"},
        {"[1, 2]", "not a project"},
        {"{\"weights\": 1E8886}", "1E8886 is out of range: too large for a double"},
        {"{\"weights\": 1E-8886}", "1E-8886 is out of range: too small for a double, yet not 0"},
        {"{\"a\": {\"b\": 1, \"b\": 2}}", "the key \"b\" appears twice in one object"},
        {strGood + std::string(1, '\0') + "{}",
         "not JSON: byte " + std::to_string(strGood.size() + 1) + " is a NUL byte"},
        {"\"\x01" + std::string(100000, 'x'),
         "not JSON: parse error at line 1, column 2: syntax error while parsing value - invalid "
         "string: control character U+0001 (SOH) must be escaped to \\u0001; last read: "
         "'\"<U+0001>'"},
        {"{\"" + std::string(100000, 'k') + "\": 1}",
         std::string(40, 'k') + "...: is not a field here"},
        {"{\"a\\u0001\\n\": 1}", "a\\x01\\n: is not a field here"},
        {"\"" + std::string(100000, 'k') + "\n", "not JSON: parse error at line 2, column 0"},
        {Edit([](auto& j) { j["answers"][4] = 5.0; }), "answers[4]: 5.0 is outside 0..4"},
        {Edit([](auto& j) { j["answers"][8]["answer"] = 7; }),
         "answers[8].answer: 7 is outside 0..6"},
        {Edit([](auto& j) { j["answers"][3] = -1; }), "answers[3]: -1 is outside 0..4"},
        {Edit([](auto& j) { j["answers"][3] = -1.0; }), "answers[3]: -1.0 is outside 0..4"},
        {Edit([](auto& j) { j["answers"][2]["answer"] = 2.5; }),
         "answers[2].answer: 2.5 is not an answer index 0..4"},
        {Edit([](auto& j) { j["answers"].erase(80); }),
         "answers: holds 80 answers, a project has 81"},
        {Edit([](auto& j) { j["answers"].push_back(0); }),
         "answers: holds 82 answers, a project has 81"},
        {Edit([](auto& j) { j["answers"][5]["question"] = 6; }), "answers[5].question: 6 is not 5"},
        {Edit([](auto& j) { j["answers"][5].erase("answer"); }), "answers[5].answer: is missing"},
        {Edit([](auto& j) { j["weights"]["cost"] = "0.5"; }),
         "weights.cost: \"0.5\" is not a number"},
        {Edit([](auto& j) { j["weights"].erase("schedule"); }), "weights.schedule: is missing"},
        {Edit([](auto& j) { j["weights"]["speed"] = 1; }), "weights.speed: is not a field here"},
        {Edit([](auto& j) { j["format"] = "velkor-compare"; }),
         "format: \"velkor-compare\" is not"},
        {Edit([](auto& j) { j["version"] = 2; }), "version: 2 is not 1"},
        {Edit([](auto& j) { j.erase("answers"); }), "answers: is missing"},
        {Edit([](auto& j) { j["answers"][3]["answer"] = 1, j["answers"][3]["label"] = "All"; }),
         "answers[3]: label \"All\" does not match answer 1 (\"Little\")"},
        {Edit([](auto& j) { j["answers"][3]["answer"] = "Lots"; }),
         "answers[3].answer: \"Lots\" is no answer"},
        {Edit(
             [](auto& j) {
                 j["weights"] = {{"technical", 50}, {"cost", 30}, {"schedule", 20}};
             }),
         "weights: weights look like percentages; write 0.5, 0.3, 0.2"},
        {Edit(
             [](auto& j) {
                 j["weights"] = {{"technical", 0.5}, {"cost", 0.3}, {"schedule", 0.3}};
             }),
         "weights: 0.5, 0.3, 0.3 (technical, cost, schedule) are not fractions from 0 to 1 that "
         "sum to 1"},
        {Edit([](auto& j) { j["weights"]["cost"] = "NaN"; }), "weights: 0.45, NaN, 0.2"},
    };
    // Numbers count by value: 2.0 is 2, -0 is 0, 1e0 is 1.
    CRiskModel byValue;
    ImportProject(byValue, Edit(
                               [](auto& j)
                               {
                                   j["answers"][0] = 2.0;
                                   j["answers"][1] = nlohmann::json::parse("-0");
                                   j["answers"][2] = nlohmann::json::parse("1e0");
                               }));
    EXPECT_EQ(byValue.GetQuestion(0)->GetSelected(), 2u);
    EXPECT_EQ(byValue.GetQuestion(1)->GetSelected(), 0u);
    EXPECT_EQ(byValue.GetQuestion(2)->GetSelected(), 1u);
    for (const auto& [strJson, pszMessage] : aCases)
    {
        CRiskModel target;
        const std::string strBefore = MakeProjectBytes(target);
        try
        {
            ImportProject(target, strJson);
            ADD_FAILURE() << "accepted: " << pszMessage;
        }
        catch (const CImportError& e)
        {
            EXPECT_EQ(std::string(e.what()).rfind(pszMessage, 0), 0u) << e.what();
            EXPECT_LT(std::string(e.what()).size(), 300u);
        }
        EXPECT_EQ(MakeProjectBytes(target), strBefore) << pszMessage;
    }
}
