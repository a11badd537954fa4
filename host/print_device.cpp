#include "host/print_device.h"

#include <cups/cups.h>
#include <stdlib.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "host/file_replace.h"
#include "host/page_print_device.h"
#include "host/temp_folder.h"

namespace {

constexpr std::string_view kFilePrefix = "file:";

using Options = std::vector<std::pair<std::string, std::string>>;

// The destination's options (an instance's among them) go with the job.
bool Cups_Submit(const std::string& dest, const Options& options, std::span<const uint8_t> pdf,
                 const std::string& title) {
  std::string path = Temp_Folder() + "kvr-print-XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) return false;
  const bool written = Write_All(fd, pdf);
  const bool closed = ::close(fd) == 0;
  int job = 0;
  if (written && closed) {
    cups_option_t* list = nullptr;
    int count = 0;
    for (const auto& [name, value] : options)
      count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
    job = cupsPrintFile(dest.c_str(), path.c_str(), title.c_str(), count, list);
    cupsFreeOptions(count, list);
  }
  ::unlink(path.c_str());
  return job > 0;
}

std::unique_ptr<PrintDevice> Cups_Device(const std::string& printer, bool landscape) {
  std::string name = printer, instance;
  if (size_t slash = name.find('/'); slash != std::string::npos) {
    instance = name.substr(slash + 1);
    name.resize(slash);
  }
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests(&dests);
  cups_dest_t* dest = cupsGetDest(name.empty() ? nullptr : name.c_str(),
                                  instance.empty() ? nullptr : instance.c_str(), count, dests);
  if (!dest) {
    cupsFreeDests(count, dests);
    return nullptr;
  }
  PrintMedium medium;
  if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
    cups_size_t size;
    if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size))
      medium = {size.width, size.length, size.left, size.right, size.top, size.bottom};
    cupsFreeDestInfo(info);
  }
  const std::string dest_name = dest->name;
  Options options;
  for (int i = 0; i < dest->num_options; ++i)
    options.emplace_back(dest->options[i].name, dest->options[i].value);
  cupsFreeDests(count, dests);
  return std::make_unique<PagePrintDevice>(
      medium, landscape, [dest_name, options](std::span<const uint8_t> pdf, const std::string& title) {
        return Cups_Submit(dest_name, options, pdf, title);
      });
}

}  // namespace

bool Dib565::Valid() const {
  if (width <= 0 || height <= 0 || row_bytes / 2 < size_t(width)) return false;
  return bits.size() / row_bytes >= size_t(height);
}

std::optional<PrintRequest> Print_Request_From(const char* kvr_printer, std::string printer, bool landscape) {
  PrintRequest request{std::move(printer), "", landscape};
  const std::string_view setting = kvr_printer ? kvr_printer : "";
  if (setting.starts_with(kFilePrefix)) {
    request.file = std::string(setting.substr(kFilePrefix.size()));
    if (request.file.empty()) return std::nullopt;
    request.printer.clear();
  } else if (!setting.empty()) {
    request.printer = std::string(setting);
  }
  return request;
}

std::unique_ptr<PrintDevice> Print_Device_Open(const PrintRequest& request) {
  if (request.file.empty()) return Cups_Device(request.printer, request.landscape);
  const std::string path = request.file;
  return std::make_unique<PagePrintDevice>(PrintMedium{}, request.landscape,
                                           [path](std::span<const uint8_t> pdf, const std::string&) {
                                             std::string error;
                                             return File_Replace(path, pdf, kReplaceModeShared, error);
                                           });
}
