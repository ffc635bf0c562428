// A late tick draws the steps it owes in one go: the screen bitmap and the
// window must end exactly as if every step had been drawn in its own tick.
// Two stages run the same effect side by side, one a step per call, the
// other several steps per call, and are compared pixel for pixel after
// every call of the second.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "saver/Surfaces.h"

namespace {

constexpr int kCW = 64, kCH = 48;  // client
constexpr int kW = 40, kH = 30, kX = 10, kY = 9;  // picture and its place

// A 32-bit DIB section: the window's stand-in, and the means to read a
// bitmap's pixels.
class Dib {
 public:
  Dib(int w, int h) { canvas_.CreateDib(w, h, 32); }
  HDC Dc() const { return canvas_.Dc(); }
  std::vector<uint32_t> Read(HDC from) {
    BitBlt(canvas_.Dc(), 0, 0, canvas_.Width(), canvas_.Height(), from, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = reinterpret_cast<const uint32_t*>(canvas_.Bits());
    return std::vector<uint32_t>(p, p + canvas_.Width() * canvas_.Height());
  }

 private:
  forms::Bitmap canvas_;
};

void Stripes(HDC dc, int w, int h, int step, int seed) {
  for (int y = 0; y < h; y += step)
    for (int x = 0; x < w; x += step) {
      forms::BrushHandle b(CreateSolidBrush(RGB((x * 7 + seed) & 255, (y * 5 + seed * 3) & 255, (x + y) & 255)));
      RECT r{x, y, x + step, y + step};
      FillRect(dc, &r, b.get());
    }
}

// A stage with a patterned background and picture, flushing into a DIB.
struct Show {
  forms::Bitmap image;
  saver::Surfaces stage{0, 0, [](int bound) { return bound > 1 ? 1 : 0; }};
  Dib window{kCW, kCH};

  Show(bool appear, int coin) {
    image.Create(kW, kH);
    Stripes(image.Dc(), kW, kH, 3, 11);
    stage.Back.Create(kCW, kCH);
    Stripes(stage.Back.Dc(), kCW, kCH, 5, 97);
    stage.BuildFromBack({kCW, kCH});
    if (!appear) BitBlt(stage.Screen.Dc(), kX, kY, kW, kH, image.Dc(), 0, 0, SRCCOPY);
    BitBlt(window.Dc(), 0, 0, kCW, kCH, stage.Screen.Dc(), 0, 0, SRCCOPY);
    stage.FlushTo(window.Dc());
    stage.PlacePicture(image.Dc(), {kW, kH}, {kX, kY}, coin);
  }
};

const char* const kNames[] = {"Normal", "Blind", "Scroll", "Stretch", "Slide", "HalfSlide", "Mesh", "Fade"};

}  // namespace

TEST(CatchUp, SeveralStepsInOneTickEndAsTheyDoOneByOne) {
  Dib reader(kCW, kCH);
  for (int kind = 0; kind < saver::kEffectKinds; ++kind)
    for (bool appear : {true, false})
      for (int coin : {0, 1})
        for (int perTick : {2, 3, 7, 1000}) {
          const std::string label = std::string(kNames[kind]) + (appear ? " appear" : " erase") +
                                    ", coin " + std::to_string(coin) + ", " +
                                    std::to_string(perTick) + " steps a tick";
          Show one(appear, coin), many(appear, coin);
          bool oneDone = one.stage.BeginEffect(appear, kind).Done;
          bool manyDone = many.stage.BeginEffect(appear, kind).Done;
          ASSERT_EQ(oneDone, manyDone) << label;
          int ticks = 0;
          while (!manyDone) {
            ASSERT_LT(++ticks, 10000) << label;
            manyDone = many.stage.EffectSteps(appear, kind, perTick).Done;
            for (int i = 0; i < perTick && !oneDone; ++i)
              oneDone = one.stage.EffectSteps(appear, kind, 1).Done;
            ASSERT_EQ(manyDone, oneDone) << label << ", tick " << ticks;
            ASSERT_EQ(reader.Read(many.stage.Screen.Dc()), reader.Read(one.stage.Screen.Dc()))
                << label << ": screen bitmap after tick " << ticks;
            ASSERT_EQ(reader.Read(many.window.Dc()), reader.Read(one.window.Dc()))
                << label << ": window after tick " << ticks;
          }
        }
}
