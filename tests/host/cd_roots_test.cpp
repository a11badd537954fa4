#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "host/cd_roots.h"

namespace {

using Roots = std::vector<std::string>;

// Every iso9660 and udf mount counts, in mount-table order; other file
// systems and malformed lines do not.
TEST(CdRoots, DiscFileSystemsInMountOrder) {
  const char* table =
      "sysfs /sys sysfs rw,nosuid 0 0\n"
      "/dev/sr0 /media/cdrom0 iso9660 ro,nosuid,nodev 0 0\n"
      "/dev/sda1 / ext4 rw,relatime 0 0\n"
      "/dev/sr1 /media/dvd udf ro 0 0\n"
      "/dev/loop0 /mnt/image iso9660 ro 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "/dev/sdb1 /media/stick vfat rw 0 0\n"
      "/dev/sr2 /media/iso ISO9660 ro 0 0\n"  // types are lower case
      "/dev/sr3 /media/udf2 udf2 ro 0 0\n"
      "/dev/sr4 /media/short\n"  // too few fields
      "\n"
      "   \n";
  EXPECT_EQ(Cd_Roots_From(table, nullptr), (Roots{"/media/cdrom0/", "/media/dvd/", "/mnt/image/"}));
  EXPECT_EQ(Cd_Roots_From("", nullptr), Roots{});
  EXPECT_EQ(Cd_Roots_From("/dev/sr0 /cd iso9660 ro 0 0", nullptr), Roots{"/cd/"}) << "no final newline";
  EXPECT_EQ(Cd_Roots_From("/dev/sr0\t/cd\tiso9660\tro 0 0\n", nullptr), Roots{"/cd/"});
}

// Mount points escape blanks, TABs, newlines and backslashes as \ooo.
TEST(CdRoots, EscapedMountPoints) {
  EXPECT_EQ(Cd_Roots_From("/dev/sr0 /media/user/My\\040Game\\040Disc iso9660 ro 0 0\n", nullptr),
            Roots{"/media/user/My Game Disc/"});
  EXPECT_EQ(Cd_Roots_From("/dev/sr0 /media/a\\011b\\012c\\134d iso9660 ro 0 0\n", nullptr),
            Roots{"/media/a\tb\nc\\d/"});
  // An escape at the very end, and text that only looks like one.
  EXPECT_EQ(Cd_Roots_From("/dev/sr0 /media/end\\040 iso9660 ro 0 0\n", nullptr), Roots{"/media/end /"});
  EXPECT_EQ(Cd_Roots_From("/dev/sr0 /media/x\\09y iso9660 ro 0 0\n", nullptr), Roots{"/media/x\\09y/"});
  EXPECT_EQ(Cd_Roots_From("/dev/sr0 /media/x\\04 iso9660 ro 0 0\n", nullptr), Roots{"/media/x\\04/"});
  EXPECT_EQ(Cd_Roots_From("/dev/sr0 /media/x\\ iso9660 ro 0 0\n", nullptr), Roots{"/media/x\\/"});
}

// $KVR_CDROM names copied discs after the mounts, ':'-separated, each root
// ending with '/', empty entries skipped, and no root listed twice.
TEST(CdRoots, EnvironmentFoldersAndDuplicates) {
  const char* table =
      "/dev/sr0 /media/cd iso9660 ro 0 0\n"
      "/dev/sr0 /media/cd iso9660 ro 0 0\n";
  EXPECT_EQ(Cd_Roots_From(table, nullptr), Roots{"/media/cd/"});
  EXPECT_EQ(Cd_Roots_From(table, ""), Roots{"/media/cd/"});
  EXPECT_EQ(Cd_Roots_From(table, "/home/u/disc1"), (Roots{"/media/cd/", "/home/u/disc1/"}));
  EXPECT_EQ(Cd_Roots_From(table, "/home/u/disc1/:/home/u/disc2"),
            (Roots{"/media/cd/", "/home/u/disc1/", "/home/u/disc2/"}));
  EXPECT_EQ(Cd_Roots_From(table, ":/a::/b:"), (Roots{"/media/cd/", "/a/", "/b/"}));
  EXPECT_EQ(Cd_Roots_From(table, "/media/cd:/media/cd/:/x:/x/"), (Roots{"/media/cd/", "/x/"}));
  EXPECT_EQ(Cd_Roots_From(table, "/my disc"), (Roots{"/media/cd/", "/my disc/"})) << "no escapes here";
  EXPECT_EQ(Cd_Roots_From("", "relative/copy"), Roots{"relative/copy/"});
  EXPECT_EQ(Cd_Roots_From("", ":::"), Roots{});
}

// The live roots include $KVR_CDROM's folders, each once and ending in '/'.
TEST(CdRoots, LiveRootsReadTheEnvironment) {
  std::optional<std::string> saved;
  if (const char* value = std::getenv("KVR_CDROM")) saved = value;
  ::setenv("KVR_CDROM", "/kvr/test/disc_a:/kvr/test/disc_b/:/kvr/test/disc_a", 1);
  Roots roots = Cd_Roots();
  if (saved) {
    ::setenv("KVR_CDROM", saved->c_str(), 1);
  } else {
    ::unsetenv("KVR_CDROM");
  }
  ASSERT_GE(roots.size(), 2u);
  EXPECT_EQ(roots[roots.size() - 2], "/kvr/test/disc_a/");
  EXPECT_EQ(roots.back(), "/kvr/test/disc_b/");
  for (size_t i = 0; i < roots.size(); ++i) {
    EXPECT_EQ(roots[i].back(), '/') << roots[i];
    for (size_t k = 0; k < i; ++k) {
      EXPECT_NE(roots[i], roots[k]);
    }
  }
}

}  // namespace
