// The input half of Wendax's state: key state table, key queue, the
// virtual cursor, the buttons.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int kKeyStateSize = 128;
inline constexpr int kKeyQueueSize = 256;
inline constexpr int kKeyboardStepStart = 7;

// A ring of codes; empty when both indexes are equal, so at most 255 wait.
struct KeyQueue {
  std::array<int, kKeyQueueSize> codes{};
  int write = 0;
  int read = 0;
};

// Adds a code; dropped when the queue is full.
void Key_Queue_Push(KeyQueue& queue, int code);
// The oldest code, or 0 when the queue is empty.
int Key_Queue_Pop(KeyQueue& queue);
int Key_Queue_Count(const KeyQueue& queue);

// The virtual cursor and its clamp box.
struct CursorState {
  int x = 0;
  int y = 0;
  int dx = 0;
  int dy = 0;
  int xmin = 0;
  int ymin = 0;
  int xmax = 639;
  int ymax = 479;
};

inline constexpr int kButtonUp = 0;
inline constexpr int kButtonClicked = 1;  // pressed since the last query
inline constexpr int kButtonHeld = 2;

struct InputState {
  std::array<uint8_t, kKeyStateSize> key_state{};  // 255 while down, by scan code
  KeyQueue queue;
  int centre_x = 320;  // where the system pointer is put back every step
  int centre_y = 240;
  CursorState cursor;
  int left = kButtonUp;
  int right = kButtonUp;
  int escape = 0;
  int key_code = 0;  // of the last step
  int keyboard_step = kKeyboardStepStart;
};
