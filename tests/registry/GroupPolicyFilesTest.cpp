// The two Group Policy files merged into what a policy object holds already:
// other entries stay as they are, Vantrel's replace theirs in place, the rest
// come at the end, and a file that is not of its format is refused.
#include <functional>

#include <gtest/gtest.h>

#include "registry/PolicyFile.h"
#include "registry/PreferenceFile.h"

namespace vantrel::testing {
namespace {

RegKeyBlock Block(const std::string& path, std::vector<RegValueEntry> values) {
    return {reg::kCurrentUser, path, false, std::move(values)};
}

// The entries of a Registry.pol as "key|name|data" lines, data as text or number.
std::string Entries(std::string_view file) {
    std::vector<PolicyEntry> entries;
    std::string error, out;
    EXPECT_TRUE(ReadPolicyFile(file, &entries, &error)) << error;
    for (const PolicyEntry& e : entries) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(e.data.data());
        out += e.key + "|" + e.name + "|" +
               (e.type == reg::kDword ? std::to_string(reg::DwordOf(data))
                                      : Utf16ToUtf8(FromUtf16LeBytes(data, e.data.size() - 2))) + "\n";
    }
    return out;
}

TEST(GroupPolicyFiles, RegistryPolKeepsOtherEntriesAndReplacesVantrelsInPlace) {
    const std::string kAdvanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";
    const std::vector<RegKeyBlock> ours = {Block(kAdvanced, {RegDwordValue("Hidden", 1), RegDwordValue("New", 2)})};
    const std::string others = WritePolicyFile(
        {Block("Software\\Other", {RegStringValue("A", "a"), RegRemovedValue("B")}),
         Block(R"(software\microsoft\windows\currentversion\explorer\advanced)", {RegDwordValue("HIDDEN", 0)})});
    const std::string header = WritePolicyFile({});
    const struct {
        const char* name;
        std::string existing;
        std::string entries;  // after the merge
        std::size_t kept, replaced, added;
    } cases[] = {
        {"no file", "", kAdvanced + "|Hidden|1\n" + kAdvanced + "|New|2\n", 0, 0, 2},
        {"a file of the header alone", header, kAdvanced + "|Hidden|1\n" + kAdvanced + "|New|2\n", 0, 0, 2},
        {"others kept in order, deletions too; a name in other letters replaced",
         others, "Software\\Other|A|a\nSoftware\\Other|**del.B| \n" + kAdvanced + "|Hidden|1\n" + kAdvanced + "|New|2\n",
         2, 1, 1},
        {"a deletion of Vantrel's value replaced in place",
         WritePolicyFile({Block(kAdvanced, {RegRemovedValue("New")}), Block("X", {RegStringValue("**delvals.", " ")})}),
         kAdvanced + "|New|2\nX|**delvals.| \n" + kAdvanced + "|Hidden|1\n", 1, 1, 1},
    };
    for (const auto& c : cases) {
        const MergedFile merged = MergePolicyFile(c.existing, ours);
        ASSERT_TRUE(merged.ok()) << c.name << ": " << merged.error;
        EXPECT_EQ(Entries(merged.bytes), c.entries) << c.name;
        EXPECT_EQ(merged.kept, c.kept) << c.name;
        EXPECT_EQ(merged.replaced, c.replaced) << c.name;
        EXPECT_EQ(merged.added, c.added) << c.name;
    }
    for (const std::string& bad : {std::string("PReg\2\0\0\0", 8), std::string("REGEDIT4"), others.substr(0, others.size() - 3),
                                   others + "x", others.substr(0, others.size() - 2) + std::string("\0\0", 2)}) {
        const MergedFile merged = MergePolicyFile(bad, ours);
        EXPECT_TRUE(!merged.ok() && merged.unreadable && merged.bytes.empty()) << bad.size();
    }
}

PreferenceItem Item(RegKey root, const std::string& key, RegValueEntry value) {
    return {root, key, std::move(value), "Vantrel: a setting", "{NEW}"};
}

TEST(GroupPolicyFiles, RegistryXmlKeepsOtherItemsByteForByte) {
    const std::string other =
        R"(<Registry clsid="{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}" name="Other" uid="{OTHER}"><!-- theirs -->)"
        R"(<Properties action="D" hive="HKEY_CURRENT_USER" key="Software\X" name="Other" type="REG_SZ" value="a &amp; b"/>)"
        "</Registry>";
    const std::string theirsOfOurs =
        R"(<Registry clsid="{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}" name="Hidden" uid="{KEPT-UID}">)"
        R"(<Properties action="U" hive="HKEY_CURRENT_USER" key="\software\x\" name="hidden" type="REG_DWORD" value="0"/>)"
        "</Registry>";
    const std::string open = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<RegistrySettings clsid=\"{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}\">";
    const std::vector<PreferenceItem> ours = {Item(reg::kCurrentUser, "Software\\X", RegDwordValue("Hidden", 1)),
                                              Item(reg::kLocalMachine, "Software\\Y", RegStringValue("", "d"))};
    const struct {
        const char* name;
        std::string existing;
        std::vector<std::string> inOrder;  // texts the merged file holds, in this order
        std::size_t kept, replaced, added;
    } cases[] = {
        {"no file", "", {"name=\"Hidden\"", "uid=\"{NEW}\"", "name=\"(Default)\"", "default=\"1\""}, 0, 0, 2},
        {"in a collection, replaced where it stands with its uid",
         open + "\r\n  " + other + "\r\n  <Collection clsid=\"{53B533F5-224C-47e3-B01B-CA3B3F3FF4BF}\" name=\"C\">" +
             theirsOfOurs + "</Collection>\r\n</RegistrySettings>\r\n",
         {other, "<Collection", "uid=\"{KEPT-UID}\"", "value=\"00000001\"", "</Collection>", "name=\"(Default)\"",
          "</RegistrySettings>"},
         1, 1, 1},
        {"a root that closes itself", open.substr(0, open.size() - 1) + "/>",
         {"<RegistrySettings clsid", "name=\"Hidden\"", "name=\"(Default)\"", "</RegistrySettings>"}, 0, 0, 2},
    };
    for (const auto& c : cases) {
        const MergedFile merged = MergePreferenceFile(c.existing, ours, "2004-05-01 10:00:00");
        ASSERT_TRUE(merged.ok()) << c.name << ": " << merged.error;
        std::size_t at = 0;
        for (const std::string& text : c.inOrder) {
            at = merged.bytes.find(text, at);
            ASSERT_NE(at, std::string::npos) << c.name << ": " << text << "\n" << merged.bytes;
        }
        EXPECT_EQ(merged.bytes.find("{KEPT-UID}") != std::string::npos, c.replaced == 1) << c.name;
        EXPECT_EQ(merged.bytes.find("value=\"00000000\""), std::string::npos) << c.name << ": theirs of ours is gone";
        EXPECT_EQ(merged.kept, c.kept) << c.name;
        EXPECT_EQ(merged.replaced, c.replaced) << c.name;
        EXPECT_EQ(merged.added, c.added) << c.name;
        EXPECT_TRUE(MergePreferenceFile(merged.bytes, {}, "").ok()) << c.name << ": well-formed";
    }
    for (const std::string& bad : {open, open + "</Registry>", open + "</RegistrySettings><x/>",
                                   "<!DOCTYPE x>" + open + "</RegistrySettings>", std::string("<Other/>"),
                                   open + "<Registry a=\"&bogus;\"/></RegistrySettings>", std::string("text")}) {
        const MergedFile merged = MergePreferenceFile(bad, ours, "");
        EXPECT_TRUE(!merged.ok() && merged.unreadable) << bad;
    }
}

}  // namespace
}  // namespace vantrel::testing
