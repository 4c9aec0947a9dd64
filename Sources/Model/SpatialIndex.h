// A spatial index over a drawing's elements: it narrows what a redraw, a pick or a snap looks
// at to the elements whose box meets a rectangle, handed out in list order so that "the first
// element in list order that is hit" stays what it was.
#pragma once

#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"

#include <cstddef>
#include <vector>

// The elements of the kind whose box may meet the rectangle, in list order (a superset: the caller
// still tests each one). False when the index does not narrow the query (a small drawing, a
// rectangle over most of it, symbol instances): the caller walks the list.
bool SpatialCandidates(DocWindowRecord* doc, SInt16 kind, Float64 minX, Float64 minY, Float64 maxX,
                       Float64 maxY, std::vector<void*>* out);

// What keeps the index true. Any change the index is not told of must at least call
// SpatialIndexStale, which rebuilds it on the next query.
void SpatialIndexStale(DocWindowRecord* doc);
// The element is about to be unlinked and disposed (with its undo record), and has been.
void SpatialIndexRemoving(DocWindowRecord* doc, SInt16 kind, const void* element);
void SpatialIndexRemoved(DocWindowRecord* doc, SInt16 kind);
// The element (linked at the tail of its list) is new.
void SpatialIndexAppended(DocWindowRecord* doc, SInt16 kind, void* element);
// The element's coordinates are about to change or have changed.
void SpatialIndexChanged(DocWindowRecord* doc, SInt16 kind, const void* element);
// Frees the document's index; called when the document's records are disposed.
void SpatialIndexDispose(const DocWindowRecord* doc);

// Counts disposals of element records, kind by kind: an index that did not hear of a disposal is
// rebuilt, so it never hands out a freed element whatever path freed it.
extern UInt32 gElementDisposals[kElementKindCount];

// A walk over the candidates of a rectangle in list order, or over the whole list from start when
// the index does not narrow it.
template <typename T> class IndexWalk {
  public:
    IndexWalk(DocWindowRecord* doc, SInt16 kind, T* start, Float64 minX, Float64 minY, Float64 maxX,
              Float64 maxY)
        : start_(start) {
        narrowed_ = SpatialCandidates(doc, kind, minX, minY, maxX, maxY, &list_);
    }
    T* First() { return narrowed_ ? At(0) : start_; }
    T* Next(T* e) { return narrowed_ ? At(++at_) : e->next; }

  private:
    T* At(std::size_t i) {
        at_ = i;
        return i < list_.size() ? static_cast<T*>(list_[i]) : nullptr;
    }
    std::vector<void*> list_;
    T* start_;
    std::size_t at_ = 0;
    bool narrowed_ = false;
};
