// The registry store's text file, line by line.
#include <gtest/gtest.h>

#include "host/registry_format.h"

namespace {

std::string File(std::string_view body) { return std::string(kRegistryHeader) + "\n" + std::string(body); }

TEST(RegistryFormat, WritesKeysThenTheirValuesWithEscapes) {
  RegistryData data;
  RegistryKeyEntry& key = Registry_Add_Key(data, RegistryRoot::kLocalMachine, {"SOFTWARE", "A]B\\C"});
  Registry_Set_Value(key, "name=x", "100%\n");
  Registry_Set_Value(key, "[v", "=");
  Registry_Set_Value(Registry_Add_Key(data, RegistryRoot::kCurrentUser, {}), "", "top");
  EXPECT_EQ(Registry_Format(data), File("[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A%5DB%5CC]\n"
                                        "name%3Dx=100%25%0A\n"
                                        "%5Bv==\n"
                                        "[HKEY_CURRENT_USER]\n"
                                        "=top\n"));
  std::optional<RegistryData> back = Registry_Parse(Registry_Format(data));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(Registry_Format(*back), Registry_Format(data));
}

TEST(RegistryFormat, ReadsWhatItWritesAndMergesRepeatedKeys) {
  std::optional<RegistryData> data =
      Registry_Parse(File("[hkey_local_machine\\Soft]\na=1\n\n"
                          "[HKEY_LOCAL_MACHINE\\SOFT]\nA=2\nb=%41\n"));
  ASSERT_TRUE(data.has_value());
  const RegistryKeyEntry* key = Registry_Find_Key(*data, RegistryRoot::kLocalMachine, {"soft"});
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->names, std::vector<std::string>{"Soft"});
  ASSERT_EQ(key->values.size(), 2u);
  EXPECT_EQ(Registry_Find_Value(*key, "a")->data, "2");
  EXPECT_EQ(Registry_Find_Value(*key, "B")->data, "A");
  EXPECT_TRUE(Registry_Parse("").has_value());
  EXPECT_TRUE(Registry_Parse(std::string(kRegistryHeader)).has_value());
}

TEST(RegistryFormat, AnyOtherTextIsCorrupt) {
  const char* bodies[] = {
      "v=1\n",                        // a value before any key
      "[HKEY_LOCAL_MACHINE\\X\n",     // no closing bracket
      "[HKEY_SOMEWHERE\\X]\n",        // no such root
      "[HKEY_LOCAL_MACHINE\\\\X]\n",  // an empty key name
      "[HKEY_LOCAL_MACHINE\\X]\nno equals sign\n",
      "[HKEY_LOCAL_MACHINE\\X]\nv=%4\n",   // a cut escape
      "[HKEY_LOCAL_MACHINE\\X]\nv=%G1\n",  // not hexadecimal
      "[HKEY_LOCAL_MACHINE\\X]\nv=1\r\n",  // a raw control byte
      "[HKEY_LOCAL_MACHINE\\X]\na[b=1\n",  // a raw delimiter in a name
  };
  for (const char* body : bodies) {
    EXPECT_FALSE(Registry_Parse(File(body)).has_value()) << body;
  }
  EXPECT_FALSE(Registry_Parse("[HKEY_LOCAL_MACHINE\\X]\nv=1\n").has_value());  // no header
  EXPECT_FALSE(Registry_Parse("# kvr registry 2\n").has_value());
  EXPECT_FALSE(Registry_Parse("\x7F"
                              "ELF binary")
                   .has_value());
}

TEST(RegistryFormat, PathsSplitAtBackslashesSkippingEmptyNames) {
  EXPECT_EQ(Registry_Split_Path("A\\B\\C"), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(Registry_Split_Path("\\A\\\\B\\"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Registry_Split_Path("A/B"), (std::vector<std::string>{"A/B"}));
  EXPECT_TRUE(Registry_Split_Path("").empty());
  EXPECT_TRUE(Registry_Split_Path("\\\\").empty());
  EXPECT_EQ(Registry_Join_Path({"A", "B"}), "A\\B");
}

}  // namespace
