#include "platform/input/input_state.h"

void Key_Queue_Push(KeyQueue& queue, int code) {
  int next = (queue.write + 1) % kKeyQueueSize;
  if (next == queue.read) return;  // full: the code is dropped
  queue.codes[size_t(queue.write)] = code;
  queue.write = next;
}

int Key_Queue_Pop(KeyQueue& queue) {
  if (queue.read == queue.write) return 0;
  int code = queue.codes[size_t(queue.read)];
  queue.read = (queue.read + 1) % kKeyQueueSize;
  return code;
}

int Key_Queue_Count(const KeyQueue& queue) {
  return (queue.write - queue.read + kKeyQueueSize) % kKeyQueueSize;
}
