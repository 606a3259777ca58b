#include "registry/RegRoundTrip.h"

#include <vector>

#include "registry/RegFile.h"

namespace vantrel::test {
namespace {

std::string Describe(const RegOp& op) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "kind " + std::to_string(static_cast<int>(op.kind)) + " [" + std::string(RegRootName(op.root)) +
                       "\\" + op.path + "] \"" + op.name + "\" type " + std::to_string(op.type) + " data";
    for (const std::uint8_t byte : op.data) {
        text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

bool SameKeysAndValues(const RegOp& a, const RegOp& b) {
    return a.kind == b.kind && a.root == b.root && a.path == b.path && a.name == b.name && a.type == b.type &&
           a.data == b.data;
}

}  // namespace

std::string RegRoundTripDifference(std::string_view bytes) {
    const RegParseResult first = ParseRegFile(bytes);
    if (!first.ok()) return "";
    // Whatever the reader accepts, the writer can write back.
    const RegWriteResult written = WriteRegFile(RegBlocksOf(first.ops), first.format);
    if (!written.ok()) return "the writer refuses what the reader produced: " + written.error;
    const RegParseResult second = ParseRegFile(written.bytes);
    if (!second.ok()) return "the written file does not read back: " + second.error;
    if (second.format != first.format) return "the written file changed format";
    for (std::size_t i = 0; i < first.ops.size() && i < second.ops.size(); ++i) {
        if (!SameKeysAndValues(first.ops[i], second.ops[i])) {
            return "operation " + std::to_string(i) + " (line " + std::to_string(first.ops[i].line) + ") " +
                   Describe(first.ops[i]) + " reads back as " + Describe(second.ops[i]);
        }
    }
    if (first.ops.size() != second.ops.size()) {
        return std::to_string(first.ops.size()) + " operations read back as " + std::to_string(second.ops.size());
    }
    return "";
}

}  // namespace vantrel::test
