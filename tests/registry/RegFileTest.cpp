// .reg files: the exact text written, round trips through both formats, the
// syntax regedit accepts, and malformed files that must change nothing.
#include <gtest/gtest.h>

#include "registry/RegistryContract.h"
#include "platform/portable/MemoryRegistry.h"
#include "registry/RegFile.h"

namespace vantrel::test {
namespace {

using namespace std::string_view_literals;

constexpr RegKey kHkcu = reg::kCurrentUser;
constexpr RegKey kHklm = reg::kLocalMachine;

// A store holding every value type, odd string data and an empty key.
void Fill(MemoryRegistry& store) {
    const std::string adv = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
    store.PutString(kHkcu, adv, "Start_ShowRun", "1");
    store.PutDword(kHkcu, adv, "Hidden", 0xFFFFFFFFu);
    store.PutString(kHkcu, adv, "", "default \"quoted\" C:\\path\\");
    store.PutString(kHkcu, adv, "na\"me\\", "");
    store.Put(kHkcu, adv, "NoNul", reg::kSz, ToBytes("abc"sv));
    store.Put(kHkcu, adv, "Embedded", reg::kSz, ToBytes("ab\0cd\0"sv));
    store.Put(kHkcu, adv, "ZeroBytes", reg::kSz, {});
    store.Put(kHkcu, adv, "TwoLines", reg::kSz, ToBytes("a\r\nb\0"sv));
    store.Put(kHkcu, adv, "Latin", reg::kSz, ToBytes("caf\xE9 \x80\x81\x9F\0"sv));
    store.Put(kHkcu, adv, "Expand", reg::kExpandSz, ToBytes("%USERPROFILE%\\\xE9\0"sv));
    store.Put(kHkcu, adv, "Multi", reg::kMultiSz, ToBytes("one\0two\0\0"sv));
    store.Put(kHkcu, adv, "OddMulti", reg::kMultiSz, ToBytes("x"sv));
    store.Put(kHkcu, adv, "Binary", reg::kBinary, Bytes(100, 0xAB));
    store.Put(kHkcu, adv, "EmptyBinary", reg::kBinary, {});
    store.Put(kHkcu, adv, "None", reg::kNone, {1, 2});
    store.Put(kHkcu, adv, "ShortDword", reg::kDword, {1, 2});
    store.Put(kHkcu, adv, "Qword", 11, {1, 2, 3, 4, 5, 6, 7, 8});
    store.PutString(kHkcu, "Control Panel\\Mouse", "DoubleClickSpeed", "500");
    store.Put(kHklm, "SOFTWARE\\Empty\\Leaf", "", reg::kNone, {});
    store.DeleteKeyTree(kHklm, "SOFTWARE\\Empty\\Leaf");  // leaves "Empty" with no values or subkeys
    store.PutString(kHklm, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName", "Microsoft Windows XP");
}

TEST(RegFileTest, WritesRegedit4Text) {
    const std::vector<RegKeyBlock> blocks = {
        {kHkcu, "Software\\Vantrel", false,
         {RegStringValue("Name", "C:\\a \"b\""), RegDwordValue("N", 12), RegRemovedValue("Old"),
          RegStringValue("", "d")}},
        {kHklm, "SOFTWARE\\Gone", true, {}},
    };
    EXPECT_EQ(WriteRegFile(blocks, RegFormat::Regedit4).bytes,
              "REGEDIT4\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Vantrel]\r\n"
              "\"Name\"=\"C:\\\\a \\\"b\\\"\"\r\n"
              "\"N\"=dword:0000000c\r\n"
              "\"Old\"=-\r\n"
              "@=\"d\"\r\n"
              "\r\n"
              "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\r\n"
              "\r\n");
}

TEST(RegFileTest, Version5IsUtf16WithWideStringData) {
    const std::vector<RegKeyBlock> blocks = {
        {kHkcu, "K", false, {{"E", false, reg::kExpandSz, Utf16LeBytes(u"%\u00E9"sv)}, RegStringValue("S", "\u20AC")}}};
    const std::string file = WriteRegFile(blocks, RegFormat::Version5).bytes;
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file.substr(0, 4), "\xFF\xFEW\0"sv);
    std::string narrow;  // every other byte, for ASCII-only checks
    for (std::size_t i = 2; i < file.size(); i += 2) narrow.push_back(file[i + 1] == 0 ? file[i] : '#');
    EXPECT_NE(narrow.find("\"E\"=hex(2):25,00,e9,00\r\n"), std::string::npos) << narrow;
    EXPECT_NE(narrow.find("\"S\"=\"#\""), std::string::npos) << narrow;  // the euro sign, U+20AC
}

TEST(RegFileTest, ExportThenImportGivesTheSameRegistryInBothFormats) {
    MemoryRegistry original;
    Fill(original);
    for (const RegFormat format : {RegFormat::Regedit4, RegFormat::Version5}) {
        const std::string file = original.ExportRegFile(format);
        MemoryRegistry copy;
        ASSERT_EQ(copy.LoadRegFile(file), "") << static_cast<int>(format);
        EXPECT_EQ(copy.ExportRegFile(format), file);
        EXPECT_TRUE(copy.HasKey(kHklm, "SOFTWARE\\Empty"));
        const std::string adv = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
        for (const char* name : {"Embedded", "ZeroBytes", "TwoLines", "Latin", "Expand", "OddMulti", "Qword", ""}) {
            EXPECT_EQ(copy.Raw(kHkcu, adv, name), original.Raw(kHkcu, adv, name)) << name;
        }
    }
}

// Whatever the registry holds, a version 5 file gives it back byte for byte:
// text no code page holds, unpaired surrogates, odd sizes, names in any script.
TEST(RegFileTest, Version5CarriesEveryStoredValueExactly) {
    MemoryRegistry original;
    const std::string key = "Software\\Vantrel \u00E9";
    const struct {
        const char* name;
        std::uint32_t type;
        Bytes data;
    } values[] = {
        {"Path", reg::kSz, Utf16LeBytes(u"C:\\\u30BD\u8868\\\u0416\U0001F600\0"sv)},
        {"Lone", reg::kSz, Utf16LeBytes(u"a\xDC00\xD800\0"sv)},
        {"Lines", reg::kSz, Utf16LeBytes(u"a\r\nb\0"sv)},
        {"Odd", reg::kSz, {0x41, 0x00, 0x5C}},
        {"Bare", reg::kExpandSz, Utf16LeBytes(u"%\u00E9%"sv)},
        {"Multi", reg::kMultiSz, Utf16LeBytes(u"\u30BD\0\\\0\0"sv)},
        {"\xE2\x82\xAC \"q\" \\", reg::kDword, Dword(7)},
    };
    for (const auto& v : values) original.PutStored(kHkcu, key, v.name, v.type, v.data);
    const RegWriteResult file = WriteRegFile(original.ExportBlocks(), RegFormat::Version5);
    ASSERT_TRUE(file.ok()) << file.error;
    MemoryRegistry copy;
    ASSERT_EQ(copy.LoadRegFile(file.bytes), "");
    for (const auto& v : values) EXPECT_EQ(copy.RawStored(kHkcu, key, v.name), original.RawStored(kHkcu, key, v.name)) << v.name;
}

// The writer never writes a file that would read back otherwise.
TEST(RegFileTest, WriterRefusesWhatAFileCannotCarry) {
    const struct {
        RegKeyBlock block;
        RegFormat format;
        const char* error;
    } cases[] = {
        {{kHkcu, "K", false, {RegStringValue("a\rb", "x")}}, RegFormat::Version5,
         "the value \"a\rb\" of \"HKEY_CURRENT_USER\\K\" has a line break or a NUL in its name"},
        {{kHkcu, "K", false, {RegRemovedValue("a\nb")}}, RegFormat::Regedit4,
         "the value \"a\nb\" of \"HKEY_CURRENT_USER\\K\" has a line break or a NUL in its name"},
        {{kHkcu, "K\nL", false, {}}, RegFormat::Version5, "the key name \"HKEY_CURRENT_USER\\K\nL\" holds a line break or a NUL"},
        {{kHkcu, "K\\\\L", false, {}}, RegFormat::Version5, "the key name \"HKEY_CURRENT_USER\\K\\\\L\" has an empty part"},
        {{0x1234, "K", false, {}}, RegFormat::Version5, "a key has no root key a .reg file can name"},
        {{kHkcu, "", true, {}}, RegFormat::Version5, "a root key cannot be deleted"},
        {{kHkcu, "K", false, {RegStringValue("a", "\u30BD")}}, RegFormat::Regedit4,
         "the value \"a\" of \"HKEY_CURRENT_USER\\K\" holds text that does not fit the code page"},
        {{kHkcu, "K", false, {RegDwordValue("\u30BD", 1)}}, RegFormat::Regedit4,
         "the value \"\u30BD\" of \"HKEY_CURRENT_USER\\K\" has a name that does not fit the code page"},
    };
    for (const auto& c : cases) {
        const RegWriteResult file = WriteRegFile({{kHkcu, "Fine", false, {RegDwordValue("n", 1)}}, c.block}, c.format);
        EXPECT_EQ(file.error, c.error);
        EXPECT_TRUE(file.bytes.empty()) << c.error;
    }
}

TEST(RegFileTest, EveryRootByLongAndShortName) {
    const struct {
        RegKey root;
        const char* shortName;
    } roots[] = {{reg::kClassesRoot, "HKCR"}, {kHkcu, "HKCU"}, {kHklm, "HKLM"}, {reg::kUsers, "HKU"},
                 {reg::kCurrentConfig, "HKCC"}};
    for (const auto& r : roots) {
        const RegWriteResult file = WriteRegFile({{r.root, "K", false, {RegDwordValue("n", 1)}}}, RegFormat::Version5);
        ASSERT_TRUE(file.ok()) << r.shortName;
        const RegParseResult parsed = ParseRegFile(file.bytes);
        ASSERT_EQ(parsed.ops.size(), 2u) << parsed.error;
        EXPECT_EQ(parsed.ops[1].root, r.root) << RegRootName(r.root);
        const RegParseResult shortForm = ParseRegFile("REGEDIT4\n[" + std::string(r.shortName) + "\\K]\n");
        ASSERT_EQ(shortForm.ops.size(), 1u) << shortForm.error;
        EXPECT_EQ(shortForm.ops[0].root, r.root) << r.shortName;
    }
}

TEST(RegFileTest, ReadKeyTreeListsKeysBeforeTheirSubkeys) {
    MemoryRegistry store;
    Fill(store);
    const std::vector<RegKeyBlock> blocks = ReadKeyTree(store, kHklm, "software\\");
    std::vector<std::string> paths;
    for (const RegKeyBlock& block : blocks) paths.push_back(block.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"software", "software\\Empty", "software\\Microsoft",
                                               "software\\Microsoft\\Windows NT",
                                               "software\\Microsoft\\Windows NT\\CurrentVersion"}));
    ASSERT_EQ(blocks.back().values.size(), 1u);
    EXPECT_EQ(blocks.back().values[0].data, Utf16LeBytes(u"Microsoft Windows XP\0"sv));
    EXPECT_TRUE(ReadKeyTree(store, kHklm, "Missing").empty());
}

