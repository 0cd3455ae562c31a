// The settings store's registry semantics, run against the file store on every platform and
// against the real registry on Windows (SettingsStoreFixture_win32.cpp).
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/SettingsStore.h"
#include "tests/platform/SettingsStoreFixture.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

class SettingsStoreSemantics : public ::testing::TestWithParam<StoreKind> {
protected:
  void SetUp() override { store_ = MakeStore(GetParam(), dir_); }
  void TearDown() override { DropStore(GetParam()); }
  std::string Key(const std::string& rel) const { return StoreRoot(GetParam()) + rel; }

  test::TempDir dir_;
  std::unique_ptr<SettingsStore> store_;
};

TEST_P(SettingsStoreSemantics, MissingKeyIsNeitherOpenedNorCreated) {
  std::string bytes = "untouched";
  EXPECT_FALSE(store_->KeyExists(Hive::Machine, Key("Software\\Vintara")));
  EXPECT_FALSE(store_->SetValue(Hive::Machine, Key("Software\\Vintara"), "SAVE", 0, "1"));
  EXPECT_FALSE(store_->KeyExists(Hive::Machine, Key("Software\\Vintara")));
  EXPECT_FALSE(store_->QueryValue(Hive::Machine, Key("Software\\Vintara"), "SAVE", bytes));
  EXPECT_EQ(bytes, "untouched");
}

TEST_P(SettingsStoreSemantics, CreateKeyMakesParentsAndPathsIgnoreCase) {
  ASSERT_TRUE(store_->CreateKey(Hive::User, Key("Software\\nester\\NES\\Input")));
  EXPECT_TRUE(store_->KeyExists(Hive::User, Key("Software\\nester\\NES\\Input")));
  EXPECT_TRUE(store_->KeyExists(Hive::User, Key("Software\\nester")));
  EXPECT_TRUE(store_->KeyExists(Hive::User, Key("SOFTWARE\\NESTER\\nes\\input")));
  EXPECT_FALSE(store_->KeyExists(Hive::User, Key("Software\\nester\\NES\\Inpu")));
  EXPECT_FALSE(store_->KeyExists(Hive::Machine, Key("Software\\nester")));
  // Creating an existing key succeeds and keeps its values.
  ASSERT_TRUE(store_->SetValue(Hive::User, Key("Software\\nester"), "v", kTypeBinary, "x"));
  EXPECT_TRUE(store_->CreateKey(Hive::User, Key("software\\Nester")));
  std::string bytes;
  EXPECT_TRUE(store_->QueryValue(Hive::User, Key("Software\\nester"), "v", bytes));
  EXPECT_EQ(bytes, "x");
  // A parent made implicitly accepts values of its own.
  EXPECT_TRUE(store_->SetValue(Hive::User, Key("Software\\nester\\NES"), "p", kTypeNone, "q"));
  EXPECT_TRUE(store_->QueryValue(Hive::User, Key("software\\nester\\nes"), "P", bytes));
  EXPECT_EQ(bytes, "q");
}

TEST_P(SettingsStoreSemantics, ValuesKeepEveryByteAndTheirType) {
  const std::string key = Key("Software\\Vintara");
  ASSERT_TRUE(store_->CreateKey(Hive::Machine, key));
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  all += "\\\"\\x41%]\r\n";
  ASSERT_TRUE(store_->SetValue(Hive::Machine, key, "Blob", kTypeBinary, all));
  ASSERT_TRUE(store_->SetValue(Hive::Machine, key, "Empty", kTypeNone, ""));
  ASSERT_TRUE(store_->SetValue(Hive::Machine, key, "", kTypeString, std::string("d\0", 2)));

  std::string bytes;
  uint32_t type = 99;
  ASSERT_TRUE(store_->QueryValue(Hive::Machine, key, "blob", bytes, &type));
  EXPECT_EQ(bytes, all);
  EXPECT_EQ(type, kTypeBinary);
  ASSERT_TRUE(store_->QueryValue(Hive::Machine, key, "Empty", bytes, &type));
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(type, kTypeNone);
  ASSERT_TRUE(store_->QueryValue(Hive::Machine, key, "", bytes, &type));
  EXPECT_EQ(bytes, std::string("d\0", 2));
  EXPECT_EQ(type, kTypeString);
  EXPECT_FALSE(store_->QueryValue(Hive::Machine, key, "Blob2", bytes));

  // Overwriting replaces bytes and type; the name keeps matching in any case.
  ASSERT_TRUE(store_->SetValue(Hive::Machine, key, "BLOB", kTypeDword, std::string("\x05\0\0\0", 4)));
  ASSERT_TRUE(store_->QueryValue(Hive::Machine, key, "Blob", bytes, &type));
  EXPECT_EQ(bytes, std::string("\x05\x00\x00\x00", 4));
  EXPECT_EQ(type, kTypeDword);
}

