#include "orv_vr/span_draw.h"

#include <cmath>

namespace orv_vr_internal {
namespace {

// U and V run in unsigned arithmetic: the same bits as 32-bit two's
// complement, without overflow for extreme values.
uint32_t Exact(float a_z, float iz) { return static_cast<uint32_t>(std::lrint(a_z / iz)); }

int32_t Step(uint32_t to, uint32_t from) { return static_cast<int32_t>(to - from) >> 5; }

uint16_t Texel(const uint16_t* tile, uint32_t u, uint32_t v) {
  return tile[(v & 0xFF00u) | ((u >> 8) & 0xFFu)];
}

// Stores pixel i of the span.
struct Direct {
  uint16_t* p;
  void operator()(int i, uint16_t texel) const { p[i] = texel; }
};

struct Windowed {
  uint16_t* row;
  int column, lo, hi;
  void operator()(int i, uint16_t texel) const {
    const int c = column + i;
    if (c >= lo && c < hi) row[c] = texel;
  }
};

// count pixels from pixel `at`, stepping from (u, v). Pairs of pixels land as
// one 32-bit store where the compiler sees fit; the values are the same.
template <class Out>
void Run(const Out& out, int at, int count, uint32_t u, uint32_t v, int32_t du, int32_t dv,
         const uint16_t* tile) {
  for (int i = 0; i < count; ++i) {
    out(at + i, Texel(tile, u, v));
    u += static_cast<uint32_t>(du);
    v += static_cast<uint32_t>(dv);
  }
}

template <class Out>
void Span(SpanWork& w, const Out& out, uintptr_t address, int n, const uint16_t* tile) {
  int at = 0;
  if (address & 3u) {
    out(0, Texel(tile, Exact(w.uz, w.iz), Exact(w.vz, w.iz)));
    if (--n == 0) return;
    at = 1;
    w.uz += w.duz;
    w.vz += w.dvz;
    w.iz += w.diz;
  }
  const float gu = 32.0f * w.duz, gv = 32.0f * w.dvz, gi = 32.0f * w.diz;
  w.u0 = Exact(w.uz, w.iz);
  w.v0 = Exact(w.vz, w.iz);
  w.uz += gu;
  w.vz += gv;
  w.iz += gi;
  w.u1 = Exact(w.uz, w.iz);
  w.v1 = Exact(w.vz, w.iz);
  for (; n >= 32; n -= 32, at += 32) {
    // The next boundary's target, 32 pixels beyond this block's end.
    w.uz += gu;
    w.vz += gv;
    w.iz += gi;
    const uint32_t u2 = Exact(w.uz, w.iz), v2 = Exact(w.vz, w.iz);
    Run(out, at, 32, w.u0, w.v0, Step(w.u1, w.u0), Step(w.v1, w.v0), tile);
    w.u0 = w.u1;
    w.v0 = w.v1;
    w.u1 = u2;
    w.v1 = v2;
  }
  Run(out, at, n, w.u0, w.v0, Step(w.u1, w.u0), Step(w.v1, w.v0), tile);
}

}  // namespace

void Draw_Span(SpanWork& w, uint16_t* p, int n, const uint16_t* tile) {
  Span(w, Direct{p}, reinterpret_cast<uintptr_t>(p), n, tile);
}

void Draw_Span_Windowed(SpanWork& w, uint16_t* row, int column, int n, int lo, int hi, const uint16_t* tile) {
  const uintptr_t address =
      reinterpret_cast<uintptr_t>(row) + static_cast<uintptr_t>(static_cast<intptr_t>(column) * 2);
  Span(w, Windowed{row, column, lo, hi}, address, n, tile);
}

}  // namespace orv_vr_internal