TEST(RegFileTest, ParsesRegeditSyntax) {
    const std::string file =
        "\r\n"
        "REGEDIT4\r\n"
        "; a comment\r\n"
        "[HKCU\\Software\\A\\]\r\n"
        "@=\"def\"\r\n"
        "\"Path\" = \"C:\\\\x \\\"y\\\"\"\r\n"
        "\"N\"=dword:FFFFFFFF\r\n"
        "\"Bin\"=hex:01,02,\\\r\n"
        "  03\r\n"
        "\"Multi\"=hex(7):61,00,00\r\n"
        "\"Gone\"=-\r\n"
        "\r\n"
        "[-HKLM\\SOFTWARE\\Old]\r\n"
        "[hkey_local_machine\\SOFTWARE\\New]\n";
    const RegParseResult parsed = ParseRegFile(file);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.format, RegFormat::Regedit4);
    const struct {
        RegOpKind kind;
        RegKey root;
        const char* path;
        const char* name;
        std::uint32_t type;
        Bytes data;
        int line;
    } expected[] = {
        {RegOpKind::CreateKey, kHkcu, "Software\\A", "", 0, {}, 4},
        {RegOpKind::SetValue, kHkcu, "Software\\A", "", 1, Utf16LeBytes(u"def\0"sv), 5},
        {RegOpKind::SetValue, kHkcu, "Software\\A", "Path", 1, Utf16LeBytes(u"C:\\x \"y\"\0"sv), 6},
        {RegOpKind::SetValue, kHkcu, "Software\\A", "N", 4, {0xFF, 0xFF, 0xFF, 0xFF}, 7},
        {RegOpKind::SetValue, kHkcu, "Software\\A", "Bin", 3, {1, 2, 3}, 8},
        {RegOpKind::SetValue, kHkcu, "Software\\A", "Multi", 7, Utf16LeBytes(u"a\0\0"sv), 10},
        {RegOpKind::DeleteValue, kHkcu, "Software\\A", "Gone", 0, {}, 11},
        {RegOpKind::DeleteKey, kHklm, "SOFTWARE\\Old", "", 0, {}, 13},
        {RegOpKind::CreateKey, kHklm, "SOFTWARE\\New", "", 0, {}, 14},
    };
    ASSERT_EQ(parsed.ops.size(), std::size(expected));
    for (std::size_t i = 0; i < parsed.ops.size(); ++i) {
        const RegOp& op = parsed.ops[i];
        EXPECT_EQ(op.kind, expected[i].kind) << i;
        EXPECT_EQ(op.root, expected[i].root) << i;
        EXPECT_EQ(op.path, expected[i].path) << i;
        EXPECT_EQ(op.name, expected[i].name) << i;
        EXPECT_EQ(op.type, expected[i].type) << i;
        EXPECT_EQ(op.data, expected[i].data) << i;
        EXPECT_EQ(op.line, expected[i].line) << i;
    }
}

