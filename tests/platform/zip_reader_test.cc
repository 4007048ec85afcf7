// The project's ZIP reader (the Windows build's archive service) on archives
// built byte by byte here: entries in order with their kinds, stored and
// deflated data, the cap, and every damage it must refuse.
#include "platform/zip/zip_reader.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/platform/zip_builder.h"
#include "tests/temp_dir.h"

namespace yomite::platform::zip {
namespace {

using test::zip::archive;
using test::zip::Made;

struct Opened {
  std::FILE* f = nullptr;
  ~Opened() {
    if (f) std::fclose(f);
  }
};

void open_bytes(Opened& o, const std::string& bytes) {
  static int n = 0;
  const std::string path = test::process_temp_dir().file("archive" + std::to_string(n++) + ".zip");
  std::FILE* w = std::fopen(path.c_str(), "wb");
  ASSERT_NE(w, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), w);
  std::fclose(w);
  o.f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(o.f, nullptr);
}

int append(const void* bytes, std::size_t n, void* context) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(bytes), n);
  return 1;
}

long long unpack(std::FILE* f, const Entry& e, std::string& out, long long cap = 1 << 20) {
  out.clear();
  return copy_entry(f, e, cap, append, &out);
}

const std::string TEXT = std::string("吾輩は猫である。\r\n") + std::string(5000, 'x') + "\r\nend";

TEST(ZipReader, EntriesInTheirOrderWithTheirKinds) {
  Made dir{"book/", ""};
  Made text{"book/本.txt", TEXT, METHOD_DEFLATED, 0x0800};
  Made link{"link.txt", "/etc/passwd", METHOD_STORED, 0, SYSTEM_UNIX, 0120777u << 16};
  Made secret{"secret.txt", "xx", METHOD_STORED, 1};
  Opened o;
  open_bytes(o, archive({dir, text, link, secret}, "a comment"));
  std::vector<Entry> entries;
  ASSERT_EQ(read_directory(o.f, entries), 1);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "book/");
  EXPECT_EQ(entries[1].name, "book/本.txt");
  EXPECT_EQ(entries[1].name_is_utf8, 1);
  EXPECT_EQ(is_unix_link(entries[1]), 0);
  EXPECT_EQ(is_unix_link(entries[2]), 1);
  EXPECT_EQ(entries[3].encrypted, 1);
  std::string out;
  EXPECT_EQ(unpack(o.f, entries[1], out), static_cast<long long>(TEXT.size()));
  EXPECT_EQ(out, TEXT);
  EXPECT_EQ(unpack(o.f, entries[3], out), -1) << "no password to unpack it with";
}

TEST(ZipReader, StoredAndDeflatedDataAndTheCap) {
  Opened o;
  open_bytes(o, archive({{"a.txt", TEXT}, {"b.txt", TEXT, METHOD_DEFLATED}}));
  std::vector<Entry> entries;
  ASSERT_EQ(read_directory(o.f, entries), 1);
  std::string out;
  for (const Entry& e : entries) {
    EXPECT_EQ(unpack(o.f, e, out), static_cast<long long>(TEXT.size())) << e.name;
    EXPECT_EQ(out, TEXT) << e.name;
    EXPECT_EQ(unpack(o.f, e, out, 100), 100) << "stops at the cap: " << e.name;
    EXPECT_EQ(out, TEXT.substr(0, 100));
  }
}

TEST(ZipReader, DamagedEntriesAreRefused) {
  Made bad_crc{"crc.txt", TEXT, METHOD_DEFLATED};
  bad_crc.bad_crc = true;
  Made unknown{"bzip.txt", "BZh9", 12};
  Opened o;
  open_bytes(o, archive({bad_crc, unknown}));
  std::vector<Entry> entries;
  ASSERT_EQ(read_directory(o.f, entries), 1);
  std::string out;
  EXPECT_EQ(unpack(o.f, entries[0], out), -1);
  EXPECT_EQ(unpack(o.f, entries[1], out), -1);
  // A deflated stream cut short.
  std::string cut = archive({{"short.txt", TEXT, METHOD_DEFLATED}});
  Opened c;
  open_bytes(c, cut);
  ASSERT_EQ(read_directory(c.f, entries), 1);
  entries[0].compressed_size /= 2;
  EXPECT_EQ(unpack(c.f, entries[0], out), -1);
}

TEST(ZipReader, TheZip64EndRecordIsFollowed) {
  Opened o;
  open_bytes(o, archive({{"a.txt", "one"}, {"b.txt", "two"}}, "", true));
  std::vector<Entry> entries;
  ASSERT_EQ(read_directory(o.f, entries), 1);
  ASSERT_EQ(entries.size(), 2u);
  std::string out;
  EXPECT_EQ(unpack(o.f, entries[1], out), 3);
  EXPECT_EQ(out, "two");
}

TEST(ZipReader, WhatIsNoArchiveIsRefused) {
  std::vector<Entry> entries;
  const std::string good = archive({{"a.txt", "one"}});
  std::string wrong_count = good;
  wrong_count[wrong_count.size() - 12] = 5;  // five entries in a directory of one
  std::string beyond = good;
  beyond[beyond.size() - 5] = 0x7F;  // the directory's offset past the end
  for (const std::string& bytes : {std::string(), std::string("plain text\r\n"),
                                   good.substr(0, good.size() - 1), wrong_count, beyond}) {
    Opened o;
    open_bytes(o, bytes);
    EXPECT_EQ(read_directory(o.f, entries), 0) << bytes.size() << " bytes";
  }
}

}  // namespace
}  // namespace yomite::platform::zip
