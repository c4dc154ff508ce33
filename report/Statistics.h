// The statistics of team, sensitivity and calibrate, on plain numbers: the
// agreement of several raters (Krippendorff's alpha, ordinal metric, with a
// jackknife interval) and the checks of probability forecasts against
// outcomes (Brier score, skill, AUC, reliability bins). Standard library
// only, so that the browser's analysis page calls the same functions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// How often each value was given in each unit: row u, column c is the number
// of raters who gave unit u the value of rank c (values in ascending order).
class CValueCounts
{
public:
    CValueCounts(std::size_t nUnits, std::size_t nValues)
        : m_nUnits(nUnits), m_nValues(nValues), m_anCounts(nUnits * nValues, 0)
    {
    }
    std::size_t Units() const { return m_nUnits; }
    std::size_t Values() const { return m_nValues; }
    std::uint32_t& At(std::size_t nUnit, std::size_t nValue)
    {
        return m_anCounts[nUnit * m_nValues + nValue];
    }
    std::uint32_t At(std::size_t nUnit, std::size_t nValue) const
    {
        return m_anCounts[nUnit * m_nValues + nValue];
    }

private:
    std::size_t m_nUnits, m_nValues;
    std::vector<std::uint32_t> m_anCounts;
};

// Krippendorff's alpha with the ordinal metric: 1 - D_o / D_e from the
// coincidence matrix o_ck = sum over units of n_uc (n_uk - [c = k]) / (m_u - 1),
// with delta^2_ck = (n_c/2 + n_(c+1) + ... + n_(k-1) + n_k/2)^2. Units with
// fewer than two values are left out. Nothing (undefined) when no
// disagreement is expected: every pairable value the same, or none at all.
std::optional<double> OrdinalAlpha(const CValueCounts& counts);

struct SAlphaInterval
{
    std::optional<double> alpha;
    // alpha -/+ 1.96 SE, SE = sqrt((U - 1) / U * sum (alpha_-u - mean)^2) over
    // the U units left out one at a time; nothing when alpha or any alpha_-u
    // is undefined.
    std::optional<double> low, high;
};

// Alpha and its jackknife interval over the units.
SAlphaInterval OrdinalAlphaInterval(const CValueCounts& counts);

// The bins of a reliability diagram: bin b holds the forecasts p with
// floor(10 p) = b, p = 1 in bin 9.
constexpr std::size_t RELIABILITY_BINS = 10;

struct SReliabilityBin
{
    std::size_t nCount = 0;
    std::optional<double> forecast; // mean forecast; nothing when empty
    std::optional<double> observed; // share of outcomes met
};

struct SForecastCheck
{
    std::size_t n = 0;
    double dForecast = 0;        // mean forecast
    double dObserved = 0;        // share met
    double dBrier = 0;           // mean (p - o)^2
    double dReference = 0;       // observed (1 - observed): always forecasting the share
    std::optional<double> skill; // 1 - brier / reference; nothing when reference is 0
    std::optional<double> auc;   // nothing without both a met and a missed outcome
    std::array<SReliabilityBin, RELIABILITY_BINS> bins;
};

// The chance that a met outcome had the higher score than a missed one, ties
// counting half; nothing without both. scores and met have the same size.
std::optional<double> AreaUnderCurve(std::span<const double> scores, std::span<const bool> met);

// Forecasts (each clamped to 0..1 first) against their outcomes; none gives
// n = 0 and means of 0.
SForecastCheck CheckForecasts(std::span<const double> forecasts, std::span<const bool> met);