TEST(RegFileTest, ApplyingDeletionsRemovesValuesAndKeys) {
    MemoryRegistry store;
    store.PutString(kHkcu, "Software\\A", "Gone", "x");
    store.PutString(kHkcu, "Software\\A", "Kept", "y");
    store.PutString(kHklm, "SOFTWARE\\Old\\Sub", "v", "z");
    const std::string file =
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"Gone\"=-\r\n\"Never\"=-\r\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\NotThere]\r\n";
    EXPECT_EQ(store.LoadRegFile(file), "");
    EXPECT_FALSE(store.Raw(kHkcu, "Software\\A", "Gone"));
    EXPECT_TRUE(store.Raw(kHkcu, "Software\\A", "Kept"));
    EXPECT_FALSE(store.HasKey(kHklm, "SOFTWARE\\Old"));

    // Through the plain interface, without a deleter, a key deletion is reported.
    const RegApplyResult result = ApplyRegOps(store, ParseRegFile(file).ops);
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_EQ(result.failures[0], "line 5: key deletion not supported");
}

TEST(RegFileTest, ApplyReportsRefusedWritesAndGoesOn) {
    MemoryRegistry store;
    store.SetReadOnly(kHklm, true);
    const RegApplyResult result = ApplyRegOps(
        store, ParseRegFile("REGEDIT4\n[HKLM\\S]\n\"a\"=\"1\"\n[HKCU\\S]\n\"a\"=\"1\"\n").ops);
    EXPECT_EQ(result.failures, (std::vector<std::string>{"line 2: error 5", "line 3: error 5"}));
    EXPECT_EQ(result.applied, 2);
    EXPECT_TRUE(store.Raw(kHkcu, "S", "a"));
}

