// Slide: the picture slides into its own rectangle through one of its
// edges, 2 pixels per step (appear), or out of it (erase). Nothing is drawn
// outside the picture's rectangle. HalfSlide moves two halves the same way.
#include "saver/effects/Draw.h"

namespace saver {

namespace fx {
namespace {
enum class Edge { Left, Top, Right, Bottom };

// A part of the picture (picture coordinates) and the edge it moves through.
struct SlidingPart {
  RECT part;
  Edge edge;
};

Edge Opposite(Edge e) {
  switch (e) {
    case Edge::Left: return Edge::Right;
    case Edge::Top: return Edge::Bottom;
    case Edge::Right: return Edge::Left;
    default: return Edge::Top;
  }
}

// The strip of depth s that has come in through the edge, standing at it.
void SlideIn(const EffectContext& c, const SlidingPart& p, int s) {
  const int l = p.part.left, t = p.part.top, r = p.part.right, b = p.part.bottom;
  switch (p.edge) {
    case Edge::Left: CopyImage(c, Rect(r - s, t, r, b), c.X + l, c.Y + t); break;
    case Edge::Top: CopyImage(c, Rect(l, b - s, r, b), c.X + l, c.Y + t); break;
    case Edge::Right: CopyImage(c, Rect(l, t, l + s, b), c.X + r - s, c.Y + t); break;
    case Edge::Bottom: CopyImage(c, Rect(l, t, r, t + s), c.X + l, c.Y + b - s); break;
  }
}

// What is left of the part after moving s out through the edge.
void SlideOut(const EffectContext& c, const SlidingPart& p, int s) {
  const int l = p.part.left, t = p.part.top, r = p.part.right, b = p.part.bottom;
  switch (p.edge) {
    case Edge::Left: CopyImage(c, Rect(l + s, t, r, b), c.X + l, c.Y + t); break;
    case Edge::Top: CopyImage(c, Rect(l, t + s, r, b), c.X + l, c.Y + t); break;
    case Edge::Right: CopyImage(c, Rect(l, t, r - s, b), c.X + l + s, c.Y + t); break;
    case Edge::Bottom: CopyImage(c, Rect(l, t, r, b - s), c.X + l, c.Y + t + s); break;
  }
}
}  // namespace

EffectStep SlideStep(EffectContext& c, bool appear, bool halves) {
  EffectState& st = *c.State;
  if (!st.Begun) return BeginSlide(c, appear ? AppearInterval(c) : EraseInterval(c));
  const bool alongHeight = (c.EffectCoin == 1) == appear;
  // Coming in, the picture (or its left or top half) enters through the
  // bottom or the right edge with the flag, the top or the left without;
  // going out, it leaves through the edge opposite. A second half moves the
  // other way.
  Edge edge = alongHeight ? (st.SideFlag ? Edge::Bottom : Edge::Top) : (st.SideFlag ? Edge::Right : Edge::Left);
  if (!appear) edge = Opposite(edge);
  const RECT first = !halves ? Rect(0, 0, c.W, c.H)
                     : alongHeight ? Rect(0, 0, st.HalfWidth, c.H) : Rect(0, 0, c.W, st.HalfHeight);
  const RECT second = alongHeight ? Rect(st.HalfWidth, 0, c.W, c.H) : Rect(0, st.HalfHeight, c.W, c.H);
  const SlidingPart parts[] = {{first, edge}, {second, Opposite(edge)}};
  const int partCount = halves ? 2 : 1;
  const int s = st.Progress;
  const bool done = s > (alongHeight ? c.H : c.W);
  if (appear) {
    if (done) return ShowWhole(c);
    for (int i = 0; i < partCount; ++i) SlideIn(c, parts[i], s);
    return ShowAndAdvance(c, ImageRect(c));
  }
  const RECT r = ImageRect(c);
  Restore(c, r);
  if (done) return ShowCleared(c, r);
  for (int i = 0; i < partCount; ++i) SlideOut(c, parts[i], s);
  return ShowAndAdvance(c, r);
}

}  // namespace fx

EffectStep SlideOn(EffectContext& c) { return fx::SlideStep(c, true, false); }
EffectStep SlideOff(EffectContext& c) { return fx::SlideStep(c, false, false); }

}  // namespace saver