// A key goes with its values and subkeys, and nothing beside it; a second store on the same
// settings sees it gone.
TEST_P(SettingsStoreSemantics, DeleteKeyRemovesTheWholeTreeAndNothingBeside) {
  const std::string nester = Key("Software\\nester\\NES"), old = nester + "\\Input.old";
  ASSERT_TRUE(store_->CreateKey(Hive::User, old + "\\Controller1\\Up"));
  ASSERT_TRUE(store_->SetValue(Hive::User, old, "Complete", kTypeString, "1"));
  ASSERT_TRUE(store_->CreateKey(Hive::User, nester + "\\Input\\Controller1"));
  ASSERT_TRUE(store_->CreateKey(Hive::User, nester + "\\Input.older"));
  ASSERT_TRUE(store_->CreateKey(Hive::Machine, old));
  EXPECT_TRUE(store_->DeleteKey(Hive::User, Key("SOFTWARE\\nester\\nes\\input.OLD")));
  auto other = MakeStore(GetParam(), dir_);
  for (SettingsStore* s : {store_.get(), other.get()}) {
    EXPECT_FALSE(s->KeyExists(Hive::User, old + "\\Controller1"));
    EXPECT_FALSE(s->KeyExists(Hive::User, old));
    EXPECT_TRUE(s->KeyExists(Hive::User, nester + "\\Input\\Controller1"));
    EXPECT_TRUE(s->KeyExists(Hive::User, nester + "\\Input.older"));
    EXPECT_TRUE(s->KeyExists(Hive::Machine, old)) << "the other hive's key of the same name";
  }
  EXPECT_TRUE(store_->DeleteKey(Hive::User, old)) << "a key that is gone is gone";
}

TEST_P(SettingsStoreSemantics, BatchWritesEveryValueInOrderOrNothingWithoutTheKey) {
  const std::string key = Key("Software\\Vintara");
  const NamedValue batch[] = {{"SYSTEM", kTypeNone, "SNES"},
                              {"SEARCH", kTypeNone, "^[c-d]"},
                              {"COUNT", kTypeNone, std::string_view("\xC8", 1)}};
  EXPECT_FALSE(store_->SetValues(Hive::Machine, key, batch));
  EXPECT_FALSE(store_->KeyExists(Hive::Machine, key));
  ASSERT_TRUE(store_->CreateKey(Hive::Machine, key));
  ASSERT_TRUE(store_->SetValues(Hive::Machine, key, batch));
  auto other = MakeStore(GetParam(), dir_);  // a second store on the same settings sees them
  for (const NamedValue& v : batch) {
    std::string bytes;
    uint32_t type = 99;
    ASSERT_TRUE(other->QueryValue(Hive::Machine, key, std::string(v.name), bytes, &type));
    EXPECT_EQ(bytes, v.bytes);
    EXPECT_EQ(type, kTypeNone);
  }
}

// The client's fixed buffers: a value longer than the buffer is never read; one that fills it
// exactly is a text only where the format pads to the buffer.
TEST_P(SettingsStoreSemantics, FixedBufferReadsFollowTheBufferRule) {
  const std::string key = Key("Software\\Vintara");
  ASSERT_TRUE(store_->CreateKey(Hive::Machine, key));
  struct Case {
    std::string stored;
    std::optional<std::string> absentRule, textRule;
  } cases[] = {
      {"NES", "NES", "NES"},
      {std::string("GEN\0junk", 8), "GEN", "GEN"},
      {std::string(7, 'x'), std::string(7, 'x'), std::string(7, 'x')},
      {std::string(8, 'x'), std::nullopt, std::string(8, 'x')},
      {std::string(7, 'x') + '\0', std::string(7, 'x'), std::string(7, 'x')},
      {std::string(9, 'x'), std::nullopt, std::nullopt},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    // Untyped: the registry may add a terminator of its own to string types when they are read.
    ASSERT_TRUE(store_->SetValue(Hive::Machine, key, "V", kTypeNone, c.stored));
    EXPECT_EQ(ReadFixedText(*store_, Hive::Machine, key, "V", 8, FullBuffer::Absent), c.absentRule)
        << c.stored.size() << " bytes";
    EXPECT_EQ(ReadFixedText(*store_, Hive::Machine, key, "V", 8, FullBuffer::Text), c.textRule)
        << c.stored.size() << " bytes";
  }
  EXPECT_EQ(ReadFixedText(*store_, Hive::Machine, key, "Missing", 8, FullBuffer::Text), std::nullopt);
  EXPECT_EQ(ReadFixedBytes(*store_, Hive::Machine, key, "V", 8), "");
}