TEST(RegFileTest, MalformedFilesNameTheLineAndApplyNothing) {
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "line 1: expected \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\""},
        {"\r\nREGEDIT5\r\n", "line 2: expected \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\""},
        {"REGEDIT4\n\"a\"=\"1\"\n", "line 2: value line before any [key]"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"\"1\"\n", "line 3: expected '=' after value name"},
        {"REGEDIT4\n[HKCU\\K]\n\"a=\"1\"\n", "line 3: expected '=' after value name"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=\"1\n", "line 3: missing closing quote"},
        {"REGEDIT4\n[HKCU\\K\n", "line 2: expected ']' after key name"},
        {"REGEDIT4\n[HKEY_DYN_DATA\\K]\n", "line 2: unknown root key \"HKEY_DYN_DATA\""},
        {"REGEDIT4\n[HKCU\\A\\\\B]\n", "line 2: empty key name in path"},
        {"REGEDIT4\n[HKCU\\A\\\\]\n", "line 2: empty key name in path"},
        {"REGEDIT4\n[HKCU\\A\rB]\n", "line 2: a key name cannot hold a line break or a NUL"},
        {std::string("REGEDIT4\n[HKCU\\K]\n\"a\0b\"=\"1\"\n", 25), "line 3: a value name cannot hold a line break or a NUL"},
        {"REGEDIT4\n[-HKCU]\n", "line 2: a root key cannot be deleted"},
        {"REGEDIT4\n[-HKCU\\K]\n\"a\"=\"1\"\n", "line 3: value line under a deleted key"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=dword:123456789\n", "line 3: expected 1 to 8 hex digits after dword:"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=dword:\n", "line 3: expected 1 to 8 hex digits after dword:"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=hex:01,zz\n", "line 3: expected a hex byte"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=hex:01,\\\n  02,\\\n  0g\n", "line 5: expected ',' between hex bytes"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=hex:01,\n", "line 3: expected a hex byte after ','"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=hex:01,\\", "line 3: file ends inside continued hex data"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=hex(x):01\n", "line 3: expected hex(type): with a hex type number"},
        {"REGEDIT4\n[HKCU\\K]\n\"a\"=text\n", "line 3: expected a string, dword: or hex data after '='"},
        {"REGEDIT4\n[HKCU\\K]\nstray\n", "line 3: expected a [key] or a value line"},
    };
    for (const auto& c : cases) {
        MemoryRegistry store;
        store.PutString(kHkcu, "Existing", "v", "1");
        const std::string before = store.ExportRegFile(RegFormat::Regedit4);
        EXPECT_EQ(store.LoadRegFile(c.text), c.error) << c.text;
        EXPECT_EQ(store.ExportRegFile(RegFormat::Regedit4), before) << c.text;
        EXPECT_TRUE(ParseRegFile(c.text).ops.empty()) << c.text;
    }
}

}  // namespace
}  // namespace vantrel::test
