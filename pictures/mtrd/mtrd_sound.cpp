#include "pictures/mtrd/mtrd_sound.h"

#include <cstring>

#include "pictures/mtrd/mtrd_format.h"

const std::array<int16_t, 256> kMtrdSoundCodes = {
    -32765, -32411, -32059, -31709, -31360, -31014, -30670, -30327,  // 0
    -29986, -29647, -29310, -28975, -28642, -28310, -27980, -27652,  //
    -27326, -27001, -26678, -26357, -26038, -25721, -25405, -25091,  // 16
    -24778, -24467, -24158, -23851, -23545, -23241, -22938, -22638,  //
    -22338, -22041, -21745, -21450, -21158, -20866, -20577, -20289,  // 32
    -20002, -19717, -19434, -19152, -18872, -18593, -18315, -18039,  //
    -17765, -17492, -17221, -16951, -16682, -16415, -16150, -15885,  // 48
    -15623, -15361, -15101, -14843, -14586, -14330, -14076, -13823,  //
    -13571, -13321, -13072, -12825, -12578, -12333, -12090, -11848,  // 64
    -11607, -11367, -11129, -10892, -10656, -10421, -10188, -9956,   //
    -9725,  -9496,  -9268,  -9041,  -8815,  -8590,  -8367,  -8145,   // 80
    -7924,  -7704,  -7486,  -7268,  -7052,  -6837,  -6623,  -6410,   //
    -6199,  -5988,  -5779,  -5571,  -5364,  -5158,  -4953,  -4750,   // 96
    -4547,  -4345,  -4145,  -3946,  -3747,  -3550,  -3354,  -3159,   //
    -2965,  -2772,  -2580,  -2389,  -2199,  -2011,  -1823,  -1636,   // 112
    -1450,  -1265,  -1082,  -899,   -717,   -536,   -356,   -177,    //
    0,      179,    359,    540,    723,    906,    1090,   1276,    // 128
    1462,   1649,   1837,   2027,   2217,   2409,   2601,   2795,    //
    2989,   3185,   3382,   3580,   3779,   3979,   4180,   4382,    // 144
    4585,   4790,   4995,   5202,   5409,   5618,   5828,   6040,    //
    6252,   6466,   6680,   6896,   7113,   7331,   7551,   7772,    // 160
    7993,   8216,   8441,   8666,   8893,   9121,   9350,   9581,    //
    9813,   10046,  10280,  10515,  10752,  10990,  11230,  11471,   // 176
    11713,  11956,  12201,  12447,  12694,  12943,  13193,  13445,   //
    13698,  13952,  14208,  14465,  14723,  14983,  15245,  15507,   // 192
    15771,  16037,  16304,  16573,  16843,  17114,  17387,  17662,   //
    17938,  18215,  18494,  18775,  19057,  19340,  19626,  19912,   // 208
    20201,  20490,  20782,  21075,  21370,  21666,  21964,  22263,   //
    22564,  22867,  23172,  23478,  23786,  24095,  24406,  24719,   // 224
    25034,  25350,  25668,  25988,  26310,  26633,  26958,  27285,   //
    27613,  27944,  28276,  28610,  28946,  29284,  29623,  29965,   // 240
    30308,  30653,  31000,  31349,  31700,  32053,  32408,  32765,   //
};

int64_t Mtrd_Sound_Bytes_Per_Frame(int32_t version, const MtrdSound& s) {
  if (s.sample_rate <= 0 || s.frames_per_second <= 0) return -1;
  const int64_t rate = s.sample_rate;
  if (version == 1280) return rate / s.frames_per_second * 2;
  if (version == 1284) return s.size;
  if (s.stereo < 0 || s.stereo > 1) return -1;
  return (rate << s.stereo) * s.bits / 8 / s.frames_per_second;
}

bool Mtrd_Sound_Is_Coded(int32_t version, int32_t bits) {
  return version == 1280 || (version == 1284 && bits == 16);
}

int64_t Mtrd_Sound_Unpacked_Bytes(int32_t version, int32_t bits, int64_t pcm_bytes) {
  return Mtrd_Sound_Is_Coded(version, bits) ? pcm_bytes / 2 : pcm_bytes;
}

namespace {

void Put_Sample(uint8_t* pcm, size_t index, uint16_t sample) {
  pcm[index * 2] = uint8_t(sample);
  pcm[index * 2 + 1] = uint8_t(sample >> 8);
}

}  // namespace

void Mtrd_Sound_Expand_1280(const uint8_t* codes, size_t count, uint8_t* pcm) {
  uint16_t sample = 0;
  for (size_t i = 0; i < count; ++i) {
    sample = uint16_t(sample + codes[i] * 256u);
    Put_Sample(pcm, i, sample);
  }
}

void Mtrd_Sound_Expand_1284(const uint8_t* codes, size_t pcm_bytes, bool stereo, uint8_t* pcm) {
  std::memset(pcm, 0, pcm_bytes);
  uint16_t sum = 0;
  if (!stereo) {
    for (size_t i = 0; i < pcm_bytes / 2; ++i) {
      sum = uint16_t(sum + uint16_t(kMtrdSoundCodes[codes[i]]));
      Put_Sample(pcm, i, sum);
    }
    return;
  }
  const size_t half = pcm_bytes / 4;
  for (size_t channel = 0; channel < 2; ++channel) {
    for (size_t i = 0; i < half; ++i) {
      sum = uint16_t(sum + uint16_t(kMtrdSoundCodes[codes[channel * half + i]]));
      Put_Sample(pcm, i * 2 + channel, sum);
    }
  }
}
