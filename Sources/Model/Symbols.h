// Symbols: definitions made from the selection, kept sorted by name, and the instances that place
// them. The instance transform lives here once; drawing, exploding and picking all place a
// definition's elements through it.
#pragma once

#include "Model/DocumentRecords.h"

// How an instance places a point of its definition: scale (x and y apart), turn, move.
struct SymbolTransform {
    Float64 x = 0, y = 0;           // the instance position
    Float64 angle = 0;              // degrees
    Float64 sine = 0, cosine = 1;   // of the angle
    Float64 scaleX = 1, scaleY = 1; // effective: the instance's scales times its factor per unit
    Float64 rawScaleX = 1, rawScaleY = 1;
    Float64 factor = 1; // the instance's element scale factor, given to placed elements
};

// The transform of an instance. Whatever a file holds, the scales come out finite.
void LoadSymbolTransform(const DocWindowRecord* doc, const SymbolInstanceRecord* instance,
                         SymbolTransform* t);
void SymbolTransformPoint(const SymbolTransform& t, Float64* x, Float64* y);
// A length of the definition placed: the mean of the absolute scales (radii under unequal scales).
Float64 SymbolTransformLength(const SymbolTransform& t, Float64 length);

// A definition element placed by the transform into out. Lines, arcs and dimensions take out as a
// plain copy; texts share the box text of the original (do not dispose it). Polylines and areas copy
// their point handles: dispose out's data afterwards (DisposePolylineData, DisposeAreaData). Those
// two are false when memory runs out.
//
// The rule for every kind: points go through the whole transform. Arc radii take the mean absolute
// scale; a mirror runs an arc the other way round. Texts (and dimension texts) move with the
// transform but are never mirrored: their box turns by the instance angle and is scaled by the
// absolute scales around the placed anchor, so they stay readable. Dimension texts keep the value of
// the definition.
void PlaceSymbolLine(const SymbolTransform& t, const LineRecord* in, LineRecord* out);
void PlaceSymbolArc(const SymbolTransform& t, const ArcRecord* in, ArcRecord* out);
void PlaceSymbolText(const SymbolTransform& t, const TextRecord* in, TextRecord* out);
void PlaceSymbolDimension(const SymbolTransform& t, const DimensionRecord* in, DimensionRecord* out);
Boolean PlaceSymbolPolyline(const SymbolTransform& t, const PolylineRecord* in, PolylineRecord* out);
Boolean PlaceSymbolArea(const SymbolTransform& t, const AreaRecord* in, AreaRecord* out);

// The four corners of the instance's transformed extents, relative to its position.
void ComputeInstanceFrame(const DocWindowRecord* doc, SymbolInstanceRecord* instance);
// The world box of an instance: its frame around its position.
void InstanceBox(const SymbolInstanceRecord* instance, Float64 box[4]);

// A new instance at the end of the list with the current layer and group and its undo record; the
// angle is brought into [0, 360). Null when memory is exhausted or def is null.
SymbolInstanceRecord* CreateSymbolInstance(DocWindowRecord* doc, Float64 x, Float64 y, Float64 angle,
                                           Float64 xScale, Float64 yScale, SymbolDefRecord* def);

// Moves the selected elements into a new definition (base point at baseX, baseY; name cut to 19
// characters), inside one undo step: the elements leave the drawing with their undo records and,
// with place set, an instance at the base point shows them as they were. Shows message 155 when a
// symbol instance carries its second selection byte. The new definition, or null without memory.
SymbolDefRecord* CreateSymbolFromSelection(DocWindowRecord* doc, Float64 baseX, Float64 baseY,
                                           ConstStr255Param name, Boolean place);

// Re-orders the definitions by name (shorter first on a common prefix).
void SortSymbolDefinitions(DocWindowRecord* doc);
// The first definition of that name (the walk cursor left on it), or null.
SymbolDefRecord* FindSymbolDefinition(DocWindowRecord* doc, ConstStr255Param name);
SInt16 CountSymbolDefinitions(const DocWindowRecord* doc);

// Replaces the instance by copies of its definition's elements, placed, each with its undo record.
void ExplodeSymbolInstance(DocWindowRecord* doc, SymbolInstanceRecord* instance);

// Makes the selection the new content of the definition of that name, about the base point: its
// instances keep position, angle and scales and show the new content; the undo history is cleared.
// False (nothing changed) when no definition has the name.
Boolean RedefineBlock(DocWindowRecord* doc, Float64 baseX, Float64 baseY, ConstStr255Param name);

// Replaces the instance by one with the new angle and scales, same place and definition, in one step.
SymbolInstanceRecord* ChangeSymbolInstance(DocWindowRecord* doc, SymbolInstanceRecord* instance,
                                           Float64 angle, Float64 xScale, Float64 yScale);

// The drawing places symbols at angle 0 and scale 1 without asking for them (a settings slot).
Boolean& PlaceSymbolsWithoutAsking(DocSettings* settings);

// Message 155 of STR# 128: selected symbol instances take no part.
constexpr SInt16 kSelectedInstancesMessage = 155;
