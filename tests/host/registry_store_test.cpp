// The registry store: keys and values, case, sharing, atomic replace,
// corrupt files and where the file lives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "host/registry_format.h"
#include "host/registry_store.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;

class Registry : public ::testing::Test {
 protected:
  TempFolder folder;
  RegistryStore store{folder.Path("config/kvr/registry")};
};

TEST_F(Registry, WrittenValuesReadBackIgnoringTheCaseOfNames) {
  std::optional<RegistryKey> key = store.Create_Key(kMachine, "SOFTWARE\\Tessaly Software\\Runwright\\Test");
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->path, "SOFTWARE\\Tessaly Software\\Runwright\\Test");
  ASSERT_TRUE(store.Write_Value(*key, "Install Game", "1"));

  std::optional<RegistryKey> again = store.Open_Key(kMachine, "software\\TESSALY SOFTWARE\\runwright\\test");
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->path, "SOFTWARE\\Tessaly Software\\Runwright\\Test");  // the spelling of its creation
  EXPECT_EQ(store.Read_Value(*again, "INSTALL GAME"), "1");
  EXPECT_EQ(store.Read_Value(*again, "install game"), "1");
  EXPECT_FALSE(store.Read_Value(*again, "Install").has_value());

  // Writing under another spelling replaces the value; the name keeps its case.
  ASSERT_TRUE(store.Write_Value(*again, "INSTALL game", "2"));
  EXPECT_EQ(store.Read_Value(*key, "Install Game"), "2");
  EXPECT_NE(folder.Read("config/kvr/registry")->find("Install Game=2"), std::string::npos);
}

TEST_F(Registry, KeysExistOnlyOnceCreatedAndCreationMakesTheirParents) {
  EXPECT_FALSE(store.Open_Key(kMachine, "SOFTWARE\\X").has_value());
  EXPECT_FALSE(store.Read_Value(RegistryKey{kMachine, "SOFTWARE\\X"}, "v").has_value());
  ASSERT_TRUE(store.Create_Key(kMachine, "SOFTWARE\\X\\Y\\Z").has_value());
  EXPECT_TRUE(store.Open_Key(kMachine, "SOFTWARE").has_value());
  EXPECT_TRUE(store.Open_Key(kMachine, "SOFTWARE\\X\\Y").has_value());
  EXPECT_TRUE(store.Open_Key(kMachine, "software\\x\\y\\z").has_value());
  // Roots are separate trees.
  EXPECT_FALSE(store.Open_Key(RegistryRoot::kCurrentUser, "SOFTWARE").has_value());
  // Empty names in a path are skipped: leading, doubled, trailing '\'.
  EXPECT_TRUE(store.Open_Key(kMachine, "\\SOFTWARE\\\\X\\").has_value());
  // Creating a key that exists opens it.
  EXPECT_EQ(store.Create_Key(kMachine, "SOFTWARE\\x")->path, "SOFTWARE\\X");
}

TEST_F(Registry, RootsHoldValuesAndTheEmptyNameIsTheDefaultValue) {
  std::optional<RegistryKey> root = store.Open_Key(kMachine, "");
  ASSERT_TRUE(root.has_value());
  ASSERT_TRUE(store.Write_Value(*root, "ZQMOVIE_AUDIO_TRACK", "2"));
  EXPECT_EQ(store.Read_Value(*root, "zqmovie_audio_track"), "2");
  RegistryKey key = *store.Create_Key(RegistryRoot::kCurrentConfig, "System\\Printers");
  ASSERT_TRUE(store.Write_Value(key, "", "default data"));
  EXPECT_EQ(store.Read_Value(key, ""), "default data");
  EXPECT_FALSE(store.Read_Value(*root, "").has_value());
}

TEST_F(Registry, AnyBytesSurviveInNamesAndData) {
  RegistryKey key = *store.Create_Key(kMachine, "Odd]Key %41=[x");
  const std::string names[] = {
      "=", "[start", "a=b", "100%", "tab\there", "new\nline", "\xC3\xA9t\xC3\xA9", " space "};
  const std::string data[] = {
      "", "=x=", "[section]", "%25", "line1\nline2\r\n", std::string("nul\0byte", 8), "\x7F\x01", "  "};
  for (size_t i = 0; i < std::size(names); ++i) {
    ASSERT_TRUE(store.Write_Value(key, names[i], data[i])) << i;
  }
  RegistryStore fresh(store.File());
  std::optional<RegistryKey> opened = fresh.Open_Key(kMachine, "odd]key %41=[X");
  ASSERT_TRUE(opened.has_value());
  for (size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(fresh.Read_Value(*opened, names[i]), data[i]) << i;
  }
  EXPECT_FALSE(fresh.Corrupt());
}

TEST_F(Registry, TwoStoresOnOneFileSeeEachOthersWrites) {
  RegistryStore launcher(store.File());
  RegistryKey key = *store.Create_Key(kMachine, "SOFTWARE\\Game");
  ASSERT_TRUE(store.Write_Value(key, "Path", "/games/one"));
  EXPECT_EQ(launcher.Read_Value(key, "Path"), "/games/one");
  ASSERT_TRUE(launcher.Write_Value(key, "Other", "x"));
  EXPECT_EQ(store.Read_Value(key, "Other"), "x");
  EXPECT_EQ(store.Read_Value(key, "Path"), "/games/one");
}

