// The project as data (JSON), its probabilities as a table (CSV) and as a
// chart (SVG).
#pragma once

#include "input/Snapshot.h"
#include "report/Chart.h"

#include <string>

// {"format": "velkor-project", "version": 1, "title", "weights", "answers"
// (81 objects), "metrics" (28 objects)}, a line feed at the end.
std::string MakeJsonExport(const SSnapshot& snapshot);

// "index,label,value" and one row per metric, values as fractions, LF ends.
std::string MakeCsvExport(const SSnapshot& snapshot);

// The chart: a radar of the ten categories with its 100 % ring, bars of the
// six phases and the six activities, the title and the total. Every plotted
// value carries a <title> "<name>: <value>%" with one decimal.
std::string MakeSvgChart(const SSnapshot& snapshot);

// A chart as an SVG document: every shape, each plotted value with its
// <title>.
std::string WriteSvg(const SChart& chart);
