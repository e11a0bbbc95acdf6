#pragma once
// The frames that draw with a colour table, and whether any of them holds a colour index the
// table has no entry for. Such indices have no colour of their own, so the optimizer leaves
// their tables as they are.

#include <functional>

namespace corvane {

class TGIFColorMap;
class TGIFSubImage;

// Calls visit for every frame whose active table is table: the frames of the image that draw
// with the global table, or the one frame of a local table.
void ForEachFrameUsing(TGIFColorMap& table, const std::function<void(TGIFSubImage&)>& visit);
void ForEachFrameUsing(const TGIFColorMap& table, const std::function<void(const TGIFSubImage&)>& visit);

// A pixel, or the transparent index of a transparent frame, at or above the entry count of
// the frame's active table.
bool FrameHoldsUndefinedIndices(const TGIFSubImage& frame);
bool TableHoldsUndefinedIndices(const TGIFColorMap& table);

}  // namespace corvane
