// Methods 2, 3 and 6: LZ packets read straight from the input.
#include "packing/lz_packets.h"
#include "packing/packing.h"

namespace {

template <int Layout>
UnpackResult UnpackRaw(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size, size_t history) {
  packing_internal::ByteSource source(in, in_size);
  packing_internal::Output output{out, out_size, history};
  const UnpackStatus status = packing_internal::DecodePackets<Layout>(source, output);
  return {status, source.Position(), output.pos};
}

}  // namespace

UnpackResult Unpack_Lz_Short(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                             size_t history) {
  return UnpackRaw<2>(in, in_size, out, out_size, history);
}

UnpackResult Unpack_Lz_Long(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                            size_t history) {
  return UnpackRaw<3>(in, in_size, out, out_size, history);
}

UnpackResult Unpack_Lz_Skip(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                            size_t history) {
  return UnpackRaw<6>(in, in_size, out, out_size, history);
}