TEST_F(Registry, WritesReplaceTheFileAndLeaveNothingBehind) {
  RegistryKey key = *store.Create_Key(kMachine, "SOFTWARE\\Game");
  ASSERT_TRUE(store.Write_Value(key, "v", "old"));
  // A second name for the old file keeps the old bytes: the write made a new
  // file and renamed it over, it did not rewrite the old one in place.
  std::string old_link = folder.Path("old_registry");
  ASSERT_EQ(::link(store.File().c_str(), old_link.c_str()), 0);
  std::string before = *folder.Read("old_registry");
  ASSERT_TRUE(store.Write_Value(key, "v", "new"));
  EXPECT_EQ(*folder.Read("old_registry"), before);
  EXPECT_EQ(store.Read_Value(key, "v"), "new");
  EXPECT_EQ(folder.Entries("config/kvr"), (std::vector<std::string>{"registry", "registry.lock"}));
}

TEST_F(Registry, CorruptFileReadsAsEmptyAndIsNeverWrittenOver) {
  const std::string corrupt = std::string(kRegistryHeader) + "\n[HKEY_NOWHERE\\X]\nv=1\n";
  folder.Write("config/kvr/registry", corrupt);
  EXPECT_FALSE(store.Open_Key(kMachine, "X").has_value());
  EXPECT_TRUE(store.Corrupt());
  RegistryKey root = *store.Open_Key(kMachine, "");
  EXPECT_FALSE(store.Read_Value(root, "v").has_value());
  EXPECT_FALSE(store.Write_Value(root, "v", "2"));
  EXPECT_FALSE(store.Create_Key(kMachine, "Y").has_value());
  EXPECT_EQ(*folder.Read("config/kvr/registry"), corrupt);

  // Mended by hand, it is used again.
  folder.Write("config/kvr/registry", std::string(kRegistryHeader) + "\n[HKEY_LOCAL_MACHINE\\X]\nv=1\n");
  EXPECT_EQ(store.Read_Value(RegistryKey{kMachine, "X"}, "v"), "1");
  EXPECT_FALSE(store.Corrupt());
  EXPECT_TRUE(store.Write_Value(root, "v", "2"));
}

TEST_F(Registry, UnreadableFileIsNotWrittenOver) {
  std::filesystem::create_directory(folder.Path("folder_store"));
  RegistryStore on_folder(folder.Path("folder_store"));
  EXPECT_FALSE(on_folder.Write_Value(RegistryKey{kMachine, ""}, "v", "1"));
  EXPECT_TRUE(on_folder.Corrupt());
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path("folder_store")));

  RegistryStore nowhere("");
  EXPECT_FALSE(nowhere.Create_Key(kMachine, "X").has_value());
  EXPECT_FALSE(nowhere.Write_Value(RegistryKey{kMachine, ""}, "v", "1"));
  EXPECT_FALSE(nowhere.Read_Value(RegistryKey{kMachine, ""}, "v").has_value());
}

TEST(RegistryPath, ChosenFromKvrRegistryThenXdgConfigThenHome) {
  EXPECT_EQ(Registry_Path_From("/srv/reg.txt", "/home/u/.cfg", "/home/u"), "/srv/reg.txt");
  EXPECT_EQ(Registry_Path_From("", "/home/u/.cfg", "/home/u"), "/home/u/.cfg/kvr/registry");
  EXPECT_EQ(Registry_Path_From(nullptr, "/home/u/.cfg", "/home/u"), "/home/u/.cfg/kvr/registry");
  EXPECT_EQ(Registry_Path_From(nullptr, "relative", "/home/u"), "/home/u/.config/kvr/registry");
  EXPECT_EQ(Registry_Path_From(nullptr, nullptr, "/home/u"), "/home/u/.config/kvr/registry");
  EXPECT_EQ(Registry_Path_From(nullptr, nullptr, nullptr), "");
  EXPECT_EQ(Registry_Path_From(nullptr, "", ""), "");
}

TEST(RegistryPath, KvrRegistryPointsTheDefaultStoreElsewhere) {
  TempFolder folder;
  ::setenv("KVR_REGISTRY", folder.Path("elsewhere.reg").c_str(), 1);
  EXPECT_EQ(Registry_Default_Path(), folder.Path("elsewhere.reg"));
  RegistryStore store(Registry_Default_Path());
  ASSERT_TRUE(store.Write_Value(RegistryKey{kMachine, ""}, "a", "b"));
  EXPECT_TRUE(folder.Read("elsewhere.reg").has_value());
  ::unsetenv("KVR_REGISTRY");
}

TEST(RegistryRoots, NamesMapToRootsIgnoringCase) {
  EXPECT_EQ(Registry_Root_From_Name("hkey_local_machine"), RegistryRoot::kLocalMachine);
  EXPECT_EQ(Registry_Root_From_Name("HKEY_Current_User"), RegistryRoot::kCurrentUser);
  EXPECT_EQ(Registry_Root_From_Name("HKEY_CLASSES_ROOT"), RegistryRoot::kClassesRoot);
  EXPECT_EQ(Registry_Root_From_Name("hkey_users"), RegistryRoot::kUsers);
  EXPECT_EQ(Registry_Root_From_Name("hkey_current_config"), RegistryRoot::kCurrentConfig);
  EXPECT_EQ(Registry_Root_From_Name("hkey_dyn_data"), RegistryRoot::kDynData);
  EXPECT_FALSE(Registry_Root_From_Name("HKLM").has_value());
  EXPECT_FALSE(Registry_Root_From_Name("hkey_local_machine ").has_value());
  EXPECT_FALSE(Registry_Root_From_Name("").has_value());
  EXPECT_EQ(Registry_Root_Name(RegistryRoot::kDynData), "HKEY_DYN_DATA");
}

}  // namespace
