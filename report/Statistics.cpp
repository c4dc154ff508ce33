#include "report/Statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace
{
// The coincidence matrix, row-major, nValues x nValues.
using Coincidences = std::vector<double>;

// What unit u adds to the coincidence matrix (nothing when unpairable).
void AddUnit(const CValueCounts& counts, std::size_t u, double dSign, Coincidences& o)
{
    const std::size_t nValues = counts.Values();
    std::uint32_t nPairable = 0;
    for (std::size_t c = 0; c < nValues; ++c)
        nPairable += counts.At(u, c);
    if (nPairable < 2)
        return;
    const double dScale = dSign / (nPairable - 1.0);
    for (std::size_t c = 0; c < nValues; ++c)
    {
        const double dC = counts.At(u, c);
        if (dC == 0)
            continue;
        for (std::size_t k = 0; k < nValues; ++k)
            o[c * nValues + k] += dC * (counts.At(u, k) - (c == k ? 1.0 : 0.0)) * dScale;
    }
}

std::optional<double> AlphaOf(const Coincidences& o, std::size_t nValues)
{
    std::vector<double> adMarginal(nValues, 0.0);
    for (std::size_t c = 0; c < nValues; ++c)
        for (std::size_t k = 0; k < nValues; ++k)
            adMarginal[c] += o[c * nValues + k];
    const double dTotal = std::accumulate(adMarginal.begin(), adMarginal.end(), 0.0);
    double dObserved = 0, dExpected = 0;
    for (std::size_t c = 0; c < nValues; ++c)
    {
        double dBetween = adMarginal[c] / 2; // n_c/2 + n_(c+1) + ... + n_k/2
        for (std::size_t k = c + 1; k < nValues; ++k)
        {
            dBetween += adMarginal[k] / 2;
            const double dDelta = dBetween * dBetween;
            // The matrix is symmetric: each pair c < k counts twice.
            dObserved += 2 * o[c * nValues + k] * dDelta;
            dExpected += 2 * adMarginal[c] * adMarginal[k] * dDelta;
            dBetween += adMarginal[k] / 2;
        }
    }
    // Rounding leaves a trace of a value no unit gave; a matrix with no
    // spread at all expects no disagreement.
    if (!(dTotal > 1) || !(dExpected > 0))
        return std::nullopt;
    return 1 - (dTotal - 1) * dObserved / dExpected;
}

Coincidences AllUnits(const CValueCounts& counts)
{
    Coincidences o(counts.Values() * counts.Values(), 0.0);
    for (std::size_t u = 0; u < counts.Units(); ++u)
        AddUnit(counts, u, 1, o);
    return o;
}
} // namespace

std::optional<double> OrdinalAlpha(const CValueCounts& counts)
{
    return AlphaOf(AllUnits(counts), counts.Values());
}

SAlphaInterval OrdinalAlphaInterval(const CValueCounts& counts)
{
    SAlphaInterval interval;
    const Coincidences all = AllUnits(counts);
    interval.alpha = AlphaOf(all, counts.Values());
    const std::size_t nUnits = counts.Units();
    if (!interval.alpha || nUnits < 2)
        return interval;
    std::vector<double> adLeftOut;
    for (std::size_t u = 0; u < nUnits; ++u)
    {
        // Without unit u, built afresh: subtracting would leave rounding
        // traces where the unit held a value no other unit gave.
        Coincidences o(all.size(), 0.0);
        for (std::size_t v = 0; v < nUnits; ++v)
            if (v != u)
                AddUnit(counts, v, 1, o);
        const auto alpha = AlphaOf(o, counts.Values());
        if (!alpha)
            return interval;
        adLeftOut.push_back(*alpha);
    }
    const double dMean = std::accumulate(adLeftOut.begin(), adLeftOut.end(), 0.0) / nUnits;
    double dSquares = 0;
    for (const double d : adLeftOut)
        dSquares += (d - dMean) * (d - dMean);
    const double dError = std::sqrt((nUnits - 1.0) / nUnits * dSquares);
    interval.low = *interval.alpha - 1.96 * dError;
    interval.high = *interval.alpha + 1.96 * dError;
    return interval;
}

std::optional<double> AreaUnderCurve(std::span<const double> scores, std::span<const bool> met)
{
    if (std::any_of(scores.begin(), scores.end(), [](double d) { return std::isnan(d); }))
        return std::nullopt; // no order to rank by
    std::vector<std::size_t> order(scores.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return scores[a] < scores[b]; });
    // Walking up the scores: each met outcome beats every missed one below
    // its score and ties those at it. Counts stay whole numbers.
    double dWins = 0, dMissedBelow = 0, dMet = 0;
    for (std::size_t i = 0; i < order.size();)
    {
        std::size_t j = i;
        double dMetHere = 0, dMissedHere = 0;
        for (; j < order.size() && !(scores[order[i]] < scores[order[j]]); ++j)
            (met[order[j]] ? dMetHere : dMissedHere) += 1;
        dWins += dMetHere * dMissedBelow * 2 + dMetHere * dMissedHere;
        dMissedBelow += dMissedHere;
        dMet += dMetHere;
        i = j;
    }
    if (dMet == 0 || dMissedBelow == 0)
        return std::nullopt;
    return dWins / (2 * dMet * dMissedBelow);
}

SForecastCheck CheckForecasts(std::span<const double> forecasts, std::span<const bool> met)
{
    SForecastCheck check;
    check.n = forecasts.size();
    std::vector<double> adClamped;
    std::array<double, RELIABILITY_BINS> adBinForecast{}, adBinMet{};
    double dSquares = 0, dMet = 0, dForecast = 0;
    for (std::size_t i = 0; i < forecasts.size(); ++i)
    {
        const double p = std::clamp(forecasts[i], 0.0, 1.0);
        adClamped.push_back(p);
        const double o = met[i] ? 1.0 : 0.0;
        dForecast += p;
        dMet += o;
        dSquares += (p - o) * (p - o);
        if (std::isnan(p))
            continue; // in the means, in no bin
        const std::size_t b =
            std::min(static_cast<std::size_t>(std::floor(10 * p)), RELIABILITY_BINS - 1);
        ++check.bins[b].nCount;
        adBinForecast[b] += p;
        adBinMet[b] += o;
    }
    if (check.n == 0)
        return check;
    const double n = static_cast<double>(check.n);
    check.dForecast = dForecast / n;
    check.dObserved = dMet / n;
    check.dBrier = dSquares / n;
    check.dReference = check.dObserved * (1 - check.dObserved);
    if (check.dReference != 0)
        check.skill = 1 - check.dBrier / check.dReference;
    check.auc = AreaUnderCurve(adClamped, met);
    for (std::size_t b = 0; b < RELIABILITY_BINS; ++b)
        if (const double nCount = static_cast<double>(check.bins[b].nCount); nCount > 0)
        {
            check.bins[b].forecast = adBinForecast[b] / nCount;
            check.bins[b].observed = adBinMet[b] / nCount;
        }
    return check;
}
