// The printable report: one A4 page with the title, the 28 probabilities,
// the three weights and the chart. The only part of velkor-report on Qt.
#pragma once

#include "model/RiskModel.h"

#include <string>

// Recomputes all metrics and returns the PDF's bytes. Needs a
// QGuiApplication (any platform, "offscreen" included) for the fonts.
std::string MakePdfReport(CRiskModel& model, const std::string& strTitle);
