// KVR_FILE, compiled once (the object library kvr_chunk_file) into
// libkvr_read.so and into the engine's scene library.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <new>

#include "kvr_read/kvr_file.h"
#include "packing/byte_order.h"

namespace {

constexpr int kHeaderSize = 8;

struct Header {
  uint32_t tag = 0;
  int32_t length = 0;
};

// Reads the tag, then the stored length. Returns the number of bytes read,
// kHeaderSize for a whole header; fewer means the file ended (or failed)
// inside it.
size_t Read_Header(FILE* f, Header& h) {
  unsigned char bytes[kHeaderSize];
  size_t got = fread(bytes, 1, 4, f);
  if (got == 4) got += fread(bytes + 4, 1, 4, f);
  if (got == kHeaderSize) {
    h.tag = Le_U32(bytes);
    h.length = static_cast<int32_t>(Le_U32(bytes + 4));
  }
  return got;
}

// A stored length below 8 describes no chunk: its payload counts as empty.
int Payload_Size(int32_t length) { return length < kHeaderSize ? 0 : length - kHeaderSize; }

void Report(int* tag, int* size, const Header& h, bool whole) {
  if (tag) *tag = whole ? static_cast<int>(h.tag) : 0;
  if (size) *size = whole ? Payload_Size(h.length) : 0;
}

}  // namespace

// The stream shared by every object copied from the one that opened it.
// `file` is null once the stream has been closed through any of them.
struct KVR_FILE::Stream {
  FILE* file;
  int holders;
};

FILE* KVR_FILE::File() const { return stream_ ? stream_->file : nullptr; }

KVR_FILE::KVR_FILE() : stream_(nullptr) {}

KVR_FILE::KVR_FILE(const KVR_FILE& other) : stream_(other.stream_) {
  if (stream_) ++stream_->holders;
}

KVR_FILE::~KVR_FILE() { Release(); }

KVR_FILE& KVR_FILE::operator=(const KVR_FILE& other) {
  if (other.stream_ != stream_) {
    Release();
    stream_ = other.stream_;
    if (stream_) ++stream_->holders;
  }
  return *this;
}

// Lets go of this object's share; the last holder closes the stream.
void KVR_FILE::Release() {
  if (!stream_) return;
  if (--stream_->holders == 0) {
    if (stream_->file) fclose(stream_->file);
    delete stream_;
  }
  stream_ = nullptr;
}

void KVR_FILE::Close() {
  if (stream_ && stream_->file) {
    fclose(stream_->file);
    stream_->file = nullptr;
  }
  Release();
}

// Gives `file` to a new shared stream; null (and the file closed) when the
// bookkeeping cannot be allocated.
KVR_FILE::Stream* KVR_FILE::Adopt(FILE* file) {
  if (!file) return nullptr;
  auto* s = new (std::nothrow) Stream{file, 1};
  if (!s) fclose(file);
  return s;
}

int KVR_FILE::Open(char* path, char* mode) { return Open(static_cast<const char*>(path), mode); }

int KVR_FILE::Open(const char* path, const char* mode) {
  Close();
  if (!path || !mode) return 0;
  stream_ = Adopt(fopen(path, mode));
  return stream_ ? 1 : 0;
}

void KVR_FILE::Get_Chunck(int* tag, int* size) {
  FILE* f = File();
  Header h;
  const bool whole = f && Read_Header(f, h) == kHeaderSize;
  if (whole) fseek(f, -kHeaderSize, SEEK_CUR);
  Report(tag, size, h, whole);
}

void KVR_FILE::Read_Chunck(int* tag, int* size) {
  FILE* f = File();
  Header h;
  const bool whole = f && Read_Header(f, h) == kHeaderSize;
  Report(tag, size, h, whole);
}

// Goes back by exactly the bytes it read, so the position is the chunk's
// start again even when the file ends inside the header or the payload.
void KVR_FILE::Get_Chunck_Data(void* buf, int len) {
  FILE* f = File();
  if (!f) return;
  Header h;
  size_t consumed = Read_Header(f, h);
  if (buf && len > 0) consumed += fread(buf, 1, static_cast<size_t>(len), f);
  fseek(f, -static_cast<long>(consumed), SEEK_CUR);
}

void KVR_FILE::Read(void* buf, int len) {
  FILE* f = File();
  if (f && buf && len > 0) fread(buf, 1, static_cast<size_t>(len), f);
}

void KVR_FILE::Next_Chunck() {
  FILE* f = File();
  if (!f) return;
  Header h;
  if (Read_Header(f, h) != kHeaderSize) return;
  fseek(f, -kHeaderSize, SEEK_CUR);
  if (h.tag == 0) return;
  // A length below 8 would leave the walk on the same chunk or send it
  // backwards, forever: it ends the sequence instead.
  if (h.length < kHeaderSize)
    fseek(f, 0, SEEK_END);
  else
    fseek(f, h.length, SEEK_CUR);
}

int KVR_FILE::Tell() {
  FILE* f = File();
  if (!f) return -1;
  const long pos = ftell(f);
  return pos < 0 || pos > INT_MAX ? -1 : static_cast<int>(pos);
}

void KVR_FILE::Seek(int pos) {
  FILE* f = File();
  if (f && pos >= 0) fseek(f, pos, SEEK_SET);
}

int KVR_FILE::Open_Tmp() {
  Close();
  stream_ = Adopt(tmpfile());
  return stream_ ? 1 : 0;
}

// The stored length is size + 8 in 32-bit two's complement.
void KVR_FILE::Write_Chunck(int tag, int size) {
  FILE* f = File();
  if (!f) return;
  unsigned char bytes[kHeaderSize];
  Put_Le32(bytes, static_cast<uint32_t>(tag));
  Put_Le32(bytes + 4, static_cast<uint32_t>(size) + kHeaderSize);
  fwrite(bytes, 1, kHeaderSize, f);
}

void KVR_FILE::Write(void* data, int len) { Write(static_cast<const void*>(data), len); }

void KVR_FILE::Write(const void* data, int len) {
  FILE* f = File();
  if (f && data && len > 0) fwrite(data, 1, static_cast<size_t>(len), f);
}
