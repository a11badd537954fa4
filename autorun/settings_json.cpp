#include "autorun/settings_json.h"

#include "host/text_1252.h"
#include "host/json_quote.h"

namespace {

std::string Quote(const std::string& bytes) { return Json_Quote_Utf8(Text_1252_To_Utf8(bytes)); }

// The record's keys as "key":value pairs, comma-separated.
template <class T>
std::string Fields(const T& record) {
  std::string out;
  auto add = [&](const char* key, const std::string& value) {
    if (!out.empty()) out += ',';
    out += Quote(key) + ":" + value;
  };
  FieldVisitor visit{[&](const char* k, const std::string& v) { add(k, Quote(v)); },
                     [&](const char* k, int v) { add(k, std::to_string(v)); },
                     [&](const char* k, bool v) { add(k, v ? "true" : "false"); }};
  Settings_Visit(record, visit);
  return out;
}

template <class T>
std::string Object(const T& record) {
  return "{" + Fields(record) + "}";
}

template <class T>
std::string Array(const std::vector<T>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + Object(items[i]);
  return out + "]";
}

}  // namespace

std::string Settings_Json(const CAutorunSettings& s, const std::string& launcher_dir) {
  std::string out = "{\"launcher_dir\":" + Quote(launcher_dir) + ",\"settings_file\":" + Quote(s.File);
  out += ",\"General\":" + Object(s) + ",\"Icon\":" + Object(s.Icon) + ",\"Html\":" + Object(s.Html);
  out += ",\"Splash\":" + Object(s.Splash) + ",\"License\":" + Object(s.License);
  out += ",\"Install\":" + Array(s.Install.Items) + ",\"Launch\":" + Array(s.Launch.Items);
  out += ",\"Driver\":[";
  for (size_t i = 0; i < s.Driver.Dirs.size(); ++i) out += (i ? "," : "") + Quote(s.Driver.Dirs[i]);
  out += "],\"Button\":{\"MaxButtonNumber\":" + std::to_string(s.Button.MaxButtonNumber) + ",\"buttons\":[";
  for (size_t i = 0; i < s.Button.Buttons.size(); ++i) {
    const CButtonData& b = s.Button.Buttons[i];
    out += std::string(i ? "," : "") + "{\"Name\":" + Quote(b.Name) +
           ",\"ButtonNumber\":" + (b.NumberSet ? std::to_string(b.ButtonNumber) : "null") +
           ",\"ButtonType\":" + std::to_string(b.ButtonType) +
           ",\"WindowClose\":" + (b.WindowClose ? "true" : "false") + ",\"Splash\":" + Object(b.Splash) +
           ",\"License\":" + Object(b.License) + ",\"Install\":" + Array(b.Install.Items) +
           ",\"Launch\":" + Array(b.Launch.Items) + "}";
  }
  return out + "]}}";
}
