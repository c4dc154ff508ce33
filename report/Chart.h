// The chart of an assessment as a list of shapes in SVG user units (pixels at
// 100 %): a radar of the ten categories with its 100 % ring, bars of the six
// phases and the six activities, the title and the total. The SVG export
// writes the shapes as they are; the PDF draws the same shapes.
#pragma once

#include "input/Snapshot.h"

#include <string>
#include <vector>

struct SChartShape
{
    enum EKind
    {
        text,     // at(x, y): strText, then strBold in bold
        rect,     // at(x, y, width, height)
        polygon,  // at(x0, y0, x1, y1, ...)
        line,     // at(x1, y1, x2, y2)
        circle,   // at(cx, cy, r)
        polyline, // at(x0, y0, x1, y1, ...), open
    };
    EKind eKind = text;
    std::vector<double> at;
    const char* pszFill = nullptr; // nullptr: as the chart (text) or none (shapes)
    double dFillOpacity = 1.0;
    const char* pszStroke = nullptr; // nullptr: none
    double dStrokeWidth = 0.0;
    bool bDashed = false;          // 3 on, 3 off
    const char* pszDash = nullptr; // a pattern of its own ("6 3 2 3"), over bDashed
    bool bRoundJoin = false;
    // Text.
    double dFontSize = 0.0; // 0: the chart's 13
    bool bBold = false;
    const char* pszAnchor = nullptr; // "middle", "end"; nullptr: start
    double dFitWidth = 0.0;          // squeezed to this width when not 0
    std::string strText;
    std::string strBold;
    // The tooltip of a plotted value ("Tools: 61.3%"); empty for none.
    std::string strTooltip;
};

struct SChart
{
    double dWidth = 940, dHeight = 510;
    double dFontSize = 13;
    const char* pszInk = "#222222";
    std::string strDescription;
    std::vector<SChartShape> shapes;
};

SChart MakeChart(const SSnapshot& snapshot);
