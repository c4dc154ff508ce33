// The JSON export read back into a project.
#pragma once

#include "model/RiskModel.h"

#include <stdexcept>
#include <string_view>

// A document that is not a project; the message names the first problem by
// its place ("answers[8]: 7 is outside 0..6").
class CImportError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Validates the whole document, then sets the model's 81 answers and three
// weights; a failure throws CImportError before the model is touched.
// Accepted: an object with "weights" ({"technical", "cost", "schedule"},
// each a number or "NaN", "Infinity", "-Infinity") and "answers" (81 answer
// indices or labels, or 81 objects holding one as "answer"); "format" and
// "version", when present, must be those of an export; a "label" beside an
// answer must be that answer's; "title", "metrics", texts and values are
// ignored. Unless bAnyWeights, the weights must be fractions from 0 to 1 that
// sum to 1 within 0.01 (percentages are named as such); with it, every value
// a project file can hold is taken, NaN included.
void ImportProject(CRiskModel& model, std::string_view strJson, bool bAnyWeights = false);
