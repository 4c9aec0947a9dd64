// Tool groups 1 (circles) and 2 (arcs): the seven ways of finding a circle, shared by both groups.
// Group 1 adds the circle at once; group 2 then takes a start and an end angle, except for two
// points and a radius, whose arc runs from the first point to the second.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

// The groups' entries: a click in the drawing or a value confirmed in the command field.
void ToolGroup1Click(DocWindowRecord* doc);
void ToolGroup2Click(DocWindowRecord* doc);

// The step tables the entries run; a row's tool is its prompt row (group x 12 + sub-tool).
extern const ToolStepTable kCircleToolSteps;
extern const ToolStepTable kArcToolSteps;

// The circle of the radius through p1 and p2 whose centre lies nearer p3 (the first crossing on a
// tie): a full circle, or the arc from p1 to p2 about it. Message 8 when the points lie too far
// apart for the radius; false when nothing was added.
Boolean CircleThroughTwoPointsWithRadius(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                         Float64 x3, Float64 y3, Float64 radius, Boolean fullCircle);
