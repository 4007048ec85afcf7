// The project's ZIP reader (the Windows build's archive service) on archives
// built byte by byte here: entries in order with their kinds, stored and
// deflated data, the cap, and every damage it must refuse.
#include "platform/zip/zip_reader.h"

#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/temp_dir.h"

namespace yomite::platform::zip {
namespace {

struct Made {
  std::string name, data;
  int method = METHOD_STORED;
  int flags = 0;
  int system = 0;
  std::uint32_t attributes = 0;
  bool bad_crc = false;
};

void put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

std::string raw_deflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// An archive of `entries`, a comment after the end record, and optionally
// a ZIP64 end record that the ordinary one defers to.
std::string archive(const std::vector<Made>& entries, const std::string& comment = "",
                    bool zip64 = false) {
  std::string out, central;
  for (const Made& m : entries) {
    const std::string stored = m.method == METHOD_DEFLATED ? raw_deflate(m.data) : m.data;
    std::uint32_t crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size())));
    if (m.bad_crc) crc ^= 1;
    const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
    put32(out, 0x04034b50);
    put16(out, 20), put16(out, m.flags), put16(out, m.method), put32(out, 0), put32(out, crc);
    put32(out, stored.size()), put32(out, m.data.size());
    put16(out, m.name.size()), put16(out, 0);
    out += m.name + stored;
    put32(central, 0x02014b50);
    put16(central, (m.system << 8) | 20), put16(central, 20), put16(central, m.flags);
    put16(central, m.method), put32(central, 0), put32(central, crc);
    put32(central, stored.size()), put32(central, m.data.size());
    put16(central, m.name.size()), put16(central, 0), put16(central, 0), put16(central, 0);
    put16(central, 0), put32(central, m.attributes), put32(central, offset);
    central += m.name;
  }
  const std::uint32_t directory = static_cast<std::uint32_t>(out.size());
  out += central;
  if (zip64) {
    const std::uint32_t end64 = static_cast<std::uint32_t>(out.size());
    put32(out, 0x06064b50), put32(out, 44), put32(out, 0), put16(out, 45), put16(out, 45);
    put32(out, 0), put32(out, 0);
    put32(out, entries.size()), put32(out, 0), put32(out, entries.size()), put32(out, 0);
    put32(out, central.size()), put32(out, 0), put32(out, directory), put32(out, 0);
    put32(out, 0x07064b50), put32(out, 0), put32(out, end64), put32(out, 0), put32(out, 1);
  }
  put32(out, 0x06054b50), put32(out, 0);
  put16(out, zip64 ? 0xFFFF : entries.size()), put16(out, zip64 ? 0xFFFF : entries.size());
  put32(out, zip64 ? 0xFFFFFFFFu : central.size()), put32(out, zip64 ? 0xFFFFFFFFu : directory);
  put16(out, comment.size());
  return out + comment;
}

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