INSTANTIATE_TEST_SUITE_P(Stores, SettingsStoreSemantics, ::testing::ValuesIn(AllStoreKinds()),
                         [](const auto& info) { return StoreKindName(info.param); });

// The file store's own properties: the file on disk.
class FileSettingsFile : public ::testing::Test {
protected:
  test::TempDir dir_;
  std::string path_ = dir_.File("registry.txt");
};

// A file written by hand is read; lines that do not parse are skipped and the good ones kept.
TEST_F(FileSettingsFile, HandWrittenFileIsReadAndMalformedLinesAreSkipped) {
  test::WriteFileBytes(path_,
                       "garbage before any key\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Vintara]\r\n"
                       "\"NES_PATH\"=1:\"C:\\\\emu\\\\nester.exe\"\r\n"
                       "\"COUNT\"=4:\"\\x05\\x00\\x00\\x00\"\n"
                       "# a comment\n"
                       "\"B\"=1:\"unterminated\n"
                       "\"C\"=x:\"bad type\"\n"
                       "\"D\"=1:\"bad escape \\q\"\n"
                       "\"E\"=1:\"trailing\" junk\n"
                       "\"F\"=99999999999:\"huge type\"\n"
                       "\"G\"=1:\"short hex \\x4\"\n"
                       "[HKEY_NOWHERE\\X]\n"
                       "\"H\"=1:\"under a bad key\"\n"
                       "[hkey_current_user\\Software\\%5Dodd%25]\n"
                       "\"q\"=0:\"\"\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Vintara]\n"
                       "\"I\"=3:\"second block\"");
  auto store = OpenFileSettings(path_);
  std::string bytes;
  uint32_t type = 0;
  ASSERT_TRUE(store->QueryValue(Hive::Machine, "Software\\Vintara", "NES_PATH", bytes, &type));
  EXPECT_EQ(bytes, "C:\\emu\\nester.exe");
  EXPECT_EQ(type, kTypeString);
  ASSERT_TRUE(store->QueryValue(Hive::Machine, "Software\\Vintara", "COUNT", bytes, &type));
  EXPECT_EQ(bytes, std::string("\x05\0\0\0", 4));
  EXPECT_EQ(type, kTypeDword);
  EXPECT_TRUE(store->QueryValue(Hive::User, "Software\\]odd%", "q", bytes));
  EXPECT_TRUE(store->QueryValue(Hive::Machine, "Software\\Vintara", "I", bytes));
  EXPECT_EQ(bytes, "second block");
  for (const char* name : {"B", "C", "D", "E", "F", "G", "H"})
    EXPECT_FALSE(store->QueryValue(Hive::Machine, "Software\\Vintara", name, bytes)) << name;
  EXPECT_FALSE(store->KeyExists(Hive::Machine, "X"));
}

TEST_F(FileSettingsFile, RefusedWriteLeavesFileByteForByte) {
  auto store = OpenFileSettings(path_);
  ASSERT_TRUE(store->CreateKey(Hive::Machine, "Software\\Vintara"));
  const std::string before = test::ReadFileBytes(path_);
  EXPECT_FALSE(store->SetValue(Hive::Machine, "Software\\Other", "x", 0, "y"));
  EXPECT_FALSE(store->SetValue(Hive::User, "Software\\Vintara", "x", 0, "y"));
  EXPECT_EQ(test::ReadFileBytes(path_), before);
  // Only the settings file is in the folder: no temporary file is left behind.
  size_t files = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir_.path())) ++files;
  EXPECT_EQ(files, 1u);
}

TEST_F(FileSettingsFile, WriteIntoMissingFolderFailsCleanly) {
  auto store = OpenFileSettings(dir_.File("no-such-folder/registry.txt"));
  EXPECT_FALSE(store->CreateKey(Hive::Machine, "Software\\Vintara"));
  EXPECT_FALSE(store->KeyExists(Hive::Machine, "Software\\Vintara"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "no-such-folder"));
}

}  // namespace
}  // namespace vt
