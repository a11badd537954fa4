#include "orv_vr/orv_vr.h"

#include "orv_vr/renderer.h"

using orv_vr_internal::Renderer;

namespace {

Renderer* Share(Renderer* r) {
  if (r) r->references.fetch_add(1, std::memory_order_relaxed);
  return r;
}

void Release(Renderer* r) {
  if (r && r->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete r;
}

}  // namespace

ORV_VR::ORV_VR() : state_(orv_vr_internal::Create_Renderer()) {}

ORV_VR::ORV_VR(const ORV_VR& other) : state_(Share(other.state_)) {}

ORV_VR::~ORV_VR() { Release(state_); }

ORV_VR& ORV_VR::operator=(const ORV_VR& other) {
  if (state_ != other.state_) {
    Renderer* previous = state_;
    state_ = Share(other.state_);
    Release(previous);
  }
  return *this;
}

int ORV_VR::Init_Resolution(float left, float top, float width, float height, int dest_width,
                            float /*spare*/) {
  if (!state_) return 0;
  return orv_vr_internal::Set_Viewport(*state_, left, top, width, height, dest_width) ? 1 : 0;
}

void ORV_VR::Draw(unsigned short* dest, float yaw, float tilt, float roll, float fov) {
  if (!state_ || !dest || !orv_vr_internal::Ready(*state_) ||
      !orv_vr_internal::View_Acceptable(yaw, tilt, roll, fov)) {
    return;
  }
  orv_vr_internal::Render(*state_, dest, yaw, tilt, roll, fov);
}

unsigned short* ORV_VR::Buffer() { return state_ ? state_->tiles.get() : nullptr; }
