#include "platform/files/file_layer.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

#include "host/path_resolve.h"
#include "packing/byte_order.h"
#include "platform/files/text.h"
#include "platform/wendax.h"

static_assert(kNameCompareMax == kTextCompareMax, "file names and script texts compare alike");

namespace {

// fopen that refuses folders: Linux opens a folder for reading, and every
// later read of it fails.
std::FILE* Open_Regular(const std::string& path, const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  struct stat st;
  if (file && (::fstat(::fileno(file), &st) != 0 || S_ISDIR(st.st_mode))) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

struct MemoryFile {
  std::string name;
  std::vector<uint8_t> data;
};

struct Handle {
  int kind = 0;  // 0 free, 1 disk file, 3 memory file
  bool failed = false;
  std::FILE* file = nullptr;
  std::shared_ptr<const MemoryFile> memory;
  int64_t position = 0;
};

}  // namespace

struct FileLayer::State {
  State() = default;
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  ~State() {
    for (Handle& h : handles_)
      if (h.file) std::fclose(h.file);
  }

  std::shared_ptr<const MemoryFile> Find_Memory(std::string_view name) const;
  bool Valid(int handle) const;
  int Open(std::string_view name, int mode);
  int Read(int handle, void* buffer, int length);
  void Seek(int handle, int64_t offset, int origin);
  int32_t Tell(int handle);
  int Close(int handle);
  int32_t Size(std::string_view name);

  mutable std::mutex lock_;
  std::vector<Handle> handles_;  // created on first open
  std::vector<std::shared_ptr<const MemoryFile>> memory_files_;
  int last_result_ = 0;
};

FileLayer::FileLayer() : state_(std::make_unique<State>()) {}

FileLayer::~FileLayer() = default;

std::shared_ptr<const MemoryFile> FileLayer::State::Find_Memory(std::string_view name) const {
  for (const auto& file : memory_files_)
    if (Name_Equal(file->name, name)) return file;
  return nullptr;
}

bool FileLayer::State::Valid(int handle) const {
  return handle >= 0 && size_t(handle) < handles_.size() && handles_[size_t(handle)].kind != 0;
}

int FileLayer::State::Open(std::string_view name, int mode) {
  if (handles_.empty()) handles_.resize(kFileHandleCount);
  if (mode != kFileModeRead && mode != kFileModeWrite) return -1;
  auto slot = std::find_if(handles_.begin(), handles_.end(), [](const Handle& h) { return h.kind == 0; });
  if (slot == handles_.end()) return -1;

  Handle opened;
  if (mode == kFileModeRead) {
    if (auto memory = Find_Memory(name)) {
      opened.kind = 3;
      opened.memory = std::move(memory);
    } else if (std::FILE* file = Open_Regular(Path_Resolve(name), "rb")) {
      opened.kind = 1;
      opened.file = file;
    }
  } else {
    std::string path = Path_Resolve(name);
    std::FILE* file = Open_Regular(path, "r+b");
    if (!file) file = Open_Regular(path, "w+b");
    if (file) {
      opened.kind = 1;
      opened.file = file;
    }
  }
  if (opened.kind == 0) return -1;
  *slot = std::move(opened);
  return int(slot - handles_.begin());
}

int FileLayer::State::Read(int handle, void* buffer, int length) {
  if (!Valid(handle) || handles_[size_t(handle)].failed || length < 0 || (!buffer && length)) return -1;
  Handle& h = handles_[size_t(handle)];
  if (h.kind == 3) {
    int64_t left = int64_t(h.memory->data.size()) - h.position;
    int64_t count = std::clamp<int64_t>(left, 0, length);
    if (count) std::memcpy(buffer, h.memory->data.data() + h.position, size_t(count));
    h.position += count;
    return int(count);
  }
  if (length == 0) return 0;  // an empty request is not a failed read
  size_t count = std::fread(buffer, 1, size_t(length), h.file);
  if (count == 0) h.failed = true;
  return int(count);
}

void FileLayer::State::Seek(int handle, int64_t offset, int origin) {
  Handle& h = handles_[size_t(handle)];
  if (h.kind == 3) {
    int64_t size = int64_t(h.memory->data.size());
    int64_t base = origin == kSeekCurrent ? h.position : origin == kSeekEnd ? size : 0;
    h.position = std::clamp<int64_t>(base + offset, 0, size + 1);
    return;
  }
  int whence = origin == kSeekCurrent ? SEEK_CUR : origin == kSeekEnd ? SEEK_END : SEEK_SET;
  if (std::fseek(h.file, long(offset), whence) != 0) h.failed = true;
}

int32_t FileLayer::State::Tell(int handle) {
  Handle& h = handles_[size_t(handle)];
  if (h.kind == 3) return int32_t(h.position);
  long position = std::ftell(h.file);
  if (position < 0 || position > INT32_MAX) {
    h.failed = true;
    return 0;
  }
  return int32_t(position);
}

int FileLayer::State::Close(int handle) {
  Handle& h = handles_[size_t(handle)];
  int result = 0;
  if (h.kind == 1) result = std::fclose(h.file);
  if (h.failed) result = -1;
  h = Handle{};
  return result;
}

int32_t FileLayer::State::Size(std::string_view name) {
  last_result_ = 0;
  if (auto memory = Find_Memory(name)) return int32_t(std::min<size_t>(memory->data.size(), INT32_MAX));
  int handle = Open(name, kFileModeRead);
  if (handle < 0) {
    last_result_ = -1;
    return 0;
  }
  Seek(handle, 0, kSeekEnd);
  int32_t size = handles_[size_t(handle)].failed ? 0 : Tell(handle);
  if (handles_[size_t(handle)].failed) size = 0;
  Close(handle);
  return size;
}

// The public functions: take the lock, call the member, set the last result.

int File_Open(Wendax& wx, std::string_view name, int mode) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  int handle = f.Open(name, mode);
  f.last_result_ = handle < 0 ? -1 : 0;
  return handle;
}

