// Access to one renderer's modules for the tests of its internals.
#pragma once

#include <memory>

#include "orv_vr/renderer.h"

namespace orv_test {

struct RendererDeleter {
  void operator()(orv_vr_internal::Renderer* r) const { delete r; }
};
using RendererPtr = std::unique_ptr<orv_vr_internal::Renderer, RendererDeleter>;

inline RendererPtr Make_Renderer(float width, float height) {
  RendererPtr r(orv_vr_internal::Create_Renderer());
  if (r) orv_vr_internal::Set_Viewport(*r, 0, 0, width, height, static_cast<int>(width));
  return r;
}

}  // namespace orv_test