int File_Read(Wendax& wx, int handle, void* buffer, int length) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  int count = f.Read(handle, buffer, length);
  bool failed = count < 0 || f.handles_[size_t(handle)].failed;
  f.last_result_ = failed ? -1 : 0;
  return std::max(count, 0);
}

int File_Write(Wendax& wx, int handle, const void* buffer, int length) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  if (!f.Valid(handle) || f.handles_[size_t(handle)].kind != 1 || f.handles_[size_t(handle)].failed ||
      length < 0 || (!buffer && length)) {
    f.last_result_ = -1;
    return 0;
  }
  Handle& h = f.handles_[size_t(handle)];
  size_t count = std::fwrite(buffer, 1, size_t(length), h.file);
  if (count != size_t(length)) h.failed = true;
  f.last_result_ = h.failed ? -1 : 0;
  return int(count);
}

void File_Seek(Wendax& wx, int handle, int32_t offset, int origin) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  if (!f.Valid(handle) || f.handles_[size_t(handle)].failed) {
    f.last_result_ = -1;
    return;
  }
  f.Seek(handle, offset, origin);
  f.last_result_ = f.handles_[size_t(handle)].failed ? -1 : 0;
}

int32_t File_Tell(Wendax& wx, int handle) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  if (!f.Valid(handle) || f.handles_[size_t(handle)].failed) {
    f.last_result_ = -1;
    return 0;
  }
  int32_t position = f.Tell(handle);
  f.last_result_ = f.handles_[size_t(handle)].failed ? -1 : 0;
  return position;
}

int File_Close(Wendax& wx, int handle) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  if (!f.Valid(handle)) {
    f.last_result_ = -1;
    return -1;
  }
  int result = f.Close(handle);
  f.last_result_ = result == 0 ? 0 : -1;
  return result;
}

int32_t File_Size(Wendax& wx, std::string_view name) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  return f.Size(name);
}

int File_Remove(Wendax& wx, std::string_view name) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  // unlink, not remove: remove also deletes an empty folder of that name.
  int result = ::unlink(Path_Resolve(name).c_str()) == 0 ? 0 : -1;
  f.last_result_ = result;
  return result;
}

int File_Last_Result(const Wendax& wx) {
  std::lock_guard guard(wx.files.Get().lock_);
  return wx.files.Get().last_result_;
}

void Memory_File_Add(Wendax& wx, std::string_view name, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  Memory_File_Add(wx, name, std::vector<uint8_t>(bytes, bytes + (bytes ? size : 0)));
}

void Memory_File_Add(Wendax& wx, std::string_view name, std::vector<uint8_t>&& data) {
  auto file = std::make_shared<MemoryFile>();
  file->name.assign(name);
  file->data = std::move(data);
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  f.memory_files_.push_back(std::move(file));
  f.last_result_ = 0;
}

void Memory_File_Load(Wendax& wx, std::string_view name) {
  FileLayer::State& f = wx.files.Get();
  std::vector<uint8_t> data;
  {
    std::lock_guard guard(f.lock_);
    int32_t size = f.Size(name);
    int handle = size > 0 ? f.Open(name, kFileModeRead) : -1;
    if (handle < 0) {
      f.last_result_ = -1;
      return;
    }
    data.resize(size_t(size));
    int count = f.Read(handle, data.data(), size);
    f.Close(handle);
    data.resize(size_t(std::max(count, 0)));
  }
  Memory_File_Add(wx, name, std::move(data));
}

void Memory_File_Drop(Wendax& wx, std::string_view name) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  std::erase_if(f.memory_files_, [&](const auto& file) { return Name_Equal(file->name, name); });
  f.last_result_ = 0;
}

int File_Find_Chunk(Wendax& wx, int handle, int32_t file_size, std::string_view id, int32_t* start,
                    int32_t* end) {
  FileLayer::State& f = wx.files.Get();
  std::lock_guard guard(f.lock_);
  int64_t limit = std::min<int64_t>(*end, file_size);
  int64_t position = *start;
  while (f.Valid(handle) && !f.handles_[size_t(handle)].failed && position >= 0 && position + 8 <= limit) {
    uint8_t header[8];
    f.Seek(handle, position, kSeekStart);
    if (f.handles_[size_t(handle)].failed || f.Read(handle, header, 8) != 8) break;
    uint32_t size = Le_U32(header + 4);
    if (size < 8) break;  // 0, or too small to hold its own header: malformed
    char tag[5] = {char(header[0]), char(header[1]), char(header[2]), char(header[3]), 0};
    if (Name_Equal(std::string_view(tag, std::strlen(tag)), id)) {
      *start = int32_t(position);
      *end = int32_t(std::min<int64_t>(position + size, INT32_MAX));
      f.last_result_ = 0;
      return 0;
    }
    position += size;
  }
  *end = *start;
  f.last_result_ = -1;
  return -1;
}
